// Quick 3D from the Image menu: the window, its controls and the way of its picture into the
// workspace, driven through the main window as a user would.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "generators/Surf3D.h"
#include "generators/TSurf3DF.h"
#include "WindowFixture.h"
#include "workspace/SecondaryWindows.h"

using namespace pixoral;

TEST(Quick3DWindow, MenuOpensItFiguresSetTheViewPresetsFillTheEditsAndUseTakesThePicture) {
    TestWindow f({true, true, [](const QString& folder) {
                      writeAll(folder + QStringLiteral("Surf3DPresets.txt"), "Ripple=sin(x)|cos(y)\nOdd=no bar\n");
                  }});
    f.run("Image>Quick>Quick 3D...");
    generators::TSurf3DF& q = *f.w->windows().surf3D();
    ASSERT_TRUE(q.isVisible());
    EXPECT_EQ(q.windowTitle(), "Surf 3D");
    auto spin = [&](const char* n) { return q.findChild<QSpinBox*>(n); };
    auto edit = [&](const char* n) { return q.findChild<QLineEdit*>(n); };
    auto button = [&](const char* n) { return q.findChild<QPushButton*>(n); };
    auto* figures = q.findChild<QComboBox*>("ComboBoxFigure");
    auto* presets = q.findChild<QComboBox*>("presets");
    for (const auto& s : generators::kSurf3DSpins) ASSERT_NE(spin(s.name), nullptr) << s.name;
    for (const char* n : {"SurFx", "SurFy"}) ASSERT_NE(edit(n), nullptr) << n;
    for (const char* n : {"goMakePoints", "goCopy", "goUse"}) ASSERT_NE(button(n), nullptr) << n;
    ASSERT_NE(figures, nullptr);
    ASSERT_NE(presets, nullptr);
    EXPECT_EQ(spin("SpinEditAzimuth")->maximum(), 360);
    EXPECT_EQ(spin("SpinEditAzimuth")->toolTip(), "0 .. 360");
    EXPECT_EQ(spin("SpinEditElevation")->minimum(), -90);
    EXPECT_EQ(spin("SpinEditScreenToCamera")->singleStep(), 2);

    // Picking "Surface" sets the view and makes the surface of the two edits.
    figures->setCurrentIndex(3);
    EXPECT_EQ(spin("SpinEditDistance")->value(), 17);
    EXPECT_NEAR(q.surface()[30][25], 0.3, 1e-9);
    // A spin edit redraws at once.
    const Bitmap before = q.picture();
    spin("SpinEditAzimuth")->setValue(60);
    EXPECT_EQ(q.scene().view.azimuth, 60);
    EXPECT_GT(differingPixels(before, q.picture()), 100);

    // A preset fills the edits (no redraw); one without "|" changes nothing.
    presets->setCurrentIndex(0);
    EXPECT_EQ(edit("SurFx")->text(), "sin(x)");
    EXPECT_EQ(edit("SurFy")->text(), "cos(y)");
    presets->setCurrentIndex(1);
    EXPECT_EQ(edit("SurFx")->text(), "sin(x)");
    // A bad expression is reported on Show.
    edit("SurFy")->setText("cos(");
    button("goMakePoints")->click();
    EXPECT_EQ(f.dialogs->messages(), QStringList{"Error in f(y)"});
    // Names are unique whatever their letter case.
    f.dialogs->pushAnswer("ripple");
    q.findChild<QAction*>("AddPreset1")->trigger();
    EXPECT_EQ(f.dialogs->messages().last(), "ripple allready exists");

    button("goCopy")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->image(), q.picture().toImage());
    button("goUse")->click();
    EXPECT_TRUE(samePixels(f.w->workspace(), q.picture()));
    EXPECT_EQ(f.w->workspace().width(), generators::kSurf3DPictureSide);
}
