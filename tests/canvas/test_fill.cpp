#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Raster.h"

using namespace pixoral;

namespace {

// Draws a picture from rows of characters: '#' black, '.' white, 'r' red.
Bitmap picture(const std::vector<const char*>& rows) {
    Bitmap b(static_cast<int>(std::strlen(rows[0])), static_cast<int>(rows.size()));
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            const char ch = rows[static_cast<std::size_t>(y)][x];
            b.setPixel(x, y, ch == '#' ? clBlack : ch == 'r' ? clRed : ch == 'g' ? clLime : clWhite);
        }
    return b;
}

std::string row(const Bitmap& b, int y) {
    std::string s;
    for (int x = 0; x < b.width(); ++x) {
        const TColor c = b.pixel(x, y);
        s += c == clBlack ? '#' : c == clWhite ? '.' : c == clRed ? 'r' : c == clLime ? 'g' : c == clBlue ? 'b' : '?';
    }
    return s;
}

}  // namespace

TEST(Fill, FillRectPaintsTheBrushDirectly) {
    const struct {
        Rect r;
        BrushStyle style;
        const char* rows[4];
    } cases[] = {
        {{1, 1, 4, 3}, BrushStyle::bsSolid, {"......", ".bbb..", ".bbb..", "......"}},
        {{4, 3, 1, 1}, BrushStyle::bsSolid, {"......", ".bbb..", ".bbb..", "......"}},  // inverted
        {{-5, -5, 2, 9}, BrushStyle::bsSolid, {"bb....", "bb....", "bb....", "bb...."}},
        {{0, 0, 6, 4}, BrushStyle::bsVertical, {"....b.", "....b.", "....b.", "....b."}},
        {{0, 0, 6, 4}, BrushStyle::bsClear, {"......", "......", "......", "......"}},
        {{2, 2, 2, 4}, BrushStyle::bsSolid, {"......", "......", "......", "......"}},
    };
    for (const auto& c : cases) {
        Bitmap b(6, 4);
        b.canvas().brush().setColor(clBlue);
        b.canvas().brush().setStyle(c.style);
        b.canvas().pen().mode = PenMode::pmXor;  // not used by fillRect
        b.canvas().fillRect(c.r);
        for (int y = 0; y < 4; ++y) EXPECT_EQ(row(b, y), c.rows[y]) << c.r.left << "," << c.r.top << "," << c.r.right;
    }
}

TEST(Fill, FrameRect) {
    const struct {
        Rect r;
        const char* rows[5];
    } cases[] = {
        {{1, 1, 5, 4}, {"......", ".bbbb.", ".b..b.", ".bbbb.", "......"}},
        {{0, 0, 1, 1}, {"b.....", "......", "......", "......", "......"}},
        {{2, 0, 3, 5}, {"..b...", "..b...", "..b...", "..b...", "..b..."}},
        {{5, 4, 1, 1}, {"......", "......", "......", "......", "......"}},  // inverted: nothing
    };
    for (const auto& c : cases) {
        Bitmap b(6, 5);
        b.canvas().brush().setColor(clBlue);
        b.canvas().frameRect(c.r);
        for (int y = 0; y < 5; ++y) EXPECT_EQ(row(b, y), c.rows[y]) << c.r.left << "," << c.r.top;
    }
}

TEST(Fill, FloodFillSurfaceAndBorder) {
    const std::vector<const char*> start = {
        "..........",
        ".####.....",
        ".#..#..#..",
        ".#.g#.#.#.",
        ".####..#..",
        "..........",
    };
    const struct {
        int x, y;
        TColor color;
        FillStyle style;
        std::vector<const char*> expect;
    } cases[] = {
        // Surface: the white region of the start pixel; 4-connected, so the diagonal ring at
        // the right keeps its white centre.
        {0, 0, clWhite, FillStyle::fsSurface, {"rrrrrrrrrr", "r####rrrrr", "r#..#rr#rr", "r#.g#r#.#r", "r####rr#rr", "rrrrrrrrrr"}},
        {2, 2, clWhite, FillStyle::fsSurface, {"..........", ".####.....", ".#rr#..#..", ".#rg#.#.#.", ".####..#..", ".........."}},
        // Border: everything up to black, whatever colour it has.
        {2, 2, clBlack, FillStyle::fsBorder, {"..........", ".####.....", ".#rr#..#..", ".#rr#.#.#.", ".####..#..", ".........."}},
        {7, 3, clBlack, FillStyle::fsBorder, {"..........", ".####.....", ".#..#..#..", ".#.g#.#r#.", ".####..#..", ".........."}},
        // Nothing happens from a pixel that does not qualify, or outside the bitmap.
        {1, 1, clWhite, FillStyle::fsSurface, {"..........", ".####.....", ".#..#..#..", ".#.g#.#.#.", ".####..#..", ".........."}},
        {1, 1, clBlack, FillStyle::fsBorder, {"..........", ".####.....", ".#..#..#..", ".#.g#.#.#.", ".####..#..", ".........."}},
        {-1, 0, clWhite, FillStyle::fsSurface, {"..........", ".####.....", ".#..#..#..", ".#.g#.#.#.", ".####..#..", ".........."}},
    };
    for (const auto& c : cases) {
        Bitmap b = picture(start);
        b.canvas().brush().setColor(clRed);
        b.canvas().floodFill(c.x, c.y, c.color, c.style);
        for (int y = 0; y < 6; ++y) ASSERT_EQ(row(b, y), c.expect[static_cast<std::size_t>(y)]) << c.x << "," << c.y << " row " << y;
    }
}

