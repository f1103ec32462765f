// Lines, polylines and Bezier curves, and the scan-conversion helpers the figures share.
#include <cmath>
#include <cstdlib>
#include <limits>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Raster.h"
#include "canvas/Scan.h"

namespace pixoral {

namespace scan {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kEps = 1e-9;

// Narrows [lo, hi] to the x with vmin <= coef*x + c <= vmax; false when nothing is left.
bool narrow(double coef, double c, double vmin, double vmax, double& lo, double& hi) {
    if (std::fabs(coef) < 1e-12) return c >= vmin - kEps && c <= vmax + kEps;
    double t1 = (vmin - c) / coef;
    double t2 = (vmax - c) / coef;
    if (t1 > t2) std::swap(t1, t2);
    lo = std::max(lo, t1);
    hi = std::min(hi, t2);
    return lo <= hi;
}

// Calls f(y, x0, x1) (inclusive columns, clipped to about the bitmap) for every visible row
// of the stroke of radius r about a-b. Rows are distinct, so each pixel comes once.
template <class F>
void forEachCapsuleRow(double ax, double ay, double bx, double by, double r, int w, int h, F&& f) {
    const double top = std::max(std::ceil(std::min(ay, by) - r - kEps), 0.0);
    const double bottom = std::min(std::floor(std::max(ay, by) + r + kEps), double(h - 1));
    if (!(top <= bottom)) return;
    for (i64 y = static_cast<i64>(top); y <= static_cast<i64>(bottom); ++y) {
        double lo, hi;
        if (!capsuleRow(ax, ay, bx, by, r, double(y), lo, hi)) continue;
        i64 x0, x1;
        if (columnsIn(lo, hi, w, x0, x1)) f(y, x0, x1);
    }
}

void shiftForWidth(int width, double& ax, double& ay, double& bx, double& by) {
    // An even-width stroke has no centre pixel; the extra pixel goes left and up.
    if (width % 2 == 0) {
        ax -= 0.5;
        ay -= 0.5;
        bx -= 0.5;
        by -= 0.5;
    }
}

}  // namespace

namespace {

// Sorts spans by row, then by first column. A long run is bucketed by row first (a wide
// outline adds thousands of spans over a few hundred rows), leaving only short rows to sort.
template <class It, class Less>
void sortByRows(It first, It last, Less before) {
    const std::size_t n = std::size_t(last - first);
    if (n < 256) {
        std::sort(first, last, before);
        return;
    }
    int top = first->y, bottom = first->y;
    for (It it = first; it != last; ++it) {
        top = std::min(top, it->y);
        bottom = std::max(bottom, it->y);
    }
    if (std::size_t(bottom - top) > 4 * n) {
        std::sort(first, last, before);
        return;
    }
    std::vector<std::size_t> start(std::size_t(bottom - top) + 2, 0);
    for (It it = first; it != last; ++it) ++start[std::size_t(it->y - top) + 1];
    for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
    std::vector<Span> bucketed(n);
    std::vector<std::size_t> next(start.begin(), start.end() - 1);
    for (It it = first; it != last; ++it) bucketed[next[std::size_t(it->y - top)]++] = *it;
    for (std::size_t r = 0; r + 1 < start.size(); ++r)
        std::sort(bucketed.begin() + std::ptrdiff_t(start[r]), bucketed.begin() + std::ptrdiff_t(start[r + 1]), before);
    std::copy(bucketed.begin(), bucketed.end(), first);
}

}  // namespace

void Coverage::normalize() {
    if (sorted_) return;
    // Figures add most of their spans row by row: only the tail out of order needs sorting.
    const auto before = [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; };
    const auto mid = std::is_sorted_until(spans_.begin(), spans_.end(), before);
    sortByRows(mid, spans_.end(), before);
    std::inplace_merge(spans_.begin(), mid, spans_.end(), before);
    std::size_t out = 0;
    for (std::size_t i = 0; i < spans_.size(); ++i) {
        if (out > 0 && spans_[out - 1].y == spans_[i].y && spans_[i].x0 <= spans_[out - 1].x1) {
            spans_[out - 1].x1 = std::max(spans_[out - 1].x1, spans_[i].x1);
        } else {
            spans_[out++] = spans_[i];
        }
    }
    spans_.resize(out);
    sorted_ = true;
}

void Coverage::sortKeepingRepeats() {
    sortByRows(spans_.begin(), spans_.end(), [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.order < b.order; });
}

void Coverage::subtract(const Coverage& other) {
    normalize();
    const std::vector<Span>& o = other.spans_;
    if (o.empty() || spans_.empty()) return;
    std::vector<Span> out;
    out.reserve(spans_.size());
    std::size_t j = 0;
    for (const Span& s : spans_) {
        while (j < o.size() && (o[j].y < s.y || (o[j].y == s.y && o[j].x1 <= s.x0))) ++j;
        int x = s.x0;
        for (std::size_t k = j; k < o.size() && o[k].y == s.y && o[k].x0 < s.x1; ++k) {
            if (o[k].x0 > x) out.push_back({s.y, x, o[k].x0});
            x = std::max(x, o[k].x1);
        }
        if (x < s.x1) out.push_back({s.y, x, s.x1});
    }
    spans_ = std::move(out);
}

bool Coverage::contains(int x, int y) const {
    auto it = std::upper_bound(spans_.begin(), spans_.end(), Span{y, x, x}, [](const Span& a, const Span& b) {
        return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
    });
    if (it == spans_.begin()) return false;
    --it;
    return it->y == y && x >= it->x0 && x < it->x1;
}

bool styleOn(PenStyle style, i64 s) {
    // Run lengths alternate on, off, on, off ...
    static constexpr int kDash[] = {18, 6};
    static constexpr int kDot[] = {3, 3};
    static constexpr int kDashDot[] = {9, 6, 3, 6};
    static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    const int* runs = nullptr;
    int count = 0;
    switch (style) {
    case PenStyle::psDash: runs = kDash; count = 2; break;
    case PenStyle::psDot: runs = kDot; count = 2; break;
    case PenStyle::psDashDot: runs = kDashDot; count = 4; break;
    case PenStyle::psDashDotDot: runs = kDashDotDot; count = 6; break;
    default: return true;
    }
    int period = 0;
    for (int i = 0; i < count; ++i) period += runs[i];
    i64 pos = s % period;
    if (pos < 0) pos += period;
    for (int i = 0; i < count; ++i) {
        if (pos < runs[i]) return i % 2 == 0;
        pos -= runs[i];
    }
    return true;
}

bool isStyled(const Pen& pen) {
    switch (pen.style) {
    case PenStyle::psDash:
    case PenStyle::psDot:
    case PenStyle::psDashDot:
    case PenStyle::psDashDotDot: return pen.width <= 1;
    default: return false;
    }
}

bool columnsIn(double lo, double hi, int limit, i64& x0, i64& x1) {
    if (!(lo <= hi)) return false;  // also rejects NaN
    // Clip a little outside the bitmap so that callers may step one pixel beyond and still
    // see the clipped values as off-bitmap.
    lo = std::max(lo, -2.0);
    hi = std::min(hi, double(limit) + 1.0);
    const double a = std::ceil(lo - kEps);
    const double b = std::floor(hi + kEps);
    if (a > b) return false;
    x0 = static_cast<i64>(a);
    x1 = static_cast<i64>(b);
    return true;
}

bool capsuleRow(double ax, double ay, double bx, double by, double r, double y, double& lo, double& hi) {
    lo = kInf;
    hi = -kInf;
    bool any = false;
    const double r2 = r * r;
    auto disc = [&](double cx, double cy) {
        const double dy = y - cy;
        const double q = r2 - dy * dy;
        if (q < -kEps) return;
        const double s = std::sqrt(std::max(q, 0.0));
        lo = std::min(lo, cx - s);
        hi = std::max(hi, cx + s);
        any = true;
    };
    disc(ax, ay);
    disc(bx, by);
    double ux = bx - ax, uy = by - ay;
    const double len = std::hypot(ux, uy);
    if (len > 0) {
        ux /= len;
        uy /= len;
        // Along the segment: 0 <= (p - a).u <= len; across it: |(p - a).n| <= r, n = (-uy, ux).
        double l = -kInf, u = kInf;
        if (narrow(ux, -ax * ux + (y - ay) * uy, 0.0, len, l, u) &&
            narrow(-uy, ax * uy + (y - ay) * ux, -r, r, l, u)) {
            lo = std::min(lo, l);
            hi = std::max(hi, u);
            any = true;
        }
    }
    return any;
}

void addWideSegment(Coverage& cov, double ax, double ay, double bx, double by, int width) {
    shiftForWidth(width, ax, ay, bx, by);
    forEachCapsuleRow(ax, ay, bx, by, width / 2.0, cov.width(), cov.height(),
                      [&](i64 y, i64 x0, i64 x1) { cov.add(y, x0, x1); });
}

void addWideSegment(Coverage& cov, Point a, Point b, int width) {
    addWideSegment(cov, double(a.x), double(a.y), double(b.x), double(b.y), width);
}

void paintFigure(Bitmap& bmp, const Pen& pen, const Brush& brush, Coverage& on, Coverage& off, Coverage& fill,
                 Layers layers) {
    const bool once = layers == Layers::Once;
    fill.normalize();
    if (once) {
        on.normalize();
        off.normalize();
        fill.subtract(on);
    } else {
        on.sortKeepingRepeats();
        off.sortKeepingRepeats();
    }
    if (brush.isSolid()) {
        // Opaque background: the gaps take the brush colour; painted once, the fill already
        // paints those inside the figure that colour.
        if (once) {
            off.subtract(on);
            off.subtract(fill);
        }
    } else {
        off = Coverage(off.width(), off.height());
    }
    // Each run stays in its row (and the layers of a row keep their order), so the rows the
    // figure covers are shared out over the cores.
    int top = bmp.height(), bottom = -1;
    for (const Coverage* c : {&on, &off, &fill})
        if (!c->empty()) {
            top = std::min(top, c->spans().front().y);
            bottom = std::max(bottom, c->spans().back().y);
        }
    // Each band looks up where its rows start once and walks the spans from there.
    const auto runs = [](const Coverage& c, int y0, int y1, const auto& rowAt, auto paint) {
        const auto& spans = c.spans();
        auto it = std::lower_bound(spans.begin(), spans.end(), y0, [](const Span& s, int row) { return s.y < row; });
        for (; it != spans.end() && it->y < y1; ++it) paint(rowAt(it->y), *it);
    };
    long long pixels = 0;
    for (const Coverage* c : {&on, &off, &fill})
        for (const Span& sp : c->spans()) pixels += sp.x1 - sp.x0;
    raster::shareRowBands(bmp, top, bottom, pixels, [&](const auto& rowAt, int y0, int y1) {
        const auto paintFill = [&] {
            runs(fill, y0, y1, rowAt, [&](const raster::RowRef& r, const Span& s) { raster::brushRun(r, s.y, s.x0, s.x1, brush, pen.mode); });
        };
        const auto paintOff = [&](const raster::RowRef& r, const Span& s) { raster::penRun(r, s.x0, s.x1, brush.color(), pen.mode); };
        const auto paintOn = [&](const raster::RowRef& r, const Span& s) { raster::penRun(r, s.x0, s.x1, pen.color, pen.mode); };
        if (once) {
            runs(off, y0, y1, rowAt, paintOff);
            paintFill();
            runs(on, y0, y1, rowAt, paintOn);
            return;
        }
        // The fill, then dashes and gaps row by row in the order they were drawn.
        paintFill();
        const auto first = [y0](const Coverage& c) {
            return std::lower_bound(c.spans().begin(), c.spans().end(), y0, [](const Span& s, int row) { return s.y < row; });
        };
        auto a = first(on), b = first(off);
        const auto aEnd = on.spans().end(), bEnd = off.spans().end();
        const auto inBand = [y1](auto it, auto end) { return it != end && it->y < y1; };
        while (inBand(a, aEnd) || inBand(b, bEnd)) {
            const bool takeOn = !inBand(b, bEnd) || (inBand(a, aEnd) && (a->y != b->y ? a->y < b->y : a->order < b->order));
            if (takeOn) {
                paintOn(rowAt(a->y), *a);
                ++a;
            } else {
                paintOff(rowAt(b->y), *b);
                ++b;
            }
        }
    });
}

// ---- Wide pens, as the classic device draws them: the union of a band for every segment,
// the pen's round dot at both ends of an open path and at every corner a segment leaves.

std::vector<RegionRow> roundRectRows(i64 left, i64 top, i64 right, i64 bottom, i64 ew, i64 eh) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    --right;
    --bottom;
    ew = std::min<i64>(right - left, ew < 0 ? -ew : ew);
    eh = std::min<i64>(bottom - top, eh < 0 ? -eh : eh);
    std::vector<RegionRow> rows;
    if (ew < 2 || eh < 2) {
        for (i64 y = top; y < bottom; ++y) rows.push_back({y, left, right});
        return rows;
    }
    // Rows the corner's stepping never reaches (the tips of a very narrow ellipse, where the
    // steps run out of columns first) stay empty, so the region keeps within the outline.
    std::vector<std::pair<i64, i64>> cols(std::size_t(eh + 1), {left, left});
    cols[std::size_t(eh / 2)] = {left, right};
    QuarterSteps steps(ew, eh);
    i64 x = 0, y = eh / 2;
    while (x <= ew / 2) {
        const QuarterSteps::Step st = steps.step();
        if (st.column) ++x;
        if (st.row && ++y <= eh) cols[std::size_t(y)] = {left + x, right - x};
    }
    // The top half mirrors the bottom; the middle row stretches over the straight sides.
    for (i64 i = 0; i < eh; ++i) {
        const auto& c = i < eh / 2 ? cols[std::size_t(eh - 1 - i)] : cols[std::size_t(i)];
        const i64 last = i < eh / 2 ? top + i : bottom - eh + i;
        const i64 first = i == eh / 2 ? top + eh / 2 : last;
        if (c.first < c.second)
            for (i64 row = first; row <= last; ++row) rows.push_back({row, c.first, c.second});
    }
    return rows;
}

