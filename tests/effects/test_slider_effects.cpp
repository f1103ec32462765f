#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/Random.h"
#include "effects/SliderEffects.h"
#include "../common/TestImages.h"

using namespace pixoral;
using namespace pixoral::effects;
using pixoral::test::Bytes;

namespace {

// One grey pixel per input value, the tone effect applied at position a.
Bytes toneCurve(SliderEffect e, int a, const Bytes& values) {
    Bitmap b = test::grey24(static_cast<int>(values.size()), {values});
    applySlider(e, b, a);
    return test::greyRow(b, 0);
}

}  // namespace

TEST(ToneSliders, ContrastAndBrightnessAtSeveralPositions) {
    const Bytes in = {0, 27, 100, 127, 128, 200, 255};
    struct Case {
        SliderEffect e;
        int a;
        Bytes out;
    };
    const Case cases[] = {
        {SliderEffect::Contrast, 0, in},
        {SliderEffect::Contrast, 50, {0, 8, 95, 127, 128, 214, 255}},
        {SliderEffect::Contrast, 100, {0, 0, 90, 127, 128, 228, 255}},
        {SliderEffect::Contrast, 1000, {0, 0, 90, 127, 128, 228, 255}},  // clamped to the bar's maximum
        {SliderEffect::Brightness, 0, in},
        {SliderEffect::Brightness, 50, {50, 71, 130, 152, 152, 210, 255}},
        {SliderEffect::Brightness, 100, {100, 116, 160, 177, 177, 221, 255}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toneCurve(c.e, c.a, in), c.out) << static_cast<int>(c.e) << " a=" << c.a;
}

TEST(ToneSliders, SaturationMovesTowardTheMeanTruncating) {
    struct Case {
        int a;
        Bytes out;
    };
    // (30, 60, 210) has mean 100; at 100 the distances -70, -40, 110 shrink to 100/255 of
    // themselves, truncated toward zero (-27, -15, 43).
    const Case cases[] = {{0, {100, 100, 100}}, {100, {73, 85, 143}}, {50, {87, 93, 121}}};
    for (const Case& c : cases) {
        Bitmap b = test::fromRows(1, PixelFormat::pf24bit, {{30, 60, 210}});
        saturation(b, c.a);
        EXPECT_EQ(test::rowBytes(b, 0), c.out) << c.a;
    }
}

TEST(NoiseSliders, StayInRangeAndRepeatUnderOneSeed) {
    Bitmap grey(64, 16, PixelFormat::pf24bit);
    grey.canvas().brush().setColor(rgb(128, 128, 128));
    grey.canvas().fillRect({0, 0, 64, 16});
    for (int a : {0, 1, 7, 200}) {
        Bitmap mono(grey), colour(grey);
        random::seed(42);
        monoNoise(mono, a);
        random::seed(42);
        Bitmap mono2(grey);
        monoNoise(mono2, a);
        colorNoise(colour, a);
        std::set<int> values;
        bool channelsDiffer = false;
        for (int y = 0; y < 16; ++y) {
            EXPECT_EQ(test::rowBytes(mono, y), test::rowBytes(mono2, y));
            const std::uint8_t* m = mono.scanLine(y);
            const std::uint8_t* c = colour.scanLine(y);
            for (int x = 0; x < 64; ++x) {
                // Mono noise moves the three bytes together; both lie in v - a div 2 .. v + a - 1 - a div 2.
                EXPECT_TRUE(m[3 * x] == m[3 * x + 1] && m[3 * x] == m[3 * x + 2]);
                for (int k = 0; k < 3; ++k) {
                    for (int v : {int(m[3 * x + k]), int(c[3 * x + k])}) {
                        EXPECT_GE(v, 128 - a / 2);
                        EXPECT_LE(v, std::max(128, 128 + a - 1 - a / 2));
                    }
                }
                channelsDiffer |= c[3 * x] != c[3 * x + 1] || c[3 * x] != c[3 * x + 2];
                values.insert(m[3 * x]);
            }
        }
        if (a == 0) {
            EXPECT_EQ(values.size(), 1u);
        }
        if (a == 200) {
            EXPECT_GT(values.size(), 100u);
            EXPECT_TRUE(channelsDiffer);
        }
    }
}

TEST(SplitBlur, InPlaceSamplesAndTheFarSideRule) {
    // One row: every sample row is the row itself, so bytes to the left are read blurred;
    // the last pixel's right sample is column W - x = 1.
    Bitmap row = test::grey24(4, {{0, 40, 80, 120}});
    splitBlur(row, 1);
    EXPECT_EQ(test::greyRow(row, 0), (Bytes{20, 50, 85, 67}));
    // One column: rows above are read already blurred; the bottom row's lower sample is H - y.
    Bitmap col = test::grey24(1, {{0}, {100}, {200}});
    splitBlur(col, 1);
    EXPECT_EQ(test::greyRow(col, 0)[0], 50);
    EXPECT_EQ(test::greyRow(col, 1)[0], 125);
    EXPECT_EQ(test::greyRow(col, 2)[0], 125);
    // Position 0 leaves the image as it was.
    Bitmap same = test::grey24(3, {{1, 2, 3}, {4, 5, 6}});
    splitBlur(same, 0);
    EXPECT_EQ(test::greyRow(same, 1), (Bytes{4, 5, 6}));
}

TEST(SplitBlur, MatchesAPixelByPixelReadingOfTheRule) {
    // The row loop has a straight fast path for the interior; this oracle applies the rule
    // one byte at a time, in place, in the stated order.
    auto reference = [](Bitmap& b, int a) {
        const int w = b.width(), h = b.height();
        for (int y = 0; y < h; ++y) {
            const int u = y - a < 0 ? y : y - a;
            const int d = std::min(y + a >= h ? h - y : y + a, h - 1);
            for (int x = 0; x < w; ++x) {
                const int l = x - a < 0 ? x : x - a;
                const int r = std::min(x + a >= w ? w - x : x + a, w - 1);
                for (int k = 0; k < 3; ++k)
                    b.scanLine(y)[3 * x + k] = static_cast<std::uint8_t>(
                        (b.scanLine(u)[3 * l + k] + b.scanLine(d)[3 * l + k] + b.scanLine(u)[3 * r + k] + b.scanLine(d)[3 * r + k]) >> 2);
            }
        }
    };
    random::seed(3);
    Bitmap src(23, 17, PixelFormat::pf24bit);
    for (int y = 0; y < 17; ++y)
        for (int i = 0; i < 69; ++i) src.scanLine(y)[i] = static_cast<std::uint8_t>(random::below(256));
    for (int a : {1, 3, 8, 12, 30}) {
        Bitmap fast(src), slow(src);
        splitBlur(fast, a);
        reference(slow, a);
        for (int y = 0; y < 17; ++y) EXPECT_EQ(test::rowBytes(fast, y), test::rowBytes(slow, y)) << "a=" << a << " row " << y;
    }
}

TEST(SplitBlur, OffsetsLargerThanTheImageStayInside) {
    for (int w : {1, 2, 5})
        for (int h : {1, 2, 3}) {
            Bitmap b(w, h, PixelFormat::pf24bit);
            splitBlur(b, 30);
            gaussianBlur(b, 20);
            EXPECT_EQ(b.width(), w);
        }
}

TEST(GaussianBlur, IsSplitBlurAtThreeRepeatedPositionPlusOneTimes) {
    Bitmap src(17, 11, PixelFormat::pf24bit);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 17; ++x) src.setPixel(x, y, rgb(x * 15, y * 23, (x * y) & 255));
    for (int a : {0, 2}) {
        Bitmap g(src), s(src);
        gaussianBlur(g, a);
        for (int i = 0; i <= a; ++i) splitBlur(s, 3);
        for (int y = 0; y < 11; ++y) EXPECT_EQ(test::rowBytes(g, y), test::rowBytes(s, y)) << a;
        EXPECT_NE(test::rowBytes(g, 5), test::rowBytes(src, 5));  // position 0 still blurs
    }
}

