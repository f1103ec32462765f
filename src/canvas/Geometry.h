#pragma once

#include <algorithm>
#include <cstdint>

namespace pixoral {

// Coordinates far outside any picture (mouse positions, points read from files) are kept
// within this range, so sums and margins on them never overflow an int.
inline constexpr int kCoordLimit = 1 << 24;
inline int clampCoord(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -kCoordLimit, kCoordLimit)); }

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Right and bottom are exclusive wherever a rectangle bounds pixels.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace pixoral