namespace {

// The pen's round dot, rows relative to the point it is centred on: the elliptic region of
// the box from -(w / 2) to (w + 1) / 2 + 1.
std::vector<RegionRow> penDot(int width) {
    const i64 left = -(width / 2), right = (width + 1) / 2 + 1;
    return roundRectRows(left, left, right, right, right - left, right - left);
}

void addDot(Coverage& cov, const std::vector<RegionRow>& dot, Point p) {
    for (const RegionRow& r : dot) cov.add(i64(p.y) + r.y, i64(p.x) + r.x0, i64(p.x) + r.x1 - 1);
}

// Halves rounded away from zero, as the device rounds them.
i64 roundAway(double v) { return static_cast<i64>(v > 0 ? v + 0.5 : v - 0.5); }

// The band of one segment p -> q (not a point): a rectangle along an axis, otherwise a
// quadrilateral whose two sides are the pen's half widths rounded, the larger half on the
// left of the direction of travel. False for a segment of no length.
bool addWideBand(Coverage& cov, Point p, Point q, int width) {
    const i64 dx = i64(q.x) - p.x, dy = i64(q.y) - p.y;
    if (dx == 0 && dy == 0) return false;
    // Along an axis the band is a rectangle; only its visible rows are visited.
    const auto box = [&cov](i64 left, i64 top, i64 right, i64 bottom) {
        for (i64 y = std::max<i64>(top, 0); y < std::min<i64>(bottom, cov.height()); ++y) cov.add(y, left, right - 1);
    };
    if (dy == 0) {
        box(std::min<i64>(p.x, q.x), i64(p.y) - width / 2, std::max<i64>(p.x, q.x), i64(p.y) - width / 2 + width);
        return true;
    }
    if (dx == 0) {
        box(i64(p.x) - width / 2, std::min<i64>(p.y, q.y), i64(p.x) - width / 2 + width, std::max<i64>(p.y, q.y));
        return true;
    }
    const double len = std::hypot(double(dx), double(dy));
    const double wx = width * double(std::llabs(dy)) / len, wy = width * double(std::llabs(dx)) / len;
    i64 nx = roundAway(wx / 2), ny = roundAway(wy / 2), fx = roundAway((wx + 1) / 2), fy = roundAway((wy + 1) / 2);
    if (dx < 0) {
        fy = -fy;
        ny = -ny;
    }
    if (dy < 0) {
        std::swap(nx, fx);
        std::swap(ny, fy);
        fx = -fx;
        nx = -nx;
    }
    const auto pt = [](i64 x, i64 y) { return Point{int(x), int(y)}; };
    fillAlternate({pt(p.x - nx, p.y + ny), pt(p.x + fx, p.y - fy), pt(q.x + fx, q.y - fy), pt(q.x - nx, q.y + ny)}, cov);
    return true;
}

// What the pen paints for a step of one pixel (a diagonal, or along an axis) from a point: its
// dot there and the band to the next point, one run a row. Stepped outlines are mostly such
// steps, so a run of them is painted by taking each row's extremes instead of collecting a
// dot and a band for every pixel.
struct UnitStep {
    int top = 0;              // first row, relative to the point
    std::vector<int> x0, x1;  // columns x0 .. x1 of each row from there
};

// Wider pens take the general way (their columns would not fit the 32-bit rows below).
constexpr int kMaxUnitStepWidth = 1 << 20;

// What a pen of one width paints about a point: its dot, and for each unit step the dot and
// the band together. Kept for the last width each thread used (lines come in runs of one pen).
struct PenShapes {
    int width = 0;
    std::vector<RegionRow> dot;
    bool unitSteps = false;  // each step is one run a row (and the pen not too wide for them)
    UnitStep step[9];        // by (dy + 1) * 3 + dx + 1; the middle entry is the dot alone
};

const PenShapes& penShapes(int width) {
    thread_local PenShapes cache;
    if (cache.width == width) return cache;
    cache.width = width;
    cache.dot = penDot(width);
    cache.unitSteps = width <= kMaxUnitStepWidth;
    if (!cache.unitSteps) return cache;
    const i64 o = i64(width) + 4;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            Coverage c(int(2 * o + 1), int(2 * o + 1));
            addDot(c, cache.dot, {int(o), int(o)});
            addWideBand(c, {int(o), int(o)}, {int(o + dx), int(o + dy)}, width);
            c.normalize();
            UnitStep& u = cache.step[(dy + 1) * 3 + dx + 1];
            u.x0.clear();
            u.x1.clear();
            u.top = int(c.spans().front().y - o);
            for (const Span& sp : c.spans()) {
                if (!u.x0.empty() && sp.y == u.top + o + i64(u.x0.size()) - 1) cache.unitSteps = false;
                u.x0.push_back(int(sp.x0 - o));
                u.x1.push_back(int(sp.x1 - 1 - o));
            }
        }
    return cache;
}

