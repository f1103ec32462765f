// Rectangles, ellipses, round rectangles, arcs, chords, pies and polygons at pixel level.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "core/Parallel.h"
#include "../common/TestImages.h"
#include "../common/TestSupport.h"

using namespace pixoral;

namespace {

using Bounds = PixelBox;

void fillNoise(Bitmap& b) {
    unsigned v = 987654321u;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            v = v * 1664525u + 1013904223u;
            b.setPixel(x, y, TColor((v >> 8) & 0xFFFFFF));
        }
}

enum class Fig { Rect, Ellipse, RoundRect };

void drawFig(Canvas& c, Fig f, int x1, int y1, int x2, int y2) {
    switch (f) {
    case Fig::Rect: c.rectangle(x1, y1, x2, y2); break;
    case Fig::Ellipse: c.ellipse(x1, y1, x2, y2); break;
    case Fig::RoundRect: c.roundRect(x1, y1, x2, y2, 6, 4); break;
    }
}

void setPenBrush(Canvas& c, TColor pen, TColor brush) {
    c.pen().color = pen;
    c.brush().setColor(brush);
}

}  // namespace

TEST(Shapes, RectangleZeroToTenCoversZeroToNine) {
    Bitmap bmp(14, 14);
    Canvas& c = bmp.canvas();
    setPenBrush(c, clBlue, clRed);
    c.rectangle(0, 0, 10, 10);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 14; ++x) {
            const TColor want = (x > 9 || y > 9) ? clWhite : (x == 0 || y == 0 || x == 9 || y == 9) ? clBlue : clRed;
            EXPECT_EQ(bmp.pixel(x, y), want) << x << "," << y;
        }
}

TEST(Shapes, FiguresStayInTheirBoxWhateverTheCorners) {
    struct Case {
        int x1, y1, x2, y2;
    };
    // Odd and even sizes, thin boxes, and all four corner orders.
    const Case boxes[] = {{2, 3, 12, 13}, {2, 3, 13, 14}, {2, 3, 9, 20}, {5, 5, 6, 6},  {5, 5, 7, 7},
                          {12, 13, 2, 3}, {12, 3, 2, 13}, {2, 13, 12, 3}, {4, 2, 25, 5}, {3, 3, 8, 4}};
    for (Fig f : {Fig::Rect, Fig::Ellipse, Fig::RoundRect}) {
        for (const Case& b : boxes) {
            SCOPED_TRACE(testing::Message() << "figure " << int(f) << " box " << b.x1 << "," << b.y1 << "," << b.x2 << "," << b.y2);
            const Bounds box{std::min(b.x1, b.x2), std::min(b.y1, b.y2), std::max(b.x1, b.x2) - 1, std::max(b.y1, b.y2) - 1};
            // A one-pixel box draws nothing with a thin pen.
            const bool single = box.left == box.right && box.top == box.bottom;
            const Bounds want = single ? Bounds{} : box;
            Bitmap bmp(30, 30);
            setPenBrush(bmp.canvas(), clBlue, clRed);
            drawFig(bmp.canvas(), f, b.x1, b.y1, b.x2, b.y2);
            // The figure touches all four sides of its box and no pixel lies outside it.
            EXPECT_EQ(boundsOf(bmp, [](TColor c) { return c != clWhite; }), want);
            // The same figure whatever the order of the corners.
            Bitmap canon(30, 30);
            setPenBrush(canon.canvas(), clBlue, clRed);
            drawFig(canon.canvas(), f, box.left, box.top, box.right + 1, box.bottom + 1);
            EXPECT_TRUE(samePixels(bmp, canon));
            // A clear pen fills one pixel less on the right and bottom, except for ellipses
            // and round rectangles more than two pixels across, which keep their size.
            Bitmap clear(30, 30);
            setPenBrush(clear.canvas(), clBlue, clRed);
            clear.canvas().pen().style = PenStyle::psClear;
            drawFig(clear.canvas(), f, b.x1, b.y1, b.x2, b.y2);
            Bounds less = box;
            const bool keeps = f != Fig::Rect && box.right - box.left >= 2 && box.bottom - box.top >= 2;
            less.right -= keeps ? 0 : 1;
            less.bottom -= keeps ? 0 : 1;
            if (less.right < less.left || less.bottom < less.top) less = Bounds{};
            EXPECT_EQ(boundsOf(clear, [](TColor c) { return c != clWhite; }), less);
            EXPECT_EQ(countPixels(clear, clBlue), 0);
        }
    }
    // An empty box draws nothing.
    Bitmap empty(10, 10);
    empty.canvas().rectangle(3, 3, 3, 8);
    empty.canvas().ellipse(3, 3, 8, 3);
    EXPECT_EQ(countPixels(empty, clWhite), 100);
}

