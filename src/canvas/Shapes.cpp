// Rectangles, round rectangles, ellipses, arcs, chords, pies and polygons.
//
// A box (x1, y1, x2, y2) bounds the pixels x1..x2-1, y1..y2-1. The figure's region is the set
// of pixels whose centres lie inside the shape inscribed in the box's pixel edges; a width-1
// outline is the region's inner boundary, so it stays in the box. Wider outlines are a band of
// the pen's width about that boundary line, round at the outer corners, or inside the box for
// psInsideFrame. Each row is worked out on its own, so only the visible rows cost anything.
#include <cmath>
#include <limits>
#include <numbers>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Raster.h"
#include "canvas/Scan.h"

namespace pixoral {

namespace scan {

namespace {
constexpr double kSlack = 1e-7;
}

double RoundShape::halfWidthAt(double dy) const {
    dy = std::fabs(dy);
    if (hw < 0 || hh < 0 || dy > hh) return -1;
    const double core = hh - ry;
    if (dy <= core || ry <= 0) return hw;
    const double t = std::min(1.0, (dy - core) / ry);
    return (hw - rx) + rx * std::sqrt(std::max(0.0, 1 - t * t));
}

bool RoundShape::row(i64 y, int limit, double slack, i64& x0, i64& x1) const {
    if (steps) {
        const i64 c2x = std::llround(2 * cx), c2y = std::llround(2 * cy);  // left + right, top + bottom
        const i64 edge = std::min(y - (c2y - stepSpanY) / 2, (c2y + stepSpanY) / 2 - y);
        if (edge < 0) return false;
        const i64 d = stepCorner - 2 * edge;
        const i64 k = d <= 0 ? 0 : d / 2;
        if (k >= i64(steps->size())) return false;
        x0 = std::max<i64>((c2x - stepSpan) / 2 + (*steps)[k], -2);
        x1 = std::min<i64>((c2x + stepSpan) / 2 - (*steps)[k], i64(limit) + 1);
        return x0 <= x1;
    }
    if (hw + slack < 0 || hh + slack < 0) return false;
    const double dy = std::fabs(double(y) - cy);
    if (dy > hh + slack) return false;
    const double half = halfWidthAt(std::min(dy, std::max(hh, 0.0)));
    if (half < 0) return false;
    return columnsIn(cx - half - slack, cx + half + slack, limit, x0, x1);
}

RoundShape RoundShape::grown(double d) const {
    RoundShape g = *this;
    g.steps = nullptr;
    g.hw = hw + d;
    g.hh = hh + d;
    g.rx = std::clamp(rx + d, 0.0, std::max(g.hw, 0.0));
    g.ry = std::clamp(ry + d, 0.0, std::max(g.hh, 0.0));
    return g;
}

// Even-odd fill with vertices at pixel centres: a pixel is inside when its centre is, edges
// on the left and top count as inside and those on the right and bottom do not.
void fillAlternate(const std::vector<Point>& pts, Coverage& cov) {
    struct Edge {
        i64 x0, y0, dx, dy;  // dy > 0: from the upper end down
        i64 yEnd;            // rows y0 <= y < yEnd
    };
    // Scratch kept per thread: stepped outlines have thousands of edges, and wide strokes fill
    // a quadrilateral for every segment.
    thread_local std::vector<Edge> edges;
    thread_local std::vector<const Edge*> active;
    thread_local std::vector<i64> xs;
    edges.clear();
    active.clear();
    const std::size_t n = pts.size();
    for (std::size_t i = 0; i < n; ++i) {
        Point a = pts[i], b = pts[i + 1 < n ? i + 1 : 0];
        if (a.y == b.y) continue;
        if (a.y > b.y) std::swap(a, b);
        edges.push_back({a.x, a.y, i64(b.x) - a.x, i64(b.y) - a.y, b.y});
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    i64 top = edges.front().y0, bottom = top;
    for (const Edge& e : edges) bottom = std::max(bottom, e.yEnd - 1);
    i64 ya, yb;
    ya = std::max<i64>(top, 0);
    yb = std::min<i64>(bottom, cov.height() - 1);
    if (ya > yb) return;

    std::size_t next = 0;
    for (i64 y = ya; y <= yb; ++y) {
        while (next < edges.size() && edges[next].y0 <= y) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->yEnd <= y; }), active.end());
        xs.clear();
        for (const Edge* e : active) {
            // The first pixel at or right of the crossing, exactly: ceil(x0 + (y - y0) dx / dy),
            // in 64 bits when the products fit (every figure on a picture), else in 128.
            constexpr i64 kSmall = i64(1) << 30;
            if (std::llabs(e->x0) < kSmall && std::llabs(e->dx) < kSmall && e->dy < kSmall && y - e->y0 < kSmall) {
                const i64 num = e->x0 * e->dy + (y - e->y0) * e->dx;
                xs.push_back(num >= 0 ? (num + e->dy - 1) / e->dy : -((-num) / e->dy));
            } else {
                const __int128 num = static_cast<__int128>(e->x0) * e->dy + static_cast<__int128>(y - e->y0) * e->dx;
                xs.push_back(scan::ceilDiv(num, e->dy));
            }
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2) cov.add(y, xs[k], xs[k + 1] - 1);
    }
}


}  // namespace scan

using scan::Coverage;
using scan::i64;
using scan::RoundShape;
using scan::fillAlternate;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kSlack = 1e-7;
// Dashed outlines number their pixels along the whole figure when it lies within this margin
// of the bitmap, so clipping does not move the pattern; farther parts are left uncounted.
constexpr i64 kStyleMargin = 1 << 15;

struct PointD {
    double x, y;
};

