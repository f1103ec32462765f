#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "../common/TestSupport.h"

using namespace pixoral;

namespace {

std::uint32_t le32(const QByteArray& a, int at) {
    const auto* u = reinterpret_cast<const unsigned char*>(a.constData() + at);
    return u[0] | (std::uint32_t(u[1]) << 8) | (std::uint32_t(u[2]) << 16) | (std::uint32_t(u[3]) << 24);
}

// A picture with many colours, so that each format stores something different.
Bitmap sample(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.setPixel(x, y, rgb(x * 37 % 256, y * 53 % 256, (x * y * 11) % 256));
    return b;
}

}  // namespace

TEST(Bmp, RoundTripKeepsEveryFormat) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        PixelFormat f;
        int bpp;
        int paletteSize;
    } cases[] = {
        {PixelFormat::Device, 32, 0}, {PixelFormat::pf24bit, 24, 0}, {PixelFormat::pf8bit, 8, 256},
        {PixelFormat::pf4bit, 4, 16}, {PixelFormat::pf1bit, 1, 2},
    };
    for (const auto& c : cases) {
        Bitmap b = sample(13, 7);  // odd sizes: padded rows and partial bytes
        b.setPixelFormat(c.f);
        const QString path = dir.filePath(QString("out_%1.bmp").arg(pixelFormatName(c.f)));
        QString error;
        ASSERT_TRUE(b.saveToFile(path, &error)) << error.toStdString();

        const QByteArray file = readAll(path);
        ASSERT_GE(file.size(), 54);
        EXPECT_EQ(file.left(2), "BM");
        EXPECT_EQ(file[28] | (file[29] << 8), c.bpp) << pixelFormatName(c.f);
        EXPECT_EQ(le32(file, 46), static_cast<std::uint32_t>(c.paletteSize));
        const int stride = ((13 * c.bpp + 31) / 32) * 4;
        EXPECT_EQ(file.size(), 54 + 4 * c.paletteSize + stride * 7);
        EXPECT_EQ(le32(file, 2), static_cast<std::uint32_t>(file.size()));
        if (c.f == PixelFormat::pf8bit) {
            for (int i = 0; i < 256; ++i) {
                const TColor p = halftonePalette()[i];  // stored B, G, R, 0
                ASSERT_EQ(le32(file, 54 + 4 * i), static_cast<std::uint32_t>(rgb(getBValue(p), getGValue(p), getRValue(p))));
            }
        }

        Bitmap back;
        ASSERT_TRUE(back.loadFromFile(path, &error)) << error.toStdString();
        EXPECT_EQ(back.pixelFormat(), PixelFormat::Device);
        ASSERT_EQ(back.width(), 13);
        ASSERT_EQ(back.height(), 7);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) ASSERT_EQ(back.pixel(x, y), b.pixel(x, y)) << pixelFormatName(c.f) << " " << x << "," << y;
        // Converting back gives the very same row bytes.
        back.setPixelFormat(c.f);
        for (int y = 0; y < 7; ++y)
            for (int i = 0; i < b.rowDataBytes(); ++i)
                ASSERT_EQ(back.scanLine(y)[i], b.scanLine(y)[i]) << pixelFormatName(c.f) << " row " << y;
    }
}

TEST(Bmp, BadFilesGiveAMessageAndChangeNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Bitmap good = sample(9, 9);
    good.setPixelFormat(PixelFormat::pf24bit);
    const QString goodPath = dir.filePath("good.bmp");
    ASSERT_TRUE(good.saveToFile(goodPath));
    const QByteArray valid = readAll(goodPath);

    QByteArray huge = valid;  // claims 100000 by 100000 pixels
    huge[18] = char(0xA0), huge[19] = char(0x86), huge[20] = 1, huge[21] = 0;
    huge[22] = char(0xA0), huge[23] = char(0x86), huge[24] = 1, huge[25] = 0;
    QByteArray zeroWide = valid;
    zeroWide[18] = zeroWide[19] = zeroWide[20] = zeroWide[21] = 0;
    QByteArray badDepth = valid;
    badDepth[28] = 7;
    QByteArray badOffset = valid;
    badOffset[10] = char(0xFF), badOffset[11] = char(0xFF);

    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("hello, this is not a picture at all")},
        {"header only", valid.left(30)},
        {"truncated", valid.left(valid.size() - 10)},
        {"huge", huge},
        {"zero width", zeroWide},
        {"bad depth", badDepth},
        {"bad offset", badOffset},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath("bad.bmp");
        writeAll(path, c.data);
        Bitmap b(3, 2);
        b.setPixel(0, 0, clRed);
        QString error;
        EXPECT_FALSE(b.loadFromFile(path, &error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_EQ(b.width(), 3) << c.name;
        EXPECT_EQ(b.pixel(0, 0), clRed) << c.name;
    }
    Bitmap b;
    QString error;
    EXPECT_FALSE(b.loadFromFile(dir.filePath("missing.bmp"), &error));
    EXPECT_TRUE(error.contains("missing.bmp"));
    EXPECT_FALSE(Bitmap().saveToFile(dir.filePath("empty.bmp"), &error));
    EXPECT_FALSE(good.saveToFile(dir.filePath("no/such/folder/x.bmp"), &error));
    EXPECT_FALSE(error.isEmpty());
    // A failed save leaves an existing file as it was.
    EXPECT_FALSE(Bitmap().saveToFile(goodPath));
    EXPECT_EQ(readAll(goodPath), valid);
}
