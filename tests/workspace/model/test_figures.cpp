// Figure geometry on small bitmaps: vertices, rounding, messages, pixels, recorder texts and
// the Options answers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <numbers>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "workspace/FigureOptions.h"
#include "workspace/Figures.h"
#include "../../common/TestSupport.h"

using namespace pixoral;

namespace {

constexpr double kPi = std::numbers::pi;

bool sameImage(const Bitmap& a, const Bitmap& b) { return a.toImage() == b.toImage(); }

}  // namespace

TEST(FigureHelpers, RoundsHalvesToEvenAndClamps) {
    struct Case {
        double v;
        int expected;
    };
    const Case cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},    {3.5, 4},    {-0.5, 0},      {-1.5, -2},
                          {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-7.0, -7}, {1e20, INT_MAX}, {-1e20, INT_MIN},
                          {NAN, 0}};
    for (const Case& c : cases) EXPECT_EQ(roundHalfEven(c.v), c.expected) << c.v;
}

TEST(FigureHelpers, RotateAndReduceVector) {
    struct Case {
        const char* what;
        std::function<Point()> run;
        Point expected;
    };
    const Case cases[] = {
        {"quarter turn goes toward +y", [] { return rotate({0, 0}, {10, 0}, kPi / 2); }, {0, 10}},
        {"half turn", [] { return rotate({0, 0}, {10, 0}, kPi); }, {-10, 0}},
        {"about an offset centre", [] { return rotate({20, 30}, {30, 30}, -kPi / 2); }, {20, 20}},
        {"dx of 0 still turns", [] { return rotate({0, 0}, {0, 10}, kPi / 2); }, {-10, 0}},
        {"point on the centre stays", [] { return rotate({5, 5}, {5, 5}, 1.0); }, {5, 5}},
        {"half way, 1.5 rounds to 2", [] { return reducevector({0, 0}, {3, 0}, 0.5); }, {2, 0}},
        {"half way, 2.5 rounds to 2", [] { return reducevector({0, 0}, {5, 0}, 0.5); }, {2, 0}},
        // The sum C + f*r is rounded, not the offset: 1 + 1.5 = 2.5 gives 2, not 1 + 2.
        {"the sum is rounded", [] { return reducevector({1, 0}, {4, 0}, 0.5); }, {2, 0}},
        {"full length", [] { return reducevector({10, 10}, {13, 14}, 1.0); }, {13, 14}},
        // Squares beyond 32 bits.
        {"large radius turns", [] { return rotate({0, 0}, {100000, 0}, kPi / 2); }, {0, 100000}},
        {"large radius halves", [] { return reducevector({0, 0}, {60000, 80000}, 0.5); }, {30000, 40000}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.run(), c.expected) << c.what;
    EXPECT_EQ(rotate64(Point64{0, 0}, Point64{5'000'000'000, 0}, kPi), (Point64{-5'000'000'000, 0}));
}

TEST(Nested, BoxesStepInwardByTruncatedHalves) {
    struct Case {
        Point s, e;
        int n;
        std::vector<Rect> expected;
    };
    const Case cases[] = {
        {{0, 0}, {60, 30}, 3, {{10, 5, 50, 25}, {20, 10, 40, 20}}},
        {{60, 30}, {0, 0}, 3, {{50, 25, 10, 5}, {40, 20, 20, 10}}},
        {{0, 0}, {7, 7}, 2, {{1, 1, 6, 6}}},
        {{0, 0}, {-7, -7}, 2, {{-1, -1, -6, -6}}},
        {{0, 0}, {60, 30}, 1, {}},
        {{0, 0}, {60, 30}, 0, {}},
        {{0, 0}, {60, 30}, -4, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(nestedBoxes(c.s, c.e, c.n), c.expected) << c.n;
    EXPECT_EQ(nestedBoxes({0, 0}, {1000, 1000}, 1000).size(), std::size_t(kMaxShapes - 1));
}

TEST(Nested, RectanglesDrawnOnTheBitmap) {
    Bitmap b(64, 32);
    b.canvas().brush().setStyle(BrushStyle::bsClear);
    drawNested(b.canvas(), BoxFigure::Rectangle, {0, 0}, {60, 30}, 3, 10);
    // Corners of (10, 5)-(50, 25) and (20, 10)-(40, 20), right and bottom exclusive.
    for (Point p : {Point{10, 5}, Point{49, 24}, Point{20, 10}, Point{39, 19}}) EXPECT_EQ(b.pixel(p.x, p.y), clBlack);
    EXPECT_EQ(b.pixel(0, 0), clWhite);  // the outer one is the caller's
    EXPECT_EQ(countPixels(b, clBlack), 2 * (40 + 20) - 4 + 2 * (20 + 10) - 4);
}

TEST(Stars, VerticesCarryTheirRounding) {
    // A square and a hexagon about (50, 50); each vertex is the previous one turned.
    EXPECT_EQ(starVertices({20, 20}, {30, 20}, 4, false, 1.0),
              (std::vector<Point>{{30, 20}, {20, 30}, {10, 20}, {20, 10}}));
    const std::vector<Point> hexagon{{70, 50}, {60, 67}, {40, 67}, {30, 50}, {40, 33}, {60, 33}};
    EXPECT_EQ(starVertices({50, 50}, {70, 50}, 6, false, 1.0), hexagon);
    EXPECT_EQ(starVertices({50, 50}, {70, 50}, 6, true, 1.0), hexagon);
    // Five points step 144 degrees when not a polygon, 72 when one.
    EXPECT_EQ(starVertices({50, 50}, {90, 50}, 5, false, 1.0)[1], (Point{18, 74}));
    EXPECT_EQ(starVertices({50, 50}, {90, 50}, 5, true, 1.0)[1], (Point{62, 88}));
    EXPECT_EQ(starVertices({50, 50}, {50, 20}, 4, true, 1.0 / 3)[0], (Point{50, 40}));
    EXPECT_EQ(starVertices({50, 50}, {70, 50}, 40, false, 1.0).size(), 12u);
}

TEST(Stars, PentagramPentagonHexagonFill) {
    // Even-odd filling leaves the centre of a pentagram empty.
    struct Case {
        int points;
        bool polygon;
        TColor centre;
    };
    const Case cases[] = {{5, false, clWhite}, {5, true, clRed},   {6, false, clRed},
                          {6, true, clRed},    {7, false, clRed}, {9, false, clWhite}};
    for (const Case& c : cases) {
        Bitmap b(100, 100);
        b.canvas().brush().setColor(clRed);
        FigureParams p;
        p.starPoints = c.points;
        p.polygon = c.polygon;
        drawStars(b.canvas(), {50, 50}, {50, 10}, p);
        EXPECT_EQ(b.pixel(50, 50), c.centre) << c.points << " " << c.polygon;
        EXPECT_EQ(b.pixel(50, 10), clBlack) << "first vertex on E";
    }
}

TEST(Stars, ShapesCountDrawsNestedStarsAndZeroDrawsNone) {
    FigureParams p;
    p.starPoints = 4;
    p.polygon = true;
    Bitmap b(100, 100);
    b.canvas().brush().setStyle(BrushStyle::bsClear);
    p.shapesCount = 0;
    drawStars(b.canvas(), {50, 50}, {50, 20}, p);
    EXPECT_EQ(countPixels(b, clBlack), 0);
    p.shapesCount = 3;
    drawStars(b.canvas(), {50, 50}, {50, 20}, p);
    for (int y : {20, 30, 40}) EXPECT_EQ(b.pixel(50, y), clBlack) << y;
    EXPECT_EQ(b.pixel(50, 25), clWhite);
}

TEST(Spiral, StepsTurnAndShrinkInHundredths) {
    struct Case {
        int direction;
        Point first;
    };
    // 5000 hundredths turned 10 degrees, then 0.99 of the way: (148.75, 108.59) or (148.75, 91.41).
    const Case cases[] = {{1, {148, 108}}, {-1, {148, 91}}};
    for (const Case& c : cases) {
        const auto pts = spiralPoints({100, 100}, {150, 100}, 1, 0.99, c.direction);
        ASSERT_EQ(pts.size(), 36u);
        EXPECT_EQ(pts.front(), c.first) << c.direction;
        // A full turn later, back on the +x side at 50 * 0.99^36 = 34.8 pixels.
        EXPECT_NEAR(pts.back().x, 134, 1);
        EXPECT_NEAR(pts.back().y, 100, 1);
    }
    EXPECT_EQ(spiralPoints({0, 0}, {10, 0}, 3, 0.95, 1).size(), 3u * 36);
    EXPECT_TRUE(spiralPoints({0, 0}, {10, 0}, 0, 0.95, 1).empty());
    // 600 pixels are 60000 hundredths: squares far beyond 32 bits keep their radius.
    const auto big = spiralPoints({600, 600}, {1200, 600}, 1, 0.99, 1);
    for (std::size_t i : {0u, 9u, 18u}) {
        const double r = std::hypot(big[i].x - 600.0, big[i].y - 600.0);
        EXPECT_NEAR(r, 600 * std::pow(0.99, double(i + 1)), 2.0) << i;
    }
}

TEST(Spirograph, MessagesAndSegments) {
    struct Case {
        int w, h;
        Point s, e;
        const char* message;
    };
    const Case cases[] = {
        {256, 200, {188, 128}, {218, 128}, kSpiroNotSquare},
        {256, 256, {228, 128}, {268, 128}, kSpiroTooLarge},  // R1 100, R2 40
        {256, 256, {188, 128}, {193, 128}, kSpiroTooSmall},  // R2 5
        {256, 256, {133, 128}, {193, 128}, kSpiroTooSmall},  // R1 5
        {256, 256, {188, 128}, {194, 128}, ""},              // R2 6
        {257, 256, {188, 128}, {218, 128}, ""},              // 257 div 2 = 256 div 2
    };
    for (const Case& c : cases) {
        const SpiroPlan plan = planSpirograph(c.w, c.h, c.s, c.e, 40);
        EXPECT_EQ(plan.message, QString::fromLatin1(c.message)) << c.w << " " << c.e.x;
        EXPECT_EQ(plan.points.empty(), *c.message != 0);
    }
    // S 60 pixels from the centre of 256 by 256, E 30 from S: 40 * 36 segments from (218, 128).
    const SpiroPlan plan = planSpirograph(256, 256, {188, 128}, {218, 128}, 40);
    EXPECT_EQ(plan.r1, 60);
    EXPECT_EQ(plan.r2, 30);
    ASSERT_EQ(plan.points.size(), 40u * 36 + 1);
    EXPECT_EQ(plan.points[0], (Point{218, 128}));
    EXPECT_EQ(plan.points[1], (Point{218, 128}));
    for (const Point& p : plan.points) EXPECT_LE(std::hypot(p.x - 128.0, p.y - 128.0), 90.5);
    // Radii are rounded before the check: 5.39 is 5 and refused, 5.83 is 6 and drawn.
    EXPECT_EQ(planSpirograph(256, 256, {188, 128}, {193, 130}, 1).message, QString::fromLatin1(kSpiroTooSmall));
    EXPECT_TRUE(planSpirograph(256, 256, {188, 128}, {193, 131}, 1).message.isEmpty());
}

TEST(Spirograph, DrawsOnlyWhenAccepted) {
    Bitmap square(256, 256), wide(256, 200);
    EXPECT_EQ(drawSpirograph(wide.canvas(), {188, 100}, {218, 100}, 40), QString::fromLatin1(kSpiroNotSquare));
    EXPECT_EQ(countPixels(wide, clWhite), 256 * 200);
    EXPECT_EQ(drawSpirograph(square.canvas(), {228, 128}, {268, 128}, 40), QString::fromLatin1(kSpiroTooLarge));
    EXPECT_EQ(countPixels(square, clWhite), 256 * 256);
    EXPECT_TRUE(drawSpirograph(square.canvas(), {188, 128}, {218, 128}, 40).isEmpty());
    EXPECT_GT(countPixels(square, clBlack), 300);
    EXPECT_EQ(square.pixel(128, 128), clWhite);  // the inner loops never reach the centre
}

TEST(Strokes, SymmetricArmsTurnAboutTheWorkspaceCentre) {
    Bitmap b(100, 100);
    SymStroke st = setsyms(b.canvas(), {80, 50}, 4);
    ASSERT_EQ(st.count, 4);
    EXPECT_EQ(st.centre, (Point{50, 50}));
    const Point start[] = {{80, 50}, {50, 80}, {20, 50}, {50, 20}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(st.points[std::size_t(i)], start[i]);
    drawsyms(b.canvas(), st, {90, 50});
    const Point now[] = {{90, 50}, {50, 90}, {10, 50}, {50, 10}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(st.points[std::size_t(i)], now[i]);
    for (Point p : {Point{85, 50}, Point{50, 85}, Point{15, 50}, Point{50, 15}}) EXPECT_EQ(b.pixel(p.x, p.y), clBlack);
    EXPECT_EQ(countPixels(b, clBlack), 40);
    EXPECT_EQ(setsyms(b.canvas(), {80, 50}, 40).count, 12);
}

TEST(Strokes, MirroredLinesAndThePlainOne) {
    struct Case {
        const char* mode;
        std::vector<Point> black;
    };
    // P (10, 10) to (20, 10) on 100 by 60: the plain line and its images at W - x and H - y.
    const Case cases[] = {
        {"vmirror", {{15, 10}, {85, 10}}},
        {"hmirror", {{15, 10}, {15, 50}}},
        {"cmirror", {{15, 10}, {85, 50}}},
        {"mirror4", {{15, 10}, {85, 10}, {15, 50}, {85, 50}}},
    };
    for (const Case& c : cases) {
        Bitmap b(100, 60);
        const auto mode = mirrorModeFromName(QString::fromLatin1(c.mode));
        ASSERT_TRUE(mode) << c.mode;
        Point previous{10, 10};
        drawMirrorStroke(b.canvas(), *mode, previous, {20, 10});
        EXPECT_EQ(previous, (Point{20, 10}));
        for (Point p : c.black) EXPECT_EQ(b.pixel(p.x, p.y), clBlack) << c.mode << " " << p.x << "," << p.y;
        EXPECT_EQ(countPixels(b, clBlack), 10 * int(c.black.size())) << c.mode;
        EXPECT_EQ(b.canvas().penPos(), (Point{20, 10})) << "the plain line is drawn last";
    }
    EXPECT_FALSE(mirrorModeFromName(QStringLiteral("mirror")));
}

TEST(Strokes, StraightLineKeepsToAnAxisWithinTheTolerance) {
    struct Move {
        Point to;
        const char* direction;
        Point previous;
    };
    const Move moves[] = {
        {{30, 12}, "h", {30, 10}},  // |dx| 20 beats |dy| 2
        {{40, 14}, "h", {40, 10}},  // off the axis by 4: within 5
        {{42, 30}, "v", {40, 30}},  // off by 20: turns vertical, and 2 across stays so
        {{60, 31}, "h", {60, 30}},  // 20 across: turns back
        {{61, 36}, "v", {60, 36}},  // 6 off the axis: turns vertical
    };
    Bitmap b(100, 100);
    QString direction = QStringLiteral("none");
    Point previous{10, 10};
    b.canvas().moveTo(10, 10);
    for (const Move& m : moves) {
        slineStep(b.canvas(), direction, previous, {10, 10}, m.to, 5);
        EXPECT_EQ(direction, QString::fromLatin1(m.direction)) << m.to.x;
        EXPECT_EQ(previous, m.previous) << m.to.x;
    }
    EXPECT_EQ(b.pixel(35, 10), clBlack);
    EXPECT_EQ(b.pixel(40, 20), clBlack);
    EXPECT_EQ(b.pixel(50, 30), clBlack);
    // A steep start goes vertical.
    direction = QStringLiteral("none");
    previous = {10, 10};
    slineStep(b.canvas(), direction, previous, {10, 10}, {12, 40}, 5);
    EXPECT_EQ(direction, QStringLiteral("v"));
}

TEST(Blocks, CellsAlignToTheGrid) {
    struct Case {
        int w, h, blocks;
        Point p;
        std::optional<Rect> cell;
    };
    const Case cases[] = {
        {256, 256, 8, {0, 0}, Rect{0, 0, 32, 32}},
        {256, 256, 8, {33, 70}, Rect{32, 64, 64, 96}},
        {256, 256, 8, {255, 255}, Rect{224, 224, 256, 256}},
        {100, 60, 8, {25, 15}, Rect{24, 14, 36, 21}},
        {40, 40, 50, {5, 5}, std::nullopt},   // cell size 0
        {256, 10, 20, {5, 5}, std::nullopt},  // cell height 0
        {256, 256, 0, {5, 5}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(blockAt(c.w, c.h, c.blocks, c.p), c.cell) << c.w << " " << c.p.x;

    Bitmap b(256, 256);
    b.canvas().brush().setColor(clRed);
    b.canvas().pen().mode = PenMode::pmXor;  // FillRect ignores the pen mode
    pointtoblock(b.canvas(), {100, 200}, 8);
    EXPECT_EQ(countPixels(b, clRed), 32 * 32);
    EXPECT_EQ(b.pixel(96, 192), clRed);
    EXPECT_EQ(b.pixel(127, 223), clRed);
    EXPECT_EQ(b.pixel(128, 223), clWhite);
    Bitmap tiny(20, 20);
    tiny.canvas().brush().setColor(clRed);
    pointtoblock(tiny.canvas(), {3, 3}, 50);
    EXPECT_EQ(countPixels(tiny, clWhite), 400);
}

TEST(Figures, MazeGlobeAndConePixels) {
    {
        Bitmap b(101, 101);
        drawMaze(b.canvas(), {0, 0}, {100, 100});
        EXPECT_EQ(b.pixel(75, 75), clBlack);  // the fifth diamond, (50, 100) to (100, 50)
        EXPECT_EQ(b.pixel(25, 25), clBlack);
        EXPECT_EQ(b.pixel(50, 0), clBlack);
        EXPECT_EQ(b.pixel(50, 50), clWhite);
    }
    {
        Bitmap b(101, 101);
        b.canvas().brush().setStyle(BrushStyle::bsClear);
        drawGlobe(b.canvas(), {0, 0}, {100, 100});
        EXPECT_EQ(b.pixel(25, 50), clBlack);  // left of the meridian (25, 0)-(75, 100)
        EXPECT_EQ(b.pixel(50, 25), clBlack);  // top of the parallel (0, 25)-(100, 75)
        EXPECT_EQ(b.pixel(0, 50), clBlack);
    }
    {
        // cx 100, u (200 - 80) / 20 = 6, v (200 - 160) / 20 = 2.
        Bitmap b(200, 120);
        drawCone(b.canvas(), {40, 20}, {80, 100});
        EXPECT_EQ(b.pixel(100, 20), clBlack);
        EXPECT_EQ(b.pixel(159, 20), clBlack);
        EXPECT_EQ(b.pixel(161, 20), clWhite);
        EXPECT_EQ(b.pixel(100, 100), clBlack);
        EXPECT_EQ(b.pixel(81, 100), clBlack);
        EXPECT_EQ(b.pixel(60, 60), clBlack);  // the outermost side (40, 20)-(80, 100)
        EXPECT_EQ(b.pixel(130, 60), clWhite);
    }
}

TEST(Figures, CubeBackEdgesByDepth) {
    EXPECT_EQ(skewRectFourth({10, 10}, {50, 10}, {60, 40}), (Point{20, 40}));
    const FigurePoints front = cubeFromFrontFace({10, 10}, {30, 20});
    EXPECT_EQ(front.p2, (Point{30, 10}));
    EXPECT_EQ(front.p4, (Point{10, 20}));
    EXPECT_EQ(front.p5, front.p3);
    struct Case {
        Point depth;
        std::vector<std::vector<Point>> back;
    };
    const Case cases[] = {
        {{5, -5}, {{{10, 10}, {15, 5}, {35, 5}, {35, 15}, {30, 20}}, {{30, 10}, {35, 5}}}},
        {{0, 0}, {{{10, 10}, {10, 10}, {30, 10}, {30, 20}, {30, 20}}, {{30, 10}, {30, 10}}}},
        {{5, 5}, {{{30, 10}, {35, 15}, {35, 25}, {15, 25}, {10, 20}}, {{30, 20}, {35, 25}}}},
        {{-5, 5}, {{{10, 10}, {5, 15}, {5, 25}, {25, 25}, {30, 20}}, {{10, 20}, {5, 25}}}},
        {{-5, -5}, {{{30, 10}, {25, 5}, {5, 5}, {5, 15}, {10, 20}}, {{10, 10}, {5, 5}}}},
        {{-5, 0}, {}},
    };
    for (const Case& c : cases) {
        FigurePoints f = front;
        f.p5 = {f.p3.x + c.depth.x, f.p3.y + c.depth.y};
        auto paths = cubePaths(f);
        ASSERT_FALSE(paths.empty());
        EXPECT_EQ(paths[0], (std::vector<Point>{{10, 10}, {30, 10}, {30, 20}, {10, 20}, {10, 10}}));
        paths.erase(paths.begin());
        EXPECT_EQ(paths, c.back) << c.depth.x << "," << c.depth.y;
    }
    // Dragged straight left: only the front face shows.
    Bitmap cube(50, 50), face(50, 50);
    FigurePoints f = front;
    f.p5 = {15, 20};
    drawCube(cube.canvas(), f);
    face.canvas().brush().setStyle(BrushStyle::bsClear);
    face.canvas().rectangle(10, 10, 31, 21);
    EXPECT_TRUE(sameImage(cube, face));
}

// A rubber band drawn twice with pmNotXor must leave the image exactly as it was.
TEST(Figures, RubberBandsUndoThemselvesWithNotXor) {
    FigureParams params;
    params.shapesCount = 3;
    const std::pair<const char*, std::function<void(Canvas&)>> figures[] = {
        {"rectangle", [](Canvas& c) { drawBox(c, BoxFigure::Rectangle, {5, 5}, {60, 40}, 10); }},
        {"roundrect", [](Canvas& c) { drawBox(c, BoxFigure::RoundRect, {60, 40}, {5, 5}, 10); }},
        {"ellipse", [](Canvas& c) { drawBox(c, BoxFigure::Ellipse, {5, 5}, {60, 40}, 10); }},
        {"star", [&](Canvas& c) { drawStars(c, {40, 30}, {40, 5}, params); }},
        {"skewrect", [](Canvas& c) { drawSkewRect(c, {{10, 10}, {50, 12}, {60, 40}, {20, 38}, {}}); }},
        {"skewrect degenerate", [](Canvas& c) { drawSkewRect(c, {{10, 10}, {50, 12}, {50, 12}, {10, 10}, {}}); }},
        {"triangle", [](Canvas& c) { drawTriangle(c, {{10, 10}, {50, 12}, {30, 50}, {}, {}}); }},
        {"cube", [](Canvas& c) { drawCube(c, {{10, 10}, {40, 10}, {40, 30}, {10, 30}, {55, 20}}); }},
    };
    for (const auto& [name, draw] : figures) {
        Bitmap b(80, 60), before(80, 60);
        b.canvas().fillRect({0, 0, 80, 60});
        b.canvas().brush().setColor(clYellow);
        b.canvas().fillRect({20, 20, 70, 50});
        before = b;
        b.canvas().pen().mode = PenMode::pmNotXor;
        b.canvas().pen().width = 3;
        draw(b.canvas());
        EXPECT_FALSE(sameImage(b, before)) << name;
        draw(b.canvas());
        EXPECT_TRUE(sameImage(b, before)) << name;
    }
}

TEST(Recorder, TextsOfFinishedStrokes) {
    const std::pair<QString, const char*> cases[] = {
        {recordRectangle({10, 20}, {5, 60}), "pos 10 20 rectangle -5 40 "},
        {recordRoundRect({1, 2}, {31, 42}, 10), "pos 1 2 roundrect 30 40 10 10 "},
        {recordRoundRect({1, 2}, {0, 0}, -3), "pos 1 2 roundrect -1 -2 -3 -3 "},
        {recordEllipse({0, 0}, {100, 50}), "pos 0 0 ellipse 100 50 "},
        {recordLine({50, 50}, {20, 80}), "pos 50 50 lineto -30 30 "},
        {recordCurve({Point{10, 10}, Point{20, 5}, Point{40, 30}, Point{50, 10}}), "pos 10 10 curve 10 -5 30 20 40 0 "},
        {recordCoords({12, 34}), "12 34 "},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(text, QString::fromLatin1(expected));
}

TEST(Options, AnswersAndFallbacks) {
    struct IntCase {
        const char* what;
        const NumberPrompt& prompt;
        const char* answer;
        int expected;
    };
    const IntCase cases[] = {
        {"spirals", kSpiralsPrompt, "7", 7},
        {"spirals", kSpiralsPrompt, "1", 1},
        {"spirals", kSpiralsPrompt, "50", 50},
        {"spirals", kSpiralsPrompt, "51", 3},
        {"spirals", kSpiralsPrompt, "0", 3},
        {"spirals", kSpiralsPrompt, "many", 3},
        {"shapes", kShapesPrompt, "0", 0},
        {"shapes", kShapesPrompt, " 25 ", 25},
        {"shapes", kShapesPrompt, "26", 1},
        {"shapes", kShapesPrompt, "-1", 1},
        {"shapes", kShapesPrompt, "2.5", 1},
        {"tolerance", kLineTolerancePrompt, "4", 5},
        {"tolerance", kLineTolerancePrompt, "12", 12},
        {"tolerance", kLineTolerancePrompt, "51", 5},
        {"blocks", kBlocksPrompt, "1", 2},
        {"blocks", kBlocksPrompt, "-9", 2},
        {"blocks", kBlocksPrompt, "16", 16},
        {"blocks", kBlocksPrompt, "99999", 50},
        {"blocks", kBlocksPrompt, "", 8},
        {"blocks", kBlocksPrompt, "99999999999", 8},  // no int
        {"rounding", kRoundingPrompt, "-40", -40},
        {"rounding", kRoundingPrompt, "100000", 100000},
        {"rounding", kRoundingPrompt, "x", 10},
        {"spiro", kSpiroTurnsPrompt, "1", 1},
        {"spiro", kSpiroTurnsPrompt, "100", 100},
        {"spiro", kSpiroTurnsPrompt, "101", 20},
        {"spiro", kSpiroTurnsPrompt, "0", 20},
        {"spiro", kSpiroTurnsPrompt, "ten", 33},
        {"width", kLineWidthPrompt, "7", 7},
        {"width", kLineWidthPrompt, "256", 256},
        {"width", kLineWidthPrompt, "257", 1},
        {"width", kLineWidthPrompt, "0", 1},
        {"width", kLineWidthPrompt, "wide", 1},
    };
    // The current value is 33 (only the spirograph's turns keep it); the line width's upper
    // bound is the workspace height, 256 here.
    for (const IntCase& c : cases)
        EXPECT_EQ(acceptAnswer(c.prompt, QString::fromLatin1(c.answer), 33, &c.prompt == &kLineWidthPrompt ? 256 : c.prompt.hi).value,
                  c.expected)
            << c.what << " '" << c.answer << "'";

    const std::pair<const char*, double> factors[] = {{"0.5", 0.5},  {"0.1", 0.1},   {"0.999", 0.999}, {"1", 0.99},
                                                      {"0.09", 0.99}, {"nan", 0.99}, {"inf", 0.99},    {"half", 0.99}};
    for (const auto& [answer, expected] : factors)
        EXPECT_DOUBLE_EQ(acceptAnswer(kSpiralFactorPrompt, QString::fromLatin1(answer), 0.97).value, expected) << answer;

    // The spirograph's box opens with the current turns.
    EXPECT_EQ(kSpiroTurnsPrompt.caption, QStringLiteral("Pixoral SpiroGraph"));
    EXPECT_TRUE(kSpiroTurnsPrompt.defaultText.isEmpty());
}

TEST(Options, ExtremeRoundingStillDraws) {
    // Rounding takes any integer; the round rectangle must cope with all of them.
    for (int r : {INT_MIN, -40, 0, 1000000, INT_MAX}) {
        Bitmap b(40, 40);
        drawBox(b.canvas(), BoxFigure::RoundRect, {5, 5}, {35, 35}, r);
        EXPECT_EQ(b.pixel(20, 5), clBlack) << r;
    }
}

TEST(RotatedText, AngleOfTheDragAndTheCopiesTurnedFromIt) {
    struct Case {
        Point s, e;
        int angle;
    };
    const Case cases[] = {
        {{10, 100}, {110, 0}, 45},  {{0, 0}, {10, 0}, 0},     {{0, 0}, {0, -10}, 90}, {{0, 0}, {0, 10}, -90},
        {{0, 0}, {-10, 0}, -180},   {{5, 5}, {5, 5}, 0},       // no drag: dx counts as 0.001
        {{0, 0}, {2, -5}, 68},                                 // 68.198...
    };
    for (const Case& c : cases) EXPECT_EQ(GetAngle(c.s, c.e), c.angle) << c.e.x << "," << c.e.y;
    EXPECT_EQ(rotatedTextAngles(45, 4), (std::vector<int>{45, 135, 225, 315}));
    EXPECT_EQ(rotatedTextAngles(0, 7), (std::vector<int>{0, 51, 102, 153, 204, 255, 306}));
    EXPECT_TRUE(rotatedTextAngles(30, 0).empty());
}
