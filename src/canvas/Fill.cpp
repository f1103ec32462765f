// Brush fills, flood fill and direct pixel access.
#include <algorithm>
#include <cstring>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Raster.h"

namespace pixoral {

void Canvas::fillRect(const Rect& r) {
    // Inverted rectangles fill the same pixels as their normalised form.
    const int x0 = std::min(r.left, r.right), x1 = std::max(r.left, r.right);
    const int y0 = std::max(std::min(r.top, r.bottom), 0), y1 = std::min(std::max(r.top, r.bottom), bmp_.height());
    for (int y = y0; y < y1; ++y) raster::brushSpan(bmp_, y, x0, x1, brush_, PenMode::pmCopy);
}

void Canvas::frameRect(const Rect& r) {
    // A one-pixel frame just inside the rectangle; an inverted rectangle draws nothing.
    if (r.right <= r.left || r.bottom <= r.top) return;
    raster::brushSpan(bmp_, r.top, r.left, r.right, brush_, PenMode::pmCopy);
    if (r.bottom - 1 > r.top) raster::brushSpan(bmp_, r.bottom - 1, r.left, r.right, brush_, PenMode::pmCopy);
    const int y0 = std::max(r.top + 1, 0), y1 = std::min(r.bottom - 1, bmp_.height());
    for (int y = y0; y < y1; ++y) {
        raster::brushSpan(bmp_, y, r.left, r.left + 1, brush_, PenMode::pmCopy);
        if (r.right - 1 > r.left) raster::brushSpan(bmp_, y, r.right - 1, r.right, brush_, PenMode::pmCopy);
    }
}

namespace {

// One bit per pixel: filled already. Painting may turn a pixel back into a fillable colour
// (xor modes, hatches, a brush of the surface colour), so the region is decided on pixels
// not yet visited, which still hold their original colours.
class Visited {
public:
    Visited(int w, int h) : wordsPerRow_((w + 63) / 64), bits_(static_cast<std::size_t>(wordsPerRow_) * h, 0) {}
    bool test(int x, int y) const { return (row(y)[x >> 6] >> (x & 63)) & 1; }
    void setRange(int y, int x0, int x1) {  // [x0, x1]
        std::uint64_t* r = row(y);
        for (int x = x0; x <= x1;) {
            if ((x & 63) == 0 && x + 63 <= x1) {
                r[x >> 6] = ~0ULL;
                x += 64;
            } else {
                r[x >> 6] |= 1ULL << (x & 63);
                ++x;
            }
        }
    }
    const std::uint64_t* row(int y) const { return bits_.data() + static_cast<std::size_t>(y) * wordsPerRow_; }
    std::uint64_t* row(int y) { return bits_.data() + static_cast<std::size_t>(y) * wordsPerRow_; }

private:
    int wordsPerRow_;
    std::vector<std::uint64_t> bits_;
};

}  // namespace

void Canvas::floodFill(int x, int y, TColor color, FillStyle style) {
    Bitmap& b = bmp_;
    const int w = b.width(), h = b.height();
    if (x < 0 || y < 0 || x >= w || y >= h || color == clNone) return;
    if (brush_.isClear() || pen_.mode == PenMode::pmNop) return;
    const PixelFormat f = b.pixelFormat();
    // On indexed formats the colour is compared as the palette entry it would be stored as.
    const std::uint32_t target = raster::representable(f, raster::toNative(color));
    const bool surface = style == FillStyle::fsSurface;

    // Unvisited pixels still hold their original colours, so they are read in place.
    const bool device = f == PixelFormat::Device;
    auto fillable = [&](const std::uint8_t* row, int xx) {
        const std::uint32_t v = device ? (reinterpret_cast<const std::uint32_t*>(row)[xx] & 0xFFFFFFu)
                                       : raster::fetchPixel(row, f, xx);
        return (v == target) == surface;
    };

    if (!fillable(b.scanLine(y), x)) return;

    Visited visited(w, h);
    struct Seed {
        int x, y;
    };
    std::vector<Seed> stack;
    stack.push_back({x, y});
    const PenMode mode = pen_.mode;
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        if (visited.test(s.x, s.y)) continue;
        const std::uint8_t* row = b.scanLine(s.y);
        if (!fillable(row, s.x)) continue;
        int l = s.x, r = s.x;
        while (l > 0 && !visited.test(l - 1, s.y) && fillable(row, l - 1)) --l;
        while (r + 1 < w && !visited.test(r + 1, s.y) && fillable(row, r + 1)) ++r;
        visited.setRange(s.y, l, r);
        raster::brushSpan(b, s.y, l, r + 1, brush_, mode);
        // One seed per run of fillable, unvisited pixels in the rows above and below.
        for (int ny : {s.y - 1, s.y + 1}) {
            if (ny < 0 || ny >= h) continue;
            const std::uint64_t* vrow = visited.row(ny);
            const std::uint8_t* nrow = b.scanLine(ny);
            bool inRun = false;
            for (int xx = l; xx <= r; ++xx) {
                if (vrow[xx >> 6] == ~0ULL && (xx & 63) == 0 && xx + 63 <= r) {  // a filled word
                    inRun = false;
                    xx += 63;
                    continue;
                }
                if ((vrow[xx >> 6] >> (xx & 63)) & 1) {
                    inRun = false;
                    continue;
                }
                if (fillable(nrow, xx)) {
                    if (!inRun) stack.push_back({xx, ny});
                    inRun = true;
                } else {
                    inRun = false;
                }
            }
        }
    }
}

TColor Canvas::pixel(int x, int y) const { return bmp_.pixel(x, y); }

void Canvas::setPixel(int x, int y, TColor c) { bmp_.setPixel(x, y, c); }

}  // namespace pixoral
