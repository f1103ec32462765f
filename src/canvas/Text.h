#pragma once
// Text helpers on a canvas beyond the plain canvas calls: fitting a caption into a box.
#include <QString>
#include <optional>

#include "canvas/Canvas.h"

namespace pixoral {

// The sizes tried, largest first, and the room kept around the caption on each side pair.
inline constexpr int kFitLargest = 71;
inline constexpr int kFitSmallest = 5;
inline constexpr int kFitMargin = 10;

struct TextFit {
    int size = 0;    // points
    int width = 0;   // the caption's width and height at that size, in pixels
    int height = 0;
};

// The largest size from 71 down whose caption, in `font` (name and style; its size and
// escapement are ignored), is less than width - 10 wide and height - 10 high, measured on
// `canvas`. Nothing when no size above 5 fits. The canvas font is left as it was.
std::optional<TextFit> fitTextSize(Canvas& canvas, const Font& font, const QString& caption, int width, int height);

}  // namespace pixoral