// Pixels of a row: up to two outline runs and an interior run (inclusive columns).
struct RowParts {
    int count = 0;
    i64 x0[2] = {0, 0};
    i64 x1[2] = {0, 0};
    bool hasInner = false;
    i64 in0 = 0, in1 = -1;
    void addOutline(i64 a, i64 b) {
        if (a > b) return;
        x0[count] = a;
        x1[count] = b;
        ++count;
    }
};

// Row y of a width-1 outline: the region's pixels with a 4-neighbour outside it.
bool thinRow(const RoundShape& s, i64 y, int limit, RowParts& p) {
    p = RowParts{};
    i64 a, b;
    if (!s.row(y, limit, kSlack, a, b)) return false;
    i64 a0, b0, a1, b1;
    i64 i0 = 0, i1 = -1;
    if (s.row(y - 1, limit, kSlack, a0, b0) && s.row(y + 1, limit, kSlack, a1, b1)) {
        i0 = std::max({a + 1, a0, a1});
        i1 = std::min({b - 1, b0, b1});
    }
    if (i0 > i1) {
        p.addOutline(a, b);
        return true;
    }
    p.hasInner = true;
    p.in0 = i0;
    p.in1 = i1;
    p.addOutline(a, i0 - 1);
    p.addOutline(i1 + 1, b);
    return true;
}

// Row y of a wide outline: the band between `outer` (closed) and `inner` (open); the
// interior is what lies inside both `inner` and the region `region`.
bool ringRow(const RoundShape& outer, const RoundShape& inner, const RoundShape& region, i64 y, int limit, RowParts& p) {
    p = RowParts{};
    i64 o0, o1;
    if (!outer.row(y, limit, kSlack, o0, o1)) return false;
    i64 i0, i1;
    if (!inner.row(y, limit, -kSlack, i0, i1)) {
        p.addOutline(o0, o1);
        return true;
    }
    i0 = std::max(i0, o0);
    i1 = std::min(i1, o1);
    p.addOutline(o0, i0 - 1);
    p.addOutline(i1 + 1, o1);
    i64 r0, r1;
    if (region.row(y, limit, kSlack, r0, r1)) {
        p.in0 = std::max(i0, r0);
        p.in1 = std::min(i1, r1);
        p.hasInner = p.in0 <= p.in1;
    }
    return true;
}

// The rows of the ellipse in the inclusive box left..left+a, top..top+b: the inset of each
// row from the sides, by distance from the middle row (0 for the middle one or two). This is
// the integer midpoint stepping of one quadrant GDI draws with; boxes two pixels wide or high
// or less are filled whole, and flat ellipses may lose rows at their tips, as GDI's do.
std::shared_ptr<const std::vector<i64>> ellipseSteps(i64 a, i64 b) {
    auto out = std::make_shared<std::vector<i64>>();
    if (a <= 1 || b <= 1) {
        out->assign(std::size_t(b / 2 + 1), 0);
        return out;
    }
    const i64 b1 = b & 1;
    i64 dx = 4 * (1 - a) * b * b, dy = 4 * (b1 + 1) * a * a;
    i64 err = dx + dy + b1 * a * a;
    const i64 stepX = 8 * b * b, stepY = 8 * a * a;
    i64 inset = 0, row = 0;  // row: distance below the middle row
    out->reserve(std::size_t(b / 2 + 1));
    while (2 * inset <= a) {
        if (row == i64(out->size())) out->push_back(inset);
        const i64 e2 = 2 * err;
        if (e2 <= dy) {
            ++row;
            err += dy += stepY;
        }
        if (e2 >= dx) {
            ++inset;
            err += dx += stepX;
        }
    }
    return out;
}

// The shape inscribed in the pixel edges of the box l..r-1, t..b-1 (r > l, b > t).
RoundShape boxShape(i64 l, i64 t, i64 r, i64 b, bool ellipse, double cornerW, double cornerH, bool stepped = true) {
    RoundShape s;
    s.cx = (double(l) + double(r) - 1) / 2;
    s.cy = (double(t) + double(b) - 1) / 2;
    s.hw = (double(r) - double(l)) / 2;
    s.hh = (double(b) - double(t)) / 2;
    s.rx = ellipse ? s.hw : std::min(std::fabs(cornerW) / 2, s.hw);
    s.ry = ellipse ? s.hh : std::min(std::fabs(cornerH) / 2, s.hh);
    if (s.rx >= s.hw && s.ry >= s.hh && s.hw > 0.5 && s.hh > 0.5) {
        // An ellipse touches all four sides of its box. For a flat or narrow one the pixel
        // centres nearest its middle can fall just short of the box's edge pixels, so the
        // radii grow just enough to take them in (round ellipses are left as they are).
        const double dy0 = std::fabs(std::floor(s.cy) - s.cy);  // 0 or 0.5
        const double dx0 = std::fabs(std::floor(s.cx) - s.cx);
        const double ex = s.hw - 0.5, ey = s.hh - 0.5;
        const double a = std::max(s.hw, ex / std::sqrt(1 - (dy0 / s.hh) * (dy0 / s.hh)));
        const double b = std::max(s.hh, ey / std::sqrt(std::max(1e-12, 1 - (dx0 / a) * (dx0 / a))));
        s.hw = s.rx = a;
        s.hh = s.ry = b;
    }
    // Moderate ellipses take GDI's stepped rows (the analytic shape is the fallback for
    // boxes whose stepping would overflow).
    constexpr i64 kStepLimit = i64(1) << 15;
    if (stepped && r - l <= kStepLimit && b - t <= kStepLimit) {
        // A round rectangle's corners are the quarters of its corner ellipse, clipped to the box.
        i64 cw = r - l, ch = b - t;
        if (!ellipse) {
            cw = std::min<i64>(i64(std::fabs(cornerW)), cw);
            ch = std::min<i64>(i64(std::fabs(cornerH)), ch);
            if (cw <= 1 || ch <= 1) cw = ch = 1;
        }
        s.steps = ellipseSteps(cw - 1, ch - 1);
        s.stepSpan = r - 1 - l;
        s.stepSpanY = b - 1 - t;
        s.stepCorner = ch - 1;
    }
    return s;
}

