#include "generators/View3D.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "canvas/Bitmap.h"

namespace pixoral::generators {

namespace {

// Pixel coordinates are kept within this bound before they become ints: a point far outside
// the canvas (clipping off, or a window much smaller than the figure) still draws its line in
// the right direction, and the canvas clips it.
constexpr double kPixelLimit = 1 << 24;

bool finite(double v) { return std::isfinite(v); }

TMatrix identity(int size) {
    TMatrix r;
    r.size = size;
    for (int i = 0; i < size; ++i) r.m[i][i] = 1.0;
    return r;
}

}  // namespace

double Defuzz(double v) { return std::fabs(v) >= kFuzz ? v : 0.0; }

double ToRadians(double degrees) { return degrees * std::numbers::pi / 180.0; }

bool TVector::isFinite() const {
    for (int k = 0; k < size - 1; ++k)
        if (!finite(c[k])) return false;
    return true;
}

TVector Vector2D(double x, double y) { return TVector{3, {x, y, 1, 0}}; }

TVector Vector3D(double x, double y, double z) { return TVector{4, {x, y, z, 1}}; }

TVector AddVectors(const TVector& a, const TVector& b) {
    if (a.size != b.size || (a.size != 3 && a.size != 4)) throw EVectorError(kVectorAdditionMismatch);
    TVector r = a;
    for (int k = 0; k < a.size - 1; ++k) r.c[k] = a.c[k] + b.c[k];
    r.c[a.size - 1] = 1.0;
    return r;
}

TVector Transform(const TVector& p, const TMatrix& M) {
    if (p.size != M.size) throw EMatrixError(kTransformMultiplyError);
    TVector r;
    r.size = p.size;
    r.c = {0, 0, 0, 0};
    for (int j = 0; j < p.size - 1; ++j) {
        double sum = 0.0;
        for (int k = 0; k < p.size; ++k) sum += p.c[k] * M.m[k][j];
        r.c[j] = Defuzz(sum);
    }
    r.c[p.size - 1] = 1.0;
    return r;
}

TMatrix Matrix2D(const std::array<double, 9>& v) {
    TMatrix r;
    r.size = 3;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = v[i * 3 + j];
    return r;
}

TMatrix Matrix3D(const std::array<double, 16>& v) {
    TMatrix r;
    r.size = 4;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = v[i * 4 + j];
    return r;
}

TMatrix MultiplyMatrices(const TMatrix& A, const TMatrix& B) {
    if (A.size != B.size || !A.isSet()) throw EMatrixError(kMultiplyMatricesError);
    TMatrix r;
    r.size = A.size;
    for (int i = 0; i < A.size; ++i)
        for (int j = 0; j < A.size; ++j) {
            double sum = 0.0;
            for (int k = 0; k < A.size; ++k) sum += A.m[i][k] * B.m[k][j];
            r.m[i][j] = Defuzz(sum);
        }
    return r;
}

TMatrix RotateMatrix(int dimension, Axis axis, bool negate, double angle) {
    const double a = negate ? -angle : angle;
    const double c = Defuzz(std::cos(a));
    const double s = Defuzz(std::sin(a));
    if (dimension == 2) {
        if (axis != Axis::Z) throw EMatrixError(kInvalid2DRotation);
        return Matrix2D({c, -s, 0, s, c, 0, 0, 0, 1});
    }
    switch (axis) {
        case Axis::X: return Matrix3D({1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1});
        case Axis::Y: return Matrix3D({c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1});
        case Axis::Z: break;
    }
    return Matrix3D({c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

TMatrix ScaleMatrix(const TVector& v) {
    TMatrix r = identity(v.size);
    for (int k = 0; k < v.size - 1; ++k) r.m[k][k] = v.c[k];
    return r;
}

TMatrix TranslateMatrix(const TVector& v) {
    TMatrix r = identity(v.size);
    for (int k = 0; k < v.size - 1; ++k) r.m[v.size - 1][k] = v.c[k];
    return r;
}

TVector ToCartesian(CoordinateSystem system, const TVector& v) {
    if (system == CoordinateSystem::Cartesian) return v;
    const double r = v.c[0], theta = v.c[1];
    if (v.size == 3) return Vector2D(r * std::cos(theta), r * std::sin(theta));
    const double phi = v.c[2];
    return Vector3D(r * std::cos(theta) * std::sin(phi), r * std::sin(theta) * std::sin(phi), r * std::cos(phi));
}

TMatrix ViewTransformMatrix(CoordinateSystem system, double azimuth, double elevation, double distance,
                            double screenWidth, double screenHeight, double screenDistance) {
    for (double v : {azimuth, elevation, distance, screenWidth, screenHeight, screenDistance})
        if (!finite(v)) throw EMatrixError(kViewError);
    if (!(screenWidth > 0) || !(screenHeight > 0) || !(screenDistance > 0)) throw EMatrixError(kViewError);
    const TMatrix scale = ScaleMatrix(
        Vector3D(screenDistance / (screenWidth * 0.5), screenDistance / (screenHeight * 0.5), -1));

    TMatrix V;
    if (system == CoordinateSystem::Spherical) {
        // An eye at the centre looks nowhere.
        if (!(distance > 0)) throw EMatrixError(kViewError);
        const double theta = azimuth, phi = elevation, rho = distance;
        const TVector eye = Vector3D(rho * std::cos(phi) * std::sin(theta), -rho * std::cos(phi) * std::cos(theta),
                                     rho * std::sin(phi));
        V = TranslateMatrix(Vector3D(-eye.c[0], -eye.c[1], -eye.c[2]));
        V = MultiplyMatrices(V, RotateMatrix(3, Axis::X, false, std::numbers::pi / 2));
        V = MultiplyMatrices(V, RotateMatrix(3, Axis::Y, true, -theta));
        V = MultiplyMatrices(V, RotateMatrix(3, Axis::X, true, phi));
    } else {
        const double x = azimuth, y = elevation, z = distance;
        const double flat = std::sqrt(x * x + y * y);
        const double full = std::sqrt(x * x + y * y + z * z);
        // On the z axis the turn about it is undefined (and at the centre there is no view).
        if (!(Defuzz(flat) > 0) || !finite(full)) throw EMatrixError(kViewError);
        V = TranslateMatrix(Vector3D(-x, -y, -z));
        V = MultiplyMatrices(V, RotateMatrix(3, Axis::X, false, std::numbers::pi / 2));
        const double c1 = -y / flat, s1 = x / flat;
        V = MultiplyMatrices(V, Matrix3D({c1, 0, s1, 0, 0, 1, 0, 0, -s1, 0, c1, 0, 0, 0, 0, 1}));
        const double c2 = flat / full, s2 = -z / full;
        V = MultiplyMatrices(V, Matrix3D({1, 0, 0, 0, 0, c2, -s2, 0, 0, s2, c2, 0, 0, 0, 0, 1}));
    }
    V = MultiplyMatrices(V, scale);
    for (const auto& row : V.m)
        for (double e : row)
            if (!finite(e)) throw EMatrixError(kViewError);
    return V;
}

// ---------------------------------------------------------------- TViewPen

TViewPen::TViewPen(Canvas& canvas, ErrorSink onError) : canvas_(canvas), onError_(std::move(onError)) {
    extentX_ = canvas.bitmap().width() - 1;
    extentY_ = canvas.bitmap().height() - 1;
    Viewport(0, 1, 0, 1);
}

void TViewPen::fail(const QString& text) {
    if (onError_) onError_(text);
    throw EGraphicsError(kWindowViewportError);
}

void TViewPen::setScale() {
    sx_ = (right_ - left_) / (xMax_ - xMin_);
    sy_ = (top_ - bottom_) / (yMax_ - yMin_);
    current_.c[0] = xMin_;
    current_.c[1] = yMin_;
    pen_ = {left_, bottom_};
}

namespace {
QString parameterText(const char* what, const char* a, const char* b, const char* c, const char* d,
                      const std::array<double, 4>& v) {
    auto n = [](double x) { return QString::number(x, 'f', 2); };
    return QStringLiteral("%1\n%2 =%3  %4 =%5  \n%6 =%7  %8 =%9")
        .arg(QLatin1String(what), QLatin1String(a), n(v[0]), QLatin1String(b), n(v[1]), QLatin1String(c), n(v[2]),
             QLatin1String(d), n(v[3]));
}
}  // namespace

void TViewPen::Window(double xMin, double xMax, double yMin, double yMax) {
    const bool ok = finite(xMin) && finite(xMax) && finite(yMin) && finite(yMax) && xMax > xMin && yMax > yMin;
    if (!ok) fail(parameterText("Window parameter error(s):", "xMin", "xMax", "yMin", "yMax", {xMin, xMax, yMin, yMax}));
    xMin_ = xMin;
    xMax_ = xMax;
    yMin_ = yMin;
    yMax_ = yMax;
    cx_ = (xMin + xMax) / 2;
    cy_ = (yMin + yMax) / 2;
    hw_ = (xMax - xMin) / 2;
    hh_ = (yMax - yMin) / 2;
    setScale();
}

void TViewPen::Viewport(double left, double right, double bottom, double top) {
    // Written so that NaN fails too.
    const bool ok = left >= 0 && right > left && right <= 1 && bottom >= 0 && top > bottom && top <= 1;
    if (!ok) fail(parameterText("View parameter error(s):", "xMin", "xMax", "yMin", "yMax", {left, right, bottom, top}));
    left_ = static_cast<int>(std::nearbyint(left * extentX_));
    right_ = static_cast<int>(std::nearbyint(right * extentX_));
    bottom_ = static_cast<int>(std::nearbyint(bottom * extentY_));
    top_ = static_cast<int>(std::nearbyint(top * extentY_));
    setScale();
}

void TViewPen::SetTransform(const TMatrix& M) {
    if (M.size == 3) transform2D_ = M;
    else if (M.size == 4) transform3D_ = M;
    else transform2D_ = transform3D_ = TMatrix{};
}

TVector TViewPen::toEye(const TVector& given) {
    TVector v = given;
    if (relative_) {
        // The current point takes the size of the move, so 2-D and 3-D moves can follow each other.
        TVector base = current_;
        base.size = v.size;
        if (v.size == 3) base.c[2] = 1.0;
        else base.c[3] = 1.0;
        v = AddVectors(base, v);
        current_ = v;
    }
    if (!v.isFinite()) return v;
    v = ToCartesian(system_, v);
    const TMatrix& M = v.size == 3 ? transform2D_ : transform3D_;
    return M.isSet() ? Transform(v, M) : v;
}

void TViewPen::project(const TVector& v, double& X, double& Y) const {
    if (v.size == 3) {
        X = v.c[0];
        Y = v.c[1];
        return;
    }
    switch (projection_) {
        case Projection::XY: X = v.c[0]; Y = v.c[1]; return;
        case Projection::XZ: X = v.c[0]; Y = v.c[2]; return;
        case Projection::YZ: X = v.c[1]; Y = v.c[2]; return;
        case Projection::Perspective: break;
    }
    const double z = Defuzz(v.c[2]);
    if (z != 0.0) {
        X = cx_ + hw_ * v.c[0] / z;
        Y = cy_ + hh_ * v.c[1] / z;
    } else {
        X = cx_;
        Y = cy_;
    }
}

Point TViewPen::viewPixel(const TVector& v) const {
    double X = 0, Y = 0;
    project(v, X, Y);
    // Halves round to even (the default rounding mode), as the pictures always have.
    auto px = [](double d) {
        if (std::isnan(d)) return 0;
        return static_cast<int>(std::nearbyint(std::clamp(d, -kPixelLimit, kPixelLimit)));
    };
    return {px((X - xMin_) * sx_) + left_, px((Y - yMin_) * sy_) + bottom_};
}

Point TViewPen::pixelOf(const TVector& v) const {
    const Point p = viewPixel(v);
    return {p.x, extentY_ - p.y};
}

bool TViewPen::insideViewport(Point p) const {
    return p.x >= left_ && p.x <= right_ && p.y >= bottom_ && p.y <= top_;
}

void TViewPen::MoveTo(const TVector& given) {
    const TVector v = toEye(given);
    last_ = v;
    if (!v.isFinite()) return;
    const Point p = viewPixel(v);
    if (!clipping_ || insideViewport(p)) pen_ = p;
}

void TViewPen::LineTo(const TVector& given) {
    const TVector v = toEye(given);
    TVector a = last_, b = v;
    last_ = v;
    if (!a.isFinite() || !b.isFinite() || a.size != b.size) return;
    if (clipping_ && !clip(a, b)) return;
    // The line starts at its (clipped) start. After a finite move or line the pen is there
    // already; after a point that was no point it is still where the last line ended, and a
    // line from there would bridge the gap.
    pen_ = viewPixel(a);
    const Point end = viewPixel(b);
    canvas_.moveTo(pen_.x, extentY_ - pen_.y);
    canvas_.lineTo(end.x, extentY_ - end.y);
    pen_ = end;
}

int TViewPen::outcode(const TVector& v) const {
    int code = 0;
    if (v.size == 4) {
        const double x = v.c[0], y = v.c[1], z = v.c[2];
        if (x < -z) code |= 8;
        if (x > z) code |= 4;
        if (y < -z) code |= 2;
        if (y > z) code |= 1;
    } else {
        const double x = v.c[0], y = v.c[1];
        if (x < xMin_) code |= 8;
        if (x > xMax_) code |= 4;
        if (y < yMin_) code |= 2;
        if (y > yMax_) code |= 1;
    }
    return code;
}

bool TViewPen::clip(TVector& a, TVector& b) const {
    const TVector p0 = a, p1 = b;
    const double dx = p1.c[0] - p0.c[0], dy = p1.c[1] - p0.c[1];
    const double dz = p0.size == 4 ? p1.c[2] - p0.c[2] : 0.0;
    // Each pass puts one end on a boundary and clears that bit; more than eight passes can only
    // come from round-off at a corner, and then too little is visible to draw.
    for (int pass = 0; pass < 8; ++pass) {
        const int ca = outcode(a), cb = outcode(b);
        if ((ca | cb) == 0) return true;
        if (ca & cb) return false;
        const bool moveStart = ca != 0;
        const int code = moveStart ? ca : cb;
        TVector& q = moveStart ? a : b;
        double t = 0.0;
        if (p0.size == 4) {
            const double x0 = p0.c[0], y0 = p0.c[1], z0 = p0.c[2];
            if (code & 8) t = (z0 + x0) / ((x0 - p1.c[0]) - dz);        // x = -z
            else if (code & 4) t = (z0 - x0) / (dx - dz);                // x = z
            else if (code & 2) t = (z0 + y0) / ((y0 - p1.c[1]) - dz);   // y = -z
            else t = (z0 - y0) / (dy - dz);                              // y = z
            if (!finite(t)) return false;
            const double z = z0 + t * dz;
            if (code & 8) q.c = {-z, y0 + t * dy, z, 1};
            else if (code & 4) q.c = {z, y0 + t * dy, z, 1};
            else if (code & 2) q.c = {x0 + t * dx, -z, z, 1};
            else q.c = {x0 + t * dx, z, z, 1};
        } else {
            const double x0 = p0.c[0], y0 = p0.c[1];
            if (code & 8) t = (xMin_ - x0) / dx;
            else if (code & 4) t = (xMax_ - x0) / dx;
            else if (code & 2) t = (yMin_ - y0) / dy;
            else t = (yMax_ - y0) / dy;
            if (!finite(t)) return false;
            if (code & 8) q.c = {xMin_, y0 + t * dy, 1, 0};
            else if (code & 4) q.c = {xMax_, y0 + t * dy, 1, 0};
            else if (code & 2) q.c = {x0 + t * dx, yMin_, 1, 0};
            else q.c = {x0 + t * dx, yMax_, 1, 0};
        }
        if (!q.isFinite()) return false;
    }
    return false;
}

}  // namespace pixoral::generators
