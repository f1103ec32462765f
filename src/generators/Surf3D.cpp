#include "generators/Surf3D.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "expr/TParser.h"
#include "generators/View3D.h"

namespace pixoral::generators {

namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

constexpr TColor kCubePen = 0x000000FF;
constexpr TColor kParallelPen = 0x00FF0000;
constexpr TColor kMeridianPen = 0x0000FF00;
constexpr TColor kSurfacePen = 0x00FF0000;
constexpr TColor kFieldPen = 0x0000FF00;
constexpr TColor kLetteringPen = 0x00800080;
constexpr TColor kGoalPostPen = 0x00808080;

// The fill starts here, in the corner the figures leave free.
constexpr int kFillX = 5, kFillY = 5;

void polyline(TViewPen& pen, std::initializer_list<TVector> pts) {
    bool first = true;
    for (const TVector& p : pts) {
        if (first) pen.MoveTo(p);
        else pen.LineTo(p);
        first = false;
    }
}

// ---------------------------------------------------------------- cube and sphere

void drawCube(TViewPen& pen) {
    pen.SetPenColor(kCubePen);
    for (double z : {-1.0, 1.0})
        polyline(pen, {Vector3D(-1, -1, z), Vector3D(1, -1, z), Vector3D(1, 1, z), Vector3D(-1, 1, z), Vector3D(-1, -1, z)});
    for (double x : {-1.0, 1.0})
        for (double y : {-1.0, 1.0}) polyline(pen, {Vector3D(x, y, -1), Vector3D(x, y, 1)});
}

// Points are (r, theta, phi) in radians while the pen reads spherical coordinates.
void drawSphere(TViewPen& pen) {
    pen.SetCoordinateSystem(CoordinateSystem::Spherical);
    pen.SetPenColor(kParallelPen);
    for (int k = 1; k <= 9; ++k) {
        const double phi = ToRadians(18.0 * k);
        pen.MoveTo(Vector3D(1, 0, phi));
        for (int s = 1; s <= 40; ++s) pen.LineTo(Vector3D(1, ToRadians(9.0 * s), phi));
    }
    pen.SetPenColor(kMeridianPen);
    for (int m = 1; m <= 25; ++m) {
        const double theta = ToRadians(14.4 * m);
        pen.MoveTo(Vector3D(1, theta, 0));
        for (int s = 1; s <= 20; ++s) pen.LineTo(Vector3D(1, theta, ToRadians(9.0 * s)));
    }
    pen.SetCoordinateSystem(CoordinateSystem::Cartesian);
}

void drawSurface(TViewPen& pen, const SurfaceGrid& z) {
    pen.SetPenColor(kSurfacePen);
    for (int i = 0; i <= kSurfaceSteps; ++i) {
        const double x = surfaceCoord(i);
        pen.MoveTo(Vector3D(x, surfaceCoord(0), z[i][0]));
        for (int j = 1; j <= kSurfaceSteps; ++j) pen.LineTo(Vector3D(x, surfaceCoord(j), z[i][j]));
    }
    for (int j = 0; j <= kSurfaceSteps; ++j) {
        const double y = surfaceCoord(j);
        pen.MoveTo(Vector3D(surfaceCoord(0), y, z[0][j]));
        for (int i = 1; i <= kSurfaceSteps; ++i) pen.LineTo(Vector3D(surfaceCoord(i), y, z[i][j]));
    }
}

// ---------------------------------------------------------------- football field

// World units are feet: x across the field (0..160), y along it (0..360), z up.
void fieldLine(TViewPen& pen, double x0, double y0, double x1, double y1) {
    polyline(pen, {Vector3D(x0, y0, 0), Vector3D(x1, y1, 0)});
}

void drawFieldLines(TViewPen& pen) {
    pen.SetPenColor(kFieldPen);
    fieldLine(pen, 0, 0, 0, 360);
    fieldLine(pen, 160, 0, 160, 360);
    fieldLine(pen, 0, 0, 160, 0);
    for (int y = 30; y <= 330; y += 15) fieldLine(pen, 0, y, 160, y);
    fieldLine(pen, 0, 360, 160, 360);
    for (int y = 45; y <= 315; y += 15)
        for (double x : {45.0, 115.0}) fieldLine(pen, x, y - 1.5, x, y + 1.5);
    for (int y = 33; y <= 327; y += 3) {
        fieldLine(pen, 45, y, 48, y);
        fieldLine(pen, 115, y, 112, y);
    }
    fieldLine(pen, 77, 39, 83, 39);
    fieldLine(pen, 77, 321, 83, 321);
}

// A stroke digit 0..5 with its corner at (cx, cy) and size s (negative: turned half round).
void drawDigit(TViewPen& pen, int d, double cx, double cy, double s) {
    const double m = cx + s / 2, g = cx + s, e = cy + s;
    auto P = [](double x, double y) { return Vector3D(x, y, 0); };
    switch (d) {
        case 0: polyline(pen, {P(cx, cy), P(g, cy), P(g, e), P(cx, e), P(cx, cy)}); break;
        case 1: polyline(pen, {P(cx, cy), P(g, cy)}); break;
        case 2: polyline(pen, {P(cx, cy), P(cx, e), P(m, e), P(m, cy), P(g, cy), P(g, e)}); break;
        case 3:
            polyline(pen, {P(cx, e), P(cx, cy), P(g, cy), P(g, e)});
            polyline(pen, {P(m, cy), P(m, e)});
            break;
        case 4:
            polyline(pen, {P(cx, cy), P(g, cy)});
            polyline(pen, {P(m, cy), P(m, e), P(g, e)});
            break;
        case 5: polyline(pen, {P(cx, e), P(cx, cy), P(m, cy), P(m, e), P(g, e), P(g, cy)}); break;
        default: break;
    }
}

void drawYardNumbers(TViewPen& pen) {
    for (int k = 1; k <= 9; ++k) {
        const double y0 = 60 + 30 * (k - 1);
        const int d = k <= 5 ? k : 10 - k;
        drawDigit(pen, d, 10, y0 + 2, 3);
        drawDigit(pen, 0, 10, y0 - 5, 3);
        drawDigit(pen, d, 150, y0 - 2, -3);
        drawDigit(pen, 0, 150, y0 + 5, -3);
    }
}

// The end-zone word "PIXORAL" as strokes in letter boxes of 1 by 1 (u along the line, v up).
struct LetterStroke {
    int letter;
    double u0, v0, u1, v1;
};
constexpr int kEndZoneLetters = 7;
constexpr LetterStroke kEndZoneWord[] = {
    {0, 0, 0, 0, 1}, {0, 0, 1, 1, 1}, {0, 1, 1, 1, 0.5}, {0, 1, 0.5, 0, 0.5},                      // P
    {1, 0.5, 0, 0.5, 1}, {1, 0.2, 0, 0.8, 0}, {1, 0.2, 1, 0.8, 1},                                 // I
    {2, 0, 0, 1, 1}, {2, 0, 1, 1, 0},                                                               // X
    {3, 0, 0, 1, 0}, {3, 1, 0, 1, 1}, {3, 1, 1, 0, 1}, {3, 0, 1, 0, 0},                             // O
    {4, 0, 0, 0, 1}, {4, 0, 1, 1, 1}, {4, 1, 1, 1, 0.5}, {4, 1, 0.5, 0, 0.5}, {4, 0.4, 0.5, 1, 0},  // R
    {5, 0, 0, 0.5, 1}, {5, 0.5, 1, 1, 0}, {5, 0.25, 0.5, 0.75, 0.5},                               // A
    {6, 0, 1, 0, 0}, {6, 0, 0, 1, 0},                                                               // L
};

// Letters 10 wide and 14 high with gaps of 4, centred across the field between y = 8 and 22;
// the far end zone holds the same word turned half round, to be read from that end.
void drawLettering(TViewPen& pen) {
    constexpr double kWidth = 10, kHeight = 14, kGap = 4;
    constexpr double kLeft = (160 - (kEndZoneLetters * (kWidth + kGap) - kGap)) / 2;
    for (bool far : {false, true}) {
        auto P = [far](double x, double y) { return far ? Vector3D(160 - x, 360 - y, 0) : Vector3D(x, y, 0); };
        for (const LetterStroke& s : kEndZoneWord) {
            const double left = kLeft + s.letter * (kWidth + kGap);
            polyline(pen, {P(left + kWidth * s.u0, 8 + kHeight * s.v0), P(left + kWidth * s.u1, 8 + kHeight * s.v1)});
        }
    }
}

void drawGoalPosts(TViewPen& pen) {
    pen.SetPenColor(kGoalPostPen);
    for (auto [post, line] : {std::pair{-5.0, 0.0}, std::pair{365.0, 360.0}}) {
        polyline(pen, {Vector3D(80, post, 0), Vector3D(80, post, 10), Vector3D(80, line, 10)});
        polyline(pen, {Vector3D(70, line, 10), Vector3D(90, line, 10)});
        for (double x : {70.0, 90.0}) polyline(pen, {Vector3D(x, line, 10), Vector3D(x, line, 28)});
    }
}

void drawFootballField(TViewPen& pen) {
    drawFieldLines(pen);
    pen.SetPenColor(kLetteringPen);
    drawLettering(pen);
    drawYardNumbers(pen);
    drawGoalPosts(pen);
}

// ---------------------------------------------------------------- surface

// False, list empty (so it evaluates to 0), when the text does not parse.
bool parse(TParser& p, const QString& text) {
    try {
        return p.parseExpression(text.toStdString());
    } catch (const EMathParserError&) {
        return false;
    }
}

double evaluate(TParser& p) {
    try {
        return p.value();
    } catch (const EMathParserError&) {
        return kNoValue;  // an integer fault of DIV, MOD or "^": no value here
    }
}

}  // namespace

