#include "shell/Startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <cstring>

#include "shell/BatchRunner.h"
#include "shell/CommandLine.h"
#include "shell/EachRunner.h"
#include "shell/Listings.h"
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
    const BatchSession where{folder, settingsName()};
    if (!plan.eachFiles.isEmpty()) return runEach(plan, where);
    const int rc = runOnFreshWindow(plan, where, QString(), 0, error);
    if (rc != 0) std::fprintf(stderr, "pixoral: %s\n", qPrintable(error));
    return rc;
}

void print(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

// --list-commands, --list-controls, --man and --completion: what they list comes from a
// window built as batch mode builds it, with no program folder, so nothing is read or written
// and the output is the same wherever the program stands.
int runStandalone(const QStringList& args) {
    const QString what = args.value(0);
    if (what == QLatin1String("--completion")) {
        const QString script = completionScript(args.value(1));
        if (script.isEmpty()) {
            std::fprintf(stderr, "pixoral: --completion takes bash or zsh\n");
            return 2;
        }
        print(script);
        return 0;
    }
    TPixoralF::Options opts;
    opts.dialogs = std::make_shared<ScriptedDialogs>();
    opts.batch = true;
    TPixoralF window(opts);
    window.show();
    if (what == QLatin1String("--list-commands")) print(commandListingText(listCommands(window)));
    else if (what == QLatin1String("--man")) print(manPage(listCommands(window)));
    else if (args.size() < 2) print(windowNames().join(QLatin1Char('\n')) + QLatin1Char('\n'));
    else {
        QString error;
        const QString text = controlListingText(args[1], error);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "pixoral: %s\n", qPrintable(error));
            return 2;
        }
        print(text);
    }
    return 0;
}

}  // namespace

int pixoralMain(int argc, char** argv) {
    if (hasArg(argc, argv, "--help") || hasArg(argc, argv, "-h")) {
        std::fputs(qPrintable(commandLineHelp()), stdout);
        return 0;
    }
    const bool standalone = argc > 1 && findOption(QString::fromLocal8Bit(argv[1])) &&
                            findOption(QString::fromLocal8Bit(argv[1]))->kind == CommandLineOption::Standalone;
    const bool batch = hasArg(argc, argv, "--batch") || hasArg(argc, argv, "--each") || hasArg(argc, argv, "--each-file");
    // Batch runs never need a display.
    if (batch || standalone) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietMessages);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pixoral"));
    QApplication::setApplicationVersion(QStringLiteral(PIXORAL_VERSION));
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (standalone) return runStandalone(args);
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
