#include "effects/FilterEffects.h"

#include <vector>

#include "canvas/Raster.h"
#include "core/Random.h"

namespace pixoral::effects {

QString noMemoryFor(const Bitmap& b) {
    return QStringLiteral("There is not enough memory for this effect on a %1 x %2 image.").arg(b.width()).arg(b.height());
}

namespace {

// Bytes per pixel of the byte-aligned formats, 0 for the packed 1- and 4-bit ones.
int wholeBytesPerPixel(PixelFormat f) {
    switch (f) {
    case PixelFormat::Device: return 4;
    case PixelFormat::pf24bit: return 3;
    case PixelFormat::pf8bit: return 1;
    default: return 0;
    }
}

std::vector<std::uint8_t*> rowPointers(Bitmap& bmp) {
    std::vector<std::uint8_t*> rows(static_cast<std::size_t>(bmp.height()));
    for (int y = 0; y < bmp.height(); ++y) rows[static_cast<std::size_t>(y)] = bmp.scanLine(y);
    return rows;
}

}  // namespace

void spray(Bitmap& bmp, int radius) {
    const int w = bmp.width();
    const int h = bmp.height();
    if (w <= 0 || h <= 0 || radius <= 0) return;
    const int bpp = wholeBytesPerPixel(bmp.pixelFormat());
    const auto rows = bpp ? rowPointers(bmp) : std::vector<std::uint8_t*>{};
    // Pixels read what earlier ones wrote, so the walk keeps its order; each column draws
    // from its own cheap stream of one key from the seeded generator.
    const std::uint64_t key = random::streamKey();
    for (int x = 0; x < w; ++x) {
        random::Stream rnd(key, static_cast<std::uint64_t>(x));
        for (int y = 0; y < h; ++y) {
            const int b = rnd.below(static_cast<std::uint32_t>(radius));
            const int c = rnd.below(static_cast<std::uint32_t>(2 * b));
            const int d = rnd.below(static_cast<std::uint32_t>(2 * b));
            const int sx = x + b - c;
            const int sy = y + b - d;
            if (sx < 0 || sx >= w || sy < 0 || sy >= h) continue;
            if (bpp) {
                const std::uint8_t* s = rows[static_cast<std::size_t>(sy)] + sx * bpp;
                std::uint8_t* t = rows[static_cast<std::size_t>(y)] + x * bpp;
                for (int k = 0; k < bpp; ++k) t[k] = s[k];
            } else {
                bmp.setPixel(x, y, bmp.pixel(sx, sy));
            }
        }
    }
}

void antiAlias(Bitmap& bmp) {
    const int w = bmp.width();
    const int h = bmp.height();
    if (w < 3 || h < 3) return;
    const PixelFormat f = bmp.pixelFormat();
    if (f == PixelFormat::pf24bit || f == PixelFormat::Device) {
        // Colour components are the B, G, R bytes themselves, so average them directly.
        const int bpp = f == PixelFormat::Device ? 4 : 3;
        const auto rows = rowPointers(bmp);
        for (int y = 1; y < h - 1; ++y) {
            const std::uint8_t* up = rows[static_cast<std::size_t>(y - 1)];
            const std::uint8_t* dn = rows[static_cast<std::size_t>(y + 1)];
            std::uint8_t* m = rows[static_cast<std::size_t>(y)];
            for (int x = 1; x < w - 1; ++x) {
                const int c = x * bpp;
                for (int k = 0; k < 3; ++k)
                    m[c + k] = static_cast<std::uint8_t>((up[c + k] + m[c + bpp + k] + dn[c + k] + m[c - bpp + k]) >> 2);
            }
        }
        return;
    }
    // Palette formats: a row at a time in native colours. The row above is read back as
    // written, and the left neighbour as the colour the format stored for it, exactly as
    // reading each pixel after writing the one before.
    std::vector<std::uint32_t> up(static_cast<std::size_t>(w)), mid(up.size()), dn(up.size());
    const auto rows = rowPointers(bmp);
    const auto sum = [](std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d, int shift) {
        return (((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + ((c >> shift) & 0xFF) + ((d >> shift) & 0xFF)) >> 2;
    };
    for (int y = 1; y < h - 1; ++y) {
        raster::fetchRow(rows[static_cast<std::size_t>(y - 1)], f, 0, w, up.data());
        raster::fetchRow(rows[static_cast<std::size_t>(y)], f, 0, w, mid.data());
        raster::fetchRow(rows[static_cast<std::size_t>(y + 1)], f, 0, w, dn.data());
        for (int x = 1; x < w - 1; ++x) {
            const std::uint32_t v = (sum(up[x], mid[x + 1], dn[x], mid[x - 1], 16) << 16) |
                                    (sum(up[x], mid[x + 1], dn[x], mid[x - 1], 8) << 8) | sum(up[x], mid[x + 1], dn[x], mid[x - 1], 0);
            mid[x] = raster::representable(f, v);
        }
        raster::storeRow(rows[static_cast<std::size_t>(y)], f, 1, w - 2, mid.data() + 1);
    }
}

bool trace(Bitmap& bmp, const TraceSettings& settings) {
    if (bmp.pixelFormat() != PixelFormat::pf8bit) bmp.setPixelFormat(PixelFormat::pf8bit);
    if (bmp.pixelFormat() != PixelFormat::pf8bit) return false;
    const int w = bmp.width();
    const int h = bmp.height();
    if (w <= 0 || h <= 0) return true;
    const auto mark = static_cast<std::uint8_t>(kColorByteRange.clamp(settings.colorByte));
    const int passes = kTraceIntensityRange.clamp(settings.intensity);
    const auto rows = rowPointers(bmp);
    bool found = false;
    std::uint8_t ref = 0;
    // The first boundary marks p and remembers q's colour; later ones mark whichever side
    // is not of that colour, so a trace keeps to one side of each edge.
    auto boundary = [&](std::uint8_t& p, std::uint8_t& q) {
        if (p == q) return;
        if (!found) {
            ref = q;
            p = mark;
            found = true;
        } else if (p == ref) {
            q = mark;
        } else {
            p = mark;
        }
    };
    for (int pass = 1; pass <= passes; ++pass) {
        for (int r = 0; r <= h - 2; ++r) {
            std::uint8_t* row = rows[static_cast<std::size_t>(r)];
            std::uint8_t* next = rows[static_cast<std::size_t>(r + 1)];
            for (int k = 0; k <= w - 3; ++k) {
                boundary(row[k], row[k + 1]);
                boundary(row[k], next[k]);
            }
        }
        if (pass < 2) continue;
        for (int r = h - 1; r >= 1; --r) {
            std::uint8_t* row = rows[static_cast<std::size_t>(r)];
            std::uint8_t* prev = rows[static_cast<std::size_t>(r - 1)];
            for (int k = w - 1; k >= 2; --k) {
                boundary(row[k], row[k - 1]);
                boundary(row[k], prev[k]);
            }
        }
    }
    return true;
}

void contourAccent(Bitmap& bmp) {
    const int h = bmp.height();
    if (h < 3) return;
    // In the device format every fourth byte is the store's reserved one: it is read like
    // the others but never written, so the image stays a valid opaque picture.
    const bool device = bmp.pixelFormat() == PixelFormat::Device;
    auto writable = [device](int i) { return !device || (i & 3) != 3; };
    const auto rows = rowPointers(bmp);
    const int n = static_cast<int>(rowSpan(bmp, 0).size());
    for (int y = 1; y <= h - 2; ++y) {
        std::uint8_t* u = rows[static_cast<std::size_t>(y - 1)];
        std::uint8_t* m = rows[static_cast<std::size_t>(y)];
        const std::uint8_t* d = rows[static_cast<std::size_t>(y + 1)];
        for (int i = 1; i <= n - 2; ++i) {
            if (u[i] + m[i - 1] + m[i + 1] + d[i] > m[i]) {
                if (writable(i)) m[i] = static_cast<std::uint8_t>(~d[i + 1]);
                if (writable(i - 1)) u[i - 1] = static_cast<std::uint8_t>(u[i + 1] ^ d[i - 1]);
            }
        }
    }
}

}  // namespace pixoral::effects