bool visibleRows(i64 top, i64 bottom, int h, i64& y0, i64& y1) {
    y0 = std::max<i64>(top, 0);
    y1 = std::min<i64>(bottom, h - 1);
    return y0 <= y1;
}

// The wide outline's band: centred on the width-1 outline, or kept inside the region.
void wideBand(const RoundShape& region, const Pen& pen, RoundShape& outer, RoundShape& inner) {
    const int w = scan::penWidth(pen);
    if (pen.style == PenStyle::psInsideFrame) {
        outer = region;
        inner = region.grown(-w);
        return;
    }
    const RoundShape centre = region.grown(-0.5);
    outer = centre.grown(w / 2.0);
    inner = centre.grown(-w / 2.0);
    if (w % 2 == 0) {  // the extra pixel of an even width goes left and up
        outer.cx -= 0.5;
        outer.cy -= 0.5;
        inner.cx -= 0.5;
        inner.cy -= 0.5;
    }
}

double angleOf(double vx, double vy) { return std::atan2(vy, vx); }

// Angle of v counter-clockwise from `start`, in [0, 2*pi).
double angleFrom(double start, double vx, double vy) {
    double a = angleOf(vx, vy) - start;
    a = std::fmod(a, kTwoPi);
    if (a < 0) a += kTwoPi;
    return a;
}

// The pixels of a width-1 outline in order round the centre, counter-clockwise from the
// direction `start`, for numbering dash patterns. `keep` filters by position.
template <class Keep>
std::vector<Point> orderedOutline(const RoundShape& s, i64 top, i64 bottom, int w, int h, double start, Keep&& keep) {
    struct Item {
        double angle;
        Point p;
    };
    std::vector<Item> items;
    // Work in a frame shifted by the margin so that columns left of the bitmap are kept too.
    RoundShape shifted = s;
    shifted.cx += double(kStyleMargin);
    const int limit = static_cast<int>(std::min<i64>(i64(w) + 2 * kStyleMargin, std::numeric_limits<int>::max() - 2));
    const i64 y0 = std::max<i64>(top, -kStyleMargin);
    const i64 y1 = std::min<i64>(bottom, i64(h) - 1 + kStyleMargin);
    RowParts parts;
    for (i64 y = y0; y <= y1; ++y) {
        if (!thinRow(shifted, y, limit, parts)) continue;
        for (int k = 0; k < parts.count; ++k) {
            for (i64 x = std::max<i64>(parts.x0[k], 0); x <= std::min<i64>(parts.x1[k], limit - 1); ++x) {
                const i64 px = x - kStyleMargin;
                if (!keep(double(px), double(y))) continue;
                const double a = angleFrom(start, double(px) - s.cx, -(double(y) - s.cy));
                items.push_back({a, Point{static_cast<int>(px), static_cast<int>(y)}});
            }
        }
    }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.angle < b.angle; });
    std::vector<Point> out;
    out.reserve(items.size());
    for (const Item& it : items) out.push_back(it.p);
    return out;
}

enum class Corners { Square, Round, Elliptic };

// Thin outlines go over the whole interior; wide ones and no outline paint each pixel once.
scan::Layers layersFor(const Pen& pen) {
    return pen.style != PenStyle::psClear && scan::penWidth(pen) == 1 ? scan::Layers::FillUnderOutline
                                                                        : scan::Layers::Once;
}

void drawBoxFigure(Bitmap& bmp, const Pen& pen, const Brush& brush, i64 x1, i64 y1, i64 x2, i64 y2, Corners kind,
                   double cornerW, double cornerH);

// Boxes up to this size step their outline out pixel by pixel.
constexpr i64 kMaxSteppedArc = 1 << 16;

// The first quadrant for a width w by height h box, relative to the centre pixel
// (w / 2, h / 2): from (w - 1 - w / 2, 0), y growing, to x = 0.
std::vector<Point> quadrantSteps(i64 w, i64 h) {
    scan::QuarterSteps steps(w, h);
    std::vector<Point> pts;
    i64 x = w - 1, y = h / 2;
    while (x >= w / 2) {
        pts.push_back({int(x - w / 2), int(y - h / 2)});
        const scan::QuarterSteps::Step s = steps.step();
        if (s.column) --x;
        if (s.row) ++y;
    }
    return pts;
}

// An inside-frame pen runs its centre line on the box shrunk by its width, so that it keeps
// within the box (a box narrower than the pen turns inside out).
void keepInsideFrame(const Pen& pen, i64& l, i64& t, i64& r, i64& b) {
    if (pen.style != PenStyle::psInsideFrame) return;
    const int pw = scan::penWidth(pen);
    l += pw / 2;
    t += pw / 2;
    r -= (pw - 1) / 2;
    b -= (pw - 1) / 2;
}

