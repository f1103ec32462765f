#pragma once
// Effects that move pixels along curves. They resample by inverse mapping: every pixel of
// the result looks up where it comes from in the source, so the result has no holes.
#include "canvas/Bitmap.h"
#include "effects/EffectParams.h"

namespace pixoral::effects {

// Image > Rotation > "Angle...": any integer, in degrees; anything else is refused with
// "Invalid Angle" and the angle kept.
inline const NumberPrompt kRotationAnglePrompt = [] {
    NumberPrompt p;
    p.caption = QStringLiteral("Pixoral Rotation");
    p.text = QStringLiteral("Enter Angle");
    p.message = QStringLiteral("Invalid Angle");
    return p;
}();

struct RotateParams {
    int angle = 90;  // degrees
};

// Image > Rotation > "Rotate": turns the picture about its centre (W div 2, H div 2) by the
// angle, keeping its size. Every pixel (x, y) takes the source pixel at
// (cx + round(dx cos a - dy sin a), cy + round(dx sin a + dy cos a)), dx = x - cx,
// dy = y - cy; one that comes from outside the picture becomes white. The bitmap must be
// 24 bits a pixel (the command converts it first) and stays so. False, unchanged, when the
// result does not fit in memory.
bool rotate(Bitmap& bmp, const RotateParams& p);

}  // namespace pixoral::effects
