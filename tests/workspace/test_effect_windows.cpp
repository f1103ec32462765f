// The Image menu effects, the effects panel, Quick Background and the Quick Preview window,
// driven through the main window as a user (or a batch run) would.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "effects/ColorEffects.h"
#include "effects/SliderEffects.h"
#include "effects/TPixoralEffectsF.h"
#include "generators/QBPresets.h"
#include "generators/QuickBackground.h"
#include "generators/TPixoralQBF.h"
#include "generators/TQuickPreviewF.h"
#include "WindowFixture.h"
#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"

using namespace pixoral;

namespace {

struct Fx : TestWindow {
    // A presets file is written into the program folder first when `presets` is not null.
    explicit Fx(const QByteArray& presets = {})
        : TestWindow({true, true, [presets](const QString& folder) {
                          if (presets.isNull()) return;
                          QFile f(folder + QStringLiteral("PixoralQB.txt"));
                          f.open(QIODevice::WriteOnly);
                          f.write(presets);
                      }}) {}
    template <class T>
    T* control(QWidget* window, const char* name) {
        T* c = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    generators::TPixoralQBF& qb() { return *w->windows().pixoralQB(); }
    generators::TQuickPreviewF& preview() { return *w->windows().quickPreview(); }
    QString presetFile() {
        QFile f(dir.filePath("PixoralQB.txt"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
    }
};

}  // namespace

// ---------------------------------------------------------------- Image menu

TEST(EffectCommands, ColourEffectsGiveTheirColourAndFormat) {
    struct Case {
        const char* path;
        TColor before;
        PixelFormat format;  // the workspace's format before the command
        TColor after;
        PixelFormat formatAfter;
    };
    const Case cases[] = {
        // Invert covers the whole row in every format, not only its first W bytes.
        {"Image>Invert", 0x00FFFFFF, PixelFormat::Device, 0x00000000, PixelFormat::Device},
        {"Image>Invert", 0x00123456, PixelFormat::pf24bit, 0x00EDCBA9, PixelFormat::pf24bit},
        {"Image>Effects>Grayscale", 0x0000FF00, PixelFormat::Device, 0x00969696, PixelFormat::pf24bit},
        {"Image>Effects>Grayscale", 0x00FF0000, PixelFormat::Device, 0x001C1C1C, PixelFormat::pf24bit},
        {"Image>Effects>Grayscale", 0x00FFFFFF, PixelFormat::pf8bit, 0x00FFFFFF, PixelFormat::pf24bit},
        {"Image>Colors>Swap RG", 0x000000FF, PixelFormat::Device, 0x000000FF, PixelFormat::pf8bit},
        {"Image>Colors>Swap RG", 0x00FF0000, PixelFormat::Device, 0x0000FF00, PixelFormat::pf8bit},
        {"Image>Colors>Swap RB", 0x000000FF, PixelFormat::Device, 0x00FF0000, PixelFormat::pf8bit},
        {"Image>Colors>Swap GB", 0x0000FF00, PixelFormat::Device, 0x000000FF, PixelFormat::pf8bit},
        {"Image>Colors>Roll RGB", 0x00FF0000, PixelFormat::Device, 0x000000FF, PixelFormat::pf8bit},
        // A picture of one colour has no boundary to trace.
        {"Image>Trace>Trace", 0x00FFFFFF, PixelFormat::Device, 0x00FFFFFF, PixelFormat::pf8bit},
        {"Image>Effects>Anti Alias", 0x00808080, PixelFormat::pf24bit, 0x00808080, PixelFormat::pf24bit},
        {"Image>Effects>Spray", 0x00808080, PixelFormat::pf24bit, 0x00808080, PixelFormat::pf24bit},
    };
    for (const Case& c : cases) {
        Fx f;
        f.w->workspace().setSize(6, 5);
        f.w->workspace().setPixelFormat(c.format);
        f.fill(c.before);
        f.run(c.path);
        EXPECT_EQ(f.w->workspace().pixelFormat(), c.formatAfter) << c.path;
        EXPECT_TRUE(allPixels(f.w->workspace(), c.after))
            << c.path << " gives " << std::hex << f.w->workspace().pixel(0, 0) << " not " << c.after;
        EXPECT_EQ(f.w->workspace().width(), 6) << c.path;
    }
}

TEST(EffectCommands, GrayscaleLeavesTheGreyCopyInTheRangeBuffer) {
    Fx f;
    f.fill(0x0000FF00);
    f.run("Image>Effects>Grayscale");
    EXPECT_TRUE(samePixels(f.w->rangeState().buffer, f.w->workspace()));
}

TEST(EffectCommands, TracePromptsKeepTheirValueForBadAnswers) {
    struct Case {
        const char* path;
        const char* answer;
        int expect;
    };
    // Color Byte starts at 0, the intensity at 1; the cases run in order on one window.
    const Case cases[] = {
        {"Image>Trace>Color Byte", "255", 255}, {"Image>Trace>Color Byte", "300", 255},
        {"Image>Trace>Color Byte", "abc", 255}, {"Image>Trace>Color Byte", "-1", 255},
        {"Image>Trace>Color Byte", "0", 0},     {"Image>Trace>Intensity", "15", 15},
        {"Image>Trace>Intensity", "16", 15},    {"Image>Trace>Intensity", "0", 15},
        {"Image>Trace>Intensity", "x", 15},     {"Image>Trace>Intensity", " 3 ", 3},
    };
    Fx f;
    for (const Case& c : cases) {
        f.run(c.path, {QString::fromLatin1(c.answer)});
        const bool colorByte = QByteArray(c.path).endsWith("Color Byte");
        EXPECT_EQ(colorByte ? f.w->settings().colorByte : f.w->settings().traceIntensity, c.expect) << c.path << " " << c.answer;
    }
    EXPECT_TRUE(f.dialogs->messages().isEmpty());
}

TEST(EffectCommands, RotationAsksItsAngleAndTurnsA24BitCopy) {
    Fx f;
    f.w->setWorkspaceSize(5, 5);
    f.fill(clWhite);
    f.w->workspace().setPixel(4, 2, clRed);  // right of the centre (2, 2)
    f.run("Image>Rotation>Angle...", {"abc"});
    EXPECT_EQ(f.dialogs->messages(), QStringList{"Invalid Angle"});
    EXPECT_EQ(f.w->settings().rotationAngle, 90);
    f.run("Image>Rotation>Angle...", {"180"});
    f.run("Image>Rotation>Rotate");
    EXPECT_EQ(f.w->workspace().pixelFormat(), PixelFormat::pf24bit);
    EXPECT_EQ(f.w->workspace().pixel(0, 2), clRed);
    EXPECT_EQ(f.w->workspace().pixel(4, 2), clWhite);
}

TEST(EffectCommands, RippleHeightPromptAndWaveInferenceEndingIn8Bits) {
    Fx f;
    f.w->setWorkspaceSize(40, 40);
    f.fill(clWhite);
    f.run("Image>Ripple>Height...", {"3"});
    f.run("Image>Ripple>Height...", {"101"});  // out of range: kept, silently
    EXPECT_EQ(f.w->settings().rippleHeight, 3);
    f.w->workspace().setPixel(10, 10, clBlack);
    f.run("Image>Ripple>Wave Inference");
    EXPECT_EQ(f.w->workspace().pixelFormat(), PixelFormat::pf8bit);
    EXPECT_NE(f.w->workspace().pixel(10, 10), clBlack);  // the band from row 3 down has moved
    EXPECT_TRUE(f.dialogs->messages().isEmpty());
}

TEST(EffectCommands, ReflectionsEndIn8BitsAndWedgeRefusesANonSquareImage) {
    Fx f;
    f.w->setWorkspaceSize(100, 80);
    f.fill(clWhite);
    f.w->workspace().setPixel(0, 0, clRed);
    f.run("Image>Mirror>Wedge");
    EXPECT_EQ(f.dialogs->messages(), QStringList{"image must be square"});
    EXPECT_EQ(f.w->workspace().pixelFormat(), PixelFormat::Device);  // untouched
    f.run("Image>Flip>Right");
    EXPECT_EQ(f.w->workspace().pixelFormat(), PixelFormat::pf8bit);
    EXPECT_EQ(f.w->workspace().pixel(99, 0), clRed);
}

TEST(EffectCommands, MagnifyAndCropReplaceTheWorkspaceWithItsUndoSteps) {
    Fx f;
    f.w->setWorkspaceSize(40, 30);
    f.fill(clWhite);
    f.w->workspace().setPixel(5, 6, clRed);
    f.w->PushImage();
    f.run("Image>Magnify>x4");
    EXPECT_EQ(f.w->workspace().width(), 160);
    EXPECT_EQ(f.w->workspace().pixel(21, 25), clRed);
    f.w->rangeState().range = Rect{20, 24, 30, 40};
    f.run("Image>Crop");
    EXPECT_EQ(f.w->workspace().width(), 10);
    EXPECT_EQ(f.w->workspace().height(), 16);
    EXPECT_EQ(f.w->workspace().pixel(1, 1), clRed);
    EXPECT_EQ(f.w->rangeState().range, (Rect{0, 0, 10, 16}));
    f.run("Toolbar>Undo");  // the stored step, at the new size
    EXPECT_EQ(f.w->workspace().width(), 10);
    EXPECT_EQ(f.w->workspace().pixel(5, 6), clRed);
}

TEST(EffectCommands, TraceRangeChangesOnlyTheRange) {
    Fx f;
    f.w->workspace().setSize(20, 20);
    f.fill(clWhite);
    // A black square across the range's edge.
    for (int y = 5; y < 15; ++y)
        for (int x = 5; x < 15; ++x) f.w->workspace().setPixel(x, y, clBlack);
    const Bitmap before = f.w->workspace();
    f.w->rangeState().range = Rect{10, 10, 2, 2};  // dragged toward the top-left
    f.run("Image>Trace>Color Byte", {"249"});        // a palette index that is neither colour
    f.run("Image>Trace>Trace Range");
    int changed = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            if (f.w->workspace().pixel(x, y) == before.pixel(x, y)) continue;
            ++changed;
            EXPECT_TRUE(x >= 2 && x < 10 && y >= 2 && y < 10) << x << "," << y;
        }
    EXPECT_GT(changed, 0);
    EXPECT_EQ(f.w->workspace().width(), 20);
    // An empty range does nothing at all.
    const Bitmap traced = f.w->workspace();
    f.w->rangeState().range = Rect{4, 4, 4, 9};
    f.run("Image>Trace>Trace Range");
    EXPECT_TRUE(samePixels(traced, f.w->workspace()));
}

TEST(EffectCommands, PixelFormatRadioShowsTheLastChoice) {
    Fx f;
    QAction* n8 = f.w->findChild<QAction*>("N8bit1");
    QAction* n24 = f.w->findChild<QAction*>("N24bit1");
    ASSERT_TRUE(n8 && n24);
    EXPECT_TRUE(n8->isChecked());
    f.run("Image>Pixel Format>24 bit");
    EXPECT_EQ(f.w->workspace().pixelFormat(), PixelFormat::pf24bit);
    EXPECT_TRUE(n24->isChecked());
    EXPECT_FALSE(n8->isChecked());
    f.run("Image>Effects>Grayscale");  // converts, but the radio stays
    EXPECT_TRUE(n24->isChecked());
    f.run("Image>Pixel Format>8 bit");
    EXPECT_EQ(f.w->workspace().pixelFormat(), PixelFormat::pf8bit);
    EXPECT_TRUE(n8->isChecked());
}

// ---------------------------------------------------------------- effects panel and preview

TEST(EffectsPanel, EachBarPreviewsItsEffectAloneOnTheWholeWorkspace) {
    Fx f;
    f.w->workspace().setSize(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) f.w->workspace().setPixel(x, y, static_cast<TColor>((x * 6) | (y * 8) << 8 | 0x400000));
    const Bitmap before = f.w->workspace();
    f.run("View>Effects Panel");
    effects::TPixoralEffectsF& panel = *f.w->windows().effectsPanel();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.windowTitle(), "Pixoral Effects");
    for (const auto& info : effects::kSliders) {
        auto* bar = f.control<QScrollBar>(&panel, info.barName);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), info.range.max) << info.barName;
    }

    f.control<QScrollBar>(&panel, "contrastbar")->setValue(40);
    ASSERT_TRUE(f.preview().isVisible());
    EXPECT_TRUE(samePixels(f.preview().picture(), effects::sliderPreview(before, effects::SliderEffect::Contrast, 40)));
    // The workspace is untouched; the range is the whole image now.
    EXPECT_TRUE(samePixels(f.w->workspace(), before));
    EXPECT_EQ(f.w->rangeState().range, (Rect{0, 0, 40, 30}));

    // Another bar starts again from the workspace: the contrast is gone from the preview.
    f.control<QScrollBar>(&panel, "saturationbar")->setValue(30);
    EXPECT_TRUE(samePixels(f.preview().picture(), effects::sliderPreview(before, effects::SliderEffect::Saturation, 30)));

    // "Use" takes the preview, keeping the workspace size, and closes the preview.
    f.control<QPushButton>(&f.preview(), "Use")->click();
    EXPECT_FALSE(f.preview().isVisible());
    EXPECT_EQ(f.w->workspace().width(), 40);
    EXPECT_EQ(f.w->workspace().height(), 30);
    EXPECT_TRUE(samePixels(f.w->workspace(), effects::sliderPreview(before, effects::SliderEffect::Saturation, 30)));
}

