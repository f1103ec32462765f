#include <gtest/gtest.h>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "../common/TestSupport.h"
#include "canvas/Raster.h"
#include "core/LargeBlocks.h"

#include <algorithm>
#include <vector>

using namespace pixoral;

namespace {
const PixelFormat kAllFormats[] = {PixelFormat::Device, PixelFormat::pf24bit, PixelFormat::pf8bit,
                                   PixelFormat::pf4bit, PixelFormat::pf1bit};
}  // namespace

TEST(Bitmap, NewBitmapIsWhiteInEveryFormat) {
    for (PixelFormat f : kAllFormats) {
        Bitmap b(13, 3, f);
        EXPECT_EQ(b.width(), 13);
        EXPECT_EQ(b.height(), 3);
        EXPECT_EQ(b.pixelFormat(), f);
        EXPECT_EQ(b.bytesPerLine() % 4, 0);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 13; ++x) ASSERT_EQ(b.pixel(x, y), clWhite) << pixelFormatName(f);
        EXPECT_EQ(b.pixel(13, 0), -1);
        EXPECT_EQ(b.pixel(-1, 0), -1);
        EXPECT_EQ(b.pixel(0, 3), -1);
        EXPECT_EQ(b.pixel(0, -1), -1);
    }
    Bitmap empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.pixel(0, 0), -1);
    EXPECT_EQ(empty.scanLine(0), nullptr);
}

TEST(Bitmap, AllSixteenPenModes) {
    // Pen F0 over background CC in every channel: the result byte is the mix of those bits.
    const struct {
        PenMode mode;
        int expected;
    } cases[] = {
        {PenMode::pmBlack, 0x00},       {PenMode::pmWhite, 0xFF},      {PenMode::pmNop, 0xCC},
        {PenMode::pmNot, 0x33},         {PenMode::pmCopy, 0xF0},       {PenMode::pmNotCopy, 0x0F},
        {PenMode::pmMergePenNot, 0xF3}, {PenMode::pmMaskPenNot, 0x30}, {PenMode::pmMergeNotPen, 0xCF},
        {PenMode::pmMaskNotPen, 0x0C},  {PenMode::pmMerge, 0xFC},      {PenMode::pmNotMerge, 0x03},
        {PenMode::pmMask, 0xC0},        {PenMode::pmNotMask, 0x3F},    {PenMode::pmXor, 0x3C},
        {PenMode::pmNotXor, 0xC3},
    };
    for (PixelFormat f : {PixelFormat::Device, PixelFormat::pf24bit}) {
        for (const auto& c : cases) {
            Bitmap b(6, 2, f);
            b.fill(grey(0xCC));
            raster::penSpan(b, 0, 1, 4, grey(0xF0), c.mode);
            raster::penPixel(b, 5, 1, grey(0xF0), c.mode);
            const char* name = penModeName(c.mode);
            EXPECT_EQ(b.pixel(0, 0), grey(0xCC)) << name;
            for (int x = 1; x < 4; ++x) EXPECT_EQ(b.pixel(x, 0), grey(c.expected)) << name << " " << pixelFormatName(f);
            EXPECT_EQ(b.pixel(4, 0), grey(0xCC)) << name;
            EXPECT_EQ(b.pixel(5, 1), grey(c.expected)) << name;
            EXPECT_EQ(applyPenMode(c.mode, 0xF0F0F0, 0xCCCCCC), static_cast<std::uint32_t>(grey(c.expected))) << name;
        }
    }
    // Channels stay apart: red xor white is aqua.
    Bitmap b(2, 1);
    raster::penSpan(b, 0, 0, 2, clRed, PenMode::pmXor);
    EXPECT_EQ(b.pixel(0, 0), clAqua);
    EXPECT_STREQ(penModeName(PenMode::pmNotXor), "pmNotXor");
}

