// The figure tools through the mouse handlers: rubber bands, final outlines, nested figures,
// the phase tools and the figures with their own rules.
#include "ToolWindow.h"

#include "workspace/Figures.h"

using namespace tooltest;

namespace {

const char* const kRectangle = "Toolbar>Shape>2D Shapes>Rectangle";

}  // namespace

TEST(ToolBoxes, RubberBandLeavesTheFinalFigureOrExactlyTheLastBand) {
    struct Case {
        const char* penMode;
        PenMode mode;
    };
    const Case cases[] = {{"Toolbar>Set Pen Mode>Copy", PenMode::pmCopy}, {"Toolbar>Set Pen Mode>Not Xor", PenMode::pmNotXor}};
    for (const char* shape : {kRectangle, "Toolbar>Shape>2D Shapes>Ellipse", "Toolbar>Shape>2D Shapes>Round Rect"}) {
        for (const Case& c : cases) {
            Window t;
            t.run(shape);
            t.run(c.penMode);
            t.drag({{10, 10}, {40, 30}, {70, 20}, {50, 40}});
            EXPECT_EQ(t.w->canvas().pen().mode, c.mode) << shape;
            // Either way the picture is the one figure S-E, drawn once in the user's mode (the
            // bands before it removed themselves).
            Bitmap ref = referenceFor(*t.w);
            ref.canvas().pen().mode = c.mode;
            const QString s = QString::fromUtf8(shape);
            if (s.endsWith("Rectangle")) ref.canvas().rectangle(10, 10, 50, 40);
            else if (s.endsWith("Ellipse")) ref.canvas().ellipse(10, 10, 50, 40);
            else ref.canvas().roundRect(10, 10, 50, 40, 10, 10);
            EXPECT_EQ(differingPixels(t.image(), ref), 0) << shape << " " << c.penMode;
        }
    }
}

TEST(ToolBoxes, ShapesCountNestsRectanglesAndZeroDrawsOnlyTheOuterOne) {
    Window t;
    t.run("Options>Shapes...", {"3"});
    t.run(kRectangle);
    t.drag({{0, 0}, {60, 30}});
    Bitmap ref = referenceFor(*t.w);
    ref.canvas().rectangle(0, 0, 60, 30);
    ref.canvas().rectangle(10, 5, 50, 25);
    ref.canvas().rectangle(20, 10, 40, 20);
    EXPECT_EQ(differingPixels(t.image(), ref), 0);

    Window z;
    z.run("Options>Shapes...", {"0"});
    EXPECT_EQ(z.w->settings().shapesCount, 0);
    z.run(kRectangle);
    z.drag({{0, 0}, {60, 30}});
    Bitmap one = referenceFor(*z.w);
    one.canvas().rectangle(0, 0, 60, 30);
    EXPECT_EQ(differingPixels(z.image(), one), 0);
    z.run("Options>Shapes...", {"26"});
    EXPECT_EQ(z.w->settings().shapesCount, 1);
}

TEST(ToolBoxes, MazeAndGlobeDrawTheirLinesInsideTheBox) {
    Window t;
    t.run("Toolbar>Shape>2D Shapes>Maze");
    t.drag({{20, 20}, {120, 120}});
    Bitmap ref = referenceFor(*t.w);
    ref.canvas().rectangle(20, 20, 120, 120);
    drawMaze(ref.canvas(), {20, 20}, {120, 120});
    EXPECT_EQ(differingPixels(t.image(), ref), 0);

    Window g;
    g.run("Toolbar>Shape>3D Shapes>Globe");
    g.drag({{20, 20}, {60, 80}, {120, 120}});
    Bitmap gref = referenceFor(*g.w);
    gref.canvas().ellipse(20, 20, 120, 120);
    drawGlobe(gref.canvas(), {20, 20}, {120, 120});
    EXPECT_EQ(differingPixels(g.image(), gref), 0);
}

TEST(ToolStars, PentagramPentagonAndHexagonByTheirFilledCentre) {
    struct Case {
        const char* points;
        bool polygon;
        bool centreFilled;  // even-odd fill leaves the middle of a pentagram open
    };
    const Case cases[] = {{"5", false, false}, {"5", true, true}, {"6", false, true}, {"6", true, true}};
    for (const Case& c : cases) {
        Window t;
        t.run((QByteArray("Options>Starpoints>") + c.points).constData());
        if (c.polygon) t.run("Options>Polygon");
        EXPECT_EQ(t.w->settings().polygon, c.polygon);
        EXPECT_EQ(t.w->actionForPath("Options>Polygon")->isChecked(), c.polygon);
        t.w->canvas().brush().setColor(clRed);
        t.run("Toolbar>Shape>2D Shapes>Star");
        t.drag({{128, 128}, {128, 60}, {128, 28}});
        EXPECT_EQ(t.image().pixel(128, 128) == clRed, c.centreFilled) << c.points << " " << c.polygon;
        // The rubber line is gone: nothing is left on the axis outside the figure.
        EXPECT_EQ(t.image().pixel(128, 20), clWhite);
        EXPECT_EQ(t.image().pixel(128, 28), clBlack);  // the top vertex
    }
}

