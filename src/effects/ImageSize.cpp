#include "effects/ImageSize.h"

#include "canvas/Canvas.h"

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
    Bitmap thumb;
    if (!stretchedCopy(bmp, 30, 30, thumb)) return false;
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

}  // namespace pixoral::effects
