// The metafile player on generated WMF and EMF files.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <climits>

#include "../common/MetaWriter.h"
#include "../common/TestSupport.h"
#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "files/ImageFile.h"
#include "files/Metafile.h"

using namespace pixoral;
using metawriter::Emf;
using metawriter::Wmf;

namespace {

Bitmap playWmf(const QByteArray& file, TColor background = clWhite, int w = 120, int h = 90) {
    Bitmap ws = filled(w, h, background);
    QString error;
    EXPECT_EQ(loadImageData(ImageFileType::Wmf, file, ws, &error), FileResult::Done) << error.toStdString();
    return ws;
}

Bitmap playEmf(const QByteArray& file, TColor background = clWhite) {
    Bitmap ws = filled(50, 50, background);
    QString error;
    EXPECT_EQ(loadImageData(ImageFileType::Emf, file, ws, &error), FileResult::Done) << error.toStdString();
    return ws;
}

int countColor(const Bitmap& b, TColor c, const Rect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += b.pixel(x, y) == c;
    return n;
}

std::uint32_t dibColor(int x, int y) { return x == 0 && y == 0 ? 0x0000FF : (x == 3 && y == 1 ? 0x00FF00 : 0xFF0000); }

void emfRect(Emf& e, std::uint32_t type, int l, int t, int r, int b) { e.rec(type, {l, t, r, b}); }

}  // namespace

TEST(Wmf, PlaceableBoxGivesSizeAndScale) {
    // 1000 by 500 units at 960 per inch: 100 by 50 pixels, a tenth of a unit each.
    Wmf w;
    w.pen(5, 0, 0);  // null pen
    w.select(0);
    w.brush(0, clRed, 0);
    w.select(1);
    w.rectangle(100, 100, 500, 300);
    Bitmap ws = playWmf(w.file(true, 0, 0, 1000, 500, 960), clBlue, 300, 300);
    ASSERT_EQ(ws.width(), 100);
    ASSERT_EQ(ws.height(), 50);
    EXPECT_EQ(ws.pixel(10, 10), clRed);
    EXPECT_EQ(ws.pixel(48, 28), clRed);
    EXPECT_EQ(ws.pixel(9, 9), clBlue);   // old content shows around the figure
    EXPECT_EQ(ws.pixel(60, 40), clBlue);
}

TEST(Wmf, PlainFileSizedByItsWindowExtent) {
    Wmf w;
    w.windowOrg(10, 20);
    w.windowExt(64, 48);
    w.brush(0, clLime, 0);
    w.select(0);
    w.rectangle(10, 20, 20, 30);
    Bitmap ws = playWmf(w.file(false));
    ASSERT_EQ(ws.width(), 64);
    ASSERT_EQ(ws.height(), 48);
    EXPECT_EQ(ws.pixel(0, 0), clBlack);  // the default pen's outline at the origin
    EXPECT_EQ(ws.pixel(5, 5), clLime);
    EXPECT_EQ(ws.pixel(15, 15), clWhite);
}

TEST(Wmf, ObjectSlotsAreReusedAndStateIsSavedAndRestored) {
    Wmf w;
    w.windowExt(40, 40);
    w.pen(0, 1, clRed);      // slot 0
    w.brush(0, clYellow, 0); // slot 1
    w.remove(0);
    w.pen(0, 1, clGreen);    // takes slot 0 again
    w.select(0);
    w.select(1);
    w.rec(0x001E, {});       // SaveDC
    w.brush(0, clBlue, 0);   // slot 2
    w.select(2);
    w.rec(0x0127, {0xFFFF}); // RestoreDC(-1): the yellow brush again
    w.rectangle(5, 5, 25, 25);
    Bitmap ws = playWmf(w.file(false));
    EXPECT_EQ(ws.pixel(5, 10), clGreen);
    EXPECT_EQ(ws.pixel(15, 15), clYellow);
}

