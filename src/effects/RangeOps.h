#pragma once
// The Range menu transforms and the per-drag operations of the range tools, as plain
// functions on the workspace bitmap and the range state (see Range.h for which pixels a range
// holds). Blits go through the workspace canvas's copy mode, the one the user chose, unless
// an operation says otherwise; an empty range leaves the workspace as it was.
#include <QString>
#include <span>

#include "canvas/Bitmap.h"
#include "canvas/Color.h"
#include "canvas/Geometry.h"
#include "effects/EffectParams.h"
#include "effects/Range.h"

namespace pixoral::effects {

// ---- Range menu ----

// Current range := (0, 0, W, H).
void selectAll(const Bitmap& workspace, RangeState& st);
// The range becomes its colour inverse (with the workspace in source-copy mode).
void invertRange(Bitmap& workspace, RangeState& st);

// Logic: And = range AND c (merge copy), Or = (NOT range) OR c (merge paint),
// Xor = range XOR c (source invert), each channel bit by bit.
enum class LogicFamily { And, Or, Xor };
void logicRange(Bitmap& workspace, RangeState& st, LogicFamily family, TColor c);

// The twelve Logic items in menu order (And lists Blue first). userColor marks "&User", whose
// colour comes from the colour dialog; a cancelled dialog does nothing.
struct LogicItem {
    LogicFamily family;
    const char* caption;
    const char* name;  // the menu item's control name
    TColor color;
    bool userColor;
};
inline constexpr TColor kLogicRed = 0x0000FF;
inline constexpr TColor kLogicGreen = 0x008000;
inline constexpr TColor kLogicBlue = 0xFF0000;
inline constexpr LogicItem kLogicItems[12] = {
    {LogicFamily::And, "&Blue", "Blue2", kLogicBlue, false},  {LogicFamily::And, "&Red", "Red2", kLogicRed, false},
    {LogicFamily::And, "&Green", "Green2", kLogicGreen, false}, {LogicFamily::And, "&User", "User1", clBlack, true},
    {LogicFamily::Or, "&Red", "Red3", kLogicRed, false},      {LogicFamily::Or, "&Blue", "Blue3", kLogicBlue, false},
    {LogicFamily::Or, "&Green", "Green3", kLogicGreen, false},  {LogicFamily::Or, "&User", "User2", clBlack, true},
    {LogicFamily::Xor, "&Red", "Red4", kLogicRed, false},     {LogicFamily::Xor, "&Blue", "Blue4", kLogicBlue, false},
    {LogicFamily::Xor, "&Green", "Green4", kLogicGreen, false}, {LogicFamily::Xor, "&User", "User3", clBlack, true},
};

// Tile > All: copies of the range side by side from (0, 0) over the whole workspace, at least
// one in each direction, clipped at the right and bottom edges.
void tileAll(Bitmap& workspace, RangeState& st);
// Tile > Diagonal: copies at (k bw, k bh) from (0, 0) while both lie inside the workspace.
void tileDiagonal(Bitmap& workspace, RangeState& st);
// Border > Horizontal: a row of copies along the top edge, then one along the bottom edge.
void borderHorizontal(Bitmap& workspace, RangeState& st);
// Border > Vertical: a column of copies down the left edge, then one down the right edge.
void borderVertical(Bitmap& workspace, RangeState& st);

// Mirror: the range doubles downward (its lower edge moves down by its height, and stays
// so) and its lower half becomes the upside-down image of its upper half.
void mirrorRange(Bitmap& workspace, RangeState& st);
// Copies row i over row h - 1 - i for i < h / 2: every byte of the rows' pixel data.
void mirrorRowsDown(Bitmap& bmp);

// Stretch: the range scaled over the whole workspace.
void stretchRange(Bitmap& workspace, RangeState& st);
// Reduce: the whole workspace scaled into the range (the range is kept).
void reduceRange(Bitmap& workspace, RangeState& st);

// Split > Set Offset.
inline constexpr IntRange kSplitOffsetRange{1, 50, 20};
// Text that is not an integer gives the default 20; an integer from 1 to 50 is taken; any
// other integer keeps the current offset.
inline const NumberPrompt kSplitOffsetPrompt = [] {
    NumberPrompt p = keepInRangePrompt("Pixoral Range", "Enter Split Offset (1..50):", kSplitOffsetRange);
    p.notNumber = NumberPrompt::Refused::Fallback;
    p.fallback = kSplitOffsetRange.def;
    return p;
}();
// Split: with the range's left column L, width w and d = (w + 1) div 2, the columns from
// L + d to the right edge move right by the offset and the gap they leave is filled white
// (Vertical: the same downward with the rows). The move uses the workspace copy mode; the
// white fill leaves the workspace brush with its colour (a clear brush becomes solid).
void splitHorizontal(Bitmap& workspace, RangeState& st);
void splitVertical(Bitmap& workspace, RangeState& st);

// Erase: the range painted in the workspace brush colour (nothing for clNone).
void eraseRange(Bitmap& workspace, RangeState& st);

// Square: the range's height becomes its width (to Height), or its width its height (to
// Width), keeping its top-left corner, whichever way it was dragged.
void squareToHeight(RangeState& st);
void squareToWidth(RangeState& st);

// Mask Clip: the range becomes its mask for flagColor (that colour white, all else black).
void maskClip(Bitmap& workspace, const RangeState& st, TColor flagColor);

// ---- Range tools, each at a point (X, Y) of the workspace ----

// "paste": the range copied with its top-left at p (also each Shift-move of the drag).
void pasteRangeAt(Bitmap& workspace, const RangeState& st, Point p);
// "pastemask": the range's mask for flagColor copied with its top-left at p.
void pasteMaskAt(Bitmap& workspace, const RangeState& st, Point p, TColor flagColor);
// "pastecolor" / "pastecolorx": every range pixel of colour flagColor, row by row and left
// to right in place, sets the pixel at the same offset from p to flagColor, or with inverted
// to that pixel's own colour exclusive-or flagColor.
void pasteColorAt(Bitmap& workspace, const RangeState& st, Point p, TColor flagColor, bool inverted);
// "rangemove" / "rangesmear": the press loads the inverted range into the buffer, sets the
// workspace copy mode to source invert (it stays so) and draws the buffer at p. Each move of
// "rangemove" draws it again at the previous point (which removes that copy) and then at the
// new one; "rangesmear" only draws it at the new one.
void rangeDragStart(Bitmap& workspace, RangeState& st, Point p);
void rangeMoveStep(Bitmap& workspace, const RangeState& st, Point from, Point to);
void rangeSmearStep(Bitmap& workspace, const RangeState& st, Point to);
// "transcopy": the range copied with its top-left at p, its pixels of the transparent copy
// colour replaced by the workspace brush.
void transparentCopyAt(Bitmap& workspace, RangeState& st, Point p);

// Range > Magnify: the middle half of the range, (L + a, T + b, R - a, B - b) with
// a = (R - L) div 4 and b = (B - T) div 4, copied into the buffer made 50 by 50 (white
// first, source copy) and stretched back over the whole range. The workspace canvas's copy
// mode becomes source copy and stays so. Does nothing for an empty range.
void magnifyRange(Bitmap& workspace, RangeState& st);

}  // namespace pixoral::effects