TEST(Shapes, EllipseIsSymmetricAndThin) {
    for (int size : {7, 8, 15, 16, 31}) {
        SCOPED_TRACE(size);
        Bitmap bmp(40, 40);
        setPenBrush(bmp.canvas(), clBlue, clRed);
        bmp.canvas().ellipse(1, 1, 1 + size, 1 + size);
        EXPECT_EQ(boundsOf(bmp, [](TColor c) { return c != clWhite; }), (Bounds{1, 1, size, size}));
        for (int y = 1; y <= size; ++y)
            for (int x = 1; x <= size; ++x) {
                const TColor c = bmp.pixel(x, y);
                // Mirror images across both axes and the diagonal of the box.
                EXPECT_EQ(c, bmp.pixel(size + 1 - x, y));
                EXPECT_EQ(c, bmp.pixel(x, size + 1 - y));
                EXPECT_EQ(c, bmp.pixel(y, x));
                // Every interior pixel's four neighbours are inside the figure.
                if (c == clRed) {
                    EXPECT_NE(bmp.pixel(x - 1, y), clWhite);
                    EXPECT_NE(bmp.pixel(x + 1, y), clWhite);
                    EXPECT_NE(bmp.pixel(x, y - 1), clWhite);
                    EXPECT_NE(bmp.pixel(x, y + 1), clWhite);
                }
            }
        // The box corners lie outside a circle.
        EXPECT_EQ(bmp.pixel(1, 1), clWhite);
        EXPECT_EQ(bmp.pixel(size, size), clWhite);
    }
}

TEST(Shapes, WideOutlines) {
    struct Case {
        Fig fig;
        int width;
        PenStyle style;
        Bounds want;
        int thick;  // across the middle of the left side
    };
    // Box 10..29: a centred pen reaches width/2 outside (the extra pixel of an even width
    // left and up); psInsideFrame keeps it in the box. The band is the pen's width thick
    // across the middle of a side, except where the stepped outline of an ellipse crosses the
    // middle row on two columns (the even inside-frame ellipse: one pixel more).
    const Case cases[] = {
        {Fig::Rect, 5, PenStyle::psSolid, {8, 8, 31, 31}, 5},
        {Fig::Rect, 4, PenStyle::psSolid, {8, 8, 30, 30}, 4},
        {Fig::Rect, 5, PenStyle::psInsideFrame, {10, 10, 29, 29}, 5},
        {Fig::Rect, 4, PenStyle::psInsideFrame, {10, 10, 29, 29}, 4},
        {Fig::Ellipse, 5, PenStyle::psSolid, {8, 8, 31, 31}, 5},
        {Fig::Ellipse, 6, PenStyle::psInsideFrame, {10, 10, 29, 29}, 7},
        {Fig::RoundRect, 3, PenStyle::psSolid, {9, 9, 30, 30}, 3},
        {Fig::RoundRect, 7, PenStyle::psInsideFrame, {10, 10, 29, 29}, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "figure " << int(c.fig) << " width " << c.width << " " << penStyleName(c.style));
        Bitmap bmp(40, 40);
        Canvas& cv = bmp.canvas();
        setPenBrush(cv, clBlue, clRed);
        cv.pen().width = c.width;
        cv.pen().style = c.style;
        drawFig(cv, c.fig, 10, 10, 30, 30);
        EXPECT_EQ(boundsOf(bmp, [](TColor x) { return x != clWhite; }), c.want);
        int thick = 0;
        for (int x = 0; x < 20; ++x) thick += bmp.pixel(x, 20) == clBlue;
        EXPECT_EQ(thick, c.thick);
        EXPECT_EQ(bmp.pixel(20, 20), clRed);
    }
    // A box narrower than an inside-frame pen turns inside out (9..5 after shrinking) and
    // the pen is still stroked round it, spilling out of the box as the reference does.
    Bitmap small(20, 20);
    small.canvas().pen().width = 9;
    small.canvas().pen().style = PenStyle::psInsideFrame;
    small.canvas().rectangle(5, 5, 10, 10);
    EXPECT_EQ(boundsOf(small, [](TColor x) { return x == clBlack; }), (Bounds{1, 1, 13, 13}));
    EXPECT_EQ(small.pixel(7, 7), clBlack);
}

