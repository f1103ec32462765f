#pragma once
// Effects that resample the whole picture: Pixelize and Texturize keep its size, Magnify and
// Reduce change it. Resampling goes through the canvas's StretchDraw, so it follows the
// same rules as every stretched copy in the program.
#include "canvas/Bitmap.h"
#include "effects/EffectParams.h"

namespace pixoral::effects {

// Image > Pixelize n: the picture stretched down to (W div n) by (H div n) and back over the
// whole picture (through the picture's own copy mode). A picture smaller than n either way
// is left as it is.
bool pixelize(Bitmap& bmp, int n);

// Image > Texturize: a 30 by 30 thumbnail of the picture drawn unstretched from (0, 0) in
// steps of `step` across and down, at least once each way (step 30: "Standard", 20:
// "Overlap", whose tiles overlap by 10).
bool texturize(Bitmap& bmp, int step);

// Image > Magnify n: the picture n times larger, only while n W <= 256 (otherwise it is left
// as it is). magnifyRefusal() names a result beyond the image limits before anything changes.
bool magnify(Bitmap& bmp, int n);
QString magnifyRefusal(const Bitmap& bmp, int n);

// Image > Reduce n: the picture (W div n) by (H div n), only while W / n >= 16 (otherwise
// it is left as it is).
bool reduce(Bitmap& bmp, int n);

// Image > Seamless Pattern, on 24 bits a pixel: the top row becomes the bottom row and the
// rows below it blend into row H div 4; then in every row the last pixel becomes the first
// and the columns before it blend into column W - W div 4. Copies side by side or one above
// the other then join without a seam. Pictures of 7 pixels or less a side only get the row
// and column copies.
void seamless(Bitmap& bmp);

}  // namespace pixoral::effects
