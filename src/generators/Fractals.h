#pragma once
// Quick Fractals: an escape-time picture of the Mandelbrot set or of one Julia set over a
// rectangle of the complex plane, as an 8-bit image whose bytes are the escape counts scaled
// to the number of colours (the colours are those of the halftone palette), and the fractal
// presets of "PixoralFrac.txt".
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "canvas/Bitmap.h"
#include "ui/PresetFile.h"

namespace pixoral::generators {

// The iteration and colour trackbars share one range.
inline constexpr int kFractalCountMin = 16;
inline constexpr int kFractalCountMax = 64;
// The edit texts of "Default": X0, Y0, X1, Y1, then the Julia constant's real and imaginary
// parts.
inline constexpr std::array<const char*, 6> kFractalDefaultEdits{"-2.25", "-1.5", "0.75", "1.5", "0", "1"};
inline const QString kErrorInInputValues = QStringLiteral("Error in input values");

// What the computation reads. The top row is y0 and the left column x0; x1 and y1 lie one
// step beyond the last column and row, so they are never sampled themselves.
struct FractalSettings {
    double x0 = -2.25, y0 = -1.5, x1 = 0.75, y1 = 1.5;
    bool mandel = true;
    // The constant of the Julia set (unused for the Mandelbrot set).
    double juliaRe = 0.0, juliaIm = 1.0;
    int iterations = 16;  // n, at least 1
    int colors = 16;      // c, 1..255 (an index reaches c, which must fit a byte)
};

// The escape count e of z -> z^2 + C from z: the loop runs while k <= n and the squares of the
// previous z sum to less than 4, so e lies in 0..n, and n means the point did not escape.
int fractalEscape(double zr, double zi, double cr, double ci, int n);
// The pixel byte of an escape count: 0 for e = n, else e * c / n rounded to the nearest
// integer with halves to even (computed exactly, in integers).
int fractalIndex(int e, int n, int c);

enum class FractalResult {
    Done,
    Stopped,    // the progress callback asked to stop; the target is untouched
    BadInput,   // a count out of range, or a rectangle whose steps are not finite numbers
    TooLarge,   // beyond the bitmaps the program holds
    NoMemory,
};

// Told after each slice of rows, on the calling thread (rowsDone of rows); false stops.
using FractalProgress = std::function<bool(int rowsDone, int rows)>;

// Computes a width x height picture into `out` (an 8-bit bitmap) and returns Done; on any
// other outcome `out` keeps what it held. Rows are shared out over the cores, a slice at a
// time, with the same bytes whatever the number of cores.
FractalResult renderFractal(const FractalSettings& s, int width, int height, Bitmap& out,
                            const FractalProgress& progress = {});
// The message for an outcome other than Done and Stopped.
QString fractalResultMessage(FractalResult r, int width, int height);

// ---- the window's fields, as the presets store them

// The edit texts as typed (X0, Y0, X1, Y1, Julia real, Julia imaginary), "Mandel" and the two
// trackbars.
struct FractalFields {
    std::array<QString, 6> edits;
    bool mandel = true;
    int iterations = kFractalCountMin;
    int colors = kFractalCountMin;
};
FractalFields defaultFractalFields();
// The numbers of the edits; nothing when one of those in use is not a decimal number.
std::optional<FractalSettings> fractalSettings(const FractalFields& f);

// ---- presets: "name=X0,Y0,X1,Y1,mandel|julia,n,c,Julia real,Julia imaginary"
// The first seven fields are the file's old form, which still loads (the Julia constant is
// then i); the last two carry the constant of the Julia presets.

inline const QString kFractalPresetsFileName = QStringLiteral("PixoralFrac.txt");
inline constexpr PresetFile::Kind kFractalPresetsKind{PresetFile::Order::AsEntered, PresetFile::Duplicates::Refused};
QString fractalPresetsPath(const QString& programFolder);
// Nothing when an edit holds a "," or a line break, which would split the entry wrongly.
std::optional<QString> fractalPresetValue(const FractalFields& f);
// Sets the fields from a preset's value in order, the counts clamped to the trackbars' range.
// False at the first missing field or count that is not an integer; the fields before it
// stay set.
bool readFractalPreset(const QString& value, FractalFields& f);

}  // namespace pixoral::generators