TEST(Shapes, DashedOutlinesKeepGapsByBrush) {
    // Dashes run round the outline; with a solid brush the gaps are the brush colour, with
    // a hatched one they show the hatch or the background.
    Bitmap solid(60, 60), hatched(60, 60);
    for (Bitmap* b : {&solid, &hatched}) {
        Canvas& c = b->canvas();
        c.pen().style = PenStyle::psDash;
        c.pen().color = clBlue;
        c.brush().setColor(clRed);
        if (b == &hatched) c.brush().setStyle(BrushStyle::bsCross);
        c.ellipse(5, 5, 55, 55);
    }
    const int dashes = countPixels(solid, clBlue);
    EXPECT_GT(dashes, 80);
    EXPECT_LT(dashes, 140);  // three quarters of the ~160 outline pixels
    EXPECT_EQ(countPixels(hatched, clBlue), dashes);
    EXPECT_EQ(countPixels(solid, clWhite) + countPixels(solid, clBlue) + countPixels(solid, clRed), 3600);
    EXPECT_EQ(boundsOf(solid, [](TColor x) { return x != clWhite; }), (Bounds{5, 5, 54, 54}));
}

TEST(Shapes, ArcsRunCounterClockwiseFromTheFirstPoint) {
    // Box 0..100, centre 50,50: right (100,50), top (50,0), left (0,50), bottom (50,100).
    struct Quadrants {
        bool topRight, topLeft, bottomLeft, bottomRight;
    };
    struct Case {
        const char* name;
        int x3, y3, x4, y4;
        Quadrants q;
    };
    const Case cases[] = {
        {"right to top", 100, 50, 50, 0, {true, false, false, false}},
        {"top to right", 50, 0, 100, 50, {false, true, true, true}},
        {"left to right", 0, 50, 100, 50, {false, false, true, true}},
        {"right to left", 100, 50, 0, 50, {true, true, false, false}},
        {"full", 100, 50, 100, 50, {true, true, true, true}},
    };
    // A pixel well inside each quadrant, near the outline (for arcs) and in the fill.
    const int outline[4][2] = {{85, 14}, {14, 14}, {14, 85}, {85, 85}};
    const int inside[4][2] = {{70, 30}, {30, 30}, {30, 70}, {70, 70}};
    auto onOutlineNear = [](const Bitmap& b, int x, int y) {
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx)
                if (b.pixel(x + dx, y + dy) == clBlue) return true;
        return false;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool want[4] = {c.q.topRight, c.q.topLeft, c.q.bottomLeft, c.q.bottomRight};
        Bitmap a(101, 101), p(101, 101);
        setPenBrush(a.canvas(), clBlue, clRed);
        setPenBrush(p.canvas(), clBlue, clRed);
        a.canvas().arc(0, 0, 100, 100, c.x3, c.y3, c.x4, c.y4);
        p.canvas().pie(0, 0, 100, 100, c.x3, c.y3, c.x4, c.y4);
        EXPECT_EQ(countPixels(a, clRed), 0);  // an arc has no interior
        for (int q = 0; q < 4; ++q) {
            EXPECT_EQ(onOutlineNear(a, outline[q][0], outline[q][1]), want[q]) << "arc quadrant " << q;
            EXPECT_EQ(p.pixel(inside[q][0], inside[q][1]) == clRed, want[q]) << "pie quadrant " << q;
        }
        // Everything stays inside the box.
        EXPECT_LE(boundsOf(p, [](TColor x) { return x != clWhite; }).right, 99);
    }
    // A chord from right to top fills only the segment beyond the line between them.
    Bitmap ch(101, 101);
    setPenBrush(ch.canvas(), clBlue, clRed);
    ch.canvas().chord(0, 0, 100, 100, 100, 50, 50, 0);
    EXPECT_EQ(ch.pixel(85, 20), clRed);
    EXPECT_EQ(ch.pixel(60, 30), clWhite);
    EXPECT_EQ(ch.pixel(70, 70), clWhite);
    // The chord line joins the arc's end pixels, (99, 49) and (51, 0): the row through the
    // centre lies just clockwise of the start direction, and the path stops one outline step
    // short of the end direction.
    EXPECT_TRUE(ch.pixel(75, 25) == clBlue || ch.pixel(75, 26) == clBlue);
    EXPECT_EQ(ch.pixel(51, 0), clBlue);
    EXPECT_EQ(ch.pixel(50, 0), clWhite);
    EXPECT_EQ(ch.pixel(99, 49), clBlue);
    EXPECT_EQ(ch.pixel(99, 50), clWhite);
    // The radii of a pie are drawn with the pen, from the centre pixel to the arc's end
    // pixels: the one to (99, 49) crosses column 75 on row 49.
    Bitmap pie(101, 101);
    setPenBrush(pie.canvas(), clBlue, clRed);
    pie.canvas().pie(0, 0, 100, 100, 100, 50, 50, 0);
    EXPECT_EQ(pie.pixel(75, 49), clBlue);
    EXPECT_EQ(pie.pixel(50, 25), clBlue);
    // Wide and dashed arcs keep to their quadrant too.
    for (int width : {1, 6}) {
        Bitmap w(101, 101);
        w.canvas().pen().width = width;
        w.canvas().pen().style = width == 1 ? PenStyle::psDot : PenStyle::psSolid;
        w.canvas().brush().setStyle(BrushStyle::bsClear);
        w.canvas().arc(0, 0, 100, 100, 100, 50, 50, 0);
        const Bounds b = boundsOf(w, [](TColor x) { return x == clBlack; });
        EXPECT_GE(b.left, 47) << width;
        EXPECT_LE(b.bottom, 53) << width;
    }
}

