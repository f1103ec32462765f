#include "shell/Startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <cstring>

#include "shell/BatchRunner.h"
#include "shell/TPixoralSplashF.h"
#include "workspace/ProgramFolder.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

bool hasArg(int argc, char** argv, const char* what) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], what) == 0) return true;
    return false;
}

QString resolveFolder(const QString& overrideDir, QString& error) {
    return resolveProgramFolder(QCoreApplication::applicationDirPath(),
                                QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), overrideDir, &error);
}

QString settingsName() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + QStringLiteral(".ini"); }

// Batch runs keep standard error for messages and reasons; Qt's own chatter (platform
// plugin notes) stays out unless asked for.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg || qEnvironmentVariableIsSet("PIXORAL_QT_MESSAGES"))
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

int runBatch(const QStringList& args) {
    BatchPlan plan;
    QString error;
    if (!parseBatchArguments(args, plan, error)) {
        std::fprintf(stderr, "pixoral: %s\n", qPrintable(error));
        return 2;
    }
    const QString folder = resolveFolder(plan.dataDir, error);
    if (folder.isEmpty()) {
        std::fprintf(stderr, "pixoral: %s\n", qPrintable(error));
        return 2;
    }
    auto dialogs = std::make_shared<ScriptedDialogs>();
    dialogs->onMessage = [](const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        std::fflush(stderr);
    };
    TPixoralF::Options opts;
    opts.programFolder = folder;
    opts.settingsFileName = settingsName();
    opts.dialogs = dialogs;
    opts.batch = true;
    TPixoralF window(opts);
    window.show();  // the first showing stores the first undo step
    BatchRunner runner(window, *dialogs);
    const int rc = runner.run(plan, error);
    if (rc != 0) std::fprintf(stderr, "pixoral: %s\n", qPrintable(error));
    return rc;
}

}  // namespace

int pixoralMain(int argc, char** argv) {
    const bool batch = hasArg(argc, argv, "--batch");
    if (hasArg(argc, argv, "--help") || hasArg(argc, argv, "-h")) {
        std::fputs(qPrintable(commandLineHelp()), stdout);
        return 0;
    }
    // Batch runs never need a display.
    if (batch) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietMessages);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pixoral"));
    QApplication::setApplicationVersion(QStringLiteral(PIXORAL_VERSION));
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (batch) return runBatch(args);

    // One window shows one image: a file manager handing over several opens the first.
    QStringList files;
    for (const QString& a : args) {
        if (a.startsWith(QLatin1String("--"))) {
            std::fprintf(stderr, "pixoral: unknown option: %s (see --help)\n", qPrintable(a));
            return 2;
        }
        files << a;
    }
    const QString file = files.value(0);
    if (files.size() > 1)
        std::fprintf(stderr, "pixoral: one image at a time: opening %s, leaving out %lld more\n", qPrintable(file),
                     static_cast<long long>(files.size() - 1));

    auto* splash = new TPixoralSplashF;
    splash->show();
    QCoreApplication::processEvents();

    QString error;
    QString folder = resolveFolder(QString(), error);
    TPixoralF::Options opts;
    opts.programFolder = folder;
    opts.settingsFileName = settingsName();
    if (folder.isEmpty()) std::fprintf(stderr, "pixoral: %s; settings will not be kept\n", qPrintable(error));
    TPixoralF window(opts);
    if (!file.isEmpty()) window.openImageFile(file);
    splash->close();
    delete splash;
    window.show();
    return app.exec();
}

}  // namespace pixoral
