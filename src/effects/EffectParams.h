#pragma once
// Parameter ranges of the effects, kept beside the effects so that windows, prompts and
// batch mode all clamp and validate the same way.
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

#include "canvas/Bitmap.h"
#include "ui/Prompt.h"

namespace pixoral::effects {

struct IntRange {
    int min = 0;
    int max = 0;
    int def = 0;
    constexpr bool contains(int v) const { return v >= min && v <= max; }
    constexpr int clamp(int v) const { return v < min ? min : (v > max ? max : v); }
};

// Settings of the Trace menu.
inline constexpr IntRange kColorByteRange{0, 255, 0};
inline constexpr IntRange kTraceIntensityRange{1, 15, 1};

// A prompt that takes integers of the range and keeps the current value for anything else.
inline NumberPrompt keepInRangePrompt(const char* caption, const char* text, IntRange r) {
    NumberPrompt p;
    p.caption = QString::fromLatin1(caption);
    p.text = QString::fromLatin1(text);
    p.lo = r.min;
    p.hi = r.max;
    return p;
}
inline const NumberPrompt kColorBytePrompt = keepInRangePrompt("Pixoral Trace", "Enter Color Byte (0..255)", kColorByteRange);
inline const NumberPrompt kTraceIntensityPrompt =
    keepInRangePrompt("Pixoral Trace", "Enter Trace Intensity (1..15)", kTraceIntensityRange);

struct TraceSettings {
    int colorByte = kColorByteRange.def;
    int intensity = kTraceIntensityRange.def;
};

// The message of an effect that could not get the memory it needs.
QString noMemoryFor(const Bitmap& b);

// The bytes of row y that hold pixels (every byte of the row's pixel data, never the row
// padding): W x bytes per pixel, rounded up to whole bytes for the 1- and 4-bit formats.
// Every byte effect goes through this one helper.
inline std::span<std::uint8_t> rowSpan(Bitmap& bmp, int y) {
    return {bmp.scanLine(y), static_cast<std::size_t>(bmp.rowDataBytes())};
}
inline std::span<const std::uint8_t> rowSpan(const Bitmap& bmp, int y) {
    return {bmp.scanLine(y), static_cast<std::size_t>(bmp.rowDataBytes())};
}

// The row addresses of a bitmap, taken once: loops that share their rows out over the cores
// must not call scanLine() on a bitmap whose pixels may still be shared (it detaches them).
// Taking the table of a non-const bitmap detaches it there, before any row is written.
template <class Byte>
struct RowTable {
    Byte* top = nullptr;
    std::ptrdiff_t stride = 0;
    Byte* operator[](int y) const { return top + y * stride; }
};
inline RowTable<std::uint8_t> rowTable(Bitmap& bmp) { return {bmp.scanLine(0), bmp.bytesPerLine()}; }
inline RowTable<const std::uint8_t> rowTable(const Bitmap& bmp) { return {bmp.scanLine(0), bmp.bytesPerLine()}; }

}  // namespace pixoral::effects
