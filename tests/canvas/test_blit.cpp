#include <gtest/gtest.h>

#include <climits>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "../common/TestSupport.h"
#include "canvas/Raster.h"

using namespace pixoral;

namespace {


// Pattern F0, source CC and destination AA in every channel put each of the eight input
// combinations in one bit, so the result byte is the operation's truth table itself.
constexpr int kPat = 0xF0, kSrc = 0xCC, kDst = 0xAA;

struct RopScene {
    Bitmap src{12, 6};
    Bitmap dst;
    RopScene(PixelFormat df, BrushStyle style) : dst(12, 6, df) {
        src.fill(grey(kSrc));
        dst.fill(grey(kDst));
        dst.canvas().brush().setColor(grey(kPat));
        dst.canvas().brush().setStyle(style);
    }
};

}  // namespace

TEST(Blit, NamedCopyModesHaveTheirTruthTables) {
    const struct {
        CopyMode mode;
        int table;
    } cases[] = {
        {cmBlackness, 0x00}, {cmDstInvert, 0x55}, {cmMergeCopy, 0xC0}, {cmMergePaint, 0xBB},
        {cmNotSrcCopy, 0x33}, {cmNotSrcErase, 0x11}, {cmPatCopy, 0xF0}, {cmPatInvert, 0x5A},
        {cmPatPaint, 0xFB}, {cmSrcAnd, 0x88}, {cmSrcCopy, 0xCC}, {cmSrcErase, 0x44},
        {cmSrcInvert, 0x66}, {cmSrcPaint, 0xEE}, {cmWhiteness, 0xFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ropTable(c.mode), c.table);
        EXPECT_EQ(applyRop3(ropTable(c.mode), grey(kPat), grey(kSrc), grey(kDst)), static_cast<std::uint32_t>(grey(c.table)));
        for (PixelFormat f : {PixelFormat::Device, PixelFormat::pf24bit}) {
            RopScene s(f, BrushStyle::bsSolid);
            s.dst.canvas().setCopyMode(c.mode);
            s.dst.canvas().copyRect(Rect{2, 1, 7, 4}, s.src.canvas(), Rect{0, 0, 5, 3});
            EXPECT_EQ(s.dst.pixel(2, 1), grey(c.table)) << std::hex << c.mode;
            EXPECT_EQ(s.dst.pixel(6, 3), grey(c.table)) << std::hex << c.mode;
            EXPECT_EQ(s.dst.pixel(7, 3), grey(kDst));
            EXPECT_EQ(s.dst.pixel(2, 4), grey(kDst));
        }
    }
}

TEST(Blit, AllTwoHundredFiftySixCodes) {
    // Unstretched on device (fast rows), stretched on device and on 24 bits (general path).
    for (int t = 0; t < 256; ++t) {
        const CopyMode mode = static_cast<CopyMode>(t) << 16;
        for (int variant = 0; variant < 3; ++variant) {
            RopScene s(variant == 2 ? PixelFormat::pf24bit : PixelFormat::Device, BrushStyle::bsSolid);
            s.dst.canvas().setCopyMode(mode);
            const Rect from = variant == 0 ? Rect{0, 0, 4, 4} : Rect{0, 0, 2, 2};
            s.dst.canvas().copyRect(Rect{1, 1, 5, 5}, s.src.canvas(), from);
            ASSERT_EQ(s.dst.pixel(1, 1), grey(t)) << t << " variant " << variant;
            ASSERT_EQ(s.dst.pixel(4, 4), grey(t)) << t << " variant " << variant;
            ASSERT_EQ(s.dst.pixel(5, 5), grey(kDst));
        }
    }
}

TEST(Blit, HatchedAndClearBrushesAsPattern) {
    // Codes with and without the pattern: hatch gaps leave the destination only when the
    // operation reads the pattern.
    const int tables[] = {0xF0, 0x5A, 0xC0, 0xFB, 0xCC, 0x66, 0xE2, 0x1B, 0x00};
    for (int t : tables) {
        const bool usesPattern = ((t >> 4) & 0xF) != (t & 0xF);
        for (PixelFormat f : {PixelFormat::Device, PixelFormat::pf24bit}) {
            RopScene s(f, BrushStyle::bsHorizontal);  // row 3 of every 8 is the hatch line
            s.dst.canvas().setCopyMode(static_cast<CopyMode>(t) << 16);
            s.dst.canvas().copyRect(Rect{0, 0, 12, 6}, s.src.canvas(), Rect{0, 0, 12, 6});
            for (int y = 0; y < 6; ++y) {
                const int want = (y == 3 || !usesPattern) ? t : kDst;
                ASSERT_EQ(s.dst.pixel(5, y), grey(want)) << std::hex << t << " y=" << y;
            }
        }
        RopScene c(PixelFormat::Device, BrushStyle::bsClear);
        c.dst.canvas().setCopyMode(static_cast<CopyMode>(t) << 16);
        c.dst.canvas().copyRect(Rect{0, 0, 12, 6}, c.src.canvas(), Rect{0, 0, 12, 6});
        EXPECT_EQ(c.dst.pixel(4, 4), grey(usesPattern ? kDst : t)) << std::hex << t;
    }
}

