// Quick Button's picture: the bevel outlines, the face or backdrop under them, the caption's
// drawings and the sizes refused. The picture starts black in every case, so a pixel the
// drawing leaves alone would show.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "../common/TestSupport.h"
#include "generators/QuickButton.h"

using namespace pixoral;
using namespace pixoral::generators;

namespace {

struct ExpectedPixel {
    int x, y;
    TColor color;
};

struct BevelCase {
    const char* name;
    std::function<void(ButtonDesign&, Bitmap& backdrop)> setup;
    std::vector<ExpectedPixel> pixels;
    // Bounds of chosen colours (an empty box: the colour is nowhere).
    std::vector<std::pair<TColor, PixelBox>> boxes;
};

// The default colours: top silver, right grey, bottom black, left white, face aqua.
const BevelCase kBevelCases[] = {
    {"edge 5 on 250 by 250: five outlines inside the picture, the face fills the rest",
     [](ButtonDesign&, Bitmap&) {},
     {{0, 0, clSilver}, {248, 0, clSilver}, {249, 0, clGray}, {249, 248, clGray}, {249, 249, clBlack},
      {1, 249, clBlack}, {0, 249, clWhite}, {0, 1, clWhite}, {4, 4, clSilver}, {245, 4, clGray},
      {245, 245, clBlack}, {4, 245, clWhite}, {5, 5, clAqua}, {244, 244, clAqua}},
     {{clSilver, {0, 0, 248, 4}}, {clGray, {245, 0, 249, 248}}, {clBlack, {1, 245, 249, 249}},
      {clWhite, {0, 1, 4, 249}}, {clAqua, {5, 5, 244, 244}}}},
    {"edge 1 on a wide button",
     [](ButtonDesign& d, Bitmap&) {
         d.width = 60;
         d.height = 30;
         d.edge = 1;
     },
     {{59, 0, clGray}, {59, 29, clBlack}, {0, 29, clWhite}, {1, 1, clAqua}, {58, 28, clAqua}},
     {{clSilver, {0, 0, 58, 0}}, {clAqua, {1, 1, 58, 28}}}},
    {"edges that meet leave no face and end in one column of the left colour",
     [](ButtonDesign& d, Bitmap&) {
         d.width = 25;
         d.height = 30;
         d.edge = 30;
         d.leftColor = clRed;
     },
     {{12, 12, clRed}, {12, 17, clRed}, {11, 12, clRed}, {13, 12, clGray}},
     {{clAqua, {}}, {clWhite, {}}, {clBlack, {1, 18, 24, 29}}}},
    {"an empty backdrop draws no face: the picture's white shows",
     [](ButtonDesign& d, Bitmap&) { d.useBackdrop = true; },
     {{5, 5, clWhite}, {244, 244, clWhite}, {4, 4, clSilver}},
     {{clAqua, {}}, {clWhite, {0, 1, 244, 249}}}},
    {"a backdrop is stretched over the whole button, edges drawn over it",
     [](ButtonDesign& d, Bitmap& backdrop) {
         d.useBackdrop = true;
         d.width = 40;
         d.height = 40;
         backdrop = Bitmap(2, 2);
         backdrop.fill(clBlue);
         backdrop.setPixel(1, 1, clRed);
     },
     {{0, 0, clSilver}, {19, 19, clBlue}, {20, 20, clRed}, {34, 34, clRed}, {35, 35, clBlack}},
     {{clRed, {20, 20, 34, 34}}}},
    {"not-xor edges mix with the backdrop; the face is the backdrop as it is",
     [](ButtonDesign& d, Bitmap& backdrop) {
         d.useBackdrop = true;
         d.notXorEdges = true;
         backdrop = Bitmap(1, 1);
         backdrop.fill(clBlue);
     },
     // silver 0xC0C0C0 xor blue 0xFF0000, complemented; white edges keep blue.
     {{0, 0, 0xC03F3F}, {4, 4, 0xC03F3F}, {0, 100, clBlue}, {5, 5, clBlue}, {249, 249, 0x00FFFF}},
     {}},
};

TEST(QuickButton, BevelEdgesFaceAndBackdropDrawTheExpectedPixels) {
    for (const BevelCase& c : kBevelCases) {
        SCOPED_TRACE(c.name);
        ButtonDesign d;
        d.caption.clear();  // no fonts here: the caption's place is the pass table's concern
        Bitmap backdrop;
        c.setup(d, backdrop);
        Bitmap picture(300, 300);
        picture.fill(clMaroon);  // a colour no case draws
        QString error;
        ASSERT_TRUE(drawButton(picture, d, backdrop, &error)) << error.toStdString();
        ASSERT_EQ(picture.width(), d.width);
        ASSERT_EQ(picture.height(), d.height);
        EXPECT_EQ(countPixels(picture, clMaroon), 0);
        for (const ExpectedPixel& p : c.pixels)
            EXPECT_EQ(picture.pixel(p.x, p.y), p.color) << "(" << p.x << "," << p.y << ")";
        for (const auto& [color, box] : c.boxes) EXPECT_EQ(boundsOf(picture, color), box) << std::hex << color;
    }
}

TEST(QuickButton, CaptionPassesPutTheEffectUnderTheCaption) {
    const Point at{10, 20};
    struct Row {
        bool styled;
        CaptionStyle style;
        std::vector<CaptionPass> passes;
    };
    const Row rows[] = {
        {false, CaptionStyle::Raised, {{clNavy, at}}},
        {true, CaptionStyle::Shadow, {{clSilver, {13, 26}}, {clNavy, at}}},
        {true, CaptionStyle::Raised, {{clWhite, {9, 19}}, {clBlack, {11, 21}}, {clNavy, at}}},
        {true, CaptionStyle::Inset, {{clBlack, {9, 19}}, {clWhite, {11, 21}}, {clNavy, at}}},
    };
    for (const Row& r : rows) {
        ButtonDesign d;
        d.font.color = clNavy;
        d.shadowDx = 3;
        d.shadowDy = 6;
        d.styled = r.styled;
        d.style = r.style;
        EXPECT_EQ(captionPasses(d, at), r.passes) << static_cast<int>(r.style) << r.styled;
    }
}

TEST(QuickButton, SizesThePictureCannotHoldAreRefusedAndChangeNothing) {
    const std::pair<int, int> sizes[] = {{0, 40}, {40, 0}, {-5, 40}, {kMaxBitmapSide + 1, 40}, {20000, 20000}};
    for (const auto& [w, h] : sizes) {
        ButtonDesign d;
        d.width = w;
        d.height = h;
        Bitmap picture(30, 20);
        picture.fill(clRed);
        QString error;
        EXPECT_FALSE(drawButton(picture, d, Bitmap(), &error)) << w << "x" << h;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(picture.width(), 30);
        EXPECT_TRUE(allPixels(picture, clRed));
    }
}

}  // namespace
