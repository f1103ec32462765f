// End-to-end: the real executable in batch mode.
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "BatchProcess.h"

#include "shell/BatchRunner.h"

using namespace pixoral;

namespace {

using Result = BatchOutcome;
inline BatchOutcome run(const QStringList& args, const QString& dataDir) { return runBatch(args, dataDir); }

}  // namespace

TEST(Batch, NewThenSaveWritesAWhiteImageInBothAnswerOrders) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.bmp"), b = dir.filePath("b.bmp");
    const Result r1 = run({"--do", "File>New", "--answer", "100", "--answer", "50", "--save", a}, dir.path());
    EXPECT_EQ(r1.code, 0) << r1.err.toStdString();
    const Result r2 = run({"--answer", "100", "--answer", "50", "--do", "file>new", "--save", b}, dir.path());
    EXPECT_EQ(r2.code, 0) << r2.err.toStdString();
    for (const QString& path : {a, b}) {
        const QImage img(path);
        ASSERT_FALSE(img.isNull()) << path.toStdString();
        EXPECT_EQ(img.width(), 50);
        EXPECT_EQ(img.height(), 100);
        bool white = true;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) white = white && (img.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
        EXPECT_TRUE(white);
    }
}

TEST(Batch, StateShowsTheStart) {
    QTemporaryDir dir;
    const Result r = run({"--state", "-"}, dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject s = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(s["width"].toInt(), 256);
    EXPECT_EQ(s["height"].toInt(), 256);
    EXPECT_EQ(s["drawingMode"].toString(), "line");
    EXPECT_EQ(s["range"].toArray(), (QJsonArray{0, 0, 0, 0}));
    EXPECT_EQ(s["status"].toArray().at(1).toString(), "Pen=Copy");
    EXPECT_EQ(s["pixelFormat"].toString(), "device");
    EXPECT_EQ(s["penMode"].toString(), "pmCopy");
    EXPECT_EQ(s["brushStyle"].toString(), "bsClear");
    EXPECT_EQ(s["copyMode"].toInteger(), 0x00CC0020);
    EXPECT_EQ(s["visibleWindows"].toArray(), (QJsonArray{"TPixoralF"}));
    for (const char* k : {"x", "y", "heading", "penDown", "stack"}) EXPECT_TRUE(s["turtle"].toObject().contains(k)) << k;
}

TEST(Batch, FailuresExitTwoWithAReason) {
    QTemporaryDir dir;
    struct Case {
        QStringList args;
        const char* reason;
    };
    const Case cases[] = {
        {{"--do", "File>New"}, "Image height:"},
        {{"--do", "File>New", "--answer", "1", "--answer", "2", "--answer", "3"}, "unused answer: 3"},
        {{"--do", "Image>Nothing"}, "unknown command: Image>Nothing"},
        {{"--do", "File>Open Recent>1"}, "command not available"},
        {{"--do", "Image>Whirl"}, "is a menu"},
        {{"--open", dir.filePath("missing.bmp")}, "missing.bmp"},
        {{"--do", "File>New", "--answer", "0", "--answer", "5"}, "Image size 5 x 0"},
        {{"--drag", "1,2"}, "--drag takes two or more points"},
        {{"--set", "TPixoralF.nothing=3"}, "no control TPixoralF.nothing"},
        {{"--set", "TGraphF.ColorGrid1=16"}, "no colour cell 16"},
        {{"--press", "TSurf3DF.presetsmenu"}, "only opens its menu"},
        {{"--frobnicate", "x"}, "unknown option: --frobnicate"},
        {{"--state"}, "--state needs an argument"},
    };
    for (const Case& c : cases) {
        const Result r = run(c.args, dir.path());
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.reason))) << r.err.toStdString();
    }
}

TEST(Batch, MessagesMouseControlsAndState) {
    QTemporaryDir dir;
    const QString state = dir.filePath("s.json");
    const Result r = run({"--do", "Help>About", "--button", "right", "--click", "7,9", "--drag", "1,1:5,5:9,3",
                          "--do", "Toolbar>Set Pen Mode>Xor", "--set", "TPixoralF.LineColor=9", "--press",
                          "TPixoralF.goUndo", "--set", "TGraphF.ColorGrid1=4,right", "--state", state},
                         dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("message: Pixoral " PIXORAL_VERSION)) << r.err.toStdString();
    QFile f(state);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject s = QJsonDocument::fromJson(f.readAll()).object();
    EXPECT_EQ(s["anchor"].toArray(), (QJsonArray{7, 9}));
    EXPECT_EQ(s["penMode"].toString(), "pmXor");
    EXPECT_EQ(s["status"].toArray().at(1).toString(), "Pen=Xor");
    EXPECT_EQ(s["status"].toArray().at(2).toString(), "x=9 y=3 w=8 h=2");
    EXPECT_EQ(s["undoSteps"].toInt(), 1);  // two steps stored, one undone
}

TEST(Batch, ParsingAttachesAnswersToTheActionBeforeThem) {
    BatchPlan plan;
    QString error;
    ASSERT_TRUE(parseBatchArguments({"--answer", "a", "--do", "X", "--answer", "b", "--answer", "c", "--save", "f",
                                     "--data-dir", "d"},
                                    plan, error));
    EXPECT_EQ(plan.leadingAnswers, QStringList{"a"});
    ASSERT_EQ(plan.actions.size(), 2u);  // --data-dir holds for the whole run: no action
    EXPECT_EQ(plan.actions[0].answers, QStringList({"b", "c"}));
    EXPECT_TRUE(plan.actions[1].answers.isEmpty());
    EXPECT_EQ(plan.dataDir, "d");
}

TEST(Batch, ScriptsRunOnTheWorkspaceAndStopAtTheStepLimit) {
    QTemporaryDir dir;
    const Result stopped = run({"--max-steps", "1000", "--run", "do 100000 right 1 loop"}, dir.path());
    EXPECT_EQ(stopped.code, 1);
    EXPECT_TRUE(stopped.err.contains("message: script interrupted")) << stopped.err.toStdString();
    const Result r = run({"--max-steps", "0", "--run", "down do 4 go 10 right 90 loop", "--state", "-"}, dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject t = QJsonDocument::fromJson(r.out.toUtf8()).object()["turtle"].toObject();
    EXPECT_TRUE(t["penDown"].toBool());
}

TEST(Batch, ScriptDrawsTwoLinesAndReportsAFailure) {
    QTemporaryDir dir;
    const QString out = dir.filePath("out.bmp");
    const Result r = run({"--run", "down go 10 right 90 go 10", "--save", out}, dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QImage img(out);
    ASSERT_FALSE(img.isNull());
    auto black = [&](int x, int y) { return (img.pixel(x, y) & 0xFFFFFF) == 0; };
    // Along +X from the origin, then down along +Y after turning right; end pixels left out.
    for (int x = 0; x <= 10; ++x) EXPECT_TRUE(black(x, 0)) << x;
    for (int y = 0; y < 10; ++y) EXPECT_TRUE(black(10, y)) << y;
    EXPECT_FALSE(black(11, 0));
    EXPECT_FALSE(black(10, 10));
    EXPECT_FALSE(black(5, 5));

    const Result bad = run({"--run", "go abc"}, dir.path());
    EXPECT_TRUE(bad.err.contains("message: invalid integer in go")) << bad.err.toStdString();
}
