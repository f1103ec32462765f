// The Range menu, the copy-mode drop-down and the range tools, driven through the window's
// menu paths and mouse handlers.
#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "WindowFixture.h"
#include "workspace/TPixoralF.h"

using namespace pixoral;

namespace {

struct RangeWindow : TestWindow {
    Bitmap& ws() { return w->workspace(); }
    void setRange(Rect r) { w->rangeState().range = r; }
    // A picture where every pixel differs from its neighbours, so shifts and spills show.
    void pattern(int width, int height) {
        ASSERT_TRUE(w->setWorkspaceSize(width, height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ws().setPixel(x, y, static_cast<TColor>((x * 7 + y * 13) & 0xFF) | ((x * 3) & 0xFF) << 8 | ((y * 5) & 0xFF) << 16);
    }
    void click(Point p) { drag({p, p}); }
};

// Pixels outside `r` equal those of `before`, the ones inside satisfy `inside`.
template <class F>
::testing::AssertionResult onlyInside(const Bitmap& after, const Bitmap& before, Rect r, F inside) {
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            const bool in = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            const TColor a = after.pixel(x, y), b = before.pixel(x, y);
            if (in ? !inside(a, b, x, y) : a != b)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << a << ", was " << b << (in ? " inside" : " outside");
        }
    return ::testing::AssertionSuccess();
}

// A snapshot of the pixels (shared until the workspace is written).
Bitmap copyOf(const Bitmap& b) { return Bitmap(b); }

}  // namespace

TEST(RangeMenu, EveryItemIsBuiltAndLogicKeepsItsOrder) {
    RangeWindow f;
    TPixoralF& w = *f.w;
    for (const char* path :
         {"Range>Erase", "Range>Invert", "Range>Square>to Height", "Range>Square>to Width", "Range>Logic>And>User",
          "Range>Logic>Or>Red", "Range>Logic>Xor>Green", "Range>Select All", "Range>Tile>All", "Range>Tile>Diagonal",
          "Range>Border>Horizontal", "Range>Border>Vertical", "Range>Mirror", "Range>Stretch", "Range>Reduce",
          "Range>Split>Set Offset", "Range>Split>Horizontal", "Range>Split>Vertical", "Range>Move", "Range>Smear",
          "Range>Copy Transparent>Color", "Range>Copy Transparent>Copy", "Toolbar>Fill Selection>Mask Clip",
          "Toolbar>Copy Selection", "Toolbar>Paste Color", "Toolbar>Paste Color Inverted"}) {
        QAction* a = w.actionForPath(QString::fromUtf8(path));
        ASSERT_NE(a, nullptr) << path;
        EXPECT_TRUE(a->isEnabled()) << path;
    }
    EXPECT_EQ(w.actionForPath("Range>Select All")->shortcut(), QKeySequence("Ctrl+A"));
    auto* logicAnd = qobject_cast<QMenu*>(w.actionForPath("Range>Logic>And>Blue")->parent());
    ASSERT_NE(logicAnd, nullptr);
    QStringList andItems;
    for (QAction* a : logicAnd->actions()) andItems << a->text();
    EXPECT_EQ(andItems, QStringList({"&Blue", "&Red", "&Green", "&User"}));
}

TEST(RangeMenu, ToolItemsSelectTheirModes) {
    RangeWindow f;
    TPixoralF& w = *f.w;
    // "Paste Mask" chooses what the button selects, not the tool of the moment.
    f.run("Toolbar>Copy Selection>Paste Mask");
    EXPECT_EQ(w.settings().drawingMode, QStringLiteral("line"));
    f.run("Toolbar>Copy Selection");
    EXPECT_EQ(w.settings().drawingMode, QStringLiteral("pastemask"));
    const std::pair<const char*, const char*> tools[] = {
        {"Range>Move", "rangemove"}, {"Range>Smear", "rangesmear"}, {"Range>Copy Transparent>Copy", "transcopy"},
        {"Toolbar>Paste Color", "pastecolor"}, {"Toolbar>Paste Color Inverted", "pastecolorx"}};
    for (const auto& [path, mode] : tools) {
        f.run(path);
        EXPECT_EQ(w.settings().drawingMode, QString::fromLatin1(mode)) << path;
    }
}

TEST(RangeInvert, TwiceRestoresSelectAllInvertsAllAndEitherDragDirectionIsOneRange) {
    RangeWindow f;
    f.pattern(60, 50);
    const Bitmap start = copyOf(f.ws());
    f.run("Range>Select All");
    f.run("Range>Invert");
    EXPECT_EQ(f.ws().width(), 60);
    EXPECT_EQ(f.ws().height(), 50);
    EXPECT_TRUE(onlyInside(f.ws(), start, Rect{0, 0, 60, 50},
                           [](TColor a, TColor b, int, int) { return a == (b ^ 0xFFFFFF); }));
    f.run("Range>Invert");
    EXPECT_TRUE(samePixels(f.ws(), start));

    const Rect inside{10, 5, 40, 30};
    f.setRange(Rect{40, 30, 10, 5});  // dragged from the bottom-right corner
    f.run("Range>Invert");
    EXPECT_TRUE(onlyInside(f.ws(), start, inside, [](TColor a, TColor b, int, int) { return a == (b ^ 0xFFFFFF); }));
    f.setRange(Rect{10, 30, 40, 5});  // bottom-left to top-right
    f.run("Range>Invert");
    EXPECT_TRUE(samePixels(f.ws(), start));
}

TEST(RangeLogic, MenuItemsCombineTheRangeWithTheirColour) {
    struct Case {
        const char* path;
        TColor background;
        QStringList answers;
        std::function<bool(TColor after, TColor before)> ok;
    };
    const Case cases[] = {
        {"Range>Logic>Or>Red", clWhite, {}, [](TColor a, TColor) { return a == 0x0000FF; }},
        {"Range>Logic>And>Green", 0, {}, [](TColor a, TColor b) { return a == (b & 0x008000) && (a == 0 || a == 0x8000); }},
        {"Range>Logic>Xor>Blue", 0, {}, [](TColor a, TColor b) { return a == (b ^ 0xFF0000); }},
        {"Range>Logic>And>User", 0, {"$00F0F0F0"}, [](TColor a, TColor b) { return a == (b & 0xF0F0F0); }},
        {"Range>Logic>Or>User", 0, {":cancel"}, [](TColor a, TColor b) { return a == b; }},
    };
    for (const Case& c : cases) {
        RangeWindow f;
        if (c.background == 0) f.pattern(40, 30);
        else {
            ASSERT_TRUE(f.w->setWorkspaceSize(40, 30));
            f.fill(c.background);
        }
        const Bitmap start = copyOf(f.ws());
        f.setRange(Rect{30, 25, 5, 3});
        f.run(c.path, c.answers);
        EXPECT_TRUE(onlyInside(f.ws(), start, Rect{5, 3, 30, 25}, [&](TColor a, TColor b, int, int) { return c.ok(a, b); }))
            << c.path;
    }
}

TEST(RangeTile, AllCopiesWithoutOverlapAndClipsAtTheEdges) {
    RangeWindow f;
    f.pattern(95, 95);
    const Bitmap start = copyOf(f.ws());
    f.setRange(Rect{20, 30, 30, 40});
    f.run("Range>Tile>All");
    EXPECT_TRUE(onlyInside(f.ws(), start, Rect{0, 0, 95, 95}, [&](TColor a, TColor, int x, int y) {
        return a == start.pixel(20 + x % 10, 30 + y % 10);
    }));

}

TEST(RangeMirror, TwiceDoublesTheHeightTwiceAndReflects) {
    RangeWindow f;
    f.pattern(40, 100);
    const Bitmap start = copyOf(f.ws());
    f.setRange(Rect{5, 10, 25, 20});
    f.run("Range>Mirror");
    EXPECT_EQ(f.w->rangeState().range, (Rect{5, 10, 25, 30}));
    f.run("Range>Mirror");
    EXPECT_EQ(f.w->rangeState().range, (Rect{5, 10, 25, 50}));
    // The last row reflects the first; nothing outside the doubled range changes.
    EXPECT_TRUE(onlyInside(f.ws(), start, Rect{5, 10, 25, 50},
                           [&](TColor a, TColor, int x, int y) { return y != 49 || a == start.pixel(x, 10); }));
}

TEST(RangeMenu, EraseAndMaskClipUseTheBrushAndTheIndicator) {
    RangeWindow f;
    TPixoralF& w = *f.w;
    f.pattern(80, 60);
    const Bitmap start = copyOf(f.ws());
    f.setRange(Rect{30, 20, 10, 10});
    w.canvas().brush().setColor(clLime);
    f.run("Range>Erase");
    EXPECT_TRUE(onlyInside(f.ws(), start, Rect{10, 10, 30, 20}, [](TColor a, TColor, int, int) { return a == clLime; }));

    f.fill(clWhite);
    f.ws().setPixel(3, 4, clRed);
    w.setShapeflagColors(clBlack, clRed);
    f.setRange(Rect{0, 0, 10, 10});
    f.run("Toolbar>Fill Selection>Mask Clip");
    EXPECT_EQ(f.ws().pixel(3, 4), clWhite);
    EXPECT_EQ(f.ws().pixel(4, 4), clBlack);
    EXPECT_EQ(f.ws().pixel(10, 4), clWhite);
}

TEST(RangeTransitions, MenuRowsPaintKeepTheLoweredCountAndMaskFromImageAndFile) {
    RangeWindow f;
    TPixoralF& w = *f.w;
    f.fill(clWhite);
    f.setRange(Rect{0, 0, 40, 10});
    f.run("Range>Transition>Start Color", {"$000000FF"});
    f.run("Range>Transition>End Color", {"clBlack"});
    f.run("Range>Transition>Bands", {"10"});
    // 10 rows lower the count to 9 (kept); the steps are those of 10: red 255 - 25.5 k.
    f.run("Range>Transition>Vertical");
    EXPECT_EQ(w.settings().transitionBands, 9);
    EXPECT_EQ(f.ws().pixel(5, 0), clRed);
    EXPECT_EQ(f.ws().pixel(5, 1), rgb(230, 0, 0));  // 229.5 rounds up
    EXPECT_EQ(f.ws().pixel(5, 9), clWhite);
    EXPECT_EQ(f.ws().pixel(45, 0), clWhite);

    // The mask image is the painted workspace; a file that cannot be read leaves it so.
    f.run("Image>Mask>from Image");
    const QString bad = f.dir.filePath("bad.bmp");
    writeAll(bad, QByteArray("BM not a bitmap"));
    f.run("Image>Mask>from File", {bad});
    ASSERT_EQ(f.dialogs->pictureRequests().back().filterIndex, 5);
    EXPECT_EQ(f.dialogs->messages().size(), 1);
    f.dialogs->clearMessages();
    f.fill(clBlack);
    f.setRange(Rect{0, 0, w.workspace().width(), w.workspace().height()});
    f.run("Range>Mask>User Mask");
    EXPECT_EQ(f.ws().pixel(5, 0), clAqua);    // black OR NOT red
    EXPECT_EQ(f.ws().pixel(45, 0), clBlack);  // white in the mask: kept

    f.fill(clWhite);
    f.ws().setPixel(2, 3, clTeal);
    w.canvas().brush().setColor(clTeal);
    f.run("Image>Mask>Brush");
    EXPECT_EQ(f.ws().pixelFormat(), PixelFormat::pf1bit);
    EXPECT_EQ(f.ws().pixel(2, 3), clWhite);
    EXPECT_EQ(countPixels(f.ws(), clWhite), 1);
    EXPECT_TRUE(f.dialogs->messages().isEmpty());
}

TEST(RangeMenu, EmptyRangeChangesNothing) {
    RangeWindow f;
    f.pattern(50, 40);
    const Bitmap start = copyOf(f.ws());
    const char* paths[] = {"Range>Invert", "Range>Erase", "Range>Logic>Or>Red", "Range>Logic>Xor>Blue",
                           "Range>Tile>All", "Range>Tile>Diagonal", "Range>Border>Horizontal", "Range>Border>Vertical",
                           "Range>Mirror", "Range>Stretch", "Range>Reduce", "Range>Split>Horizontal",
                           "Range>Split>Vertical", "Toolbar>Fill Selection>Mask Clip", "Range>Transition>Conical",
                           "Range>Mask>Diamond"};
    for (const Rect r : {Rect{0, 0, 0, 0}, Rect{20, 5, 20, 30}, Rect{5, 12, 40, 12}}) {
        for (const char* p : paths) {
            f.setRange(r);
            f.run(p);
            EXPECT_TRUE(samePixels(f.ws(), start)) << p << " with " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        }
        for (const char* tool : {"Toolbar>Copy Selection", "Toolbar>Paste Color", "Range>Move", "Range>Smear",
                                 "Range>Copy Transparent>Copy"}) {
            f.run(tool);
            f.drag({{10, 10}, {20, 20}, {30, 25}});
            EXPECT_TRUE(samePixels(f.ws(), start)) << tool;
        }
    }
    EXPECT_TRUE(f.dialogs->messages().isEmpty());
}

TEST(RangeTools, PasteStampsWithShiftAndKeepsSourceInvertAfterMove) {
    RangeWindow f;
    TPixoralF& w = *f.w;
    ASSERT_TRUE(w.setWorkspaceSize(200, 100));
    f.fill(clWhite);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) f.ws().setPixel(x, y, x == y ? clRed : clBlue);
    f.setRange(Rect{5, 5, 0, 0});
    f.run("Toolbar>Copy Selection");
    const int steps = w.undoRing().storedSteps();
    f.drag({{20, 20}, {40, 20}, {60, 20}, {80, 20}}, Qt::NoModifier);
    EXPECT_EQ(w.undoRing().storedSteps(), steps + 1);  // the press
    EXPECT_EQ(f.ws().pixel(80, 20), clRed);
    EXPECT_EQ(f.ws().pixel(41, 20), clWhite);  // no stamps without Shift
    // With Shift held during the moves, each one stamps a copy.
    w.mypaintMouseDown(MouseInput{100, 50, Qt::LeftButton, {}});
    for (const int x : {110, 130}) w.mypaintMouseMove(MouseInput{x, 50, Qt::NoButton, Qt::ShiftModifier});
    w.mypaintMouseUp(MouseInput{150, 50, Qt::LeftButton, {}});
    for (const int x : {110, 130, 150}) {
        EXPECT_EQ(f.ws().pixel(x, 50), clRed) << x;
        EXPECT_EQ(f.ws().pixel(x + 1, 50), clBlue) << x;
        EXPECT_EQ(f.ws().pixel(x + 5, 50), clWhite) << x;
    }

