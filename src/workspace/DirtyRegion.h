#pragma once
// The parts of the workspace a drawing step can touch, so a mouse move shows only those again.
// Every rectangle errs on the large side: a pixel left out would stay stale on the screen.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "canvas/Geometry.h"

namespace pixoral::dirty {

// Mouse positions far outside any image are kept in the canvas's range, so margins never overflow.
using pixoral::clampCoord;
using pixoral::kCoordLimit;

// The box around some points, grown by `margin` on every side (right and bottom exclusive).
template <typename It>
Rect spanOf(It first, It last, int margin) {
    if (first == last) return {};
    std::int64_t l = first->x, t = first->y, r = first->x, b = first->y;
    for (It it = first; it != last; ++it) {
        l = std::min<std::int64_t>(l, it->x);
        r = std::max<std::int64_t>(r, it->x);
        t = std::min<std::int64_t>(t, it->y);
        b = std::max<std::int64_t>(b, it->y);
    }
    return Rect{clampCoord(l - margin), clampCoord(t - margin), clampCoord(r + margin + 1), clampCoord(b + margin + 1)};
}
inline Rect spanOf(std::initializer_list<Point> pts, int margin) { return spanOf(pts.begin(), pts.end(), margin); }

// The four edge strips of the outline of a box from S to E drawn by a pen within `margin`.
std::vector<Rect> rectOutline(Point s, Point e, int margin);
// Strips along the outline of the ellipse in the box S to E: for each band of rows, the
// columns the curve can cross on the left and on the right.
std::vector<Rect> ellipseOutline(Point s, Point e, int margin);

// The pixels of the box S1-E1 that are not in the box S2-E2 and the other way round (boxes
// normalised, right and bottom exclusive): where a filled band drawn twice with Not Xor over
// the same pixels changes nothing, only this part of the interior changes.
std::vector<Rect> boxDifference(Point s1, Point e1, Point s2, Point e2);

// Merges a list into the bounding rectangles that a repaint needs, clipped to W by H;
// empty rectangles are dropped.
std::vector<Rect> clipTo(const std::vector<Rect>& rects, int width, int height);

}  // namespace pixoral::dirty
