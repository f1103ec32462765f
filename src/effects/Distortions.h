#pragma once
// Effects that move pixels along curves. They resample by inverse mapping: every pixel of
// the result looks up where it comes from in the source, so the result has no holes.
#include <array>

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
// 24 bits a pixel or in the device format (other formats are left alone; the command
// converts them first); the result is 24 bits. False, unchanged, when the result does not
// fit in memory.
bool rotate(Bitmap& bmp, const RotateParams& p);

// Image > Projection > "Factor...": a real number 0.1 <= f <= 1; anything else keeps it.
inline const NumberPrompt kProjectionFactorPrompt = [] {
    NumberPrompt p;
    p.caption = QStringLiteral("Pixoral Projection");
    p.text = QStringLiteral("Enter Projection Factor (0.1 .. 1)");
    p.lo = 0.1;
    p.hi = 1.0;
    p.integer = false;
    return p;
}();

struct ProjectionParams {
    double factor = 0.75;
    bool sinus = true;           // "Sinus" checked: sine of the distance, else cosine
    bool retainBorders = false;  // pixels nothing lands on keep the picture, else white
};

// Image > Projection > "Globe": every pixel within R = W div 2 of the centre moves towards
// it, to (x - round(dx s), y - round(dy s)) with s = sin(e k) (or cos) of its distance e,
// k = (pi / 2) / R * factor; the rows are walked from the bottom up and right to left, later
// pixels landing over earlier ones. 24 bits a pixel, kept.
bool globe(Bitmap& bmp, const ProjectionParams& p);
// "Cylinder Horizontal" moves whole rows towards the middle row, to cy + round(dy s) with
// s = |sin(dy k) * factor| (or cos), k = (pi / 2) / (H div 2), rows from the bottom up;
// "Cylinder Vertical" does the same with the columns of every row, right to left.
bool cylinder(Bitmap& bmp, bool horizontal, const ProjectionParams& p);

// The whirl angle table: sine and cosine of -90 .. +90 degrees in one-degree steps (entry f
// is f - 90 degrees).
struct SinCos {
    long double sin = 0, cos = 0;
};
using WhirlTable = std::array<SinCos, 181>;
WhirlTable makeWhirlTable();

// Image > Whirl and Range > Whirl: every pixel turns about the centre by an angle that
// depends on its distance r through l = round(r * 180 / W) and the whirl type:
//   0 Whirl In 180 - l, 1 Whirl Out l + 90, 2 Whirl Center 2l + 90, 3 Double Whirl 180 - 2l,
//   4 Wirl Wave 10 (l mod 10) + l + 90, 5 Wirl Wave 20 (l mod 20) + l + 90,
//   6 Ripple 10 (l mod 10) + 90, 7 Ripple 20 (l mod 20) + 90, 8 Whirl Band 90 l mod 90,
//   9 Whirl Band 45 l mod 45, 10 Whirl Band 25 l mod 25,
//   11 Whirl Revert 45 - (l mod 45) when l div 45 is odd, else l mod 45;
// the index is kept within 0..180 and the angle taken from the table. Resampled like
// rotate(): from 24 bits or the device format, to 24 bits.
inline constexpr int kWhirlTypes = 12;
bool whirl(Bitmap& bmp, int type, const WhirlTable& table);
// The whirl index of a distance step l for a type (exposed for its tests).
int whirlIndex(int type, int l);

}  // namespace pixoral::effects
