#pragma once
// Small helpers shared by the test programs of every folder: pixel comparison, counting and
// bounds, plain images, and whole-file reads and writes.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <ostream>
#include <sstream>
#include <string>

#include "canvas/Bitmap.h"

namespace pixoral {

inline bool samePixels(const Bitmap& a, const Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

inline bool allPixels(const Bitmap& b, TColor c) {
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != c) return false;
    return true;
}

// How many pixels differ; -1 when the sizes do not match.
inline int differingPixels(const Bitmap& a, const Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

inline int countPixels(const Bitmap& b, TColor c) {
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) n += b.pixel(x, y) == c;
    return n;
}

// The smallest rectangle (inclusive) around the chosen pixels, and how many there are. Boxes
// compare by their rectangle only, so an expected box needs no count.
struct PixelBox {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    int count = 0;
    bool empty() const { return left > right; }
    bool operator==(const PixelBox& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

inline std::ostream& operator<<(std::ostream& os, const PixelBox& b) {
    return os << "[" << b.left << "," << b.top << ".." << b.right << "," << b.bottom << "]";
}

inline PixelBox boundsOf(const Bitmap& b, const std::function<bool(TColor)>& pick) {
    PixelBox r;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (pick(b.pixel(x, y))) {
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x);
                r.bottom = std::max(r.bottom, y);
                ++r.count;
            }
    return r;
}

inline PixelBox boundsOf(const Bitmap& b, TColor c) {
    return boundsOf(b, [c](TColor p) { return p == c; });
}

// A device-format image of one colour; the canvas settings are left as they were.
inline Bitmap filled(int w, int h, TColor c) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.setPixel(x, y, c);
    return b;
}

inline TColor grey(int v) { return rgb(v, v, v); }

// The file's bytes; empty when it cannot be read.
inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// A golden suite's list of cases that still differ from their reference picture: a line
// "name count [picture]" each ('#' starts a comment), the pixels a case may differ by and,
// optionally, another picture it must equal exactly instead.
struct KnownDifference {
    int count = 0;
    std::string picture;
};
inline std::map<std::string, KnownDifference> readKnownDifferences(const QString& path) {
    std::map<std::string, KnownDifference> known;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return known;
    while (!f.atEnd()) {
        std::istringstream in(f.readLine().toStdString());
        std::string name;
        KnownDifference k;
        if (in >> name && name[0] != '#' && in >> k.count) {
            in >> k.picture;
            known[name] = k;
        }
    }
    return known;
}

}  // namespace pixoral
