// The shared steps of the mouse handlers, the stroke tools, Select Range, the pick and fill
// tools, the recorder texts, the colour list and the repaint of what changed.
#include <QTest>

#include "ToolWindow.h"

#include "script/TPixoralScriptF.h"
#include "script/TScriptMemo.h"
#include "workspace/DirtyRegion.h"
#include "workspace/Figures.h"
#include "workspace/SecondaryWindows.h"

using namespace tooltest;

namespace {

script::TPixoralScriptF& editorOf(Window& t) { return *t.w->windows().scriptEditor(); }

const char* const kRectangle = "Toolbar>Shape>2D Shapes>Rectangle";

}  // namespace

TEST(ToolHandlers, ShiftStartsEveryToolAtTheAnchor) {
    for (const char* path : {kRectangle, "Toolbar>Shape>Lines>Line", "Toolbar>Shape>Lines>Freehand",
                             "Toolbar>Shape>2D Shapes>Ellipse", "Toolbar>Shape>Mirrors>Symmetric", "Toolbar>Select Range"}) {
        Window t;
        t.run(path);
        t.press({5, 5}, {}, Qt::RightButton);
        EXPECT_EQ(t.w->undoRing().storedSteps(), 0) << path;
        t.press({100, 90}, Qt::ShiftModifier);
        EXPECT_EQ(t.w->drag().start, (Point{5, 5})) << path;
        EXPECT_EQ(t.w->canvas().penPos(), (Point{5, 5})) << path;
        t.move({40, 30}, Qt::ShiftModifier);
        t.release({40, 30}, Qt::ShiftModifier);
        EXPECT_EQ(t.w->undoRing().storedSteps(), 1) << path;
    }
    Window r;
    r.run(kRectangle);
    r.press({5, 5}, {}, Qt::RightButton);
    r.drag({{100, 90}, {40, 30}}, Qt::ShiftModifier);
    Bitmap ref = referenceFor(*r.w);
    ref.canvas().rectangle(5, 5, 40, 30);
    EXPECT_EQ(differingPixels(r.image(), ref), 0);
}

TEST(ToolHandlers, CtrlClickGivesCoordinatesToTheEditorOnly) {
    Window t;
    t.run(kRectangle);
    script::TPixoralScriptF& editor = editorOf(t);
    editor.memo()->hide();  // the text area's own flag cleared: nothing goes anywhere
    t.press({33, 44}, Qt::ControlModifier);
    t.release({33, 44}, Qt::ControlModifier);
    EXPECT_TRUE(editor.text().isEmpty());
    editor.memo()->show();  // set from the start, also while the window is closed
    EXPECT_FALSE(editor.isVisible());
    t.press({33, 44}, Qt::ControlModifier);
    t.move({50, 50}, Qt::ControlModifier);
    t.release({50, 50}, Qt::ControlModifier);
    EXPECT_EQ(editor.text(), "33 44 ");
    EXPECT_TRUE(editor.isVisible()) << "shown, to take the focus";
    EXPECT_EQ(t.w->undoRing().storedSteps(), 0);
    EXPECT_FALSE(t.w->drag().dragging);
    EXPECT_EQ(countPixels(t.image(), clWhite), 256 * 256);
}

TEST(ToolHandlers, ThePenModeComesBackAfterEveryHandler) {
    for (const char* path : {kRectangle, "Toolbar>Shape>Lines>Bezier", "Toolbar>Shape>3D Shapes>Cube", "Toolbar>Select Range"}) {
        Window t;
        t.run(path);
        t.run("Toolbar>Set Pen Mode>Merge");
        for (int i = 0; i < 3; ++i) {
            t.press({10 + i, 10});
            EXPECT_EQ(t.w->canvas().pen().mode, PenMode::pmMerge) << path;
            t.move({80, 60});
            EXPECT_EQ(t.w->canvas().pen().mode, PenMode::pmMerge) << path;
            t.release({90, 70});
            EXPECT_EQ(t.w->canvas().pen().mode, PenMode::pmMerge) << path;
        }
    }
    Window m;
    m.run("Toolbar>Set Pen Mode>Not Copy");
    EXPECT_EQ(m.w->canvas().pen().mode, PenMode::pmNotCopy);
    EXPECT_EQ(m.w->statusText(1), "Pen=Not Copy");
}

