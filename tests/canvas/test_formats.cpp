#include <gtest/gtest.h>

#include <random>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Raster.h"
#include "../common/TestImages.h"

using namespace pixoral;

namespace {

const PixelFormat kAllFormats[] = {PixelFormat::Device, PixelFormat::pf24bit, PixelFormat::pf8bit,
                                   PixelFormat::pf4bit, PixelFormat::pf1bit};

int dist2(TColor a, TColor b) {
    const int dr = getRValue(a) - getRValue(b), dg = getGValue(a) - getGValue(b), db = getBValue(a) - getBValue(b);
    return dr * dr + dg * dg + db * db;
}

int bruteNearest(TColor c, const TColor* pal, int n) {
    int best = 0;
    for (int i = 1; i < n; ++i)
        if (dist2(c, pal[i]) < dist2(c, pal[best])) best = i;
    return best;
}

// The colour a pixel of format f holds after being given c.
TColor stored(PixelFormat f, TColor c) {
    switch (f) {
    case PixelFormat::pf8bit: return halftonePalette()[nearestHalftoneIndex(c)];
    case PixelFormat::pf4bit: return kStandardColors[nearestStandardIndex(c)];
    case PixelFormat::pf1bit: return dist2(c, clWhite) < dist2(c, clBlack) ? clWhite : clBlack;
    default: return c;
    }
}

}  // namespace

TEST(Formats, HalftonePaletteMirrorsComplements) {
    const TColor* pal = halftonePalette();
    EXPECT_EQ(pal[0], clBlack);
    EXPECT_EQ(pal[255], clWhite);
    for (TColor c : kStandardColors) EXPECT_EQ(pal[nearestHalftoneIndex(c)], c) << std::hex << c;
    for (int i = 0; i < 256; ++i) {
        // Inverting an index inverts its colour: 255 - i is the nearest entry to the complement.
        EXPECT_EQ(pal[255 - i], pal[bruteNearest(0xFFFFFF ^ pal[i], pal, 256)]) << i;
        EXPECT_EQ(nearestHalftoneIndex(pal[i]), i);  // no duplicates, so lookups are exact
    }
    EXPECT_EQ(nearestHalftoneIndex(rgb(128, 0, 0)), nearestHalftoneIndex(clMaroon));
    EXPECT_EQ(pal[nearestHalftoneIndex(rgb(255, 102, 51))], rgb(255, 102, 51));  // the cube
}

TEST(Formats, NearestColourMatchesAFullSearch) {
    std::mt19937 gen(1234);
    std::uniform_int_distribution<int> any(0, 0xFFFFFF);
    for (int i = 0; i < 30000; ++i) {
        // Random colours, plus greys and near-greys where the grey ramp and ties matter.
        TColor c = any(gen);
        if (i % 3 == 1) c = rgb(i % 256, i % 256, i % 256);
        if (i % 3 == 2) c = rgb(i % 256, (i + 1) % 256, (i + 2 * (i & 1)) % 256);
        if (i % 7 == 3) c = rgb(8 * (i % 32) + 7 * (i & 1), 8 * (i / 32 % 32), 8 * (i / 1024 % 32) + 7);  // cell edges
        ASSERT_EQ(nearestHalftoneIndex(c), bruteNearest(c, halftonePalette(), 256)) << std::hex << c;
        ASSERT_EQ(nearestStandardIndex(c), bruteNearest(c, kStandardColors, 16)) << std::hex << c;
    }
}