TEST(Wmf, PenMixesAndBackgroundModes) {
    // Xor pen over blue gives yellow.
    Wmf x;
    x.windowExt(40, 40);
    x.pen(0, 1, clWhite);
    x.select(0);
    x.rec(0x0104, {7});  // R2_XORPEN
    x.moveTo(0, 10);
    x.lineTo(30, 10);
    Bitmap ws = playWmf(x.file(false), clBlue);
    EXPECT_EQ(ws.pixel(15, 10), clYellow);
    EXPECT_EQ(ws.pixel(15, 11), clBlue);

    // A cross hatch shows the background colour in its gaps only in opaque mode.
    for (int mode : {1, 2}) {
        Wmf h;
        h.windowExt(40, 40);
        h.pen(5, 0, 0);
        h.select(0);
        h.brush(2, clBlack, 4);  // HS_CROSS
        h.select(1);
        h.color(0x0201, clLime);
        h.rec(0x0102, {mode});
        h.rectangle(0, 0, 32, 32);
        Bitmap b = playWmf(h.file(false), clBlue);
        const Rect inside{2, 2, 30, 30};
        EXPECT_GT(countColor(b, clBlack, inside), 0);
        EXPECT_EQ(countColor(b, clLime, inside) > 0, mode == 2) << mode;
        EXPECT_EQ(countColor(b, clBlue, inside) > 0, mode == 1) << mode;
    }
}

TEST(Wmf, TextAndDibs) {
    Wmf w;
    w.windowExt(100, 60);
    w.font(-20, "DejaVu Sans");
    w.select(0);
    w.color(0x0209, clRed);
    w.rec(0x0102, {1});
    w.textOut(5, 5, "Hi");
    // StretchDIB: rop, usage, srcH, srcW, ySrc, xSrc, destH, destW, yDst, xDst, DIB.
    const QByteArray dib = metawriter::dib24(4, 2, dibColor);
    w.rec(0x0F43, {0x0020, 0x00CC, 0, 2, 4, 0, 0, 20, 40, 30, 50}, dib);
    Bitmap ws = playWmf(w.file(false));
    EXPECT_GT(countColor(ws, clRed, Rect{5, 5, 45, 35}), 10);
    EXPECT_EQ(countColor(ws, clRed, Rect{0, 35, 50, 60}), 0);
    EXPECT_EQ(ws.pixel(52, 32), clRed);  // DIB pixel (0, 0), top-left, scaled by 10
    EXPECT_EQ(ws.pixel(88, 48), clLime); // DIB pixel (3, 1)
    EXPECT_EQ(ws.pixel(70, 40), clBlue);
}

TEST(Wmf, DamagedAndUnknownRecords) {
    Wmf ok;
    ok.windowExt(20, 20);
    ok.rec(0x0999, {1, 2, 3});             // unknown: skipped
    ok.rec(0x0324, {5000, 1, 1});          // polygon claiming more points than it holds
    ok.rec(0x0A32, {1, 1, 300, 0});        // ExtTextOut past its end
    ok.rec(0x012D, {40000});               // select a slot that does not exist
    ok.brush(0, clRed, 0);
    ok.select(0);
    ok.rectangle(0, 0, 10, 10);
    Bitmap ws = playWmf(ok.file(false));
    EXPECT_EQ(ws.pixel(5, 5), clRed);

    const QByteArray good = ok.file(false);
    QByteArray tooLong = good;
    tooLong[18] = char(0x7F);  // first record's length far past the end
    QByteArray tooShort = good;
    tooShort[18] = 1;
    tooShort[19] = tooShort[20] = tooShort[21] = 0;
    for (const QByteArray& bad : {tooLong, tooShort, good.left(10), good.left(good.size() - 11), QByteArray("\x01\x00\x09")}) {
        Bitmap b = filled(10, 10, clBlue);
        QString error;
        EXPECT_EQ(loadImageData(ImageFileType::Wmf, bad, b, &error), FileResult::Failed);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(b.width(), 10);
        EXPECT_EQ(b.pixel(3, 3), clBlue);
    }
}

TEST(Emf, FrameGivesSizeAndShapesDraw) {
    Emf e;
    e.rec(37, {0x80000008});                  // NULL_PEN
    e.rec(39, {1, 0, clRed, 0});              // brush 1: solid red
    e.rec(37, {1});
    emfRect(e, 43, 10, 10, 30, 20);           // rectangle
    e.rec(37, {0x80000004});                  // BLACK_BRUSH
    emfRect(e, 42, 40, 40, 60, 60);           // ellipse
    e.rec(15, {5, 70, clBlue});               // SetPixelV
    QByteArray pts;
    for (int v : {70, 5, 90, 5, 80, 25}) metawriter::put16(pts, v);
    e.rec(86, {0, 0, 0, 0, 3}, pts);          // Polygon16
    Bitmap ws = playEmf(e.file(120, 80));
    ASSERT_EQ(ws.width(), 120);
    ASSERT_EQ(ws.height(), 80);
    EXPECT_EQ(ws.pixel(15, 15), clRed);
    EXPECT_EQ(ws.pixel(35, 15), clWhite);
    EXPECT_EQ(ws.pixel(50, 50), clBlack);
    EXPECT_EQ(ws.pixel(41, 41), clWhite);     // outside the ellipse's curve
    EXPECT_EQ(ws.pixel(5, 70), clBlue);
    EXPECT_EQ(ws.pixel(80, 10), clBlack);
}

