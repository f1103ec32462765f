#include "effects/Distortions.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <cstring>
#include <numbers>
#include <vector>

#include "core/Parallel.h"
#include "core/Round.h"

namespace pixoral::effects {

namespace {

// Every pixel (x, y) of the result takes the source pixel it came from, turned about the
// centre by the angle angleAt(dx, dy) gives; pixels from outside become white. Each result
// row reads only the source, so the rows are shared out over the cores (angleAt must be a
// pure function). A device-format source is read as it stands (its pixels start with the
// same B, G, R bytes as 24-bit ones), which spares a converted copy; the result is 24-bit.
template <typename AngleAt>
bool resample(Bitmap& bmp, AngleAt angleAt) {
    const int W = bmp.width(), H = bmp.height();
    const PixelFormat f = bmp.pixelFormat();
    if (W <= 0 || H <= 0 || (f != PixelFormat::pf24bit && f != PixelFormat::Device)) return true;
    const int bpp = f == PixelFormat::Device ? 4 : 3;
    Bitmap out(W, H, PixelFormat::pf24bit);
    if (out.isEmpty()) return false;
    const int cx = W / 2, cy = H / 2;
    // The source is read without detaching it from the undo steps that share it.
    const auto src = rowTable(std::as_const(bmp));
    const auto dstRows = rowTable(out);
    parallel::forRows(H, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* dst = dstRows[y];
            const double dy = y - cy;
            for (int x = 0; x < W; ++x) {
                const double dx = x - cx;
                const auto [s, c] = angleAt(dx, dy);
                const long sx = cx + roundHalfAway(dx * c - dy * s);
                const long sy = cy + roundHalfAway(dx * s + dy * c);
                std::uint8_t* d = dst + 3 * x;
                if (sx < 0 || sy < 0 || sx >= W || sy >= H) {
                    d[0] = d[1] = d[2] = 255;
                    continue;
                }
                std::memcpy(d, src[static_cast<int>(sy)] + bpp * sx, 3);
            }
        }
    });
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
    const auto angle = [&](long l) {
        const SinCos& sc = table[static_cast<std::size_t>(whirlIndex(type, static_cast<int>(std::min(l, 1000000L))))];
        return std::pair<double, double>{static_cast<double>(sc.sin), static_cast<double>(sc.cos)};
    };
    // The angles of the distance steps looked up once (a pixel is at most W + H from the
    // centre; a very narrow, tall picture looks its far steps up as it goes).
    const long steps = std::min(roundHalfAway((W + bmp.height()) * 180.0 / std::max(W, 1.0)) + 1, 65536L);
    std::vector<std::pair<double, double>> byStep(static_cast<std::size_t>(steps));
    for (long l = 0; l < steps; ++l) byStep[static_cast<std::size_t>(l)] = angle(l);
    const double perStep = 180.0 / W;
    return resample(bmp, [&](double dx, double dy) {
        const long l = roundHalfAway(std::sqrt(dx * dx + dy * dy) * perStep);
        return l < steps ? byStep[static_cast<std::size_t>(l)] : angle(l);
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
    // Where each pixel lands is worked out for a slab of rows at a time over the cores; the
    // pixels are then written in the walking order (bottom up, right to left), so where two
    // land on one spot the later one wins exactly as in a single pass.
    // A landing spot is kept as its byte offset in the result (-1: nowhere), so the writing
    // pass does no division.
    constexpr int kSlab = 64;
    std::vector<std::int64_t> land(static_cast<std::size_t>(W) * kSlab);
    const auto dst = rowTable(out);
    for (int top = std::max(0, H - kSlab), bottom = H; bottom > 0; bottom = top, top = std::max(0, top - kSlab)) {
        parallel::forRows(bottom - top, [&](int r0, int r1) {
            for (int r = r0; r < r1; ++r) {
                const int y = top + r;
                const double dy = y - cy;
                std::int64_t* to = land.data() + static_cast<std::size_t>(r) * W;
                for (int x = 0; x < W; ++x) {
                    const double dx = x - cx;
                    const double e = std::sqrt(dx * dx + dy * dy);
                    to[x] = -1;
                    if (e > R) continue;
                    const double s = wave(e * k, p.sinus);
                    const long tx = x - roundHalfAway(dx * s), ty = y - roundHalfAway(dy * s);
                    if (tx >= 0 && ty >= 0 && tx < W && ty < H) to[x] = static_cast<std::int64_t>(ty) * dst.stride + 3 * tx;
                }
            }
        }, 8);
        for (int y = bottom - 1; y >= top; --y) {
            const std::uint8_t* row = src.scanLine(y);
            const std::int64_t* to = land.data() + static_cast<std::size_t>(y - top) * W;
            for (int x = W - 1; x >= 0; --x)
                if (to[x] >= 0) std::memcpy(dst.top + to[x], row + 3 * x, 3);
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
    const auto target = [&](int d) { return half + roundHalfAway(d * std::fabs(wave(d * k, p.sinus) * p.factor)); };
    if (horizontal) {
        const std::size_t n = static_cast<std::size_t>(src.rowDataBytes());
        for (int y = H - 1; y >= 0; --y) {
            const long ty = target(y - half);
            if (ty >= 0 && ty < H) std::memcpy(out.scanLine(static_cast<int>(ty)), src.scanLine(y), n);
        }
    } else {
        // Every row moves its columns the same way: the targets once, then the rows over
        // the cores (each row is written only from itself, right to left as before).
        std::vector<long> to(static_cast<std::size_t>(W));
        for (int x = 0; x < W; ++x) to[x] = target(x - half);
        const auto srcRows = rowTable(src);
        const auto dstRows = rowTable(out);
        parallel::forRows(H, [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) {
                const std::uint8_t* row = srcRows[y];
                std::uint8_t* dst = dstRows[y];
                for (int x = W - 1; x >= 0; --x)
                    if (to[x] >= 0 && to[x] < W) std::memcpy(dst + 3 * to[x], row + 3 * x, 3);
            }
        });
    }
    bmp = out;
    return true;
}

}  // namespace pixoral::effects
