#include <gtest/gtest.h>

#include <functional>

#include "core/Parallel.h"
#include "core/Random.h"
#include "effects/ColorEffects.h"
#include "effects/Distortions.h"
#include "effects/ImageSize.h"
#include "effects/Ripples.h"
#include "effects/Shifts.h"
#include "effects/SliderEffects.h"
#include "../common/TestImages.h"

namespace pixoral::effects {
namespace {

using test::Bytes;
using test::fromRows;
using test::rowBytes;
using test::grey24;
using test::greyRow;

TEST(Rotate, TurnsAboutTheCentreAndFillsWhatComesFromOutsideWhite) {
    // 4 by 3, centre (2, 1). Each row is the expected grey values for the angle.
    const Bitmap src = grey24(4, {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}});
    struct Case {
        int angle;
        std::vector<Bytes> rows;
    };
    const Case cases[] = {
        {0, {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}}},
        {360, {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}}},
        // 180: (x, y) takes (4 - x, 2 - y); column 0 maps to column 4, outside.
        {180, {{255, 12, 11, 10}, {255, 8, 7, 6}, {255, 4, 3, 2}}},
        // 90: (x, y) takes (2 - (y - 1), 1 + (x - 2)) = (3 - y, x - 1).
        {90, {{255, 4, 8, 12}, {255, 3, 7, 11}, {255, 2, 6, 10}}},
        // -90: (x, y) takes (y + 1, 3 - x).
        {-90, {{255, 10, 6, 2}, {255, 11, 7, 3}, {255, 12, 8, 4}}},
    };
    for (const Case& c : cases) {
        Bitmap b = src;
        ASSERT_TRUE(rotate(b, RotateParams{c.angle}));
        EXPECT_EQ(b.pixelFormat(), PixelFormat::pf24bit);
        for (int y = 0; y < 3; ++y) EXPECT_EQ(greyRow(b, y), c.rows[y]) << c.angle << " row " << y;
    }
}

TEST(Rotate, AngleAnswersTakeAnyIntegerAndRefuseTheRest) {
    struct Case {
        const char* answer;
        int value;
        bool refused;
    } cases[] = {{"45", 45, false}, {" -720 ", -720, false}, {"0", 0, false}, {"1.5", 90, true},
                 {"abc", 90, true}, {"", 90, true},           {"99999999999", 90, true}};
    for (const Case& c : cases) {
        const PromptResult r = acceptAnswer(kRotationAnglePrompt, QString::fromLatin1(c.answer), 90);
        EXPECT_EQ(r.value, c.value) << c.answer;
        EXPECT_EQ(r.refused, c.refused) << c.answer;
    }
    EXPECT_EQ(kRotationAnglePrompt.message, QStringLiteral("Invalid Angle"));
}

TEST(Whirl, IndexPerTypeAndTheTurnAtTheCentreAndAtHalfTheWidth) {
    struct Index {
        int type, l, f;
    } indexes[] = {{0, 0, 180}, {0, 90, 90}, {1, 0, 90}, {2, 50, 180}, {3, 100, 0}, {4, 13, 106}, {5, 25, 120},
                   {6, 13, 93},  {7, 25, 95},  {8, 0, 0},   {8, 95, 5},  {9, 50, 5}, {10, 30, 5},  {11, 50, 40},
                   {11, 95, 5},  {0, 500, 0}, {1, 500, 180}};
    for (const Index& c : indexes) EXPECT_EQ(whirlIndex(c.type, c.l), c.f) << c.type << " " << c.l;

    // 9 by 9, centre (4, 4); the pixel right of the centre is red. Whirl In turns the centre
    // by 90 degrees (and, index 90 at l = 90, leaves the distance W/2 in place); Whirl Band 90
    // turns the centre by -90 degrees.
    const WhirlTable table = makeWhirlTable();
    Bitmap src(9, 9, PixelFormat::pf24bit);
    src.setPixel(5, 4, clRed);
    Bitmap in = src;
    ASSERT_TRUE(whirl(in, 0, table));
    EXPECT_EQ(in.pixel(4, 3), clRed);  // (4, 3) takes (4 + 1, 4): the red pixel turned to above
    Bitmap band = src;
    ASSERT_TRUE(whirl(band, 8, table));
    EXPECT_EQ(band.pixel(4, 5), clRed);  // the other way round
    EXPECT_EQ(band.pixelFormat(), PixelFormat::pf24bit);
}

