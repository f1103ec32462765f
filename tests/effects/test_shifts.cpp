#include <gtest/gtest.h>

#include "effects/Shifts.h"
#include "../common/TestImages.h"

namespace pixoral::effects {
namespace {

using test::Bytes;
using test::fromRows;
using test::grey24;
using test::greyRow;
using test::rowBytes;

std::vector<Bytes> greyRows(const Bitmap& b) {
    std::vector<Bytes> rows;
    for (int y = 0; y < b.height(); ++y) rows.push_back(greyRow(b, y));
    return rows;
}

TEST(Move, RotatesEveryPixelByteOfARowOrWholeRows) {
    // 8 bits: one pixel with wrap-around; 24 bits: one byte of every row's pixel data.
    Bitmap b8 = fromRows(4, PixelFormat::pf8bit, {{1, 2, 3, 4}, {5, 6, 7, 8}});
    moveBytes(b8, Direction::Left);
    EXPECT_EQ(rowBytes(b8, 0), (Bytes{2, 3, 4, 1}));
    moveBytes(b8, Direction::Right);
    moveBytes(b8, Direction::Right);
    EXPECT_EQ(rowBytes(b8, 1), (Bytes{8, 5, 6, 7}));
    Bitmap b24 = fromRows(2, PixelFormat::pf24bit, {{1, 2, 3, 4, 5, 6}});
    moveBytes(b24, Direction::Left);
    EXPECT_EQ(rowBytes(b24, 0), (Bytes{2, 3, 4, 5, 6, 1}));

    Bitmap rows = grey24(2, {{1, 1}, {2, 2}, {3, 3}});
    moveBytes(rows, Direction::Up);
    EXPECT_EQ(greyRows(rows), (std::vector<Bytes>{{2, 2}, {3, 3}, {1, 1}}));
    moveBytes(rows, Direction::Down);
    moveBytes(rows, Direction::Down);
    EXPECT_EQ(greyRows(rows), (std::vector<Bytes>{{3, 3}, {1, 1}, {2, 2}}));
    Bitmap one = grey24(3, {{1, 2, 3}});
    moveBytes(one, Direction::Up);  // one row: nothing to rotate
    EXPECT_EQ(greyRow(one, 0), (Bytes{1, 2, 3}));
}

TEST(Reflections, FlipsMirrorsQuadAndWedge) {
    const Bitmap src = grey24(3, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    struct Case {
        const char* what;
        void (*fn)(Bitmap&);
        std::vector<Bytes> rows;
    };
    const Case cases[] = {
        {"flip right", [](Bitmap& b) { flip(b, Direction::Right); }, {{3, 2, 1}, {6, 5, 4}, {9, 8, 7}}},
        {"flip right twice", [](Bitmap& b) { flip(b, Direction::Right), flip(b, Direction::Right); },
         {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}},
        {"flip down", [](Bitmap& b) { flip(b, Direction::Down); }, {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}}},
        {"mirror down", [](Bitmap& b) { mirrorHalf(b, Direction::Down); }, {{1, 2, 3}, {4, 5, 6}, {1, 2, 3}}},
        {"mirror up", [](Bitmap& b) { mirrorHalf(b, Direction::Up); }, {{7, 8, 9}, {4, 5, 6}, {7, 8, 9}}},
        {"mirror left", [](Bitmap& b) { mirrorHalf(b, Direction::Left); }, {{3, 2, 3}, {6, 5, 6}, {9, 8, 9}}},
        {"mirror right", [](Bitmap& b) { mirrorHalf(b, Direction::Right); }, {{1, 2, 1}, {4, 5, 4}, {7, 8, 7}}},
        {"quad top left", &mirrorQuad, {{1, 2, 1}, {4, 5, 4}, {1, 2, 1}}},
        // Rows 0..1 copy x = 0..y to the right, row 2 copies x = 0 only.
        {"wedge", &mirrorWedge, {{1, 2, 1}, {4, 5, 4}, {7, 8, 7}}},
    };
    for (const Case& c : cases) {
        Bitmap b = src;
        c.fn(b);
        EXPECT_EQ(greyRows(b), c.rows) << c.what;
    }
    EXPECT_EQ(wedgeRefusal(Bitmap(100, 80, PixelFormat::pf24bit)), QStringLiteral("image must be square"));
    EXPECT_TRUE(wedgeRefusal(src).isEmpty());
}

TEST(Shadow, ADarkerPartnerFourRowsAndBytesAwayDarkensByOneStepLess) {
    // All bytes 200 but one 10 at row 1, byte 2: Down Right sets the byte four rows lower and
    // four bytes further right to 11; Up Left sets the one four rows higher and to the left,
    // which is outside, so nothing changes.
    const int W = 9, H = 6;
    Bitmap b(W, H, PixelFormat::pf8bit);
    for (int y = 0; y < H; ++y) std::fill(b.scanLine(y), b.scanLine(y) + W, std::uint8_t(200));
    b.scanLine(1)[2] = 10;
    struct Case {
        Corner corner;
        int y, i;  // the byte that changes, or -1
    } cases[] = {{Corner::DownRight, 5, 6}, {Corner::UpLeft, -1, -1}, {Corner::DownLeft, -1, -1}, {Corner::UpRight, -1, -1}};
    for (const Case& c : cases) {
        Bitmap s = b;
        shadow(s, c.corner);
        for (int y = 0; y < H; ++y)
            for (int i = 0; i < W; ++i) {
                const int want = y == c.y && i == c.i ? 11 : b.scanLine(y)[i];
                ASSERT_EQ(s.scanLine(y)[i], want) << int(c.corner) << " " << y << "," << i;
            }
    }
}

}  // namespace
}  // namespace pixoral::effects