TEST(ToolRecorder, ReleasesWithAltGiveTheScriptTexts) {
    struct Case {
        const char* path;
        std::vector<Point> drag;
        const char* text;
    };
    const Case cases[] = {
        {kRectangle, {{10, 20}, {5, 60}}, "pos 10 20 rectangle -5 40 "},
        {"Toolbar>Shape>2D Shapes>Round Rect", {{10, 20}, {30, 25}}, "pos 10 20 roundrect 20 5 10 10 "},
        {"Toolbar>Shape>2D Shapes>Ellipse", {{100, 20}, {30, 25}}, "pos 100 20 ellipse -70 5 "},
        {"Toolbar>Shape>Lines>Line", {{10, 20}, {15, 5}}, "pos 10 20 lineto 5 -15 "},
    };
    for (const Case& c : cases) {
        Window t;
        t.run(c.path);
        t.drag(c.drag);  // no Alt: nothing recorded
        EXPECT_TRUE(editorOf(t).text().isEmpty()) << c.path;
        t.drag(c.drag, Qt::AltModifier);
        EXPECT_EQ(editorOf(t).text(), QString::fromLatin1(c.text)) << c.path;
        EXPECT_FALSE(editorOf(t).isVisible()) << "recording needs no window";
    }
    // A line is recorded only when its final outline is drawn.
    Window n;
    n.run("Toolbar>Set Pen Mode>Not Xor");
    n.drag({{10, 20}, {15, 5}}, Qt::AltModifier);
    EXPECT_TRUE(editorOf(n).text().isEmpty());
    // The finished Bezier curve.
    Window b;
    b.run("Toolbar>Shape>Lines>Bezier");
    b.drag({{20, 200}, {230, 200}}, Qt::AltModifier);
    b.drag({{0, 0}, {80, 20}}, Qt::AltModifier);
    b.drag({{0, 0}, {190, 30}}, Qt::AltModifier);
    EXPECT_EQ(editorOf(b).text(), "pos 20 200 curve 60 -180 170 -170 210 0 ");
}

TEST(ToolSelectRange, KeepsTheRangeAsGivenRestoresThePenAndEndsTheTool) {
    Window t;
    t.run("Toolbar>Line Width>3 pixels");
    t.run("Toolbar>Solid/Clear>Solid");
    t.run("Toolbar>Select Range");
    t.drag({{50, 40}, {30, 30}, {20, 25}, {10, 20}});
    const Rect r = t.w->rangeState().range;
    EXPECT_EQ(r, (Rect{50, 40, 10, 20}));
    EXPECT_EQ(t.w->canvas().pen().style, PenStyle::psSolid);
    EXPECT_EQ(t.w->canvas().pen().width, 3);
    EXPECT_EQ(t.w->canvas().brush().style(), BrushStyle::bsSolid);
    EXPECT_TRUE(t.w->settings().drawingMode.isEmpty());
    EXPECT_EQ(countPixels(t.image(), clWhite), 256 * 256);  // the dotted band is gone
    // The next drag only stores an undo step.
    const int steps = t.w->undoRing().storedSteps();
    t.drag({{5, 5}, {100, 100}});
    EXPECT_EQ(t.w->undoRing().storedSteps(), steps + 1);
    EXPECT_EQ(countPixels(t.image(), clWhite), 256 * 256);

    // Fill Selection fills that range with the brush at once, leaving the mode alone.
    t.w->canvas().brush().setColor(clRed);
    t.run("Toolbar>Fill Selection");
    EXPECT_EQ(countPixels(t.image(), clRed), 40 * 20);
    EXPECT_EQ(t.image().pixel(10, 20), clRed);
    EXPECT_EQ(t.image().pixel(50, 40), clWhite);
}