bool isUnitStep(Point p, Point q) {
    const i64 dx = i64(q.x) - p.x, dy = i64(q.y) - p.y;
    return (dx != 0 || dy != 0) && dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
}

// Segments first .. last - 1 of the path, all unit steps that never turn back in x or in y.
// Each row's runs from the steps are then one run: a step's runs overlap or touch those of
// its neighbours, and the steps that reach a row are consecutive.
void addUnitSteps(Coverage& cov, const std::vector<Point>& pts, std::size_t first, std::size_t last, const PenShapes& unit) {
    const std::size_t n = pts.size();
    i64 ymin = pts[first].y, ymax = ymin;
    for (std::size_t i = first; i < last; ++i) {
        ymin = std::min<i64>(ymin, pts[i].y);
        ymax = std::max<i64>(ymax, pts[i].y);
    }
    const i64 reach = unit.width + 2;  // every step's rows lie within this of its point
    const i64 y0 = std::max<i64>(ymin - reach, 0), y1 = std::min<i64>(ymax + reach, cov.height() - 1);
    if (y0 > y1) return;
    // Columns in 32 bits so that the loop below runs in vector registers: a point further out
    // than 2^28 paints nothing visible either way, as the pen is narrower than that.
    thread_local std::vector<int> lo, hi;
    const std::size_t count = std::size_t(y1 - y0 + 1);
    lo.assign(count, std::numeric_limits<int>::max());
    hi.assign(count, std::numeric_limits<int>::min());
    constexpr i64 kFar = i64(1) << 28;
    for (std::size_t i = first; i < last;) {
        const Point p = pts[i], q = pts[i + 1 < n ? i + 1 : 0];
        const UnitStep& u = unit.step[(q.y - p.y + 1) * 3 + q.x - p.x + 1];
        // A run of the same step along a row paints the same rows: its first and last points
        // give each row's ends.
        std::size_t j = i + 1;
        if (p.y == q.y)
            while (j < last && pts[j + 1 < n ? j + 1 : 0].y == p.y) ++j;
        const int xa = int(std::clamp<i64>(std::min(p.x, pts[j - 1].x), -kFar, kFar));
        const int xb = int(std::clamp<i64>(std::max(p.x, pts[j - 1].x), -kFar, kFar));
        i = j;
        const i64 top = i64(p.y) + u.top;
        const std::size_t from = std::size_t(std::max<i64>(y0 - top, 0));
        const std::size_t to = std::size_t(std::clamp<i64>(y1 + 1 - top, 0, i64(u.x0.size())));
        if (from >= to) continue;
        int* l = lo.data() + (top + i64(from) - y0);
        int* h = hi.data() + (top + i64(from) - y0);
        const int* a = u.x0.data() + from;
        const int* b = u.x1.data() + from;
        for (std::size_t r = 0; r < to - from; ++r) {
            l[r] = std::min(l[r], xa + a[r]);
            h[r] = std::max(h[r], xb + b[r]);
        }
    }
    for (std::size_t r = 0; r < count; ++r)
        if (lo[r] <= hi[r]) cov.add(y0 + i64(r), lo[r], hi[r]);
}

}  // namespace