// A rectangle with a wide pen, as the classic device draws it: the pen strokes the closed path
// through the corners of the box without its last column and row, and the interior is the box
// inside that path, without the outline. An inside-frame pen first shrinks the box by its
// width; a box narrower than the pen turns inside out and is still stroked.
void drawWideRect(Bitmap& bmp, const Pen& pen, const Brush& brush, i64 x1, i64 y1, i64 x2, i64 y2) {
    const int pw = scan::penWidth(pen);
    i64 l = x1, t = y1, r = x2, b = y2;
    keepInsideFrame(pen, l, t, r, b);
    --r;
    --b;
    Coverage on(bmp.width(), bmp.height()), off = on, fill = on;
    const auto pt = [](i64 x, i64 y) { return Point{int(x), int(y)}; };
    scan::addWidePath(on, {pt(r, t), pt(l, t), pt(l, b), pt(r, b)}, true, pw);
    i64 ya, yb;
    if (!brush.isClear() && visibleRows(std::min(t, b), std::max(t, b) - 1, bmp.height(), ya, yb))
        for (i64 y = ya; y <= yb; ++y) fill.add(y, std::min(l, r), std::max(l, r) - 1);
    scan::paintFigure(bmp, pen, brush, on, off, fill);
}

// A round rectangle or ellipse (corners cw by ch) with a wide pen, as the classic device draws
// it: the outline's pixels stepped out for one corner, mirrored into the others, and stroked
// as a closed path with the pen; the interior is the round rectangle's region one column and
// row larger, without the outline. Corners of two pixels or less make a rectangle.
void drawWideRound(Bitmap& bmp, const Pen& pen, const Brush& brush, i64 x1, i64 y1, i64 x2, i64 y2, double cw,
                   double ch) {
    const int pw = scan::penWidth(pen);
    i64 l = x1, t = y1, r = x2, b = y2;
    keepInsideFrame(pen, l, t, r, b);
    const i64 ew = std::min<i64>(r - l, std::llabs(std::llround(cw))), eh = std::min<i64>(b - t, std::llabs(std::llround(ch)));
    if (ew <= 2 || eh <= 2) {
        drawBoxFigure(bmp, pen, brush, x1, y1, x2, y2, Corners::Square, 0, 0);
        return;
    }
    std::vector<Point> pts;
    for (const Point& q : quadrantSteps(ew, eh)) pts.push_back({int(r - ew + q.x + ew / 2), int(t + eh - 1 - q.y - eh / 2)});
    // Mirrored left to right, then top to bottom; a middle point is not repeated when the
    // corner spans the whole box.
    const auto mirror = [&](bool across, bool oddWhole) {
        const std::size_t count = pts.size();
        const std::size_t end = 2 * count - 1 - (oddWhole ? 1 : 0);
        pts.resize(end + 1);
        for (std::size_t i = 0; i < count; ++i) {
            const Point q = pts[i];
            pts[end - i] = across ? Point{int(l + r - 1 - q.x), q.y} : Point{q.x, int(t + b - 1 - q.y)};
        }
    };
    mirror(true, ew % 2 != 0 && ew == r - l);
    mirror(false, eh % 2 != 0 && eh == b - t);
    Coverage on(bmp.width(), bmp.height()), off = on, fill = on;
    scan::addWidePath(on, pts, true, pw);
    if (!brush.isClear())
        for (const scan::RegionRow& row : scan::roundRectRows(l, t, r + 1, b + 1, ew, eh)) fill.add(row.y, row.x0, row.x1 - 1);
    scan::paintFigure(bmp, pen, brush, on, off, fill);
}

