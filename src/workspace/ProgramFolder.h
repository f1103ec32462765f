#pragma once
// Where the program keeps its files: the executable's folder when it can be written to (a
// build tree or a portable install), else the per-user data folder, seeded on first use with
// the files shipped beside the executable.
#include <QString>
#include <QStringList>

#include "files/ImageFile.h"

namespace pixoral {

// The data files that ship beside the executable and are copied into a fresh user folder.
QStringList shippedDataFiles();

// The folder with a trailing separator. `overrideDir` (from --data-dir) wins when given and is
// created when missing. `userDir` is the per-user data folder to fall back to. Empty when no
// usable folder could be made; `error` then says why.
QString resolveProgramFolder(const QString& exeDir, const QString& userDir, const QString& overrideDir,
                             QString* error = nullptr);

// Copies the shipped data files that the user folder does not have yet, each in one step.
void seedFolder(const QString& shippedDir, const QString& userDir);

// writeFileAtomically (bytes through a temporary file renamed over the old one) comes from
// files/ImageFile.h, which the settings file shares with the image files.

}  // namespace pixoral
