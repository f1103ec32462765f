#pragma once
// Scan conversion shared by the line, figure and text rasterisers. Internal to src/canvas.
//
// Pixel (x, y) has its centre at the integer point (x, y). Caller coordinates may be anywhere
// in the int range, so everything that meets them runs in 64-bit integers or doubles and is
// clipped to the bitmap before a loop starts: work is bounded by the visible area, never by
// the size of the figure.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "canvas/Canvas.h"

namespace pixoral::scan {

using i64 = std::int64_t;

struct Span {
    int y;
    int x0;  // first pixel
    int x1;  // one past the last
    int order = 0;  // a thin stroke's runs count up along the path (see paintFigure)
};

// A set of pixels of a w by h bitmap as sorted, disjoint row spans. Figures collect their
// outline and interior here so that every pixel is written exactly once, whatever the pen
// mode (a wide outline that crosses itself must not be mixed twice); thin strokes keep their
// runs as drawn instead, repeats included (see paintFigure).
class Coverage {
public:
    Coverage(int w, int h) : w_(w), h_(h) {}
    // Adds pixels x0..x1 (inclusive) of row y, clipped to the bitmap; `order` numbers a thin
    // stroke's runs for layered painting.
    void add(i64 y, i64 x0, i64 x1, int order = 0) {
        if (y < 0 || y >= h_) return;
        x0 = std::max<i64>(x0, 0);
        x1 = std::min<i64>(x1, w_ - 1);
        if (x0 > x1) return;
        spans_.push_back({static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1) + 1, order});
        sorted_ = false;
    }
    void addPixel(i64 x, i64 y) { add(y, x, x); }
    void reserve(std::size_t spans) { spans_.reserve(spans); }
    void normalize();                      // sorts and merges overlapping or touching spans
    void sortKeepingRepeats();             // by row, then order: a pixel added twice stays twice
    void subtract(const Coverage& other);  // both normalised; the result stays normalised
    bool contains(int x, int y) const;     // normalised sets only
    const std::vector<Span>& spans() const { return spans_; }
    bool empty() const { return spans_.empty(); }
    int width() const { return w_; }
    int height() const { return h_; }

private:
    int w_;
    int h_;
    std::vector<Span> spans_;
    bool sorted_ = true;
};

// Collects single pixels into horizontal runs before they go to Raster (a line walking left
// grows its run to the left).
template <class Sink>
class RunBuilder {
public:
    explicit RunBuilder(Sink sink) : sink_(sink) {}
    ~RunBuilder() { flush(); }
    void pixel(int x, int y) {
        if (open_ && y == y_ && x == x1_) {
            ++x1_;
            return;
        }
        if (open_ && y == y_ && x == x0_ - 1) {
            --x0_;
            return;
        }
        flush();
        open_ = true;
        y_ = y;
        x0_ = x;
        x1_ = x + 1;
    }
    void flush() {
        if (open_) sink_(y_, x0_, x1_);
        open_ = false;
    }

private:
    Sink sink_;
    bool open_ = false;
    int y_ = 0, x0_ = 0, x1_ = 0;
};

// ceil(n / d) for d > 0.
inline i64 ceilDiv(__int128 n, i64 d) {
    __int128 q = n / d;
    if (n % d != 0 && n > 0) ++q;
    return static_cast<i64>(q);
}