TEST(Emf, MappingAndWorldTransform) {
    // Anisotropic: window 200 by 200 on a viewport of 100 by 100 halves everything.
    Emf a;
    a.rec(17, {8});
    a.rec(9, {200, 200});
    a.rec(11, {100, 100});
    a.rec(37, {0x80000008});
    a.rec(37, {0x80000004});
    emfRect(a, 43, 20, 20, 60, 60);
    Bitmap ws = playEmf(a.file(100, 100));
    EXPECT_EQ(ws.pixel(12, 12), clBlack);
    EXPECT_EQ(ws.pixel(27, 27), clBlack);
    EXPECT_EQ(ws.pixel(31, 31), clWhite);

    // A world transform scaling by 2 and moving by (5, 0).
    Emf t;
    QByteArray xf;
    for (float f : {2.0f, 0.0f, 0.0f, 2.0f, 5.0f, 0.0f}) {
        std::uint32_t v;
        std::memcpy(&v, &f, 4);
        metawriter::put32(xf, v);
    }
    t.rec(35, {}, xf);
    t.rec(37, {0x80000008});
    t.rec(37, {0x80000004});
    emfRect(t, 43, 5, 5, 10, 10);
    ws = playEmf(t.file(40, 40));
    EXPECT_EQ(ws.pixel(15, 10), clBlack);
    EXPECT_EQ(ws.pixel(23, 18), clBlack);
    EXPECT_EQ(ws.pixel(26, 21), clWhite);
    EXPECT_EQ(ws.pixel(12, 12), clWhite);
}

TEST(Emf, LinesCurvesTextAndDibs) {
    Emf e;
    e.rec(38, {1, 0, 1, 0, clRed});           // pen 1: solid red
    e.rec(37, {1});
    e.rec(27, {0, 2});                        // MoveToEx
    e.rec(54, {50, 2});                       // LineTo
    QByteArray curve;
    for (int v : {0, 40, 10, 20, 30, 20, 40, 40}) metawriter::put16(curve, v);
    e.rec(85, {0, 0, 0, 0, 4}, curve);        // PolyBezier16
    // ExtTextOutW of "Ab" in blue, transparent background.
    e.rec(82, {2, -16, 0, 0, 0, 400, 0, 0}, [] {
        QByteArray face;
        for (QChar c : QStringLiteral("DejaVu Sans")) metawriter::put16(face, c.unicode());
        face.resize(64, '\0');
        return face;
    }());
    e.rec(37, {2});
    e.rec(24, {clBlue});
    e.rec(18, {1});
    QByteArray text;
    metawriter::put16(text, 'A');
    metawriter::put16(text, 'b');
    e.rec(84, {0, 0, 0, 0, 1, 0, 0, 60, 5, 2, 76, 0, 0, 0, 0, 0, 0}, text);
    // StretchDIBits of a 4 by 2 DIB to 40 by 20 at (60, 50).
    const QByteArray dib = metawriter::dib24(4, 2, dibColor);
    e.rec(81, {0, 0, 0, 0, 60, 50, 0, 0, 4, 2, 80, 40, 120, dib.size() - 40, 0, 0x00CC0020, 40, 20}, dib);
    Bitmap ws = playEmf(e.file(110, 80));
    EXPECT_EQ(ws.pixel(25, 2), clRed);
    EXPECT_EQ(ws.pixel(0, 40), clRed);        // the curve starts at its first point
    EXPECT_GT(countColor(ws, clRed, Rect{10, 20, 30, 35}), 3);
    EXPECT_GT(countColor(ws, clBlue, Rect{60, 5, 100, 30}), 5);
    EXPECT_EQ(ws.pixel(61, 51), clRed);
    EXPECT_EQ(ws.pixel(98, 68), clLime);
}