TEST(EffectsPanel, BlurAtZeroStillBlursAndSplitBlurAtZeroDoesNot) {
    Fx f;
    f.w->workspace().setSize(12, 12);
    f.fill(clWhite);
    for (int y = 0; y < 12; ++y) f.w->workspace().setPixel(6, y, clBlack);
    const Bitmap before = f.w->workspace();
    effects::TPixoralEffectsF& panel = *f.w->windows().effectsPanel();
    // Position 0 is already the bar's value, so the change is made by moving away and back.
    auto* blur = f.control<QScrollBar>(&panel, "blurbar");
    blur->setValue(1);
    blur->setValue(0);
    EXPECT_FALSE(samePixels(f.preview().picture(), before));
    auto* split = f.control<QScrollBar>(&panel, "splitblurbar");
    split->setValue(1);
    split->setValue(0);
    EXPECT_TRUE(samePixels(f.preview().picture(), before));
}

TEST(QuickPreview, UseWithoutAPictureChangesNothing) {
    Fx f;
    f.fill(0x00336699);
    f.preview().show();
    f.preview().UseClick();
    EXPECT_FALSE(f.preview().isVisible());
    EXPECT_EQ(f.w->workspace().width(), 256);
    EXPECT_TRUE(allPixels(f.w->workspace(), 0x00336699));
}