TEST(Smooth, NeighboursFromTheOtherSideAtTheBorders) {
    struct Case {
        int a;
        std::vector<Bytes> rows;
    };
    const Case cases[] = {
        {0, {{0, 20, 10}, {20, 10, 7}, {10, 7, 7}}},
        {20, {{0, 3, 0}, {3, 33, 2}, {0, 2, 0}}},
    };
    for (const Case& c : cases) {
        Bitmap b = test::grey24(3, {{0, 0, 0}, {0, 40, 0}, {0, 0, 0}});
        smooth(b, c.a);
        for (int y = 0; y < 3; ++y) EXPECT_EQ(test::greyRow(b, y), c.rows[y]) << "a=" << c.a << " row " << y;
    }
    // A uniform image stays uniform; a single row or pixel is not read outside.
    Bitmap flat = test::grey24(4, {{9, 9, 9, 9}, {9, 9, 9, 9}});
    smooth(flat, 5);
    EXPECT_EQ(test::greyRow(flat, 1), (Bytes{9, 9, 9, 9}));
    Bitmap one = test::grey24(1, {{77}});
    smooth(one, 0);
    EXPECT_EQ(test::greyRow(one, 0)[0], 77);
}

TEST(SliderPreview, ExactSize24BitAndTheImageUntouched) {
    Bitmap image(7, 5);  // device format
    image.setPixel(3, 2, clBlack);
    const Bitmap before(image);
    for (const SliderInfo& s : kSliders) {
        Bitmap p = sliderPreview(image, s.effect, s.range.max);
        EXPECT_EQ(p.width(), 7) << s.barName;
        EXPECT_EQ(p.height(), 5) << s.barName;
        EXPECT_EQ(p.pixelFormat(), PixelFormat::pf24bit);
    }
    EXPECT_EQ(image.pixelFormat(), PixelFormat::Device);
    for (int y = 0; y < 5; ++y) EXPECT_EQ(test::rowBytes(image, y), test::rowBytes(before, y));
    // Brightness at 0 on the preview equals the image.
    EXPECT_EQ(sliderPreview(image, SliderEffect::Brightness, 0).pixel(3, 2), clBlack);
}
