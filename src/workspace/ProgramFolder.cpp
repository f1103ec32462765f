#include "workspace/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace pixoral {

QStringList shippedDataFiles() {
    return {QStringLiteral("patterns.bmp"),    QStringLiteral("PixoralLib.tip"),   QStringLiteral("PixoralQB.txt"),
            QStringLiteral("PixoralFL.txt"),   QStringLiteral("GraphPresets.tip"), QStringLiteral("PixoralFrac.txt"),
            QStringLiteral("Surf3DPresets.txt")};
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

bool holdsShippedFiles(const QString& dir) {
    const QString d = withSeparator(dir);
    for (const QString& name : shippedDataFiles())
        if (QFileInfo::exists(d + name)) return true;
    return false;
}

}  // namespace

QString shippedDataFolder(const QString& exeDir) {
    if (holdsShippedFiles(exeDir)) return withSeparator(exeDir);
    const QString installed = QDir(exeDir).filePath(QStringLiteral(PIXORAL_DATA_FROM_BIN));
    if (QFileInfo(installed).isDir()) return withSeparator(installed);
    return withSeparator(exeDir);
}

QString resolveProgramFolder(const QString& exeDir, const QString& userDir, const QString& overrideDir,
                             QString* error) {
    if (!overrideDir.isEmpty()) {
        if (!QDir().mkpath(overrideDir) || !isWritableDir(overrideDir)) {
            if (error) *error = QStringLiteral("cannot use the data folder %1").arg(overrideDir);
            return {};
        }
        return withSeparator(overrideDir);
    }
    // An installed program never writes into its bin folder, even when it may.
    const QString shipped = shippedDataFolder(exeDir);
    if (shipped == withSeparator(exeDir) && isWritableDir(exeDir)) return withSeparator(exeDir);
    if (userDir.isEmpty() || !QDir().mkpath(userDir) || !isWritableDir(userDir)) {
        if (error) *error = QStringLiteral("no writable folder for the program's files");
        return {};
    }
    seedFolder(shipped, userDir);
    return withSeparator(userDir);
}

QString helpFolderFor(const QString& exeDir) {
    const QString beside = QDir::cleanPath(exeDir + QStringLiteral("/help"));
    const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/pixoral/help"));
    for (const QString& dir : {beside, installed})
        if (QFileInfo::exists(dir + QStringLiteral("/index.html"))) return dir;
    return beside;
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