TEST(Emf, DamagedHeadersAndHostileRecords) {
    Emf e;
    e.rec(4, {0, 0, 0, 0, 0x7FFFFFFF, 1, 2});             // polyline claiming 2^31 points
    e.rec(81, {0, 0, 0, 0, 0, 0, 0, 0, 4, 2, 80, 40, 120, 100000, 0, 0x00CC0020, 4, 2},
          QByteArray(40, '\x01'));                         // DIB offsets past the record
    e.rec(200, {1, 2, 3});                                 // unknown
    e.rec(34, {-5});                                       // RestoreDC with nothing saved
    e.rec(37, {0x80000008});
    e.rec(37, {0x80000004});
    emfRect(e, 43, 0, 0, 10, 10);
    const QByteArray good = e.file(20, 20);
    Bitmap ws = playEmf(good);
    EXPECT_EQ(ws.pixel(5, 5), clBlack);

    QByteArray badSize = good;
    badSize[88 + 4] = 7;  // first record's size not a multiple of four
    QByteArray pastEnd = good;
    pastEnd[88 + 6] = 0x10;
    QByteArray huge = good;
    for (int i = 16; i < 24; ++i) huge[i] = 0x7F;   // bounds far away
    for (int i = 32; i < 40; ++i) huge[i] = 0x7F;   // and the frame too
    for (const QByteArray& bad : {badSize, pastEnd, huge, good.left(60)}) {
        Bitmap b = filled(10, 10, clBlue);
        QString error;
        EXPECT_EQ(loadImageData(ImageFileType::Emf, bad, b, &error), FileResult::Failed);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(b.pixel(3, 3), clBlue);
    }
}

TEST(Metafile, PlayingLeavesTheCanvasStateAlone) {
    Wmf w;
    w.windowExt(20, 20);
    w.pen(0, 3, clRed);
    w.select(0);
    w.rec(0x0104, {7});
    w.lineTo(10, 10);
    Metafile meta;
    QString error;
    ASSERT_TRUE(meta.load(w.file(false), &error));
    Bitmap b(20, 20);
    b.canvas().pen().color = clNavy;
    b.canvas().pen().width = 2;
    b.canvas().brush().setStyle(BrushStyle::bsClear);
    meta.play(b.canvas(), 20, 20);
    EXPECT_EQ(b.canvas().pen().color, clNavy);
    EXPECT_EQ(b.canvas().pen().width, 2);
    EXPECT_EQ(b.canvas().pen().mode, PenMode::pmCopy);
    EXPECT_TRUE(b.canvas().brush().isClear());
}

TEST(Metafile, FilesCutShortOrWithImpossibleRecordSizesAreRefused) {
    // WMF: 18-byte header, window extent at 18 (10 bytes), rectangle at 28 (14), end at 42.
    Wmf w;
    w.windowExt(20, 20);
    w.rectangle(0, 0, 10, 10);
    const QByteArray wmf = w.file(false);
    ASSERT_EQ(wmf.size(), 48);
    // EMF: 88-byte header, rectangle at 88 (24 bytes), end record at 112 (20).
    Emf e;
    emfRect(e, 43, 0, 0, 10, 10);
    const QByteArray emf = e.file(20, 20);
    ASSERT_EQ(emf.size(), 132);
    auto withSize = [](QByteArray f, int at, std::uint32_t size) {
        for (int i = 0; i < 4; ++i) f[at + i] = char(size >> (8 * i));
        return f;
    };
    const struct {
        const char* name;
        QByteArray data;
        const char* why;
    } cases[] = {
        {"header-only.wmf", wmf.left(18), "truncated"},
        {"no-end-record.wmf", wmf.left(42), "truncated"},
        {"cut-in-record.wmf", wmf.left(35), "truncated"},
        {"cut-in-end-record.wmf", wmf.left(44), "truncated"},
        {"past-end.wmf", withSize(wmf, 28, 0x100), "past the end"},
        {"shorter-than-header.wmf", withSize(wmf, 28, 2), "impossible size"},
        {"zero-size.wmf", withSize(wmf, 28, 0), "impossible size"},
        {"no-end-record.emf", emf.left(112), "truncated"},
        {"cut-in-record.emf", emf.left(100), "truncated"},
        {"cut-in-end-record.emf", emf.left(120), "truncated"},
        {"cut-in-record-header.emf", emf.left(116), "truncated"},
        {"past-end.emf", withSize(emf, 92, 0x1000), "past the end"},
        {"shorter-than-header.emf", withSize(emf, 92, 4), "impossible size"},
        {"zero-size.emf", withSize(emf, 92, 0), "impossible size"},
        {"zero-size-end.emf", withSize(emf, 116, 0), "impossible size"},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& c : cases) {
        const QString path = QDir(dir.path()).filePath(c.name);
        writeAll(path, c.data);
        Bitmap ws = filled(10, 10, clBlue);
        QString error;
        EXPECT_EQ(loadImageFile(path, ws, &error), FileResult::Failed) << c.name;
        EXPECT_TRUE(error.contains(c.name) && error.contains(c.why)) << c.name << ": " << error.toStdString();
        EXPECT_TRUE(samePixels(ws, filled(10, 10, clBlue))) << c.name;
    }
}

