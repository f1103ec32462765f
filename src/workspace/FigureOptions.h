#pragma once
// The Options prompts of the figures and the line width: their texts, and the rules that turn
// an answer into the new setting (see NumberPrompt for how answers are read).
#include "ui/Prompt.h"

namespace pixoral {

namespace figureoptions {

inline NumberPrompt intPrompt(const char* caption, const char* text, const char* def, double lo, double hi,
                              NumberPrompt::Refused notNumber, NumberPrompt::Refused outOfRange, double fallback) {
    NumberPrompt p;
    p.caption = QString::fromLatin1(caption);
    p.text = QString::fromLatin1(text);
    p.defaultText = QString::fromLatin1(def);
    p.lo = lo;
    p.hi = hi;
    p.notNumber = notNumber;
    p.outOfRange = outOfRange;
    p.fallback = fallback;
    return p;
}

constexpr auto kFallback = NumberPrompt::Refused::Fallback;

}  // namespace figureoptions

// Options > Spirals > "Other...": integers 1..50, else 3.
inline const NumberPrompt kSpiralsPrompt =
    figureoptions::intPrompt("Pixoral", "Spirals (3..50)", "3", 1, 50, figureoptions::kFallback, figureoptions::kFallback, 3);

// Options > Spiralfactor > "Other...": numbers 0.1 <= x < 1, else 0.99.
inline const NumberPrompt kSpiralFactorPrompt = [] {
    NumberPrompt p = figureoptions::intPrompt("Pixoral", "Spiral factor (0.1..0.99)", "0.99", 0.1, 1.0,
                                              figureoptions::kFallback, figureoptions::kFallback, 0.99);
    p.integer = false;
    p.hiExclusive = true;
    return p;
}();

// Options > "Shapes...": integers 0..25, else 1.
inline const NumberPrompt kShapesPrompt = figureoptions::intPrompt(
    "Pixoral", "Number of Shapes(1..25)", "1", 0, 25, figureoptions::kFallback, figureoptions::kFallback, 1);

// Options > "Line Tolerance...": integers 5..50, else 5.
inline const NumberPrompt kLineTolerancePrompt = figureoptions::intPrompt(
    "Pixoral", "Enter Straight Line Tolerance (5..50)", "5", 5, 50, figureoptions::kFallback, figureoptions::kFallback, 5);

// Options > "&Blocks...": integers clamped to 2..50; 8 when not an integer.
inline const NumberPrompt kBlocksPrompt = figureoptions::intPrompt(
    "Pixoral", "Number of blocks:", "8", 2, 50, figureoptions::kFallback, NumberPrompt::Refused::Clamp, 8);

// Options > "&Rounding...": any integer, else 10.
inline const NumberPrompt kRoundingPrompt = figureoptions::intPrompt(
    "Pixoral", "Enter Rounding", "10", INT_MIN, INT_MAX, figureoptions::kFallback, figureoptions::kFallback, 10);

// Options > SpiroGraph > "&Turns...": the box shows the current turns; a non-integer keeps
// them, an integer outside 1..100 gives 20.
inline const NumberPrompt kSpiroTurnsPrompt = figureoptions::intPrompt(
    "Pixoral SpiroGraph", "Enter Turns (1-100):", "", 1, 100, NumberPrompt::Refused::Keep, figureoptions::kFallback, 20);

// Line Width > "Other Size...": integers 1..workspace height (the row's bound), else 1.
inline const NumberPrompt kLineWidthPrompt = figureoptions::intPrompt(
    "Pixoral", "Enter new line width:", "1", 1, INT_MAX, figureoptions::kFallback, figureoptions::kFallback, 1);

}  // namespace pixoral
