#include "workspace/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace pixoral {

QStringList shippedDataFiles() {
    return {QStringLiteral("patterns.bmp"),    QStringLiteral("PixoralLib.tip"),   QStringLiteral("PixoralQB.txt"),
            QStringLiteral("PixoralFL.txt"),   QStringLiteral("GraphPresets.tip"), QStringLiteral("PixoralFrac.txt"),
            QStringLiteral("Surf3DPresets.txt"), QStringLiteral("Pixoral.hlp"),     QStringLiteral("Graph.hlp")};
}

namespace {

QString withSeparator(const QString& dir) {
    QString d = QDir::cleanPath(QDir(dir).absolutePath());
    if (!d.endsWith(QLatin1Char('/'))) d += QLatin1Char('/');
    return d;
}

bool isWritableDir(const QString& dir) {
    const QFileInfo fi(dir);
    return fi.isDir() && fi.isWritable();
}

}  // namespace

QString resolveProgramFolder(const QString& exeDir, const QString& userDir, const QString& overrideDir,
                             QString* error) {
    if (!overrideDir.isEmpty()) {
        if (!QDir().mkpath(overrideDir) || !isWritableDir(overrideDir)) {
            if (error) *error = QStringLiteral("cannot use the data folder %1").arg(overrideDir);
            return {};
        }
        return withSeparator(overrideDir);
    }
    if (isWritableDir(exeDir)) return withSeparator(exeDir);
    if (userDir.isEmpty() || !QDir().mkpath(userDir) || !isWritableDir(userDir)) {
        if (error) *error = QStringLiteral("no writable folder for the program's files");
        return {};
    }
    seedFolder(exeDir, userDir);
    return withSeparator(userDir);
}

void seedFolder(const QString& shippedDir, const QString& userDir) {
    // Files already there are the user's and are never overwritten.
    const QString from = withSeparator(shippedDir);
    const QString to = withSeparator(userDir);
    for (const QString& name : shippedDataFiles()) {
        if (!QFileInfo::exists(from + name) || QFileInfo::exists(to + name)) continue;
        // Through a temporary file: a copy cut short would count as the user's own file and
        // never be seeded again.
        QFile in(from + name);
        if (!in.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = in.readAll();
        if (in.error() == QFileDevice::NoError) writeFileAtomically(to + name, bytes, nullptr);
    }
}

}  // namespace pixoral