TEST(Metafile, CoordinatesAtTheEndsOfTheIntegerRangePlay) {
    // Run under UBSan this fails on any overflow in the mapping, the figures or the blits.
    const std::int64_t lo = INT_MIN, hi = INT_MAX;
    const QByteArray dib = metawriter::dib24(4, 2, dibColor);
    const std::int64_t one = 0x3F800000;  // 1.0f
    Emf e;
    e.rec(38, {1, 0, lo, 0, clRed});  // a pen of width INT_MIN
    e.rec(37, {1});
    emfRect(e, 42, lo, hi, hi, lo);
    e.rec(44, {lo, lo, hi, hi, hi, lo});
    e.rec(47, {lo, lo, hi, hi, hi, 0, lo, hi});
    e.rec(27, {lo, lo});
    e.rec(54, {hi, hi});
    e.rec(4, {0, 0, 0, 0, 3, lo, hi, hi, lo, lo, lo});
    e.rec(15, {hi, lo, clRed});
    e.rec(81, {0, 0, 0, 0, lo, hi, lo, hi, hi, lo, 80, 40, 120, dib.size() - 40, 0, 0x00CC0020, hi, lo}, dib);
    e.rec(77, {0, 0, 0, 0, hi, lo, lo, hi, 0x00CC0020, hi, lo, one, 0, 0, one, 0, 0, 0, 0, 108, 40, 148,
               dib.size() - 40, lo, hi},
          dib);
    e.rec(82, {2, -16, 0, lo, 0, lo, 0, 0}, QByteArray(64, '\0'));  // escapement and weight INT_MIN
    e.rec(37, {2});
    QByteArray text;
    metawriter::put16(text, 'A');
    e.rec(84, {0, 0, 0, 0, 1, 0, 0, hi, lo, 1, 76, 4, lo, lo, hi, hi, 0}, text);
    e.rec(37, {0x80000008});  // NULL_PEN
    e.rec(37, {0x80000004});  // BLACK_BRUSH
    emfRect(e, 43, lo, lo, hi, hi);  // covers everything
    // Extreme mappings: every point lands far away or nowhere.
    e.rec(17, {8});
    e.rec(9, {1, 1});
    e.rec(11, {hi, lo});
    e.rec(10, {lo, hi});
    e.rec(12, {hi, lo});
    emfRect(e, 43, lo, lo, hi, hi);
    e.rec(9, {hi, lo});
    e.rec(11, {1, hi});
    for (int i = 0; i < 40; ++i) e.rec(31, {hi, 1, lo, 1});  // the viewport extent overflows to infinity
    emfRect(e, 42, 0, 0, 10, 10);
    e.rec(44, {0, 0, 10, 10, 0, 0});
    EXPECT_TRUE(allPixels(playEmf(e.file(30, 30)), clBlack));

    Wmf w;
    w.windowExt(20, 20);
    w.rec(0x0103, {8});
    w.rec(0x020E, {-32768, 32767});  // viewport extent
    w.windowExt(1, -1);
    w.rec(0x020D, {32767, -32768});  // viewport origin
    for (int i = 0; i < 8; ++i) w.rec(0x0211, {32767, -32768});
    w.rectangle(-32768, -32768, 32767, 32767);
    w.ellipse(32767, -32768, -32768, 32767);
    w.rec(0x061C, {32767, 32767, 32767, -32768, 32767, -32768});
    w.rec(0x0F43, {0x0020, 0x00CC, 0, -32768, 32767, -32768, 32767, 32767, -32768, 32767, -32768},
          metawriter::dib24(4, 2, dibColor));
    for (int i = 0; i < 200; ++i) w.rec(0x0412, {1, 32767, 1, 32767});  // ScaleViewportExt
    w.lineTo(32767, -32768);
    Bitmap ww = playWmf(w.file(false));
    EXPECT_EQ(ww.width(), 20);
}
