#pragma once
// Pieces the fuzz targets share: a GUI application for the readers that need fonts, and a
// scratch folder for the readers that take a path rather than bytes.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/Parallel.h"

namespace pixoral::fuzz {

// One band: an input's rows are not shared out over threads, which under the sanitizers costs
// more to start than the small pictures of fuzzing take to process. (The rows run through the
// same code either way.)
inline void oneBand() { parallel::bandLimit() = 1; }

inline void startGui() {
    oneBand();
    // Metafile and script text needs fonts, and fonts need a GUI application.
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A path in a folder of this process (on a RAM disk where there is one), removed at exit.
inline QString scratchPath(const QString& name) {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/pixoral-fuzz-XXXXXX")
                                                                       : QDir::tempPath() + QStringLiteral("/pixoral-fuzz-XXXXXX"));
    if (!dir.isValid()) std::abort();
    return dir.filePath(name);
}

// Writes the bytes to the scratch file `name` and gives its path.
inline QString scratchFile(const QString& name, const QByteArray& bytes) {
    const QString path = scratchPath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) std::abort();
    return path;
}

}  // namespace pixoral::fuzz
