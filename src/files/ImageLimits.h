#pragma once
// The largest image the program agrees to hold: the same bounds as File > New, so a hostile
// header cannot make a loader allocate without end.
#include <cstdint>

namespace pixoral {

constexpr int kMaxImageSide = 32768;
constexpr std::int64_t kMaxImagePixels = std::int64_t(1) << 28;

inline bool imageSizeAllowed(std::int64_t w, std::int64_t h) {
    return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide && w * h <= kMaxImagePixels;
}

}  // namespace pixoral