Surf3DView clampedView(Surf3DView v) {
    for (const Surf3DSpin& s : kSurf3DSpins) v.*s.field = std::clamp(v.*s.field, s.lo, s.hi);
    return v;
}

Surf3DView figureView(Surf3DFigure f) {
    switch (f) {
        case Surf3DFigure::Surface: return {30, 45, 17, 10, 30};
        case Surf3DFigure::FootballField: return {90, 30, 225, 5, 2};
        default: return {30, 45, 11, 10, 30};
    }
}

QStringList makeSurface(TParser& parserX, TParser& parserY, const QString& fx, const QString& fy, SurfaceGrid& z) {
    QStringList errors;
    if (!parse(parserX, fx)) errors << kErrorInFx;
    if (!parse(parserY, fy)) errors << kErrorInFy;
    for (int j = kSurfaceSteps; j >= 0; --j) {
        const double y = surfaceCoord(j);
        parserY.setY(y);
        const double g = evaluate(parserY);
        for (int i = 0; i <= kSurfaceSteps; ++i) {
            const double x = surfaceCoord(i);
            parserX.setX(x);
            parserX.setY(y);
            const double f = evaluate(parserX);
            const double s = f + g;
            double v = 0.0;
            if (!std::isfinite(f) || !std::isfinite(g)) v = kNoValue;
            else if (Defuzz(s) != 0.0) v = x * y * (f - g) / s;
            z[i][j] = std::isfinite(v) ? v : kNoValue;
        }
    }
    return errors;
}