void drawBoxFigure(Bitmap& bmp, const Pen& pen, const Brush& brush, i64 x1, i64 y1, i64 x2, i64 y2, Corners kind,
                   double cornerW, double cornerH) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x1 == x2 || y1 == y2 || bmp.isEmpty()) return;
    // A one-pixel box with a thin pen draws nothing at all.
    if (x2 - x1 == 1 && y2 - y1 == 1 && scan::penWidth(pen) == 1) return;
    const int w = bmp.width(), h = bmp.height();
    const bool ellipse = kind == Corners::Elliptic;
    if (kind == Corners::Square) cornerW = cornerH = 0;
    i64 ya, yb;

    if (pen.style == PenStyle::psClear) {
        // Without an outline a rectangle is one pixel smaller on the right and bottom.
        if (x2 - x1 < 2 || y2 - y1 < 2 || brush.isClear()) return;
        // Ellipses and round rectangles keep their size unless at most two pixels across.
        const bool whole = kind != Corners::Square && x2 - x1 > 2 && y2 - y1 > 2;
        const RoundShape s = boxShape(x1, y1, whole ? x2 : x2 - 1, whole ? y2 : y2 - 1, ellipse, cornerW, cornerH);
        if (!visibleRows(y1, whole ? y2 - 1 : y2 - 2, h, ya, yb)) return;
        raster::shareRows(bmp, ya, yb, (yb - ya + 1) * std::min<i64>(x2 - x1, w), [&](const raster::RowRef& r, int y) {
            i64 a, b;
            if (s.row(y, w, kSlack, a, b)) raster::brushRun(r, y, int(std::max<i64>(a, 0)), int(std::min<i64>(b + 1, w)), brush, pen.mode);
        });
        return;
    }

    const int pw = scan::penWidth(pen);
    const RoundShape region = boxShape(x1, y1, x2, y2, ellipse, cornerW, cornerH, pw == 1);
    // One row's outline runs and fill: rows are independent, so they are shared over the cores.
    // Layered: the brush first over the whole row, outline included (see scan::Layers).
    auto paintParts = [&](const raster::RowRef& r, int y, const RowParts& parts, bool layered = false) {
        const auto brushTo = [&](i64 a, i64 b) { raster::brushRun(r, y, int(std::max<i64>(a, 0)), int(std::min<i64>(b + 1, w)), brush, pen.mode); };
        if (layered) brushTo(parts.x0[0], parts.x1[parts.count - 1]);
        for (int k = 0; k < parts.count; ++k)
            raster::penRun(r, int(std::max<i64>(parts.x0[k], 0)), int(std::min<i64>(parts.x1[k] + 1, w)), pen.color, pen.mode);
        if (!layered && parts.hasInner) brushTo(parts.in0, parts.in1);
    };

    if (scan::isStyled(pen)) {
        Coverage on(w, h), off(w, h), fill(w, h);
        auto dash = [&](i64 x, i64 y, i64 i) {
            if (scan::styleOn(pen.style, i)) on.addPixel(x, y);
            else off.addPixel(x, y);
        };
        if (kind == Corners::Square) {
            // The pattern starts at the top-right corner and runs anticlockwise; only the
            // visible pixels are visited, each numbered by its place along the outline.
            const i64 L = x1, T = y1, R = x2 - 1, B = y2 - 1;
            const i64 xa = std::max<i64>(L, 0), xb = std::min<i64>(R, w - 1);
            const i64 ta = std::max<i64>(T + 1, 0), tb = std::min<i64>(B, h - 1);
            for (i64 x = xa; x <= xb; ++x) dash(x, T, R - x);
            for (i64 y = ta; y <= tb; ++y) dash(L, y, (R - L) + (y - T));
            if (B > T)
                for (i64 x = std::max<i64>(L + 1, 0); x <= xb; ++x) dash(x, B, (R - L) + (B - T) + (x - L));
            if (R > L)
                for (i64 y = ta; y <= std::min<i64>(B - 1, h - 1); ++y) dash(R, y, 2 * (R - L) + (B - T) + (B - y));
        } else {
            const std::vector<Point> outline =
                orderedOutline(region, y1, y2 - 1, w, h, 0.0, [](double, double) { return true; });
            for (std::size_t i = 0; i < outline.size(); ++i) dash(outline[i].x, outline[i].y, i64(i));
        }
        if (visibleRows(y1, y2 - 1, h, ya, yb)) {
            for (i64 y = ya; y <= yb; ++y) {
                i64 a, b;
                if (region.row(y, w, kSlack, a, b)) fill.add(y, a, b);
            }
        }
        // A rectangle's interior stops inside its outline, so only round figures layer.
        scan::paintFigure(bmp, pen, brush, on, off, fill, kind == Corners::Square ? scan::Layers::Once : layersFor(pen));
        return;
    }

    if (pw == 1) {
        if (!visibleRows(y1, y2 - 1, h, ya, yb)) return;
        // Round figures lay their brush under the outline; a rectangle's stops inside it.
        const bool layered = kind != Corners::Square && !brush.isClear();
        raster::shareRows(bmp, ya, yb, (yb - ya + 1) * std::min<i64>(x2 - x1, w), [&](const raster::RowRef& r, int y) {
            RowParts parts;
            if (thinRow(region, y, w, parts)) paintParts(r, y, parts, layered);
        });
        return;
    }

    if (kind == Corners::Square) {
        drawWideRect(bmp, pen, brush, x1, y1, x2, y2);
        return;
    }
    if (x2 - x1 <= kMaxSteppedArc && y2 - y1 <= kMaxSteppedArc) {
        drawWideRound(bmp, pen, brush, x1, y1, x2, y2, ellipse ? double(x2 - x1) : cornerW,
                      ellipse ? double(y2 - y1) : cornerH);
        return;
    }
    RoundShape outer, inner;
    wideBand(region, pen, outer, inner);  // boxes too large to step are drawn on the analytic shape
    if (!visibleRows(y1 - pw, y2 + pw, h, ya, yb)) return;
    raster::shareRows(bmp, ya, yb, (yb - ya + 1) * std::min<i64>(x2 - x1, w), [&](const raster::RowRef& r, int y) {
        RowParts parts;
        if (ringRow(outer, inner, region, y, w, parts)) paintParts(r, y, parts);
    });
}

// The part of a plane between two rays from a centre, counter-clockwise from `a` to `b`
// (directions with y up). Rows are cut by half-planes, so a row meets it in at most two runs.
struct Sector {
    double cx = 0, cy = 0;  // centre, pixel-centre coordinates
    PointD a{1, 0}, b{1, 0};
    double start = 0;
    double span = kTwoPi;
    bool full = true;

    int row(double y, double lo[2], double hi[2]) const {
        if (full) {
            lo[0] = -kInf;
            hi[0] = kInf;
            return 1;
        }
        // cross(a, v) >= 0 and cross(v, b) >= 0 for v = (x - cx, cy - y).
        double l1 = -kInf, h1 = kInf, l2 = -kInf, h2 = kInf;
        const bool ok1 = halfLine(-a.y, a.y * cx - a.x * (y - cy), l1, h1);
        const bool ok2 = halfLine(b.y, (y - cy) * b.x - cx * b.y, l2, h2);
        int n = 0;
        if (span <= std::numbers::pi) {
            if (ok1 && ok2 && std::max(l1, l2) <= std::min(h1, h2)) {
                lo[0] = std::max(l1, l2);
                hi[0] = std::min(h1, h2);
                n = 1;
            }
            return n;
        }
        if (ok1) {
            lo[n] = l1;
            hi[n] = h1;
            ++n;
        }
        if (ok2) {
            lo[n] = l2;
            hi[n] = h2;
            ++n;
        }
        return n;
    }
    bool contains(double x, double y) const {
        if (full) return true;
        return angleFrom(start, x - cx, cy - y) <= span + 1e-12;
    }

    // coef * x + c >= 0
    static bool halfLine(double coef, double c, double& lo, double& hi) {
        const double scale = std::max({std::fabs(coef), std::fabs(c), 1.0});
        if (std::fabs(coef) <= 1e-12 * scale) return c >= -1e-9 * scale;
        const double t = -c / coef;
        if (coef > 0) lo = t - 1e-9;
        else hi = t + 1e-9;
        return true;
    }
};

