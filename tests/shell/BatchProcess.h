#pragma once
// Runs the real executable in batch mode with its own program folder.
#include <QProcess>
#include <QString>
#include <QStringList>

struct BatchOutcome {
    int code = -1;
    QString out, err;
};

// The executable with exactly these arguments.
inline BatchOutcome runProgram(const QStringList& args) {
    QProcess p;
    p.setProgram(QStringLiteral(PIXORAL_EXE));
    p.setArguments(args);
    p.start();
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

inline BatchOutcome runBatch(const QStringList& args, const QString& dataDir) {
    return runProgram(QStringList{"--batch", "--data-dir", dataDir} + args);
}