TEST(Formats, ALargeConversionGivesTheSameIndicesAsTheSearch) {
    // Past a million pixels the conversion switches to its table of every colour.
    constexpr int side = 1024;
    Bitmap b(side, side, PixelFormat::pf24bit);
    for (int y = 0; y < side; ++y) {
        std::uint8_t* row = b.scanLine(y);
        for (int x = 0; x < side; ++x) {
            const std::uint32_t c = (static_cast<std::uint32_t>(y * side + x) * 2654435761u) >> 8;  // spread over the cube
            row[3 * x] = static_cast<std::uint8_t>(c);
            row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    const Bitmap before(b);
    b.setPixelFormat(PixelFormat::pf8bit);
    ASSERT_EQ(b.pixelFormat(), PixelFormat::pf8bit);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            ASSERT_EQ(b.scanLine(y)[x], nearestHalftoneIndex(before.pixel(x, y))) << x << "," << y;
}

TEST(Formats, EveryConversionKeepsTheNearestColours) {
    // Colours that each format holds differently: exact, halftone-only, 16-colour-only.
    const TColor colours[] = {clBlack, clWhite, clRed, clMaroon, clSilver, clGray, rgb(51, 153, 204),
                              rgb(18, 18, 18), rgb(200, 10, 100), rgb(130, 120, 110), clTeal, rgb(1, 2, 3)};
    constexpr int n = sizeof colours / sizeof colours[0];
    for (PixelFormat from : kAllFormats) {
        for (PixelFormat to : kAllFormats) {
            Bitmap b(n + 3, 2);  // odd width: partial bytes in packed rows
            for (int x = 0; x < n; ++x) b.setPixel(x, 1, colours[x]);
            b.setPixelFormat(from);
            ASSERT_EQ(b.pixelFormat(), from);
            b.setPixelFormat(to);
            ASSERT_EQ(b.pixelFormat(), to);
            for (int x = 0; x < n; ++x) {
                const TColor want = stored(to, stored(from, colours[x]));
                ASSERT_EQ(b.pixel(x, 1), want) << pixelFormatName(from) << " -> " << pixelFormatName(to) << " x=" << x;
                ASSERT_EQ(b.pixel(x, 0), clWhite);
            }
            ASSERT_EQ(b.pixel(n + 2, 1), clWhite);
        }
    }
}

TEST(Formats, RowBytesAreTheRealLayout) {
    const struct {
        PixelFormat f;
        int width;
        int rowData;
        int stride;
    } cases[] = {
        {PixelFormat::Device, 3, 12, 12}, {PixelFormat::pf24bit, 3, 9, 12}, {PixelFormat::pf8bit, 5, 5, 8},
        {PixelFormat::pf4bit, 9, 5, 8},   {PixelFormat::pf1bit, 33, 5, 8},
    };
    for (const auto& c : cases) {
        Bitmap b(c.width, 2, c.f);
        EXPECT_EQ(b.rowDataBytes(), c.rowData) << pixelFormatName(c.f);
        EXPECT_EQ(b.bytesPerLine(), c.stride) << pixelFormatName(c.f);
    }
    Bitmap d(2, 1, PixelFormat::pf24bit);
    d.setPixel(1, 0, rgb(0x11, 0x22, 0x33));
    const std::uint8_t* r = d.scanLine(0);
    EXPECT_EQ(r[3], 0x33);  // blue, green, red
    EXPECT_EQ(r[4], 0x22);
    EXPECT_EQ(r[5], 0x11);

    Bitmap p(3, 1, PixelFormat::pf4bit);
    p.setPixel(0, 0, clRed);    // index 9
    p.setPixel(1, 0, clNavy);   // index 4
    p.setPixel(2, 0, clBlack);  // index 0
    EXPECT_EQ(p.scanLine(0)[0], 0x94);  // high nibble first
    EXPECT_EQ(p.scanLine(0)[1] >> 4, 0);
    p.scanLine(0)[1] = 0xC0;  // writing the bytes changes the pixels
    EXPECT_EQ(p.pixel(2, 0), clBlue);

    Bitmap m(10, 1, PixelFormat::pf1bit);
    m.setPixel(0, 0, clBlack);
    m.setPixel(9, 0, rgb(100, 100, 100));  // nearer black
    EXPECT_EQ(m.scanLine(0)[0], 0x7F);
    EXPECT_EQ(m.scanLine(0)[1], 0x80);

    Bitmap e(2, 1, PixelFormat::pf8bit);
    e.setPixel(0, 0, rgb(255, 102, 51));
    EXPECT_EQ(halftonePalette()[e.scanLine(0)[0]], rgb(255, 102, 51));  // the byte is the palette index
}

TEST(Formats, DrawingOnIndexedFormatsTakesTheNearestEntry) {
    for (PixelFormat f : {PixelFormat::pf8bit, PixelFormat::pf4bit, PixelFormat::pf1bit}) {
        Bitmap b(4, 1, f);
        const TColor c = rgb(250, 20, 30);
        raster::penSpan(b, 0, 0, 2, c, PenMode::pmCopy);
        EXPECT_EQ(b.pixel(0, 0), stored(f, c)) << pixelFormatName(f);
        EXPECT_EQ(b.pixel(2, 0), clWhite);
        // pmNot on white gives black in every format.
        raster::penSpan(b, 0, 2, 4, clRed, PenMode::pmNot);
        EXPECT_EQ(b.pixel(3, 0), clBlack) << pixelFormatName(f);
    }
    // Rewriting a pixel with its own colour keeps its palette index.
    Bitmap b(1, 1, PixelFormat::pf8bit);
    b.scanLine(0)[0] = 231;
    raster::penSpan(b, 0, 0, 1, clBlack, PenMode::pmNop);
    raster::penSpan(b, 0, 0, 1, halftonePalette()[231], PenMode::pmMerge);
    EXPECT_EQ(b.scanLine(0)[0], 231);
}

TEST(Formats, LongRunsMixLikeSinglePixelsInEveryModeAndFormat) {
    // Long runs take whole words (24-bit), masks (device) or a palette table (8-bit); single
    // pixels go through the plain fetch, mix and store.
    constexpr int w = 613;  // past the table's threshold, not a multiple of 8
    const TColor pen = rgb(200, 55, 9);
    for (PixelFormat f : {PixelFormat::Device, PixelFormat::pf24bit, PixelFormat::pf8bit}) {
        Bitmap start(w, 1, f);
        for (int x = 0; x < w; ++x) start.setPixel(x, 0, rgb((x * 37) & 0xFF, (x * 11) & 0xFF, (x * 5 + 3) & 0xFF));
        for (int m = 0; m < 16; ++m) {
            const auto mode = static_cast<PenMode>(m);
            Bitmap run(start), pixels(start);
            raster::penSpan(run, 0, 3, w, pen, mode);
            for (int x = 3; x < w; ++x) raster::penPixel(pixels, x, 0, pen, mode);
            ASSERT_EQ(test::rowBytes(run, 0), test::rowBytes(pixels, 0)) << pixelFormatName(f) << " mode " << m;
        }
    }
}

TEST(Formats, ToImageAndFromImage) {
    for (PixelFormat f : kAllFormats) {
        Bitmap b(5, 3, f);
        b.setPixel(4, 2, clBlack);
        const QImage img = b.toImage();
        ASSERT_EQ(img.format(), QImage::Format_RGB32);
        EXPECT_EQ(img.pixel(4, 2), 0xFF000000u);
        EXPECT_EQ(img.pixel(0, 0), 0xFFFFFFFFu);
        Bitmap c;
        c.fromImage(img);
        EXPECT_EQ(c.pixelFormat(), PixelFormat::Device);
        EXPECT_EQ(c.pixel(4, 2), clBlack);
        EXPECT_EQ(c.width(), 5);
    }
    QImage argb(2, 2, QImage::Format_ARGB32);
    argb.fill(qRgb(0x10, 0x20, 0x30));
    Bitmap c;
    c.fromImage(argb);
    EXPECT_EQ(c.pixel(1, 1), rgb(0x10, 0x20, 0x30));
}
