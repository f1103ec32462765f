#pragma once
// Small hand-built images for the effect tests: rows of raw bytes in a given format.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

namespace pixoral::test {

using Bytes = std::vector<std::uint8_t>;

// A bitmap whose rows hold exactly the given pixel bytes (each row rowDataBytes() long).
inline Bitmap fromRows(int width, PixelFormat f, std::initializer_list<Bytes> rows) {
    Bitmap b(width, static_cast<int>(rows.size()), f);
    int y = 0;
    for (const Bytes& r : rows) {
        std::uint8_t* p = b.scanLine(y++);
        for (std::size_t i = 0; i < r.size(); ++i) p[i] = r[i];
    }
    return b;
}

inline Bytes rowBytes(const Bitmap& b, int y) {
    const std::uint8_t* p = b.scanLine(y);
    return Bytes(p, p + b.rowDataBytes());
}

// A grey 24-bit image from one value per pixel.
inline Bitmap grey24(int width, std::initializer_list<Bytes> rows) {
    Bitmap b(width, static_cast<int>(rows.size()), PixelFormat::pf24bit);
    int y = 0;
    for (const Bytes& r : rows) {
        std::uint8_t* p = b.scanLine(y++);
        for (std::size_t x = 0; x < r.size(); ++x) p[3 * x] = p[3 * x + 1] = p[3 * x + 2] = r[x];
    }
    return b;
}

// The first byte of every pixel of row y of a 24-bit image (the grey value of a grey image).
inline Bytes greyRow(const Bitmap& b, int y) {
    const std::uint8_t* p = b.scanLine(y);
    Bytes out;
    for (int x = 0; x < b.width(); ++x) out.push_back(p[3 * x]);
    return out;
}

}  // namespace pixoral::test
