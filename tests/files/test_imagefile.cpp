// The load and save entry points: choice by extension, whole-or-nothing loading, icons
// over old content, atomic writes.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <cstdint>
#include <vector>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "files/DataBound.h"
#include "files/ImageFile.h"
#include "../common/TestSupport.h"

using namespace pixoral;

namespace {

Bitmap pattern(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.setPixel(x, y, (x + y) % 3 == 0 ? clRed : (x % 4 == 0 ? clNavy : clWhite));
    return b;
}

class ImageFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

}  // namespace

TEST(ImageFileType, ChosenByUpperCasedExtensionOnly) {
    const struct {
        const char* name;
        ImageFileType type;
        bool save;
    } cases[] = {
        {"a.bmp", ImageFileType::Bmp, true},   {"a.JPG", ImageFileType::Jpeg, true},
        {"a.jpeg", ImageFileType::Jpeg, true}, {"a.JpEg", ImageFileType::Jpeg, true},
        {"a.gif", ImageFileType::Gif, true},   {"a.ico", ImageFileType::Ico, false},
        {"a.WMF", ImageFileType::Wmf, false},  {"a.emf", ImageFileType::Emf, false},
        {"a.png", ImageFileType::Png, true},   {"a.tif", ImageFileType::Unknown, false},
        {"noext", ImageFileType::Unknown, false}, {"dir.gif/noext", ImageFileType::Unknown, false},
        {"a.gif.txt", ImageFileType::Unknown, false}, {"a.", ImageFileType::Unknown, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(imageFileTypeOf(QString::fromLatin1(c.name)), c.type) << c.name;
        EXPECT_EQ(canSaveImageType(c.type), c.save) << c.name;
    }
}

TEST_F(ImageFileTest, RoundTripsEveryWritableFormat) {
    const Bitmap src = pattern(31, 17);
    for (const char* name : {"r.bmp", "r.gif", "r.png", "r.jpeg", "r.JPG"}) {
        QString error;
        ASSERT_EQ(saveImageFile(path(name), src, {}, &error), FileResult::Done) << name << error.toStdString();
        Bitmap ws(256, 256);
        ASSERT_EQ(loadImageFile(path(name), ws, &error), FileResult::Done) << name << error.toStdString();
        EXPECT_EQ(ws.width(), 31);
        EXPECT_EQ(ws.height(), 17);
        if (imageFileTypeOf(path(name)) != ImageFileType::Jpeg) {
            EXPECT_TRUE(samePixels(src, ws)) << name;
        }
    }
    EXPECT_TRUE(readAll(path("r.jpeg")).startsWith("\xFF\xD8"));
    EXPECT_TRUE(readAll(path("r.gif")).startsWith("GIF89a"));
    EXPECT_TRUE(readAll(path("r.bmp")).startsWith("BM"));
}

TEST_F(ImageFileTest, UnknownExtensionsDoNothingAndSayNothing) {
    const Bitmap src = pattern(10, 10);
    QString error;
    EXPECT_EQ(saveImageFile(path("none"), src, {}, &error), FileResult::Skipped);
    EXPECT_EQ(saveImageFile(path("x.txt"), src, {}, &error), FileResult::Skipped);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    writeAll(path("x.tif"), "whatever");
    Bitmap ws = pattern(20, 20);
    EXPECT_EQ(loadImageFile(path("x.tif"), ws, &error), FileResult::Skipped);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(samePixels(ws, pattern(20, 20)));
}

TEST_F(ImageFileTest, BrokenFilesFailWithTheirNameAndChangeNothing) {
    const Bitmap src = pattern(40, 30);
    QString error;
    ASSERT_EQ(saveImageFile(path("good.gif"), src, {}, &error), FileResult::Done);
    ASSERT_EQ(saveImageFile(path("good.jpg"), src, {}, &error), FileResult::Done);
    ASSERT_EQ(saveImageFile(path("good.bmp"), src, {}, &error), FileResult::Done);
    const QByteArray gif = readAll(path("good.gif")), jpg = readAll(path("good.jpg")), bmp = readAll(path("good.bmp"));
    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        {"empty.gif", {}}, {"cut.gif", gif.left(gif.size() / 2)}, {"jpeg.gif", jpg},
        {"empty.jpg", {}}, {"cut.jpg", jpg.left(jpg.size() / 2)}, {"gif.jpeg", gif},
        {"empty.bmp", {}}, {"cut.bmp", bmp.left(60)}, {"gif.bmp", gif},
        {"empty.ico", {}}, {"gif.ico", gif}, {"empty.png", {}}, {"gif.png", gif},
        {"empty.wmf", {}}, {"gif.wmf", gif}, {"empty.emf", {}}, {"jpg.emf", jpg},
    };
    for (const auto& c : cases) {
        writeAll(path(c.name), c.data);
        Bitmap ws = pattern(25, 15);
        error.clear();
        EXPECT_EQ(loadImageFile(path(c.name), ws, &error), FileResult::Failed) << c.name;
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.name))) << error.toStdString();
        EXPECT_TRUE(samePixels(ws, pattern(25, 15))) << c.name;
    }
    Bitmap ws = pattern(5, 5);
    EXPECT_EQ(loadImageFile(path("missing.gif"), ws, &error), FileResult::Failed);
    EXPECT_TRUE(error.contains("does not exist"));
}