// Where the ray from the ellipse's centre in direction v (y up) meets it.
PointD onEllipse(const RoundShape& e, PointD v) {
    const double ra = std::max(e.hw, 1e-9), rb = std::max(e.hh, 1e-9);
    const double q = (v.x / ra) * (v.x / ra) + (v.y / rb) * (v.y / rb);
    const double t = q > 0 ? 1 / std::sqrt(q) : 0;
    return {e.cx + t * v.x, e.cy - t * v.y};
}

Point nearestPixel(PointD p) {
    const double lim = double(std::numeric_limits<int>::max() - 1);
    return {static_cast<int>(std::clamp(std::floor(p.x + 0.5), -lim, lim)),
            static_cast<int>(std::clamp(std::floor(p.y + 0.5), -lim, lim))};
}

enum class ArcKind { Arc, Chord, Pie };

// The width-1 outline pixel of the sector that comes first (or last) counter-clockwise: it lies
// within a few pixels of `end`, that end of the arc on the outline's middle line. Searched in a frame shifted
// by the style margin so that pixels left of the bitmap count too; false when none is found.
bool arcEndPixel(const RoundShape& region, const Sector& sec, PointD end, bool first, Point& last) {
    RoundShape shifted = region;
    shifted.cx += double(kStyleMargin);
    const int limit = std::numeric_limits<int>::max() - 2;
    const i64 yEnd = static_cast<i64>(std::floor(end.y + 0.5));
    double best = first ? kInf : -1;
    RowParts parts;
    for (i64 y = yEnd - 2; y <= yEnd + 2; ++y) {
        if (!thinRow(shifted, y, limit, parts)) continue;
        for (int k = 0; k < parts.count; ++k) {
            const i64 xEnd = static_cast<i64>(std::floor(end.x + 0.5)) + kStyleMargin;
            for (i64 x = std::max(parts.x0[k], xEnd - 3); x <= std::min(parts.x1[k], xEnd + 3); ++x) {
                if (x <= -2) continue;  // clamped: too far off the bitmap to matter
                const double px = double(x - kStyleMargin);
                if (!sec.contains(px, double(y))) continue;
                const double a = angleFrom(sec.start, px - sec.cx, sec.cy - double(y));
                if (a > sec.span + 1e-12 || (first ? a >= best : a <= best)) continue;
                best = a;
                constexpr i64 lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
                last = {static_cast<int>(std::clamp<i64>(x - kStyleMargin, lo, hi)), static_cast<int>(std::clamp<i64>(y, lo, hi))};
            }
        }
    }
    return first ? best < kInf : best >= 0;
}

// Adds the runs [a, b] of row y that also lie in the sector.
void addInSector(Coverage& cov, const Sector& sec, i64 y, i64 a, i64 b, int w) {
    double lo[2], hi[2];
    const int n = sec.row(double(y), lo, hi);
    for (int k = 0; k < n; ++k) {
        i64 s0, s1;
        if (!scan::columnsIn(lo[k], hi[k], w, s0, s1)) continue;
        cov.add(y, std::max(a, s0), std::min(b, s1));
    }
}

// An arc is a path through the pixels of its ellipse's outline, as the classic device draws
// it: the outline of the first quadrant is stepped out once (one pixel a step, from the right
// end of the middle row down to the middle column), mirrored into the other three, and the
// steps between the two radial directions, counter-clockwise, become the path, stroked with
// the pen of any width or style. Chords and pies close it (a pie through the box's centre
// pixel) and fill it as a polygon. Boxes wider or taller than kMaxSteppedArc keep the
// general outline below.

// The step at which the direction (x, y) from the centre (y down, the quadrant order above)
// leaves the outline: 0 .. 4 * count.
i64 stepOfDirection(const std::vector<Point>& q, i64 x, i64 y) {
    const i64 count = i64(q.size());
    i64 i = 0;
    if (y >= 0) {
        if (x >= 0) {
            while (i < count && !(q[i].x * y <= q[i].y * x)) ++i;
            return i;
        }
        while (i < count && !(q[i].x * y < q[i].y * -x)) ++i;
        return 2 * count - i;
    }
    if (x >= 0) {
        while (i < count && !(q[i].x * -y <= q[i].y * x)) ++i;
        return 4 * count - i;
    }
    while (i < count && !(q[i].x * -y < q[i].y * -x)) ++i;
    return 2 * count + i;
}

// The path of a thin arc in box (l, t)-(r, b), counter-clockwise from the direction of
// (x3, y3) to that of (x4, y4); a pie's ends at the centre pixel.
std::vector<Point> steppedArc(i64 l, i64 t, i64 r, i64 b, i64 x3, i64 y3, i64 x4, i64 y4, bool pie) {
    const i64 w = r - l, h = b - t;
    const std::vector<Point> q = quadrantSteps(w, h);
    const i64 count = i64(q.size());
    std::vector<Point> path;
    if (count == 0) return path;
    const i64 cx = l + w / 2, cy = t + h / 2;
    // Counter-clockwise on the screen is the quadrant order with y turned over.
    const i64 from = stepOfDirection(q, x3 - cx, cy - y3);
    i64 to = stepOfDirection(q, x4 - cx, cy - y4);
    if (to <= from) to += 4 * count;
    path.reserve(std::size_t(to - from + 1));
    for (i64 i = from; i < to; ++i) {
        const i64 j = i % count;
        const Point& p = q[std::size_t(j)];
        const Point& m = q[std::size_t(count - 1 - j)];
        switch ((i / count) % 4) {
        case 0: path.push_back({int(cx + p.x), int(b - 1 - h / 2 - p.y)}); break;
        case 1: path.push_back({int(r - 1 - w / 2 - m.x), int(b - 1 - h / 2 - m.y)}); break;
        case 2: path.push_back({int(r - 1 - w / 2 - p.x), int(cy + p.y)}); break;
        default: path.push_back({int(cx + m.x), int(cy + m.y)}); break;
        }
    }
    if (pie) path.push_back({int(cx), int(cy)});
    return path;
}

