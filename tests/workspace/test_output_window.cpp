// File > Split Save and File > Print... on the window: the image count item, the extension
// check, and a print to a PDF file rendered back to printer pixels.
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QToolButton>
#include <gtest/gtest.h>

#include "WindowFixture.h"
#include "files/TPaintPreviewF.h"
#include "workspace/SecondaryWindows.h"

using namespace pixoral;

namespace {

TEST(SplitSaveWindow, ImageCountAndExtension) {
    TestWindow t;
    QAction* item = t.w->findChild<QAction*>(QStringLiteral("ImageCount1"));
    const struct {
        const char* answer;
        int count;
        const char* caption;
    } cases[] = {{"5", 5, "Image Count=5"}, {"11", 5, "Image Count=5"}, {"abc", 2, "Image Count=2"}};
    for (const auto& c : cases) {
        t.run("File>Split Save>Image Count", {QString::fromLatin1(c.answer)});
        EXPECT_EQ(t.w->settings().splitImageCount, c.count) << c.answer;
        EXPECT_EQ(item->text(), QString::fromLatin1(c.caption)) << c.answer;
    }

    t.run("File>Split Save>Vertical Split", {t.dir.filePath(QStringLiteral("pic.bmp"))});
    EXPECT_EQ(t.dialogs->messages(), QStringList{QStringLiteral("Invalid Extension!")});
    EXPECT_FALSE(QFile::exists(t.dir.filePath(QStringLiteral("pic.bmp0.bmp"))));
    t.run("File>Split Save>Horizontal Split", {t.dir.filePath(QStringLiteral("PIC.JPG"))});
    for (const char* name : {"PIC.JPG0.jpg", "PIC.JPG1.jpg", "PIC.htm"})
        EXPECT_TRUE(QFile::exists(t.dir.filePath(QString::fromLatin1(name)))) << name;
}

// A 256 by 256 black image at scale 2 prints as 512 by 512 printer pixels at (10, 10).
TEST(PrintPreviewWindow, ScaleAndPdfPrint) {
    TestWindow t;
    t.fill(clBlack);
    t.run("File>Print");
    files::TPaintPreviewF* preview = t.w->windows().printPreview();
    ASSERT_TRUE(preview->isVisible());
    auto press = [&](const char* name) { preview->findChild<QToolButton*>(QString::fromLatin1(name))->click(); };
    auto label = [&] { return preview->findChild<QLabel*>(QStringLiteral("Label1"))->text(); };
    EXPECT_EQ(label(), QStringLiteral("2"));
    press("goplus");
    EXPECT_EQ(label(), QStringLiteral("4"));
    for (int i = 0; i < 3; ++i) press("gominus");
    EXPECT_EQ(preview->scale(), 1);
    press("goplus");

    preview->setPrintTarget(files::TPaintPreviewF::PrintTarget::PdfFile);
    const QString pdf = t.dir.filePath(QStringLiteral("page.pdf"));
    t.dialogs->pushAnswer(pdf);
    preview->goprintClick();
    ASSERT_TRUE(t.dialogs->messages().isEmpty()) << t.dialogs->messages().join('\n').toStdString();
    ASSERT_TRUE(readAll(pdf).startsWith("%PDF"));
    EXPECT_TRUE(preview->isVisible());

    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm is not installed";
    const QString prefix = t.dir.filePath(QStringLiteral("page"));
    ASSERT_EQ(QProcess::execute(pdftoppm, {QStringLiteral("-r"), QString::number(files::TPaintPreviewF::kPdfResolution),
                                           QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, prefix}),
              0);
    const QImage page(prefix + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    // The renderer may round the far edge (522 printer pixels, 125.28 points) out by one pixel.
    const struct {
        int x, y;
        bool black;
    } probes[] = {{9, 9, false}, {10, 10, true}, {521, 521, true}, {523, 100, false}, {100, 523, false}, {10, 9, false}};
    for (const auto& p : probes) EXPECT_EQ(qRed(page.pixel(p.x, p.y)) < 128, p.black) << p.x << "," << p.y;
}

}  // namespace
