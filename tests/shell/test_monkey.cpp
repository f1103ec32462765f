// A short monkey walk: it must end, and each of its command lines, run again from a fresh
// program folder as a batch run would, must leave the same state and picture.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "shell/BatchRunner.h"
#include "shell/Monkey.h"
#include "ui/Dialogs.h"
#include "workspace/ProgramFolder.h"
#include "workspace/TPixoralF.h"

using namespace pixoral;

namespace {

MonkeyRun repeat(const MonkeyRun& run) {
    QDir(run.dataDir).removeRecursively();
    QDir().mkpath(run.dataDir);
    seedFolder(QCoreApplication::applicationDirPath(), run.dataDir);
    QApplication::clipboard()->clear();
    BatchPlan plan;
    QString error;
    EXPECT_TRUE(parseBatchArguments(run.arguments, plan, error)) << error.toStdString();
    auto dialogs = std::make_shared<ScriptedDialogs>();
    TPixoralF::Options opts;
    opts.programFolder = plan.dataDir + QLatin1Char('/');
    opts.dialogs = dialogs;
    opts.batch = true;
    TPixoralF window(opts);
    window.show();
    MonkeyRun again = run;
    again.exitCode = BatchRunner(window, *dialogs).run(plan, again.reason);
    again.state = monkeyState(window);
    return again;
}

}  // namespace

TEST(Monkey, AShortWalkEndsAndItsCommandLinesRepeat) {
    QTemporaryDir dir;
    MonkeyOptions o;
    o.seed = 20261209;
    o.actions = 300;
    o.folder = dir.path();
    o.shippedDir = QCoreApplication::applicationDirPath();
    std::vector<MonkeyRun> runs;
    Monkey monkey(o);
    monkey.run([&](const MonkeyRun& r) { runs.push_back(r); });
    EXPECT_EQ(monkey.actionsRun(), o.actions);
    ASSERT_EQ(static_cast<int>(runs.size()), monkey.commandLines());
    for (const MonkeyRun& run : runs) {
        const MonkeyRun again = repeat(run);
        const std::string line = Monkey::shellLine(run, o.shippedDir, QStringLiteral("pixoral")).toStdString();
        EXPECT_EQ(again.exitCode, run.exitCode) << again.reason.toStdString() << "\n" << line;
        EXPECT_EQ(again.state, run.state) << line;
    }
}