void addWidePath(Coverage& cov, std::vector<Point> pts, bool closed, int width) {
    // Repeated points at the ends add nothing.
    while (pts.size() > 2 && pts[0] == pts[1]) pts.erase(pts.begin());
    while (pts.size() > 2 && pts[pts.size() - 1] == pts[pts.size() - 2]) pts.pop_back();
    if (pts.size() < 2) return;
    const std::size_t n = pts.size();
    const std::size_t segments = closed ? n : n - 1;
    const PenShapes& unit = penShapes(width);
    // Corners get the dot: where a middle segment of some length starts, where the last
    // segment starts, and on a closed path at the first point too. A unit step's start always
    // has one, so it comes with the step.
    std::vector<Point> dots;
    if (!closed) dots = {pts.front(), pts.back()};
    for (std::size_t i = 0; i < segments;) {
        const Point p = pts[i], q = pts[i + 1 < n ? i + 1 : 0];
        if (unit.unitSteps && isUnitStep(p, q)) {
            const int sx = q.x - p.x, sy = q.y - p.y;
            std::size_t j = i + 1;
            for (int tx = sx, ty = sy; j < segments; ++j) {
                const Point a = pts[j], b = pts[j + 1 < n ? j + 1 : 0];
                if (!isUnitStep(a, b)) break;
                const int ux = b.x - a.x, uy = b.y - a.y;
                if ((ux && tx && ux != tx) || (uy && ty && uy != ty)) break;
                tx = tx ? tx : ux;
                ty = ty ? ty : uy;
            }
            addUnitSteps(cov, pts, i, j, unit);
            i = j;
            continue;
        }
        const bool drawn = addWideBand(cov, p, q, width);
        if (segments > 1 && i > 0 && (drawn || i == segments - 1)) dots.push_back(p);
        ++i;
    }
    if (closed && segments > 1) dots.push_back(pts.front());
    for (const Point& p : dots) addDot(cov, unit.dot, p);
}

