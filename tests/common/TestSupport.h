#pragma once
// Small helpers shared by the test programs of every folder: pixel comparison and whole-file
// reads and writes.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

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

}  // namespace pixoral