bool drawSurf3D(Bitmap& picture, const Surf3DScene& scene, const SurfaceGrid& z, QString* error) {
    picture.fill(scene.useColor ? scene.foreground : clWhite);
    Canvas& canvas = picture.canvas();
    canvas.pen() = Pen{};
    bool drawn = true;
    QString detail;  // the pen's own account of a window it refused
    try {
        const Surf3DView v = clampedView(scene.view);
        TViewPen pen(canvas, [&detail](const QString& text) { detail = text; });
        const TMatrix V = ViewTransformMatrix(CoordinateSystem::Spherical, ToRadians(v.azimuth), ToRadians(v.elevation),
                                              v.distance, v.screen, v.screen, v.toCamera);
        if (scene.figure == Surf3DFigure::FootballField) {
            // The field's centre at the origin the eye looks at.
            pen.Window(0, 5, 0, 1.5);
            pen.SetTransform(MultiplyMatrices(TranslateMatrix(Vector3D(-80, -180, 0)), V));
        } else {
            pen.Window(0, 1, 0, 1);
            pen.SetTransform(V);
        }
        pen.SetClipping(true);
        switch (scene.figure) {
            case Surf3DFigure::Cube: drawCube(pen); break;
            case Surf3DFigure::Sphere: drawSphere(pen); break;
            case Surf3DFigure::SphereInCube:
                drawCube(pen);
                drawSphere(pen);
                break;
            case Surf3DFigure::Surface: drawSurface(pen, z); break;
            case Surf3DFigure::FootballField: drawFootballField(pen); break;
        }
    } catch (const std::runtime_error& e) {
        if (error) *error = detail.isEmpty() ? QString::fromUtf8(e.what()) : detail;
        drawn = false;
    }
    canvas.brush().setStyle(BrushStyle::bsSolid);
    canvas.brush().setColor(scene.useColor ? scene.background : clWhite);
    canvas.floodFill(kFillX, kFillY, scene.foreground, FillStyle::fsSurface);
    return drawn;
}

// ---------------------------------------------------------------- presets

QString surf3DPresetsPath(const QString& programFolder) {
    if (programFolder.isEmpty()) return kSurf3DPresetsFileName;
    QString dir = programFolder;
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QDir::separator())) dir += QLatin1Char('/');
    return dir + kSurf3DPresetsFileName;
}

QString surf3DPresetValue(const QString& fx, const QString& fy) { return fx + QLatin1Char('|') + fy; }

std::optional<SurfaceExpressions> surf3DPresetExpressions(const QString& value) {
    const int bar = value.indexOf(QLatin1Char('|'));
    if (bar < 0) return std::nullopt;
    return SurfaceExpressions{value.left(bar), value.mid(bar + 1)};
}

}  // namespace pixoral::generators
