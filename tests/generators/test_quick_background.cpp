#include <gtest/gtest.h>

#include "generators/QuickBackground.h"

using namespace pixoral;
using namespace pixoral::generators;

namespace {

QBSettings settings(int m, int r = 0, int g = 0, int b = 0) {
    QBSettings s;
    s.setFactor(m);
    s.offset = {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
    return s;
}

int indexOf(const char* name) {
    for (int i = 0; i < kQBFunctionCount; ++i)
        if (qbFunctionName(i) == QLatin1String(name)) return i;
    return -1;
}

}  // namespace

TEST(QBFormulas, NamesInListOrder) {
    const char* names[] = {"Prod",    "Sum",      "Sub",     "Xor",     "And",      "OutAnd",   "InAnd",
                           "OutXor",  "InXor",    "OutMod",  "InMod",   "ProdXor",  "SumXor",   "SubXor",
                           "ProdAnd", "SumAnd",   "SubAnd",  "Inner",   "Outer",    "OutRed",   "InRed",
                           "OutGreen", "InGreen", "Outblue", "InBlue",  "InModOut", "OutModIn", "OutModIn2"};
    for (int i = 0; i < kQBFunctionCount; ++i) EXPECT_EQ(qbFunctionName(i), QLatin1String(names[i])) << i;
    EXPECT_TRUE(qbFunctionName(28).isEmpty());
    EXPECT_EQ(qbFunction(-1), nullptr);
}

TEST(QBFormulas, ValuesAtChosenPoints) {
    struct Case {
        const char* name;
        int x, y;
        QBSettings s;
        std::int32_t value;
    };
    const Case cases[] = {
        {"Prod", 3, 5, settings(255), 15},
        {"Prod", 20, 20, settings(255), 400 % 255},
        {"Sum", 200, 100, settings(255), 45},
        {"Sub", 0, 1, settings(255), -1},
        {"Sub", 0, 20, settings(16), -4},  // the remainder's sign follows the dividend
        {"Xor", 5, 3, settings(255), 6},
        {"And", 6, 3, settings(255), 2},
        {"OutAnd", 300, 0, settings(255), 44},
        {"InAnd", 0, 20, settings(16), 16},
        {"OutXor", 1, 0, settings(16), 17},
        {"InXor", 0, 1, settings(16), 17},
        {"OutMod", 40, 0, settings(16), 8},
        {"InMod", 0, 40, settings(16), 8},
        {"ProdXor", 3, 5, settings(255), 240},
        {"SumXor", 1, 1, settings(255), 253},
        {"SubXor", 0, 1, settings(255), -256},
        {"ProdAnd", 3, 5, settings(16), 0},
        {"SumAnd", 10, 10, settings(16), 16},
        {"SubAnd", 0, 1, settings(255), 255},
        {"Inner", 9, 7, settings(255), 7},
        {"Outer", 9, 7, settings(255), 9},
        {"OutRed", 10, 3, settings(255, 2), 20},
        {"InRed", 10, 3, settings(255, 2), 6},
        {"OutGreen", 10, 3, settings(255, 0, 5), 50},
        {"InGreen", 10, 3, settings(255, 0, 5), 15},
        {"Outblue", 10, 3, settings(255, 0, 0, 7), 70},
        {"InBlue", 10, 3, settings(255, 0, 0, 7), 21},
        {"InModOut", 3, 50, settings(16), 2},    // divides by m = 16
        {"InModOut", 40, 50, settings(16), 10},  // divides by x = 40
        {"OutModIn", 50, 3, settings(16), 2},
        {"OutModIn", 50, 40, settings(16), 10},
        {"OutModIn2", 7, 1, settings(255), 1},
        {"OutModIn2", 0, 0, settings(255), 0},
    };
    for (const Case& c : cases) {
        const int i = indexOf(c.name);
        ASSERT_GE(i, 0) << c.name;
        EXPECT_EQ(qbValue(i, c.y, c.x, c.s), c.value) << c.name << " at " << c.x << "," << c.y;
    }
}

TEST(QBFormulas, HugeCoordinatesWrapInsteadOfOverflowing) {
    const QBSettings s = settings(255);
    for (int i = 0; i < kQBFunctionCount; ++i) (void)qbValue(i, 60000, 70000, s);
    // 60000 * 70000 wraps to 32 bits; the remainder keeps the sign of the wrapped product.
    const auto wrapped = static_cast<std::int32_t>(60000u * 70000u);
    EXPECT_EQ(qbValue(indexOf("Prod"), 60000, 70000, s), wrapped % 255);
}

TEST(QBRender, ProdGivesFifteenAtThreeFiveAndBlackEdges) {
    Bitmap b = renderBackground(settings(255), 8, 8);
    EXPECT_EQ(b.pixelFormat(), PixelFormat::pf24bit);
    EXPECT_EQ(b.pixel(3, 5), rgb(15, 15, 15));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(b.pixel(i, 0), clBlack);
        EXPECT_EQ(b.pixel(0, i), clBlack);
    }
}

TEST(QBRender, ChannelOneIsByteZeroAndSumsWrap) {
    QBSettings s = settings(255, 2, 0, 0);
    s.function = {indexOf("OutRed"), indexOf("Inner"), indexOf("Sub")};
    Bitmap b = renderBackground(s, 300, 3);
    for (int x = 0; x < 300; ++x) {
        const std::uint8_t* p = b.scanLine(2) + 3 * x;
        EXPECT_EQ(p[0], (2 * x + 2) & 255) << x;  // OutRed with R = 2, plus offset R
        EXPECT_EQ(p[1], 2);
        EXPECT_EQ(p[2], static_cast<std::uint8_t>((x - 2) % 255)) << x;  // negative values wrap
    }
    s.offset[0] = 0;
    Bitmap zero = renderBackground(s, 50, 2);
    for (int x = 0; x < 50; ++x) EXPECT_EQ(zero.scanLine(1)[3 * x], 0);
}

TEST(QBRender, InnerAndOuterAreGreyRamps) {
    QBSettings s = settings(255);
    s.function = {17, 17, 17};
    Bitmap rows = renderBackground(s, 2, 300);
    EXPECT_EQ(rows.pixel(1, 299), rgb(299 % 256, 299 % 256, 299 % 256));
    s.function = {18, 18, 18};
    Bitmap cols = renderBackground(s, 300, 2);
    EXPECT_EQ(cols.pixel(260, 1), rgb(4, 4, 4));
}

TEST(QBRender, TargetKeepsItsSizeAndBecomes24Bit) {
    Bitmap one(1, 1);
    renderBackground(settings(255, 9, 8, 7), one);
    EXPECT_EQ(one.width(), 1);
    EXPECT_EQ(one.height(), 1);
    EXPECT_EQ(one.pixelFormat(), PixelFormat::pf24bit);
    EXPECT_EQ(one.scanLine(0)[0], 9);
    EXPECT_EQ(one.scanLine(0)[2], 7);
    Bitmap empty = renderBackground(settings(255), 0, 10);
    EXPECT_TRUE(empty.isEmpty());
    // A size the machine cannot hold gives an empty image, not a crash.
    EXPECT_TRUE(renderBackground(settings(255), 1 << 20, 1 << 20).isEmpty());
    EXPECT_TRUE(renderBackground(settings(255), -5, 3).isEmpty());
}
