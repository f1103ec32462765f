#include <gtest/gtest.h>

#include <climits>

#include "canvas/Color.h"

using namespace pixoral;

TEST(Color, IdentifiersIgnoreCase) {
    const struct {
        const char* word;
        std::optional<TColor> value;
    } cases[] = {
        {"clBlack", 0x000000},       {"CLRED", 0x0000FF},         {"clnavy", 0x800000},
        {"clSilver", 0xC0C0C0},      {"clGray", 0x808080},        {"clWhite", 0xFFFFFF},
        {"clScrollBar", clSystemColor | 0}, {"clbtnface", clSystemColor | 15},
        {"clInfoBk", clSystemColor | 24},   {"cl3DDkShadow", clSystemColor | 21},
        {"clNone", 0x1FFFFFFF},      {"clGrey", std::nullopt},    {"", std::nullopt},
        {"clRed ", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(identToColor(c.word), c.value) << c.word;
}

TEST(Color, ColorToStringUsesIdentifiersElseHex) {
    // The nineteen items of the line-colour list.
    const TColor values[] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000,
                             0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF,
                             0xFFFF00, 0x00A6CAF0, 0x00C0DCC0, 0x00FFFBF0, 0xFFFFFF};
    const char* names[] = {"clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple", "clTeal",
                           "clGray", "clSilver", "clRed", "clLime", "clYellow", "clBlue", "clFuchsia",
                           "clAqua", "$00A6CAF0", "$00C0DCC0", "$00FFFBF0", "clWhite"};
    for (int i = 0; i < 19; ++i) EXPECT_EQ(colorToString(values[i]), names[i]);
    EXPECT_EQ(colorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(colorToString(clNone), "clNone");
    EXPECT_EQ(colorToString(static_cast<TColor>(0x80000019u)), "$80000019");
    EXPECT_EQ(colorToString(0x00000001), "$00000001");
    EXPECT_EQ(colorToIdent(0x123456), std::nullopt);
    // Every system colour name survives the trip through text.
    for (int i = 0; i < kSystemColorCount; ++i) {
        const TColor c = clSystemColor | i;
        ASSERT_TRUE(colorToIdent(c)) << i;
        EXPECT_EQ(stringToColor(colorToString(c)), c);
    }
}

TEST(Color, ColorWords) {
    const struct {
        const char* word;
        std::optional<TColor> value;
    } cases[] = {
        {"255", 255},          {"+5", 5},           {"-1", -1},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"2147483648", std::nullopt},
        {"$FF", 255},          {"$0000ff", 255},    {"$80000000", INT_MIN},
        {"$00A6CAF0", 0x00A6CAF0}, {"0x1F", 31},    {"$123456789", std::nullopt},
        {"$", std::nullopt},   {"-", std::nullopt}, {"1.5", std::nullopt},
        {"12a", std::nullopt}, {"$G0", std::nullopt}, {"-$10", std::nullopt},
        {"clRed", 0x0000FF},   {"CLAQUA", 0xFFFF00}, {"", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(stringToColor(c.word), c.value) << c.word;
}

TEST(Color, SystemColoursResolveToFixedValues) {
    EXPECT_EQ(colorToRGB(clBtnFace), 0xC0C0C0);
    EXPECT_EQ(colorToRGB(clBtnShadow), 0x808080);
    EXPECT_EQ(colorToRGB(clBtnHighlight), 0xFFFFFF);
    EXPECT_EQ(colorToRGB(clWindow), 0xFFFFFF);
    EXPECT_EQ(colorToRGB(clWindowText), 0x000000);
    EXPECT_EQ(colorToRGB(static_cast<TColor>(0x80000030u)), 0);  // no such system colour
    EXPECT_EQ(colorToRGB(0x02FF8040), 0xFF8040);                 // flag byte dropped
    EXPECT_EQ(getRValue(0x123456), 0x56);
    EXPECT_EQ(getGValue(0x123456), 0x34);
    EXPECT_EQ(getBValue(0x123456), 0x12);
    EXPECT_EQ(rgb(0x56, 0x34, 0x12), 0x123456);
}