// The width-1 line from a to b, by the diamond rule: one pixel per column of an x-major line
// (per row of a y-major one), the minor coordinate rounded to nearest with ties going to the
// smaller coordinate. The rule depends only on the two end points, never on the direction,
// so a line covers the same pixels both ways. Visits the pixels inside [0,w) x [0,h) as
// f(x, y, s), s being the step from a (0 at a); the pixel at b is left out unless includeEnd.
// Returns the line's length in steps (the larger of |dx| and |dy|).
template <class F>
i64 forEachLinePixel(Point a, Point b, int w, int h, bool includeEnd, F&& f) {
    const i64 dx = i64(b.x) - a.x;
    const i64 dy = i64(b.y) - a.y;
    const i64 adx = dx < 0 ? -dx : dx;
    const i64 ady = dy < 0 ? -dy : dy;
    const i64 n = std::max(adx, ady);
    if (n == 0) {
        if (includeEnd && a.x >= 0 && a.y >= 0 && a.x < w && a.y < h) f(a.x, a.y, i64(0));
        return 0;
    }
    const bool xMajor = adx >= ady;
    const bool reversed = xMajor ? dx < 0 : dy < 0;
    const Point p = reversed ? b : a;  // canonical start: the major coordinate increases
    const i64 minorDelta = xMajor ? (reversed ? -dy : dy) : (reversed ? -dx : dx);
    const i64 major0 = xMajor ? p.x : p.y;
    const i64 minor0 = xMajor ? p.y : p.x;
    const i64 majorLimit = xMajor ? w : h;
    const i64 minorLimit = xMajor ? h : w;

    // Canonical step indexes drawn: the excluded end is canonical n, or 0 when reversed.
    i64 lo = 0, hi = n;
    if (!includeEnd) {
        if (reversed) lo = 1;
        else hi = n - 1;
    }
    lo = std::max(lo, -major0);
    hi = std::min(hi, majorLimit - 1 - major0);
    if (lo > hi) return n;

    // Minor offset at step i: ceil((2*i*m - n) / (2n)), i.e. i*m/n rounded half down.
    const i64 d = 2 * n;
    const __int128 num = static_cast<__int128>(lo) * minorDelta * 2 - n;
    i64 k = ceilDiv(num, d);
    i64 r = static_cast<i64>(static_cast<__int128>(k) * d - num);  // 0 <= r < d
    const i64 step = 2 * minorDelta;
    for (i64 i = lo; i <= hi; ++i) {
        const i64 minor = minor0 + k;
        if (minor >= 0 && minor < minorLimit) {
            const i64 major = major0 + i;
            const i64 s = reversed ? n - i : i;
            if (xMajor) f(static_cast<int>(major), static_cast<int>(minor), s);
            else f(static_cast<int>(minor), static_cast<int>(major), s);
        }
        r -= step;
        if (r < 0) {
            r += d;
            ++k;
        } else if (r >= d) {
            r -= d;
            --k;
        }
    }
    return n;
}

// Where a dashed width-1 pen draws at step s of its pattern (patterns restart at s = 0).
bool styleOn(PenStyle style, i64 s);
// True when the pen draws a pattern: a dash style at width 1 (wider pens draw solid).
bool isStyled(const Pen& pen);
inline int penWidth(const Pen& pen) { return std::max(1, pen.width); }

// The pixel columns [x0, x1] whose centres lie in [lo, hi] (inclusive), clipped to
// [-1, limit] so that far-away figures never overflow; false when there are none.
bool columnsIn(double lo, double hi, int limit, i64& x0, i64& x1);

// Row y of the round-capped stroke of radius r about the segment a-b (a disc when a == b):
// the centres x whose distance from the segment is at most r. False when the row misses it.
bool capsuleRow(double ax, double ay, double bx, double by, double r, double y, double& lo, double& hi);

// Adds the stroke of a wide pen along a-b (both ends included, round ends). Even widths put
// the extra pixel on the left and top, so the stroke's centre line is shifted by half a pixel.
void addWideSegment(Coverage& cov, Point a, Point b, int width);
void addWideSegment(Coverage& cov, double ax, double ay, double bx, double by, int width);