TEST(Shapes, PentagramFillsByTheAlternateRule) {
    // Points of a five-pointed star in drawing order (every second vertex of a pentagon).
    const std::vector<Point> star{{50, 5}, {77, 90}, {5, 35}, {95, 35}, {23, 90}};
    Bitmap bmp(100, 100);
    setPenBrush(bmp.canvas(), clBlue, clRed);
    bmp.canvas().polygon(star);
    EXPECT_EQ(bmp.pixel(50, 55), clWhite);  // the pentagon in the middle stays empty
    EXPECT_EQ(bmp.pixel(50, 20), clRed);    // top point
    EXPECT_EQ(bmp.pixel(20, 40), clRed);    // left point
    EXPECT_EQ(bmp.pixel(30, 80), clRed);    // bottom-left point
    // The outline includes every vertex, right and bottom ones too.
    for (Point p : star) EXPECT_EQ(bmp.pixel(p.x, p.y), clBlue) << p.x << "," << p.y;
    EXPECT_EQ(boundsOf(bmp, [](TColor c) { return c != clWhite; }), (Bounds{5, 5, 95, 90}));

    // Without a pen the right and bottom edges are left out: a square polygon on 2..8
    // fills 2..7 like a clear-pen rectangle.
    Bitmap sq(12, 12);
    setPenBrush(sq.canvas(), clBlue, clRed);
    sq.canvas().pen().style = PenStyle::psClear;
    sq.canvas().polygon({{2, 2}, {8, 2}, {8, 8}, {2, 8}});
    EXPECT_EQ(boundsOf(sq, [](TColor c) { return c == clRed; }), (Bounds{2, 2, 7, 7}));
    EXPECT_EQ(countPixels(sq, clRed), 36);
}