// The outline of a path with the pen: segments leave out their end pixel, so a vertex is
// drawn by the segment that starts there; a dash pattern runs on across the vertices.
void strokePath(const std::vector<Point>& pts, bool closed, const Pen& pen, Coverage& on, Coverage& off) {
    const std::size_t n = pts.size();
    if (n < 2) return;
    const std::size_t segments = closed ? n : n - 1;
    const int width = penWidth(pen);
    if (width > 1) {
        addWidePath(on, pts, closed, width);
        return;
    }
    const bool styled = isStyled(pen);
    i64 phase = 0;
    // Pixels are gathered into row runs of one kind (dash or gap), numbered in the order
    // they are drawn; a run ends where the next pixel is of the other kind.
    Coverage* kind = &on;
    int order = 0;
    const auto sink = [&](int y, int x0, int x1) { kind->add(y, x0, x1 - 1, ++order); };
    RunBuilder<decltype(sink)> runs(sink);
    for (std::size_t i = 0; i < segments; ++i) {
        phase += forEachLinePixel(pts[i], pts[i + 1 < n ? i + 1 : 0], on.width(), on.height(), false, [&](int x, int y, i64 s) {
            Coverage* k = !styled || styleOn(pen.style, phase + s) ? &on : &off;
            if (k != kind) {
                runs.flush();
                kind = k;
            }
            runs.pixel(x, y);
        });
    }
}

}  // namespace scan

