// GIF and JPEG codecs: round trips, palette reduction, transparency, error handling.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

#include <QImage>
#include <cmath>

#include "files/GifCodec.h"
#include "files/JpegCodec.h"
#include "files/MedianCut.h"

using namespace pixoral;

namespace {

QImage gradient(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / std::max(1, w - 1), y * 255 / std::max(1, h - 1), (x + y) & 255));
    return img;
}

QImage fewColors(int w, int h) {
    static const QRgb kColors[5] = {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 255), qRgb(17, 34, 51)};
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, kColors[(x / 3 + y / 5) % 5]);
    return img;
}

bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) return false;
    return true;
}

double meanError(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// Finds the graphic control extension (21 F9 04 flags delay delay index 00).
int transparentIndex(const QByteArray& gif) {
    const int at = int(gif.indexOf(QByteArray("\x21\xF9\x04", 3)));
    if (at < 0) return -1;
    if (!(gif[at + 3] & 1)) return -1;
    return static_cast<unsigned char>(gif[at + 6]);
}

int writeBytes(GifFileType* g, const GifByteType* b, int n) {
    static_cast<QByteArray*>(g->UserData)->append(reinterpret_cast<const char*>(b), n);
    return n;
}

// A hand-made GIF: 4 colours, a 6 by 10 frame at (1, 2) on an 8 by 13 screen, optionally
// interlaced and with a local map instead of the global one.
QByteArray handMadeGif(bool interlaced, bool localMap) {
    GifColorType colors[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    GifColorType other[4] = {{9, 9, 9}, {1, 2, 3}, {200, 100, 50}, {7, 77, 177}};
    ColorMapObject* local = GifMakeMapObject(4, other);
    QByteArray out;
    int err = 0;
    GifFileType* g = EGifOpen(&out, writeBytes, &err);
    EGifPutScreenDesc(g, 8, 13, 2, 2, map);
    EGifPutImageDesc(g, 1, 2, 6, 10, interlaced, localMap ? local : nullptr);
    // Row r has value r % 4; interlaced files send the rows pass by pass.
    std::vector<int> order;
    if (interlaced) {
        for (int r = 0; r < 10; r += 8) order.push_back(r);
        for (int r = 4; r < 10; r += 8) order.push_back(r);
        for (int r = 2; r < 10; r += 4) order.push_back(r);
        for (int r = 1; r < 10; r += 2) order.push_back(r);
    } else {
        for (int r = 0; r < 10; ++r) order.push_back(r);
    }
    for (int r : order) {
        GifPixelType line[6];
        for (int x = 0; x < 6; ++x) line[x] = GifPixelType(r % 4);
        EGifPutLine(g, line, 6);
    }
    EGifCloseFile(g, &err);
    GifFreeMapObject(map);
    GifFreeMapObject(local);
    return out;
}

}  // namespace

TEST(Gif, ExactPaletteRoundTripAndMapSize) {
    const QImage img = fewColors(37, 23);
    QByteArray gif;
    QString error;
    ASSERT_TRUE(encodeGif(img, {}, &gif, &error)) << error.toStdString();
    EXPECT_TRUE(gif.startsWith("GIF89a"));
    // Five colours need a map of eight entries: size field 2 in the screen descriptor.
    EXPECT_EQ(static_cast<unsigned char>(gif[10]) & 0x87, 0x80 | 2);
    QImage back;
    ASSERT_TRUE(decodeGif(gif, &back, &error)) << error.toStdString();
    EXPECT_TRUE(samePixels(img, back));

    GifWriteOptions full;
    full.optimizeColorMap = false;
    ASSERT_TRUE(encodeGif(img, full, &gif, &error));
    EXPECT_EQ(static_cast<unsigned char>(gif[10]) & 0x07, 7);
    ASSERT_TRUE(decodeGif(gif, &back, &error));
    EXPECT_TRUE(samePixels(img, back));
}

TEST(Gif, TransparencyTakesTheBottomLeftIndex) {
    QImage img = fewColors(20, 20);
    img.setPixel(0, 19, qRgb(0, 0, 255));
    QByteArray gif;
    QString error;
    ASSERT_TRUE(encodeGif(img, {}, &gif, &error));
    EXPECT_EQ(transparentIndex(gif), -1);
    GifWriteOptions opt;
    opt.transparentBottomLeft = true;
    ASSERT_TRUE(encodeGif(img, opt, &gif, &error));
    const IndexedImage ix = reduceColors(img);
    ASSERT_GE(transparentIndex(gif), 0);
    EXPECT_EQ(ix.palette[std::size_t(transparentIndex(gif))], qRgb(0, 0, 255));
    // Reopened, the transparent colour shows its own palette colour.
    QImage back;
    ASSERT_TRUE(decodeGif(gif, &back, &error));
    EXPECT_TRUE(samePixels(img, back));
}

TEST(Gif, MedianCutIsBoundedAndDeterministic) {
    const QImage img = gradient(200, 150);
    const IndexedImage a = reduceColors(img), b = reduceColors(img);
    EXPECT_LE(a.palette.size(), 256u);
    EXPECT_GT(a.palette.size(), 200u);
    EXPECT_EQ(a.palette, b.palette);
    EXPECT_EQ(a.indices, b.indices);
    QByteArray gif;
    QString error;
    ASSERT_TRUE(encodeGif(img, {}, &gif, &error));
    QImage back;
    ASSERT_TRUE(decodeGif(gif, &back, &error));
    EXPECT_LT(meanError(img, back), 6.0);
    // Limits other than 256 hold as well.
    EXPECT_LE(reduceColors(img, 16).palette.size(), 16u);
    EXPECT_EQ(reduceColors(fewColors(9, 9), 2).palette.size(), 2u);
}

TEST(Gif, InterlacedFramesAndLocalMaps) {
    for (bool interlaced : {false, true})
        for (bool local : {false, true}) {
            const QByteArray gif = handMadeGif(interlaced, local);
            QImage img;
            QString error;
            ASSERT_TRUE(decodeGif(gif, &img, &error)) << error.toStdString();
            ASSERT_EQ(img.size(), QSize(8, 13));
            const QRgb global[4] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
            const QRgb own[4] = {qRgb(9, 9, 9), qRgb(1, 2, 3), qRgb(200, 100, 50), qRgb(7, 77, 177)};
            const QRgb* colors = local ? own : global;
            for (int row = 0; row < 10; ++row)
                EXPECT_EQ(img.pixel(3, 2 + row), colors[row % 4]) << interlaced << local << row;
            // Outside the frame: the screen's background colour (index 2 of the global map).
            EXPECT_EQ(img.pixel(0, 0), global[2]);
            EXPECT_EQ(img.pixel(7, 12), global[2]);
        }
}

TEST(Gif, BadInputIsAnError) {
    QByteArray good;
    QString error;
    ASSERT_TRUE(encodeGif(gradient(64, 64), {}, &good, &error));
    const QByteArray cases[] = {QByteArray(), QByteArray("GIF89a"), good.left(30), good.left(good.size() / 2),
                                QByteArray("\xFF\xD8\xFF\xE0 not a gif at all", 22)};
    for (const QByteArray& data : cases) {
        QImage img;
        error.clear();
        EXPECT_FALSE(decodeGif(data, &img, &error)) << data.size();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(img.isNull());
    }
    // A header claiming 65535 by 65535 is refused before any allocation.
    QByteArray huge = good;
    huge[6] = huge[7] = huge[8] = huge[9] = char(0xFF);
    const int desc = int(huge.indexOf(','));
    ASSERT_GT(desc, 0);
    for (int i = 5; i < 9; ++i) huge[desc + i] = char(0xFF);
    QImage img;
    EXPECT_FALSE(decodeGif(huge, &img, &error));

    // A frame of 16000 by 16000 (within the size limit) announced by a few bytes of data
    // cannot be there: it is refused instead of claiming a gigabyte first.
    QByteArray bomb = good;
    const char side[2] = {char(16000 & 0xFF), char(16000 >> 8)};
    bomb[6] = bomb[8] = side[0];
    bomb[7] = bomb[9] = side[1];
    bomb[desc + 5] = bomb[desc + 7] = side[0];
    bomb[desc + 6] = bomb[desc + 8] = side[1];
    error.clear();
    EXPECT_FALSE(decodeGif(bomb, &img, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("the file claims 16000 by 16000 pixels"))) << error.toStdString();
}

TEST(Jpeg, QualityChangesSizeAndError) {
    const QImage img = gradient(128, 96);
    QByteArray q25, q100, q1;
    QString error;
    ASSERT_TRUE(encodeJpeg(img, kDefaultJpegQuality, false, &q25, &error)) << error.toStdString();
    ASSERT_TRUE(encodeJpeg(img, 100, false, &q100, &error));
    ASSERT_TRUE(encodeJpeg(img, 1, false, &q1, &error));
    EXPECT_TRUE(q25.startsWith("\xFF\xD8"));
    EXPECT_LT(q1.size(), q25.size());
    EXPECT_LT(q25.size(), q100.size());
    QImage back25, back100;
    ASSERT_TRUE(decodeJpeg(q25, &back25, &error)) << error.toStdString();
    ASSERT_TRUE(decodeJpeg(q100, &back100, &error));
    EXPECT_EQ(back25.size(), img.size());
    const double e25 = meanError(img, back25), e100 = meanError(img, back100);
    EXPECT_LT(e25, 8.0);
    EXPECT_LT(e100, e25);
    EXPECT_LT(e100, 2.0);
}

TEST(Jpeg, GrayscaleWritesOneComponent) {
    const QImage img = gradient(40, 30);
    QByteArray gray, color;
    QString error;
    ASSERT_TRUE(encodeJpeg(img, 90, true, &gray, &error));
    ASSERT_TRUE(encodeJpeg(img, 90, false, &color, &error));
    // The frame header (FF C0) gives the component count after precision, height and width.
    auto components = [](const QByteArray& j) {
        const int at = int(j.indexOf("\xFF\xC0"));
        return at < 0 ? -1 : int(static_cast<unsigned char>(j[at + 9]));
    };
    EXPECT_EQ(components(gray), 1);
    EXPECT_EQ(components(color), 3);
    QImage back;
    ASSERT_TRUE(decodeJpeg(gray, &back, &error));
    for (int y = 0; y < back.height(); y += 7)
        for (int x = 0; x < back.width(); x += 7) {
            const QRgb p = back.pixel(x, y);
            EXPECT_EQ(qRed(p), qGreen(p));
            EXPECT_EQ(qGreen(p), qBlue(p));
        }
}

TEST(Jpeg, ProgressiveFilesDecode) {
    // A progressive file made with libjpeg directly.
    const QImage img = gradient(50, 40).convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct c;
    jpeg_error_mgr e;
    c.err = jpeg_std_error(&e);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buf, &size);
    c.image_width = 50;
    c.image_height = 40;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(img.constScanLine(int(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    const QByteArray data(reinterpret_cast<const char*>(buf), qsizetype(size));
    free(buf);
    ASSERT_GE(data.indexOf("\xFF\xC2"), 0);  // progressive frame marker
    QImage back;
    QString error;
    ASSERT_TRUE(decodeJpeg(data, &back, &error)) << error.toStdString();
    EXPECT_LT(meanError(img.convertToFormat(QImage::Format_RGB32), back), 3.0);
}

TEST(Jpeg, BadInputIsAnErrorNotAnExit) {
    QByteArray good;
    QString error;
    ASSERT_TRUE(encodeJpeg(gradient(64, 64), 50, false, &good, &error));
    QByteArray garbled = good;
    for (int i = 200; i < garbled.size() - 2; i += 3) garbled[i] = char(0xFF);
    const QByteArray cases[] = {QByteArray(), QByteArray("\xFF\xD8"), good.left(100), good.left(good.size() - 40),
                                QByteArray("GIF89a not a jpeg"), garbled};
    int failures = 0;
    for (const QByteArray& data : cases) {
        QImage img;
        error.clear();
        if (!decodeJpeg(data, &img, &error)) {
            ++failures;
            EXPECT_FALSE(error.isEmpty());
            EXPECT_TRUE(img.isNull());
        }
    }
    // Everything but perhaps the garbled scan data (which libjpeg may decode into noise).
    EXPECT_GE(failures, 5);
}

TEST(Jpeg, ACutFileSaysItIsDamagedAndHowMuchWasRead) {
    QByteArray good;
    QString error;
    ASSERT_TRUE(encodeJpeg(gradient(64, 256), 90, false, &good, &error));
    const QByteArray cut = good.left(good.size() / 2);
    struct Case {
        QByteArray data;
        const char* start;
    };
    const Case cases[] = {
        {cut, "the file is cut short: only "},
        {cut + QByteArray("\xFF\xD9", 2), "the file is damaged: only "},  // an end marker after the cut
    };
    for (const Case& c : cases) {
        QImage img;
        ASSERT_FALSE(decodeJpeg(c.data, &img, &error));
        EXPECT_TRUE(img.isNull());
        ASSERT_TRUE(error.startsWith(QLatin1String(c.start))) << error.toStdString();
        ASSERT_TRUE(error.endsWith(QLatin1String(" of its 256 rows could be read"))) << error.toStdString();
        const int rows = error.mid(int(qstrlen(c.start))).section(QLatin1Char(' '), 0, 0).toInt();
        EXPECT_GT(rows, 32);  // about half the rows, give or take a band of blocks
        EXPECT_LT(rows, 224);
    }
}
