// The main window under the offscreen platform with scripted dialogs.
#include <QAction>
#include <QElapsedTimer>
#include <QTimer>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "WindowFixture.h"
#include "workspace/TPixoralF.h"
#include "workspace/WindowSettings.h"

using namespace pixoral;

namespace {

struct Fixture : TestWindow {
    explicit Fixture(bool show = true, bool batch = true) : TestWindow({show, batch, {}}) {}
};

}  // namespace

TEST(Window, StartsWithTheDefaults) {
    Fixture f;
    TPixoralF& w = *f.w;
    EXPECT_EQ(w.workspace().width(), 256);
    EXPECT_EQ(w.workspace().height(), 256);
    EXPECT_TRUE(allPixels(w.workspace(), clWhite));
    const Canvas& c = w.canvas();
    EXPECT_EQ(c.pen().color, clBlack);
    EXPECT_EQ(c.pen().width, 1);
    EXPECT_EQ(c.pen().mode, PenMode::pmCopy);
    EXPECT_EQ(c.brush().color(), clWhite);
    EXPECT_EQ(c.brush().style(), BrushStyle::bsClear);
    EXPECT_EQ(c.copyMode(), cmSrcCopy);
    EXPECT_EQ(c.font().name, QStringLiteral("Arial"));
    EXPECT_EQ(c.font().size, 24);
    const WorkspaceSettings& s = w.settings();
    EXPECT_EQ(s.drawingMode, QStringLiteral("line"));
    EXPECT_EQ(s.copySelectionMode, QStringLiteral("paste"));
    EXPECT_EQ(w.rangeState().range, (Rect{0, 0, 0, 0}));
    EXPECT_EQ(s.paintText, QStringLiteral("Pixoral"));
    EXPECT_EQ(s.spiralFactor, 0.99);
    EXPECT_EQ(s.buttonWidth, 88);
    EXPECT_EQ(s.transitionEnd, clNavy);
    EXPECT_NEAR(static_cast<double>(s.whirlAngles[0].sin), -1.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(s.whirlAngles[120].cos), std::sqrt(3.0) / 2, 1e-15);
    EXPECT_EQ(w.statusText(1), QStringLiteral("Pen=Copy"));
    EXPECT_EQ(w.undoRing().storedSteps(), 1);  // the first showing
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Pixoral " PIXORAL_VERSION));
    EXPECT_FALSE(w.isModified());
}

TEST(Window, LayoutHasTheGivenControlsAndSizes) {
    Fixture f;
    TPixoralF& w = *f.w;
    auto* list = w.findChild<QListWidget*>("LineColor");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->height(), 273);
    EXPECT_EQ(list->count(), 19);
    EXPECT_EQ(list->item(15)->text(), QStringLiteral("$00A6CAF0"));
    auto* flag = w.findChild<QWidget*>("shapeflag");
    ASSERT_NE(flag, nullptr);
    EXPECT_EQ(flag->size(), QSize(23, 22));
    auto* pats = w.findChild<QListWidget*>("PatList");
    ASSERT_NE(pats, nullptr);
    EXPECT_EQ(pats->width(), 25);
    EXPECT_EQ(pats->count(), 16);
    EXPECT_EQ(pats->item(15)->text(), QStringLiteral("15"));
    ASSERT_NE(w.findChild<QWidget*>("Bevel1"), nullptr);
    EXPECT_EQ(w.findChild<QWidget*>("mypaint")->size(), QSize(256, 256));
    const char* hints[] = {"Shape", "Paint Text", "Make Button", "Solid/Clear", "Line Width", "Set Pen Mode",
                           "Select Range", "Copy Selection", "Floodfill", "Fill Selection", "Pick Paint",
                           "Paste Color", "Paste Color Inverted", "Resize Image", "Clear Image", "Undo"};
    QStringList got;
    for (QToolButton* b : w.findChild<QToolBar*>("ToolBar1")->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (!b->objectName().isEmpty() && !b->objectName().startsWith("qt_")) got << b->toolTip();
    QStringList want;
    for (const char* h : hints) want << h;
    EXPECT_EQ(got, want);
    const int widths[] = {150, 150, 250, 50};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i))->width(), widths[i]);
}