TEST(QuickPreview, UseOfALargerPictureResizesTheWorkspaceAndItsUndoSteps) {
    Fx f;
    f.preview().showPicture(Bitmap(300, 20));
    EXPECT_EQ(f.preview().windowTitle(), "Pixoral Preview");
    f.preview().UseClick();
    EXPECT_EQ(f.w->workspace().width(), 300);
    EXPECT_EQ(f.w->workspace().height(), 20);
    f.w->actionForPath(QStringLiteral("Toolbar>Undo"))->trigger();  // the start step takes the new size too
    EXPECT_EQ(f.w->workspace().width(), 300);
}

// ---------------------------------------------------------------- Quick Background

namespace {
const QByteArray kPresets =
    "Sky=0,1,2,10,20,30,200\n"
    "broken=0,1,99,0,0,0,255\n"
    "alpha=17,17,17,0,0,0,255\n"
    "Short=1,2\n";

// The background of a settings value, for comparison.
Bitmap expected(const generators::QBSettings& s, int w, int h) { return generators::renderBackground(s, w, h); }
}  // namespace

TEST(QuickBackground, WindowLoadsTheSortedPresetsAndShowsOnlyNames) {
    Fx f(kPresets);
    f.run("Image>Quick>Quick Background");
    EXPECT_TRUE(f.qb().isVisible());
    EXPECT_EQ(f.qb().windowTitle(), "QuickBack");
    auto* combo = f.control<QComboBox>(&f.qb(), "qbpresets");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    EXPECT_EQ(items, (QStringList{"alpha", "broken", "Short", "Sky"}));
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(f.control<QListWidget>(&f.qb(), "QBList")->count(), 28);
    for (const char* r : {"redradio", "greenradio", "blueradio"})
        EXPECT_EQ(f.control<QRadioButton>(&f.qb(), r)->text(), "Prod") << r;
    EXPECT_EQ(f.control<QSlider>(&f.qb(), "trkFactor")->minimum(), 16);
    EXPECT_EQ(f.control<QSlider>(&f.qb(), "trkRed")->toolTip(), "Red");
}

