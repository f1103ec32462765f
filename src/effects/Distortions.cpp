#include "effects/Distortions.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <cstring>
#include <numbers>

namespace pixoral::effects {

namespace {

// Every pixel (x, y) of the result takes the source pixel it came from, turned about the
// centre by the angle angleAt(dx, dy) gives; pixels from outside become white.
template <typename AngleAt>
bool resample(Bitmap& bmp, AngleAt angleAt) {
    const int W = bmp.width(), H = bmp.height();
    if (W <= 0 || H <= 0 || bmp.pixelFormat() != PixelFormat::pf24bit) return true;
    Bitmap out(W, H, PixelFormat::pf24bit);
    if (out.isEmpty()) return false;
    const int cx = W / 2, cy = H / 2;
    const Bitmap& src = bmp;  // read without detaching from the undo steps that share it
    for (int y = 0; y < H; ++y) {
        std::uint8_t* dst = out.scanLine(y);
        const double dy = y - cy;
        for (int x = 0; x < W; ++x) {
            const double dx = x - cx;
            const auto [s, c] = angleAt(dx, dy);
            const long sx = cx + std::lround(dx * c - dy * s);
            const long sy = cy + std::lround(dx * s + dy * c);
            std::uint8_t* d = dst + 3 * x;
            if (sx < 0 || sy < 0 || sx >= W || sy >= H) {
                d[0] = d[1] = d[2] = 255;
                continue;
            }
            std::memcpy(d, src.scanLine(static_cast<int>(sy)) + 3 * sx, 3);
        }
    }
    bmp = out;
    return true;
}

}  // namespace

bool rotate(Bitmap& bmp, const RotateParams& p) {
    const double a = p.angle * std::numbers::pi / 180.0;
    const std::pair<double, double> sc{std::sin(a), std::cos(a)};
    return resample(bmp, [sc](double, double) { return sc; });
}

WhirlTable makeWhirlTable() {
    const long double pi = 3.14159265358979323846264338327950288L;
    WhirlTable t;
    for (int i = 0; i < 181; ++i) {
        const long double a = static_cast<long double>(i - 90) * pi / 180.0L;
        t[i] = {std::sin(a), std::cos(a)};
    }
    return t;
}

int whirlIndex(int type, int l) {
    int f = 0;
    switch (type) {
        case 0: f = 180 - l; break;
        case 1: f = l + 90; break;
        case 2: f = 2 * l + 90; break;
        case 3: f = 180 - 2 * l; break;
        case 4: f = l % 10 + l + 90; break;
        case 5: f = l % 20 + l + 90; break;
        case 6: f = l % 10 + 90; break;
        case 7: f = l % 20 + 90; break;
        case 8: f = l % 90; break;
        case 9: f = l % 45; break;
        case 10: f = l % 25; break;
        default: f = (l / 45) % 2 == 1 ? 45 - l % 45 : l % 45; break;
    }
    return std::clamp(f, 0, 180);
}

bool whirl(Bitmap& bmp, int type, const WhirlTable& table) {
    const double W = bmp.width();
    return resample(bmp, [&](double dx, double dy) {
        // A distance step beyond any picture is kept where the index arithmetic cannot overflow.
        const long l = std::lround(std::min(std::sqrt(dx * dx + dy * dy) * 180.0 / W, 1e6));
        const SinCos& sc = table[static_cast<std::size_t>(whirlIndex(type, static_cast<int>(l)))];
        return std::pair<double, double>{static_cast<double>(sc.sin), static_cast<double>(sc.cos)};
    });
}

namespace {

// The projections write forwards into a white picture, or into a copy of the source when
// the borders are retained.
bool projectionTarget(const Bitmap& src, const ProjectionParams& p, Bitmap& out) {
    out = p.retainBorders ? src : Bitmap(src.width(), src.height(), PixelFormat::pf24bit);
    if (p.retainBorders) out.setPixelFormat(PixelFormat::pf24bit);  // detaches: written below
    return !out.isEmpty();
}

double wave(double a, bool sinus) { return sinus ? std::sin(a) : std::cos(a); }

}  // namespace

bool globe(Bitmap& bmp, const ProjectionParams& p) {
    const int W = bmp.width(), H = bmp.height(), R = W / 2;
    if (R < 1 || H < 1 || bmp.pixelFormat() != PixelFormat::pf24bit) return true;
    Bitmap out;
    if (!projectionTarget(bmp, p, out)) return false;
    const Bitmap& src = bmp;
    const int cx = W / 2, cy = H / 2;
    const double k = std::numbers::pi / 2 / R * p.factor;
    for (int y = H - 1; y >= 0; --y) {
        const std::uint8_t* row = src.scanLine(y);
        const double dy = y - cy;
        for (int x = W - 1; x >= 0; --x) {
            const double dx = x - cx;
            const double e = std::sqrt(dx * dx + dy * dy);
            if (e > R) continue;
            const double s = wave(e * k, p.sinus);
            const long tx = x - std::lround(dx * s), ty = y - std::lround(dy * s);
            if (tx < 0 || ty < 0 || tx >= W || ty >= H) continue;
            std::memcpy(out.scanLine(static_cast<int>(ty)) + 3 * tx, row + 3 * x, 3);
        }
    }
    bmp = out;
    return true;
}

bool cylinder(Bitmap& bmp, bool horizontal, const ProjectionParams& p) {
    const int W = bmp.width(), H = bmp.height();
    const int half = horizontal ? H / 2 : W / 2;
    if (half < 1 || bmp.isEmpty() || bmp.pixelFormat() != PixelFormat::pf24bit) return true;
    Bitmap out;
    if (!projectionTarget(bmp, p, out)) return false;
    const Bitmap& src = bmp;
    const double k = std::numbers::pi / 2 / half;
    const auto target = [&](int d) { return half + std::lround(d * std::fabs(wave(d * k, p.sinus) * p.factor)); };
    if (horizontal) {
        const std::size_t n = static_cast<std::size_t>(src.rowDataBytes());
        for (int y = H - 1; y >= 0; --y) {
            const long ty = target(y - half);
            if (ty >= 0 && ty < H) std::memcpy(out.scanLine(static_cast<int>(ty)), src.scanLine(y), n);
        }
    } else {
        for (int y = 0; y < H; ++y) {
            const std::uint8_t* row = src.scanLine(y);
            std::uint8_t* dst = out.scanLine(y);
            for (int x = W - 1; x >= 0; --x) {
                const long tx = target(x - half);
                if (tx >= 0 && tx < W) std::memcpy(dst + 3 * tx, row + 3 * x, 3);
            }
        }
    }
    bmp = out;
    return true;
}

}  // namespace pixoral::effects