    // Move on white shows the range's own colours where the copy ends up, removes it from
    // where it passed, and leaves the copy mode at source invert.
    f.fill(clWhite);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) f.ws().setPixel(x, y, x == y ? clRed : clBlue);
    f.run("Range>Move");
    f.drag({{100, 10}, {120, 30}, {140, 60}});
    EXPECT_EQ(f.ws().pixel(140, 60), clRed);
    EXPECT_EQ(f.ws().pixel(141, 60), clBlue);
    EXPECT_EQ(f.ws().pixel(100, 10), clWhite);
    EXPECT_EQ(f.ws().pixel(121, 30), clWhite);
    EXPECT_EQ(f.ws().pixel(0, 0), clRed);  // the range itself stays
    EXPECT_EQ(w.canvas().copyMode(), cmSrcInvert);

    // A later paste onto a non-white place still combines by exclusive-or ...
    const Rect spot{50, 50, 60, 60};
    for (int y = spot.top; y < spot.bottom; ++y)
        for (int x = spot.left; x < spot.right; ++x) f.ws().setPixel(x, y, clLime);
    f.run("Toolbar>Copy Selection");
    f.click({50, 50});
    EXPECT_EQ(f.ws().pixel(50, 50), clRed ^ clLime);
    // ... until "Copy" is chosen again.
    f.run("Toolbar>Copy Selection>Copy");
    f.click({50, 50});
    EXPECT_EQ(f.ws().pixel(50, 50), clRed);
    EXPECT_EQ(f.ws().pixel(51, 50), clBlue);

    // A range reaching past the image: its outside part leaves what the copy passes over.
    f.fill(clLime);
    f.ws().setPixel(198, 98, clRed);
    f.setRange(Rect{198, 98, 208, 108});
    f.run("Range>Move");
    f.drag({{10, 10}, {30, 30}});
    EXPECT_EQ(f.ws().pixel(30, 30), clRed ^ clLime ^ 0xFFFFFF);
    EXPECT_EQ(f.ws().pixel(31, 30), clLime ^ clLime ^ 0xFFFFFF);
    EXPECT_EQ(f.ws().pixel(35, 35), clLime);
    EXPECT_EQ(f.ws().pixel(15, 15), clLime);
}

