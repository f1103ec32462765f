#pragma once
// Quick 3D without its window: the five wireframe figures, the eye and screen settings with
// their spin-edit ranges, the surface z = F(x, y) made from two typed expressions, the
// two-colour fill, and the surface presets of "Surf3DPresets.txt".
//
// The surface is made once per expression change (Show, or picking "Surface") and kept; a
// redraw only walks the kept grid, so dragging a spin edit stays interactive.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "canvas/Bitmap.h"
#include "canvas/Color.h"
#include "ui/PresetFile.h"

namespace pixoral {
class TParser;
}

namespace pixoral::generators {

enum class Surf3DFigure { Cube, Sphere, SphereInCube, Surface, FootballField };
inline constexpr int kSurf3DFigureCount = 5;
// The drop-down's items, in the order of Surf3DFigure.
inline constexpr std::array<const char*, kSurf3DFigureCount> kSurf3DFigureNames = {
    "Cube", "Sphere", "Sphere In Cube", "Surface", "Football Field"};

// The eye (azimuth and elevation in degrees, distance) and the screen (width and height, and
// its distance from the eye), in the units of the figure.
struct Surf3DView {
    int azimuth = 30;
    int elevation = 45;
    int distance = 11;
    int screen = 10;
    int toCamera = 30;
    friend bool operator==(const Surf3DView&, const Surf3DView&) = default;
};

// One spin edit of the window: its control name, caption, hint (empty: none), range and step,
// and the setting.
struct Surf3DSpin {
    const char* name;
    const char* caption;
    const char* hint;
    int lo, hi, step;
    int Surf3DView::*field;
};
inline constexpr std::array<Surf3DSpin, 5> kSurf3DSpins = {{
    {"SpinEditAzimuth", "Azimuth[degrees]", "0 .. 360", 0, 360, 5, &Surf3DView::azimuth},
    {"SpinEditElevation", "Elevation[degrees]", "", -90, 90, 2, &Surf3DView::elevation},
    {"SpinEditDistance", "Distance", "", 2, 1000, 1, &Surf3DView::distance},
    {"SpinEditScreenWidthHeight", "Width / Height", "", 1, 100, 1, &Surf3DView::screen},
    {"SpinEditScreenToCamera", "To Camera", "", 1, 100, 2, &Surf3DView::toCamera},
}};
// Each value brought into its spin edit's range.
Surf3DView clampedView(Surf3DView v);

// The view the drop-down sets for a figure.
Surf3DView figureView(Surf3DFigure f);

// The surface grid: z[i][j] at x = i * 0.1 - 2, y = j * 0.1 - 2 (i, j = 0..40). A point where
// F1 or F2 has no value (a square root of a negative number, a division by zero) is NaN: a
// hole whose lines are not drawn.
inline constexpr int kSurfaceSteps = 40;
using SurfaceGrid = std::array<std::array<double, kSurfaceSteps + 1>, kSurfaceSteps + 1>;
inline double surfaceCoord(int k) { return k * 0.1 - 2; }

inline const QString kErrorInFx = QStringLiteral("Error in f(x)");
inline const QString kErrorInFy = QStringLiteral("Error in f(y)");
inline const QString kDefaultSurFx = QStringLiteral("sqr(x)");
inline const QString kDefaultSurFy = QStringLiteral("sqr(y)");

// Makes z = x y (f - g) / (f + g) from f = F1(x, y) (parserX, variables X and Y) and
// g = F2(y) (parserY, variable Y); z is 0 where f + g is about 0. An expression that does not
// parse (a blank one included) counts as 0 everywhere and its message is returned
// (kErrorInFx, kErrorInFy); the surface is made all the same.
QStringList makeSurface(TParser& parserX, TParser& parserY, const QString& fx, const QString& fy, SurfaceGrid& z);

// What a redraw needs besides the view.
inline constexpr int kSurf3DPictureSide = 394;

struct Surf3DScene {
    Surf3DFigure figure = Surf3DFigure::Cube;
    Surf3DView view;
    bool useColor = false;
    TColor foreground = kStandardColors[11];  // the colour grid's left-click colour
    TColor background = kStandardColors[0];   // and its right-click colour
};

// Redraws the picture: filled with the foreground ("use color") or white, the figure in
// perspective over the whole picture, then the area around the figure that has the
// foreground colour flood-filled from (5, 5) with the background (or white). The surface is
// read only for Surface. False with a message when the view cannot be made (the picture is
// then only filled).
bool drawSurf3D(Bitmap& picture, const Surf3DScene& scene, const SurfaceGrid& z, QString* error = nullptr);

// ---------------------------------------------------------------- presets

// "name=f(x,y)|f(y)" lines in the order of entry; names are unique, letter case ignored.
inline const QString kSurf3DPresetsFileName = QStringLiteral("Surf3DPresets.txt");
inline constexpr PresetFile::Kind kSurf3DPresetsKind{PresetFile::Order::AsEntered, PresetFile::Duplicates::Refused};

QString surf3DPresetsPath(const QString& programFolder);
// The stored value of two expressions.
QString surf3DPresetValue(const QString& fx, const QString& fy);
struct SurfaceExpressions {
    QString fx, fy;
};
// The two expressions of a preset value; nothing for a value without "|".
std::optional<SurfaceExpressions> surf3DPresetExpressions(const QString& value);

}  // namespace pixoral::generators
