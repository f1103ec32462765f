#pragma once
// The current range and the range buffer: the state the main window keeps for the Range menu,
// the range tools and every later range effect, and the helpers that move pixels between the
// workspace and the buffer.
//
// Which pixels a range holds. The current range is stored exactly as the user gave it (a drag
// toward the top-left leaves Left > Right); it is never normalised. Whenever it is used, its
// pixels are the columns min(L, R) .. max(L, R) - 1 and the rows min(T, B) .. max(T, B) - 1:
// exactly what the dotted selection rectangle encloses, and the whole image for (0, 0, W, H).
// The range buffer is exactly that size and every copy between range and buffer is 1:1, so an
// operation never resamples the range or spills a row or column past it. A range of zero width
// or height is empty: buffer operations on it do nothing. Every caller that sizes a buffer, a
// tile or a temporary bitmap from a range goes through rangePixels() and follows this rule.
#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Color.h"
#include "canvas/Geometry.h"

namespace pixoral::effects {

// Range coordinates are kept within this bound, so sizes and offsets never overflow an int;
// a range that large could not be buffered anyway.
inline constexpr int kRangeCoordLimit = 1 << 29;

// The normalised pixel rectangle of a stored range (right and bottom exclusive).
Rect rangePixels(const Rect& range);
bool rangeIsEmpty(const Rect& range);
// A coordinate, or a point (mouse position, paste target), brought within kRangeCoordLimit.
int clampRangeCoord(long long v);
Point clampRangePoint(Point p);

// What the main window holds for ranges. The buffer's own canvas state (its pen, brush and
// copy mode) persists between commands, as later range effects rely on.
struct RangeState {
    Rect range;                          // as given; (0, 0, 0, 0) at start
    Bitmap buffer;                       // the range buffer
    CopyMode clipCopyMode = cmSrcCopy;   // how copyclip combines the range with the buffer
    TColor transparentColor = clWhite;   // Copy Transparent
    int splitOffset = 20;                // Split > Set Offset
    Bitmap maskImage;                    // Image > Mask, drawn by Range > Mask > User Mask; empty at start
};

// Sizes the buffer to the range (24 bits per pixel), fills it with c and makes c the buffer's
// brush colour (the pattern of the merge-copy logic). An empty range, or one too large to
// hold, leaves the buffer empty and returns false. clNone fills white.
bool setclip(RangeState& st, TColor c);
// Copies the range of the workspace 1:1 onto the buffer through the clip copy mode (the
// buffer's current pixels are the destination). Parts of the range outside the workspace
// keep what setclip put there. Does nothing when the buffer is empty.
void copyclip(const Bitmap& workspace, RangeState& st);
// Draws the buffer at the range's top-left corner with the workspace canvas's copy mode.
void pasteclip(Bitmap& workspace, const RangeState& st);
// The buffer becomes a 1:1 source copy of rect of the workspace, in the workspace's pixel
// format (the current range is not changed). False, buffer empty, for an empty rectangle.
bool grab(const Bitmap& workspace, RangeState& st, const Rect& rect);
// Clip copy mode := source copy; setclip (white); copyclip. False when nothing was loaded.
bool loadRange(const Bitmap& workspace, RangeState& st);
// Current range := the whole workspace, then loadRange.
bool loadWholeWorkspace(const Bitmap& workspace, RangeState& st);

}  // namespace pixoral::effects
