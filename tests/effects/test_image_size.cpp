#include <gtest/gtest.h>

#include "canvas/Canvas.h"
#include "effects/ImageSize.h"

namespace pixoral::effects {
namespace {

TEST(ImageSize, MagnifyAndReduceKeepToTheirLimits) {
    struct Case {
        const char* what;
        int w, h, n;
        bool magnifying;
        int outW, outH;
    } cases[] = {
        {"magnify x2 of 200 wide: nothing", 200, 10, 2, true, 200, 10},
        {"magnify x2 of 128 by 300", 128, 300, 2, true, 256, 600},
        {"magnify x8 of 32 by 4", 32, 4, 8, true, 256, 32},
        {"reduce x8 of 100 wide: nothing", 100, 40, 8, false, 100, 40},
        {"reduce x4 of 100 by 41", 100, 41, 4, false, 25, 10},
        {"reduce x2 of 32 by 9", 32, 9, 2, false, 16, 4},
    };
    for (const Case& c : cases) {
        Bitmap b(c.w, c.h);
        ASSERT_TRUE(c.magnifying ? magnify(b, c.n) : reduce(b, c.n)) << c.what;
        EXPECT_EQ(b.width(), c.outW) << c.what;
        EXPECT_EQ(b.height(), c.outH) << c.what;
    }
    // A result beyond the image limits is refused by name, before anything is made.
    EXPECT_FALSE(magnifyRefusal(Bitmap(32, 8000), 8).isEmpty());
    EXPECT_TRUE(magnifyRefusal(Bitmap(32, 100), 8).isEmpty());
}

TEST(ImageSize, PixelizeMakesBlocksAndTexturizeRepeatsAThumbnail) {
    // Pixelize 20 on 256 by 256: a 12 by 12 picture stretched back, blocks about 21 wide.
    Bitmap b(256, 256);
    b.canvas().brush().setColor(clRed);
    b.canvas().fillRect(Rect{0, 0, 128, 256});
    b.canvas().brush().setColor(clBlue);
    b.canvas().fillRect(Rect{128, 0, 256, 256});
    b.setPixel(3, 3, clLime);  // a lone pixel vanishes into its block
    ASSERT_TRUE(pixelize(b, 20));
    EXPECT_EQ(b.pixel(3, 3), clRed);
    EXPECT_EQ(b.pixel(0, 0), b.pixel(20, 20));
    EXPECT_EQ(b.pixel(255, 255), clBlue);

    // Texturize: the thumbnail's top-left pixel repeats at every step.
    Bitmap t(70, 50);
    t.canvas().brush().setColor(clRed);
    t.canvas().fillRect(Rect{0, 0, 8, 8});
    ASSERT_TRUE(texturize(t, 30));
    for (const Point p : {Point{0, 0}, Point{30, 0}, Point{60, 0}, Point{0, 30}, Point{60, 30}})
        EXPECT_EQ(t.pixel(p.x, p.y), clRed) << p.x << "," << p.y;
    EXPECT_EQ(t.pixel(20, 20), clWhite);

    // Left half red, right half blue: the thumbnail is 15 red columns and 15 blue ones, and
    // each pixel takes the thumbnail's column at its place in its tile; steps longer than
    // the thumbnail leave gaps, and copy modes other than copying draw tile by tile.
    for (PixelFormat f : {PixelFormat::Device, PixelFormat::pf24bit, PixelFormat::pf8bit})
        for (int step : {20, 40}) {
            Bitmap halves(90, 45, f);
            halves.canvas().brush().setColor(clRed);
            halves.canvas().fillRect(Rect{0, 0, 45, 45});
            halves.canvas().brush().setColor(clBlue);
            halves.canvas().fillRect(Rect{45, 0, 90, 45});
            Bitmap drawn(halves);
            drawn.canvas().setCopyMode(cmMergeCopy);  // with the white brush: a copy, tile by tile
            drawn.canvas().brush().setColor(clWhite);
            ASSERT_TRUE(texturize(halves, step));
            ASSERT_TRUE(texturize(drawn, step));
            for (int y = 0; y < 45; ++y)
                for (int x = 0; x < 90; ++x) {
                    const int lx = x % step, ly = y % step;
                    const TColor want = lx >= 30 || ly >= 30 ? (x < 45 ? clRed : clBlue) : (lx < 15 ? clRed : clBlue);
                    ASSERT_EQ(halves.pixel(x, y), want) << static_cast<int>(f) << " step " << step << " at " << x << "," << y;
                    ASSERT_EQ(drawn.pixel(x, y), want) << static_cast<int>(f) << " step " << step << " at " << x << "," << y;
                }
        }

    Bitmap tiny(3, 3);
    ASSERT_TRUE(pixelize(tiny, 5));  // smaller than a block: unchanged
    EXPECT_EQ(tiny.width(), 3);
}

TEST(ImageSize, SeamlessJoinsTheEdges) {
    // 7 by 7: only the last row copied to the first and the first column to the last.
    Bitmap small(7, 7, PixelFormat::pf24bit);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x) small.setPixel(x, y, rgb(10 * x, 10 * y, 0));
    const Bitmap before = small;
    seamless(small);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x) {
            const int fromY = y == 0 ? 6 : y, fromX = x == 6 ? 0 : x;
            ASSERT_EQ(small.pixel(x, y), before.pixel(fromX, fromY)) << x << "," << y;
        }
    // 8 rows: rows 1 .. q - 1 blend from the new row 0 towards row q = 2 (row 1 halfway).
    Bitmap tall(1, 8, PixelFormat::pf24bit);
    tall.setPixel(0, 7, rgb(100, 100, 100));
    tall.setPixel(0, 2, rgb(0, 0, 0));
    seamless(tall);
    EXPECT_EQ(tall.pixel(0, 0), rgb(100, 100, 100));
    EXPECT_EQ(tall.pixel(0, 1), rgb(50, 50, 50));
}

}  // namespace
}  // namespace pixoral::effects
