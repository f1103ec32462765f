// Mutated files of every loadable kind: each either loads or fails with a message, and a
// failure leaves the workspace as it was. (Run under the sanitizers, this also catches reads
// outside a buffer.)
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <random>

#include "../common/MetaWriter.h"
#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "files/ImageFile.h"

using namespace pixoral;

namespace {

QByteArray encoded(ImageFileType type, const Bitmap& b) {
    QByteArray out;
    QString error;
    encodeImageData(type, b, {}, &out, &error);
    return out;
}

QByteArray sampleIcon() {
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(qRgba(10, 200, 30, 128));
    QByteArray ico;
    QBuffer buf(&ico);
    buf.open(QIODevice::WriteOnly);
    QImageWriter(&buf, "ico").write(icon);
    return ico;
}

QByteArray sampleWmf() {
    metawriter::Wmf w;
    w.windowExt(30, 30);
    w.pen(1, 2, clRed);
    w.brush(2, clBlue, 3);
    w.select(0);
    w.select(1);
    w.ellipse(1, 1, 20, 25);
    w.rec(0x0538, {2, 3, 3, 0, 0, 10, 0, 0, 10, 5, 5, 15, 5, 5, 15});
    w.textOut(2, 2, "x");
    w.rec(0x0F43, {0x0020, 0x00CC, 0, 2, 4, 0, 0, 20, 40, 3, 5},
          metawriter::dib24(4, 2, [](int x, int) { return std::uint32_t(x * 60); }));
    return w.file(true, 0, 0, 30, 30, 96);
}

QByteArray sampleEmf() {
    metawriter::Emf e;
    e.rec(39, {1, 2, clRed, 5});
    e.rec(37, {1});
    e.rec(42, {2, 2, 20, 18});
    QByteArray pts;
    for (int v : {1, 1, 9, 3, 5, 8, 2, 9}) metawriter::put16(pts, v);
    e.rec(91, {0, 0, 0, 0, 2, 4, 2, 2}, pts);
    e.rec(81, {0, 0, 0, 0, 3, 3, 0, 0, 4, 2, 80, 40, 120, 24, 0, 0x00CC0020, 8, 8},
          metawriter::dib24(4, 2, [](int x, int y) { return std::uint32_t(x * 50 + y); }));
    return e.file(24, 24);
}

}  // namespace

TEST(Robustness, MutatedFilesLoadOrFailCleanly) {
    Bitmap src(24, 18);
    src.canvas().brush().setColor(clTeal);
    src.canvas().ellipse(2, 2, 20, 16);
    const struct {
        ImageFileType type;
        QByteArray data;
    } seeds[] = {
        {ImageFileType::Gif, encoded(ImageFileType::Gif, src)}, {ImageFileType::Jpeg, encoded(ImageFileType::Jpeg, src)},
        {ImageFileType::Bmp, encoded(ImageFileType::Bmp, src)}, {ImageFileType::Png, encoded(ImageFileType::Png, src)},
        {ImageFileType::Ico, sampleIcon()}, {ImageFileType::Wmf, sampleWmf()}, {ImageFileType::Emf, sampleEmf()},
    };
    std::mt19937 rng(12345);
    for (const auto& seed : seeds) {
        ASSERT_FALSE(seed.data.isEmpty());
        for (int round = 0; round < 150; ++round) {
            QByteArray data = seed.data;
            const int edits = 1 + int(rng() % 8);
            for (int i = 0; i < edits; ++i) {
                const int at = int(rng() % std::uint32_t(data.size()));
                switch (rng() % 4) {
                case 0: data[at] = char(rng()); break;
                case 1: data[at] = char(0xFF); break;
                case 2: data[at] = 0; break;
                default: data.truncate(at + 1); break;
                }
                if (data.isEmpty()) break;
            }
            Bitmap ws(7, 5);
            ws.setPixel(1, 1, clRed);
            QString error;
            const FileResult r = loadImageData(seed.type, data, ws, &error);
            if (r == FileResult::Failed) {
                EXPECT_FALSE(error.isEmpty());
                EXPECT_EQ(ws.width(), 7);
                EXPECT_EQ(ws.pixel(1, 1), clRed);
            } else {
                EXPECT_EQ(r, FileResult::Done);
                EXPECT_FALSE(ws.isEmpty());
            }
        }
    }
}