TEST(QuickBackground, PickingAPresetSetsTheControlsAndRenders) {
    Fx f(kPresets);
    auto* combo = f.control<QComboBox>(&f.qb(), "qbpresets");
    combo->setCurrentIndex(3);  // Sky
    generators::QBSettings sky;
    sky.function = {0, 1, 2};
    sky.offset = {10, 20, 30};
    sky.factor = 200;
    EXPECT_EQ(f.qb().settings(), sky);
    EXPECT_EQ(f.control<QSlider>(&f.qb(), "trkGreen")->value(), 20);
    EXPECT_EQ(f.control<QSlider>(&f.qb(), "trkFactor")->value(), 200);
    EXPECT_EQ(f.control<QRadioButton>(&f.qb(), "blueradio")->text(), "Sub");
    EXPECT_EQ(f.w->workspace().pixelFormat(), PixelFormat::pf24bit);
    EXPECT_TRUE(samePixels(f.w->workspace(), expected(sky, 256, 256)));
    EXPECT_TRUE(f.dialogs->messages().isEmpty());
}

TEST(QuickBackground, BadPresetLinesReportAndDrawNothing) {
    for (int index : {1, 2}) {  // "broken" (function 99), "Short" (two fields)
        Fx f(kPresets);
        f.fill(0x00445566);
        f.control<QComboBox>(&f.qb(), "qbpresets")->setCurrentIndex(index);
        EXPECT_EQ(f.dialogs->messages(), QStringList{"Error in Presets"}) << index;
        EXPECT_TRUE(allPixels(f.w->workspace(), 0x00445566)) << index;
    }
    // The fields before the bad one are kept, and the controls show them.
    Fx f(kPresets);
    f.control<QComboBox>(&f.qb(), "qbpresets")->setCurrentIndex(1);
    EXPECT_EQ(f.qb().settings().function, (std::array<int, 3>{0, 1, 0}));
    EXPECT_EQ(f.control<QRadioButton>(&f.qb(), "greenradio")->text(), "Sum");
}

