// Text geometry: ink placement, background, rotation and clipping (never exact glyphs, since
// the face behind "Arial" depends on the machine's fonts).
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "../common/TestSupport.h"

using namespace pixoral;

namespace {

using Box = PixelBox;

void setup(Canvas& c, bool clearBrush) {
    c.font().name = "Arial";
    c.font().size = 24;
    c.font().color = clBlue;
    c.brush().setColor(clYellow);
    if (clearBrush) c.brush().setStyle(BrushStyle::bsClear);
}

}  // namespace

TEST(Text, MetricsFollowTheFont) {
    Bitmap bmp(10, 10);
    Canvas& c = bmp.canvas();
    setup(c, false);
    // 24 points at 96 dpi are 32 pixels of character height; the cell is a little taller.
    const int h24 = c.textHeight("Hg");
    EXPECT_GE(h24, 32);
    EXPECT_LE(h24, 45);
    const int w = c.textWidth("Hello");
    EXPECT_GT(w, 40);
    EXPECT_EQ(c.textWidth(""), 0);
    EXPECT_GT(c.textWidth("HelloHello"), w + w / 2);
    c.font().style = fsBold;
    EXPECT_GE(c.textWidth("Hello"), w);
    c.font().style = 0;
    c.font().size = 12;
    EXPECT_LT(c.textHeight("Hg"), h24);
    EXPECT_LT(c.textWidth("Hello"), w);
}

TEST(Text, InkAndBackgroundFillTheCell) {
    for (bool clearBrush : {false, true}) {
        SCOPED_TRACE(clearBrush ? "clear brush" : "solid brush");
        Bitmap bmp(200, 80);
        Canvas& c = bmp.canvas();
        setup(c, clearBrush);
        const QString text = "Pixoral";
        const int w = c.textWidth(text), h = c.textHeight(text);
        c.textOut(20, 15, text);
        const Box ink = boundsOf(bmp, clBlue);
        ASSERT_FALSE(ink.empty());
        EXPECT_GE(ink.left, 20);
        EXPECT_GE(ink.top, 15);
        EXPECT_LT(ink.right, 20 + w);
        EXPECT_LT(ink.bottom, 15 + h);
        EXPECT_GT(ink.right - ink.left, w / 2);
        // Crisp glyphs: only ink, background and untouched pixels.
        EXPECT_EQ(countPixels(bmp, clBlue) + countPixels(bmp, clYellow) + countPixels(bmp, clWhite), 200 * 80);
        if (clearBrush) {
            EXPECT_EQ(countPixels(bmp, clYellow), 0);
        } else {
            // The background is exactly the cell.
            const Box bg = boundsOf(bmp, clYellow);
            EXPECT_EQ(bg.left, 20);
            EXPECT_EQ(bg.top, 15);
            EXPECT_EQ(bg.right, 20 + w - 1);
            EXPECT_EQ(bg.bottom, 15 + h - 1);
            EXPECT_EQ(countPixels(bmp, clBlue) + countPixels(bmp, clYellow), w * h);
        }
        // The pen moves past the text.
        EXPECT_EQ(c.penPos(), (Point{20 + w, 15}));
    }
}

TEST(Text, StylesAddInk) {
    auto inkOf = [](unsigned style) {
        Bitmap bmp(200, 60);
        Canvas& c = bmp.canvas();
        setup(c, true);
        c.font().style = style;
        c.textOut(5, 5, "Hello");
        return std::make_pair(countPixels(bmp, clBlue), boundsOf(bmp, clBlue));
    };
    const auto [plain, plainBox] = inkOf(0);
    EXPECT_GT(inkOf(fsBold).first, plain);
    const auto [under, underBox] = inkOf(fsUnderline);
    EXPECT_GT(under, plain);
    EXPECT_GT(underBox.bottom, plainBox.bottom);  // the underline sits below the baseline
    EXPECT_GT(inkOf(fsStrikeOut).first, plain);
    EXPECT_NE(inkOf(fsItalic).first, 0);
}

