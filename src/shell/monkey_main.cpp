// pixoral_monkey SEED COUNT [FOLDER]: the monkey's long runs (see scripts/monkey.sh).
#include <QApplication>
#include <QDir>
#include <QMap>
#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>

#include "shell/Monkey.h"

namespace {

void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: pixoral_monkey SEED COUNT [FOLDER]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pixoral"));
    pixoral::MonkeyOptions o;
    o.seed = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));
    o.actions = std::strtoll(argv[2], nullptr, 10);
    o.folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QDir::temp().filePath(QStringLiteral("pixoral-monkey-%1").arg(o.seed));
    o.shippedDir = QCoreApplication::applicationDirPath();
    const QString exe = QCoreApplication::applicationDirPath() + QStringLiteral("/pixoral");
    std::printf("monkey: seed %u, %lld actions, folder %s\n", o.seed, o.actions, qPrintable(o.folder));
    std::fflush(stdout);

    pixoral::Monkey monkey(o);
    int slow = 0;
    QMap<QString, int> refusals;  // why command lines ended early, with the number part left out
    const auto finished = [&](const pixoral::MonkeyRun& run) {
        if (run.exitCode == 0) return;
        // PIXORAL_MONKEY_LINES=1: each refused command line too, as the shell line that repeats it.
        if (qEnvironmentVariableIsSet("PIXORAL_MONKEY_LINES"))
            std::printf("monkey: refused (%s): %s\n", qPrintable(run.reason),
                        qPrintable(pixoral::Monkey::shellLine(run, o.shippedDir, exe)));
        QString why = run.reason;
        why.replace(QRegularExpression(QStringLiteral("[-0-9][0-9.,:]*")), QStringLiteral("N"));
        ++refusals[why.left(70)];
    };
    monkey.run(finished, [&](const pixoral::MonkeyRun& run, qint64 ms) {
        ++slow;
        std::printf("monkey: slow action (%lld ms): %s\n", static_cast<long long>(ms),
                    qPrintable(pixoral::Monkey::shellLine(run, o.shippedDir, exe)));
        std::fflush(stdout);
    });
    std::printf("monkey: seed %u: %lld actions in %d command lines, %d slow\n", o.seed, monkey.actionsRun(),
                monkey.commandLines(), slow);
    for (auto it = refusals.cbegin(); it != refusals.cend(); ++it)
        std::printf("monkey: %5d command lines ended by: %s\n", it.value(), qPrintable(it.key()));
    return 0;
}