TEST(QuickBackground, ListClickSetsTheCheckedChannelAndPreviewKeepsTheWorkspace) {
    Fx f;
    auto* list = f.control<QListWidget>(&f.qb(), "QBList");
    // No channel checked: the click changes no formula but still renders.
    list->setCurrentRow(17);  // Inner
    EXPECT_EQ(f.qb().settings().function, (std::array<int, 3>{0, 0, 0}));
    EXPECT_TRUE(samePixels(f.w->workspace(), expected(generators::QBSettings{}, 256, 256)));

    f.control<QRadioButton>(&f.qb(), "greenradio")->click();
    EXPECT_EQ(list->currentRow(), 0);  // the channel's formula is shown, nothing rendered
    list->setCurrentRow(18);           // Outer
    EXPECT_EQ(f.qb().settings().function, (std::array<int, 3>{0, 18, 0}));
    EXPECT_EQ(f.control<QRadioButton>(&f.qb(), "greenradio")->text(), "Outer");
    EXPECT_EQ(f.w->workspace().pixel(7, 0), 0x00000700);  // green = column, the others 0 on row 0

    // With "Preview" the result goes to the preview window; the workspace stays.
    const Bitmap before = f.w->workspace();
    f.control<QCheckBox>(&f.qb(), "qbPreview")->click();
    f.control<QSlider>(&f.qb(), "trkGreen")->setValue(100);  // stored, not rendered
    EXPECT_FALSE(f.preview().isVisible());
    f.control<QToolButton>(&f.qb(), "gpUpdate")->click();
    ASSERT_TRUE(f.preview().isVisible());
    EXPECT_EQ(f.preview().picture().pixel(7, 0), 0x00006B00);
    EXPECT_TRUE(samePixels(f.w->workspace(), before));
    f.preview().UseClick();
    EXPECT_EQ(f.w->workspace().pixel(7, 0), 0x00006B00);
    EXPECT_EQ(f.w->workspace().width(), 256);
}

