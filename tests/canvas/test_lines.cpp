// Lines, polylines and Beziers at pixel level.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "../common/TestSupport.h"

using namespace pixoral;

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet pixelsNot(const Bitmap& b, TColor background) {
    PixelSet s;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != background) s.insert({x, y});
    return s;
}

PixelSet drawLine(Point a, Point b, int width = 1, int size = 40) {
    Bitmap bmp(size, size);
    Canvas& c = bmp.canvas();
    c.pen().width = width;
    c.moveTo(a.x, a.y);
    c.lineTo(b.x, b.y);
    EXPECT_EQ(c.penPos(), b);
    return pixelsNot(bmp, clWhite);
}

// A row of pixels as text: '#' pen colour, '-' brush colour, '.' untouched (white).
std::string rowText(const Bitmap& b, int y, int x0, int x1, TColor penC, TColor gapC) {
    std::string s;
    for (int x = x0; x < x1; ++x) {
        const TColor c = b.pixel(x, y);
        s += c == penC ? '#' : c == gapC ? '-' : c == clWhite ? '.' : '?';
    }
    return s;
}

void fillNoise(Bitmap& b) {
    unsigned v = 12345;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            v = v * 1103515245u + 12345u;
            b.setPixel(x, y, TColor((v >> 8) & 0xFFFFFF));
        }
}

}  // namespace

TEST(Lines, LengthsAndEndPixelInEveryDirection) {
    // Every direction of lengths 0..3 and the eight octants: the line has one pixel per step,
    // starts at its first point, leaves out its last, and moves at most one pixel per step.
    std::vector<Point> deltas;
    for (int len = 0; len <= 3; ++len)
        for (int dx = -len; dx <= len; ++dx)
            for (int dy = -len; dy <= len; ++dy)
                if (std::max(std::abs(dx), std::abs(dy)) == len) deltas.push_back({dx, dy});
    for (Point d : std::vector<Point>{{7, 3}, {3, 7}, {-3, 7}, {-7, 3}, {-7, -3}, {-3, -7}, {3, -7}, {7, -3}})
        deltas.push_back(d);
    const Point a{20, 20};
    for (Point d : deltas) {
        SCOPED_TRACE(testing::Message() << "delta " << d.x << "," << d.y);
        const Point b{a.x + d.x, a.y + d.y};
        const PixelSet fwd = drawLine(a, b);
        const int len = std::max(std::abs(d.x), std::abs(d.y));
        EXPECT_EQ(int(fwd.size()), len);
        if (len == 0) continue;
        EXPECT_TRUE(fwd.count({a.x, a.y}));
        EXPECT_FALSE(fwd.count({b.x, b.y}));
        // One pixel per column (x-major) or per row (y-major).
        std::set<int> majors;
        for (auto [x, y] : fwd) majors.insert(std::abs(d.x) >= std::abs(d.y) ? x : y);
        EXPECT_EQ(int(majors.size()), len);
        // Drawn backwards it covers the same pixels apart from the end pixel.
        PixelSet back = drawLine(b, a);
        EXPECT_TRUE(back.count({b.x, b.y}));
        EXPECT_FALSE(back.count({a.x, a.y}));
        back.erase({b.x, b.y});
        back.insert({a.x, a.y});
        EXPECT_EQ(back, fwd);
    }
}

