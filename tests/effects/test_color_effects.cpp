#include <gtest/gtest.h>

#include "effects/ColorEffects.h"
#include "effects/EffectParams.h"
#include "../common/TestImages.h"

using namespace pixoral;
using namespace pixoral::effects;
using pixoral::test::Bytes;

namespace {

// A 5-pixel-wide image of distinct colours, so every row has padding after its pixel bytes.
Bitmap colourful(PixelFormat f) {
    Bitmap b(5, 3, PixelFormat::pf24bit);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) b.setPixel(x, y, kStandardColors[(x + 5 * y) % 16]);
    if (f != PixelFormat::pf24bit) b.setPixelFormat(f);
    return b;
}

}  // namespace

TEST(Invert, EveryPixelInvertedInEachFormatAndPaddingUntouched) {
    for (PixelFormat f : {PixelFormat::pf24bit, PixelFormat::Device, PixelFormat::pf8bit}) {
        SCOPED_TRACE(pixelFormatName(f));
        Bitmap b = colourful(f);
        const Bitmap before(b);
        for (int y = 0; y < b.height(); ++y)
            for (int i = b.rowDataBytes(); i < b.bytesPerLine(); ++i) b.scanLine(y)[i] = 0xAB;
        invert(b);
        ASSERT_EQ(b.pixelFormat(), f);
        for (int y = 0; y < b.height(); ++y) {
            for (int x = 0; x < b.width(); ++x) {
                if (f == PixelFormat::pf8bit) {
                    EXPECT_EQ(b.scanLine(y)[x], 255 - before.scanLine(y)[x]) << x << "," << y;
                }
                // In 8 bits too: the palette mirrors complements.
                EXPECT_EQ(b.pixel(x, y), 0xFFFFFF ^ before.pixel(x, y)) << x << "," << y;
                if (f == PixelFormat::Device) {
                    EXPECT_EQ(b.scanLine(y)[4 * x + 3], 0xFF);  // the reserved byte stays
                }
            }
            for (int i = b.rowDataBytes(); i < b.bytesPerLine(); ++i) EXPECT_EQ(b.scanLine(y)[i], 0xAB);
        }
        invert(b);
        for (int y = 0; y < b.height(); ++y) EXPECT_EQ(test::rowBytes(b, y), test::rowBytes(before, y));
    }
}

TEST(Invert, AfterASwapThatLeavesEightBitsWhiteBecomesBlack) {
    Bitmap b(3, 2);
    ASSERT_TRUE(shuffleChannels(b, ChannelShuffle::SwapRB));
    ASSERT_EQ(b.pixelFormat(), PixelFormat::pf8bit);
    invert(b);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(b.pixel(x, y), clBlack) << x << "," << y;
}

TEST(Invert, OneBitRowsCoverTheLastPartialByteButNotThePadding) {
    Bitmap b(10, 2, PixelFormat::pf1bit);  // white: 10 bits in 2 bytes, padded to 4
    ASSERT_EQ(b.rowDataBytes(), 2);
    b.setPixel(9, 1, clBlack);
    for (int y = 0; y < 2; ++y) b.scanLine(y)[2] = b.scanLine(y)[3] = 0x5A;
    invert(b);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(b.pixel(x, y), (x == 9 && y == 1) ? clWhite : clBlack) << x << "," << y;
        EXPECT_EQ(b.scanLine(y)[2], 0x5A);
        EXPECT_EQ(b.scanLine(y)[3], 0x5A);
    }
}

TEST(Invert, FourBitIndexesMapToTheirComplements) {
    Bitmap b(3, 1, PixelFormat::pf4bit);  // 3 nibbles in 2 bytes
    ASSERT_EQ(b.rowDataBytes(), 2);
    b.setPixel(0, 0, clBlack);
    b.setPixel(1, 0, clMaroon);
    invert(b);
    EXPECT_EQ(b.pixel(0, 0), clWhite);
    EXPECT_EQ(b.pixel(1, 0), clAqua);
    EXPECT_EQ(b.pixel(2, 0), clBlack);
}