TEST(Blit, OverlappingCopiesWithinOneBitmap) {
    const struct {
        Rect dest, source;
    } cases[] = {
        {{3, 0, 13, 10}, {0, 0, 10, 10}},  // right, same rows
        {{0, 0, 10, 10}, {3, 0, 13, 10}},  // left
        {{0, 3, 10, 13}, {0, 0, 10, 10}},  // down
        {{0, 0, 10, 10}, {0, 3, 10, 13}},  // up
        {{2, 2, 12, 12}, {0, 0, 10, 10}},  // diagonal
        {{0, 0, 20, 20}, {0, 0, 10, 10}},  // stretched over itself
        {{10, 0, 0, 10}, {0, 0, 10, 10}},  // mirrored over itself
    };
    for (PixelFormat f : {PixelFormat::Device, PixelFormat::pf24bit, PixelFormat::pf8bit}) {
        for (CopyMode mode : {cmSrcCopy, cmSrcInvert}) {
            for (const auto& c : cases) {
                Bitmap b(16, 16, f);
                for (int y = 0; y < 16; ++y)
                    for (int x = 0; x < 16; ++x) b.setPixel(x, y, halftonePalette()[(x * 16 + y * 7) & 255]);
                Bitmap ref(b);
                Bitmap expected(b);
                ref.setPixel(0, 0, ref.pixel(0, 0));  // its own pixels, read before any write
                expected.canvas().setCopyMode(mode);
                expected.canvas().copyRect(c.dest, ref.canvas(), c.source);
                b.canvas().setCopyMode(mode);
                b.canvas().copyRect(c.dest, b.canvas(), c.source);
                for (int y = 0; y < 16; ++y)
                    for (int x = 0; x < 16; ++x)
                        ASSERT_EQ(b.pixel(x, y), expected.pixel(x, y)) << pixelFormatName(f) << " " << x << "," << y;
            }
        }
    }
}

TEST(Blit, StretchSamplesTheNearestPixel) {
    Bitmap src(4, 1);
    const TColor cols[4] = {clRed, clLime, clBlue, clBlack};
    for (int x = 0; x < 4; ++x) src.setPixel(x, 0, cols[x]);
    const struct {
        Rect dest;
        const char* expect;  // r g b k per destination column, '.' untouched (white)
    } cases[] = {
        {{0, 0, 8, 1}, "rrggbbkk"},
        {{0, 0, 2, 1}, "gk......"},  // reduced: every other column, the others dropped
        {{0, 0, 4, 1}, "rgbk...."},
        {{4, 0, 0, 1}, ".kbgr..."},  // an inverted rectangle mirrors from its first edge: 4, 3, 2, 1
        {{-2, 0, 6, 1}, "ggbbkk.."}, // clipped on the left
        {{0, 0, 3, 1}, "rbk....."},
    };
    for (const auto& c : cases) {
        Bitmap dst(8, 1);
        dst.canvas().stretchDraw(c.dest, src);
        for (int x = 0; x < 8; ++x) {
            const char ch = c.expect[x];
            const TColor want = ch == 'r' ? clRed : ch == 'g' ? clLime : ch == 'b' ? clBlue : ch == 'k' ? clBlack : clWhite;
            ASSERT_EQ(dst.pixel(x, 0), want) << c.expect << " x=" << x;
        }
    }
    // A source rectangle partly outside the source leaves those destination pixels alone.
    Bitmap dst(4, 1);
    dst.fill(clYellow);
    dst.canvas().copyRect(Rect{0, 0, 4, 1}, src.canvas(), Rect{2, 0, 6, 1});
    EXPECT_EQ(dst.pixel(0, 0), clBlue);
    EXPECT_EQ(dst.pixel(1, 0), clBlack);
    EXPECT_EQ(dst.pixel(2, 0), clYellow);
}

