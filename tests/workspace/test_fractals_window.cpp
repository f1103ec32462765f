// Quick Fractals from the Image menu: the window's controls, Show into Quick Preview and into
// the workspace, refused input, Escape, Default and the presets, driven as a user would.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>

#include "WindowFixture.h"
#include "generators/Fractals.h"
#include "generators/TFractalsF.h"
#include "generators/TQuickPreviewF.h"
#include "workspace/SecondaryWindows.h"

using namespace pixoral;

TEST(FractalsWindow, MenuOpensItShowComputesPresetsFillTheFieldsAndEscapeStops) {
    TestWindow f({true, true, [](const QString& folder) {
                      writeAll(folder + QStringLiteral("PixoralFrac.txt"),
                               "Rabbit=-1.5,-1.5,1.5,1.5,julia,40,24,-0.123,0.745\nOld=-2,-1,1,1,mandel,20,30\n");
                  }});
    f.run("Image>Quick>Quick Fractals...");
    generators::TFractalsF& q = *f.w->windows().fractals();
    ASSERT_TRUE(q.isVisible());
    EXPECT_EQ(q.windowTitle(), "Fractals");
    auto edit = [&](const char* n) { return q.findChild<QLineEdit*>(n); };
    auto check = [&](const char* n) { return q.findChild<QCheckBox*>(n); };
    auto slider = [&](const char* n) { return q.findChild<QSlider*>(n); };
    auto label = [&](const char* n) { return q.findChild<QLabel*>(n)->text(); };
    auto* show = q.findChild<QPushButton*>("goFractal");
    auto* presets = q.findChild<QComboBox*>("cboFractals");
    for (const char* n : {"edX0", "edY0", "edX1", "edY1", "edJuliaRe", "edJuliaIm"}) ASSERT_NE(edit(n), nullptr) << n;
    for (const char* n : {"ckMandel", "fracPreview"}) ASSERT_NE(check(n), nullptr) << n;
    ASSERT_NE(show, nullptr);
    ASSERT_NE(presets, nullptr);
    EXPECT_EQ(edit("edX0")->text(), "-2.25");
    EXPECT_EQ(label("itercap"), "16 Iterations");

    // A preset fills the fields and the labels, without computing.
    const Bitmap before = f.w->workspace();
    presets->setCurrentIndex(0);
    EXPECT_EQ(edit("edJuliaRe")->text(), "-0.123");
    EXPECT_FALSE(check("ckMandel")->isChecked());
    EXPECT_EQ(label("itercap"), "40 Iterations");
    EXPECT_EQ(label("colorcap"), "24 Colors");
    EXPECT_TRUE(samePixels(f.w->workspace(), before));

    // Show with Preview: the picture goes to Quick Preview, the workspace stays.
    check("fracPreview")->setChecked(true);
    show->click();
    generators::TQuickPreviewF& preview = *f.w->windows().quickPreview();
    ASSERT_TRUE(preview.isVisible());
    Bitmap expected;
    ASSERT_EQ(generators::renderFractal(*generators::fractalSettings(q.fields()), 256, 256, expected),
              generators::FractalResult::Done);
    EXPECT_TRUE(samePixels(preview.picture(), expected));
    EXPECT_TRUE(samePixels(f.w->workspace(), before));

    // Input that is not a number is refused and nothing changes.
    edit("edY1")->setText("1.5.");
    show->click();
    EXPECT_EQ(f.dialogs->messages(), QStringList{"Error in input values"});
    EXPECT_TRUE(samePixels(f.w->workspace(), before));

    // Default, then Show without Preview: the workspace becomes the 8-bit picture.
    q.findChild<QPushButton*>("goDefault")->click();
    EXPECT_TRUE(check("ckMandel")->isChecked());
    EXPECT_EQ(slider("fraciter")->value(), 16);
    check("fracPreview")->setChecked(false);
    show->click();
    ASSERT_EQ(generators::renderFractal({}, 256, 256, expected), generators::FractalResult::Done);
    EXPECT_TRUE(samePixels(f.w->workspace(), expected));
    EXPECT_EQ(f.w->workspace().pixelFormat(), PixelFormat::pf8bit);

    // Escape during a long computation stops it; the image stays as it was.
    ASSERT_TRUE(f.w->workspace().setSize(3000, 3000));
    const Bitmap large = f.w->workspace();
    slider("fraciter")->setValue(64);
    QCoreApplication::postEvent(show, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    show->click();
    EXPECT_TRUE(samePixels(f.w->workspace(), large));
    EXPECT_TRUE(f.w->statusText(2).isEmpty());

    // Names are unique whatever their letter case; Add stores the current fields.
    f.dialogs->pushAnswer("rabbit");
    q.findChild<QAction*>("AddFractal1")->trigger();
    EXPECT_EQ(f.dialogs->messages().last(), "rabbit allready exists");
    f.dialogs->pushAnswer("Mine");
    q.findChild<QAction*>("AddFractal1")->trigger();
    EXPECT_EQ(q.presets().lines().last(), "Mine=-2.25,-1.5,0.75,1.5,mandel,64,16,0,1");
    EXPECT_EQ(readAll(q.presets().path()).split('\n').value(2).toStdString(), "Mine=-2.25,-1.5,0.75,1.5,mandel,64,16,0,1");
}
