// The tool engine without a window: a host that records what the engine asks of it.
#include <gtest/gtest.h>

#include "ui/Dialogs.h"
#include "workspace/ToolEngine.h"

namespace pixoral {
namespace {

struct FakeHost : ToolHost {
    ScriptedDialogs dialogsQueue;
    TColor pen = clBlack, brush = clWhite;
    bool editorVisible = false;
    QStringList recorded;
    QString status[4];
    std::vector<Point> pointerMoves;

    Dialogs& dialogs() override { return dialogsQueue; }
    TColor indicatorPenColor() const override { return pen; }
    TColor indicatorBrushColor() const override { return brush; }
    void setIndicatorColors(TColor p, TColor b) override { pen = p, brush = b; }
    bool recording() const override { return editorVisible; }
    void record(const QString& text) override { recorded << text; }
    void setStatusText(int panel, const QString& text) override { status[panel] = text; }
    void movePointerTo(Point p) override { pointerMoves.push_back(p); }
};

MouseInput at(int x, int y, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton) { return {x, y, b, m}; }

TEST(ToolEngineModel, ADragDrawsThroughTheToolOfTheModeWithOneUndoStep) {
    WorkspaceState ws;
    ws.image.setSize(40, 30);
    ws.settings.drawingMode = QStringLiteral("line");
    FakeHost host;
    ToolEngine engine;
    EXPECT_EQ(engine.mouseDown(ws, host, at(2, 3)).kind, ToolEngine::Repaint::Whole);
    const ToolEngine::Repaint band = engine.mouseMove(ws, host, at(30, 20));
    EXPECT_EQ(band.kind, ToolEngine::Repaint::Parts);  // the rubber band repaints only its box
    EXPECT_EQ(host.status[2], QStringLiteral("x=30 y=20 w=28 h=17"));
    engine.mouseUp(ws, host, at(30, 20));
    EXPECT_FALSE(engine.drag().dragging);
    EXPECT_EQ(ws.undo.storedSteps(), 1);

    Bitmap expected(40, 30);
    expected.canvas().moveTo(2, 3);
    expected.canvas().lineTo(30, 20);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(ws.image.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
}

TEST(ToolEngineModel, CtrlRecordsRightButtonAnchorsShiftStartsThere) {
    WorkspaceState ws;
    ws.image.setSize(20, 20);
    FakeHost host;
    ToolEngine engine;
    engine.mouseDown(ws, host, at(4, 5, Qt::ControlModifier));
    EXPECT_TRUE(host.recorded.isEmpty());  // the editor is hidden
    host.editorVisible = true;
    EXPECT_EQ(engine.mouseDown(ws, host, at(4, 5, Qt::ControlModifier)).kind, ToolEngine::Repaint::None);
    EXPECT_EQ(host.recorded, QStringList{"4 5 "});
    EXPECT_EQ(ws.undo.storedSteps(), 0);

    engine.mouseDown(ws, host, at(7, 8, {}, Qt::RightButton));
    EXPECT_EQ(ws.settings.anchor, (Point{7, 8}));
    engine.mouseDown(ws, host, at(1, 1, Qt::ShiftModifier));
    EXPECT_EQ(engine.drag().start, (Point{7, 8}));
    EXPECT_EQ(host.pointerMoves, (std::vector<Point>{Point{7, 8}}));
}

TEST(ToolEngineModel, AnUndoStepThatCannotBeKeptIsSaidInTheStatusBarAndTheStrokeGoesOn) {
    WorkspaceState ws;
    ws.image.setSize(40, 30);
    ws.undo.setBudget(100);  // less than one picture
    FakeHost host;
    ToolEngine engine;
    engine.mouseDown(ws, host, at(2, 3));
    engine.mouseUp(ws, host, at(30, 20));
    EXPECT_EQ(host.status[0], QStringLiteral("Too large to undo"));
    EXPECT_EQ(ws.undo.storedSteps(), 0);
    EXPECT_EQ(ws.image.pixel(2, 3), clBlack);
}

}  // namespace
}  // namespace pixoral
