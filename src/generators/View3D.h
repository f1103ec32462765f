#pragma once
// The 3-D viewing library Quick 3D draws with: homogeneous 2-D and 3-D vectors and matrices,
// the viewing transform of an eye given in spherical (or Cartesian) coordinates, and TViewPen,
// which moves and draws in world coordinates on a canvas through a transform, clipping, a
// projection, a window and a viewport.
//
// Conventions. Points are row vectors: p is transformed as p x M, so in A x B the transform A
// is applied first. A 2-D vector is (x, y, 1) of size 3, a 3-D one (x, y, z, 1) of size 4; the
// last component is 1 after every operation. Every entry of a product, every transformed
// component and every sine and cosine of a rotation is defuzzed, so a quarter turn gives
// exact zeros rather than 6e-17 and pictures do not shift by a pixel from round-off.
//
// Failures. An operation on mismatched sizes throws EVectorError or EMatrixError and produces
// nothing, and so does a view that cannot be made (EMatrixError); a bad window or viewport
// throws EGraphicsError after telling the pen's error sink the values it refused, the text a
// message box shows. Non-finite numbers never reach the
// canvas: a point that is not finite, before or after its transform, is no point at all, and
// a line to or from it is not drawn.
#include <QString>
#include <array>
#include <functional>
#include <stdexcept>

#include "canvas/Canvas.h"
#include "canvas/Color.h"
#include "canvas/Geometry.h"

namespace pixoral::generators {

inline constexpr double kFuzz = 1.0e-6;
// v when |v| >= kFuzz, else 0.
double Defuzz(double v);
double ToRadians(double degrees);

class EVectorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EMatrixError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EGraphicsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline const char* const kVectorAdditionMismatch = "Vector Addition Mismatch";
inline const char* const kTransformMultiplyError = "Transform multiply error";
inline const char* const kMultiplyMatricesError = "MultiplyMatrices error";
inline const char* const kInvalid2DRotation = "Invalid 2D rotation matrix.  Specify axisZ";
inline const char* const kWindowViewportError = "Window/Viewport Error";
// A view with no direction or no screen: the eye at the point it looks at, a screen of no
// size, or numbers too large to be a view.
inline const char* const kViewError = "The view cannot be made: the eye must be away from the centre, "
                                      "and the screen size and distance above 0";

struct TVector {
    int size = 4;  // 3: (x, y, 1); 4: (x, y, z, 1)
    std::array<double, 4> c{0, 0, 0, 1};

    double x() const { return c[0]; }
    double y() const { return c[1]; }
    double z() const { return size == 4 ? c[2] : 0.0; }
    bool isFinite() const;
};

struct TMatrix {
    int size = 1;  // 3 or 4; 1: not set
    std::array<std::array<double, 4>, 4> m{};

    bool isSet() const { return size == 3 || size == 4; }
};

TVector Vector2D(double x, double y);
TVector Vector3D(double x, double y, double z);
TVector AddVectors(const TVector& a, const TVector& b);
TVector Transform(const TVector& p, const TMatrix& M);

TMatrix Matrix2D(const std::array<double, 9>& rowMajor);
TMatrix Matrix3D(const std::array<double, 16>& rowMajor);
TMatrix MultiplyMatrices(const TMatrix& A, const TMatrix& B);
enum class Axis { X, Y, Z };
// dimension 2 or 3; with negate the angle turns the other way.
TMatrix RotateMatrix(int dimension, Axis axis, bool negate, double angle);
TMatrix ScaleMatrix(const TVector& v);
TMatrix TranslateMatrix(const TVector& v);

enum class CoordinateSystem { Cartesian = 0, Spherical = 1 };  // Spherical: polar for 2-D points
// 3-D spherical (r, theta, phi) -> (r cos theta sin phi, r sin theta sin phi, r cos phi);
// 2-D polar (r, theta) -> (r cos theta, r sin theta); Cartesian points unchanged.
TVector ToCartesian(CoordinateSystem system, const TVector& v);

// The transform from world to eye coordinates, eye looking at the origin along +z, world z
// upward on the screen, scaled so the screen's half size at its distance covers -1..1.
// Spherical: azimuth and elevation in radians, distance the eye's distance from the origin.
// Cartesian: (azimuth, elevation, distance) is the eye point itself; it must not lie on the
// z axis. Throws EMatrixError(kViewError) for a degenerate or non-finite view.
TMatrix ViewTransformMatrix(CoordinateSystem system, double azimuth, double elevation, double distance,
                            double screenWidth, double screenHeight, double screenDistance);

enum class Projection { XY = 0, XZ = 1, YZ = 2, Perspective = 3 };

class TViewPen {
public:
    // Told the text of every window or viewport error before the EGraphicsError is thrown.
    using ErrorSink = std::function<void(const QString&)>;

    // Takes the canvas's extent (width - 1, height - 1), sets the initial state and the full
    // viewport. The canvas must outlive the pen.
    explicit TViewPen(Canvas& canvas, ErrorSink onError = {});

    // Requires xMax > xMin and yMax > yMin, all finite.
    void Window(double xMin, double xMax, double yMin, double yMax);
    // Fractions of the canvas extent: 0 <= left < right <= 1, 0 <= bottom < top <= 1.
    void Viewport(double left, double right, double bottom, double top);
    // Stored as the 2-D or the 3-D transform by its size; a matrix that is not set clears both.
    void SetTransform(const TMatrix& M);
    void SetProjection(Projection p) { projection_ = p; }
    void SetClipping(bool on) { clipping_ = on; }
    void SetRelative(bool on) { relative_ = on; }
    void SetCoordinateSystem(CoordinateSystem s) { system_ = s; }
    void SetPenColor(TColor c) { canvas_.pen().color = c; }

    void MoveTo(const TVector& v);
    void LineTo(const TVector& v);

    // The pixel (canvas column and row) a transformed point lands on.
    Point pixelOf(const TVector& transformed) const;
    // Column and row of the last MoveTo or LineTo, rows counted from the bottom.
    Point penPixel() const { return pen_; }
    const TVector& lastPoint() const { return last_; }

private:
    // Relative moves, coordinate system and transform applied.
    TVector toEye(const TVector& v);
    // The (projected) 2-D point, window coordinates.
    void project(const TVector& v, double& X, double& Y) const;
    // Column and row from the bottom, kept within a range the canvas can take.
    Point viewPixel(const TVector& transformed) const;
    bool insideViewport(Point p) const;
    // Cohen-Sutherland clipping of a to b; false when nothing is visible.
    bool clip(TVector& a, TVector& b) const;
    int outcode(const TVector& v) const;
    void fail(const QString& text);
    void setScale();

    Canvas& canvas_;
    ErrorSink onError_;
    int extentX_ = 0, extentY_ = 0;  // W' and H'
    double xMin_ = 0, xMax_ = 1, yMin_ = 0, yMax_ = 1;
    double cx_ = 0.5, cy_ = 0.5, hw_ = 0.5, hh_ = 0.5;
    int left_ = 0, right_ = 0, bottom_ = 0, top_ = 0;
    double sx_ = 0, sy_ = 0;
    TMatrix transform2D_, transform3D_;
    Projection projection_ = Projection::Perspective;
    bool clipping_ = true;
    bool relative_ = false;
    CoordinateSystem system_ = CoordinateSystem::Cartesian;
    TVector current_ = Vector3D(0, 0, 0);
    TVector last_ = Vector3D(0, 0, 0);
    Point pen_;
};

}  // namespace pixoral::generators