TEST(ToolPickAndFill, PickGivesTheIndicatorTheColourAndFloodFillFillsTheArea) {
    Window t;
    t.image().canvas().brush().setColor(clBlue);
    t.image().canvas().fillRect(Rect{0, 0, 100, 100});
    t.w->canvas().brush().setColor(clLime);
    const TColor brushBefore = t.w->canvas().brush().color();
    t.run("Toolbar>Pick Paint");
    t.drag({{20, 20}, {50, 50}});
    EXPECT_EQ(t.w->shapeflagBrushColor(), clBlue);
    EXPECT_EQ(t.w->canvas().brush().color(), brushBefore);
    EXPECT_TRUE(t.w->settings().drawingMode.isEmpty());

    t.run("Toolbar>Floodfill");
    t.drag({{10, 10}, {150, 150}});  // the white part around the blue square
    EXPECT_EQ(countPixels(t.image(), clLime), 256 * 256 - 100 * 100);
    t.drag({{10, 10}, {300, 300}});  // released outside the image: nothing
    EXPECT_EQ(countPixels(t.image(), clLime), 256 * 256 - 100 * 100);
}

TEST(ToolStrokes, MirrorsDrawEveryImageOfTheStroke) {
    struct Case {
        const char* item;
        std::vector<Point> mirrored;  // a pixel of each mirror image of the stroke (20,30)-(60,30)
    };
    const Case cases[] = {
        {"vMirror", {{256 - 40, 30}}},
        {"hMirror", {{40, 256 - 30}}},
        {"cMirror", {{256 - 40, 256 - 30}}},
        {"Mirror4", {{256 - 40, 30}, {40, 256 - 30}, {256 - 40, 256 - 30}}},
    };
    for (const Case& c : cases) {
        Window t;
        t.run((QByteArray("Toolbar>Shape>Mirrors>") + c.item).constData());
        t.drag({{20, 30}, {40, 30}, {60, 30}});
        EXPECT_EQ(t.image().pixel(40, 30), clBlack) << c.item;
        for (const Point p : c.mirrored) EXPECT_EQ(t.image().pixel(p.x, p.y), clBlack) << c.item;
        EXPECT_EQ(countPixels(t.image(), clBlack), 40 * int(1 + c.mirrored.size())) << c.item;
    }
}

TEST(ToolStrokes, FreehandStraightLineAndSymmetricStrokes) {
    Window f;
    f.run("Toolbar>Shape>Lines>Freehand");
    f.drag({{10, 10}, {30, 10}, {30, 40}});
    Bitmap ref = referenceFor(*f.w);
    ref.canvas().moveTo(10, 10);
    ref.canvas().lineTo(30, 10);
    ref.canvas().lineTo(30, 40);
    EXPECT_EQ(differingPixels(f.image(), ref), 0);

    // Small wobbles stay on the first axis; a larger one turns the line.
    Window s;
    s.run("Toolbar>Shape>Lines>Line Straight");
    s.drag({{10, 50}, {30, 52}, {60, 47}, {80, 50}});
    for (int x = 10; x < 80; ++x) ASSERT_EQ(s.image().pixel(x, 50), clBlack) << x;
    EXPECT_EQ(countPixels(s.image(), clBlack), 70);

    Window y;
    y.run("Options>Starpoints>4");
    y.run("Toolbar>Shape>Mirrors>Symmetric");
    y.drag({{128, 28}, {138, 28}});
    // Four arms about (128, 128): the stroke turned by quarter turns.
    for (const Point p : {Point{130, 28}, Point{228, 130}, Point{126, 228}, Point{28, 126}})
        EXPECT_EQ(y.image().pixel(p.x, p.y), clBlack) << p.x << "," << p.y;
}