TEST(Fill, FloodFillPaintsEachPixelOnceThroughThePenMode) {
    // xor would flip pixels back if visited twice; a brush of the surface colour or a hatch
    // keeps pixels fillable after painting, which must not loop.
    Bitmap b = picture({"......", ".####.", ".#..#.", ".####.", "......"});
    b.canvas().brush().setColor(clRed);
    b.canvas().pen().mode = PenMode::pmXor;
    b.canvas().floodFill(0, 0, clWhite, FillStyle::fsSurface);
    EXPECT_EQ(b.pixel(0, 0), clAqua);
    EXPECT_EQ(b.pixel(5, 4), clAqua);
    EXPECT_EQ(b.pixel(2, 2), clWhite);
    EXPECT_EQ(b.pixel(1, 1), clBlack);

    Bitmap same(50, 50);
    same.canvas().brush().setColor(clWhite);
    same.canvas().floodFill(10, 10, clWhite, FillStyle::fsSurface);
    EXPECT_EQ(same.pixel(49, 49), clWhite);

    Bitmap hatch(16, 16);
    hatch.canvas().brush().setColor(clBlack);
    hatch.canvas().brush().setStyle(BrushStyle::bsHorizontal);
    hatch.canvas().floodFill(0, 0, clWhite, FillStyle::fsSurface);
    for (int y = 0; y < 16; ++y) EXPECT_EQ(hatch.pixel(9, y), y % 8 == 3 ? clBlack : clWhite);

    Bitmap clear(8, 8);
    clear.canvas().brush().setStyle(BrushStyle::bsClear);
    clear.canvas().floodFill(0, 0, clWhite, FillStyle::fsSurface);
    EXPECT_EQ(clear.pixel(0, 0), clWhite);
}

TEST(Fill, FloodFillOnIndexedFormats) {
    for (PixelFormat f : {PixelFormat::pf24bit, PixelFormat::pf8bit, PixelFormat::pf4bit, PixelFormat::pf1bit}) {
        Bitmap b = picture({"....#...", "....#...", "#####...", "........"});
        b.setPixelFormat(f);
        b.canvas().brush().setColor(clBlack);
        // Indexed formats compare with the entry a colour would be stored as: near-white is white.
        const TColor c = f == PixelFormat::pf24bit ? clWhite : rgb(250, 250, 250);
        b.canvas().floodFill(0, 0, c, FillStyle::fsSurface);
        EXPECT_EQ(row(b, 0), "#####...") << pixelFormatName(f);
        EXPECT_EQ(row(b, 1), "#####...") << pixelFormatName(f);
        EXPECT_EQ(row(b, 3), "........") << pixelFormatName(f);
    }
}

TEST(Fill, FloodFillLongWindingRegionWithoutRecursion) {
    // A serpentine corridor one pixel wide: hundreds of thousands of one-pixel spans.
    const int w = 1023, h = 1024;
    Bitmap b(w, h);
    for (int x = 1; x < w; x += 2) {
        const int gap = (x / 2) % 2 ? 0 : h - 1;
        for (int y = 0; y < h; ++y)
            if (y != gap) b.setPixel(x, y, clBlack);
    }
    b.canvas().brush().setColor(clRed);
    b.canvas().floodFill(0, 0, clWhite, FillStyle::fsSurface);
    for (int x = 0; x < w; x += 2) {
        ASSERT_EQ(b.pixel(x, 0), clRed) << x;
        ASSERT_EQ(b.pixel(x, h / 2), clRed) << x;
    }
    EXPECT_EQ(b.pixel(1, 5), clBlack);
    EXPECT_EQ(b.pixel(1, h - 1), clRed);  // the first wall's gap is at the bottom
}

TEST(Fill, FloodFillWholeLargeImage) {
    Bitmap b(4096, 4096);
    b.canvas().brush().setColor(clBlue);
    b.canvas().floodFill(2000, 3000, clWhite, FillStyle::fsSurface);
    for (int y = 0; y < 4096; y += 511)
        for (int x = 0; x < 4096; x += 255) ASSERT_EQ(b.pixel(x, y), clBlue);
    EXPECT_EQ(b.pixel(4095, 4095), clBlue);
}

TEST(Fill, PixelsReadAndWriteDirectly) {
    Bitmap b(3, 3);
    Canvas& c = b.canvas();
    c.pen().mode = PenMode::pmXor;  // not used by pixel writes
    c.setPixel(1, 1, clRed);
    c.setPixel(3, 0, clRed);
    c.setPixel(0, 0, clNone);
    EXPECT_EQ(c.pixel(1, 1), clRed);
    EXPECT_EQ(c.pixel(0, 0), clWhite);
    EXPECT_EQ(c.pixel(3, 0), -1);
    EXPECT_EQ(c.pixel(0, -1), -1);
}
