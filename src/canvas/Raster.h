#pragma once
// The one write path of the canvas layer: every figure, line and glyph ends in these runs,
// so pen modes, brushes and pixel formats are handled in one place. Internal to src/canvas.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "core/Parallel.h"

namespace pixoral::raster {

// Row y, columns [x0, x1), clipped to the bitmap: a solid colour through the pen mode.
// clNone draws nothing; system colours are resolved.
void penSpan(Bitmap& bmp, int y, int x0, int x1, TColor color, PenMode mode);
// The same run painted with the brush (hatch gaps and clear brushes leave pixels alone).
void brushSpan(Bitmap& bmp, int y, int x0, int x1, const Brush& brush, PenMode mode);
// The same two on a row taken beforehand (see RowRef), for figures that share their rows out
// over the cores: scanLine() must not run in the bands.
struct RowRef {
    std::uint8_t* row;
    PixelFormat format;
    int width;
};
void penRun(const RowRef& r, int x0, int x1, TColor color, PenMode mode);
void brushRun(const RowRef& r, int y, int x0, int x1, const Brush& brush, PenMode mode);
// Calls band(rowAt, first, last) on row ranges that together cover the bitmap's rows y0 .. y1
// (inclusive, clipped) once, shared out over the cores when the figure paints at least
// kSharedPixels pixels (about `pixels`; starting a thread costs more than painting a line or
// a small shape); rowAt(y) gives row y as a RowRef. For figures whose runs stay in the row
// they are computed for, so the pixels are the same whatever the number of cores; band must
// be safe to call from several threads.
constexpr long long kSharedPixels = 1 << 18;
template <class Band>
void shareRowBands(Bitmap& bmp, long long y0, long long y1, long long pixels, Band band) {
    y0 = std::max(y0, 0LL);
    y1 = std::min<long long>(y1, bmp.height() - 1);
    if (y0 > y1) return;
    std::uint8_t* first = bmp.scanLine(0);  // detaches here, not in the bands
    const std::ptrdiff_t stride = bmp.bytesPerLine();
    const PixelFormat format = bmp.pixelFormat();
    const int width = bmp.width();
    const auto rowAt = [=](int y) { return RowRef{first + y * stride, format, width}; };
    const int top = static_cast<int>(y0), rows = static_cast<int>(y1 - y0 + 1);
    parallel::forRows(rows, [&](int r0, int r1) { band(rowAt, top + r0, top + r1); },
                      pixels >= kSharedPixels ? 64 : rows + 1);
}

// The same one row at a time: paint(RowRef, y).
template <class Paint>
void shareRows(Bitmap& bmp, long long y0, long long y1, long long pixels, Paint paint) {
    shareRowBands(bmp, y0, y1, pixels, [&](const auto& rowAt, int first, int last) {
        for (int y = first; y < last; ++y) paint(rowAt(y), y);
    });
}
// One pixel through the pen mode; ignored outside the bitmap.
void penPixel(Bitmap& bmp, int x, int y, TColor color, PenMode mode);

// ---- Pixel plumbing shared by the canvas sources ----
// Inside the canvas layer pixels travel as "native" values 0x00RRGGBB, the device word
// without its top byte, so device rows need no swizzling. Pen mixes and raster operations
// are bitwise per channel, so they give the same result in either byte order.
inline std::uint32_t toNative(TColor c) {
    const std::uint32_t v = static_cast<std::uint32_t>(colorToRGB(c));
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}
inline TColor fromNative(std::uint32_t v) {
    return static_cast<TColor>(((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF));
}

const std::uint32_t* halftoneNative();  // 256 entries
const std::uint32_t* standardNative();  // 16 entries
std::uint8_t nearestHalftone(std::uint32_t native);
// Builds, once, the nearest entry of every 24-bit colour (16 MiB, over the cores, about the
// cost of converting one 4096 by 4096 picture); afterwards every 8-bit row store is one table
// load a pixel that never reads what the row held. Worth it before a large conversion, not
// for a few pixels. False when there was not the memory for it.
bool prepareHalftoneLookup();
// The same for a conversion of that many pixels, where it pays (a million or more); true
// when the table serves.
bool prepareHalftoneLookupFor(long long pixels);
std::uint8_t nearestStandard(std::uint32_t native);
std::uint8_t nearestMono(std::uint32_t native);  // 0 black, 1 white
// The colour a pixel of format f actually holds after writing v.
std::uint32_t representable(PixelFormat f, std::uint32_t native);

// Runs of n pixels from column x0 of one row's bytes, as native values.
void fetchRow(const std::uint8_t* row, PixelFormat f, int x0, int n, std::uint32_t* out);
// Writes a run. Indexed formats leave pixels whose colour is already right untouched, so
// a palette index is never swapped for an equal-coloured duplicate.
void storeRow(std::uint8_t* row, PixelFormat f, int x0, int n, const std::uint32_t* in);
std::uint32_t fetchPixel(const std::uint8_t* row, PixelFormat f, int x);
void storePixel(std::uint8_t* row, PixelFormat f, int x, std::uint32_t native);

// An R2 mix on native values.
inline std::uint32_t mix(PenMode m, std::uint32_t p, std::uint32_t d) {
    switch (m) {
    case PenMode::pmBlack: return 0;
    case PenMode::pmWhite: return 0xFFFFFF;
    case PenMode::pmNop: return d;
    case PenMode::pmNot: return ~d & 0xFFFFFF;
    case PenMode::pmCopy: return p;
    case PenMode::pmNotCopy: return ~p & 0xFFFFFF;
    case PenMode::pmMergePenNot: return (p | ~d) & 0xFFFFFF;
    case PenMode::pmMaskPenNot: return p & ~d & 0xFFFFFF;
    case PenMode::pmMergeNotPen: return (~p | d) & 0xFFFFFF;
    case PenMode::pmMaskNotPen: return ~p & d & 0xFFFFFF;
    case PenMode::pmMerge: return p | d;
    case PenMode::pmNotMerge: return ~(p | d) & 0xFFFFFF;
    case PenMode::pmMask: return p & d;
    case PenMode::pmNotMask: return ~(p & d) & 0xFFFFFF;
    case PenMode::pmXor: return p ^ d;
    case PenMode::pmNotXor: return ~(p ^ d) & 0xFFFFFF;
    }
    return d;
}

// The 8 rows of a hatch, most significant bit leftmost; null for solid and clear.
const std::uint8_t* hatchRows(BrushStyle s);

// The brush over n pixels of canvas row y from column x0: colours (native) and whether the
// brush paints each one. Returns false when it paints none of them.
bool brushRow(const Brush& brush, int y, int x0, int n, std::uint32_t* colors, std::uint8_t* paints);

}  // namespace pixoral::raster
