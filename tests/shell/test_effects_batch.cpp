// End-to-end: effects, the effects panel, Quick Background and the preview through the real
// executable in batch mode.
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "BatchProcess.h"
#include "../common/TestSupport.h"

using pixoral::writeAll;

namespace {

QJsonObject stateOf(const BatchOutcome& r) { return QJsonDocument::fromJson(r.out.toUtf8()).object(); }

QStringList visible(const QJsonObject& s) {
    QStringList out;
    for (const auto& v : s["visibleWindows"].toArray()) out << v.toString();
    out.sort();
    return out;
}

}  // namespace

TEST(EffectsBatch, InvertTwiceThroughTheMenuRestoresAndOnceGivesBlack) {
    QTemporaryDir dir;
    const QString once = dir.filePath("once.bmp"), twice = dir.filePath("twice.bmp");
    const BatchOutcome r = runBatch({"--do", "Image>Pixel Format>24 bit", "--do", "Image>Invert", "--save", once,
                                     "--do", "image>invert", "--save", twice},
                                    dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QImage a(once), b(twice);
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    bool black = true, white = true;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            black = black && (a.pixel(x, y) & 0xFFFFFF) == 0;
            white = white && (b.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
        }
    EXPECT_TRUE(black);  // every byte of the row, not just the left third
    EXPECT_TRUE(white);
}

TEST(EffectsBatch, PanelPreviewsAndUseKeepsTheWorkspaceSize) {
    QTemporaryDir dir;
    const BatchOutcome shown = runBatch({"--set", "TPixoralEffectsF.contrastbar=40", "--state", "-"}, dir.path());
    ASSERT_EQ(shown.code, 0) << shown.err.toStdString();
    const QJsonObject s1 = stateOf(shown);
    EXPECT_TRUE(visible(s1).contains("TQuickPreviewF"));
    EXPECT_EQ(s1["pixelFormat"].toString(), "device");  // the workspace is not changed yet
    EXPECT_EQ(s1["range"].toArray(), (QJsonArray{0, 0, 256, 256}));

    const BatchOutcome used = runBatch(
        {"--do", "View>Effects Panel", "--set", "TPixoralEffectsF.blurbar=3", "--press", "TQuickPreviewF.Use", "--state", "-"},
        dir.path());
    ASSERT_EQ(used.code, 0) << used.err.toStdString();
    const QJsonObject s2 = stateOf(used);
    EXPECT_EQ(s2["width"].toInt(), 256);
    EXPECT_EQ(s2["height"].toInt(), 256);
    EXPECT_EQ(s2["pixelFormat"].toString(), "pf24bit");
    EXPECT_EQ(visible(s2), (QStringList{"TPixoralEffectsF", "TPixoralF"}));
}

TEST(EffectsBatch, TurtleBackgroundAndPresetErrors) {
    QTemporaryDir dir;
    writeAll(dir.filePath("PixoralQB.txt"), "Sky=0,1,2,10,20,30,200\nBad=0,1,x,0,0,0,255\n");
    const QString out = dir.filePath("sky.bmp");
    const BatchOutcome r = runBatch({"--run", "background \"sky\"", "--save", out}, dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QImage img(out);
    ASSERT_FALSE(img.isNull());
    // At x = 3, y = 5: blue (x*y mod 200) + 10, green (x+y mod 200) + 20, red (x-y mod 200) + 30.
    EXPECT_EQ(img.pixel(3, 5) & 0xFFFFFF, qRgb(28, 28, 25) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, qRgb(30, 20, 10) & 0xFFFFFF);

    // The drop-down lists the names sorted; picking the bad line reports and draws nothing.
    const BatchOutcome bad = runBatch({"--do", "Image>Quick>Quick Background", "--set", "TPixoralQBF.qbpresets=0", "--state", "-"},
                                      dir.path());
    ASSERT_EQ(bad.code, 0) << bad.err.toStdString();
    EXPECT_TRUE(bad.err.contains("message: Error in Presets")) << bad.err.toStdString();
    EXPECT_EQ(stateOf(bad)["pixelFormat"].toString(), "device");
    EXPECT_TRUE(visible(stateOf(bad)).contains("TPixoralQBF"));
}

TEST(EffectsBatch, QuickBackgroundControlsAndAddingABackdrop) {
    QTemporaryDir dir;
    const QString out = dir.filePath("qb.bmp");
    const BatchOutcome r = runBatch({"--set", "TPixoralQBF.redradio=1", "--set", "TPixoralQBF.trkRed=5", "--set",
                                     "TPixoralQBF.QBList=18", "--press", "TPixoralQBF.AddBackdrop1", "--answer", "Cols",
                                     "--save", out},
                                    dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QImage img(out);
    ASSERT_FALSE(img.isNull());
    // Channel 1 is "Outer" plus 5: the blue byte at column 9 is 14; the others are Prod (0 on row 0).
    EXPECT_EQ(img.pixel(9, 0) & 0xFFFFFF, qRgb(0, 0, 14) & 0xFFFFFF);
    QFile f(dir.filePath("PixoralQB.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "Cols=18,0,0,5,0,0,255\n");
}

TEST(EffectsBatch, TraceFilterFromAScriptAndBadPromptAnswers) {
    QTemporaryDir dir;
    const BatchOutcome r = runBatch({"--do", "Image>Trace>Color Byte", "--answer", "300", "--do", "Image>Trace>Intensity",
                                     "--answer", "nine", "--run", "filter \"trace\"", "--state", "-"},
                                    dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(stateOf(r)["pixelFormat"].toString(), "pf8bit");
    EXPECT_FALSE(r.err.contains("message:")) << r.err.toStdString();
}
