#pragma once
// Runs the real executable in batch mode with its own program folder.
#include <QProcess>
#include <QString>
#include <QStringList>

struct BatchOutcome {
    int code = -1;
    QString out, err;
};

inline BatchOutcome runBatch(const QStringList& args, const QString& dataDir) {
    QProcess p;
    p.setProgram(QStringLiteral(PIXORAL_EXE));
    p.setArguments(QStringList{"--batch", "--data-dir", dataDir} + args);
    p.start();
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
