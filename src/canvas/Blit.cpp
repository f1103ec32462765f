// Block transfers: copyRect, draw, stretchDraw and brushCopy all end in one routine that
// maps destination pixels to source pixels (nearest sample, mirrored when one rectangle is
// inverted) and combines pattern, source and destination through a ternary raster operation.
#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Raster.h"
#include "core/Parallel.h"

namespace pixoral {

namespace {

constexpr int kChunk = 1024;
// Blits of at least this many pixels between two bitmaps share their rows out over the
// cores (each destination row is written from its own source row only); smaller ones, the
// stamps and rubber bands of the tools, are not worth a thread.
constexpr long long kParallelPixels = 1 << 16;

constexpr bool usesPattern(std::uint8_t t) { return ((t >> 4) & 0x0F) != (t & 0x0F); }
constexpr bool usesSource(std::uint8_t t) { return ((t >> 2) & 0x33) != (t & 0x33); }

// The operation of table T, written out for the common codes and as a sum of its minterms
// otherwise (T is a constant, so the compiler folds the unused terms away).
template <std::uint8_t T>
inline std::uint32_t rop(std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    if constexpr (T == 0x00) return 0;
    else if constexpr (T == 0xFF) return 0xFFFFFFFFu;
    else if constexpr (T == 0xCC) return s;
    else if constexpr (T == 0xAA) return d;
    else if constexpr (T == 0xF0) return p;
    else if constexpr (T == 0x66) return s ^ d;
    else if constexpr (T == 0x5A) return p ^ d;
    else if constexpr (T == 0x88) return s & d;
    else if constexpr (T == 0xEE) return s | d;
    else if constexpr (T == 0x33) return ~s;
    else if constexpr (T == 0x55) return ~d;
    else if constexpr (T == 0xBB) return ~s | d;
    else if constexpr (T == 0x44) return s & ~d;
    else if constexpr (T == 0x11) return ~(s | d);
    else if constexpr (T == 0xC0) return p & s;
    else if constexpr (T == 0xFB) return p | ~s | d;
    else {
        std::uint32_t r = 0;
        if constexpr ((T & 0x01) != 0) r |= ~p & ~s & ~d;
        if constexpr ((T & 0x02) != 0) r |= ~p & ~s & d;
        if constexpr ((T & 0x04) != 0) r |= ~p & s & ~d;
        if constexpr ((T & 0x08) != 0) r |= ~p & s & d;
        if constexpr ((T & 0x10) != 0) r |= p & ~s & ~d;
        if constexpr ((T & 0x20) != 0) r |= p & ~s & d;
        if constexpr ((T & 0x40) != 0) r |= p & s & ~d;
        if constexpr ((T & 0x80) != 0) r |= p & s & d;
        return r;
    }
}

// Native values in, native values out.
using RowFn = void (*)(const std::uint32_t* p, const std::uint32_t* s, const std::uint32_t* d, std::uint32_t* r, int n);
// Device words in place with one pattern colour.
using DevFn = void (*)(std::uint32_t p, const std::uint32_t* s, std::uint32_t* d, int n);

template <std::uint8_t T>
void rowOp(const std::uint32_t* p, const std::uint32_t* s, const std::uint32_t* d, std::uint32_t* r, int n) {
    for (int i = 0; i < n; ++i) r[i] = rop<T>(p[i], s[i], d[i]) & 0xFFFFFFu;
}

template <std::uint8_t T>
void devOp(std::uint32_t p, const std::uint32_t* s, std::uint32_t* d, int n) {
    for (int i = 0; i < n; ++i) d[i] = 0xFF000000u | rop<T>(p, s[i], d[i]);
}

template <std::size_t... I>
constexpr std::array<RowFn, 256> makeRowOps(std::index_sequence<I...>) {
    return {&rowOp<static_cast<std::uint8_t>(I)>...};
}
template <std::size_t... I>
constexpr std::array<DevFn, 256> makeDevOps(std::index_sequence<I...>) {
    return {&devOp<static_cast<std::uint8_t>(I)>...};
}
constexpr auto kRowOps = makeRowOps(std::make_index_sequence<256>{});
constexpr auto kDevOps = makeDevOps(std::make_index_sequence<256>{});

// 128-bit: coordinates span the whole int range, so the products need more than 64 bits.
inline long long floorDiv(__int128 a, __int128 b) {
    __int128 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return static_cast<long long>(q);
}

// Destination pixels [lo, hi) of the span from dA towards dB, clipped to [0, dstSize), and
// for each one the source pixel it samples (-1 outside the source). A span covers |dB - dA|
// pixels starting at its first coordinate: dA, dA + 1, ... or, running backwards, dA, dA - 1,
// ... (so a mirrored span ends one pixel further left than the rectangle's edges say).
struct Axis {
    int lo = 0;
    int hi = 0;
    std::vector<int> map;
    bool contiguous = false;  // map[i] == map[0] + i for every i, all inside the source
};

// Step k of n destination steps samples source step floor(((2k + 1) m - 1) / 2n) of m when
// enlarging (the source pixel under the centre, the lower one on a tie). When reducing,
// source step j lands on destination step floor(((2j + 1) n - 1) / 2m), and of the steps
// landing on one pixel a row keeps the last and a column the first (keepLast false).
bool mapAxis(int dA, int dB, int sA, int sB, int dstSize, int srcSize, bool keepLast, Axis& ax) {
    if (dA == dB || sA == sB) return false;
    const long long dlen = static_cast<long long>(dB) - dA, slen = static_cast<long long>(sB) - sA;
    const long long n = dlen < 0 ? -dlen : dlen, m = slen < 0 ? -slen : slen;
    const long long dFirst = dlen < 0 ? dA - n + 1 : dA;
    ax.lo = static_cast<int>(std::max<long long>(dFirst, 0));
    ax.hi = static_cast<int>(std::min<long long>(dFirst + n, dstSize));
    if (ax.lo >= ax.hi) return false;
    ax.map.resize(static_cast<std::size_t>(ax.hi - ax.lo));
    ax.contiguous = true;
    const __int128 N = n, M = m;
    for (int d = ax.lo; d < ax.hi; ++d) {
        const __int128 k = dlen < 0 ? static_cast<long long>(dA) - d : static_cast<long long>(d) - dA;
        long long step;
        if (n == m) {
            step = static_cast<long long>(k);  // the same size: pixel for pixel
        } else if (n >= m) {
            step = floorDiv((2 * k + 1) * M - 1, 2 * N);
        } else if (keepLast) {
            step = std::min<long long>(floorDiv(2 * M * (k + 1) - N, 2 * N), m - 1);
        } else {
            step = std::max<long long>(-floorDiv(-(2 * M * k + 1 - N), 2 * N), 0);
        }
        const long long s = slen < 0 ? sA - step : sA + step;
        const int v = (s >= 0 && s < srcSize) ? static_cast<int>(s) : -1;
        ax.map[static_cast<std::size_t>(d - ax.lo)] = v;
        if (v < 0 || v != ax.map[0] + (d - ax.lo)) ax.contiguous = false;
    }
    return true;
}

struct BlitOptions {
    std::uint8_t table = 0xCC;
    bool transparent = false;
    std::uint32_t transparentColor = 0;  // native
    bool brushCopy = false;              // source pixels of replaceColor become the brush
    std::uint32_t replaceColor = 0;      // native
};

void blit(Bitmap& dst, const Brush& brush, const Rect& d, const Bitmap& src, const Rect& s, const BlitOptions& o) {
    if (dst.isEmpty()) return;
    const bool needSrc = usesSource(o.table) || o.brushCopy;
    const bool needPat = usesPattern(o.table) || o.brushCopy;
    if (needSrc && src.isEmpty()) return;
    Axis ax, ay;
    const int sw = needSrc ? src.width() : 1 << 30, sh = needSrc ? src.height() : 1 << 30;
    if (!mapAxis(d.left, d.right, s.left, s.right, dst.width(), sw, true, ax)) return;
    if (!mapAxis(d.top, d.bottom, s.top, s.bottom, dst.height(), sh, false, ay)) return;
    const bool same = &src == &dst;
    const PixelFormat df = dst.pixelFormat(), sf = src.pixelFormat();
    const int n = ax.hi - ax.lo;

    // A brush that paints one colour everywhere is a constant pattern.
    const bool patConst = brush.isSolid() && brush.color() != clNone;
    const std::uint32_t patColor = patConst ? raster::toNative(brush.color()) : 0;

    // Device to device, constant or unused pattern, source inside its bitmap: whole rows at
    // a time (stretched rows are gathered first).
    const bool sourceInside = !needSrc || (std::find(ax.map.begin(), ax.map.end(), -1) == ax.map.end() &&
                                           std::find(ay.map.begin(), ay.map.end(), -1) == ay.map.end());
    if (df == PixelFormat::Device && (!needSrc || sf == PixelFormat::Device) && !o.transparent && !o.brushCopy &&
        (!needPat || patConst) && sourceInside && (!same || !needSrc || (ax.contiguous && ay.contiguous))) {
        const int sx0 = needSrc ? ax.map[0] : 0;
        const int rows = ay.hi - ay.lo;
        // Overlapping copies within one bitmap read each source row before it is written.
        const bool bottomUp = same && needSrc && ay.map[0] < ay.lo;
        const bool gather = needSrc && !ax.contiguous;
        const DevFn fn = kDevOps[o.table];
        std::uint8_t* const dtop = dst.scanLine(0);
        const std::ptrdiff_t dstride = dst.bytesPerLine();
        const auto band = [&](int k0, int k1) {
            std::vector<std::uint32_t> tmp((same || gather) && needSrc ? static_cast<std::size_t>(n) : 0);
            for (int k = k0; k < k1; ++k) {
                const int i = bottomUp ? rows - 1 - k : k;
                const int y = ay.lo + i;
                auto* drow = reinterpret_cast<std::uint32_t*>(dtop + y * dstride) + ax.lo;
                const std::uint32_t* srow = nullptr;
                if (needSrc) {
                    srow = reinterpret_cast<const std::uint32_t*>(std::as_const(src).scanLine(ay.map[static_cast<std::size_t>(i)]));
                    if (gather) {
                        const int* xm = ax.map.data();
                        for (int k2 = 0; k2 < n; ++k2) tmp[static_cast<std::size_t>(k2)] = srow[xm[k2]];
                        srow = tmp.data();
                    } else if (same) {
                        srow += sx0;
                        std::memcpy(tmp.data(), srow, tmp.size() * sizeof(std::uint32_t));
                        srow = tmp.data();
                    } else {
                        srow += sx0;
                    }
                }
                if (o.table == 0xCC) {
                    std::memmove(drow, srow, static_cast<std::size_t>(n) * sizeof(std::uint32_t));
                } else {
                    fn(patColor, srow ? srow : drow, drow, n);
                }
            }
        };
        if (same || static_cast<long long>(rows) * n < kParallelPixels) band(0, rows);
        else parallel::forRows(rows, band);
        return;
    }

    // General path. A blit within one bitmap reads from a shared copy of the old pixels.
    QImage keep;
    if (same && needSrc) keep = src.store();
    const RowFn fn = kRowOps[o.table];
    std::uint8_t* const dtop = dst.scanLine(0);
    const std::ptrdiff_t dstride = dst.bytesPerLine();
    const auto band = [&](int r0, int r1) {
        std::uint32_t S[kChunk], D[kChunk], P[kChunk], R[kChunk];
        std::uint8_t paints[kChunk];
        for (int y = ay.lo + r0; y < ay.lo + r1; ++y) {
            const int sy = ay.map[static_cast<std::size_t>(y - ay.lo)];
            if (needSrc && sy < 0) continue;
            const std::uint8_t* srow = nullptr;
            if (needSrc) srow = same ? keep.constScanLine(sy) : src.scanLine(sy);
            std::uint8_t* drow = dtop + y * dstride;
            for (int c0 = 0; c0 < n; c0 += kChunk) {
                const int m = std::min(kChunk, n - c0);
                const int x0 = ax.lo + c0;
                const int* xm = ax.map.data() + c0;
                bool patAny = true;
                if (needPat) {
                    if (patConst) {
                        std::fill(P, P + m, patColor);
                        std::fill(paints, paints + m, std::uint8_t(1));
                    } else {
                        patAny = raster::brushRow(brush, y, x0, m, P, paints);
                        if (!patAny) std::fill(paints, paints + m, std::uint8_t(0));
                    }
                    if (!patAny && !o.brushCopy) continue;  // nothing of this run changes
                } else {
                    std::fill(P, P + m, 0u);
                }
                if (needSrc) {
                    if (ax.contiguous) {
                        raster::fetchRow(srow, sf, xm[0], m, S);
                    } else {
                        for (int i = 0; i < m; ++i) S[i] = xm[i] >= 0 ? raster::fetchPixel(srow, sf, xm[i]) : 0;
                    }
                } else {
                    std::fill(S, S + m, 0u);
                }
                raster::fetchRow(drow, df, x0, m, D);
                if (o.brushCopy) {
                    for (int i = 0; i < m; ++i) {
                        if (xm[i] < 0) R[i] = D[i];
                        else if (S[i] != o.replaceColor) R[i] = S[i];
                        else R[i] = paints[i] ? P[i] : D[i];
                    }
                } else {
                    fn(P, S, D, R, m);
                    for (int i = 0; i < m; ++i) {
                        const bool keepDst = (needSrc && xm[i] < 0) || (needPat && !paints[i]) ||
                                             (o.transparent && S[i] == o.transparentColor);
                        if (keepDst) R[i] = D[i];
                    }
                }
                raster::storeRow(drow, df, x0, m, R);
            }
        }
    };
    const int rows = ay.hi - ay.lo;
    if (same || static_cast<long long>(rows) * n < kParallelPixels) band(0, rows);
    else parallel::forRows(rows, band);
}

}  // namespace

void Canvas::copyRect(const Rect& dest, const Canvas& source, const Rect& sourceRect) {
    BlitOptions o;
    o.table = ropTable(copyMode_);
    blit(bmp_, brush_, dest, source.bitmap(), sourceRect, o);
}

void Canvas::draw(int x, int y, const Bitmap& source) {
    if (source.isEmpty()) return;
    auto end = [](int from, int size) {
        return static_cast<int>(std::min<long long>(static_cast<long long>(from) + size, INT_MAX));
    };
    stretchDraw(Rect{x, y, end(x, source.width()), end(y, source.height())}, source);
}

void Canvas::stretchDraw(const Rect& dest, const Bitmap& source) {
    if (source.isEmpty()) return;
    BlitOptions o;
    o.table = ropTable(copyMode_);
    if (source.transparent) {
        o.transparent = true;
        o.transparentColor = raster::representable(source.pixelFormat(), raster::toNative(source.effectiveTransparentColor()));
    }
    blit(bmp_, brush_, dest, source, Rect{0, 0, source.width(), source.height()}, o);
}

void Canvas::brushCopy(const Rect& dest, const Bitmap& source, const Rect& sourceRect, TColor color) {
    BlitOptions o;
    o.brushCopy = true;
    o.replaceColor = raster::representable(source.pixelFormat(), raster::toNative(color));
    blit(bmp_, brush_, dest, source, sourceRect, o);
}

}  // namespace pixoral
