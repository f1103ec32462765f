#pragma once
// Image > Ripple: byte effects that push the bytes of each row down by an offset that
// changes from byte to byte, so the rows break into teeth, triangles or waves. Like the other
// byte effects they run over every byte of a row's pixel data (rowSpan) in any pixel format,
// so in 24 bits the three bytes of a pixel may move apart and colour fringes appear.
#include "canvas/Bitmap.h"
#include "effects/EffectParams.h"

namespace pixoral::effects {

// Image > Ripple > "Height..." and "Inference...": integers in range, anything else keeps the
// current value silently.
inline constexpr IntRange kRippleHeightRange{3, 100, 15};
inline constexpr IntRange kRippleInferenceRange{1, 5, 2};
inline const NumberPrompt kRippleHeightPrompt =
    keepInRangePrompt("Pixoral Image", "Enter Ripple Height (3-100)", kRippleHeightRange);
inline const NumberPrompt kRippleInferencePrompt =
    keepInRangePrompt("Pixoral Image", "Enter Ripple Inference (1-5)", kRippleInferenceRange);

// The offset ripples work in place: for every row n from H - h - 1 up to 0 (bottom first, so
// a row is read before anything lands on it) and every byte i of it, byte i is copied to row
// n + o, o starting at 0 in each row and stepping after each byte:
//   Random    a random offset 0 .. h - 1 from the program's generator
//   Tooth     0, 1, ..., h, 0, 1, ...
//   Triangle  0, 1, ..., h, h - 1, ..., 1, 0, 1, ...
// An image of h rows or fewer is left as it is.
enum class OffsetRipple { Random, Tooth, Triangle };
void offsetRipple(Bitmap& bmp, OffsetRipple kind, int h);

// The wave ripples read an unchanged copy: with k = (pi / 2) / h, byte i of every row y from
// h to H - 2h - 1 goes to row y + h + g of the result, where g is 0 for the first byte and
// otherwise follows the previous byte index j:
//   Wave            round(h sin(jk))
//   WaveExtra       round(h cos(jk) sin(jk))
//   WaveInference   round(h sin(jk) sin(m jk))
// Rows outside that band keep their bytes; an image under 3h + 1 rows is unchanged. Wave
// Inference is an 8-bit effect (the command converts first), the others keep the format.
// False, unchanged, when the copy does not fit in memory.
enum class WaveRipple { Wave, WaveExtra, WaveInference };
bool waveRipple(Bitmap& bmp, WaveRipple kind, int h, int m);

}  // namespace pixoral::effects