TEST(Projection, GlobeCornersAndCylinderRows) {
    // A grey ramp, 9 by 9: the corners lie beyond R = 4 and move nowhere.
    Bitmap src(9, 9, PixelFormat::pf24bit);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) src.setPixel(x, y, rgb(20 * x, 20 * y, 0));
    struct Case {
        bool retain;
        TColor corner;
    } cases[] = {{false, clWhite}, {true, rgb(0, 0, 0)}};
    for (const Case& c : cases) {
        Bitmap g = src;
        ASSERT_TRUE(globe(g, ProjectionParams{0.75, true, c.retain}));
        EXPECT_EQ(g.pixel(0, 0), c.corner) << c.retain;
        // (4, 0) is 4 from the centre: s = sin(3 pi / 8) moves it 4 down, onto the centre,
        // and as the last pixel walked it stays there.
        EXPECT_EQ(g.pixel(4, 4), src.pixel(4, 0)) << c.retain;
    }
    // Cylinder Horizontal, factor 1. Sine: the edge rows keep their place and the rows next
    // to the middle land on it, row 3 last. Cosine: the edge rows land on the middle row (row
    // 0 last) and row 1 lands on row 3.
    Bitmap sine = src, cosine = src;
    ASSERT_TRUE(cylinder(sine, true, ProjectionParams{1.0, true, false}));
    ASSERT_TRUE(cylinder(cosine, true, ProjectionParams{1.0, false, false}));
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(sine.pixel(x, 0), src.pixel(x, 0)) << x;
        EXPECT_EQ(sine.pixel(x, 8), src.pixel(x, 8)) << x;
        EXPECT_EQ(sine.pixel(x, 4), src.pixel(x, 3)) << x;
        EXPECT_EQ(cosine.pixel(x, 4), src.pixel(x, 0)) << x;
        EXPECT_EQ(cosine.pixel(x, 3), src.pixel(x, 1)) << x;
    }
}

// Rows of 8-bit bytes 10 r + i, so every byte tells where it came from.
Bitmap numbered(int w, int h) {
    Bitmap b(w, h, PixelFormat::pf8bit);
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < w; ++i) b.scanLine(y)[i] = static_cast<std::uint8_t>(10 * y + i);
    return b;
}

TEST(Ripple, OffsetRipplesPushBytesDownByTheirStep) {
    // 4 bytes by 5 rows, h = 2: rows 0..2 are pushed; Tooth steps 0, 1, 2, 0 and Triangle
    // 0, 1, 2, 1 along the row.
    struct Case {
        OffsetRipple kind;
        std::vector<Bytes> rows;
    };
    const Case cases[] = {
        {OffsetRipple::Tooth, {{0, 1, 2, 3}, {10, 1, 12, 13}, {20, 11, 2, 23}, {30, 21, 12, 33}, {40, 41, 22, 43}}},
        {OffsetRipple::Triangle, {{0, 1, 2, 3}, {10, 1, 12, 3}, {20, 11, 2, 13}, {30, 21, 12, 23}, {40, 41, 22, 43}}},
    };
    for (const Case& c : cases) {
        Bitmap b = numbered(4, 5);
        offsetRipple(b, c.kind, 2);
        for (int y = 0; y < 5; ++y) EXPECT_EQ(rowBytes(b, y), c.rows[y]) << static_cast<int>(c.kind) << " row " << y;
    }
    // Random offsets stay below h: every byte comes from its own row or one of the h - 1 above.
    random::seed(7);
    const Bitmap src = numbered(40, 12);
    Bitmap r = src;
    offsetRipple(r, OffsetRipple::Random, 3);
    int moved = 0;
    for (int y = 0; y < 12; ++y)
        for (int i = 0; i < 40; ++i) {
            const int from = (r.scanLine(y)[i] - i) / 10;
            EXPECT_TRUE(from <= y && from > y - 3) << y << " " << i;
            moved += from != y;
        }
    EXPECT_GT(moved, 0);
    // Too few rows for the height: nothing moves.
    Bitmap shallow = numbered(4, 2);
    offsetRipple(shallow, OffsetRipple::Tooth, 2);
    EXPECT_EQ(rowBytes(shallow, 1), (Bytes{10, 11, 12, 13}));
}