TEST(Bitmap, SpansClipAndSkipNothingColours) {
    Bitmap b(4, 2);
    raster::penSpan(b, 0, -10, 10, clBlack, PenMode::pmCopy);
    raster::penSpan(b, 5, 0, 4, clBlack, PenMode::pmCopy);
    raster::penSpan(b, -1, 0, 4, clBlack, PenMode::pmCopy);
    raster::penSpan(b, 1, 3, 1, clBlack, PenMode::pmCopy);  // empty run
    raster::penSpan(b, 1, 0, 4, clNone, PenMode::pmCopy);
    raster::penPixel(b, 4, 1, clBlack, PenMode::pmCopy);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(b.pixel(x, 0), clBlack);
        EXPECT_EQ(b.pixel(x, 1), clWhite);
    }
    // System colours resolve when drawn.
    raster::penSpan(b, 1, 0, 1, clBtnFace, PenMode::pmCopy);
    EXPECT_EQ(b.pixel(0, 1), 0xC0C0C0);
}

TEST(Bitmap, HatchesAlignToTheCanvasOrigin) {
    const struct {
        BrushStyle style;
        const char* rows[8];
    } cases[] = {
        {BrushStyle::bsHorizontal, {"........", "........", "........", "########", "........", "........", "........", "........"}},
        {BrushStyle::bsVertical, {"....#...", "....#...", "....#...", "....#...", "....#...", "....#...", "....#...", "....#..."}},
        {BrushStyle::bsFDiagonal, {"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..", "......#.", ".......#"}},
        {BrushStyle::bsBDiagonal, {".......#", "......#.", ".....#..", "....#...", "...#....", "..#.....", ".#......", "#......."}},
        {BrushStyle::bsCross, {"....#...", "....#...", "....#...", "########", "....#...", "....#...", "....#...", "....#..."}},
        {BrushStyle::bsDiagCross, {"#......#", ".#....#.", "..#..#..", "...##...", "...##...", "..#..#..", ".#....#.", "#......#"}},
    };
    for (const auto& c : cases) {
        Bitmap b(19, 19);
        b.canvas().brush().setColor(clRed);
        b.canvas().brush().setStyle(c.style);
        // Painted from odd starting columns and rows: the pattern must not follow the run.
        for (int y = 3; y < 19; ++y) raster::brushSpan(b, y, 5, 19, b.canvas().brush(), PenMode::pmCopy);
        for (int y = 3; y < 19; ++y)
            for (int x = 5; x < 19; ++x) {
                const bool on = c.rows[y % 8][x % 8] == '#';
                ASSERT_EQ(b.pixel(x, y), on ? clRed : clWhite) << brushStyleName(c.style) << " " << x << "," << y;
                ASSERT_EQ(b.canvas().brush().colorAt(x, y), on ? clRed : -1);
            }
        EXPECT_EQ(b.pixel(4, 3), clWhite);
    }
}

TEST(Bitmap, BrushColourStyleAndPattern) {
    Brush br;
    br.setStyle(BrushStyle::bsClear);
    EXPECT_TRUE(br.isClear());
    EXPECT_EQ(br.colorAt(0, 0), -1);
    br.setColor(clBlue);  // a clear brush turns solid when given a colour
    EXPECT_EQ(br.style(), BrushStyle::bsSolid);
    EXPECT_EQ(br.colorAt(-3, 7), clBlue);

    auto pat = std::make_shared<Bitmap>(8, 8, PixelFormat::pf4bit);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pat->setPixel(x, y, (x + y) % 2 ? clBlack : clLime);
    br.setBitmap(pat);
    br.setStyle(BrushStyle::bsClear);  // the pattern still wins
    EXPECT_FALSE(br.isClear());
    Bitmap b(20, 20);
    for (int y = 0; y < 20; ++y) raster::brushSpan(b, y, 0, 20, br, PenMode::pmCopy);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(b.pixel(x, y), (x + y) % 2 ? clBlack : clLime);
    EXPECT_EQ(br.colorAt(-1, 0), clBlack);  // aligned to the origin on negative coordinates too
}

TEST(Bitmap, CopiesSharePixelsUntilWritten) {
    Bitmap a(64, 64);
    a.setPixel(1, 1, clRed);
    Bitmap b(a);
    Bitmap c;
    c = a;
    EXPECT_EQ(std::as_const(a).scanLine(0), std::as_const(b).scanLine(0));
    EXPECT_EQ(std::as_const(a).scanLine(0), std::as_const(c).scanLine(0));
    b.setPixel(2, 2, clBlue);
    EXPECT_NE(std::as_const(a).scanLine(0), std::as_const(b).scanLine(0));
    EXPECT_EQ(a.pixel(2, 2), clWhite);
    EXPECT_EQ(c.pixel(2, 2), clWhite);
    EXPECT_EQ(b.pixel(1, 1), clRed);
    // Each bitmap keeps its own canvas state.
    a.canvas().pen().color = clRed;
    Bitmap d(a);
    EXPECT_EQ(d.canvas().pen().color, clBlack);
    EXPECT_EQ(&d.canvas().bitmap(), &d);
}

