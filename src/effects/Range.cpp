#include "effects/Range.h"

#include <algorithm>

namespace pixoral::effects {

namespace {

// The buffer as an empty 24-bit bitmap, keeping its canvas state.
void emptyBuffer(Bitmap& b) {
    b.setSize(0, 0);
    b.setPixelFormat(PixelFormat::pf24bit);
}

// Resizes b to w by h in format f without converting pixels it is about to overwrite. A size
// of nothing, or one too large to hold, leaves b an empty buffer and gives false.
bool reshapeFor(Bitmap& b, int w, int h, PixelFormat f) {
    if (w <= 0 || h <= 0) {
        emptyBuffer(b);
        return false;
    }
    if (b.pixelFormat() != f) {
        b.setSize(0, 0);
        b.setPixelFormat(f);
    }
    if (!b.setSize(w, h)) {
        emptyBuffer(b);
        return false;
    }
    return true;
}

}  // namespace

Rect rangePixels(const Rect& r) {
    const int l = clampRangeCoord(r.left), t = clampRangeCoord(r.top), rr = clampRangeCoord(r.right), b = clampRangeCoord(r.bottom);
    return Rect{std::min(l, rr), std::min(t, b), std::max(l, rr), std::max(t, b)};
}

bool rangeIsEmpty(const Rect& r) {
    const Rect p = rangePixels(r);
    return p.width() <= 0 || p.height() <= 0;
}

int clampRangeCoord(long long v) {
    return static_cast<int>(std::clamp<long long>(v, -kRangeCoordLimit, kRangeCoordLimit));
}

Point clampRangePoint(Point p) { return Point{clampRangeCoord(p.x), clampRangeCoord(p.y)}; }

bool setclip(RangeState& st, TColor c) {
    const Rect p = rangePixels(st.range);
    if (!reshapeFor(st.buffer, p.width(), p.height(), PixelFormat::pf24bit)) return false;
    if (c == clNone) c = clWhite;
    st.buffer.fill(c);
    st.buffer.canvas().brush().setColor(c);
    return true;
}

void copyclip(const Bitmap& workspace, RangeState& st) {
    Bitmap& buf = st.buffer;
    if (buf.isEmpty()) return;
    buf.canvas().setCopyMode(st.clipCopyMode);
    buf.setPixelFormat(PixelFormat::pf24bit);
    const Rect p = rangePixels(st.range);
    // Source and destination are the same size, so the copy is 1:1.
    buf.canvas().copyRect(Rect{0, 0, buf.width(), buf.height()}, workspace.canvas(),
                          Rect{p.left, p.top, p.left + buf.width(), p.top + buf.height()});
}

void pasteclip(Bitmap& workspace, const RangeState& st) {
    if (st.buffer.isEmpty() || rangeIsEmpty(st.range)) return;
    const Rect p = rangePixels(st.range);
    workspace.canvas().draw(p.left, p.top, st.buffer);
}

bool grab(const Bitmap& workspace, RangeState& st, const Rect& rect) {
    const Rect p = rangePixels(rect);
    Bitmap& buf = st.buffer;
    if (!reshapeFor(buf, p.width(), p.height(), workspace.pixelFormat())) return false;
    buf.fill(clWhite);  // what lies outside the workspace
    const CopyMode keep = buf.canvas().copyMode();
    buf.canvas().setCopyMode(cmSrcCopy);
    buf.canvas().copyRect(Rect{0, 0, p.width(), p.height()}, workspace.canvas(), p);
    buf.canvas().setCopyMode(keep);
    return true;
}

bool loadRange(const Bitmap& workspace, RangeState& st) {
    st.clipCopyMode = cmSrcCopy;
    if (!setclip(st, clWhite)) return false;
    copyclip(workspace, st);
    return true;
}

bool loadWholeWorkspace(const Bitmap& workspace, RangeState& st) {
    st.range = Rect{0, 0, workspace.width(), workspace.height()};
    return loadRange(workspace, st);
}

}  // namespace pixoral::effects
