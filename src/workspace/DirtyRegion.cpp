#include "workspace/DirtyRegion.h"

#include <cmath>

namespace pixoral::dirty {

namespace {

struct Box {
    std::int64_t l, t, r, b;
};
Box normalised(Point s, Point e) {
    return {std::min(s.x, e.x), std::min(s.y, e.y), std::max(s.x, e.x), std::max(s.y, e.y)};
}
Rect make(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
    return Rect{clampCoord(l), clampCoord(t), clampCoord(r), clampCoord(b)};
}

}  // namespace

std::vector<Rect> rectOutline(Point s, Point e, int margin) {
    const Box x = normalised(s, e);
    const std::int64_t m = std::max(margin, 1);
    // A thin box is all edge: one rectangle covers it.
    if (x.r - x.l <= 4 * m || x.b - x.t <= 4 * m) return {make(x.l - m, x.t - m, x.r + m + 1, x.b + m + 1)};
    return {
        make(x.l - m, x.t - m, x.r + m + 1, x.t + m + 1),  // top
        make(x.l - m, x.b - m, x.r + m + 1, x.b + m + 1),  // bottom
        make(x.l - m, x.t + m + 1, x.l + m + 1, x.b - m),  // left
        make(x.r - m, x.t + m + 1, x.r + m + 1, x.b - m),  // right
    };
}

std::vector<Rect> ellipseOutline(Point s, Point e, int margin) {
    const Box x = normalised(s, e);
    const std::int64_t m = std::max(margin, 1) + 1;
    const double a = (x.r - x.l) / 2.0, b = (x.b - x.t) / 2.0;
    const double cx = (x.l + x.r) / 2.0, cy = (x.t + x.b) / 2.0;
    constexpr std::int64_t kBand = 32;
    if (a <= 2.0 * kBand || b <= 2.0 * kBand) return {make(x.l - m, x.t - m, x.r + m + 1, x.b + m + 1)};
    std::vector<Rect> out;
    for (std::int64_t y0 = x.t; y0 < x.b; y0 += kBand) {
        const std::int64_t y1 = std::min(y0 + kBand, x.b);
        // |dy| over the band: the curve's half-width there lies between these two.
        const double d0 = y0 - cy, d1 = y1 - cy;
        const double nearest = (d0 <= 0 && d1 >= 0) ? 0.0 : std::min(std::abs(d0), std::abs(d1));
        const double farthest = std::min(std::max(std::abs(d0), std::abs(d1)), b);
        const auto half = [&](double dy) { return a * std::sqrt(std::max(0.0, 1.0 - (dy * dy) / (b * b))); };
        const double wide = half(nearest), narrow = half(farthest);
        const std::int64_t outer = static_cast<std::int64_t>(std::ceil(wide)), inner = static_cast<std::int64_t>(std::floor(narrow));
        const std::int64_t lx0 = static_cast<std::int64_t>(std::floor(cx)) - outer - m;
        const std::int64_t lx1 = static_cast<std::int64_t>(std::ceil(cx)) - inner + m + 1;
        const std::int64_t rx0 = static_cast<std::int64_t>(std::floor(cx)) + inner - m;
        const std::int64_t rx1 = static_cast<std::int64_t>(std::ceil(cx)) + outer + m + 1;
        if (lx1 >= rx0) out.push_back(make(lx0, y0 - m, rx1, y1 + m));
        else {
            out.push_back(make(lx0, y0 - m, lx1, y1 + m));
            out.push_back(make(rx0, y0 - m, rx1, y1 + m));
        }
    }
    return out;
}

namespace {

// a minus b as up to four rectangles: the rows above and below b, then the columns beside it.
void subtract(const Box& a, const Box& b, std::vector<Rect>& out) {
    const std::int64_t t = std::max(a.t, b.t), bo = std::min(a.b, b.b);
    if (t >= bo || std::max(a.l, b.l) >= std::min(a.r, b.r)) {
        out.push_back(make(a.l, a.t, a.r, a.b));
        return;
    }
    if (a.t < b.t) out.push_back(make(a.l, a.t, a.r, b.t));
    if (a.b > b.b) out.push_back(make(a.l, b.b, a.r, a.b));
    if (a.l < b.l) out.push_back(make(a.l, t, b.l, bo));
    if (a.r > b.r) out.push_back(make(b.r, t, a.r, bo));
}

}  // namespace

std::vector<Rect> boxDifference(Point s1, Point e1, Point s2, Point e2) {
    const Box a = normalised(s1, e1), b = normalised(s2, e2);
    std::vector<Rect> out;
    subtract(a, b, out);
    subtract(b, a, out);
    return out;
}

std::vector<Rect> clipTo(const std::vector<Rect>& rects, int width, int height) {
    std::vector<Rect> out;
    out.reserve(rects.size());
    for (const Rect& r : rects) {
        const Rect c{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width), std::min(r.bottom, height)};
        if (c.left < c.right && c.top < c.bottom) out.push_back(c);
    }
    return out;
}

}  // namespace pixoral::dirty