TEST(Lines, ExactPixelsAndTies) {
    // Ties between two pixels go to the upper one (x-major) or the left one (y-major).
    struct Case {
        Point a, b;
        PixelSet expected;
    };
    const Case cases[] = {
        {{0, 0}, {3, 1}, {{0, 0}, {1, 0}, {2, 1}}},
        {{3, 1}, {0, 0}, {{3, 1}, {2, 1}, {1, 0}}},
        {{0, 0}, {2, 1}, {{0, 0}, {1, 0}}},
        {{2, 1}, {0, 0}, {{2, 1}, {1, 0}}},
        {{0, 0}, {1, 2}, {{0, 0}, {0, 1}}},
        {{0, 2}, {2, 1}, {{0, 2}, {1, 1}}},  // tie at x = 1: y 1.5 goes up
        {{0, 0}, {4, 4}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {{5, 0}, {5, 3}, {{5, 0}, {5, 1}, {5, 2}}},
        {{4, 0}, {0, 0}, {{4, 0}, {3, 0}, {2, 0}, {1, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a.x << "," << c.a.y << " -> " << c.b.x << "," << c.b.y);
        EXPECT_EQ(drawLine(c.a, c.b), c.expected);
    }
}

TEST(Lines, PenStylesOnWidthOne) {
    struct Case {
        PenStyle style;
        std::string pattern;  // the first 48 pixels of a horizontal line
    };
    const std::string dash = std::string(18, '#') + std::string(6, '-');
    const std::string dot = "###---";
    const std::string dashDot = std::string(9, '#') + "------###------";
    const std::string dashDotDot = std::string(9, '#') + "---###---###---";
    const Case cases[] = {
        {PenStyle::psSolid, std::string(48, '#')},
        {PenStyle::psInsideFrame, std::string(48, '#')},
        {PenStyle::psDash, dash + dash},
        {PenStyle::psDot, dot + dot + dot + dot + dot + dot + dot + dot},
        {PenStyle::psDashDot, dashDot + dashDot},
        {PenStyle::psDashDotDot, dashDotDot + dashDotDot},
        {PenStyle::psClear, std::string(48, '.')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(penStyleName(c.style));
        for (bool solidBrush : {true, false}) {
            Bitmap bmp(60, 3);
            Canvas& cv = bmp.canvas();
            cv.pen().style = c.style;
            cv.pen().color = clBlue;
            cv.brush().setColor(clYellow);
            if (!solidBrush) cv.brush().setStyle(BrushStyle::bsClear);
            cv.moveTo(0, 1);
            cv.lineTo(50, 1);
            std::string expected = c.pattern;
            if (!solidBrush)
                for (char& ch : expected)
                    if (ch == '-') ch = '.';
            EXPECT_EQ(rowText(bmp, 1, 0, 48, clBlue, clYellow), expected) << (solidBrush ? "solid" : "clear");
        }
    }
}

TEST(Lines, PatternRestartsPerLineToAndRunsOnInPolyline) {
    auto setup = [](Bitmap& bmp) {
        Canvas& c = bmp.canvas();
        c.pen().style = PenStyle::psDot;
        c.brush().setStyle(BrushStyle::bsClear);
    };
    Bitmap a(40, 1), b(40, 1), p(40, 1);
    setup(a);
    setup(b);
    setup(p);
    a.canvas().moveTo(0, 0);
    a.canvas().lineTo(4, 0);
    a.canvas().lineTo(20, 0);
    EXPECT_EQ(rowText(a, 0, 0, 20, clBlack, -2), "###.###...###...###.");
    p.canvas().polyline({{0, 0}, {4, 0}, {20, 0}});
    b.canvas().moveTo(0, 0);
    b.canvas().lineTo(20, 0);
    EXPECT_EQ(rowText(p, 0, 0, 20, clBlack, -2), rowText(b, 0, 0, 20, clBlack, -2));
    // A dashed pen wider than one pixel draws solid.
    Bitmap wide(40, 5);
    wide.canvas().pen().style = PenStyle::psDash;
    wide.canvas().pen().width = 3;
    wide.canvas().moveTo(2, 2);
    wide.canvas().lineTo(36, 2);
    EXPECT_EQ(rowText(wide, 2, 2, 37, clBlack, -2), std::string(35, '#'));
}

TEST(Lines, WidePensIncludeBothEndsAndFavourLeftAndUp) {
    struct Case {
        Point a, b;
        int width;
        int left, top, right, bottom;  // bounds of the drawn pixels, inclusive
    };
    const Case cases[] = {
        {{10, 10}, {20, 10}, 3, 9, 9, 21, 11},
        {{20, 10}, {10, 10}, 3, 9, 9, 21, 11},
        {{10, 10}, {20, 10}, 2, 9, 9, 20, 10},
        {{10, 10}, {10, 20}, 2, 9, 9, 10, 20},
        {{10, 10}, {20, 10}, 4, 8, 8, 21, 11},
        {{10, 10}, {20, 10}, 5, 8, 8, 22, 12},
        {{15, 15}, {15, 15}, 3, 14, 14, 16, 16},  // a dot
        {{15, 15}, {15, 15}, 2, 14, 14, 15, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width << " from " << c.a.x << "," << c.a.y);
        const PixelSet s = drawLine(c.a, c.b, c.width);
        ASSERT_FALSE(s.empty());
        int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
        for (auto [x, y] : s) {
            l = std::min(l, x);
            t = std::min(t, y);
            r = std::max(r, x);
            b = std::max(b, y);
        }
        EXPECT_EQ((std::vector<int>{l, t, r, b}), (std::vector<int>{c.left, c.top, c.right, c.bottom}));
        // Straight strokes are full bands between their round ends.
        if (c.a.y == c.b.y && c.a.x != c.b.x) {
            for (int y = t; y <= b; ++y)
                for (int x = std::min(c.a.x, c.b.x); x <= std::max(c.a.x, c.b.x); ++x)
                    EXPECT_TRUE(s.count({x, y})) << x << "," << y;
        }
    }
    // Round ends: a width-7 dot leaves its bounding square's corners out.
    const PixelSet dot = drawLine({20, 20}, {20, 20}, 7);
    EXPECT_TRUE(dot.count({20, 17}));
    EXPECT_FALSE(dot.count({17, 17}));
}

TEST(Lines, WideStaircasesPaintWhatTheirStepsPaintOneByOne) {
    // Paths of one-pixel steps (stepped outlines, freehand strokes) are painted a row at a
    // time; that must be the union of the single steps, also where a path turns back.
    unsigned v = 7;
    const auto next = [&v] { return (v = v * 1103515245u + 12345u) >> 16; };
    for (int trial = 0; trial < 300; ++trial) {
        const int width = 2 + trial % 14;
        int sx = next() % 2 ? 1 : -1, sy = next() % 2 ? 1 : -1;
        std::vector<Point> path{{60, 60}};
        for (int k = 0, n = 2 + int(next() % 30); k < n; ++k) {
            int dx = int(next() % 2) * sx, dy = int(next() % 2) * sy;
            if (dx == 0 && dy == 0) dx = sx;
            if (next() % 9 == 0) (next() % 2 ? sx : sy) *= -1;
            path.push_back({path.back().x + dx, path.back().y + dy});
        }
        Bitmap whole(120, 120), steps(120, 120);
        whole.canvas().pen().width = steps.canvas().pen().width = width;
        whole.canvas().polyline(path);
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            steps.canvas().moveTo(path[i].x, path[i].y);
            steps.canvas().lineTo(path[i + 1].x, path[i + 1].y);
        }
        ASSERT_TRUE(samePixels(whole, steps)) << "trial " << trial << ", width " << width;
    }
}

TEST(Lines, PenModeMixesEachStrokeOnce) {
    // A wide pen's pixels are one region: pmNot over white turns every covered pixel black
    // exactly once, also where the polyline crosses itself or overlaps at its joins. A thin
    // pen mixes stroke by stroke: a pixel on n strokes is inverted n times, and the joins
    // belong to one stroke only.
    const std::vector<Point> path{{5, 5}, {50, 40}, {50, 5}, {5, 40}, {30, 2}, {30, 45}};
    std::vector<int> strokes(60 * 50, 0);
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        Bitmap one(60, 50);
        one.canvas().moveTo(path[i].x, path[i].y);
        one.canvas().lineTo(path[i + 1].x, path[i + 1].y);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 60; ++x) strokes[std::size_t(y * 60 + x)] += one.pixel(x, y) == clBlack;
    }
    for (PenStyle style : {PenStyle::psSolid, PenStyle::psDot}) {
        Bitmap inv(60, 50);
        inv.canvas().pen().style = style;
        inv.canvas().pen().mode = PenMode::pmNot;
        inv.canvas().brush().setColor(clBlack);
        inv.canvas().polyline(path);
        int twice = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 60; ++x) {
                const int n = strokes[std::size_t(y * 60 + x)];
                twice += n == 2;
                EXPECT_EQ(inv.pixel(x, y), n % 2 ? clBlack : clWhite) << penStyleName(style) << " " << x << "," << y;
            }
        EXPECT_GT(twice, 0);
    }
    for (int width : {2, 5}) {
        for (PenStyle style : {PenStyle::psSolid, PenStyle::psDot}) {
            SCOPED_TRACE(testing::Message() << "width " << width << " style " << penStyleName(style));
            Bitmap copy(60, 50), inv(60, 50);
            copy.canvas().pen().width = width;
            copy.canvas().pen().style = style;
            copy.canvas().brush().setColor(clBlack);
            copy.canvas().polyline(path);
            inv.canvas().pen().width = width;
            inv.canvas().pen().style = style;
            inv.canvas().pen().mode = PenMode::pmNot;
            inv.canvas().brush().setColor(clBlack);
            inv.canvas().polyline(path);
            EXPECT_TRUE(samePixels(copy, inv));
        }
    }
    // pmXor twice restores any background: the rubber band relies on it.
    Bitmap noisy(60, 50);
    fillNoise(noisy);
    const Bitmap original = noisy;
    Canvas& c = noisy.canvas();
    c.pen().mode = PenMode::pmXor;
    c.pen().color = rgb(0x5A, 0xC3, 0x99);
    for (int pass = 0; pass < 2; ++pass) {
        for (int width : {1, 4}) {
            c.pen().width = width;
            c.polyline(path);
            c.moveTo(0, 0);
            c.lineTo(59, 33);
            c.polyBezier({{2, 40}, {20, -10}, {40, 80}, {58, 10}});
        }
    }
    EXPECT_TRUE(samePixels(noisy, original));
}

