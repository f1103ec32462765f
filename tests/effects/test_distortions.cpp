#include <gtest/gtest.h>

#include "effects/Distortions.h"
#include "../common/TestImages.h"

namespace pixoral::effects {
namespace {

using test::Bytes;
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

}  // namespace
}  // namespace pixoral::effects
