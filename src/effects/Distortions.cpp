#include "effects/Distortions.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace pixoral::effects {

bool rotate(Bitmap& bmp, const RotateParams& p) {
    const int W = bmp.width(), H = bmp.height();
    if (W <= 0 || H <= 0 || bmp.pixelFormat() != PixelFormat::pf24bit) return true;
    Bitmap out(W, H, PixelFormat::pf24bit);
    if (out.isEmpty()) return false;
    const double a = p.angle * std::numbers::pi / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const int cx = W / 2, cy = H / 2;
    const Bitmap& src = bmp;  // read without detaching from the undo steps that share it
    for (int y = 0; y < H; ++y) {
        std::uint8_t* dst = out.scanLine(y);
        const double dy = y - cy;
        for (int x = 0; x < W; ++x) {
            const double dx = x - cx;
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

}  // namespace pixoral::effects