using scan::i64;

void Canvas::moveTo(int x, int y) { penPos_ = {x, y}; }

void Canvas::lineTo(int x, int y) {
    const Point a = penPos_;
    const Point b{x, y};
    penPos_ = b;
    if (pen_.style == PenStyle::psClear || bmp_.isEmpty()) return;
    const int w = bmp_.width(), h = bmp_.height();
    const int width = scan::penWidth(pen_);
    if (width > 1) {
        // The pen's pixels are collected first, so each is painted once under any pen mode.
        scan::Coverage on(w, h);
        scan::addWidePath(on, {a, b}, false, width);
        on.normalize();
        for (const scan::Span& s : on.spans()) raster::penSpan(bmp_, s.y, s.x0, s.x1, pen_.color, pen_.mode);
        return;
    }
    auto penSink = [&](int yy, int x0, int x1) { raster::penSpan(bmp_, yy, x0, x1, pen_.color, pen_.mode); };
    scan::RunBuilder<decltype(penSink)> onRuns(penSink);
    if (!scan::isStyled(pen_)) {
        scan::forEachLinePixel(a, b, w, h, false, [&](int px, int py, i64) { onRuns.pixel(px, py); });
        return;
    }
    const bool opaque = brush_.isSolid();
    auto gapSink = [&](int yy, int x0, int x1) { raster::penSpan(bmp_, yy, x0, x1, brush_.color(), pen_.mode); };
    scan::RunBuilder<decltype(gapSink)> offRuns(gapSink);
    scan::forEachLinePixel(a, b, w, h, false, [&](int px, int py, i64 s) {
        if (scan::styleOn(pen_.style, s)) onRuns.pixel(px, py);
        else if (opaque) offRuns.pixel(px, py);
    });
}