TEST(Ripple, WavesMoveTheMiddleBandByTheirCurve) {
    // h = 4, 14 rows: rows 4 and 5 are the band; byte i of row y lands on row y + 4 + g(i).
    // g by byte index, worked out by hand from k = pi / 8 (m = 2 for Inference).
    struct Case {
        WaveRipple kind;
        std::vector<int> g;
    };
    const Case cases[] = {
        {WaveRipple::Wave, {0, 0, 2, 3, 4}},
        {WaveRipple::WaveExtra, {0, 0, 1, 2, 1}},
        {WaveRipple::WaveInference, {0, 0, 1, 3, 3}},
    };
    const Bitmap src = numbered(5, 14);
    for (const Case& c : cases) {
        Bitmap b = src;
        ASSERT_TRUE(waveRipple(b, c.kind, 4, 2));
        for (int y = 0; y < 14; ++y)
            for (int i = 0; i < 5; ++i) {
                const int from = y - 4 - c.g[i];
                const int want = (from == 4 || from == 5) ? 10 * from + i : 10 * y + i;
                EXPECT_EQ(b.scanLine(y)[i], want) << static_cast<int>(c.kind) << " " << y << " " << i;
            }
        // Height 100 needs 301 rows: on 300 nothing changes.
        Bitmap tall = numbered(5, 300);
        const Bitmap before = tall;
        ASSERT_TRUE(waveRipple(tall, c.kind, 100, 2));
        for (int y = 0; y < 300; ++y) ASSERT_EQ(rowBytes(tall, y), rowBytes(before, y)) << y;
    }
}

