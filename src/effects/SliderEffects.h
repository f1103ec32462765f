#pragma once
// The eight effects of the effects panel. Each takes a 24-bit bitmap (any other format is
// converted to 24 bits first) and the scroll bar position a, clamped to the bar's range.
// False, with the bitmap unchanged, when the 24-bit image does not fit in memory.
#include <array>

#include "canvas/Bitmap.h"
#include "effects/EffectParams.h"

namespace pixoral::effects {

enum class SliderEffect { Contrast, Saturation, Brightness, GaussianBlur, ColorNoise, MonoNoise, SplitBlur, Smooth };

struct SliderInfo {
    SliderEffect effect;
    const char* barName;  // the scroll bar's object name, e.g. "contrastbar"
    const char* label;    // the text above it
    IntRange range;       // every bar starts at 0
};
// In the panel's order.
extern const std::array<SliderInfo, 8> kSliders;
const SliderInfo& sliderInfo(SliderEffect e);

// d = |127 - v| * a div 255, pushed away from the middle.
bool contrast(Bitmap& bmp, int a);
// Each byte moves toward the pixel's mean: m + a * (v - m) div 255 (0 gives grey).
bool saturation(Bitmap& bmp, int a);
// v + a * (255 - v) div 255.
bool brightness(Bitmap& bmp, int a);
// One random 0..a-1 per byte, centred by a div 2.
bool colorNoise(Bitmap& bmp, int a);
// One random 0..a-1 per pixel added to all three bytes, centred by a div 2.
bool monoNoise(Bitmap& bmp, int a);
// Average of the four diagonal samples at offset a, in place from the top row down. A sample
// before the first row or column is the pixel's own; one past the last is taken at H - y
// (W - x), and at the last row (column) when even that is outside.
bool splitBlur(Bitmap& bmp, int a);
// Split blur at offset 3, a + 1 times.
bool gaussianBlur(Bitmap& bmp, int a);
// (left + right + above + below + a * v) div (a + 4), in place from the top row down; at the
// borders the missing neighbour is the one on the other side (the pixel's own row or column
// on an image one pixel high or wide).
bool smooth(Bitmap& bmp, int a);

bool applySlider(SliderEffect e, Bitmap& bmp, int a);

// What the panel shows for a slider position: a 24-bit copy of the whole image, exactly
// its size, with the effect applied. The image itself is not changed. Empty when out of memory.
Bitmap sliderPreview(const Bitmap& image, SliderEffect e, int a);

}  // namespace pixoral::effects
