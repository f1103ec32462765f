// Image > Frames: the frame geometry, and the menu rows on the window (markers, Clip, Paste
// Clip, Save As BMP's).
#include <QWidget>
#include <climits>
#include <gtest/gtest.h>

#include "WindowFixture.h"
#include "workspace/FrameMarkers.h"
#include "workspace/Frames.h"

using namespace pixoral;

namespace {

TEST(Frames, Geometry) {
    EXPECT_EQ(frameWidth(256, 3), 85);
    EXPECT_EQ(frameRect(256, 100, 3, 3), (Rect{170, 0, 255, 100}));  // column 255 is in no frame
    EXPECT_EQ(frameWidth(2, 3), 0);
    EXPECT_LT(frameRect(256, 100, 1, INT_MIN).right, 0);  // far left of the image, no overflow
    const struct {
        int answer, count;
        std::optional<int> frame;
    } go[] = {{2, 4, 2}, {4, 4, 4}, {0, 4, std::nullopt}, {5, 4, std::nullopt}, {-1, 4, -1}};
    for (const auto& g : go) EXPECT_EQ(goToFrame(g.answer, g.count), g.frame) << g.answer;
}

TEST(FramesWindow, SetGoHide) {
    TestWindow t;
    WorkspaceSettings& s = t.w->settings();
    const struct {
        const char* answer;
        int count;
    } set[] = {{"4", 4}, {"51", 4}, {"abc", 1}, {"4", 4}};
    for (const auto& c : set) {
        t.run("Image>Frames>Set", {QString::fromLatin1(c.answer)});
        EXPECT_EQ(s.frameCount, c.count) << c.answer;
    }
    FrameMarkers& m = t.w->frameMarkers();
    EXPECT_FALSE(m.bof()->isVisible());
    t.run("Image>Frames>Go", {QStringLiteral("2")});
    EXPECT_EQ(s.currentFrame, 2);
    EXPECT_EQ(m.bof()->geometry(), QRect(64, 0, 2, 256));
    EXPECT_EQ(m.eof()->geometry(), QRect(128, 0, 2, 256));
    EXPECT_TRUE(m.eof()->isVisible());
    EXPECT_EQ(m.bof()->toolTip(), QStringLiteral("2"));
    t.run("Image>Frames>Go", {QStringLiteral("5")});  // above the count: nothing changes
    EXPECT_EQ(s.currentFrame, 2);
    t.run("Image>Frames>Hide");
    EXPECT_FALSE(m.bof()->isVisible() || m.eof()->isVisible());
}

TEST(FramesWindow, ClipAndPasteClip) {
    TestWindow t;
    t.fill(clWhite);
    t.w->canvas().brush().setColor(clRed);
    t.w->canvas().fillRect(Rect{0, 0, 10, 10});
    t.run("Image>Frames>Set", {QStringLiteral("4")});

    // Frame -1 chooses no frame: Clip and Paste Clip do nothing.
    t.run("Image>Frames>Go", {QStringLiteral("-1")});
    t.w->rangeState().range = Rect{0, 0, 10, 10};
    const Bitmap before = t.w->workspace();
    t.run("Image>Frames>Clip");
    t.run("Image>Frames>Paste Clip");
    EXPECT_EQ(t.w->rangeState().range, (Rect{0, 0, 10, 10}));
    EXPECT_TRUE(samePixels(t.w->workspace(), before));

    // The 10 by 10 red range stretched over all of frame 2.
    t.run("Image>Frames>Go", {QStringLiteral("2")});
    t.run("Image>Frames>Paste Clip");
    EXPECT_EQ(boundsOf(t.w->workspace(), clRed), (PixelBox{0, 0, 127, 255}));
    EXPECT_EQ(countPixels(t.w->workspace(), clRed), 100 + 64 * 256);
    t.run("Image>Frames>Clip");
    EXPECT_EQ(t.w->rangeState().range, (Rect{64, 0, 128, 256}));
}

TEST(FramesWindow, SaveAsBmps) {
    TestWindow t;
    t.w->canvas().brush().setColor(clNavy);
    t.w->canvas().fillRect(Rect{5, 5, 60, 200});
    t.run("Image>Frames>Save As BMP's", {t.dir.filePath(QStringLiteral("base.bmp"))});
    Bitmap saved;
    ASSERT_TRUE(saved.loadFromFile(t.dir.filePath(QStringLiteral("base1.bmp"))));
    EXPECT_TRUE(samePixels(saved, t.w->workspace()));
    EXPECT_FALSE(QFile::exists(t.dir.filePath(QStringLiteral("base2.bmp"))));

    // A folder that is not there: the first file's name in the message, nothing written.
    t.run("Image>Frames>Set", {QStringLiteral("3")});
    t.run("Image>Frames>Save As BMP's", {t.dir.filePath(QStringLiteral("none/anim.bmp"))});
    ASSERT_FALSE(t.dialogs->messages().isEmpty());
    EXPECT_TRUE(t.dialogs->messages().back().contains(QStringLiteral("anim1.bmp"))) << t.dialogs->messages().back().toStdString();
}

}  // namespace
