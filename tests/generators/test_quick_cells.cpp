// Quick Cells: the nine rules, the first row's bit cells and seeds, and the Split rows.
#include <gtest/gtest.h>

#include <algorithm>

#include "../common/TestImages.h"
#include "core/Random.h"
#include "generators/QuickCells.h"

using namespace pixoral;
using namespace pixoral::generators;
using test::Bytes;
using test::rowBytes;

namespace {

CellSettings rule(int index, std::uint8_t bits = 1) {
    CellSettings s;
    s.rule = index;
    s.bits = bits;
    return s;
}

}  // namespace

TEST(QuickCells, EachRuleCombinesItsNeighboursAndWritesWhereItSays) {
    // r = above, s = above left, t = just made to the left.
    constexpr std::uint8_t r = 0x0F, s = 0x33, t = 0x55;
    struct Case {
        const char* name;
        std::uint8_t expected;
        bool mirrored;
    };
    const Case cases[kCellRuleCount] = {
        {"pat0", 0x3C, false}, {"pat1", 0x5A, false}, {"pat2", 0x66, false},
        {"pat3", 0xC3, false}, {"pat4", 0xA5, false}, {"pat5", 0x99, false},
        {"pat6", 0x3C, true},  {"pat7", 0x5A, true},  {"pat8", 0x99, true},
    };
    for (int i = 0; i < kCellRuleCount; ++i) {
        const CellRule& rl = cellRules()[i];
        EXPECT_STREQ(rl.name, cases[i].name);
        EXPECT_EQ(rl.apply(r, s, t), cases[i].expected) << rl.name;
        EXPECT_EQ(rl.mirrored, cases[i].mirrored) << rl.name;
    }
}

TEST(QuickCells, Pat0FromOneBitGrowsASierpinskiTriangle) {
    Bitmap pic(40, 33);
    ASSERT_TRUE(drawCells(rule(0), pic));
    ASSERT_EQ(pic.pixelFormat(), PixelFormat::pf8bit);
    EXPECT_EQ(pic.width(), 40);
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            // Row 0 is the seed; below, Pascal's triangle mod 2 one column to the right of it
            // (each row's first byte is B0): C(y-1, x-1) is odd when x-1's bits lie in y-1's.
            const bool set = y == 0 ? x == 0 : x >= 1 && ((x - 1) & ~(y - 1)) == 0;
            ASSERT_EQ(pic.scanLine(y)[x], set ? 255 : 0) << x << "," << y;
        }
}

TEST(QuickCells, Pat6FillsFromTheRightEdgeAndKeepsColumnZero) {
    Bitmap pic(16, 8);
    ASSERT_TRUE(drawCells(rule(6), pic));
    EXPECT_EQ(rowBytes(pic, 1), (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255}));
    for (int y = 1; y < pic.height(); ++y) EXPECT_EQ(pic.scanLine(y)[0], 0) << y;
}

TEST(QuickCells, FirstRowBitCellsStayInsideTheRow) {
    struct Case {
        int width, position;
        std::uint8_t bits;
        Bytes row0;
    };
    const Case cases[] = {
        {10, 1, 0b1000'0101, {0, 9, 0, 9, 0, 0, 0, 0, 9, 0}},
        // The position is held back so all eight cells fit: they start at W - 8.
        {10, 200, 0b1000'0001, {0, 0, 9, 0, 0, 0, 0, 0, 0, 9}},
        // Narrower than eight: the cells that would fall before column 0 are skipped.
        {5, 0, 0b1111'1111, {9, 9, 9, 9, 9}},
        {5, 0, 0b0000'0111, {0, 0, 0, 0, 0}},
        {1, 0, 0b1000'0000, {9}},
    };
    for (const Case& c : cases) {
        CellSettings s = rule(1, c.bits);
        s.b1 = 9;
        s.position = c.position;
        Bitmap pic(c.width, 3);
        ASSERT_TRUE(drawCells(s, pic));
        EXPECT_EQ(rowBytes(pic, 0), c.row0) << c.width << " " << c.position;
    }
}

TEST(QuickCells, RandomSeedsOneToTenCellsFromTheProgramsGenerator) {
    CellSettings s = rule(0, 0);
    s.random = true;
    Bitmap a(300, 2), b(300, 2);
    random::seed(11);
    ASSERT_TRUE(drawCells(s, a));
    random::seed(11);
    ASSERT_TRUE(drawCells(s, b));
    EXPECT_EQ(rowBytes(a, 0), rowBytes(b, 0));
    const Bytes row = rowBytes(a, 0);
    const auto seeds = std::count(row.begin(), row.end(), 255);
    EXPECT_GE(seeds, 1);
    EXPECT_LE(seeds, kCellRandomSeedsMax);
}

TEST(QuickCells, SplitReadsTheMirroredRowStillHoldingThePicture) {
    // Row b reads row H - b: row 1 reads the picture's own row 3, row 2 itself as it is being
    // written, row 3 the new row 1.
    Bitmap pic = test::fromRows(4, PixelFormat::pf8bit, {{1, 1, 1, 1}, {2, 2, 2, 2}, {6, 3, 5, 12}, {0, 7, 1, 4}});
    CellSettings s = rule(0, 0);
    s.split = true;
    s.b0 = 0;
    ASSERT_TRUE(drawCells(s, pic));
    EXPECT_EQ(rowBytes(pic, 1), (Bytes{0, 7 ^ 0, 1 ^ 7, 4 ^ 1}));
    // Row 2 in place: c=1 reads old 3 and 0 (just written), c=2 reads old 5 and new row2[1].
    const std::uint8_t r21 = 0 ^ 3, r22 = r21 ^ 5, r23 = r22 ^ 12;
    EXPECT_EQ(rowBytes(pic, 2), (Bytes{0, r21, r22, r23}));
    EXPECT_EQ(rowBytes(pic, 3), (Bytes{0, 7, 7 ^ 6, 6 ^ 5}));
}

TEST(QuickCells, NoRuleOrNoPictureLeavesThePictureAsItWas) {
    Bitmap pic(8, 8);
    EXPECT_FALSE(drawCells(CellSettings{}, pic));
    EXPECT_FALSE(drawCells(rule(kCellRuleCount), pic));
    EXPECT_EQ(pic.pixelFormat(), PixelFormat::Device);
    Bitmap empty;
    EXPECT_FALSE(drawCells(rule(0), empty));
}
