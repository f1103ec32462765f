// Quick Button from the Image menu and the Range menu: the window and its controls, the
// caption in the middle of the button, and the ways of the button out (Use, Copy, Save) and
// of a range in (Assign To), driven through the main window as a user would.
#include <QCheckBox>
#include <QClipboard>
#include <QFontComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "generators/TButtonF.h"
#include "ui/ColorGrid.h"
#include "WindowFixture.h"
#include "workspace/SecondaryWindows.h"

using namespace pixoral;

TEST(QuickButtonWindow, MenuOpensItControlsRedrawUseCopySaveAndAssignToTakeTheRange) {
    TestWindow f;
    f.run("Image>Quick>Quick Button...");
    generators::TButtonF& q = *f.w->windows().quickButton();
    ASSERT_TRUE(q.isVisible());
    EXPECT_EQ(q.windowTitle(), "Quick Button");
    for (const char* n : {"butwidth", "butheight", "fontsize"}) ASSERT_NE(q.findChild<QSlider*>(n), nullptr) << n;
    for (const char* n : {"EdgeWidth", "shadowdx", "shadowdy"}) ASSERT_NE(q.findChild<QSpinBox*>(n), nullptr) << n;
    for (const char* n : {"topcolor", "rightcolor", "bottomcolor", "leftcolor", "facecolor", "fontcolor", "shadowcolor"})
        ASSERT_NE(q.findChild<ColorGrid*>(n), nullptr) << n;
    for (const char* n : {"fontbold", "fontitalic", "fontunderline", "styled", "hasbackdrop", "BackEdges"})
        ASSERT_NE(q.findChild<QCheckBox*>(n), nullptr) << n;
    for (const char* n : {"goEdge", "gobg", "goSave", "goCopy", "goUse"}) ASSERT_NE(q.findChild<QPushButton*>(n), nullptr) << n;
    ASSERT_NE(q.findChild<QLineEdit*>("buttext"), nullptr);
    EXPECT_EQ(q.findChild<QFontComboBox*>("butfont")->currentText(), "Arial");
    EXPECT_EQ(q.findChild<ColorGrid*>("facecolor")->foregroundColor(), clAqua);

    // A change redraws at once, and the labels follow.
    q.findChild<QSlider*>("butwidth")->setValue(161);
    q.findChild<QSlider*>("butheight")->setValue(60);
    EXPECT_EQ(q.picture().width(), 161);
    EXPECT_EQ(q.findChild<QLabel*>("widthcap")->text(), "161");
    // The caption (black) sits in the middle of the face: its ink is centred within a pixel or two.
    PixelBox ink;
    for (int y = 5; y < 55; ++y)
        for (int x = 5; x < 156; ++x)
            if (q.picture().pixel(x, y) == clBlack) {
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
            }
    ASSERT_FALSE(ink.empty());
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 80, 2.5);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 30, 4);

    q.findChild<QPushButton*>("goCopy")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->image(), q.picture().toImage());
    q.findChild<QPushButton*>("goUse")->click();
    EXPECT_TRUE(samePixels(f.w->workspace(), q.picture()));

    // Saved under a .jpeg name, the button is a JPEG file.
    const QString jpeg = f.dir.path() + QStringLiteral("/button.jpeg");
    f.dialogs->pushAnswer(jpeg);
    q.findChild<QPushButton*>("goSave")->click();
    EXPECT_TRUE(readAll(jpeg).startsWith("\xFF\xD8\xFF"));

    // Assign To takes the range as the backdrop; with no range it says so and keeps it.
    f.fill(clRed);
    f.w->rangeState().range = {20, 10, 60, 40};
    f.run("Range>Assign To>Quick Button");
    EXPECT_EQ(q.backdrop().width(), 40);
    EXPECT_EQ(q.backdrop().height(), 30);
    EXPECT_EQ(q.backdrop().pixel(0, 0), clRed);
    f.w->rangeState().range = {};
    f.run("Range>Assign To>Quick Button");
    EXPECT_EQ(f.dialogs->messages().last(), "Select a range to assign first.");
    EXPECT_EQ(q.backdrop().width(), 40);
    q.findChild<QCheckBox*>("hasbackdrop")->click();
    EXPECT_EQ(q.picture().pixel(8, 8), clRed);
}
