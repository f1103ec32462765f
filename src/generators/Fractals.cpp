#include "generators/Fractals.h"

#include <QDir>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/Parallel.h"

namespace pixoral::generators {

namespace {

// Rows are computed a slice of about this many pixels at a time, so that progress and a stop
// come often enough even at many iterations, while each slice still keeps every core busy.
constexpr long long kSlicePixels = 1 << 18;

constexpr int kFractalFields = 7;      // the old form: the rectangle, the kind and the counts
constexpr int kJuliaFields = 2;        // and the Julia constant after them
const QString kMandel = QStringLiteral("mandel");
const QString kJulia = QStringLiteral("julia");

}  // namespace

int fractalEscape(double zr, double zi, double cr, double ci, int n) {
    int k = 0;
    double s1 = 0.0, s2 = 0.0;
    while (k <= n && s1 + s2 < 4.0) {
        s1 = zr * zr;
        s2 = zi * zi;
        zi = 2.0 * zr * zi + ci;
        zr = s1 - s2 + cr;
        ++k;
    }
    return k - 1;
}

int fractalIndex(int e, int n, int c) {
    if (e >= n || e < 0 || n <= 0) return 0;
    const long long num = static_cast<long long>(e) * c;
    const long long q = num / n, twiceRest = 2 * (num % n);
    return static_cast<int>(twiceRest > n || (twiceRest == n && q % 2 != 0) ? q + 1 : q);
}

FractalResult renderFractal(const FractalSettings& s, int width, int height, Bitmap& out,
                            const FractalProgress& progress) {
    if (!imageSizeAllowed(width, height)) return FractalResult::TooLarge;
    if (s.iterations < 1 || s.colors < 1 || s.colors > 255) return FractalResult::BadInput;
    const double dx = (s.x1 - s.x0) / width;
    const double dy = (s.y1 - s.y0) / height;
    // Non-finite corners or steps would make every pixel the same meaningless value.
    for (double v : {s.x0, s.y0, dx, dy, s.juliaRe, s.juliaIm})
        if (!std::isfinite(v)) return FractalResult::BadInput;

    Bitmap picture(width, height, PixelFormat::pf8bit);
    if (picture.width() != width || picture.height() != height) return FractalResult::NoMemory;
    std::vector<std::uint8_t*> rows(static_cast<std::size_t>(height));
    for (int i = 0; i < height; ++i) rows[i] = picture.scanLine(i);
    // The byte of every escape count, worked out once.
    std::vector<std::uint8_t> byteOf(static_cast<std::size_t>(s.iterations) + 1);
    for (int e = 0; e <= s.iterations; ++e) byteOf[e] = static_cast<std::uint8_t>(fractalIndex(e, s.iterations, s.colors));

    const auto row = [&](int i) {
        const double y = s.y0 + i * dy;
        std::uint8_t* p = rows[i];
        for (int j = 0; j < width; ++j) {
            const double x = s.x0 + j * dx;
            const int e = s.mandel ? fractalEscape(0.0, 0.0, x, y, s.iterations)
                                   : fractalEscape(x, y, s.juliaRe, s.juliaIm, s.iterations);
            p[j] = byteOf[e];
        }
    };
    const int slice = static_cast<int>(std::clamp<long long>(kSlicePixels / width, 1, height));
    for (int first = 0; first < height; first += slice) {
        const int last = std::min(height, first + slice);
        parallel::forRows(
            last - first,
            [&](int a, int b) {
                for (int i = a; i < b; ++i) row(first + i);
            },
            1);
        if (progress && !progress(last, height)) return FractalResult::Stopped;
    }
    out = picture;
    return FractalResult::Done;
}

QString fractalResultMessage(FractalResult r, int width, int height) {
    switch (r) {
        case FractalResult::BadInput: return kErrorInInputValues;
        case FractalResult::TooLarge:
            return QStringLiteral("A fractal of %1 x %2 pixels is larger than the program can hold.")
                .arg(width)
                .arg(height);
        case FractalResult::NoMemory:
            return QStringLiteral("There is not enough memory for a %1 x %2 fractal.").arg(width).arg(height);
        default: return {};
    }
}

FractalFields defaultFractalFields() {
    FractalFields f;
    for (std::size_t k = 0; k < f.edits.size(); ++k) f.edits[k] = QString::fromLatin1(kFractalDefaultEdits[k]);
    return f;
}

std::optional<FractalSettings> fractalSettings(const FractalFields& f) {
    std::array<double, 6> v{};
    // The Julia constant is read only for a Julia set, so a stray text there does not stop a
    // Mandelbrot picture.
    const std::size_t used = f.mandel ? 4 : 6;
    for (std::size_t k = 0; k < used; ++k) {
        bool ok = false;
        v[k] = f.edits[k].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v[k])) return std::nullopt;
    }
    FractalSettings s;
    s.x0 = v[0];
    s.y0 = v[1];
    s.x1 = v[2];
    s.y1 = v[3];
    s.mandel = f.mandel;
    if (!f.mandel) {
        s.juliaRe = v[4];
        s.juliaIm = v[5];
    }
    s.iterations = f.iterations;
    s.colors = f.colors;
    return s;
}

QString fractalPresetsPath(const QString& programFolder) {
    if (programFolder.isEmpty()) return kFractalPresetsFileName;
    return QDir(programFolder).filePath(kFractalPresetsFileName);
}

std::optional<QString> fractalPresetValue(const FractalFields& f) {
    QStringList fields;
    for (std::size_t k = 0; k < 4; ++k) fields << f.edits[k];
    fields << (f.mandel ? kMandel : kJulia) << QString::number(f.iterations) << QString::number(f.colors);
    fields << f.edits[4] << f.edits[5];
    for (const QString& t : fields)
        if (t.contains(QLatin1Char(',')) || t.contains(QLatin1Char('\n')) || t.contains(QLatin1Char('\r')))
            return std::nullopt;
    return fields.join(QLatin1Char(','));
}

bool readFractalPreset(const QString& value, FractalFields& f) {
    const QStringList fields = value.split(QLatin1Char(','));
    const auto count = [&](int k, int& into) {
        bool ok = false;
        const int v = fields.value(k).trimmed().toInt(&ok);
        if (ok) into = std::clamp(v, kFractalCountMin, kFractalCountMax);
        return ok;
    };
    for (int k = 0; k < 4; ++k) {
        if (k >= fields.size()) return false;
        f.edits[k] = fields[k];
    }
    if (fields.size() < 5) return false;
    f.mandel = fields[4] == kMandel;
    if (!count(5, f.iterations) || !count(6, f.colors)) return false;
    if (fields.size() < kFractalFields + kJuliaFields) {
        // The old form: the one Julia set of C = i.
        f.edits[4] = QString::fromLatin1(kFractalDefaultEdits[4]);
        f.edits[5] = QString::fromLatin1(kFractalDefaultEdits[5]);
        return fields.size() == kFractalFields;
    }
    f.edits[4] = fields[7];
    f.edits[5] = fields[8];
    return true;
}

}  // namespace pixoral::generators
