// Gadget rules that need no text: the button's move and resize rule, and painting a gadget
// picture into the image.
#include <gtest/gtest.h>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "workspace/ButtonFaces.h"
#include "workspace/GadgetPaint.h"
#include "../../common/TestSupport.h"

using namespace pixoral;

TEST(ButtonDrag, CornerPressResizesElsewhereMovesAndSmallPointersKeepTheWidth) {
    using S = ButtonDrag::State;
    struct Case {
        Point press, moveTo;
        S afterPress;
        ButtonDrag::Box expected;  // from a 73 by 24 button at (100, 50)
    };
    const Case cases[] = {
        {{65, 16}, {85, 30}, S::Resizing, {100, 50, 93, 38}},
        {{60, 16}, {70, 20}, S::MovePending, {110, 54, 73, 24}},
        // Below 70 the width stays; from 20 on the height follows.
        {{70, 20}, {50, 30}, S::Resizing, {100, 50, 73, 34}},
        // Near the left edge resizing stops and nothing changes.
        {{70, 20}, {1, 30}, S::Resizing, {100, 50, 73, 24}},
    };
    for (const Case& c : cases) {
        ButtonDrag d;
        ButtonDrag::Box box{100, 50, 73, 24};
        d.press(c.press.x, c.press.y, box);
        EXPECT_EQ(d.state, c.afterPress) << c.press.x;
        d.move(c.moveTo.x, c.moveTo.y, box);
        EXPECT_EQ(box.left, c.expected.left) << c.press.x << "," << c.moveTo.x;
        EXPECT_EQ(box.top, c.expected.top) << c.press.x << "," << c.moveTo.x;
        EXPECT_EQ(box.width, c.expected.width) << c.press.x << "," << c.moveTo.x;
        EXPECT_EQ(box.height, c.expected.height) << c.press.x << "," << c.moveTo.x;
        d.release();
        EXPECT_EQ(d.state, S::Idle);
        d.move(c.moveTo.x + 30, c.moveTo.y + 30, box);
        EXPECT_EQ(box.left, c.expected.left) << "moved after the release";
    }
}

TEST(GadgetPicture, PaintsAllButTheCornerColourAndOnlyInsideTheImage) {
    struct Case {
        const char* what;
        Point at;
        bool uniform;
        int expectedRed;
    };
    const Case cases[] = {
        {"uniform picture", {5, 5}, true, 0},
        {"inside", {5, 5}, false, 4 * 4},
        {"half outside, top-left", {-6, -6}, false, 2 * 2},
        {"wholly outside", {40, 40}, false, 0},
    };
    for (const Case& c : cases) {
        // A 10 by 10 blue picture with a 4 by 4 red block at (4, 4); the corner colour is blue.
        Bitmap picture = filled(10, 10, clBlue);
        if (!c.uniform)
            for (int y = 4; y < 8; ++y)
                for (int x = 4; x < 8; ++x) picture.setPixel(x, y, clRed);
        Bitmap ws = filled(20, 20, clWhite);
        paintGadgetPicture(ws.canvas(), picture, c.at);
        EXPECT_EQ(countPixels(ws, clRed), c.expectedRed) << c.what;
        EXPECT_EQ(countPixels(ws, clBlue), 0) << c.what;
        EXPECT_TRUE(picture.transparent) << c.what;
    }
}
