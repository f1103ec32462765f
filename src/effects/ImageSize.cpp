#include "effects/ImageSize.h"

#include "canvas/Canvas.h"
#include "core/Parallel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace pixoral::effects {

namespace {

// The picture stretched onto a new bitmap of the given size (24 bits a pixel).
bool stretchedCopy(const Bitmap& src, int w, int h, Bitmap& out) {
    out = Bitmap(w, h, PixelFormat::pf24bit);
    if (out.isEmpty()) return false;
    out.canvas().stretchDraw(Rect{0, 0, w, h}, src);
    return true;
}

// The picture resized to w by h (its format kept) with the old picture stretched over it.
bool resample(Bitmap& bmp, int w, int h) {
    const Bitmap old = bmp;
    if (!bmp.setSize(w, h)) return false;
    bmp.canvas().stretchDraw(Rect{0, 0, w, h}, old);
    return true;
}

}  // namespace

bool pixelize(Bitmap& bmp, int n) {
    const int W = bmp.width(), H = bmp.height();
    if (n < 1 || W / n < 1 || H / n < 1) return true;
    Bitmap small;
    if (!stretchedCopy(bmp, W / n, H / n, small)) return false;
    bmp.canvas().stretchDraw(Rect{0, 0, W, H}, small);
    return true;
}

bool texturize(Bitmap& bmp, int step) {
    const int W = bmp.width(), H = bmp.height();
    if (bmp.isEmpty() || step < 1) return true;
    constexpr int kThumb = 30;
    Bitmap thumb;
    if (!stretchedCopy(bmp, kThumb, kThumb, thumb)) return false;
    const PixelFormat f = bmp.pixelFormat();
    const int bpp = f == PixelFormat::Device ? 4 : f == PixelFormat::pf24bit ? 3 : f == PixelFormat::pf8bit ? 1 : 0;
    if (bpp && bmp.canvas().copyMode() == cmSrcCopy) {
        // Copied tiles cover the earlier ones where they overlap, so every pixel ends up with
        // the thumbnail pixel at its place in its own tile (or keeps its colour in the gaps
        // when the step is longer than the thumbnail): a pattern repeating every step
        // pixels, written row by row over the cores. The thumbnail is drawn once in the
        // picture's format, which gives the bytes each copied tile would.
        Bitmap tile(kThumb, kThumb, f);
        tile.canvas().draw(0, 0, thumb);
        const int span = std::min(kThumb, step);
        const auto rows = rowTable(bmp);
        parallel::forRows(H, [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) {
                const int ly = y % step;
                if (ly >= span) continue;
                const std::uint8_t* from = std::as_const(tile).scanLine(ly);
                for (int x = 0; x < W; x += step)
                    std::memcpy(rows[y] + static_cast<std::ptrdiff_t>(x) * bpp, from, static_cast<std::size_t>(std::min(span, W - x)) * bpp);
            }
        });
        return true;
    }
    int y = 0;
    do {
        int x = 0;
        do {
            bmp.canvas().draw(x, y, thumb);
            x += step;
        } while (x < W);
        y += step;
    } while (y < H);
    return true;
}

QString magnifyRefusal(const Bitmap& bmp, int n) {
    const long long w = static_cast<long long>(bmp.width()) * n, h = static_cast<long long>(bmp.height()) * n;
    if (w > 256 || imageSizeAllowed(w, h)) return {};
    return QStringLiteral("The magnified image would be %1 x %2 pixels, more than the program can hold.").arg(w).arg(h);
}

bool magnify(Bitmap& bmp, int n) {
    if (n < 1 || static_cast<long long>(bmp.width()) * n > 256 || !magnifyRefusal(bmp, n).isEmpty()) return true;
    return resample(bmp, bmp.width() * n, bmp.height() * n);
}

bool reduce(Bitmap& bmp, int n) {
    if (n < 1 || static_cast<double>(bmp.width()) / n < 16 || bmp.height() / n < 1) return true;
    return resample(bmp, bmp.width() / n, bmp.height() / n);
}

namespace {

// a + (b - a) k / n rounded half up, in integers: the value lies between a and b, so it is
// never negative, and a quotient of such small integers is never near enough to a half for
// floating point to round it differently.
std::uint8_t blend(std::uint8_t a, std::uint8_t b, int k, int n) {
    const long long twice = 2 * (static_cast<long long>(a) * n + static_cast<long long>(b - a) * k) + n;
    return static_cast<std::uint8_t>(twice / (2LL * n));
}

}  // namespace

void seamless(Bitmap& bmp) {
    if (bmp.pixelFormat() != PixelFormat::pf24bit || bmp.isEmpty()) return;
    const int W = bmp.width(), H = bmp.height();
    const int q = H / 4, p = W / 4;
    const std::size_t n = static_cast<std::size_t>(bmp.rowDataBytes());
    const auto rows = rowTable(bmp);
    std::memcpy(rows[0], rows[H - 1], n);
    // Rows 1 .. q - 1 blend rows 0 and q, which they do not change; then every row blends
    // within itself: both passes share their rows out over the cores.
    if (H > 7) {
        const std::uint8_t* top = rows[0];
        const std::uint8_t* to = rows[q];
        parallel::forRows(q - 1, [&](int e0, int e1) {
            for (int e = e0 + 1; e < e1 + 1; ++e) {
                std::uint8_t* row = rows[e];
                for (std::size_t i = 0; i < n; ++i) row[i] = blend(top[i], to[i], e, q);
            }
        });
    }
    parallel::forRows(H, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* row = rows[y];
            std::uint8_t* last = row + 3 * (W - 1);
            std::memcpy(last, row, 3);
            if (W <= 7) continue;
            const std::uint8_t* to = row + 3 * (W - p);
            for (int g = 1; g < p; ++g)
                for (int k = 0; k < 3; ++k) row[3 * (W - 1 - g) + k] = blend(last[k], to[k], g, p);
        }
    });
}

}  // namespace pixoral::effects