void drawArcFigure(Bitmap& bmp, const Pen& pen, const Brush& brush, ArcKind kind, i64 x1, i64 y1, i64 x2, i64 y2,
                   i64 x3, i64 y3, i64 x4, i64 y4) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x1 == x2 || y1 == y2 || bmp.isEmpty()) return;
    const bool clearPen = pen.style == PenStyle::psClear;
    if (kind == ArcKind::Arc && clearPen) return;
    const int w = bmp.width(), h = bmp.height();

    // The radial points give directions from the box's centre (measured on pixel edges).
    const double ecx = (double(x1) + double(x2)) / 2, ecy = (double(y1) + double(y2)) / 2;
    Sector sec;
    sec.cx = ecx - 0.5;
    sec.cy = ecy - 0.5;
    sec.a = {double(x3) - ecx, ecy - double(y3)};
    sec.b = {double(x4) - ecx, ecy - double(y4)};
    if (sec.a.x == 0 && sec.a.y == 0) sec.a = {1, 0};
    if (sec.b.x == 0 && sec.b.y == 0) sec.b = {1, 0};
    sec.start = angleOf(sec.a.x, sec.a.y);
    sec.span = angleFrom(sec.start, sec.b.x, sec.b.y);
    sec.full = sec.span <= 1e-12;  // the same direction twice: the whole ellipse
    if (sec.full) sec.span = kTwoPi;

    const RoundShape region = boxShape(x1, y1, x2, y2, true, 0, 0);
    const RoundShape centre = region.grown(-0.5);
    const PointD s = onEllipse(centre, sec.a), e = onEllipse(centre, sec.b);
    const PointD c{sec.cx, sec.cy};

    Coverage on(w, h), off(w, h), fill(w, h);
    const int pw = scan::penWidth(pen);
    if (!clearPen && x2 - x1 <= kMaxSteppedArc && y2 - y1 <= kMaxSteppedArc) {
        // The outline's pixels stepped out and stroked as a path with the pen (closed back to
        // the start for a chord or pie); an inside-frame pen steps the box shrunk by its width.
        i64 l = x1, t = y1, r = x2, b = y2;
        keepInsideFrame(pen, l, t, r, b);
        if (l >= r || t >= b) return;
        const std::vector<Point> path = steppedArc(l, t, r, b, x3, y3, x4, y4, kind == ArcKind::Pie);
        if (path.size() < 2) return;
        scan::strokePath(path, kind != ArcKind::Arc, pen, on, off);
        if (kind != ArcKind::Arc && !brush.isClear()) fillAlternate(path, fill);
        scan::paintFigure(bmp, pen, brush, on, off, fill, layersFor(pen));
        return;
    }
    i64 ya, yb;
    Sector fillSec = sec;  // a thin pie's interior lies between its drawn radii
    if (!clearPen) {
        // The closing lines: the chord back to the start, or the two radii of a pie.
        std::vector<std::pair<PointD, PointD>> lines;
        if (kind == ArcKind::Chord) lines.push_back({e, s});
        if (kind == ArcKind::Pie) {
            lines.push_back({e, c});
            lines.push_back({c, s});
        }
        if (scan::isStyled(pen)) {
            const std::vector<Point> outline = orderedOutline(region, y1, y2 - 1, w, h, sec.start, [&](double x, double y) {
                return sec.contains(x, y);
            });
            i64 phase = 0;
            for (const Point& p : outline) {
                if (scan::styleOn(pen.style, phase++)) on.addPixel(p.x, p.y);
                else off.addPixel(p.x, p.y);
            }
            for (const auto& [p, q] : lines) {
                phase += scan::forEachLinePixel(nearestPixel(p), nearestPixel(q), w, h, false, [&](int x, int y, i64 st) {
                    if (scan::styleOn(pen.style, phase + st)) on.addPixel(x, y);
                    else off.addPixel(x, y);
                });
            }
        } else if (pw == 1) {
            RowParts parts;
            if (visibleRows(y1, y2 - 1, h, ya, yb)) {
                for (i64 y = ya; y <= yb; ++y) {
                    if (!thinRow(region, y, w, parts)) continue;
                    for (int k = 0; k < parts.count; ++k) addInSector(on, sec, y, parts.x0[k], parts.x1[k], w);
                }
            }
            // A chord joins the arc's own first and last pixels; a pie joins them to the pixel
            // at the box's centre.
            Point firstPix, lastPix;
            if (kind != ArcKind::Arc && arcEndPixel(region, sec, s, true, firstPix) &&
                arcEndPixel(region, sec, e, false, lastPix)) {
                const PointD a{double(lastPix.x), double(lastPix.y)}, b{double(firstPix.x), double(firstPix.y)};
                const PointD mid{std::floor(ecx), std::floor(ecy)};
                if (kind == ArcKind::Chord) lines = {{a, b}};
                else lines = {{a, mid}, {mid, b}};
                if (kind == ArcKind::Pie && !sec.full) {
                    fillSec.cx = mid.x;
                    fillSec.cy = mid.y;
                    fillSec.a = {b.x - mid.x, mid.y - b.y};
                    fillSec.b = {a.x - mid.x, mid.y - a.y};
                    fillSec.start = angleOf(fillSec.a.x, fillSec.a.y);
                    fillSec.span = angleFrom(fillSec.start, fillSec.b.x, fillSec.b.y);
                    if (fillSec.span <= 1e-12) fillSec = sec;
                }
            }
            for (const auto& [p, q] : lines)
                scan::forEachLinePixel(nearestPixel(p), nearestPixel(q), w, h, true, [&](int x, int y, i64) { on.addPixel(x, y); });
            if (kind == ArcKind::Arc) {
                // Like a line, an arc leaves out its last pixel (a whole ellipse too).
                Point last;
                if (arcEndPixel(region, sec, e, false, last)) {
                    Coverage cut(w, h);
                    cut.addPixel(last.x, last.y);
                    on.normalize();
                    on.subtract(cut);
                }
            }
        } else {
            RoundShape outer, inner;
            wideBand(region, pen, outer, inner);
            RowParts parts;
            if (visibleRows(y1 - pw, y2 + pw, h, ya, yb)) {
                for (i64 y = ya; y <= yb; ++y) {
                    if (!ringRow(outer, inner, region, y, w, parts)) continue;
                    for (int k = 0; k < parts.count; ++k) addInSector(on, sec, y, parts.x0[k], parts.x1[k], w);
                }
            }
            // Round ends where the arc stops, on the middle line of the band.
            PointD cs = s, ce = e;
            if (pen.style == PenStyle::psInsideFrame) {
                const RoundShape mid = region.grown(-pw / 2.0);
                cs = onEllipse(mid, sec.a);
                ce = onEllipse(mid, sec.b);
            }
            if (!sec.full) {
                scan::addWideSegment(on, cs.x, cs.y, cs.x, cs.y, pw);
                scan::addWideSegment(on, ce.x, ce.y, ce.x, ce.y, pw);
            }
            for (const auto& [p, q] : lines) scan::addWideSegment(on, p.x, p.y, q.x, q.y, pw);
        }
    }

    if (kind != ArcKind::Arc && !brush.isClear()) {
        // Without an outline the interior is one pixel smaller on the right and bottom.
        const bool fillable = !clearPen || (x2 - x1 >= 2 && y2 - y1 >= 2);
        const RoundShape area = clearPen ? boxShape(x1, y1, x2 - 1, y2 - 1, true, 0, 0) : region;
        if (fillable && visibleRows(y1, y2 - 1, h, ya, yb)) {
            // Chord: the side of the line from start to end that holds the arc's middle.
            const double dx = e.x - s.x, dy = e.y - s.y;
            const double midAngle = sec.start + sec.span / 2;
            const PointD m = onEllipse(centre, {std::cos(midAngle), std::sin(midAngle)});
            const double sideM = dx * (m.y - s.y) - dy * (m.x - s.x);
            const double sign = sideM >= 0 ? 1.0 : -1.0;
            const bool degenerate = std::hypot(dx, dy) < 1e-9;
            for (i64 y = ya; y <= yb; ++y) {
                i64 a, b;
                if (!area.row(y, w, kSlack, a, b)) continue;
                if (kind == ArcKind::Pie) {
                    addInSector(fill, fillSec, y, a, b, w);
                } else if (sec.full || degenerate) {
                    if (sec.full || sec.span > std::numbers::pi) fill.add(y, a, b);
                } else {
                    // sign * (dx * (y - s.y) - dy * (x - s.x)) >= 0, linear in x
                    double lo = -kInf, hi = kInf;
                    if (Sector::halfLine(-sign * dy, sign * (dx * (double(y) - s.y) + dy * s.x), lo, hi)) {
                        i64 s0, s1;
                        if (scan::columnsIn(lo, hi, w, s0, s1)) fill.add(y, std::max(a, s0), std::min(b, s1));
                    }
                }
            }
        }
    }
    scan::paintFigure(bmp, pen, brush, on, off, fill, kind == ArcKind::Arc ? scan::Layers::Once : layersFor(pen));
}

}  // namespace