TEST(ToolStars, ZeroShapesDrawsNoStar) {
    Window t;
    t.run("Options>Shapes...", {"0"});
    t.run("Toolbar>Shape>2D Shapes>Star");
    t.drag({{128, 128}, {128, 28}});
    EXPECT_EQ(countPixels(t.image(), clWhite), 256 * 256);
}

TEST(ToolSpirograph, DrawsFromTheStartPointOrShowsItsMessageAndLeavesTheImage) {
    struct Case {
        int w, h;
        Point s, e;
        const char* message;  // empty: drawn
    };
    const Case cases[] = {
        {256, 256, {188, 128}, {218, 128}, ""},
        {256, 200, {188, 128}, {218, 128}, "image must be square for spirographs"},
        {256, 256, {228, 128}, {228, 168}, "sum of radi to large"},
        {256, 256, {188, 128}, {193, 128}, "both radi must be >5"},
        {256, 256, {188, 128}, {194, 128}, ""},
    };
    for (const Case& c : cases) {
        Window t;
        ASSERT_TRUE(t.w->setWorkspaceSize(c.w, c.h));
        t.run("Toolbar>Shape>Lines>SpiroGraph");
        t.drag({c.s, {c.e.x - 3, c.e.y + 2}, c.e});
        if (*c.message) {
            EXPECT_EQ(t.dialogs->messages(), QStringList{QString::fromUtf8(c.message)});
            EXPECT_EQ(countPixels(t.image(), clWhite), c.w * c.h) << c.message;
        } else {
            EXPECT_TRUE(t.dialogs->messages().isEmpty());
            Bitmap ref = referenceFor(*t.w);
            EXPECT_TRUE(drawSpirograph(ref.canvas(), c.s, c.e, 40).isEmpty());
            EXPECT_EQ(differingPixels(t.image(), ref), 0);
        }
    }
    // 40 turns of 36 segments, the first from (218, 128).
    const SpiroPlan plan = planSpirograph(256, 256, {188, 128}, {218, 128}, 40);
    EXPECT_EQ(plan.points.size(), 40u * 36u + 1u);
    EXPECT_EQ(plan.points.front(), (Point{218, 128}));
}

TEST(ToolSpiralAndCone, LineStartedFiguresReplaceTheirRubberLine) {
    Window t;
    t.run("Toolbar>Shape>Lines>Spiral");
    t.drag({{128, 128}, {160, 140}, {200, 128}});
    Bitmap ref = referenceFor(*t.w);
    ref.canvas().moveTo(200, 128);  // the pen stands where the rubber line ended
    drawSpiral(ref.canvas(), {128, 128}, {200, 128}, figureParamsOf(t.w->settings()));
    EXPECT_EQ(differingPixels(t.image(), ref), 0);

    Window c;
    c.run("Toolbar>Shape>3D Shapes>Cone");
    c.drag({{100, 30}, {90, 200}, {60, 220}});
    Bitmap cref = referenceFor(*c.w);
    drawCone(cref.canvas(), {100, 30}, {60, 220});
    EXPECT_EQ(differingPixels(c.image(), cref), 0);
}

TEST(ToolBlocks, CellsAlignToTheGridAndATooSmallImageDrawsNothing) {
    Window t;
    t.w->canvas().brush().setColor(clRed);
    t.run("Toolbar>Shape>Blocks");
    t.drag({{40, 40}, {40, 40}, {70, 45}});  // the press itself fills nothing
    EXPECT_EQ(countPixels(t.image(), clRed), 2 * 32 * 32);
    for (const Point p : {Point{32, 32}, Point{95, 63}}) EXPECT_EQ(t.image().pixel(p.x, p.y), clRed);
    for (const Point p : {Point{31, 40}, Point{96, 40}, Point{40, 64}}) EXPECT_EQ(t.image().pixel(p.x, p.y), clWhite);

    Window small;
    ASSERT_TRUE(small.w->setWorkspaceSize(5, 5));
    small.w->canvas().brush().setColor(clRed);
    small.run("Toolbar>Shape>Blocks");
    small.drag({{1, 1}, {3, 3}});
    EXPECT_EQ(countPixels(small.image(), clRed), 0);
}

