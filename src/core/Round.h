#pragma once
// Rounding to the nearest integer, halves away from zero, as std::lround does, but inline:
// the library call dominated the per-pixel loops of the distortions. Adding the largest
// double below one half and truncating gives the same result for every double, including
// 0.49999999999999994 (which v + 0.5 would wrongly round up). Values must fit in a long.
#include <cmath>

namespace pixoral {

inline long roundHalfAway(double v) {
    return static_cast<long>(v + std::copysign(0.49999999999999994, v));
}

}  // namespace pixoral