// A quarter of the outline of a w by h ellipse, stepped out one pixel at a time from the end
// of its middle row (the stepping that both a thin arc's outline and the wide pen's round dot
// follow): each step() says whether the column and whether the row moves on.
class QuarterSteps {
public:
    QuarterSteps(i64 w, i64 h)
        : aa8_(8 * (w - 1) * (w - 1)), bb8_(8 * (h - 1) * (h - 1)), dx_(4 * (h - 1) * (h - 1) * (2 - w)),
          dy_(4 * (w - 1) * (w - 1) * (1 + (h - 1) % 2)), err_(dx_ + dy_ + (w - 1) * (w - 1) * ((h - 1) % 2)) {}
    struct Step {
        bool column, row;
    };
    Step step() {
        const i64 e2 = 2 * err_;
        Step s{e2 >= dx_, e2 <= dy_};
        if (s.column) err_ += (dx_ += bb8_);
        if (s.row) err_ += (dy_ += aa8_);
        return s;
    }

private:
    i64 aa8_, bb8_, dx_, dy_, err_;
};

// The pixel rows of the region of a round rectangle (left, top)-(right, bottom) with corner
// ellipses ew by eh, as the classic device builds it: it leaves out the box's last column and
// row, and an ellipse is the round rectangle whose corners are the whole box. Columns
// x0 .. x1 - 1 of row y.
struct RegionRow {
    i64 y, x0, x1;
};
std::vector<RegionRow> roundRectRows(i64 left, i64 top, i64 right, i64 bottom, i64 ew, i64 eh);

// Even-odd fill of a polygon with vertices at pixel centres into `cov`: a pixel is inside when
// its centre is; edges on the left and top count as inside, those on the right and bottom not.
void fillAlternate(const std::vector<Point>& pts, Coverage& cov);

// The pixels a wide pen paints along a path (closed: back to the first point): a band for
// every segment and the pen's round dot at the ends of an open path and at its corners.
void addWidePath(Coverage& cov, std::vector<Point> pts, bool closed, int width);

// The outline of a path (closed: back to the first point) into `on`, and the gaps of a dashed
// pen into `off`. Wide pens stroke every segment with round ends and joins.
void strokePath(const std::vector<Point>& pts, bool closed, const Pen& pen, Coverage& on, Coverage& off);

// The pixels a pen and brush write for one figure, painted once each:
//   on   - pen pixels (pen colour, pen mode)
//   off  - gaps of a dashed pen (brush colour when the brush is solid, else untouched)
//   fill - the interior (the brush)
// fill loses what `on` covers and `off` loses what either covers; all three go through the
// pen mode. The sets need not be normalised on entry.
//
// A figure with a thin pen is painted in layers instead, as the classic device paints it: the
// whole interior first, then the outline over it (gaps and dashes) stroke by stroke, so that
// under a pen mode that is not idempotent the outline's pixels inside the interior, and where
// strokes cross, are mixed once for each. `on` and `off` then keep a pixel once for every
// stroke that added it, and a pixel in both is painted in the order of the runs' numbers (a
// dash drawn over a gap of an earlier stroke shows the dash). Wide pens paint their interior
// without the outline, each pixel once.
enum class Layers { Once, FillUnderOutline };
void paintFigure(Bitmap& bmp, const Pen& pen, const Brush& brush, Coverage& on, Coverage& off, Coverage& fill,
                 Layers layers = Layers::Once);

// Round-cornered rectangle (rx = hw, ry = hh gives an ellipse, 0 a plain rectangle) about the
// centre (cx, cy) with half extents hw, hh, all in pixel-centre coordinates.
struct RoundShape {
    double cx, cy, hw, hh, rx, ry;
    // Rows as GDI's integer ellipse stepping gives them: the inset of each row from the box's
    // sides, indexed by half the distance from the middle of the corner ellipse (of height
    // stepCorner + 1) for rows within it of the top or bottom. Null: the analytic shape.
    std::shared_ptr<const std::vector<i64>> steps;
    i64 stepSpan = 0, stepSpanY = 0;  // right - left and bottom - top of the box (inclusive)
    i64 stepCorner = 0;
    // Columns of row y whose centres lie inside (slack widens or, negative, narrows the test).
    bool row(i64 y, int limit, double slack, i64& x0, i64& x1) const;
    double halfWidthAt(double dy) const;  // negative outside
    RoundShape grown(double d) const;     // offset outward by d (inward for d < 0)
};

}  // namespace pixoral::scan
