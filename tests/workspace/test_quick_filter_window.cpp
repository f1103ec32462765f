// Quick Filter as the user and a script reach it: the menu row, the controls by their names,
// the user filters file, and the script's filter request.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <gtest/gtest.h>

#include "generators/QuickFilter.h"
#include "generators/TPixoralFLF.h"
#include "generators/TQuickPreviewF.h"
#include "WindowFixture.h"
#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"

using namespace pixoral;

namespace {
template <class T>
T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}
}  // namespace

TEST(QuickFilterWindow, MenuButtonUserFiltersAndScriptRequestReachTheFilters) {
    TestWindow f;
    f.run("Image>Quick>Quick Filter");
    generators::TPixoralFLF& fl = *f.w->windows().pixoralFL();
    ASSERT_TRUE(fl.isVisible());
    EXPECT_EQ(fl.windowTitle(), "Filters");
    auto* list = child<QListWidget>(fl, "QFList");
    auto* bit24 = child<QCheckBox>(fl, "bit24");
    auto edit = [&](const char* name) { return child<QLineEdit>(fl, name); };
    EXPECT_EQ(list->count(), 26);
    EXPECT_EQ(list->currentRow(), generators::kReduceFilter);
    EXPECT_EQ(child<QRadioButton>(fl, "greenradio")->text(), "Reduce");
    EXPECT_EQ(child<QSlider>(fl, "trkRed")->value(), 10);
    EXPECT_EQ(edit("E01")->text(), "-1");
    EXPECT_EQ(edit("EBIAS")->text(), "1");

    // 24 bits: a list click sets the checked channel only; "Preview" keeps the workspace.
    f.w->canvas().pen().color = clRed;
    f.drag({{10, 10}, {200, 120}});
    const Bitmap before = f.w->workspace();
    bit24->click();
    child<QRadioButton>(fl, "greenradio")->click();
    list->setCurrentRow(16);  // Add
    EXPECT_EQ(fl.settings().filter, (std::array<int, 3>{7, 16, 7}));
    child<QCheckBox>(fl, "fltrpreview")->click();
    child<QToolButton>(fl, "goFilter")->click();
    Bitmap expected;
    ASSERT_EQ(generators::runQuickFilter(before, fl.settings(), expected), generators::FilterRun::Done);
    ASSERT_TRUE(f.w->windows().quickPreview()->isVisible());
    EXPECT_TRUE(samePixels(f.w->windows().quickPreview()->picture(), expected));
    EXPECT_TRUE(samePixels(f.w->workspace(), before));

    // Refusals say so and change nothing.
    edit("E12")->setText(QStringLiteral("x"));
    child<QToolButton>(fl, "goFilter")->click();
    edit("E12")->setText(QStringLiteral("0"));
    edit("EDIV")->setText(QStringLiteral("0"));
    child<QToolButton>(fl, "goFilter")->click();
    EXPECT_EQ(f.dialogs->messages(), (QStringList{"invalid integer in UserMatrix", "Divisor must be >=1"}));

    // A user filter stores the eleven edit texts; picking one fills them back.
    edit("EDIV")->setText(QStringLiteral("9"));
    f.dialogs->pushAnswer(QStringLiteral("Nine"));
    fl.AddFilter1Click();
    EXPECT_EQ(readAll(f.dir.filePath("PixoralFL.txt")), "Nine=-1,0,1,-1,0,1,-1,0,1,9,1\n");
    edit("EDIV")->setText(QStringLiteral("1"));
    auto* presets = child<QComboBox>(fl, "FilterPresets");
    emit presets->activated(0);  // picked again: it is the entry just added
    EXPECT_EQ(edit("EDIV")->text(), "9");

    // The script's request: any letter case, 8 bits, all three channels, into the workspace
    // although "Preview" is checked.
    const Bitmap beforeScript = f.w->workspace();
    f.w->runScript(QStringLiteral("filter \"gLaS\""));
    EXPECT_FALSE(bit24->isChecked());
    EXPECT_TRUE(child<QRadioButton>(fl, "redradio")->isChecked());
    EXPECT_EQ(fl.settings().filter, (std::array<int, 3>{22, 22, 22}));
    ASSERT_EQ(generators::runQuickFilter(beforeScript, fl.settings(), expected), generators::FilterRun::Done);
    EXPECT_EQ(f.w->workspace().pixelFormat(), PixelFormat::pf8bit);
    EXPECT_TRUE(samePixels(f.w->workspace(), expected));
    EXPECT_FALSE(samePixels(f.w->workspace(), beforeScript));
    EXPECT_EQ(f.dialogs->messages().size(), 2);
}