TEST_F(ImageFileTest, IconIsDrawnOverTheOldContent) {
    // A 32 by 32 icon: opaque green on the left half, fully transparent on the right.
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x) icon.setPixel(x, y, qRgb(0, 255, 0));
    QByteArray ico;
    {
        QBuffer buf(&ico);
        buf.open(QIODevice::WriteOnly);
        QImageWriter writer(&buf, "ico");
        ASSERT_TRUE(writer.write(icon)) << writer.errorString().toStdString();
    }
    writeAll(path("i.ico"), ico);
    Bitmap ws(256, 256);
    ws.canvas().brush().setColor(clBlue);
    ws.canvas().fillRect(Rect{0, 0, 256, 256});
    ws.canvas().pen().color = clRed;
    QString error;
    ASSERT_EQ(loadImageFile(path("i.ico"), ws, &error), FileResult::Done) << error.toStdString();
    EXPECT_EQ(ws.width(), 32);
    EXPECT_EQ(ws.height(), 32);
    EXPECT_EQ(ws.pixel(3, 3), clLime);
    EXPECT_EQ(ws.pixel(20, 3), clBlue);
    EXPECT_EQ(ws.pixel(31, 31), clBlue);
    EXPECT_EQ(ws.canvas().pen().color, clRed);  // the user's drawing state is untouched

    Bitmap own;
    ASSERT_EQ(readImageFile(path("i.ico"), &own, &error), FileResult::Done);
    EXPECT_EQ(own.pixel(20, 3), clWhite);
}

namespace {

void put16(QByteArray& b, int v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); }
void put32(QByteArray& b, std::uint32_t v) {
    put16(b, int(v & 0xFFFF));
    put16(b, int(v >> 16));
}

// One icon image: a one-colour 24-bit DIB (a BMP file without its file header) whose header
// counts the height twice, then the mask making the columns from `clearFrom` on transparent.
QByteArray iconDib(int w, int h, QRgb c, int clearFrom) {
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(c);
    QByteArray bmp;
    QBuffer buf(&bmp);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "bmp");
    QByteArray dib = bmp.mid(14);
    QByteArray doubled;
    put32(doubled, std::uint32_t(2 * h));
    dib.replace(8, 4, doubled);
    QByteArray maskRow(((w + 31) / 32) * 4, '\0');
    for (int x = clearFrom; x < w; ++x) maskRow[x >> 3] = char(maskRow[x >> 3] | (0x80 >> (x & 7)));
    return dib + maskRow.repeated(h);
}

QByteArray pngOf(int w, int h, QRgb c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "png");
    return out;
}

