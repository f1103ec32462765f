// The text tools through the mouse handlers and the Text menu's settings.
#include "ToolWindow.h"

#include "canvas/Text.h"

using namespace tooltest;

TEST(ToolText, ShadowLiesUnderTheTextMovedByTheOffsets) {
    struct Case {
        const char* path;
        QStringList answers;
        Point textOffset;  // of the text from the press point
        bool shadow;
    };
    const Case cases[] = {
        {"Toolbar>Paint Text", {}, {0, 0}, false},
        {"Text>Shadow", {}, {-2, -2}, true},
        {"Toolbar>Paint Text>Shadow dx", {"5"}, {5, -2}, true},
    };
    for (const Case& c : cases) {
        Window t;
        t.run("Toolbar>Paint Text>Text...", {"H"});
        t.run("Toolbar>Paint Text>Font...", {"Arial,20,bold"});
        t.w->settings().textFont.color = clBlue;
        t.run(c.path, c.answers);
        if (c.shadow) t.run("Toolbar>Paint Text>Shadow");
        t.drag({{30, 20}, {90, 70}});  // the text stands at the press point
        // The expected picture: the shadow at the press point, the text over it.
        Bitmap ref = referenceFor(*t.w);
        Canvas& rc = ref.canvas();
        rc.font() = t.w->settings().textFont;
        if (c.shadow) {
            rc.font().color = clSilver;
            rc.textOut(30, 20, "H");
        }
        rc.font().color = clBlue;
        rc.textOut(30 + c.textOffset.x, 20 + c.textOffset.y, "H");
        EXPECT_EQ(differingPixels(t.image(), ref), 0) << c.path;
        EXPECT_GT(countPixels(t.image(), clBlue), 20) << c.path;
        EXPECT_EQ(countPixels(t.image(), clSilver) > 0, c.shadow) << c.path;
    }
}

TEST(ToolText, RotatedCopiesTurnAboutThePressPoint) {
    Window t;
    t.run("Options>Shapes...", {"4"});
    t.run("Text>Rotate Text");
    t.w->settings().textFont.color = clRed;
    t.drag({{128, 128}, {160, 140}, {228, 28}});  // 45 degrees up and right
    Bitmap ref = referenceFor(*t.w);
    for (int a : {45, 135, 225, 315}) ref.canvas().textRotate(128, 128, t.w->settings().textFont, "Pixoral", a);
    EXPECT_EQ(differingPixels(t.image(), ref), 0);  // the rubber line is gone too
    // One copy in each quarter around the press point.
    const int quarters[4][4] = {{129, 0, 256, 127}, {0, 0, 127, 127}, {0, 129, 127, 256}, {129, 129, 256, 256}};
    for (const auto& q : quarters) {
        int red = 0;
        for (int y = q[1]; y < q[3]; ++y)
            for (int x = q[0]; x < q[2]; ++x) red += t.image().pixel(x, y) == clRed;
        EXPECT_GT(red, 20) << q[0] << "," << q[1];
    }
}

TEST(ToolText, CancelledShadowOffsetIsTheDefaultAndShadowDefaultRestores) {
    Window t;
    t.run("Toolbar>Paint Text>Shadow dx", {"7"});
    t.run("Toolbar>Paint Text>Shadow dx", {":cancel"});  // a cancelled box answers "-2"
    EXPECT_EQ(t.w->settings().shadowDx, -2);
    t.run("Toolbar>Paint Text>Shadow dy", {"4"});
    t.run("Toolbar>Paint Text>Shadow Color", {"clRed"});
    t.run("Text>Default Shadow");
    EXPECT_EQ(t.w->settings().shadowDy, -2);
    EXPECT_EQ(t.w->settings().shadowColor, clSilver);
}