TEST(Window, CommandTableNamesPathsAndKeys) {
    Fixture f;
    TPixoralF& w = *f.w;
    // Object names are unique across the window.
    QSet<QString> names;
    for (QAction* a : w.findChildren<QAction*>()) {
        if (a->objectName().isEmpty() || a->isSeparator() || a->menu()) continue;
        EXPECT_FALSE(names.contains(a->objectName())) << a->objectName().toStdString();
        names.insert(a->objectName());
    }
    struct Item {
        const char* path;
        const char* name;
        const char* key;
        bool enabled;
    };
    const Item items[] = {
        {"File>New", "New1", "", true},
        {"File>New Banner", "NewBanner1", "", true},
        {"file>open...", "Open1", "Ctrl+O", true},
        {"File>Save As", "SaveAs1", "Ctrl+S", true},
        {"Edit>Redo", "Redo1", "Ctrl+Y", true},
        {"Image>Clear Default", "ClearDefault1", "", true},
        {"Image>Effects>Grayscale", "Grayscale1", "", true},
        {"Image>Texturize>Overlap", "Overlap1", "Shift+F5", true},
        {"Image>Rotation>Rotate", "Rotate1", "Ctrl+Alt+R", true},
        {"Range>Logic>And>Blue", "Blue2", "", true},
        {"Range>Select All", "SelectAll2", "Ctrl+A", true},
        {"Options>Starpoints>7", "N71", "", true},
        {"Script>Run", "Run1", "F9", true},
        {"Help>About", "About1", "", true},
        {"Toolbar>Undo", "goUndo", "", true},
        {"Toolbar>Make Button>Make", "Make1", "", true},
        {"Toolbar>Set Pen Mode>Not Copy", "NotCopy1", "", true},
        {"Toolbar>Shape>2D Shapes>Rectangle", "Rectangle1", "", true},
    };
    for (const Item& it : items) {
        QAction* a = w.actionForPath(QString::fromUtf8(it.path));
        ASSERT_NE(a, nullptr) << it.path;
        EXPECT_EQ(a->objectName(), QString::fromUtf8(it.name)) << it.path;
        EXPECT_EQ(a->property("handler").toString(), QString::fromUtf8(it.name) + QStringLiteral("Click")) << it.path;
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromUtf8(it.key))) << it.path;
        EXPECT_EQ(a->isEnabled(), it.enabled) << it.path;
    }
    bool isMenu = false;
    EXPECT_EQ(w.actionForPath("Image>Whirl", &isMenu), nullptr);
    EXPECT_TRUE(isMenu);
    EXPECT_EQ(w.actionForPath("Image>Nothing", &isMenu), nullptr);
    EXPECT_FALSE(isMenu);
    // The second Ctrl+A only shows its key, so the two never clash.
    EXPECT_TRUE(w.actionForPath("Script>Select All")->shortcut().isEmpty());
    EXPECT_TRUE(w.actionForPath("Script>Select All")->text().endsWith("\tCtrl+A"));
    EXPECT_EQ(w.actionForPath("Edit>Redo")->shortcuts().value(1), QKeySequence("Ctrl+Shift+Z"));
    QStringList tops;
    for (QAction* a : w.menuBar()->actions()) tops << a->text();
    EXPECT_EQ(tops, QStringList({"&File", "&Edit", "&View", "&Text", "&Options", "&Image", "&Range", "&Script",
                                 "&Gadgets", "&Help"}));
}

TEST(Window, UndoStopsAtTheFirstStepAndRedoBringsItBack) {
    Fixture f;
    TPixoralF& w = *f.w;
    f.fill(clRed);  // an effect after the first step
    f.run("Toolbar>Undo");
    EXPECT_EQ(w.workspace().width(), 256);
    EXPECT_EQ(w.workspace().height(), 256);
    EXPECT_TRUE(allPixels(w.workspace(), clWhite));
    f.run("Toolbar>Undo");  // nothing older: unchanged, never a blank 250 by 250 slot
    EXPECT_EQ(w.workspace().width(), 256);
    EXPECT_TRUE(allPixels(w.workspace(), clWhite));
    f.run("Edit>Redo");
    EXPECT_TRUE(allPixels(w.workspace(), clRed));
    f.run("Edit>Redo");
    EXPECT_TRUE(allPixels(w.workspace(), clRed));
}