TEST(ToolPhases, EachReleaseMovesOnePhaseAndTheNextPressStartsAgain) {
    struct Case {
        const char* path;
        std::vector<const char*> modes;  // after each drag
    };
    const Case cases[] = {
        {"Toolbar>Shape>Lines>Arc", {"arc1", "arc2", "arc3"}},
        {"Toolbar>Shape>2D Shapes>Chord", {"chord1", "chord2", "chord3"}},
        {"Toolbar>Shape>2D Shapes>Pie", {"pie1", "pie2", "pie3"}},
        {"Toolbar>Shape>Lines>Bezier", {"bezier1", "bezier2", "bezier"}},
        {"Toolbar>Shape>2D Shapes>Skew Rectangle", {"skewrect1", "skewrect2"}},
        {"Toolbar>Shape>2D Shapes>Triangle", {"triangle1", "triangle2"}},
        {"Toolbar>Shape>3D Shapes>Cube", {"cube1", "cube2"}},
    };
    for (const Case& c : cases) {
        Window t;
        t.run(c.path);
        const QString first = t.w->settings().drawingMode;
        for (int round = 0; round < 2; ++round) {
            for (std::size_t i = 0; i < c.modes.size(); ++i) {
                t.drag({{20 + int(i) * 30, 30}, {60, 70}, {90 + int(i) * 10, 100}});
                EXPECT_EQ(t.w->settings().drawingMode, QString::fromLatin1(c.modes[i])) << c.path << " " << i;
            }
        }
        t.press({5, 5});
        EXPECT_EQ(t.w->settings().drawingMode, first) << c.path;
        t.release({5, 5});
    }
}

TEST(ToolPhases, ChordPieAndArcRemoveTheirGuideEllipse) {
    for (const char* kind : {"Chord", "Pie", "Arc"}) {
        Window t;
        t.run(QByteArray(kind) == "Arc" ? "Toolbar>Shape>Lines>Arc" : (QByteArray("Toolbar>Shape>2D Shapes>") + kind).constData());
        t.drag({{20, 20}, {100, 60}, {200, 150}});
        t.drag({{30, 30}, {210, 30}});
        t.drag({{30, 30}, {20, 180}});
        Bitmap ref = referenceFor(*t.w);
        Canvas& c = ref.canvas();
        if (QByteArray(kind) == "Chord") c.chord(20, 20, 200, 150, 210, 30, 20, 180);
        else if (QByteArray(kind) == "Pie") c.pie(20, 20, 200, 150, 210, 30, 20, 180);
        else c.arc(20, 20, 200, 150, 210, 30, 20, 180);
        EXPECT_EQ(differingPixels(t.image(), ref), 0) << kind;
    }
}

TEST(ToolPhases, BezierCurveEndsAsOneCurveThroughTheDraggedControlPoints) {
    Window t;
    t.run("Toolbar>Shape>Lines>Bezier");
    t.drag({{20, 200}, {100, 150}, {230, 200}});
    t.drag({{60, 40}, {70, 30}, {80, 20}});     // p1
    t.drag({{150, 60}, {170, 40}, {190, 30}});  // p2, then the curve
    Bitmap ref = referenceFor(*t.w);
    ref.canvas().polyBezier({{20, 200}, {80, 20}, {190, 30}, {230, 200}});
    EXPECT_EQ(differingPixels(t.image(), ref), 0);
}

TEST(ToolPhases, SkewRectangleAndTriangleFollowTheThirdCorner) {
    Window s;
    s.run("Toolbar>Shape>2D Shapes>Skew Rectangle");
    s.drag({{20, 20}, {120, 20}});
    s.drag({{0, 0}, {90, 50}, {150, 80}});
    Bitmap ref = referenceFor(*s.w);
    ref.canvas().moveTo(20, 20);
    ref.canvas().lineTo(120, 20);
    drawSkewRect(ref.canvas(), {{20, 20}, {120, 20}, {150, 80}, {50, 80}, {}});
    EXPECT_EQ(differingPixels(s.image(), ref), 0);

    Window t;
    t.run("Toolbar>Shape>2D Shapes>Triangle");
    t.drag({{20, 120}, {120, 120}});
    t.drag({{0, 0}, {60, 20}, {70, 30}});
    Bitmap tref = referenceFor(*t.w);
    tref.canvas().moveTo(20, 120);
    tref.canvas().lineTo(120, 120);
    drawTriangle(tref.canvas(), {{20, 120}, {120, 120}, {70, 30}, {}, {}});
    EXPECT_EQ(differingPixels(t.image(), tref), 0);
}

TEST(ToolPhases, CubeShowsItsBackEdgesOrOnlyTheFrontFaceWhenDraggedStraightLeft) {
    struct Case {
        Point depthEnd;  // the second drag goes from (100, 100) to here
        std::size_t paths;
    };
    const Case cases[] = {{{60, 100}, 1}, {{120, 80}, 3}, {{120, 120}, 3}, {{80, 80}, 3}};
    for (const Case& c : cases) {
        Window t;
        t.run("Toolbar>Shape>3D Shapes>Cube");
        t.drag({{50, 50}, {80, 70}, {100, 100}});
        t.drag({{100, 100}, {110, 90}, c.depthEnd});
        FigurePoints f = cubeFromFrontFace({50, 50}, {100, 100});
        f.p5 = c.depthEnd;
        EXPECT_EQ(cubePaths(f).size(), c.paths);
        Bitmap ref = referenceFor(*t.w);
        drawCube(ref.canvas(), f);
        EXPECT_EQ(differingPixels(t.image(), ref), 0) << c.depthEnd.x << "," << c.depthEnd.y;
    }
}
