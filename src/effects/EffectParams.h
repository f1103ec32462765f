#pragma once
// Parameter ranges of the effects, kept beside the effects so that windows, prompts and
// batch mode all clamp and validate the same way.
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

#include "canvas/Bitmap.h"

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

struct TraceSettings {
    int colorByte = kColorByteRange.def;
    int intensity = kTraceIntensityRange.def;
};

// The answer of a numeric prompt: text that is not an integer counts as the current value,
// an integer outside the range leaves the value as it was. Returns the value to keep.
int acceptPromptValue(const QString& answer, int current, IntRange range);

// The bytes of row y that hold pixels (every byte of the row's pixel data, never the row
// padding): W x bytes per pixel, rounded up to whole bytes for the 1- and 4-bit formats.
// Every byte effect goes through this one helper.
inline std::span<std::uint8_t> rowSpan(Bitmap& bmp, int y) {
    return {bmp.scanLine(y), static_cast<std::size_t>(bmp.rowDataBytes())};
}
inline std::span<const std::uint8_t> rowSpan(const Bitmap& bmp, int y) {
    return {bmp.scanLine(y), static_cast<std::size_t>(bmp.rowDataBytes())};
}

}  // namespace pixoral::effects