TEST(RangeTools, PasteColourMaskAndTransparentCopyUseTheIndicatorAndBrush) {
    RangeWindow f;
    TPixoralF& w = *f.w;
    ASSERT_TRUE(w.setWorkspaceSize(100, 60));
    auto source = [&] {
        f.fill(clWhite);
        for (int x = 0; x < 10; ++x) f.ws().setPixel(x, 0, x % 2 ? clRed : clBlue);
        for (int x = 50; x < 60; ++x) f.ws().setPixel(x, 30, clAqua);
    };
    f.setRange(Rect{10, 1, 0, 0});
    w.setShapeflagColors(clBlack, clRed);

    source();
    f.run("Toolbar>Paste Color");
    f.click({50, 30});
    for (int x = 0; x < 10; ++x) EXPECT_EQ(f.ws().pixel(50 + x, 30), x % 2 ? clRed : clAqua) << x;

    source();
    f.run("Toolbar>Paste Color Inverted");
    f.click({50, 30});
    for (int x = 0; x < 10; ++x) EXPECT_EQ(f.ws().pixel(50 + x, 30), x % 2 ? (clAqua ^ clRed) : clAqua) << x;

    source();
    f.run("Toolbar>Copy Selection>Paste Mask");
    f.run("Toolbar>Copy Selection");
    f.click({50, 30});
    for (int x = 0; x < 10; ++x) EXPECT_EQ(f.ws().pixel(50 + x, 30), x % 2 ? clWhite : clBlack) << x;

    // Transparent copy: blue is made transparent and shows the lime brush instead.
    source();
    f.run("Range>Copy Transparent>Color", {"clBlue"});
    EXPECT_EQ(w.rangeState().transparentColor, clBlue);
    f.run("Range>Copy Transparent>Color", {":cancel"});
    EXPECT_EQ(w.rangeState().transparentColor, clBlue);
    w.canvas().brush().setColor(clLime);
    f.run("Range>Copy Transparent>Copy");
    f.click({50, 30});
    for (int x = 0; x < 10; ++x) EXPECT_EQ(f.ws().pixel(50 + x, 30), x % 2 ? clRed : clLime) << x;
    EXPECT_EQ(f.ws().pixel(60, 30), clWhite);
}
