#pragma once
// Quick Background: each colour byte of a pixel is an integer formula of the column x and
// the row y plus a per-channel offset, the formulas sharing one modulus (the factor).
#include <QString>
#include <array>
#include <cstdint>

#include "canvas/Bitmap.h"

namespace pixoral::generators {

inline constexpr int kQBFunctionCount = 28;
inline constexpr int kQBFactorMin = 16;
inline constexpr int kQBFactorMax = 255;

// The background state the formulas read. Channel 1 writes byte 0 of a 24-bit pixel (blue),
// channel 3 byte 2 (red); offset[k] belongs to channel k + 1 (the "Red", "Green", "Blue"
// trackbars in that order).
struct QBSettings {
    std::array<int, 3> function{0, 0, 0};       // 0..27 each
    std::array<std::uint8_t, 3> offset{0, 0, 0};  // R, G, B
    std::uint8_t factor = kQBFactorMax;           // m, 16..255

    constexpr std::uint8_t red() const { return offset[0]; }
    constexpr std::uint8_t green() const { return offset[1]; }
    constexpr std::uint8_t blue() const { return offset[2]; }
    // As the factor trackbar does: values below 16 become 16, above 255 become 255.
    void setFactor(int m);
    friend bool operator==(const QBSettings&, const QBSettings&) = default;
};

// Fills out[0..width) with the values of one formula along row y.
using QBRowFunction = void (*)(int y, int width, const QBSettings& s, std::int32_t* out);

struct QBFunction {
    const char* name;  // the list item ("Prod", "Sum", ... "OutModIn2")
    std::int32_t (*at)(int y, int x, const QBSettings& s);
    QBRowFunction row;
};

// The table, indexed by the number stored in presets.
const std::array<QBFunction, kQBFunctionCount>& qbFunctions();
// nullptr outside 0..27.
const QBFunction* qbFunction(int index);
// The list item of an index, empty outside 0..27.
QString qbFunctionName(int index);
// One formula's value at (x, y), 0 for an index outside the table.
std::int32_t qbValue(int index, int y, int x, const QBSettings& s);

// A 24-bit image of the given size computed from the settings; empty when a bitmap of that
// size cannot be made.
Bitmap renderBackground(const QBSettings& s, int width, int height);
// Replaces the target's pixels by the background, keeping its size; the target becomes 24-bit.
// False (target unchanged) when the memory for the new image is not there.
bool renderBackground(const QBSettings& s, Bitmap& target);

}  // namespace pixoral::generators
