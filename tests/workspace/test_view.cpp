// The view of the workspace: zoom, the mouse in image pixels at any zoom, and what the status
// bar and the Options items show of the tools' state.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "WindowFixture.h"
#include "workspace/WorkspaceControls.h"

using namespace pixoral;

namespace {

QString labelText(const TPixoralF& w, const char* name) { return w.findChild<QLabel*>(QString::fromLatin1(name))->text(); }

}  // namespace

TEST(ViewZoom, ADragOnTheZoomedPictureDrawsInImagePixels) {
    TestWindow f;
    TPixoralF& w = *f.w;
    auto* paint = w.findChild<PaintBox*>("mypaint");
    f.run("Toolbar>Shape>2D Shapes>Rectangle");
    f.run("View>Zoom In");
    f.run("View>Zoom In");
    EXPECT_EQ(w.zoom(), 4.0);
    EXPECT_EQ(paint->size(), QSize(1024, 1024));
    EXPECT_EQ(labelText(w, "StatusZoom"), "400%");
    QTest::mousePress(paint, Qt::LeftButton, {}, QPoint(40, 40));
    QTest::mouseMove(paint, QPoint(62, 63));
    QTest::mouseMove(paint, QPoint(80, 80));
    EXPECT_EQ(w.statusText(2), "x=20 y=20 w=10 h=10");
    QTest::mouseRelease(paint, Qt::LeftButton, {}, QPoint(80, 80));
    const PixelBox drawn = boundsOf(w.workspace(), clBlack);
    EXPECT_EQ(drawn, (PixelBox{10, 10, 19, 19}));
    EXPECT_EQ(drawn.count, 36);  // the outline only: the rubber bands left nothing behind
    f.run("View>Actual Size");
    EXPECT_EQ(paint->size(), QSize(256, 256));
    EXPECT_EQ(labelText(w, "StatusZoom"), "100%");
}

TEST(ViewZoom, CtrlWheelKeepsTheImagePointUnderThePointer) {
    TestWindow f;
    TPixoralF& w = *f.w;
    auto* paint = w.findChild<PaintBox*>("mypaint");
    auto* box = w.findChild<QScrollArea*>("ScrollBox1");
    QWidget* view = box->viewport();
    const struct {
        QPoint at;  // in the viewport
        int notches;
        double zoom;
    } steps[] = {{{100, 60}, 1, 2}, {{100, 60}, 2, 8}, {{30, 200}, 9, 32}, {{300, 10}, -1, 16}, {{5, 5}, -12, 0.125}};
    for (const auto& s : steps) {
        const QPointF before = paint->toImage(paint->mapFrom(view, QPointF(s.at)));
        QWheelEvent e(QPointF(s.at), view->mapToGlobal(QPointF(s.at)), QPoint(), QPoint(0, 120 * s.notches),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &e);
        EXPECT_EQ(w.zoom(), s.zoom) << s.notches;
        const QPointF after = paint->toImage(paint->mapFrom(view, QPointF(s.at)));
        // Within one view pixel (where the scroll bars can still move).
        if (paint->width() > view->width()) {
            EXPECT_NEAR(after.x(), before.x(), 1 / s.zoom) << s.notches;
        }
        if (paint->height() > view->height()) {
            EXPECT_NEAR(after.y(), before.y(), 1 / s.zoom) << s.notches;
        }
    }
    EXPECT_EQ(labelText(w, "StatusZoom"), "12.5%");
}

TEST(ViewSteps, MultiPhaseToolsNameTheirNextStep) {
    const struct {
        const char* tool;
        std::vector<const char*> steps;  // after choosing the tool and after each drag
    } cases[] = {
        {"Toolbar>Shape>Lines>Bezier",
         {"drag from the start to the end of the curve", "click the first control point",
          "click the second control point", "drag from the start to the end of the curve"}},
        {"Toolbar>Shape>2D Shapes>Chord",
         {"drag the box of the ellipse", "click the first angle point", "click the second angle point",
          "drag the box of the ellipse"}},
        {"Toolbar>Shape>3D Shapes>Cube", {"drag the front face", "drag the depth", "drag the front face"}},
        {"Toolbar>Shape>2D Shapes>Triangle", {"drag the first edge", "drag the third corner", "drag the first edge"}},
        {"Toolbar>Shape>Lines>Line", {"", ""}},
    };
    for (const auto& c : cases) {
        TestWindow f;
        f.run(c.tool);
        EXPECT_EQ(labelText(*f.w, "StatusStep"), c.steps.front()) << c.tool;
        for (std::size_t i = 1; i < c.steps.size(); ++i) {
            f.drag({{20, 20}, {60, 50}});
            EXPECT_EQ(labelText(*f.w, "StatusStep"), c.steps[i]) << c.tool << " after drag " << i;
        }
    }
}

TEST(ViewOptions, SpiralStarAndToleranceItemsShowTheirSettings) {
    TestWindow f;
    TPixoralF& w = *f.w;
    auto action = [&](const char* path) { return w.actionForPath(QString::fromLatin1(path)); };
    EXPECT_TRUE(action("Options>Spirals>3")->isChecked());
    EXPECT_TRUE(action("Options>Starpoints>5")->isChecked());
    EXPECT_EQ(action("Options>Line Tolerance")->text(), "Line Tolerance (5)...");
    f.run("Options>Spirals>Left");
    f.run("Options>Spirals>Other", {"7"});
    f.run("Options>Spiralfactor>0.95");
    f.run("Options>Starpoints>7");
    f.run("Options>Line Tolerance", {"12"});
    const struct {
        const char* path;
        bool checked;
        const char* text;  // null: the caption as it stands in the menu table
    } want[] = {
        {"Options>Spirals>Right", false, nullptr},   {"Options>Spirals>3", false, nullptr},
        {"Options>Spirals>Other", true, "Other (7)..."}, {"Options>Spiralfactor>0.95", true, nullptr},
        {"Options>Spiralfactor>Other", false, "Other..."}, {"Options>Starpoints>7", true, nullptr},
        {"Options>Line Tolerance", false, "Line Tolerance (12)..."},
    };
    for (const auto& c : want) {
        QAction* a = action(c.path);
        ASSERT_NE(a, nullptr) << c.path;
        EXPECT_EQ(a->isChecked(), c.checked) << c.path;
        if (c.text) {
            EXPECT_EQ(a->text(), QString::fromLatin1(c.text)) << c.path;
        }
    }
}
