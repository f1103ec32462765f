// Quick Cells and Quick JPEG from the Image menu: each window's controls and the way of its
// picture into the workspace, driven through the main window as a user would.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "files/JpegCodec.h"
#include "generators/JpegPreview.h"
#include "generators/QuickCells.h"
#include "generators/TJpegPreviewF.h"
#include "generators/TQuickCellF.h"
#include "generators/TQuickPreviewF.h"
#include "WindowFixture.h"
#include "workspace/SecondaryWindows.h"

using namespace pixoral;

TEST(QuickCellsWindow, MenuOpensItAChosenRuleDrawsAndPreviewGoesThroughUse) {
    TestWindow f;
    f.fill(clRed);
    const Bitmap red = f.w->workspace();
    f.run("Image>Quick>Quick Cells...");
    generators::TQuickCellF& q = *f.w->windows().quickCells();
    ASSERT_TRUE(q.isVisible());
    EXPECT_EQ(q.windowTitle(), "Quick Cell");
    auto* cellist = q.findChild<QListWidget*>("cellist");
    auto* bits = q.findChild<QListWidget*>("Bitlist");
    auto* preview = q.findChild<QCheckBox*>("qcPreview");
    ASSERT_TRUE(cellist && bits && preview);
    for (const char* n : {"Bit0", "Bit1", "bitpos"}) ASSERT_NE(q.findChild<QSpinBox*>(n), nullptr) << n;
    for (const char* n : {"bitrandom", "bitsplit"}) ASSERT_NE(q.findChild<QCheckBox*>(n), nullptr) << n;
    EXPECT_EQ(cellist->count(), generators::kCellRuleCount);
    EXPECT_EQ(q.findChild<QSpinBox*>("Bit1")->value(), 255);

    // Opening the window, and a change with no rule chosen, draw nothing.
    q.activateWindow();
    EXPECT_EQ(cellist->currentRow(), -1);
    bits->item(0)->setCheckState(Qt::Checked);
    EXPECT_TRUE(samePixels(f.w->workspace(), red));

    // Choosing a rule draws into the workspace, which becomes 8-bit.
    cellist->setCurrentRow(0);
    Bitmap expected = red;
    ASSERT_TRUE(generators::drawCells(q.settings(), expected));
    EXPECT_EQ(f.w->workspace().pixelFormat(), PixelFormat::pf8bit);
    EXPECT_TRUE(samePixels(f.w->workspace(), expected));

    // With "Preview" the cells go to Quick Preview, whose "Use" takes them over.
    const Bitmap before = f.w->workspace();
    preview->setChecked(true);
    q.findChild<QSpinBox*>("Bit0")->setValue(7);
    generators::TQuickPreviewF& pv = *f.w->windows().quickPreview();
    ASSERT_TRUE(pv.isVisible());
    expected = before;
    ASSERT_TRUE(generators::drawCells(q.settings(), expected));
    EXPECT_TRUE(samePixels(pv.picture(), expected));
    EXPECT_TRUE(samePixels(f.w->workspace(), before));
    pv.findChild<QPushButton*>("Use")->click();
    EXPECT_TRUE(samePixels(f.w->workspace(), expected));
}

TEST(QuickJpegWindow, ShowGivesTheSizeAssignTakesThePreviewAndSaveWritesColourJpg) {
    TestWindow f;
    Bitmap& ws = f.w->workspace();
    for (int y = 0; y < ws.height(); ++y)
        for (int x = 0; x < ws.width(); ++x) ws.setPixel(x, y, rgb(x, y, (x ^ y) & 255));
    const Bitmap original = ws;
    f.run("Image>Quick>Quick JPEG...");
    generators::TJpegPreviewF& q = *f.w->windows().jpegPreview();
    ASSERT_TRUE(q.isVisible());
    EXPECT_EQ(q.windowTitle(), "JPEG Preview");
    auto button = [&](const char* n) { return q.findChild<QPushButton*>(n); };
    auto* quality = q.findChild<QSpinBox*>("Quality");
    auto* gray = q.findChild<QCheckBox*>("jpgGray");
    auto* size = q.findChild<QLabel*>("jpegsize");
    ASSERT_TRUE(quality && gray && size);
    for (const char* n : {"jpegShow", "jpegSave", "jpegAssign"}) ASSERT_NE(button(n), nullptr) << n;
    EXPECT_EQ(quality->value(), generators::kJpegPreviewQuality);
    EXPECT_EQ(button("jpegAssign")->toolTip(), "Assign to Drawing");

    // Before any Show, Assign has nothing to give.
    button("jpegAssign")->click();
    EXPECT_TRUE(samePixels(f.w->workspace(), original));

    button("jpegShow")->click();
    generators::JpegPreview expected;
    ASSERT_TRUE(generators::compressJpeg(original, generators::kJpegPreviewQuality, false, &expected, nullptr));
    EXPECT_EQ(size->text(), QStringLiteral("Size=%1").arg(expected.stream.size()));
    EXPECT_TRUE(samePixels(q.preview(), expected.picture));
    button("jpegAssign")->click();
    EXPECT_TRUE(samePixels(f.w->workspace(), expected.picture));
    EXPECT_GT(differingPixels(f.w->workspace(), original), 0);

    // Saving as .jpeg writes .jpg, in colour although "Grayscale" is checked.
    gray->setChecked(true);
    const QString dir = f.dir.path() + QStringLiteral("/");
    f.dialogs->pushAnswer(dir + QStringLiteral("picture.jpeg"));
    button("jpegSave")->click();
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("picture.jpeg")));
    QImage written;
    ASSERT_TRUE(decodeJpeg(readAll(dir + QStringLiteral("picture.jpg")), &written, nullptr));
    EXPECT_NE(qRed(written.pixel(200, 20)), qGreen(written.pixel(200, 20)));
    EXPECT_EQ(size->text(), "jpeg size");

    // A file that cannot be written is reported, not taken as saved.
    f.dialogs->pushAnswer(dir + QStringLiteral("no such folder/x.jpg"));
    button("jpegSave")->click();
    EXPECT_EQ(f.dialogs->messages().size(), 1);
}
