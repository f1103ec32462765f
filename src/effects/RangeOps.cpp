#include "effects/RangeOps.h"

#include <algorithm>
#include <cstring>

namespace pixoral::effects {

namespace {

// Of a range's two stored edges on one axis, the far one (right or bottom, whichever way the
// range was dragged) moves to `to`; the near one, and so the top-left corner, stays.
void moveFarEdge(int& a, int& b, long long to) { (b >= a ? b : a) = clampRangeCoord(to); }

// The part of p that lies on the bitmap (empty or inverted when none does).
Rect onBitmap(const Rect& p, const Bitmap& b) {
    return Rect{std::max(p.left, 0), std::max(p.top, 0), std::min(p.right, b.width()), std::min(p.bottom, b.height())};
}

// A white device-format bitmap of w by h; false when it cannot be made.
bool makeTemp(Bitmap& tmp, int w, int h) { return w > 0 && h > 0 && tmp.setSize(w, h); }

// `count` copies of tile side by side (or stacked), built by doubling, so that repeating a
// small range over a large image costs a handful of blits instead of one per copy. Empty
// when a single copy is asked for or the strip would be too large (callers then draw the
// copies one by one, which gives the same pixels: the copies never overlap).
Bitmap makeStrip(const Bitmap& tile, int count, bool horizontal) {
    Bitmap strip;
    if (count <= 1) return strip;
    const long long w = horizontal ? static_cast<long long>(tile.width()) * count : tile.width();
    const long long h = horizontal ? tile.height() : static_cast<long long>(tile.height()) * count;
    if (w > kMaxBitmapSide || h > kMaxBitmapSide) return strip;
    strip.setPixelFormat(tile.pixelFormat());
    if (!strip.setSize(static_cast<int>(w), static_cast<int>(h))) return Bitmap();
    Canvas& c = strip.canvas();
    c.draw(0, 0, tile);
    const int total = horizontal ? strip.width() : strip.height();
    int filled = horizontal ? tile.width() : tile.height();
    while (filled < total) {
        const int n = std::min(filled, total - filled);
        if (horizontal) {
            c.copyRect(Rect{filled, 0, filled + n, strip.height()}, c, Rect{0, 0, n, strip.height()});
        } else {
            c.copyRect(Rect{0, filled, strip.width(), filled + n}, c, Rect{0, 0, strip.width(), n});
        }
        filled += n;
    }
    strip.transparent = tile.transparent;
    strip.transparentColor = tile.effectiveTransparentColor();
    return strip;
}

// Draws `count` copies of tile from `origin` along one axis, through the workspace copy mode.
void drawRun(Bitmap& ws, const Bitmap& tile, const Bitmap& strip, Point origin, int count, bool horizontal) {
    if (!strip.isEmpty()) {
        ws.canvas().draw(origin.x, origin.y, strip);
        return;
    }
    for (int k = 0; k < count; ++k) {
        const long long x = origin.x + (horizontal ? static_cast<long long>(k) * tile.width() : 0);
        const long long y = origin.y + (horizontal ? 0 : static_cast<long long>(k) * tile.height());
        ws.canvas().draw(static_cast<int>(x), static_cast<int>(y), tile);
    }
}

// Copies at 0, step, 2 step, ... while below `extent`, and at least one.
int copiesAcross(int extent, int step) {
    if (extent <= step) return 1;
    return static_cast<int>((static_cast<long long>(extent) + step - 1) / step);
}

void splitRange(Bitmap& ws, RangeState& st, bool horizontal) {
    if (rangeIsEmpty(st.range)) return;
    const Rect p = rangePixels(st.range);
    const int o = kSplitOffsetRange.clamp(st.splitOffset);
    Canvas& c = ws.canvas();
    Rect gap;
    if (horizontal) {
        const int m = p.left + (p.width() + 1) / 2;
        c.copyRect(Rect{m + o, p.top, p.right + o, p.bottom}, c, Rect{m, p.top, p.right, p.bottom});
        gap = Rect{m, p.top, m + o, p.bottom};
    } else {
        const int m = p.top + (p.height() + 1) / 2;
        c.copyRect(Rect{p.left, m + o, p.right, p.bottom + o}, c, Rect{p.left, m, p.right, p.bottom});
        gap = Rect{p.left, m, p.right, m + o};
    }
    // The gap is white whatever the brush's style or pattern; afterwards the brush gets its
    // colour back through setColor, which turns a clear brush solid.
    const Brush saved = c.brush();
    c.brush() = Brush();
    c.fillRect(gap);
    c.brush() = saved;
    c.brush().setColor(saved.color());
}

// The temporary mask bitmap of Mask Clip and Paste Mask: the range, white where it has
// flagColor and black elsewhere. False for an empty range or one too large to hold.
bool rangeMask(const Bitmap& ws, const Rect& p, TColor flagColor, Bitmap& tmp) {
    if (!makeTemp(tmp, p.width(), p.height())) return false;
    tmp.canvas().copyRect(Rect{0, 0, p.width(), p.height()}, ws.canvas(), p);
    tmp.mask(flagColor);
    return true;
}

}  // namespace

// ---- Range menu ----

void selectAll(const Bitmap& workspace, RangeState& st) {
    st.range = Rect{0, 0, workspace.width(), workspace.height()};
}

void invertRange(Bitmap& workspace, RangeState& st) {
    st.clipCopyMode = cmSrcInvert;
    if (!setclip(st, clWhite)) return;
    copyclip(workspace, st);
    pasteclip(workspace, st);
}

void logicRange(Bitmap& workspace, RangeState& st, LogicFamily family, TColor c) {
    if (!setclip(st, c)) return;
    // The buffer holds c and its brush is c, so the pattern and the destination are both c.
    switch (family) {
    case LogicFamily::And: st.clipCopyMode = cmMergeCopy; break;
    case LogicFamily::Or: st.clipCopyMode = cmMergePaint; break;
    case LogicFamily::Xor: st.clipCopyMode = cmSrcInvert; break;
    }
    copyclip(workspace, st);
    pasteclip(workspace, st);
}

void tileAll(Bitmap& workspace, RangeState& st) {
    if (!loadRange(workspace, st)) return;
    const Bitmap& tile = st.buffer;
    const int n = copiesAcross(workspace.width(), tile.width());
    const Bitmap strip = makeStrip(tile, n, true);
    long long y = 0;
    do {
        drawRun(workspace, tile, strip, Point{0, static_cast<int>(y)}, n, true);
        y += tile.height();
    } while (y < workspace.height());
}

void tileDiagonal(Bitmap& workspace, RangeState& st) {
    if (!loadRange(workspace, st)) return;
    const Bitmap& tile = st.buffer;
    long long x = 0, y = 0;
    do {
        workspace.canvas().draw(static_cast<int>(x), static_cast<int>(y), tile);
        y += tile.height();
        x += tile.width();
    } while (y < workspace.height() && x < workspace.width());
}

void borderHorizontal(Bitmap& workspace, RangeState& st) {
    if (!loadRange(workspace, st)) return;
    const Bitmap& tile = st.buffer;
    const int n = copiesAcross(workspace.width(), tile.width());
    const Bitmap strip = makeStrip(tile, n, true);
    drawRun(workspace, tile, strip, Point{0, 0}, n, true);
    drawRun(workspace, tile, strip, Point{0, workspace.height() - tile.height()}, n, true);
}

void borderVertical(Bitmap& workspace, RangeState& st) {
    if (!loadRange(workspace, st)) return;
    const Bitmap& tile = st.buffer;
    const int n = copiesAcross(workspace.height(), tile.height());
    const Bitmap strip = makeStrip(tile, n, false);
    drawRun(workspace, tile, strip, Point{0, 0}, n, false);
    drawRun(workspace, tile, strip, Point{workspace.width() - tile.width(), 0}, n, false);
}

void mirrorRowsDown(Bitmap& bmp) {
    const int h = bmp.height();
    for (int i = 0; i < h / 2; ++i) {
        const auto src = rowSpan(std::as_const(bmp), i);
        const auto dst = rowSpan(bmp, h - 1 - i);
        std::memcpy(dst.data(), src.data(), src.size());
    }
}

void mirrorRange(Bitmap& workspace, RangeState& st) {
    if (rangeIsEmpty(st.range)) return;
    const Rect p = rangePixels(st.range);
    moveFarEdge(st.range.top, st.range.bottom, static_cast<long long>(p.bottom) + p.height());
    if (!loadRange(workspace, st)) return;
    mirrorRowsDown(st.buffer);
    pasteclip(workspace, st);
}

void stretchRange(Bitmap& workspace, RangeState& st) {
    if (!loadRange(workspace, st)) return;
    workspace.canvas().stretchDraw(Rect{0, 0, workspace.width(), workspace.height()}, st.buffer);
}

void reduceRange(Bitmap& workspace, RangeState& st) {
    if (rangeIsEmpty(st.range) || workspace.isEmpty()) return;
    const Rect keep = st.range;
    const bool loaded = loadWholeWorkspace(workspace, st);
    st.range = keep;
    if (!loaded) return;
    workspace.canvas().stretchDraw(rangePixels(keep), st.buffer);
}

void splitHorizontal(Bitmap& workspace, RangeState& st) { splitRange(workspace, st, true); }
void splitVertical(Bitmap& workspace, RangeState& st) { splitRange(workspace, st, false); }

void eraseRange(Bitmap& workspace, RangeState& st) {
    const TColor c = workspace.canvas().brush().color();
    if (c == clNone) return;
    st.clipCopyMode = cmSrcCopy;
    if (!setclip(st, c)) return;
    pasteclip(workspace, st);
}

void squareToHeight(RangeState& st) {
    const Rect p = rangePixels(st.range);
    moveFarEdge(st.range.top, st.range.bottom, static_cast<long long>(p.top) + p.width());
}

void squareToWidth(RangeState& st) {
    const Rect p = rangePixels(st.range);
    moveFarEdge(st.range.left, st.range.right, static_cast<long long>(p.left) + p.height());
}

void maskClip(Bitmap& workspace, const RangeState& st, TColor flagColor) {
    if (rangeIsEmpty(st.range)) return;
    const Rect p = rangePixels(st.range);
    Bitmap tmp;
    if (!rangeMask(workspace, p, flagColor, tmp)) return;
    workspace.canvas().draw(p.left, p.top, tmp);
}

// ---- Range tools ----

void pasteRangeAt(Bitmap& workspace, const RangeState& st, Point at) {
    if (rangeIsEmpty(st.range)) return;
    const Rect p = rangePixels(st.range);
    const Point q = clampRangePoint(at);
    Canvas& c = workspace.canvas();
    c.copyRect(Rect{q.x, q.y, q.x + p.width(), q.y + p.height()}, c, p);
}

void pasteMaskAt(Bitmap& workspace, const RangeState& st, Point at, TColor flagColor) {
    if (rangeIsEmpty(st.range)) return;
    const Rect p = rangePixels(st.range);
    Bitmap tmp;
    if (!rangeMask(workspace, p, flagColor, tmp)) return;
    const Point q = clampRangePoint(at);
    workspace.canvas().copyRect(Rect{q.x, q.y, q.x + p.width(), q.y + p.height()}, tmp.canvas(),
                                Rect{0, 0, p.width(), p.height()});
}

void pasteColorAt(Bitmap& workspace, const RangeState& st, Point at, TColor flagColor, bool inverted) {
    if (rangeIsEmpty(st.range) || flagColor == clNone) return;
    const TColor f = colorToRGB(flagColor);  // as pixel() reports it
    const Rect p = rangePixels(st.range);
    const Point q = clampRangePoint(at);
    // Only range pixels inside the workspace can hold the colour.
    const Rect v = onBitmap(p, workspace);
    // In place, row by row: a target that lies inside the range is seen again when its turn
    // comes, so an overlapping paste carries the colour along.
    for (int j = v.top; j < v.bottom; ++j) {
        const int ty = q.y + (j - p.top);
        for (int i = v.left; i < v.right; ++i) {
            if (workspace.pixel(i, j) != f) continue;
            const int tx = q.x + (i - p.left);
            if (inverted) {
                const TColor old = workspace.pixel(tx, ty);
                if (old >= 0) workspace.setPixel(tx, ty, old ^ f);
            } else {
                workspace.setPixel(tx, ty, f);
            }
        }
    }
}

void rangeDragStart(Bitmap& workspace, RangeState& st, Point at) {
    st.clipCopyMode = cmSrcInvert;
    if (!setclip(st, clWhite)) return;
    copyclip(workspace, st);
    // Where the range reaches past the image there is nothing to invert: those buffer pixels
    // become black, which the exclusive-or drawing leaves invisible, instead of white, which
    // would show a negative of whatever the copy passes over.
    const Rect p = rangePixels(st.range);
    const Rect v = onBitmap(p, workspace);
    const Rect in{v.left - p.left, v.top - p.top, v.right - p.left, v.bottom - p.top};
    Bitmap& buf = st.buffer;
    if (in.left > 0 || in.top > 0 || in.right < buf.width() || in.bottom < buf.height()) {
        Canvas& bc = buf.canvas();
        const Brush saved = bc.brush();
        bc.brush() = Brush();
        bc.brush().setColor(clBlack);
        const int bw = buf.width(), bh = buf.height();
        if (in.left >= in.right || in.top >= in.bottom) {
            bc.fillRect(Rect{0, 0, bw, bh});
        } else {
            bc.fillRect(Rect{0, 0, bw, in.top});
            bc.fillRect(Rect{0, in.bottom, bw, bh});
            bc.fillRect(Rect{0, in.top, in.left, in.bottom});
            bc.fillRect(Rect{in.right, in.top, bw, in.bottom});
        }
        bc.brush() = saved;
    }
    workspace.canvas().setCopyMode(cmSrcInvert);
    const Point q = clampRangePoint(at);
    workspace.canvas().draw(q.x, q.y, st.buffer);
}

void rangeMoveStep(Bitmap& workspace, const RangeState& st, Point from, Point to) {
    if (st.buffer.isEmpty()) return;
    const Point a = clampRangePoint(from), b = clampRangePoint(to);
    workspace.canvas().draw(a.x, a.y, st.buffer);
    workspace.canvas().draw(b.x, b.y, st.buffer);
}

void rangeSmearStep(Bitmap& workspace, const RangeState& st, Point to) {
    if (st.buffer.isEmpty()) return;
    const Point b = clampRangePoint(to);
    workspace.canvas().draw(b.x, b.y, st.buffer);
}

void transparentCopyAt(Bitmap& workspace, RangeState& st, Point at) {
    if (!loadRange(workspace, st)) return;
    const int bw = st.buffer.width(), bh = st.buffer.height();
    const Point q = clampRangePoint(at);
    workspace.canvas().brushCopy(Rect{q.x, q.y, q.x + bw, q.y + bh}, st.buffer, Rect{0, 0, bw, bh},
                                 st.transparentColor);
}

void magnifyRange(Bitmap& workspace, RangeState& st) {
    if (rangeIsEmpty(st.range)) return;
    const Rect& r = st.range;
    const int a = (r.right - r.left) / 4, b = (r.bottom - r.top) / 4;
    Bitmap& buf = st.buffer;
    if (!buf.setSize(50, 50)) return;
    buf.setPixelFormat(PixelFormat::pf24bit);
    buf.fill(clWhite);
    buf.canvas().setCopyMode(cmSrcCopy);
    buf.canvas().copyRect(Rect{0, 0, 50, 50}, workspace.canvas(), Rect{r.left + a, r.top + b, r.right - a, r.bottom - b});
    workspace.canvas().setCopyMode(cmSrcCopy);
    workspace.canvas().stretchDraw(r, buf);
}

}  // namespace pixoral::effects