TEST(Blit, DrawHonoursTransparencyAndFormats) {
    for (PixelFormat sf : {PixelFormat::Device, PixelFormat::pf24bit, PixelFormat::pf8bit, PixelFormat::pf4bit, PixelFormat::pf1bit}) {
        Bitmap src(3, 2, sf);
        src.setPixel(0, 0, clBlack);
        src.setPixel(2, 1, clBlack);
        Bitmap dst(6, 4);
        dst.fill(clLime);
        dst.canvas().draw(1, 1, src);
        EXPECT_EQ(dst.pixel(1, 1), clBlack) << pixelFormatName(sf);
        EXPECT_EQ(dst.pixel(2, 1), clWhite);
        EXPECT_EQ(dst.pixel(4, 1), clLime);
        src.transparent = true;  // the bottom-left pixel (white) is left out
        dst.fill(clLime);
        dst.canvas().draw(1, 1, src);
        EXPECT_EQ(dst.pixel(1, 1), clBlack) << pixelFormatName(sf);
        EXPECT_EQ(dst.pixel(2, 1), clLime) << pixelFormatName(sf);
        EXPECT_EQ(dst.pixel(3, 2), clBlack);
        src.transparentColor = clBlack;
        dst.fill(clLime);
        dst.canvas().draw(1, 1, src);
        EXPECT_EQ(dst.pixel(1, 1), clLime);
        EXPECT_EQ(dst.pixel(2, 1), clWhite);
    }
    // Drawing onto an indexed bitmap stores the nearest palette entries.
    Bitmap src(2, 1);
    src.setPixel(0, 0, rgb(250, 5, 5));
    Bitmap dst(2, 1, PixelFormat::pf4bit);
    dst.canvas().draw(0, 0, src);
    EXPECT_EQ(dst.pixel(0, 0), clRed);
}

TEST(Blit, BrushCopyReplacesOneColourWithTheBrush) {
    Bitmap src(4, 1);
    src.setPixel(1, 0, clRed);
    src.setPixel(3, 0, clRed);
    Bitmap dst(5, 4);
    dst.fill(clLime);
    dst.canvas().brush().setColor(clBlue);
    dst.canvas().brushCopy(Rect{0, 0, 4, 1}, src, Rect{0, 0, 4, 1}, clRed);
    EXPECT_EQ(dst.pixel(0, 0), clWhite);
    EXPECT_EQ(dst.pixel(1, 0), clBlue);
    EXPECT_EQ(dst.pixel(3, 0), clBlue);
    // A clear brush lets the destination show through; a hatch only on its lines.
    dst.canvas().brush().setStyle(BrushStyle::bsClear);
    dst.canvas().brushCopy(Rect{0, 1, 4, 2}, src, Rect{0, 0, 4, 1}, clRed);
    EXPECT_EQ(dst.pixel(1, 1), clLime);
    EXPECT_EQ(dst.pixel(2, 1), clWhite);
    dst.canvas().brush().setColor(clBlack);
    dst.canvas().brush().setStyle(BrushStyle::bsVertical);  // column 4 of every 8
    dst.canvas().brushCopy(Rect{1, 2, 5, 3}, src, Rect{0, 0, 4, 1}, clRed);
    EXPECT_EQ(dst.pixel(2, 2), clLime);
    EXPECT_EQ(dst.pixel(4, 2), clBlack);
}

TEST(Blit, EmptyAndOutsideRectanglesChangeNothing) {
    Bitmap src(4, 4);
    src.fill(clBlack);
    Bitmap dst(4, 4);
    const Rect rects[] = {{0, 0, 0, 4}, {2, 2, 2, 2}, {10, 10, 20, 20}, {-8, 0, -4, 4}};
    for (const Rect& r : rects) {
        dst.canvas().copyRect(r, src.canvas(), Rect{0, 0, 4, 4});
        dst.canvas().copyRect(Rect{0, 0, 4, 4}, src.canvas(), Rect{r.left, r.top, r.left, r.top});
    }
    dst.canvas().draw(0, 0, Bitmap());
    // Extreme coordinates neither overflow nor write outside.
    dst.canvas().copyRect(Rect{INT_MIN, INT_MIN, INT_MIN + 2, INT_MIN + 2}, src.canvas(), Rect{0, 0, 4, 4});
    dst.canvas().copyRect(Rect{INT_MAX - 1, 0, INT_MAX, 4}, src.canvas(), Rect{INT_MIN, 0, INT_MAX, 4});
    dst.canvas().draw(INT_MAX - 1, INT_MAX - 1, src);
    dst.canvas().brush().setColor(clBlack);
    dst.canvas().fillRect(Rect{INT_MAX, INT_MIN, INT_MAX - 5, INT_MIN + 3});  // inverted, far away
    dst.canvas().frameRect(Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(dst.pixel(x, y), clWhite);
}
