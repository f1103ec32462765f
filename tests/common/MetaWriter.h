#pragma once
// Builds WMF and EMF files record by record for the metafile tests.
#include <QByteArray>
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace metawriter {

inline void put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
inline void put32(QByteArray& b, std::uint32_t v) {
    put16(b, int(v & 0xFFFF));
    put16(b, int(v >> 16));
}

// WMF records take their parameters in file order (which is last argument first for GDI).
class Wmf {
public:
    QByteArray records;
    void rec(int func, std::initializer_list<int> words, const QByteArray& tail = {}) {
        QByteArray body;
        for (int w : words) put16(body, w);
        body += tail;
        if (body.size() % 2) body.append('\0');
        put32(records, std::uint32_t(3 + body.size() / 2));
        put16(records, func);
        records += body;
    }
    void color(int func, std::uint32_t c) { rec(func, {int(c & 0xFFFF), int(c >> 16)}); }
    void windowOrg(int x, int y) { rec(0x020B, {y, x}); }
    void windowExt(int x, int y) { rec(0x020C, {y, x}); }
    void rectangle(int l, int t, int r, int b) { rec(0x041B, {b, r, t, l}); }
    void ellipse(int l, int t, int r, int b) { rec(0x0418, {b, r, t, l}); }
    void moveTo(int x, int y) { rec(0x0214, {y, x}); }
    void lineTo(int x, int y) { rec(0x0213, {y, x}); }
    void pen(int style, int width, std::uint32_t c) { rec(0x02FA, {style, width, 0, int(c & 0xFFFF), int(c >> 16)}); }
    void brush(int style, std::uint32_t c, int hatch) { rec(0x02FC, {style, int(c & 0xFFFF), int(c >> 16), hatch}); }
    void font(int height, const char* face) {
        QByteArray tail(face);
        tail.append('\0');
        rec(0x02FB, {height, 0, 0, 0, 400, 0, 0, 0, 0}, tail);
    }
    void select(int i) { rec(0x012D, {i}); }
    void remove(int i) { rec(0x01F0, {i}); }
    void textOut(int x, int y, const QByteArray& s) {
        QByteArray tail = s;
        if (tail.size() % 2) tail.append('\0');
        put16(tail, y);
        put16(tail, x);
        rec(0x0521, {int(s.size())}, tail);
    }
    QByteArray file(bool placeable, int l = 0, int t = 0, int r = 0, int b = 0, int inch = 96, int objects = 16) const {
        QByteArray out;
        if (placeable) {
            put32(out, 0x9AC6CDD7);
            put16(out, 0);
            for (int v : {l, t, r, b}) put16(out, v);
            put16(out, inch);
            put32(out, 0);
            put16(out, 0);
        }
        QByteArray body = records;
        put32(body, 3);  // EOF
        put16(body, 0);
        put16(out, 1);
        put16(out, 9);
        put16(out, 0x0300);
        put32(out, std::uint32_t(9 + body.size() / 2));
        put16(out, objects);
        put32(out, 0);
        put16(out, 0);
        return out + body;
    }
};

class Emf {
public:
    QByteArray records;
    void rec(std::uint32_t type, std::initializer_list<std::int64_t> dwords, const QByteArray& tail = {}) {
        QByteArray body;
        for (auto v : dwords) put32(body, std::uint32_t(v));
        body += tail;
        while (body.size() % 4) body.append('\0');
        put32(records, type);
        put32(records, std::uint32_t(8 + body.size()));
        records += body;
    }
    // A picture of w by h pixels at 96 per inch: GDI sizes a picture as its frame's width and
    // height in reference pixels, rounded, so the frame spans w by h whole pixels.
    QByteArray file(int w, int h) const {
        const double pxPerMm = 96 / 25.4;
        QByteArray out;
        put32(out, 1);
        put32(out, 88);
        for (int v : {0, 0, w - 1, h - 1}) put32(out, std::uint32_t(v));
        for (double v : {0.0, 0.0, w * 100 / pxPerMm, h * 100 / pxPerMm}) put32(out, std::uint32_t(std::lround(v)));
        put32(out, 0x464D4520);
        put32(out, 0x10000);
        put32(out, 0);  // total bytes, patched below
        put32(out, 0);
        put16(out, 16);
        put16(out, 0);
        put32(out, 0);
        put32(out, 0);
        put32(out, 0);
        put32(out, 960);  // reference device: 960 by 960 pixels on 254 by 254 mm
        put32(out, 960);
        put32(out, 254);
        put32(out, 254);
        out += records;
        put32(out, 14);
        put32(out, 20);
        put32(out, 0);
        put32(out, 16);
        put32(out, 20);
        QByteArray size;
        put32(size, std::uint32_t(out.size()));
        out.replace(48, 4, size);
        return out;
    }
};

// A 24-bit bottom-up DIB: BITMAPINFOHEADER then rows of B, G, R.
inline QByteArray dib24(int w, int h, std::uint32_t (*color)(int x, int y)) {
    QByteArray out;
    put32(out, 40);
    put32(out, std::uint32_t(w));
    put32(out, std::uint32_t(h));
    put16(out, 1);
    put16(out, 24);
    for (int i = 0; i < 6; ++i) put32(out, 0);
    const int stride = (w * 3 + 3) & ~3;
    for (int row = h - 1; row >= 0; --row) {
        QByteArray line;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = color(x, row);  // 0x00BBGGRR
            line.append(char((c >> 16) & 0xFF));
            line.append(char((c >> 8) & 0xFF));
            line.append(char(c & 0xFF));
        }
        line.resize(stride, '\0');
        out += line;
    }
    return out;
}

}  // namespace metawriter