TEST(Lines, FarCoordinatesAreClippedNotWalked) {
    // A diagonal from far outside crosses the bitmap on x == y.
    Bitmap bmp(64, 64);
    Canvas& c = bmp.canvas();
    c.moveTo(-100000, -100000);
    c.lineTo(100000, 100000);
    const PixelSet s = pixelsNot(bmp, clWhite);
    EXPECT_EQ(s.size(), 64u);
    for (auto [x, y] : s) EXPECT_EQ(x, y);
    // Extreme end points: no overflow, no endless loop, and nothing drawn off the line.
    Bitmap far(32, 32);
    Canvas& f = far.canvas();
    f.moveTo(INT_MIN, INT_MIN);
    f.lineTo(INT_MAX, INT_MAX);
    f.moveTo(INT_MIN, 16);
    f.lineTo(INT_MAX, 16);
    const PixelSet fs = pixelsNot(far, clWhite);
    for (auto [x, y] : fs) EXPECT_TRUE(x == y || y == 16 || std::abs(x - y) <= 1) << x << "," << y;
    EXPECT_TRUE(fs.count({0, 16}) && fs.count({31, 16}));
    f.pen().width = 9;
    f.moveTo(INT_MIN, INT_MAX);
    f.lineTo(INT_MAX, INT_MIN);
    f.polyline({{INT_MIN, 0}, {INT_MAX, 5}, {0, INT_MIN}});
    f.polyBezier({{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {INT_MAX, INT_MAX}});
    // Wide strokes along the axes and wide rectangles visit only the visible rows.
    f.moveTo(8, INT_MIN);
    f.lineTo(8, INT_MAX);
    f.moveTo(INT_MIN, 4);
    f.lineTo(INT_MAX, 4);
    f.brush().setColor(clRed);
    f.rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(far.pixel(20, 20), clRed);
}

TEST(Lines, BeziersFollowTheirControlPolygon) {
    // A straight curve is the line through its points, end pixel left out like a polyline.
    Bitmap bmp(20, 10);
    bmp.canvas().polyBezier({{0, 5}, {3, 5}, {6, 5}, {9, 5}});
    PixelSet expected;
    for (int x = 0; x < 9; ++x) expected.insert({x, 5});
    EXPECT_EQ(pixelsNot(bmp, clWhite), expected);

    // A curved one stays in the hull of its control points, touches its start and passes
    // through the curve's midpoint.
    Bitmap curve(100, 100);
    curve.canvas().polyBezier({{10, 90}, {10, 10}, {90, 10}, {90, 90}});
    const PixelSet cs = pixelsNot(curve, clWhite);
    EXPECT_TRUE(cs.count({10, 90}));
    for (auto [x, y] : cs) EXPECT_TRUE(x >= 10 && x <= 90 && y >= 10 && y <= 90);
    EXPECT_TRUE(cs.count({50, 30}) || cs.count({49, 30}) || cs.count({50, 29}));

    // polyBezierTo starts at the pen position and leaves the pen at the last point.
    Bitmap to(100, 100);
    to.canvas().moveTo(10, 90);
    to.canvas().polyBezierTo({{10, 10}, {90, 10}, {90, 90}});
    EXPECT_EQ(to.canvas().penPos(), (Point{90, 90}));
    EXPECT_TRUE(samePixels(to, curve));
}
