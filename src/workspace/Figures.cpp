#include "workspace/Figures.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

namespace pixoral {

namespace {

using i64 = std::int64_t;

int clampInt(i64 v) {
    return int(std::clamp<i64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

Point toPoint(Point64 p) { return {clampInt(p.x), clampInt(p.y)}; }
Point64 toPoint64(Point p) { return {p.x, p.y}; }
Point add(Point a, Point b) { return {clampInt(i64(a.x) + b.x), clampInt(i64(a.y) + b.y)}; }
Point sub(Point a, Point b) { return {clampInt(i64(a.x) - b.x), clampInt(i64(a.y) - b.y)}; }

// Mouse points of a drag are near the image, but batch drags may pass anything: every
// difference and product below is taken in 64 bits and clamped only when drawn.
void line(Canvas& c, i64 x1, i64 y1, i64 x2, i64 y2) {
    c.moveTo(clampInt(x1), clampInt(y1));
    c.lineTo(clampInt(x2), clampInt(y2));
}

struct Polar {
    double r;
    double theta;
};

Polar polar(Point64 c, Point64 q) {
    double dx = double(q.x - c.x);
    const double dy = double(q.y - c.y);
    if (dx == 0) dx = 0.001;
    return {std::sqrt(dx * dx + dy * dy), std::atan2(dy, dx)};
}

int widthOf(const Canvas& c) { return c.bitmap().width(); }
int heightOf(const Canvas& c) { return c.bitmap().height(); }

}  // namespace

// ---------------------------------------------------------------- point helpers

std::int64_t roundHalfEven64(double v) {
    if (std::isnan(v)) return 0;
    constexpr double kLimit = 9.0e18;
    if (v >= kLimit) return std::numeric_limits<i64>::max();
    if (v <= -kLimit) return std::numeric_limits<i64>::min();
    double f = std::floor(v);
    const double frac = v - f;  // exact: f <= v < f + 1
    if (frac > 0.5 || (frac == 0.5 && std::fmod(f, 2.0) != 0)) f += 1;
    return i64(f);
}

int roundHalfEven(double v) { return clampInt(roundHalfEven64(v)); }

// The sum is rounded, not the offset: C + r cos is what halves-to-even applies to.
Point64 rotate64(Point64 c, Point64 q, double angle) {
    const Polar p = polar(c, q);
    return {roundHalfEven64(double(c.x) + p.r * std::cos(p.theta + angle)),
            roundHalfEven64(double(c.y) + p.r * std::sin(p.theta + angle))};
}

Point rotate(Point c, Point q, double angle) { return toPoint(rotate64(toPoint64(c), toPoint64(q), angle)); }

Point64 reducevector64(Point64 c, Point64 q, double f) {
    const Polar p = polar(c, q);
    return {roundHalfEven64(double(c.x) + f * p.r * std::cos(p.theta)),
            roundHalfEven64(double(c.y) + f * p.r * std::sin(p.theta))};
}

Point reducevector(Point c, Point q, double f) { return toPoint(reducevector64(toPoint64(c), toPoint64(q), f)); }

// ---------------------------------------------------------------- boxes and nesting

void drawBox(Canvas& canvas, BoxFigure kind, Point s, Point e, int rounding) {
    switch (kind) {
    case BoxFigure::Rectangle: canvas.rectangle(s.x, s.y, e.x, e.y); break;
    case BoxFigure::RoundRect: canvas.roundRect(s.x, s.y, e.x, e.y, rounding, rounding); break;
    case BoxFigure::Ellipse: canvas.ellipse(s.x, s.y, e.x, e.y); break;
    }
}

std::vector<Rect> nestedBoxes(Point s, Point e, int n) {
    std::vector<Rect> boxes;
    if (n < 2) return boxes;
    n = std::min(n, kMaxShapes);
    const i64 stepX = ((i64(e.x) - s.x) / 2) / n;
    const i64 stepY = ((i64(e.y) - s.y) / 2) / n;
    for (i64 k = 1; k < n; ++k)
        boxes.push_back({clampInt(s.x + k * stepX), clampInt(s.y + k * stepY), clampInt(e.x - k * stepX),
                         clampInt(e.y - k * stepY)});
    return boxes;
}

void drawNested(Canvas& canvas, BoxFigure kind, Point s, Point e, int n, int rounding) {
    for (const Rect& r : nestedBoxes(s, e, n)) drawBox(canvas, kind, {r.left, r.top}, {r.right, r.bottom}, rounding);
}

// ---------------------------------------------------------------- stars and polygons

int starStep(int points, bool polygon) {
    if (polygon) return 1;
    switch (points) {
    case 5: return 2;
    case 7: return 3;
    case 9: return 4;
    case 11: return 5;
    default: return 1;
    }
}

std::vector<Point> starVertices(Point s, Point e, int points, bool polygon, double fraction) {
    const int m = std::clamp(points, 3, 12);
    const double step = 2 * std::numbers::pi * starStep(m, polygon) / m;
    std::vector<Point> v;
    v.reserve(std::size_t(m));
    v.push_back(reducevector(s, e, fraction));
    for (int i = 1; i < m; ++i) v.push_back(rotate(s, v.back(), step));
    return v;
}

void drawStars(Canvas& canvas, Point s, Point e, const FigureParams& p) {
    const int n = std::min(p.shapesCount, kMaxShapes);
    for (int k = 1; k <= n; ++k) canvas.polygon(starVertices(s, e, p.starPoints, p.polygon, double(k) / n));
}

// ---------------------------------------------------------------- spiral and spirograph

std::vector<Point> spiralPoints(Point s, Point e, int turns, double factor, int direction) {
    std::vector<Point> pts;
    if (turns <= 0) return pts;
    const double angle = (direction < 0 ? -1.0 : 1.0) * std::numbers::pi / 18;
    const Point64 c{i64(s.x) * 100, i64(s.y) * 100};
    Point64 q{i64(e.x) * 100, i64(e.y) * 100};
    const int steps = std::min(turns, kMaxSpiralTurns) * 36;
    pts.reserve(std::size_t(steps));
    for (int i = 0; i < steps; ++i) {
        q = rotate64(c, q, angle);
        q = reducevector64(c, q, factor);
        pts.push_back({clampInt(q.x / 100), clampInt(q.y / 100)});
    }
    return pts;
}

void drawSpiral(Canvas& canvas, Point s, Point e, const FigureParams& p) {
    for (const Point& q : spiralPoints(s, e, p.spiralTurns, p.spiralFactor, p.spiralDirection)) canvas.lineTo(q.x, q.y);
}

const char* const kSpiroNotSquare = "image must be square for spirographs";
const char* const kSpiroTooLarge = "sum of radi to large";
const char* const kSpiroTooSmall = "both radi must be >5";

SpiroPlan planSpirograph(int width, int height, Point s, Point e, int turns) {
    SpiroPlan plan;
    const int half = width / 2;
    plan.centre = {half, height / 2};
    if (half != height / 2) {
        plan.message = QString::fromLatin1(kSpiroNotSquare);
        return plan;
    }
    plan.r1 = roundHalfEven(std::hypot(double(s.x) - plan.centre.x, double(s.y) - plan.centre.y));
    plan.r2 = roundHalfEven(std::hypot(double(e.x) - s.x, double(e.y) - s.y));
    if (i64(plan.r1) + plan.r2 > half) {
        plan.message = QString::fromLatin1(kSpiroTooLarge);
        return plan;
    }
    if (plan.r1 <= 5 || plan.r2 <= 5) {
        plan.message = QString::fromLatin1(kSpiroTooSmall);
        return plan;
    }
    const double stepA = std::numbers::pi / 18;
    const double stepB = double(plan.r2) / plan.r1 * std::numbers::pi / 18;
    double a = 0, b = 0;
    const int steps = std::clamp(turns, 0, kMaxSpiroTurns) * 36;
    plan.points.reserve(std::size_t(steps) + 1);
    plan.points.push_back({plan.centre.x + plan.r1 + plan.r2, plan.centre.y});
    for (int i = 0; i < steps; ++i) {
        const int x = roundHalfEven(plan.centre.x + plan.r1 * std::cos(b) + plan.r2 * std::cos(a));
        const int y = roundHalfEven(plan.centre.y + plan.r1 * std::sin(b) + plan.r2 * std::sin(a));
        a += stepA;
        b += stepB;
        plan.points.push_back({x, y});
    }
    return plan;
}

QString drawSpirograph(Canvas& canvas, Point s, Point e, int turns) {
    const SpiroPlan plan = planSpirograph(widthOf(canvas), heightOf(canvas), s, e, turns);
    if (!plan.message.isEmpty()) return plan.message;
    canvas.moveTo(plan.points.front().x, plan.points.front().y);
    for (std::size_t i = 1; i < plan.points.size(); ++i) canvas.lineTo(plan.points[i].x, plan.points[i].y);
    return {};
}

// ---------------------------------------------------------------- symmetric and mirrored strokes

SymStroke setsyms(const Canvas& canvas, Point s, int m) {
    SymStroke st;
    st.count = std::clamp(m, 3, 12);
    st.centre = {widthOf(canvas) / 2, heightOf(canvas) / 2};
    const double step = 2 * std::numbers::pi / st.count;
    st.points[0] = s;
    for (int i = 1; i < st.count; ++i) st.points[std::size_t(i)] = rotate(st.centre, st.points[std::size_t(i - 1)], step);
    return st;
}

void drawsyms(Canvas& canvas, SymStroke& stroke, Point q) {
    const int m = std::clamp(stroke.count, 0, 12);
    if (m == 0) return;
    const double step = 2 * std::numbers::pi / m;
    for (int i = 0; i < m; ++i) {
        Point& p = stroke.points[std::size_t(i)];
        canvas.moveTo(p.x, p.y);
        canvas.lineTo(q.x, q.y);
        p = q;
        q = rotate(stroke.centre, q, step);
    }
}

std::optional<MirrorMode> mirrorModeFromName(const QString& mode) {
    if (mode == QLatin1String("vmirror")) return MirrorMode::Vertical;
    if (mode == QLatin1String("hmirror")) return MirrorMode::Horizontal;
    if (mode == QLatin1String("cmirror")) return MirrorMode::Centre;
    if (mode == QLatin1String("mirror4")) return MirrorMode::Four;
    return std::nullopt;
}

void drawMirrorStroke(Canvas& canvas, MirrorMode mode, Point& previous, Point to) {
    const i64 w = widthOf(canvas), h = heightOf(canvas);
    const Point p = previous;
    const bool centre = mode == MirrorMode::Centre || mode == MirrorMode::Four;
    const bool vertical = mode == MirrorMode::Vertical || mode == MirrorMode::Four;
    const bool horizontal = mode == MirrorMode::Horizontal || mode == MirrorMode::Four;
    if (centre) line(canvas, w - p.x, h - p.y, w - to.x, h - to.y);
    if (vertical) line(canvas, w - p.x, p.y, w - to.x, to.y);
    if (horizontal) line(canvas, p.x, h - p.y, to.x, h - to.y);
    line(canvas, p.x, p.y, to.x, to.y);
    previous = to;
}

void slineStep(Canvas& canvas, QString& direction, Point& previous, Point s, Point to, int tolerance) {
    const auto dist = [](int a, int b) { return std::llabs(i64(a) - b); };
    if (direction != QLatin1String("h") && direction != QLatin1String("v"))
        direction = dist(to.x, s.x) < dist(to.y, s.y) ? QStringLiteral("v") : QStringLiteral("h");
    if (direction == QLatin1String("h") && dist(to.y, previous.y) > tolerance) direction = QStringLiteral("v");
    if (direction == QLatin1String("v") && dist(to.x, previous.x) > tolerance) direction = QStringLiteral("h");
    if (direction == QLatin1String("h")) {
        canvas.lineTo(to.x, previous.y);
        previous.x = to.x;
    } else {
        canvas.lineTo(previous.x, to.y);
        previous.y = to.y;
    }
}

// ---------------------------------------------------------------- blocks

std::optional<Rect> blockAt(int width, int height, int blocks, Point p) {
    if (blocks < 1 || width <= 0 || height <= 0) return std::nullopt;
    const i64 cw = width / blocks, ch = height / blocks;
    if (cw == 0 || ch == 0) return std::nullopt;
    const i64 left = cw * (p.x / cw), top = ch * (p.y / ch);
    return Rect{clampInt(left), clampInt(top), clampInt(left + cw), clampInt(top + ch)};
}

void pointtoblock(Canvas& canvas, Point p, int blocks) {
    if (const auto cell = blockAt(widthOf(canvas), heightOf(canvas), blocks, p)) canvas.fillRect(*cell);
}

// ---------------------------------------------------------------- maze, globe, cone

void drawMaze(Canvas& canvas, Point s, Point e) {
    const i64 ly = (i64(e.y) - s.y) / 10;
    const i64 vx = (i64(e.x) - s.x) / 10;
    for (i64 i = 1; i <= 10; ++i) {
        const i64 v = vx * i;
        canvas.moveTo(clampInt(s.x + v), e.y);
        canvas.lineTo(e.x, clampInt(e.y - i * ly));
        canvas.lineTo(clampInt(e.x - v), s.y);
        canvas.lineTo(s.x, clampInt(s.y + i * ly));
        canvas.lineTo(clampInt(s.x + v), e.y);
    }
}

void drawGlobe(Canvas& canvas, Point s, Point e) {
    const i64 ly = (i64(e.y) - s.y) / 20;
    const i64 vx = (i64(e.x) - s.x) / 20;
    for (i64 i = 1; i <= 10; ++i) {
        const i64 v = vx * i;
        canvas.ellipse(clampInt(s.x + v), s.y, clampInt(e.x - v), e.y);
        canvas.ellipse(s.x, clampInt(s.y + i * ly), e.x, clampInt(e.y - i * ly));
    }
}

void drawCone(Canvas& canvas, Point s, Point e) {
    const i64 w = widthOf(canvas);
    const i64 cx = w / 2;
    const i64 u = (w - 2 * i64(s.x)) / 20;
    const i64 v = (w - 2 * i64(e.x)) / 20;
    for (i64 i = 0; i <= 10; ++i) {
        line(canvas, cx + i * u, s.y, cx + i * v, e.y);
        line(canvas, cx - i * u, s.y, cx - i * v, e.y);
    }
    line(canvas, cx + 10 * u, s.y, cx - 10 * u, s.y);
    line(canvas, cx + 10 * v, e.y, cx - 10 * v, e.y);
}

// ---------------------------------------------------------------- skew rectangle, triangle, cube

Point skewRectFourth(Point p1, Point p2, Point p3) { return sub(add(p3, p1), p2); }

void drawSkewRect(Canvas& canvas, const FigurePoints& f) { canvas.polyline({f.p1, f.p2, f.p3, f.p4, f.p1}); }

void drawTriangle(Canvas& canvas, const FigurePoints& f) { canvas.polyline({f.p1, f.p2, f.p3, f.p1}); }

FigurePoints cubeFromFrontFace(Point s, Point e) { return {s, {e.x, s.y}, e, {s.x, e.y}, e}; }

std::vector<std::vector<Point>> cubePaths(const FigurePoints& f) {
    std::vector<std::vector<Point>> paths{{f.p1, f.p2, f.p3, f.p4, f.p1}};
    const Point d = sub(f.p5, f.p3);
    const auto m = [&](Point q) { return add(q, d); };
    if (d.x >= 0 && d.y <= 0) {
        paths.push_back({f.p1, m(f.p1), m(f.p2), m(f.p3), f.p3});
        paths.push_back({f.p2, m(f.p2)});
    } else if (d.x >= 0) {
        paths.push_back({f.p2, m(f.p2), m(f.p3), m(f.p4), f.p4});
        paths.push_back({f.p3, m(f.p3)});
    } else if (d.y > 0) {
        paths.push_back({f.p1, m(f.p1), m(f.p4), m(f.p3), f.p3});
        paths.push_back({f.p4, m(f.p4)});
    } else if (d.y < 0) {
        paths.push_back({f.p2, m(f.p2), m(f.p1), m(f.p4), f.p4});
        paths.push_back({f.p1, m(f.p1)});
    }
    // Straight left (d.y == 0, d.x < 0): the back face hides behind the front one.
    return paths;
}

void drawCube(Canvas& canvas, const FigurePoints& f) {
    for (const auto& path : cubePaths(f)) canvas.polyline(path);
}

// ---------------------------------------------------------------- recorder texts

namespace {

QString numbers(std::initializer_list<int> values) {
    QString t;
    for (int v : values) t += QString::number(v) + QLatin1Char(' ');
    return t;
}

QString posText(Point s) { return QStringLiteral("pos ") + numbers({s.x, s.y}); }

}  // namespace

QString recordCoords(Point p) { return numbers({p.x, p.y}); }

QString recordRectangle(Point s, Point e) {
    return posText(s) + QStringLiteral("rectangle ") + numbers({clampInt(i64(e.x) - s.x), clampInt(i64(e.y) - s.y)});
}

QString recordRoundRect(Point s, Point e, int rounding) {
    return posText(s) + QStringLiteral("roundrect ") +
           numbers({clampInt(i64(e.x) - s.x), clampInt(i64(e.y) - s.y), rounding, rounding});
}

QString recordEllipse(Point s, Point e) {
    return posText(s) + QStringLiteral("ellipse ") + numbers({clampInt(i64(e.x) - s.x), clampInt(i64(e.y) - s.y)});
}

QString recordLine(Point s, Point e) {
    return posText(s) + QStringLiteral("lineto ") + numbers({clampInt(i64(e.x) - s.x), clampInt(i64(e.y) - s.y)});
}

QString recordCurve(const std::array<Point, 4>& p) {
    const Point d1 = sub(p[1], p[0]), d2 = sub(p[2], p[0]), d3 = sub(p[3], p[0]);
    return posText(p[0]) + QStringLiteral("curve ") + numbers({d1.x, d1.y, d2.x, d2.y, d3.x, d3.y});
}

// ---------------------------------------------------------------- rotated text

int GetAngle(Point s, Point e) {
    double dx = double(e.x) - s.x;
    if (dx == 0) dx = 0.001;
    const double dy = double(e.y) - s.y;
    return roundHalfEven(-std::atan2(dy, dx) * 180.0 / std::numbers::pi);
}

std::vector<int> rotatedTextAngles(int first, int n) {
    std::vector<int> angles;
    if (n < 1) return angles;
    const int step = 360 / n;
    for (int k = 0, a = first; k < n; ++k, a += step) angles.push_back(a);
    return angles;
}

}  // namespace pixoral