TEST(ToolStrokes, SprayStaysNearThePointerAndCloneCopiesFromTheAnchorOffset) {
    Window t;
    t.w->canvas().brush().setColor(clRed);
    t.run("Toolbar>Shape>Spray");
    t.drag({{100, 100}, {100, 100}, {100, 100}});
    const int dots = countPixels(t.image(), clRed);
    EXPECT_GT(dots, 0);
    EXPECT_LE(dots, 20);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            if (t.image().pixel(x, y) == clRed) {
                EXPECT_TRUE(x >= 85 && x < 115 && y >= 85 && y < 115) << x << "," << y;
            }

    // The 5 by 5 square at the anchor arrives at the pointer; "Not Target Color" leaves out
    // the colour the anchor pixel has (white here), so the red under it shows through.
    struct Clone {
        const char* item;
        int redLeft;
    };
    for (const Clone& k : {Clone{"All Colors", 400 - 25}, Clone{"Not Target Color", 400 - 9}}) {
        Window c;
        Canvas& cv = c.image().canvas();
        cv.brush().setColor(clBlue);
        cv.fillRect(Rect{10, 10, 20, 20});
        cv.brush().setColor(clRed);
        cv.fillRect(Rect{90, 90, 110, 110});
        c.run("Toolbar>Line Width>5 pixels");
        c.run((QByteArray("Toolbar>Shape>Clone>") + k.item).constData());
        c.press({8, 8}, {}, Qt::RightButton);
        c.drag({{100, 100}, {100, 100}});
        EXPECT_EQ(countPixels(c.image(), clBlue), 100 + 9) << k.item;
        EXPECT_EQ(c.image().pixel(103, 103), clBlue) << k.item;
        EXPECT_EQ(countPixels(c.image(), clRed), k.redLeft) << k.item;
    }
}

TEST(ToolColorList, ClicksSetPenOrBrushAndEmptyClicksChangeNothing) {
    Window t;
    t.w->show();
    auto* list = t.w->findChild<ColorList*>(QStringLiteral("LineColor"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 19);
    EXPECT_TRUE(t.w->canvas().brush().isClear());
    t.w->canvas().pen().color = clGreen;
    // Nothing selected, a left click below the items: nothing changes.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 19 * 12 + 30));
    EXPECT_EQ(t.w->canvas().pen().color, clGreen);
    EXPECT_EQ(t.w->shapeflagPenColor(), clBlack);
    auto* flag = t.w->findChild<ShapeFlag*>(QStringLiteral("shapeflag"));
    t.run("Toolbar>Solid/Clear>DiagCross");
    EXPECT_EQ(flag->brushStyle, BrushStyle::bsDiagCross);
    t.run("Toolbar>Solid/Clear>Clear");
    EXPECT_EQ(flag->brushStyle, BrushStyle::bsClear);
    // A right click on clRed (row 9): a clear brush turns solid in that colour.
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(10, 9 * 12 + 6));
    EXPECT_TRUE(t.w->canvas().brush().isSolid());
    EXPECT_EQ(flag->brushStyle, BrushStyle::bsSolid);
    EXPECT_EQ(t.w->canvas().brush().color(), clRed);
    EXPECT_EQ(t.w->shapeflagBrushColor(), clRed);
    // A left click on clBlue (row 12) sets the pen.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 12 * 12 + 6));
    EXPECT_EQ(t.w->canvas().pen().color, clBlue);
    EXPECT_EQ(t.w->shapeflagPenColor(), clBlue);
    // Ctrl: the item's text goes to the editor when its text area is shown, else Ctrl is ignored.
    editorOf(t).memo()->hide();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 15 * 12 + 6));
    EXPECT_EQ(t.w->canvas().pen().color, TColor(0x00A6CAF0));
    editorOf(t).memo()->show();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 9 * 12 + 6));
    EXPECT_EQ(editorOf(t).text(), "clRed");
    EXPECT_EQ(t.w->canvas().pen().color, TColor(0x00A6CAF0));
}