// An icon file of these images; an entry may claim more bytes than follow it.
QByteArray iconFile(const std::vector<QByteArray>& images, int overstate = 0) {
    QByteArray head, body;
    put16(head, 0);
    put16(head, 1);
    put16(head, int(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (const QByteArray& img : images) {
        head.append(4, '\0');  // width, height, colours, reserved: the image's own header decides
        put16(head, 1);
        put16(head, 24);
        put32(head, std::uint32_t(img.size() + (&img == &images.front() ? overstate : 0)));
        put32(head, offset);
        offset += std::uint32_t(img.size());
        body += img;
    }
    return head + body;
}

}  // namespace

TEST_F(ImageFileTest, IconFilesOpenTheirLargestReadableImage) {
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    const struct {
        const char* name;
        QByteArray file;
        QSize size;  // empty: the file fails and the workspace stays
        TColor at00, right;  // pixel (0, 0) and the last pixel of the first row
    } cases[] = {
        {"png-largest", iconFile({iconDib(16, 16, red, 16), pngOf(48, 40, blue), iconDib(32, 32, green, 32)}),
         {48, 40}, clBlue, clBlue},
        {"masked dib", iconFile({iconDib(16, 16, red, 16), iconDib(32, 10, green, 20)}), {32, 10}, clLime, clNavy},
        {"largest cut short", iconFile({pngOf(64, 64, green), iconDib(24, 24, blue, 24)}, 5000), {24, 24}, clBlue, clBlue},
        {"nothing readable", iconFile({QByteArray(60, 'x')}), {}, 0, 0},
        {"no directory", QByteArray("\0\0\1\0", 4), {}, 0, 0},
    };
    for (const auto& c : cases) {
        writeAll(path("i.ico"), c.file);
        Bitmap ws = filled(70, 70, clNavy);
        QString error;
        const FileResult r = loadImageFile(path("i.ico"), ws, &error);
        if (c.size.isEmpty()) {
            EXPECT_EQ(r, FileResult::Failed) << c.name;
            EXPECT_TRUE(error.contains("i.ico")) << error.toStdString();
            EXPECT_TRUE(allPixels(ws, clNavy)) << c.name;
            continue;
        }
        ASSERT_EQ(r, FileResult::Done) << c.name << ": " << error.toStdString();
        EXPECT_EQ(QSize(ws.width(), ws.height()), c.size) << c.name;
        EXPECT_EQ(ws.pixel(0, 0), c.at00) << c.name;
        EXPECT_EQ(ws.pixel(ws.width() - 1, 0), c.right) << c.name;  // masked parts show the old content
    }
}

TEST_F(ImageFileTest, TransparencyOptionForGifAndPng) {
    Bitmap src = pattern(12, 12);
    src.setPixel(0, 11, clWhite);
    ImageSaveOptions opt;
    opt.gifTransparent = true;
    QString error;
    ASSERT_EQ(saveImageFile(path("t.gif"), src, opt, &error), FileResult::Done);
    const QByteArray gif = readAll(path("t.gif"));
    const int gce = int(gif.indexOf(QByteArray("\x21\xF9\x04", 3)));
    ASSERT_GE(gce, 0);
    EXPECT_TRUE(gif[gce + 3] & 1);
    ASSERT_EQ(saveImageFile(path("t.png"), src, opt, &error), FileResult::Done);
    QImage png(path("t.png"));
    ASSERT_FALSE(png.isNull());
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(qAlpha(png.pixel(x, y)) == 0, src.pixel(x, y) == clWhite) << x << "," << y;
    // Reopened, PNG transparency is composited over white.
    Bitmap ws;
    ASSERT_EQ(loadImageFile(path("t.png"), ws, &error), FileResult::Done);
    EXPECT_TRUE(samePixels(ws, src));
}

TEST_F(ImageFileTest, FailedSaveKeepsTheOldFile) {
    writeAll(path("keep.gif"), "old contents");
    QString error;
    EXPECT_EQ(saveImageFile(path("keep.gif"), Bitmap(), {}, &error), FileResult::Failed);
    EXPECT_TRUE(error.contains("keep.gif"));
    EXPECT_EQ(readAll(path("keep.gif")), QByteArray("old contents"));
    EXPECT_EQ(saveImageFile(path("no/such/dir/x.jpg"), pattern(4, 4), {}, &error), FileResult::Failed);
    EXPECT_FALSE(error.isEmpty());
}

TEST(DataBound, HeadersClaimingMoreThanTheirDataCanFillAreRefused) {
    // Sides near 2^32 (a PNG header holds 32 bits) are refused without the product overflowing.
    EXPECT_FALSE(pngDataCanFill(4159631106LL, 3078881281LL, 64, 1 << 20));
    EXPECT_FALSE(gifDataCanFill(4159631106LL, 3078881281LL, 1 << 20));
    EXPECT_FALSE(jpegDataCanFill(4159631106LL, 3078881281LL, 1 << 20));
    // A flat white picture is each format's best case, so it must still open; the same file
    // with its header patched to claim 16000 by 16000 pixels must not.
    auto be16 = [](QByteArray& d, int at, int v) { d[at] = char(v >> 8), d[at + 1] = char(v & 0xFF); };
    auto le16 = [](QByteArray& d, int at, int v) { d[at] = char(v & 0xFF), d[at + 1] = char(v >> 8); };
    struct Case {
        ImageFileType type;
        int side;
        std::function<void(QByteArray&)> claim;
    };
    const Case cases[] = {
        {ImageFileType::Jpeg, 2048,
         [&](QByteArray& d) {
             const int sof = int(d.indexOf("\xFF\xC0"));
             be16(d, sof + 5, 16000);
             be16(d, sof + 7, 16000);
         }},
        {ImageFileType::Png, 2048,
         [&](QByteArray& d) {
             be16(d, 16, 0), be16(d, 18, 16000);  // width, then height, 32 bits each
             be16(d, 20, 0), be16(d, 22, 16000);
         }},
        {ImageFileType::Gif, 1024,
         [&](QByteArray& d) {
             le16(d, 6, 16000);  // the screen, then the frame after its ","
             le16(d, 8, 16000);
             const int desc = int(d.indexOf(',', 13));
             le16(d, desc + 5, 16000);
             le16(d, desc + 7, 16000);
         }},
    };
    for (const Case& c : cases) {
        QByteArray data;
        QString reason;
        ASSERT_EQ(encodeImageData(c.type, Bitmap(c.side, c.side), {}, &data, &reason), FileResult::Done);
        Bitmap ws(10, 10);
        ASSERT_EQ(loadImageData(c.type, data, ws, &reason), FileResult::Done) << reason.toStdString();
        EXPECT_EQ(ws.width(), c.side);
        c.claim(data);
        ws = Bitmap(10, 10);
        EXPECT_EQ(loadImageData(c.type, data, ws, &reason), FileResult::Failed) << int(c.type);
        EXPECT_TRUE(reason.startsWith(QStringLiteral("the file claims 16000 by 16000 pixels, more than its ")))
            << reason.toStdString();
        EXPECT_EQ(ws.width(), 10);
    }
}