void Canvas::polyline(const std::vector<Point>& pts) {
    if (pts.size() < 2 || pen_.style == PenStyle::psClear || bmp_.isEmpty()) return;
    scan::Coverage on(bmp_.width(), bmp_.height()), off = on, none = on;
    scan::strokePath(pts, false, pen_, on, off);
    scan::paintFigure(bmp_, pen_, brush_, on, off, none,
                      scan::penWidth(pen_) == 1 ? scan::Layers::FillUnderOutline : scan::Layers::Once);
}

namespace {

// Beziers are flattened as GDI flattens them: in 1/16-pixel fixed point, halving each curve
// (at most eight times) until both control points lie between the end points along the main
// axis and within a pixel of the chord, as measured with GDI's integer slope.
struct Fixed {
    i64 x, y;
};

constexpr int kBezierDepth = 8;
constexpr i64 kBezierPixel = 16;

i64 toPixel(i64 v) { return (v + kBezierPixel / 2) >> 4; }

bool flatEnough(const Fixed* p) {
    i64 dMajor = p[3].x - p[0].x, dMinor = p[3].y - p[0].y;
    const bool steep = std::abs(dMinor) > std::abs(dMajor);
    auto major = [&](const Fixed& q) { return steep ? q.y : q.x; };
    auto minor = [&](const Fixed& q) { return steep ? q.x : q.y; };
    if (steep) std::swap(dMajor, dMinor);
    for (int i = 1; i <= 2; ++i) {
        if (major(p[i]) < major(p[0]) ? major(p[i]) < major(p[3]) : major(p[i]) > major(p[3])) return false;
    }
    const i64 d = toPixel(dMajor);
    if (d == 0) return true;
    const i64 slope = dMinor / d;  // the integer slope is part of the measure
    for (int i = 1; i <= 2; ++i)
        if (std::abs(minor(p[i]) - minor(p[0]) - slope * toPixel(major(p[i]) - major(p[0]))) > kBezierPixel) return false;
    return true;
}

void flattenCubic(const Fixed* p, int level, std::vector<Point>& out) {
    if (level == 0 || flatEnough(p)) {
        const Point q{static_cast<int>(toPixel(p[3].x)), static_cast<int>(toPixel(p[3].y))};
        if (out.empty() || !(out.back() == q)) out.push_back(q);
        return;
    }
    // Halves round up, the division itself toward zero (as the device's integer halving does).
    auto mid = [](Fixed a, Fixed b) { return Fixed{(a.x + b.x + 1) / 2, (a.y + b.y + 1) / 2}; };
    const Fixed a = mid(p[0], p[1]), b = mid(p[1], p[2]), c = mid(p[2], p[3]);
    const Fixed d = mid(a, b), e = mid(b, c), m = mid(d, e);
    const Fixed left[4] = {p[0], a, d, m}, right[4] = {m, e, c, p[3]};
    flattenCubic(left, level - 1, out);
    flattenCubic(right, level - 1, out);
}

}  // namespace