TEST(Parallel, RowsSplitOverManyBandsGiveTheSameBytesAsOne) {
    // A picture with no two rows alike, odd sizes so the bands do not divide it evenly.
    Bitmap src(37, 29, PixelFormat::pf24bit);
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 37; ++x) src.setPixel(x, y, rgb(7 * x + y, 9 * y, 3 * x * y));
    const WhirlTable table = makeWhirlTable();
    struct Case {
        const char* name;
        std::function<void(Bitmap&)> run;
    };
    const Case cases[] = {
        {"rotate 30", [](Bitmap& b) { rotate(b, RotateParams{30}); }},
        {"whirl in", [&](Bitmap& b) { whirl(b, 0, table); }},
        {"whirl revert", [&](Bitmap& b) { whirl(b, 11, table); }},
        {"globe", [](Bitmap& b) { globe(b, ProjectionParams{1.0, true, false}); }},
        {"globe cos retained", [](Bitmap& b) { globe(b, ProjectionParams{0.5, false, true}); }},
        {"cylinder vertical", [](Bitmap& b) { cylinder(b, false, ProjectionParams{0.75, true, false}); }},
        {"flip right", [](Bitmap& b) { flip(b, Direction::Right); }},
        {"flip down", [](Bitmap& b) { flip(b, Direction::Down); }},
        // Noise gives each row its own stream of one key, so a seed repeats on any core count.
        {"colour noise", [](Bitmap& b) { random::seed(5); colorNoise(b, 120); }},
        {"mono noise", [](Bitmap& b) { random::seed(5); monoNoise(b, 120); }},
        {"to 8 bits", [](Bitmap& b) { convertPixelFormat(b, PixelFormat::pf8bit); }},
        // Rows that write other rows: mirrors, and a wave that scatters each row's bytes.
        {"mirror down", [](Bitmap& b) { mirrorHalf(b, Direction::Down); }},
        {"mirror up", [](Bitmap& b) { mirrorHalf(b, Direction::Up); }},
        {"mirror left", [](Bitmap& b) { mirrorHalf(b, Direction::Left); }},
        {"mirror quad", [](Bitmap& b) { mirrorQuad(b); }},
        {"wave", [](Bitmap& b) { waveRipple(b, WaveRipple::Wave, 2, 1); }},
        // Ripples that push bytes down share out byte columns; Random skips ahead in its streams.
        {"tooth", [](Bitmap& b) { offsetRipple(b, OffsetRipple::Tooth, 3); }},
        {"triangle", [](Bitmap& b) { offsetRipple(b, OffsetRipple::Triangle, 3); }},
        {"random ripple", [](Bitmap& b) { random::seed(5); offsetRipple(b, OffsetRipple::Random, 3); }},
        {"seamless", [](Bitmap& b) { seamless(b); }},
        {"move left", [](Bitmap& b) { moveBytes(b, Direction::Left); }},
        {"invert", [](Bitmap& b) { invert(b); }},
        {"grayscale", [](Bitmap& b) { grayscale(b); }},
        {"saturation", [](Bitmap& b) { saturation(b, 60); }},
        {"contrast", [](Bitmap& b) { contrast(b, 60); }},
    };
    for (const Case& c : cases) {
        Bitmap one = src, many = src;
        parallel::bandLimit() = 1;
        c.run(one);
        parallel::bandLimit() = 7;
        c.run(many);
        parallel::bandLimit() = 0;
        bool changed = false;
        for (int y = 0; y < 29; ++y) {
            ASSERT_EQ(rowBytes(one, y), rowBytes(many, y)) << c.name << " row " << y;
            changed = changed || rowBytes(one, y) != rowBytes(src, y);
        }
        EXPECT_TRUE(changed) << c.name;
    }
    // Pixelize goes through the canvas's stretch, which splits only pictures of some size.
    Bitmap big(300, 260, PixelFormat::pf24bit);
    for (int y = 0; y < 260; ++y)
        for (int x = 0; x < 300; ++x) big.setPixel(x, y, rgb(x, y, x ^ y));
    Bitmap one = big, many = big;
    parallel::bandLimit() = 1;
    ASSERT_TRUE(pixelize(one, 7));
    parallel::bandLimit() = 5;
    ASSERT_TRUE(pixelize(many, 7));
    parallel::bandLimit() = 0;
    for (int y = 0; y < 260; ++y) ASSERT_EQ(rowBytes(one, y), rowBytes(many, y)) << "pixelize row " << y;
    EXPECT_EQ(one.pixel(8, 0), one.pixel(12, 6));  // one block
}

TEST(Distortions, DevicePicturesTurnAsTheir24BitCopiesDo) {
    Bitmap device(23, 17, PixelFormat::Device);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x) device.setPixel(x, y, rgb(11 * x, 13 * y, x * y));
    const WhirlTable table = makeWhirlTable();
    for (int type : {-1, 0, 9}) {
        Bitmap fromDevice = device, from24 = device;
        from24.setPixelFormat(PixelFormat::pf24bit);
        for (Bitmap* b : {&fromDevice, &from24})
            ASSERT_TRUE(type < 0 ? rotate(*b, RotateParams{33}) : whirl(*b, type, table));
        ASSERT_EQ(fromDevice.pixelFormat(), PixelFormat::pf24bit);
        for (int y = 0; y < 17; ++y) ASSERT_EQ(rowBytes(fromDevice, y), rowBytes(from24, y)) << type << " row " << y;
    }
}

}  // namespace
}  // namespace pixoral::effects