void Canvas::rectangle(int x1, int y1, int x2, int y2) {
    drawBoxFigure(bmp_, pen_, brush_, x1, y1, x2, y2, Corners::Square, 0, 0);
}

void Canvas::roundRect(int x1, int y1, int x2, int y2, int ellipseW, int ellipseH) {
    drawBoxFigure(bmp_, pen_, brush_, x1, y1, x2, y2, Corners::Round, double(ellipseW), double(ellipseH));
}

void Canvas::ellipse(int x1, int y1, int x2, int y2) {
    drawBoxFigure(bmp_, pen_, brush_, x1, y1, x2, y2, Corners::Elliptic, 0, 0);
}

void Canvas::arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    drawArcFigure(bmp_, pen_, brush_, ArcKind::Arc, x1, y1, x2, y2, x3, y3, x4, y4);
}

void Canvas::chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    drawArcFigure(bmp_, pen_, brush_, ArcKind::Chord, x1, y1, x2, y2, x3, y3, x4, y4);
}

void Canvas::pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    drawArcFigure(bmp_, pen_, brush_, ArcKind::Pie, x1, y1, x2, y2, x3, y3, x4, y4);
}

void Canvas::polygon(const std::vector<Point>& pts) {
    if (pts.size() < 2 || bmp_.isEmpty()) return;
    Coverage on(bmp_.width(), bmp_.height()), off = on, fill = on;
    if (pen_.style != PenStyle::psClear) scan::strokePath(pts, true, pen_, on, off);
    if (!brush_.isClear()) fillAlternate(pts, fill);
    scan::paintFigure(bmp_, pen_, brush_, on, off, fill, layersFor(pen_));
}

}  // namespace pixoral