TEST(Text, EscapementTurnsCounterClockwiseAboutTheTopLeft) {
    struct Case {
        int escapement;
        // Where the ink must lie relative to the origin (100, 100), as signs of x and y.
        int sx, sy;
    };
    // At 90 degrees the baseline runs up from the origin and the cell lies to its right;
    // each further quarter turn moves it on by one quadrant.
    const Case cases[] = {{0, +1, +1}, {900, +1, -1}, {1800, -1, -1}, {2700, -1, +1}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.escapement);
        Bitmap bmp(200, 200);
        Canvas& c = bmp.canvas();
        setup(c, false);
        c.font().escapement = k.escapement;
        const int w = c.textWidth("Turn"), h = c.textHeight("Turn");
        c.textOut(100, 100, "Turn");
        const Box ink = boundsOf(bmp, clBlue);
        const Box bg = boundsOf(bmp, clYellow);
        ASSERT_FALSE(ink.empty());
        const bool along = k.escapement % 1800 == 0;
        const int extentX = along ? w : h, extentY = along ? h : w;
        // The background is the turned cell, with one corner at the origin.
        EXPECT_NEAR(bg.right - bg.left + 1, extentX, 2);
        EXPECT_NEAR(bg.bottom - bg.top + 1, extentY, 2);
        if (k.sx > 0) EXPECT_NEAR(bg.left, 100, 1);
        else EXPECT_NEAR(bg.right, 99, 1);
        if (k.sy > 0) EXPECT_NEAR(bg.top, 100, 1);
        else EXPECT_NEAR(bg.bottom, 99, 1);
        // The ink lies in the same quadrant.
        const int cx = (ink.left + ink.right) / 2, cy = (ink.top + ink.bottom) / 2;
        EXPECT_EQ(cx > 100 ? 1 : -1, k.sx);
        EXPECT_EQ(cy > 100 ? 1 : -1, k.sy);
    }
}

TEST(Text, TextRectClipsAndFillsItsRectangle) {
    Bitmap bmp(200, 80);
    Canvas& c = bmp.canvas();
    setup(c, false);
    const Rect r{30, 20, 70, 40};
    c.textRect(r, 10, 10, "Clipped text");
    EXPECT_EQ(countPixels(bmp, clBlue) + countPixels(bmp, clYellow), 40 * 20);
    const Box touched = boundsOf(bmp, clYellow);
    EXPECT_EQ(touched.left, 30);
    EXPECT_EQ(touched.top, 20);
    EXPECT_EQ(touched.right, 69);
    EXPECT_EQ(touched.bottom, 39);
    EXPECT_GT(countPixels(bmp, clBlue), 0);

    // With a clear brush only ink inside the rectangle is drawn; inverted corners work.
    Bitmap clear(200, 80);
    setup(clear.canvas(), true);
    clear.canvas().textRect(Rect{70, 40, 30, 20}, 10, 10, "Clipped text");
    const Box ink = boundsOf(clear, clBlue);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, 30);
    EXPECT_GE(ink.top, 20);
    EXPECT_LE(ink.right, 69);
    EXPECT_LE(ink.bottom, 39);
    EXPECT_EQ(countPixels(clear, clYellow), 0);
}

TEST(Text, FarAwayAndOddInputIsHarmless) {
    Bitmap bmp(50, 50);
    Canvas& c = bmp.canvas();
    setup(c, false);
    c.textOut(INT_MAX - 5, INT_MIN + 5, "far");
    c.textOut(-100000, 20, "far");
    c.textRect(Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, INT_MIN, INT_MAX, "far");
    c.font().size = 0;
    c.textOut(0, 0, "tiny");
    c.font().size = -30;  // a cell height given the other way round still draws
    c.font().escapement = 450;
    c.textOut(0, 40, "x");
    c.font().size = 1000000;
    c.textOut(0, 0, "W");
    SUCCEED();
}