TEST(Window, MousePressStoresAStepUnlessCtrlOrRight) {
    Fixture f;
    TPixoralF& w = *f.w;
    QWidget* paint = w.findChild<QWidget*>("mypaint");
    QTest::mouseClick(paint, Qt::LeftButton, Qt::ControlModifier, QPoint(12, 34));
    EXPECT_EQ(w.undoRing().storedSteps(), 1);
    QTest::mouseClick(paint, Qt::RightButton, Qt::NoModifier, QPoint(5, 6));
    EXPECT_EQ(w.undoRing().storedSteps(), 1);
    EXPECT_EQ(w.settings().anchor, (Point{5, 6}));
    QTest::mousePress(paint, Qt::LeftButton, Qt::ShiftModifier, QPoint(40, 40));
    EXPECT_EQ(w.undoRing().storedSteps(), 2);
    EXPECT_EQ(w.drag().start, (Point{5, 6}));  // Shift starts at the anchor
    w.mypaintMouseMove(MouseInput{30, 10, Qt::NoButton, Qt::NoModifier});
    EXPECT_EQ(w.statusText(2), QStringLiteral("x=30 y=10 w=25 h=4"));
    w.mypaintMouseMove(MouseInput{0, 10, Qt::NoButton, Qt::AltModifier});
    EXPECT_EQ(w.statusText(2), QStringLiteral("dx=5 dy=4"));
    QTest::mouseRelease(paint, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    EXPECT_FALSE(w.drag().dragging);
    w.mypaintMouseMove(MouseInput{7, 8, Qt::NoButton, Qt::NoModifier});
    EXPECT_EQ(w.statusText(2), QStringLiteral("x=7 y=8"));
}

TEST(Window, NewAndResizeRefuseSizesThatCannotBeHeld) {
    struct Case {
        const char* height;
        const char* width;
        int expectW, expectH;
        bool refused;
    };
    const Case newCases[] = {
        {"100", "50", 50, 100, false}, {"abc", "", 100, 100, false}, {"0", "10", 256, 256, true},
        {"10", "-5", 256, 256, true},  {"32769", "1", 256, 256, true}, {"20000", "20000", 256, 256, true},
        {"32768", "16", 16, 32768, false},
    };
    for (const Case& c : newCases) {
        Fixture f;
        f.fill(clRed);
        f.run("File>New", {c.height, c.width});
        EXPECT_EQ(f.w->workspace().width(), c.expectW) << c.height << "x" << c.width;
        EXPECT_EQ(f.w->workspace().height(), c.expectH) << c.height << "x" << c.width;
        EXPECT_EQ(f.dialogs->messages().size(), c.refused ? 1 : 0) << c.height << "x" << c.width;
        if (c.refused) {
            EXPECT_EQ(f.w->workspace().pixel(0, 0), clRed);  // nothing changed
        } else if (c.expectW < 1000) {
            EXPECT_TRUE(allPixels(f.w->workspace(), clWhite));
        }
    }
    const Case resizeCases[] = {
        {"60", "300", 300, 60, false}, {"x", "y", 256, 256, false}, {"-1", "10", 256, 256, true}, {"10", "0", 256, 256, true},
    };
    for (const Case& c : resizeCases) {
        Fixture f;
        f.fill(clRed);
        f.run("Toolbar>Resize Image", {c.height, c.width});
        EXPECT_EQ(f.w->workspace().width(), c.expectW) << c.height << "x" << c.width;
        EXPECT_EQ(f.w->workspace().height(), c.expectH) << c.height << "x" << c.width;
        EXPECT_EQ(f.dialogs->messages().size(), c.refused ? 1 : 0);
        EXPECT_EQ(f.w->workspace().pixel(0, 0), clRed);  // content kept (or untouched)
        if (!c.refused) {
            EXPECT_EQ(f.w->rangeState().range, (Rect{0, 0, c.expectW, c.expectH}));
        }
    }
}

TEST(Window, NewBannerClearDefaultAndClearImage) {
    Fixture f;
    TPixoralF& w = *f.w;
    f.fill(clBlue);
    f.run("File>New Banner");
    EXPECT_EQ(w.workspace().width(), 468);
    EXPECT_EQ(w.workspace().height(), 60);
    EXPECT_EQ(w.workspace().pixel(255, 59), clBlue);
    EXPECT_EQ(w.workspace().pixel(256, 0), clWhite);
    EXPECT_EQ(w.rangeState().range, (Rect{0, 0, 468, 60}));
    EXPECT_EQ(w.canvas().brush().style(), BrushStyle::bsSolid);  // the white brush colour made it solid
    f.run("Image>Clear Default");
    EXPECT_EQ(w.workspace().width(), 256);
    EXPECT_EQ(w.workspace().pixel(0, 59), clBlue);
    EXPECT_EQ(w.workspace().pixel(0, 60), clWhite);
    f.run("Toolbar>Clear Image");
    EXPECT_TRUE(allPixels(w.workspace(), clWhite));
    EXPECT_EQ(w.canvas().brush().style(), BrushStyle::bsClear);
    EXPECT_EQ(w.rangeState().range, (Rect{0, 0, 256, 256}));
    // Undo after a size change shows the older step at the new size.
    f.run("Toolbar>Undo");
    EXPECT_EQ(w.workspace().width(), 256);
    EXPECT_EQ(w.workspace().height(), 256);
}

TEST(Window, MakeButtonDrawsABevelledFace) {
    Fixture f;
    TPixoralF& w = *f.w;
    w.canvas().pen().width = 5;  // the user's pen does not widen the edges
    f.run("Toolbar>Make Button>Make");
    const Bitmap& b = w.workspace();
    ASSERT_EQ(b.width(), 88);
    ASSERT_EQ(b.height(), 31);
    struct Px {
        int x, y;
        TColor c;
    };
    const Px expected[] = {
        {0, 0, clBlack},   {87, 0, clBlack},  {0, 30, clBlack},  {87, 30, clBlack},  // outer edge
        {86, 1, clBlack},  {86, 29, clBlack}, {1, 29, clBlack},  {40, 29, clBlack},  // second edge bottom-right
        {1, 1, clWhite},   {40, 1, clWhite},  {85, 1, clWhite},  {1, 28, clWhite},   // highlight top-left
        {2, 2, clSilver},  {85, 28, clSilver}, {44, 15, clSilver},                   // face
    };
    for (const Px& p : expected) EXPECT_EQ(b.pixel(p.x, p.y), p.c) << p.x << "," << p.y;
    EXPECT_EQ(w.canvas().pen().color, clBlack);
    EXPECT_EQ(w.canvas().pen().width, 5);

    f.run("Toolbar>Make Button>Width", {"x"});  // not a number: the default
    f.run("Toolbar>Make Button>Height", {"20"});
    f.run("Toolbar>Make Button>Color", {"clRed"});
    f.run("Toolbar>Make Button>Make");
    EXPECT_EQ(w.workspace().width(), 88);
    EXPECT_EQ(w.workspace().height(), 20);
    EXPECT_EQ(w.workspace().pixel(10, 10), clRed);
    f.run("Toolbar>Make Button>Width", {"0"});
    f.run("Toolbar>Make Button>Make");  // refused, nothing changes
    EXPECT_EQ(f.dialogs->messages().size(), 1);
    EXPECT_EQ(w.workspace().width(), 88);
    f.run("Toolbar>Make Button>Default");
    EXPECT_EQ(w.settings().buttonColor, clSilver);
}

TEST(Window, PenBrushAndCopyModeItems) {
    Fixture f;
    TPixoralF& w = *f.w;
    struct Case {
        const char* path;
        PenMode mode;
        const char* status;
    };
    const Case cases[] = {{"Toolbar>Set Pen Mode>Not Copy", PenMode::pmNotCopy, "Pen=Not Copy"},
                          {"Toolbar>Set Pen Mode>Xor", PenMode::pmXor, "Pen=Xor"},
                          {"Toolbar>Set Pen Mode>Merge Pen Not", PenMode::pmMergePenNot, "Pen=Merge Pen Not"},
                          {"Toolbar>Set Pen Mode>Copy", PenMode::pmCopy, "Pen=Copy"}};
    for (const Case& c : cases) {
        f.run(c.path);
        EXPECT_EQ(w.canvas().pen().mode, c.mode) << c.path;
        EXPECT_EQ(w.statusText(1), QString::fromUtf8(c.status));
    }
    f.run("Toolbar>Solid/Clear>DiagCross");
    EXPECT_EQ(w.canvas().brush().style(), BrushStyle::bsDiagCross);
    f.run("Toolbar>Line Width>3 pixels");
    EXPECT_EQ(w.canvas().pen().width, 3);
    f.run("Toolbar>Line Width>Other Size", {"300"});  // above the image height
    EXPECT_EQ(w.canvas().pen().width, 1);
    f.run("Toolbar>Line Width>Dash Dot");
    EXPECT_EQ(w.canvas().pen().style, PenStyle::psDashDot);
    f.run("Toolbar>Copy Selection>Source Invert");
    EXPECT_EQ(w.canvas().copyMode(), cmSrcInvert);
    f.run("Toolbar>Copy Selection>Paste Mask");
    EXPECT_EQ(w.settings().copySelectionMode, QStringLiteral("pastemask"));
}

TEST(Window, TextAndRangeSettings) {
    Fixture f;
    TPixoralF& w = *f.w;
    f.run("Text>Text", {":cancel"});
    EXPECT_EQ(w.settings().paintText, QString());
    f.run("Toolbar>Paint Text>Shadow dx", {":cancel"});
    EXPECT_EQ(w.settings().shadowDx, -2);
    f.run("Toolbar>Paint Text>Shadow dy", {"7"});
    EXPECT_EQ(w.settings().shadowDy, 7);
    f.run("Text>Font", {"DejaVu Sans,12,bold"});
    EXPECT_EQ(w.settings().textFont.name, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(w.settings().textFont.size, 12);
    EXPECT_EQ(w.settings().textFont.style, unsigned(fsBold));
    f.run("Text>Default Shadow");
    EXPECT_EQ(w.settings().shadowDy, -2);
    f.run("Range>Split>Set Offset", {"51"});
    EXPECT_EQ(w.rangeState().splitOffset, 20);
    f.run("Range>Split>Set Offset", {"7"});
    EXPECT_EQ(w.rangeState().splitOffset, 7);
    f.run("Range>Select All");
    EXPECT_EQ(w.rangeState().range, (Rect{0, 0, 256, 256}));
    w.rangeState().range = Rect{50, 40, 10, 20};
    f.run("Range>Square>to Height");
    EXPECT_EQ(w.rangeState().range, (Rect{50, 60, 10, 20}));  // squared from its top-left corner
}

TEST(Window, OpenSaveAndTheCloseQuestion) {
    Fixture f(true, false);
    TPixoralF& w = *f.w;
    const QString path = f.dir.filePath("pic.bmp");
    f.run("Toolbar>Resize Image", {"30", "40"});
    f.fill(clLime);
    EXPECT_TRUE(w.isModified());
    f.dialogs->pushAnswer("cancel");
    EXPECT_FALSE(w.close());  // cancelled
    f.dialogs->pushAnswer("yes");
    f.dialogs->pushAnswer(path);
    EXPECT_TRUE(w.close());
    Bitmap saved;
    ASSERT_TRUE(saved.loadFromFile(path));
    EXPECT_EQ(saved.width(), 40);
    EXPECT_EQ(saved.pixel(39, 29), clLime);
    // The window state was written at the close (no settings file: it started maximised).
    EXPECT_EQ(readWindowSettings(f.dir.filePath("pixoral.ini")).state, QStringLiteral("maximized"));

    Fixture g;
    g.run("File>Open", {path});
    EXPECT_EQ(g.w->workspace().width(), 40);
    EXPECT_EQ(g.w->workspace().pixel(0, 0), clLime);
    EXPECT_EQ(g.w->statusText(0), QStringLiteral("pic.bmp"));
    EXPECT_EQ(g.w->rangeState().range, (Rect{0, 0, 40, 30}));
    EXPECT_FALSE(g.w->isModified());
    // Unreadable and unsupported files: a message, the image stays.
    const QString bad = g.dir.filePath("bad.bmp");
    QFile b(bad);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write("BM not really");
    b.close();
    for (const QString& p : {bad, g.dir.filePath("missing.bmp"), g.dir.filePath("x.png")}) {
        g.dialogs->clearMessages();
        g.run("File>Open", {p});
        EXPECT_EQ(g.dialogs->messages().size(), 1) << p.toStdString();
        EXPECT_FALSE(g.w->takeFailure().isEmpty());
        EXPECT_EQ(g.w->workspace().width(), 40);
    }
    g.run("File>Save As", {g.dir.filePath("noext")});
    EXPECT_TRUE(QFile::exists(g.dir.filePath("noext.bmp")));
    EXPECT_FALSE(g.w->isModified());
}

TEST(Window, MinimisedWindowLeavesTheStoredStateAlone) {
    Fixture f(true, false);
    const QString ini = f.dir.filePath("pixoral.ini");
    ASSERT_TRUE(writeWindowSettings(ini, WindowSettings{"normal", 1, 2, 300, 200}));
    f.w->setWindowState(Qt::WindowMinimized);
    f.w->close();
    EXPECT_EQ(readWindowSettings(ini), (WindowSettings{"normal", 1, 2, 300, 200}));
}

TEST(Window, AboutShowsNameAndVersion) {
    Fixture f;
    f.run("Help>About");
    EXPECT_EQ(f.dialogs->messages(), QStringList{QStringLiteral("Pixoral " PIXORAL_VERSION)});
}

TEST(Window, EscapeStopsARunningScript) {
    Fixture f(true, false);
    QTimer::singleShot(100, f.w.get(), [&] { QTest::keyClick(f.w.get(), Qt::Key_Escape); });
    QElapsedTimer t;
    t.start();
    const auto r = f.w->runScript(QStringLiteral("do 2000000000 right 1 loop"));
    EXPECT_EQ(r.message, QStringLiteral("script interrupted"));
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_EQ(f.dialogs->messages(), QStringList{QStringLiteral("script interrupted")});
    EXPECT_FALSE(f.w->scriptRunning());
}
