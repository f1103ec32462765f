#include <gtest/gtest.h>

#include <set>

#include "core/Random.h"
#include "effects/FilterEffects.h"
#include "../common/TestImages.h"

using namespace pixoral;
using namespace pixoral::effects;
using pixoral::test::Bytes;

TEST(Trace, OneColourImageIsUnchanged) {
    Bitmap b(6, 4, PixelFormat::pf8bit);
    const Bitmap before(b);
    trace(b, {200, 15});
    EXPECT_EQ(b.pixelFormat(), PixelFormat::pf8bit);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(test::rowBytes(b, y), test::rowBytes(before, y));
}

TEST(Trace, TwoColoursMarkTheLeftSideThenBothSweeps) {
    constexpr std::uint8_t A = 0, B = 250, C = 100;
    struct Case {
        int intensity;
        std::vector<Bytes> rows;
    };
    // The first boundary marks the pixel on its left; the forward sweep stops two columns
    // short and never reaches the bottom row, the backward sweep (second pass on) does.
    const Case cases[] = {
        {1, {{A, C, B, B, B}, {A, C, B, B, B}, {A, A, B, B, B}}},
        {2, {{C, C, B, B, B}, {C, C, B, B, B}, {A, C, B, B, B}}},
    };
    for (const Case& c : cases) {
        Bitmap b = test::fromRows(5, PixelFormat::pf8bit, {{A, A, B, B, B}, {A, A, B, B, B}, {A, A, B, B, B}});
        trace(b, {C, c.intensity});
        for (int y = 0; y < 3; ++y) EXPECT_EQ(test::rowBytes(b, y), c.rows[y]) << "intensity " << c.intensity << " row " << y;
    }
}

TEST(Trace, ConvertsToEightBitsAndSurvivesTinyImages) {
    Bitmap b(4, 4);
    b.setPixel(1, 1, clBlack);
    trace(b, {0, 3});
    EXPECT_EQ(b.pixelFormat(), PixelFormat::pf8bit);
    // The Color Byte is a palette index: 255 is white, 0 black.
    for (const auto& [byte, colour] : {std::pair{255, clWhite}, std::pair{0, clBlack}}) {
        Bitmap t(4, 3);
        t.canvas().brush().setColor(clRed);
        t.canvas().fillRect({0, 0, 2, 3});
        trace(t, {byte, 1});
        EXPECT_EQ(t.pixel(1, 0), colour) << byte;
    }
    for (int w : {1, 2, 3})
        for (int h : {1, 2}) {
            Bitmap t(w, h, PixelFormat::pf8bit);
            t.scanLine(0)[0] = 7;
            trace(t, {1, 15});
        }
}

TEST(ContourAccent, NeighbourSumAgainstTheByte) {
    struct Case {
        std::vector<Bytes> in, out;
    };
    const Case cases[] = {
        // 2 + 4 + 6 + 8 > 5: the middle takes ~9 and the top-left 3 xor 7.
        {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {{4, 2, 3}, {4, 246, 6}, {7, 8, 9}}},
        // No neighbours: nothing changes.
        {{{0, 0, 0}, {0, 10, 0}, {0, 0, 0}}, {{0, 0, 0}, {0, 10, 0}, {0, 0, 0}}},
    };
    for (const Case& c : cases) {
        Bitmap b = test::fromRows(3, PixelFormat::pf8bit, {c.in[0], c.in[1], c.in[2]});
        contourAccent(b);
        for (int y = 0; y < 3; ++y) EXPECT_EQ(test::rowBytes(b, y), c.out[y]) << y;
    }
}

TEST(ContourAccent, Covers24BitRowsPastTheWidthInBytes) {
    // Two pixels are six bytes: byte 4 (green of the second pixel) lies beyond the first W.
    Bitmap b = test::fromRows(2, PixelFormat::pf24bit, {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 1, 0}});
    contourAccent(b);
    EXPECT_EQ(test::rowBytes(b, 1), (Bytes{0, 0, 0, 0, 255, 0}));
    EXPECT_EQ(test::rowBytes(b, 0), (Bytes{0, 0, 0, 0, 0, 0}));
}

TEST(ContourAccent, DeviceFormatReservedBytesStay) {
    Bitmap b(9, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x) b.setPixel(x, y, rgb(x * 29, y * 41, x * y * 7));
    contourAccent(b);
    int changed = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x) {
            EXPECT_EQ(b.scanLine(y)[4 * x + 3], 0xFF);
            changed += b.pixel(x, y) != rgb(x * 29, y * 41, x * y * 7);
        }
    EXPECT_GT(changed, 0);
}

TEST(AntiAlias, InnerPixelsAverageTheirFourNeighbours) {
    Bitmap b = test::fromRows(3, PixelFormat::pf24bit,
                              {{1, 1, 1, 10, 20, 30, 1, 1, 1}, {70, 80, 91, 255, 255, 255, 30, 40, 50}, {2, 2, 2, 50, 60, 70, 2, 2, 2}});
    const Bitmap before(b);
    antiAlias(b);
    EXPECT_EQ(test::rowBytes(b, 1), (Bytes{70, 80, 91, 40, 50, 60, 30, 40, 50}));
    EXPECT_EQ(test::rowBytes(b, 0), test::rowBytes(before, 0));
    EXPECT_EQ(test::rowBytes(b, 2), test::rowBytes(before, 2));

    // Indexed images average colours and take the nearest palette entry.
    Bitmap p(3, 3, PixelFormat::pf8bit);
    p.setPixel(1, 0, clWhite);
    p.setPixel(2, 1, clWhite);
    p.setPixel(1, 2, clBlack);
    p.setPixel(0, 1, clBlack);
    antiAlias(p);
    EXPECT_EQ(p.scanLine(1)[1], nearestHalftoneIndex(rgb(127, 127, 127)));
}

TEST(Spray, MovesColoursAroundWithoutMakingNewOnes) {
    Bitmap b(40, 30);
    b.canvas().brush().setColor(clRed);
    b.canvas().fillRect({0, 0, 20, 30});
    const Bitmap before(b);
    random::seed(7);
    spray(b);
    random::seed(7);
    Bitmap again(before);
    spray(again);
    int changed = 0;
    for (int y = 0; y < 30; ++y) {
        EXPECT_EQ(test::rowBytes(b, y), test::rowBytes(again, y));
        for (int x = 0; x < 40; ++x) {
            const TColor c = b.pixel(x, y);
            EXPECT_TRUE(c == clRed || c == clWhite);
            changed += c != before.pixel(x, y);
        }
    }
    EXPECT_GT(changed, 0);
    // With radius 1 every offset is 0: the image stays.
    Bitmap still(before);
    spray(still, 1);
    for (int y = 0; y < 30; ++y) EXPECT_EQ(test::rowBytes(still, y), test::rowBytes(before, y));
    // Packed formats go through the pixel path.
    Bitmap mask(13, 9, PixelFormat::pf1bit);
    mask.setPixel(6, 4, clBlack);
    spray(mask);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x) EXPECT_TRUE(mask.pixel(x, y) == clBlack || mask.pixel(x, y) == clWhite);
}
