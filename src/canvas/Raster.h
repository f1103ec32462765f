#pragma once
// The one write path of the canvas layer: every figure, line and glyph ends in these runs,
// so pen modes, brushes and pixel formats are handled in one place. Internal to src/canvas.
#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

namespace pixoral::raster {

// Row y, columns [x0, x1), clipped to the bitmap: a solid colour through the pen mode.
void penSpan(Bitmap& bmp, int y, int x0, int x1, TColor color, PenMode mode);
// The same run painted with the brush (hatch gaps and clear brushes leave pixels alone).
void brushSpan(Bitmap& bmp, int y, int x0, int x1, const Brush& brush, PenMode mode);
// One pixel through the pen mode; ignored outside the bitmap.
void penPixel(Bitmap& bmp, int x, int y, TColor color, PenMode mode);

}  // namespace pixoral::raster