std::vector<Point> flattenBeziers(const std::vector<Point>& pts) {
    std::vector<Point> out;
    if (pts.size() < 4) return out;
    out.push_back(pts[0]);
    auto fx = [](Point p) { return Fixed{i64(p.x) * kBezierPixel, i64(p.y) * kBezierPixel}; };
    for (std::size_t i = 0; i + 3 < pts.size(); i += 3) {
        const Fixed curve[4] = {fx(pts[i]), fx(pts[i + 1]), fx(pts[i + 2]), fx(pts[i + 3])};
        flattenCubic(curve, kBezierDepth, out);
    }
    return out;
}

void Canvas::polyBezier(const std::vector<Point>& pts) {
    const std::vector<Point> line = flattenBeziers(pts);
    if (line.size() >= 2) polyline(line);
}

void Canvas::polyBezierTo(const std::vector<Point>& pts) {
    std::vector<Point> all;
    all.reserve(pts.size() + 1);
    all.push_back(penPos_);
    all.insert(all.end(), pts.begin(), pts.end());
    const std::size_t whole = (all.size() - 1) / 3 * 3 + 1;
    if (whole < 4) return;
    all.resize(whole);
    const std::vector<Point> line = flattenBeziers(all);
    penPos_ = all.back();
    if (line.size() >= 2) polyline(line);
}

}  // namespace pixoral
