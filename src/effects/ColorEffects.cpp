#include "effects/ColorEffects.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "canvas/Raster.h"
#include "core/Parallel.h"
#include "effects/EffectParams.h"

namespace pixoral::effects {

namespace {

// False when the conversion could not be made (the bitmap is then unchanged).
bool ensureFormat(Bitmap& bmp, PixelFormat f) {
    if (bmp.pixelFormat() != f) bmp.setPixelFormat(f);
    return bmp.pixelFormat() == f;
}

}  // namespace

void invert(Bitmap& bmp) {
    const bool device = bmp.pixelFormat() == PixelFormat::Device;
    const RowTable rows = rowTable(bmp);
    const auto n = static_cast<std::size_t>(bmp.rowDataBytes());
    parallel::forRows(bmp.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* p = rows[y];
            if (device) {
                // B, G, R inverted; the fourth byte is the store's reserved 0xFF and stays so.
                // Whole pixels as 32-bit words (memcpy keeps it free of alignment assumptions).
                static constexpr std::uint8_t kMask[4] = {0xFF, 0xFF, 0xFF, 0x00};
                std::uint32_t mask;
                std::memcpy(&mask, kMask, 4);
                for (std::size_t i = 0; i + 3 < n; i += 4) {
                    std::uint32_t px;
                    std::memcpy(&px, p + i, 4);
                    px ^= mask;
                    std::memcpy(p + i, &px, 4);
                }
            } else {
                for (std::size_t i = 0; i < n; ++i) p[i] = static_cast<std::uint8_t>(~p[i]);
            }
        }
    });
}

bool grayscale(Bitmap& bmp) {
    if (!ensureFormat(bmp, PixelFormat::pf24bit)) return false;
    // Weights in hundredths, so g = (30 r + 59 g + 11 b + 50) div 100 is exactly the
    // rounded value of 0.3 r + 0.59 g + 0.11 b.
    static const auto tables = [] {
        std::array<std::array<std::uint16_t, 256>, 3> t{};
        for (int v = 0; v < 256; ++v) {
            t[0][v] = static_cast<std::uint16_t>(11 * v);  // blue, byte 0
            t[1][v] = static_cast<std::uint16_t>(59 * v);  // green, byte 1
            t[2][v] = static_cast<std::uint16_t>(30 * v + 50);  // red, byte 2, with the rounding
        }
        return t;
    }();
    const int w = bmp.width();
    const RowTable rows = rowTable(bmp);
    parallel::forRows(bmp.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* p = rows[y];
            for (int x = 0; x < w; ++x, p += 3) {
                const unsigned sum = tables[0][p[0]] + tables[1][p[1]] + tables[2][p[2]];
                const auto g = static_cast<std::uint8_t>(sum / 100);
                p[0] = p[1] = p[2] = g;
            }
        }
    });
    return true;
}

namespace {

// kOrder[how][k]: which old byte the new byte k comes from (bytes B, G, R as 24-bit rows hold them).
constexpr int kOrder[4][3] = {{1, 2, 0}, {1, 0, 2}, {0, 2, 1}, {2, 1, 0}};

}  // namespace

bool shuffleChannels24(Bitmap& bmp, ChannelShuffle how) {
    if (!ensureFormat(bmp, PixelFormat::pf24bit)) return false;
    const int* src = kOrder[static_cast<int>(how)];
    const int s0 = src[0], s1 = src[1], s2 = src[2];
    const int w = bmp.width();
    const RowTable rows = rowTable(bmp);
    parallel::forRows(bmp.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* p = rows[y];
            for (int x = 0; x < w; ++x, p += 3) {
                const std::uint8_t old[3] = {p[0], p[1], p[2]};
                p[0] = old[s0];
                p[1] = old[s1];
                p[2] = old[s2];
            }
        }
    });
    return true;
}

bool shuffleChannels(Bitmap& bmp, ChannelShuffle how) {
    const int w = bmp.width(), h = bmp.height();
    if (bmp.isEmpty()) return ensureFormat(bmp, PixelFormat::pf8bit);
    // One pass from whatever format the picture has: each pixel's bytes moved, then stored as
    // its nearest palette entry, as moving them in 24 bits and converting would give. Into a
    // new store, so running out of memory leaves the picture as it was.
    Bitmap out(w, h, PixelFormat::pf8bit);
    if (out.isEmpty()) return false;
    raster::prepareHalftoneLookupFor(static_cast<long long>(w) * h);
    out.transparent = bmp.transparent;
    out.transparentColor = bmp.transparentColor;
    const int* src = kOrder[static_cast<int>(how)];
    const int s0 = 8 * src[0], s1 = 8 * src[1], s2 = 8 * src[2];
    const PixelFormat f = bmp.pixelFormat();
    const auto from = rowTable(std::as_const(bmp));
    const RowTable to = rowTable(out);
    parallel::forRows(h, [&](int y0, int y1) {
        constexpr int kChunk = 1024;
        std::uint32_t buf[kChunk];
        for (int y = y0; y < y1; ++y)
            for (int x0 = 0; x0 < w; x0 += kChunk) {
                const int n = std::min(kChunk, w - x0);
                raster::fetchRow(from[y], f, x0, n, buf);
                for (int i = 0; i < n; ++i) {
                    const std::uint32_t v = buf[i];
                    buf[i] = ((v >> s0) & 0xFF) | (((v >> s1) & 0xFF) << 8) | (((v >> s2) & 0xFF) << 16);
                }
                raster::storeRow(to[y], PixelFormat::pf8bit, x0, n, buf);
            }
    });
    bmp = out;
    return true;
}

bool convertPixelFormat(Bitmap& bmp, PixelFormat to) { return ensureFormat(bmp, to); }

}  // namespace pixoral::effects