TEST(Bitmap, LargeStoresAreReusedAndStartWhite) {
    // Stores of a few megabytes live in pooled blocks: copies still share them until written,
    // and a block let go serves the next store of its size, white again.
    large::Pool::instance().release();
    std::vector<const std::uint8_t*> blocks;
    {
        Bitmap a(1200, 1000);
        a.setPixel(5, 5, clRed);
        Bitmap b(a);
        EXPECT_EQ(std::as_const(a).scanLine(0), std::as_const(b).scanLine(0));
        b.setPixel(6, 6, clBlue);
        EXPECT_EQ(a.pixel(6, 6), clWhite);
        EXPECT_EQ(b.pixel(5, 5), clRed);
        blocks = {std::as_const(a).scanLine(0), std::as_const(b).scanLine(0)};
    }
    // The same block, its store starting at another of the staggered offsets (within 64 KiB).
    Bitmap c(1200, 1000);
    const auto first = reinterpret_cast<std::uintptr_t>(std::as_const(c).scanLine(0));
    EXPECT_TRUE(std::any_of(blocks.begin(), blocks.end(), [first](const std::uint8_t* p) {
        const auto at = reinterpret_cast<std::uintptr_t>(p);
        return (first > at ? first - at : at - first) < 64 * 1024;
    }));
    for (int y = 0; y < c.height(); ++y) {
        const std::uint8_t* row = std::as_const(c).scanLine(y);
        ASSERT_TRUE(std::all_of(row, row + 4 * c.width(), [](std::uint8_t v) { return v == 0xFF; })) << y;
    }
}

TEST(Bitmap, ResizeKeepsTopLeftAndAddsWhite) {
    for (PixelFormat f : kAllFormats) {
        Bitmap b(7, 5, f);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) b.setPixel(x, y, (x + 2 * y) % 3 ? clBlack : clWhite);
        Bitmap ref(b);
        ASSERT_TRUE(b.setSize(5, 9));
        EXPECT_EQ(b.width(), 5);
        EXPECT_EQ(b.height(), 9);
        ASSERT_TRUE(b.setWidth(11));
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 11; ++x) {
                const TColor want = (x < 5 && y < 5) ? ref.pixel(x, y) : clWhite;
                ASSERT_EQ(b.pixel(x, y), want) << pixelFormatName(f) << " " << x << "," << y;
            }
        EXPECT_FALSE(b.setSize(kMaxBitmapSide + 1, 1));
        EXPECT_FALSE(b.setSize(20000, 20000));  // above 2^28 pixels
        EXPECT_EQ(b.width(), 11);
        ASSERT_TRUE(b.setHeight(-4));
        EXPECT_TRUE(b.isEmpty());
        ASSERT_TRUE(b.setSize(2, 2));
        EXPECT_EQ(b.pixel(1, 1), clWhite);
    }
}

TEST(Bitmap, MaskAndTransparentColour) {
    Bitmap b(10, 4, PixelFormat::pf24bit);
    b.setPixel(3, 1, clRed);
    b.setPixel(9, 3, clRed);
    b.setPixel(0, 3, clLime);
    EXPECT_EQ(b.effectiveTransparentColor(), clLime);  // bottom-left by default
    b.transparentColor = clBtnFace;
    EXPECT_EQ(b.effectiveTransparentColor(), 0xC0C0C0);
    b.mask(clRed);
    EXPECT_EQ(b.pixelFormat(), PixelFormat::pf1bit);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool red = (x == 3 && y == 1) || (x == 9 && y == 3);
            ASSERT_EQ(b.pixel(x, y), red ? clWhite : clBlack);
        }
    EXPECT_EQ(b.scanLine(1)[0], 0x10);  // the mask's bits, most significant first
}