TEST(Shapes, PenModesMixEachLayerOfAFigureOnce) {
    using Draw = std::function<void(Canvas&)>;
    const std::vector<std::pair<const char*, Draw>> figures{
        {"rectangle", [](Canvas& c) { c.rectangle(3, 4, 40, 30); }},
        {"ellipse", [](Canvas& c) { c.ellipse(40, 30, 3, 4); }},
        {"roundRect", [](Canvas& c) { c.roundRect(3, 4, 40, 30, 12, 9); }},
        {"arc", [](Canvas& c) { c.arc(3, 4, 40, 30, 40, 10, 3, 30); }},
        {"chord", [](Canvas& c) { c.chord(3, 4, 40, 30, 40, 10, 3, 20); }},
        {"pie", [](Canvas& c) { c.pie(3, 4, 40, 30, 40, 10, 10, 4); }},
        {"polygon", [](Canvas& c) { c.polygon({{25, 2}, {37, 38}, {5, 15}, {45, 15}, {13, 38}}); }},
    };
    struct PenCase {
        int width;
        PenStyle style;
        BrushStyle brush;
    };
    const PenCase pens[] = {{1, PenStyle::psSolid, BrushStyle::bsSolid},      {1, PenStyle::psDashDot, BrushStyle::bsSolid},
                            {1, PenStyle::psDot, BrushStyle::bsDiagCross},    {4, PenStyle::psSolid, BrushStyle::bsHorizontal},
                            {5, PenStyle::psInsideFrame, BrushStyle::bsSolid}, {3, PenStyle::psClear, BrushStyle::bsSolid}};
    for (const auto& [name, draw] : figures) {
        for (const PenCase& pc : pens) {
            SCOPED_TRACE(testing::Message() << name << " width " << pc.width << " " << penStyleName(pc.style) << " "
                                            << brushStyleName(pc.brush));
            auto setup = [&](Canvas& c, PenMode m) {
                c.pen().width = pc.width;
                c.pen().style = pc.style;
                c.pen().mode = m;
                c.pen().color = rgb(0x3C, 0xA5, 0x71);
                c.brush().setColor(rgb(0xC8, 0x1E, 0x5F));
                c.brush().setStyle(pc.brush);
            };
            // pmXor twice restores any background.
            Bitmap noisy(50, 45);
            fillNoise(noisy);
            const Bitmap original = noisy;
            setup(noisy.canvas(), PenMode::pmXor);
            draw(noisy.canvas());
            const bool drawsNothing = std::string(name) == "arc" && pc.style == PenStyle::psClear;
            EXPECT_EQ(samePixels(noisy, original), drawsNothing);
            draw(noisy.canvas());
            EXPECT_TRUE(samePixels(noisy, original));
            // pmNot inverts the pixels pmCopy writes (black on white). A thin outline of a
            // figure with an interior goes over it, so where both lie pmNot inverts twice.
            const auto black = [&](BrushStyle brushStyle, PenMode mode, PenStyle penStyle) {
                Bitmap b(50, 45);
                setup(b.canvas(), mode);
                b.canvas().pen().style = penStyle;
                b.canvas().pen().color = clBlack;
                b.canvas().brush().setColor(clBlack);
                b.canvas().brush().setStyle(brushStyle);
                draw(b.canvas());
                return b;
            };
            const Bitmap copy = black(pc.brush, PenMode::pmCopy, pc.style), inv = black(pc.brush, PenMode::pmNot, pc.style);
            const std::string figure = name;
            const bool layered = pc.width == 1 && pc.style != PenStyle::psClear && figure != "rectangle" && figure != "arc";
            if (!layered) {
                EXPECT_TRUE(samePixels(copy, inv));
                continue;
            }
            // The outline's path: dashes and the gaps between them alike.
            const Bitmap outline = black(BrushStyle::bsClear, PenMode::pmCopy, PenStyle::psSolid);
            int twice = 0;
            for (int y = 0; y < copy.height(); ++y)
                for (int x = 0; x < copy.width(); ++x) {
                    const bool written = copy.pixel(x, y) == clBlack, inverted = inv.pixel(x, y) == clBlack;
                    if (inverted) {
                        EXPECT_TRUE(written) << x << "," << y;
                    } else if (written) {
                        EXPECT_EQ(outline.pixel(x, y), clBlack) << x << "," << y;
                        ++twice;
                    }
                }
            if (pc.brush == BrushStyle::bsSolid) {
                EXPECT_GT(twice, 0);
            }
        }
    }
}