TEST(ToolOptions, PromptsApplyTheirRules) {
    struct Case {
        const char* path;
        const char* answer;
        std::function<double(TPixoralF&)> value;
        double expected;
    };
    const auto spiro = [](TPixoralF& w) { return double(w.settings().spiroTurns); };
    const Case cases[] = {
        {"Options>Blocks...", "1", [](TPixoralF& w) { return double(w.settings().blocks); }, 2},
        {"Options>Line Tolerance...", "60", [](TPixoralF& w) { return double(w.settings().lineTolerance); }, 5},
        {"Options>Rounding...", "-7", [](TPixoralF& w) { return double(w.settings().rounding); }, -7},
        {"Options>Spirals>Other...", "12", [](TPixoralF& w) { return double(w.settings().spiralTurns); }, 12},
        {"Options>Spiralfactor>Other...", "0.5", [](TPixoralF& w) { return w.settings().spiralFactor; }, 0.5},
        {"Options>SpiroGraph>Turns...", "7", spiro, 7},
        {"Toolbar>Line Width>Other Size...", "300", [](TPixoralF& w) { return double(w.canvas().pen().width); }, 1},
        {"Toolbar>Line Width>Other Size...", "256", [](TPixoralF& w) { return double(w.canvas().pen().width); }, 256},
    };
    for (const Case& c : cases) {
        Window t;
        t.run(c.path, {c.answer});
        EXPECT_DOUBLE_EQ(c.value(*t.w), c.expected) << c.path << " " << c.answer;
    }
    Window m;
    m.run("Options>Spirals>Left");
    m.run("Options>Spirals>2");
    m.run("Options>Spiralfactor>0.95");
    EXPECT_EQ(m.w->settings().spiralDirection, -1);
    EXPECT_EQ(m.w->settings().spiralTurns, 2);
    EXPECT_DOUBLE_EQ(m.w->settings().spiralFactor, 0.95);
}

TEST(ToolRepaint, TheShownPictureFollowsEveryMoveOfEveryTool) {
    const char* paths[] = {kRectangle, "Toolbar>Shape>2D Shapes>Ellipse", "Toolbar>Shape>2D Shapes>Round Rect",
                           "Toolbar>Shape>Lines>Line", "Toolbar>Shape>Lines>Freehand", "Toolbar>Shape>Lines>Bezier",
                           "Toolbar>Shape>Mirrors>Mirror4", "Toolbar>Shape>Mirrors>Symmetric", "Toolbar>Shape>Spray",
                           "Toolbar>Shape>Blocks", "Toolbar>Shape>3D Shapes>Cube", "Toolbar>Shape>2D Shapes>Triangle",
                           "Toolbar>Shape>Lines>Line Straight", "Toolbar>Select Range", "Toolbar>Shape>Clone>All Colors"};
    const std::vector<Point> moves = {{150, 40}, {300, 260}, {260, 250}, {40, 380}, {390, 100}, {200, 200}};
    for (const char* path : paths) {
        for (bool solid : {false, true}) {
            Window t;
            ASSERT_TRUE(t.w->setWorkspaceSize(400, 400));
            t.run("Toolbar>Line Width>4 pixels");
            if (solid) t.w->canvas().brush().setColor(clYellow);
            t.run(path);
            for (int phase = 0; phase < 2; ++phase) {
                t.press({120, 130});
                for (const Point p : moves) {
                    t.move(p);
                    ASSERT_EQ(t.shown(), t.image().toImage()) << path << " solid " << solid << " at " << p.x << "," << p.y;
                }
                t.release(moves.back());
                ASSERT_EQ(t.shown(), t.image().toImage()) << path;
            }
        }
    }
}

TEST(ToolRepaint, OutlineRegionsStayNearTheOutline) {
    // The repaint of a large rubber band touches a thin frame, not the whole box.
    long long area = 0;
    for (const Rect& r : dirty::rectOutline({100, 100}, {3000, 3000}, 3)) area += 1LL * r.width() * r.height();
    EXPECT_LT(area, 4LL * 3000 * 10);
    area = 0;
    for (const Rect& r : dirty::ellipseOutline({100, 100}, {3000, 3000}, 3)) area += 1LL * r.width() * r.height();
    EXPECT_LT(area, 2900LL * 2900 / 4);
    // Two filled boxes seven pixels apart differ by two thin L shapes; disjoint ones are whole.
    area = 0;
    for (const Rect& r : dirty::boxDifference({100, 100}, {3000, 3000}, {100, 100}, {3007, 2993})) area += 1LL * r.width() * r.height();
    EXPECT_EQ(area, 7LL * 2893 + 7LL * 2900);
    area = 0;
    for (const Rect& r : dirty::boxDifference({0, 0}, {10, 10}, {20, 20}, {30, 25})) area += 1LL * r.width() * r.height();
    EXPECT_EQ(area, 100 + 50);
    EXPECT_EQ(dirty::clipTo({Rect{-5, -5, 10, 10}, Rect{300, 0, 400, 10}}, 256, 256), (std::vector<Rect>{Rect{0, 0, 10, 10}}));
}
