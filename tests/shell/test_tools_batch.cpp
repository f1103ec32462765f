// End-to-end: the drawing tools driven by --drag, --click, --mods and --button through the
// real executable, checked by the saved picture, the state and the messages.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "BatchProcess.h"
#include "../common/TestSupport.h"

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

using namespace pixoral;

namespace {

struct Drawn {
    BatchOutcome outcome;
    Bitmap image;
    QJsonObject state;
};

Drawn draw(QStringList args) {
    QTemporaryDir dir;
    const QString out = dir.filePath("out.bmp");
    args << "--save" << out << "--state" << "-";
    Drawn d;
    d.outcome = runBatch(args, dir.path());
    d.image.loadFromFile(out);
    d.state = QJsonDocument::fromJson(d.outcome.out.toUtf8()).object();
    return d;
}

}  // namespace

TEST(ToolsBatch, ModifiersAndButtonsReachEveryStepOfTheHandlers) {
    // Right click: anchor. Shift drag: starts at it. Ctrl drag: nothing at all. Alt: a status
    // text. All in one run.
    const Drawn d = draw({"--do", "Toolbar>Shape>2D Shapes>Rectangle", "--button", "right", "--click", "5,5", "--mods",
                          "shift", "--drag", "200,200:40,30", "--mods", "ctrl", "--drag", "100,100:250,250", "--mods",
                          "shift,alt", "--drag", "90,90:60,60:70,80"});
    ASSERT_EQ(d.outcome.code, 0) << d.outcome.err.toStdString();
    Bitmap ref(256, 256);
    Canvas& c = ref.canvas();
    c.brush().setStyle(BrushStyle::bsClear);
    c.rectangle(5, 5, 40, 30);
    c.rectangle(5, 5, 70, 80);
    EXPECT_EQ(differingPixels(d.image, ref), 0);
    EXPECT_EQ(d.state["anchor"].toArray(), (QJsonArray{5, 5}));
    EXPECT_EQ(d.state["status"].toArray().at(2).toString(), "dx=-65 dy=75");
}

TEST(ToolsBatch, SelectRangeKeepsTheRangeAsGivenAndEndsTheTool) {
    const Drawn d = draw({"--do", "Toolbar>Select Range", "--drag", "50,40:30,30:10,20", "--drag", "0,0:200,200"});
    ASSERT_EQ(d.outcome.code, 0) << d.outcome.err.toStdString();
    EXPECT_EQ(d.state["range"].toArray(), (QJsonArray{50, 40, 10, 20}));
    EXPECT_EQ(d.state["drawingMode"].toString(), "");
    EXPECT_EQ(d.state["penStyle"].toString(), "psSolid");
    EXPECT_EQ(differingPixels(d.image, Bitmap(256, 256)), 0);
}

TEST(ToolsBatch, SpirographMessagesAndOptionsPrompts) {
    const Drawn tooLarge = draw({"--do", "Toolbar>Shape>Lines>SpiroGraph", "--drag", "228,128:228,168"});
    ASSERT_EQ(tooLarge.outcome.code, 0) << tooLarge.outcome.err.toStdString();
    EXPECT_TRUE(tooLarge.outcome.err.contains("message: sum of radi to large")) << tooLarge.outcome.err.toStdString();
    EXPECT_EQ(differingPixels(tooLarge.image, Bitmap(256, 256)), 0);

    const Drawn turns = draw({"--answer", "3", "--do", "Options>SpiroGraph>Turns", "--do",
                              "Toolbar>Shape>Lines>SpiroGraph", "--drag", "188,128:218,128"});
    ASSERT_EQ(turns.outcome.code, 0) << turns.outcome.err.toStdString();
    EXPECT_FALSE(turns.outcome.err.contains("message:"));
    EXPECT_EQ(turns.image.pixel(218, 128), clBlack);  // where the curve starts

    // A prompt with no answer queued stops the run with a reason.
    const Drawn unanswered = draw({"--do", "Options>Shapes"});
    EXPECT_EQ(unanswered.outcome.code, 2);
}

TEST(ToolsBatch, DragsAreInImagePixelsAtAnyZoom) {
    const Drawn d = draw({"--do", "View>Zoom In", "--do", "View>Zoom In", "--do", "View>Zoom In", "--do",
                          "Toolbar>Shape>2D Shapes>Rectangle", "--drag", "10,10:20,30"});
    ASSERT_EQ(d.outcome.code, 0) << d.outcome.err.toStdString();
    Bitmap ref(256, 256);
    ref.canvas().brush().setStyle(BrushStyle::bsClear);
    ref.canvas().rectangle(10, 10, 20, 30);
    EXPECT_EQ(differingPixels(d.image, ref), 0);
}

TEST(ToolsBatch, PhaseToolFinishesInThreeDrags) {
    const Drawn d = draw({"--do", "Toolbar>Shape>2D Shapes>Pie", "--drag", "20,20:120,90:200,150", "--drag", "0,0:210,30",
                          "--drag", "0,0:20,180"});
    ASSERT_EQ(d.outcome.code, 0) << d.outcome.err.toStdString();
    EXPECT_EQ(d.state["drawingMode"].toString(), "pie3");
    Bitmap ref(256, 256);
    ref.canvas().brush().setStyle(BrushStyle::bsClear);
    ref.canvas().pie(20, 20, 200, 150, 210, 30, 20, 180);
    EXPECT_EQ(differingPixels(d.image, ref), 0);
}