TEST(Grayscale, WeightedAndRoundedIn24Bits) {
    struct Case {
        TColor in;
        int grey;
    };
    const Case cases[] = {
        {clLime, 150}, {clBlue, 28}, {clRed, 77}, {clWhite, 255}, {clBlack, 0}, {rgb(10, 20, 30), 18}, {rgb(1, 1, 2), 1},
    };
    Bitmap b(static_cast<int>(std::size(cases)), 1);  // device format, as a new image
    for (int i = 0; i < b.width(); ++i) b.setPixel(i, 0, cases[i].in);
    grayscale(b);
    EXPECT_EQ(b.pixelFormat(), PixelFormat::pf24bit);
    for (int i = 0; i < b.width(); ++i) EXPECT_EQ(b.pixel(i, 0), rgb(cases[i].grey, cases[i].grey, cases[i].grey)) << i;
}

TEST(ChannelShuffle, BytesMoveAsTheTableSays) {
    struct Case {
        ChannelShuffle how;
        Bytes out;
    };
    const Case cases[] = {
        {ChannelShuffle::RollRGB, {2, 3, 1}},
        {ChannelShuffle::SwapRG, {2, 1, 3}},
        {ChannelShuffle::SwapGB, {1, 3, 2}},
        {ChannelShuffle::SwapRB, {3, 2, 1}},
    };
    for (const Case& c : cases) {
        Bitmap b = test::fromRows(2, PixelFormat::pf24bit, {{1, 2, 3, 1, 2, 3}});
        shuffleChannels24(b, c.how);
        Bytes expect = c.out;
        expect.insert(expect.end(), c.out.begin(), c.out.end());
        EXPECT_EQ(test::rowBytes(b, 0), expect) << static_cast<int>(c.how);
    }
}

TEST(ChannelShuffle, MenuCommandsLeaveAnEightBitImage) {
    struct Case {
        ChannelShuffle how;
        TColor in, out;
    };
    const Case cases[] = {
        {ChannelShuffle::SwapRG, clRed, clRed},     {ChannelShuffle::SwapRG, clBlue, clLime},
        {ChannelShuffle::SwapRB, clRed, clBlue},    {ChannelShuffle::SwapGB, clLime, clRed},
        {ChannelShuffle::RollRGB, clBlue, clRed},   {ChannelShuffle::RollRGB, clWhite, clWhite},
    };
    for (const Case& c : cases) {
        Bitmap b(3, 2);
        b.canvas().brush().setColor(c.in);
        b.canvas().fillRect({0, 0, 3, 2});
        shuffleChannels(b, c.how);
        EXPECT_EQ(b.pixelFormat(), PixelFormat::pf8bit);
        EXPECT_EQ(b.pixel(2, 1), c.out) << static_cast<int>(c.how) << " " << c.in;
    }
}

TEST(ChannelShuffle, OnePassEqualsMovingBytesThenConverting) {
    for (PixelFormat f : {PixelFormat::Device, PixelFormat::pf24bit, PixelFormat::pf8bit})
        for (ChannelShuffle how : {ChannelShuffle::RollRGB, ChannelShuffle::SwapRG, ChannelShuffle::SwapGB, ChannelShuffle::SwapRB}) {
            Bitmap b(37, 5, f);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 37; ++x) b.setPixel(x, y, rgb(7 * x, 50 * y + x, 255 - 6 * x));
            Bitmap twoSteps(b);
            ASSERT_TRUE(shuffleChannels(b, how));
            ASSERT_TRUE(shuffleChannels24(twoSteps, how) && convertPixelFormat(twoSteps, PixelFormat::pf8bit));
            for (int y = 0; y < 5; ++y)
                EXPECT_EQ(test::rowBytes(b, y), test::rowBytes(twoSteps, y)) << static_cast<int>(f) << " " << static_cast<int>(how);
        }
}

TEST(Prompts, OutOfRangeAndNonNumbersKeepTheValue) {
    struct Case {
        const char* answer;
        int current;
        const NumberPrompt& prompt;
        int kept;
    };
    const Case cases[] = {
        {"300", 7, kColorBytePrompt, 7},  {"abc", 7, kColorBytePrompt, 7}, {"", 7, kColorBytePrompt, 7},
        {"255", 7, kColorBytePrompt, 255}, {"0", 7, kColorBytePrompt, 0},   {" 12 ", 7, kColorBytePrompt, 12},
        {"-1", 7, kColorBytePrompt, 7},   {"1.5", 7, kColorBytePrompt, 7}, {"16", 3, kTraceIntensityPrompt, 3},
        {"15", 3, kTraceIntensityPrompt, 15}, {"0", 3, kTraceIntensityPrompt, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(acceptAnswer(c.prompt, QString::fromLatin1(c.answer), c.current).value, c.kept) << c.answer;
}