TEST(QuickBackground, AddDeleteAndUpdateRewriteTheSortedFile) {
    Fx f(kPresets);
    auto* combo = f.control<QComboBox>(&f.qb(), "qbpresets");
    auto trigger = [&](const char* name, QStringList answers = {}) {
        for (const QString& a : answers) f.dialogs->pushAnswer(a);
        auto* a = f.qb().findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
        EXPECT_TRUE(f.dialogs->pendingAnswers().empty()) << name;
    };
    // Update with nothing selected only says so.
    trigger("UpdateBackdrop1");
    EXPECT_EQ(f.dialogs->messages(), QStringList{"No item selected!"});
    const QString untouched = f.presetFile();

    trigger("AddBackdrop1", {""});  // an empty name adds nothing
    EXPECT_EQ(f.presetFile(), untouched);
    f.control<QSlider>(&f.qb(), "trkRed")->setValue(7);
    trigger("AddBackdrop1", {"Moss"});
    EXPECT_EQ(f.presetFile(), "alpha=17,17,17,0,0,0,255\nbroken=0,1,99,0,0,0,255\nMoss=0,0,0,7,0,0,255\n"
                              "Short=1,2\nSky=0,1,2,10,20,30,200\n");
    EXPECT_EQ(combo->currentText(), "Moss");

    // Update replaces the selected entry with the current values and the new name.
    f.control<QSlider>(&f.qb(), "trkFactor")->setValue(5);  // the factor stops at 16
    trigger("UpdateBackdrop1", {"Bark"});
    EXPECT_EQ(f.presetFile(), "alpha=17,17,17,0,0,0,255\nBark=0,0,0,7,0,0,16\nbroken=0,1,99,0,0,0,255\n"
                              "Short=1,2\nSky=0,1,2,10,20,30,200\n");

    combo->setCurrentIndex(2);  // broken: reports, then is deleted
    trigger("DeleteBackdrop1");
    EXPECT_EQ(f.presetFile(), "alpha=17,17,17,0,0,0,255\nBark=0,0,0,7,0,0,16\nShort=1,2\nSky=0,1,2,10,20,30,200\n");
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentIndex(), -1);
    trigger("DeleteBackdrop1");  // nothing selected: nothing happens
    EXPECT_EQ(combo->count(), 4);
}

TEST(QuickBackground, AWorkspaceOfOnePixelRendersOnePixel) {
    Fx f(kPresets);
    f.w->setWorkspaceSize(1, 1);
    f.control<QComboBox>(&f.qb(), "qbpresets")->setCurrentIndex(3);
    EXPECT_EQ(f.w->workspace().width(), 1);
    EXPECT_EQ(f.w->workspace().height(), 1);
    // Channel 1 (offset 10) writes the blue byte, channel 3 (offset 30) the red one.
    EXPECT_EQ(f.w->workspace().pixel(0, 0), 0x000A141Eu);
}

// ---------------------------------------------------------------- script requests

TEST(ScriptRequests, BackgroundAppliesTheNamedPresetAndFilterRunsTraceOrInvert) {
    Fx f(kPresets);
    // Case is ignored for backdrops; "Preview" does not divert a script's backdrop.
    f.control<QCheckBox>(&f.qb(), "qbPreview")->click();
    f.w->runScript(QStringLiteral("background \"SKY\""));
    generators::QBSettings sky;
    sky.function = {0, 1, 2};
    sky.offset = {10, 20, 30};
    sky.factor = 200;
    EXPECT_TRUE(samePixels(f.w->workspace(), expected(sky, 256, 256)));
    EXPECT_FALSE(f.preview().isVisible());

    const Bitmap sky24 = f.w->workspace();
    f.w->runScript(QStringLiteral("background \"nowhere\""));
    EXPECT_TRUE(samePixels(f.w->workspace(), sky24));

    f.w->runScript(QStringLiteral("filter \"Invert\""));  // filter names are exact
    EXPECT_TRUE(samePixels(f.w->workspace(), sky24));
    f.w->runScript(QStringLiteral("filter \"invert\""));
    Bitmap inverted = sky24;
    effects::invert(inverted);
    EXPECT_TRUE(samePixels(f.w->workspace(), inverted));
    f.w->runScript(QStringLiteral("filter \"trace\""));
    EXPECT_EQ(f.w->workspace().pixelFormat(), PixelFormat::pf8bit);
    EXPECT_TRUE(f.dialogs->messages().isEmpty()) << f.dialogs->messages().join("; ").toStdString();
}

TEST(QuickBackground, MouseClicksOnTheListRenderEachTimeEvenOnTheSameRow) {
    Fx f;
    f.qb().show();
    auto* list = f.control<QListWidget>(&f.qb(), "QBList");
    f.control<QRadioButton>(&f.qb(), "redradio")->click();
    auto clickRow = [&](int row) {
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    };
    list->scrollToItem(list->item(17));
    clickRow(17);  // Inner for channel 1
    EXPECT_EQ(f.qb().settings().function[0], 17);
    generators::QBSettings s;
    s.function = {17, 0, 0};
    EXPECT_TRUE(samePixels(f.w->workspace(), expected(s, 256, 256)));
    // The same row again renders again: the user's paint over the background goes.
    f.fill(clWhite);
    clickRow(17);
    EXPECT_TRUE(samePixels(f.w->workspace(), expected(s, 256, 256)));
}
