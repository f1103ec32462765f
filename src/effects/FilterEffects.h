#pragma once
// Spray, Anti Alias, Trace and Contour Accent.
#include "canvas/Bitmap.h"
#include "effects/EffectParams.h"

namespace pixoral::effects {

inline constexpr int kSprayRadius = 30;

// Every pixel, column by column, takes the colour of a random nearby pixel (offsets up to
// the radius); sources outside the image leave it alone. Keeps the format.
void spray(Bitmap& bmp, int radius = kSprayRadius);

// Every inner pixel becomes the mean of its four neighbours, in place from the top-left;
// the border rows and columns stay. Keeps the format.
void antiAlias(Bitmap& bmp);

// Marks colour boundaries with the Color Byte, intensity passes. The bitmap becomes 8-bit
// (the marks are palette indexes). False, unchanged, when the 8-bit image does not fit.
bool trace(Bitmap& bmp, const TraceSettings& settings);

// Byte effect in the bitmap's own format: where the four neighbours of a byte sum to more
// than the byte, it takes the complement of the byte below right and the byte above left
// takes (above right xor below left).
void contourAccent(Bitmap& bmp);

}  // namespace pixoral::effects