TEST(Shapes, FarCoordinatesAreClipped) {
    // A huge circle centred on the bitmap covers it completely with the brush.
    Bitmap bmp(32, 32);
    Canvas& c = bmp.canvas();
    setPenBrush(c, clBlue, clRed);
    c.ellipse(-100000, -100000, 100016, 100016);
    EXPECT_EQ(countPixels(bmp, clRed), 32 * 32);
    // A huge rectangle whose left edge crosses the bitmap at x = 5.
    Bitmap r(32, 32);
    setPenBrush(r.canvas(), clBlue, clRed);
    r.canvas().rectangle(5, -100000, 100000, 100000);
    EXPECT_EQ(boundsOf(r, [](TColor x) { return x == clBlue; }), (Bounds{5, 0, 5, 31}));
    EXPECT_EQ(countPixels(r, clRed), 26 * 32);
    // The extremes of the int range: no overflow, no hang.
    Bitmap far(16, 16);
    Canvas& f = far.canvas();
    for (int width : {1, 7}) {
        f.pen().width = width;
        f.pen().style = width == 1 ? PenStyle::psDash : PenStyle::psSolid;
        f.rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        f.ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        f.roundRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MIN);
        f.pie(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, 0, 0, INT_MIN);
        f.chord(INT_MIN, 0, INT_MAX, 10, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        f.polygon({{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}, {INT_MIN, INT_MAX}});
    }
}

TEST(Shapes, LargeFiguresSplitOverBandsPaintTheSameBytes) {
    // A figure's rows are shared out over the cores once it is tall enough. A dashed outline
    // in a mixing mode over a solid brush (gaps painted too), then over a hatched one.
    const auto draw = [](Bitmap& b, int bands) {
        parallel::bandLimit() = bands;
        Canvas& c = b.canvas();
        c.brush().setColor(clNavy);
        c.pen().color = clRed;
        c.pen().style = PenStyle::psDash;
        c.pen().mode = PenMode::pmXor;
        c.ellipse(5, 3, 310, 296);
        c.brush().setStyle(BrushStyle::bsDiagCross);
        c.rectangle(40, 20, 280, 290);
        parallel::bandLimit() = 0;
    };
    for (PixelFormat f : {PixelFormat::Device, PixelFormat::pf24bit, PixelFormat::pf8bit}) {
        Bitmap one(320, 300, f), many(320, 300, f);
        draw(one, 1);
        draw(many, 7);
        for (int y = 0; y < 300; ++y) ASSERT_EQ(test::rowBytes(one, y), test::rowBytes(many, y)) << pixelFormatName(f) << " row " << y;
        EXPECT_NE(one.pixel(160, 150), clWhite);
    }
}
