// End-to-end: --each over worker processes, exit statuses, closing, and what the program
// lists about itself.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <climits>
#include <functional>
#include <gtest/gtest.h>

#include "BatchProcess.h"

#include "shell/BatchRunner.h"
#include "shell/Listings.h"
#include "workspace/Commands.h"

using namespace pixoral;

TEST(BatchEach, FiveFilesOneUnreadableGiveFourOutputsAndStatusOne) {
    QTemporaryDir dir;
    for (int i = 0; i < 5; ++i) {
        const QString f = dir.filePath(QStringLiteral("in%1.png").arg(i));
        if (i == 2) {
            QFile bad(f);
            ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
            bad.write("not a picture");
            continue;
        }
        QImage img(8 + i, 6, QImage::Format_RGB32);
        img.fill(qRgb(200, 40, 10));
        ASSERT_TRUE(img.save(f));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    // The pattern is Pixoral's to expand; two workers share the five files.
    const BatchOutcome r = runBatch({"--jobs", "2", "--each", dir.filePath("in*.png"), "--do", "Image>Effects>Grayscale",
                                     "--save", dir.filePath("out/%n-%i.bmp")},
                                    dir.path());
    EXPECT_EQ(r.code, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("in2.png: ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("1 of 5 files failed")) << r.err.toStdString();
    for (int i = 0; i < 5; ++i) {
        const QImage out(dir.filePath(QStringLiteral("out/in%1-%2.bmp").arg(i).arg(i + 1)));
        EXPECT_EQ(out.isNull(), i == 2) << i;
        if (out.isNull()) continue;
        EXPECT_EQ(out.width(), 8 + i);
        const QRgb p = out.pixel(3, 3);
        EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << i;
    }
}

TEST(BatchEach, PatternsExpandPerFileAndMayNotCollide) {
    EXPECT_EQ(expandEachPattern("out/%n.%e-%i-100%%.png", "dir/a.b.jpg", 7), "out/a.b.jpg-7-100%.png");
    QString error;
    EXPECT_TRUE(expandEachPattern("%x", "a.jpg", 1, &error).isEmpty());
    EXPECT_TRUE(error.contains("unknown %x")) << error.toStdString();

    QTemporaryDir dir;
    for (const char* n : {"a.jpg", "a.png"}) QFile(dir.filePath(n)).open(QIODevice::WriteOnly);
    BatchPlan plan;
    EXPECT_FALSE(parseBatchArguments({"--each", dir.filePath("a.*"), "--save", dir.filePath("%n.bmp")}, plan, error));
    EXPECT_TRUE(error.contains("for both")) << error.toStdString();
    BatchPlan none;
    EXPECT_FALSE(parseBatchArguments({"--each", dir.filePath("z*.jpg")}, none, error));
    EXPECT_TRUE(error.contains("no file matches")) << error.toStdString();
}

TEST(Batch, AFailingScriptExitsOneWithItsMessageAndWord) {
    QTemporaryDir dir;
    const BatchOutcome r = runBatch({"--run", "down go 10\nright abc", "--do", "Help>About"}, dir.path());
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("message: ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("stopped at \"abc\" (line 2)")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("message: Pixoral")) << "the run goes no further";
}

TEST(Batch, TurtleScriptsDrawWhatTheReferenceDraws) {
    // Lines of widths 1 to 5, ellipses, round rectangles, curves, floods and pen modes.
    const QDir golden(QStringLiteral(PIXORAL_GOLDEN_SCRIPTS));
    const QStringList scripts = golden.entryList({"*.qvs"}, QDir::Files, QDir::Name);
    ASSERT_GE(scripts.size(), 5);
    for (const QString& script : scripts) {
        SCOPED_TRACE(script.toStdString());
        QTemporaryDir dir;
        const QString out = dir.filePath("out.bmp");
        const BatchOutcome r = runBatch({"--do", "File>New", "--answer", "64", "--answer", "64", "--script",
                                         golden.filePath(script), "--save", out},
                                        dir.path());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const QImage ours = QImage(out).convertToFormat(QImage::Format_RGB32);
        const QImage want = QImage(golden.filePath(QFileInfo(script).completeBaseName() + ".bmp")).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(want.isNull());
        ASSERT_EQ(ours.size(), want.size());
        int differ = 0;
        for (int y = 0; y < want.height(); ++y)
            for (int x = 0; x < want.width(); ++x) differ += ours.pixel(x, y) != want.pixel(x, y);
        EXPECT_EQ(differ, 0);
    }
}

TEST(Batch, SettingTheValueAControlHoldsRunsItsHandler) {
    QTemporaryDir dir;
    const BatchOutcome r = runBatch({"--set", "TPixoralEffectsF.smoothbar=0", "--state", "-"}, dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonArray shown = QJsonDocument::fromJson(r.out.toUtf8()).object()["visibleWindows"].toArray();
    EXPECT_TRUE(shown.contains("TQuickPreviewF"));
}

TEST(Batch, ExitAndTheEndOfARunCloseWithoutAskingAndStoreThePatterns) {
    for (const bool exit : {true, false}) {
        QTemporaryDir dir;
        QStringList args{"--drag", "1,1:20,20", "--set", "TPixoralF.PatList=3", "--press", "TPixoralF.UpdatePattern1"};
        if (exit) args << "--do" << "File>Exit";
        const BatchOutcome r = runBatch(args, dir.path());
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath("patterns.bmp"))) << exit;
    }
    QTemporaryDir dir;
    const BatchOutcome after = runBatch({"--do", "File>Exit", "--do", "Help>About"}, dir.path());
    EXPECT_EQ(after.code, 2);
    EXPECT_TRUE(after.err.contains("nothing runs after File > Exit")) << after.err.toStdString();
}

TEST(BatchListings, CommandsAreExactlyTheTableRows) {
    // The rows as the tables hold them, walked here on their own.
    QStringList paths, unbuilt;
    std::function<void(const MenuEntry&, const QString&)> walk = [&](const MenuEntry& m, const QString& path) {
        for (const MenuEntry& e : m.children) {
            if (e.isSeparator()) continue;
            const QString p = path + '>' + QString(e.caption).remove('&');
            if (e.isSubmenu()) walk(e, p);
            else {
                paths << p;
                if (!e.isBuilt()) unbuilt << p;
            }
        }
    };
    for (const MenuEntry& top : menuBarTable()) walk(top, QString(top.caption).remove('&'));
    for (const ToolButtonEntry& t : toolBarTable()) {
        if (!t.pressOpensMenu) paths << "Toolbar>" + t.hint;
        MenuEntry holder;
        holder.children = t.menu;
        walk(holder, "Toolbar>" + t.hint);
    }
    const BatchOutcome r = runProgram({"--list-commands"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QStringList listed;
    for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split('\t');
        ASSERT_EQ(f.size(), 3) << line.toStdString();
        listed << f[0];
        if (unbuilt.contains(f[0])) {
            EXPECT_EQ(f[1], "disabled") << line.toStdString();
        }
    }
    EXPECT_EQ(listed, paths);
    EXPECT_TRUE(r.out.contains("Options>Blocks...\tenabled\tasks \"Pixoral\" / \"Number of blocks:\": an integer from 2 "
                               "to 50; not a number gives 8, out of range takes the nearest bound\n"))
        << r.out.toStdString();
}

TEST(BatchListings, ManPageAndCompletionScriptsAreCurrent) {
    const struct {
        QStringList args;
        const char* file;
    } cases[] = {{{"--man"}, "pixoral.1"}, {{"--completion", "bash"}, "pixoral.bash"}, {{"--completion", "zsh"}, "_pixoral"}};
    for (const auto& c : cases) {
        const BatchOutcome r = runProgram(c.args);
        QFile f(QStringLiteral(PIXORAL_SHELL_INSTALL_DIR "/") + c.file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.file;
        EXPECT_EQ(r.out, QString::fromUtf8(f.readAll()))
            << c.file << " is out of date: pixoral " << c.args.join(' ').toStdString() << " > src/shell/install/" << c.file;
    }
}

TEST(BatchEach, EveryFileStartsAfreshWithTheActionsBeforeEach) {
    QTemporaryDir dir;
    QStringList files;
    for (const char* n : {"a.png", "b.png"}) {
        QImage img(10, 10, QImage::Format_RGB32);
        img.fill(Qt::white);
        ASSERT_TRUE(img.save(dir.filePath(n)));
        files << dir.filePath(n);
    }
    // One process, one file after the other: the second must not see the first one's drag.
    const BatchOutcome r = runBatch(QStringList{"--jobs", "1", "--do", "Toolbar>Set Pen Mode>Xor", "--each"} + files +
                                        QStringList{"--drag", "1,1:5,5", "--state", dir.filePath("%n.json")},
                                    dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    for (const char* n : {"a.json", "b.json"}) {
        QFile f(dir.filePath(n));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << n;
        const QJsonObject s = QJsonDocument::fromJson(f.readAll()).object();
        EXPECT_EQ(s["penMode"].toString(), "pmXor") << n;
        EXPECT_EQ(s["undoSteps"].toInt(), 2) << n;  // the first showing and the one drag
        EXPECT_EQ(s["width"].toInt(), 10) << n;
    }
}

TEST(BatchEach, CommandLinesThatCannotRunAreRefusedBeforeAnything) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.png");
    QFile(a).open(QIODevice::WriteOnly);
    const struct {
        QStringList args;
        const char* reason;
    } cases[] = {
        {{"--each", a, "--each", a}, "--each can be given once"},
        {{"--each", "--do", "File>New"}, "--each needs one or more files"},
        {{"--jobs", "0", "--each", a}, "--jobs: not a count: 0"},
        {{"--each", a, "--state", "-"}, "--state - cannot be used with --each"},
        {{"--each", a, "--save", "%q.png"}, "unknown %q"},
        {{"--man"}, "--man stands alone"},
    };
    for (const auto& c : cases) {
        BatchPlan plan;
        QString error;
        EXPECT_FALSE(parseBatchArguments(c.args, plan, error)) << c.args.join(' ').toStdString();
        EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
    }
}

TEST(BatchListings, ControlsOfAWindowWithWhatSetAndPressTake) {
    const struct {
        QString window;
        const char* line;
    } cases[] = {
        {"TPixoralEffectsF", "smoothbar\t--set 0..20\t0\n"},
        {"TButtonF", "goUse\t--press\t\n"},
        {"TGraphF", "ColorGrid1\t--set cell 0..15[,right]\t"},
    };
    for (const auto& c : cases) {
        const BatchOutcome r = runProgram({"--list-controls", c.window});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(c.line)) << c.window.toStdString() << ":\n" << r.out.toStdString();
    }
    const BatchOutcome windows = runProgram({"--list-controls"});
    EXPECT_TRUE(windows.out.split('\n').contains("TPixoralF")) << windows.out.toStdString();
    const BatchOutcome unknown = runProgram({"--list-controls", "TNothingF"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_TRUE(unknown.err.contains("no window TNothingF")) << unknown.err.toStdString();
}

TEST(BatchListings, PromptsInWords) {
    auto number = [](double lo, double hi, NumberPrompt::Refused notNumber, NumberPrompt::Refused outOfRange) {
        PromptRow p;
        p.number.caption = "Pixoral";
        p.number.text = "Enter:";
        p.number.lo = lo;
        p.number.hi = hi;
        p.number.notNumber = notNumber;
        p.number.outOfRange = outOfRange;
        p.number.fallback = 5;
        return p;
    };
    using R = NumberPrompt::Refused;
    PromptRow exclusive = number(INT_MIN, 360, R::Keep, R::Keep);
    exclusive.number.hiExclusive = true;
    exclusive.number.integer = false;
    PromptRow told = number(1, 100, R::Fallback, R::Keep);
    told.number.message = "Out of range";
    PromptRow fromImage = number(0, INT_MAX, R::Keep, R::Clamp);
    fromImage.upperBound = [](TPixoralF&) { return 1.0; };
    PromptRow color;
    color.kind = PromptRow::Kind::Color;
    const struct {
        PromptRow row;
        const char* text;
    } cases[] = {
        {number(INT_MIN, INT_MAX, R::Fallback, R::Keep), "asks \"Pixoral\" / \"Enter:\": an integer; not a number gives 5"},
        {number(2, INT_MAX, R::Keep, R::Clamp),
         "asks \"Pixoral\" / \"Enter:\": an integer from 2; not a number keeps the value, out of range takes the nearest bound"},
        {exclusive, "asks \"Pixoral\" / \"Enter:\": a number below 360; not a number keeps the value, out of range keeps the value"},
        {told, "an integer from 1 to 100; not a number gives 5, out of range keeps the value with the message \"Out of range\""},
        {fromImage, "an integer from 0 to a bound taken from the image;"},
        {color, "asks for a colour (colour dialog; :cancel stops the command)"},
    };
    for (const auto& c : cases) EXPECT_TRUE(describePrompt(c.row).contains(c.text)) << describePrompt(c.row).toStdString();
}
