// Text geometry: ink placement, background, rotation and clipping (never exact glyphs, since
// the face behind "Arial" depends on the machine's fonts).
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Fonts.h"
#include "canvas/Text.h"
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

TEST(Text, FitFindsTheLargestSizeOrNothing) {
    Bitmap bmp(10, 10);
    Canvas& c = bmp.canvas();
    c.font().size = 13;
    const Font arial{"Arial", 8, fsBold};
    const auto fit = fitTextSize(c, arial, "OK", 88, 31);
    ASSERT_TRUE(fit.has_value());
    EXPECT_GT(fit->size, 5);
    EXPECT_LT(fit->height, 31 - 10);
    EXPECT_LT(fit->width, 88 - 10);
    // One size larger no longer fits.
    c.font() = arial;
    c.font().size = fit->size + 1;
    EXPECT_TRUE(c.textHeight("OK") >= 21 || c.textWidth("OK") >= 78);
    EXPECT_EQ(c.font().name, "Arial");
    // A button too small for any size above 5.
    c.font().size = 13;
    EXPECT_FALSE(fitTextSize(c, arial, "Caption", 20, 14).has_value());
    EXPECT_EQ(c.font().size, 13);  // the canvas font is left as it was
}

TEST(Text, RotatedTextIsTransparentAndLeavesTheCanvasAlone) {
    Bitmap bmp(120, 120);
    Canvas& c = bmp.canvas();
    setup(c, false);  // a solid brush: rotated text still paints only its glyphs
    c.setPenPos({3, 4});
    const Font f{"Arial", 20, 0, clRed};
    c.textRotate(60, 60, f, "Hi", 90);
    const Box ink = boundsOf(bmp, clRed);
    ASSERT_FALSE(ink.empty());
    EXPECT_LE(ink.bottom, 60);  // turned upward from the press point
    EXPECT_GE(ink.left, 60);
    EXPECT_EQ(countPixels(bmp, clRed) + countPixels(bmp, clWhite), 120 * 120);
    EXPECT_EQ(c.font().color, clBlue);
    EXPECT_EQ(c.font().escapement, 0);
    EXPECT_EQ(c.penPos(), (Point{3, 4}));
    // The size counts as the whole cell, so the glyphs come out smaller than plain text.
    Bitmap plain(120, 120);
    plain.canvas().font() = f;
    plain.canvas().brush().setStyle(BrushStyle::bsClear);
    plain.canvas().textOut(10, 10, "Hi");
    EXPECT_LT(countPixels(bmp, clRed), countPixels(plain, clRed));
}

TEST(Text, ClassicFacesHaveStandInsAndSymbolFacesTheirPictures) {
    const std::pair<const char*, const char*> faces[] = {
        {"Arial", "Liberation Sans"},     {"ms sans serif", "Liberation Sans"}, {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"}, {"Wingdings", "Symbola"},          {"DejaVu Sans", "DejaVu Sans"}};
    for (const auto& [name, face] : faces) EXPECT_EQ(screenFace(name), face) << name;
    EXPECT_EQ(screenText("Wingdings", "J\u00FC"), QString::fromUcs4(U"\u263A\u2714"));  // smile, tick
    EXPECT_EQ(screenText("Symbol", "ap"), QString::fromUtf8("\u03B1\u03C0"));
    EXPECT_EQ(screenText("Arial", "J"), "J");
    EXPECT_EQ(symbolFaceChar("Wingdings", 255), 0u);  // no picture there
    EXPECT_TRUE(screenFontNames().contains("Wingdings"));
    // Text in a symbol face is drawn as its pictures, not as letters.
    Bitmap a(60, 60), b(60, 60);
    a.canvas().font().name = "Wingdings";
    a.canvas().textOut(5, 5, "J");
    b.canvas().font().name = "Symbola";
    b.canvas().textOut(5, 5, QString::fromUcs4(U"\u263A"));
    EXPECT_EQ(differingPixels(a, b), 0);
    EXPECT_GT(countPixels(a, clBlack), 10);
}
