#pragma once
// Range > Transition and Range > Mask as plain functions on the workspace and the range state
// (see Range.h for which pixels a range holds). Both fill exactly the range: the range buffer
// is the range's size and goes back 1:1 at its top-left corner, so nothing spills past it. An
// empty range changes nothing; false means a range too large to buffer.
#include "canvas/Bitmap.h"
#include "canvas/Color.h"
#include "effects/EffectParams.h"
#include "effects/Range.h"

namespace pixoral::effects {

// ---- Transitions ----

// The band count as entered, and the Xstep / Ystep of the nested shapes (0: automatic).
inline constexpr IntRange kBandsRange{8, 40, 20};
inline constexpr IntRange kShrinkStepRange{0, 25, 0};
// Below this many pixels across the bands (the height; the width for Horizontal) a transition
// lowers the band count to that size minus one, so every band has at least a pixel.
inline constexpr int kBandSizeCheck = 20;

// Bands: text that is not a number gives 20; an integer outside 8..40 keeps the count.
inline const NumberPrompt kBandsPrompt = [] {
    NumberPrompt p = keepInRangePrompt("Pixoral Transitions", "Enter Number of Bands (8..40):", kBandsRange);
    p.notNumber = NumberPrompt::Refused::Fallback;
    p.fallback = kBandsRange.def;
    return p;
}();
// Xstep and Ystep open with "0" whatever the current step; text that is not a number gives 0;
// an integer outside 0..25 keeps the step.
inline NumberPrompt shrinkStepPrompt(const char* text) {
    NumberPrompt p = keepInRangePrompt("Pixoral Transitions", text, kShrinkStepRange);
    p.defaultText = QStringLiteral("0");
    p.notNumber = NumberPrompt::Refused::Fallback;
    p.fallback = kShrinkStepRange.def;
    return p;
}
inline const NumberPrompt kXstepPrompt = shrinkStepPrompt("Enter Xstep (0..25)");
inline const NumberPrompt kYstepPrompt = shrinkStepPrompt("Enter Ystep (0..25)");

struct TransitionParams {
    TColor start = clBlack;
    TColor end = clNavy;
    int bands = kBandsRange.def;  // lowered by the size check, and kept lowered by the caller
    int xStep = kShrinkStepRange.def;
    int yStep = kShrinkStepRange.def;
};

enum class TransitionShape {
    Horizontal,  // side-by-side stripes of Wb div N columns, left to right
    Vertical,    // stacked stripes of Hb div N rows, top to bottom
    Conical,     // nested rectangles from the whole range inward
    Elliptical,  // nested ellipses; the buffer pen becomes clear (and stays so)
    Rounded,     // nested round rectangles, corners min(side div 4, 20) shrinking by 1 a band
};

// Fills the range with N flat bands running from the start colour toward the end colour:
// band k has start + k (end - start) / N (rounded per channel), so the end colour itself is
// never painted. The steps are taken with the band count the call was given; the size check
// then lowers p.bands for a small range without recomputing them. Pixels no band covers keep
// the range's content. The nested shapes shrink by (side div N) div 2 on each side per band,
// or by Xstep / Ystep when that is non-zero and smaller. The result is drawn back through
// the workspace canvas's copy mode.
bool transition(Bitmap& workspace, RangeState& st, TransitionShape shape, TransitionParams& p);

// ---- Masks ----

enum class RangeMask {
    Squares,  // a 16 by 16 checkerboard of (Wb div 16) by (Hb div 16) cells, the top-left kept
    Oval,     // the ellipse inscribed in the range
    Diamond,  // the diamond through the middles of the range's edges
    Octagon,  // an octagon with 45-degree corners cut from the range
    User,     // the mask image stretched over the range
};

// 2 sin 22.5 degrees: the side of a regular octagon of circumradius 1.
inline constexpr double kOctagonSide = 0.7653668647301795;

// Whitens the part of the range outside the mask's shape. The shape is built in the range
// buffer (white = keep, black = whiten) and merge-painted onto the range (image OR NOT
// buffer); the workspace canvas's copy mode is restored afterwards. The outlines of Oval,
// Diamond and Octagon are drawn with the buffer's own pen, so while it is solid they are
// whitened too. With the User mask every colour bit that is 0 in the mask image becomes 1 in
// the range; an empty mask image leaves the range as it was.
bool maskRange(Bitmap& workspace, RangeState& st, RangeMask mask);

}  // namespace pixoral::effects
