// End-to-end: image files opened and saved by the real executable in batch mode.
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "BatchProcess.h"

#include "canvas/Bitmap.h"
#include "files/ImageFile.h"

using namespace pixoral;

namespace {

using Outcome = BatchOutcome;

Bitmap stripes(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.setPixel(x, y, x < w / 2 ? clNavy : clYellow);
    return b;
}

}  // namespace

TEST(BatchFiles, EveryFormatOpensAndSavesAsEveryOther) {
    QTemporaryDir dir;
    const Bitmap source = stripes(30, 20);
    const QStringList from = {"bmp", "gif", "jpg", "jpeg", "png"};
    const QStringList to = {"bmp", "gif", "jpg", "jpeg", "png"};
    for (const QString& a : from) {
        const QString in = dir.filePath("in." + a);
        QString err;
        ASSERT_EQ(saveImageFile(in, source, {}, &err), FileResult::Done) << err.toStdString();
        QStringList args{"--open", in};
        for (const QString& b : to) args << "--save" << dir.filePath(a + "-to." + b);
        args << "--state" << "-";
        const Outcome r = runBatch(args, dir.path());
        ASSERT_EQ(r.code, 0) << a.toStdString() << ": " << r.err.toStdString();
        const QJsonObject state = QJsonDocument::fromJson(r.out.toUtf8()).object();
        EXPECT_EQ(state["width"].toInt(), 30);
        EXPECT_EQ(state["height"].toInt(), 20);
        for (const QString& b : to) {
            const QString out = dir.filePath(a + "-to." + b);
            QImageReader reader(out, b == "jpeg" ? "jpg" : b.toLatin1().constData());
            const QImage img = reader.read();
            ASSERT_FALSE(img.isNull()) << out.toStdString() << ": " << reader.errorString().toStdString();
            EXPECT_EQ(img.size(), QSize(30, 20)) << out.toStdString();
            // Both halves keep their colour (JPEG within its error).
            const QColor left = img.pixelColor(3, 10), right = img.pixelColor(26, 10);
            EXPECT_GT(left.blue(), 96) << out.toStdString();
            EXPECT_LT(left.red(), 48) << out.toStdString();
            EXPECT_GT(right.red(), 200) << out.toStdString();
            EXPECT_LT(right.blue(), 56) << out.toStdString();
        }
    }
}

TEST(BatchFiles, BrokenFileStopsTheRunBeforeTheSave) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {{"broken.gif", "GIF89a\x10\x00"}, {"broken.jpg", "\xFF\xD8\xFF\xE0 cut"}, {"empty.png", {}}};
    for (const auto& c : cases) {
        const QString path = dir.filePath(c.name);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        const QString after = dir.filePath(QStringLiteral("after-%1.png").arg(c.name));
        const Outcome r = runBatch({"--open", path, "--save", after}, dir.path());
        EXPECT_EQ(r.code, 2) << c.name;
        EXPECT_TRUE(r.err.contains(QStringLiteral("message: Cannot open \"%1\"").arg(c.name))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(after)) << c.name;
    }
    // An extension no writer knows is refused with a reason, and nothing is written.
    const Outcome r = runBatch({"--save", dir.filePath("out.tiff")}, dir.path());
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("out.tiff"));
    EXPECT_FALSE(QFile::exists(dir.filePath("out.tiff")));
}
