#pragma once
// Where the program keeps its files: the executable's folder when the shipped files stand
// beside it and it can be written to (a build tree or a portable install), else the per-user
// data folder, seeded on first use with the shipped files: those beside the executable, or
// those of the installed data folder (share/pixoral beside the bin folder).
#include <QString>
#include <QStringList>

#include "files/ImageFile.h"

namespace pixoral {

// The data files that ship beside the executable and are copied into a fresh user folder.
QStringList shippedDataFiles();

// Where the shipped files are for an executable in `exeDir`: beside it when any stands there,
// else the installed data folder when it exists, else `exeDir`.
QString shippedDataFolder(const QString& exeDir);

// The folder with a trailing separator. `overrideDir` (from --data-dir) wins when given and is
// created when missing. `userDir` is the per-user data folder to fall back to. Empty when no
// usable folder could be made; `error` then says why.
QString resolveProgramFolder(const QString& exeDir, const QString& userDir, const QString& overrideDir,
                             QString* error = nullptr);

// Copies the shipped data files that the user folder does not have yet, each in one step.
void seedFolder(const QString& shippedDir, const QString& userDir);

// The folder of the help pages: "help" beside the executable (a build tree, a portable copy),
// else "share/pixoral/help" beside its "bin" folder (an install). When neither holds the pages
// the first, so a message can say where they were looked for.
QString helpFolderFor(const QString& exeDir);

// writeFileAtomically (bytes through a temporary file renamed over the old one) comes from
// files/ImageFile.h, which the settings file shares with the image files.

}  // namespace pixoral
