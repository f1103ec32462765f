#include "canvas/Raster.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <type_traits>
#include <vector>

#include "core/LargeBlocks.h"
#include "core/Parallel.h"

namespace pixoral::raster {

namespace {

constexpr int kChunk = 1024;

constexpr std::uint32_t nativeOf(TColor c) {
    const auto v = static_cast<std::uint32_t>(c) & 0xFFFFFFu;
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

// The 16 standard colours: the 4-bit palette, all of them in the 8-bit one too.
constexpr std::array<std::uint32_t, 16> kStandard = [] {
    std::array<std::uint32_t, 16> t{};
    const TColor std16[16] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver,
                              clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
    for (int i = 0; i < 16; ++i) t[static_cast<std::size_t>(i)] = nativeOf(std16[i]);
    return t;
}();

// Entry 255 - i is the exact complement of entry i, so that inverting an index (a byte
// effect) inverts the colour, and every entry is distinct. 0..11: black, the eight
// half-intensity standard colours, red, lime, yellow; 244..255 their complements (blue,
// fuchsia, aqua, ..., white); 12..23 and 232..243 twelve greys and theirs; 24..231 the
// 6x6x6 cube (levels 0, 51, ..., 255; red major) without its eight corners, which are
// standard colours above. The cube's complement reverses its order, hence its place.
constexpr int kCubeFirst = 24;
constexpr int kGreyFirst = 12;
// The dark half of the extra greys; they start at 11 so that colours within a few levels of
// white or black still take white or black.
constexpr int kGreys[12] = {11, 19, 27, 35, 43, 57, 71, 79, 87, 95, 110, 119};

constexpr bool isCubeCorner(int r, int g, int b) {
    return (r == 0 || r == 5) && (g == 0 || g == 5) && (b == 0 || b == 5);
}

constexpr std::array<std::uint32_t, 256> makeHalftone() {
    std::array<std::uint32_t, 256> t{};
    const TColor low[12] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple,
                            clTeal,  clSilver, clGray,  clRed,   clLime, clYellow};
    for (int i = 0; i < 12; ++i) t[static_cast<std::size_t>(i)] = nativeOf(low[i]);
    for (int i = 0; i < 12; ++i) {
        const auto v = static_cast<std::uint32_t>(kGreys[i]);
        t[static_cast<std::size_t>(kGreyFirst + i)] = (v << 16) | (v << 8) | v;
    }
    int k = kCubeFirst;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                if (!isCubeCorner(r, g, b))
                    t[static_cast<std::size_t>(k++)] =
                        (std::uint32_t(r * 51) << 16) | (std::uint32_t(g * 51) << 8) | std::uint32_t(b * 51);
    // The cube's complements are in place already.
    for (int i = 0; i < kCubeFirst; ++i) t[static_cast<std::size_t>(255 - i)] = ~t[static_cast<std::size_t>(i)] & 0xFFFFFFu;
    return t;
}

constexpr std::array<std::uint32_t, 256> kHalftone = makeHalftone();

inline int dist2(std::uint32_t a, std::uint32_t b) {
    const int dr = int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF);
    const int dg = int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF);
    const int db = int(a & 0xFF) - int(b & 0xFF);
    return dr * dr + dg * dg + db * db;
}

// The nearest palette entry by a table over the colour cube. For every cell of 8 levels a
// channel (32^3 cells) it keeps the entries that can be the nearest to some colour of the
// cell, in ascending index order: an entry whose nearest point of the cell lies farther than
// some entry's farthest point can never win there. The exact search over those few (one to a
// handful) gives what a search of the whole palette gives, ties to the lowest index included,
// at a few multiplications a pixel however many colours an image holds.
template <std::size_t N>
class NearestTable {
public:
    explicit NearestTable(const std::array<std::uint32_t, N>& pal) : pal_(pal) {
        std::uint8_t every[N], kept[N];
        for (std::size_t i = 0; i < N; ++i) every[i] = static_cast<std::uint8_t>(i);
        for (int cell = 0; cell < kCells; ++cell) {
            const int lo[3] = {(cell >> 10) * 8, ((cell >> 5) & 31) * 8, (cell & 31) * 8};
            start_[static_cast<std::size_t>(cell)] = static_cast<std::uint32_t>(entries_.size());
            const int n = narrow(lo, 8, every, static_cast<int>(N), kept);
            entries_.insert(entries_.end(), kept, kept + n);
        }
        start_[kCells] = static_cast<std::uint32_t>(entries_.size());
    }

    std::uint8_t nearest(std::uint32_t v) const {
        const std::size_t cell = ((v >> 9) & 0x7C00) | ((v >> 6) & 0x3E0) | ((v >> 3) & 0x1F);
        const std::uint8_t* e = entries_.data() + start_[cell];
        const std::uint8_t* end = entries_.data() + start_[cell + 1];
        if (end - e == 1) return *e;  // most cells: one entry wins everywhere in them
        std::uint8_t best = *e;
        int bestD = dist2(v, pal_[best]);
        for (++e; e < end; ++e) {
            const int d = dist2(v, pal_[*e]);
            if (d < bestD) {
                bestD = d;
                best = *e;
            }
        }
        return best;
    }

    // Writes the nearest entry of every colour whose red lies in cells r0 .. r1 - 1 (8 levels
    // each) into all[colour]. Each cell's candidates are narrowed again on its eighths, and so
    // on down to single colours, with the same rule as the cells: most boxes are left with one
    // candidate after a step or two and are filled whole.
    void fillEveryColour(std::uint8_t* all, int r0, int r1) const {
        for (int cell = r0 << 10; cell < r1 << 10; ++cell) {
            const int lo[3] = {(cell >> 10) * 8, ((cell >> 5) & 31) * 8, (cell & 31) * 8};
            const std::uint8_t* e = entries_.data() + start_[static_cast<std::size_t>(cell)];
            const std::uint8_t* end = entries_.data() + start_[static_cast<std::size_t>(cell) + 1];
            fillBox(all, lo, 8, e, static_cast<int>(end - e));
        }
    }

private:
    // The entries of `candidates` (ascending indices) that can be nearest somewhere in the box
    // of side `side` from lo, kept in order: those whose nearest point lies no farther than
    // the least farthest point of any.
    int narrow(const int lo[3], int side, const std::uint8_t* candidates, int n, std::uint8_t* out) const {
        int bound = INT_MAX;
        for (int i = 0; i < n; ++i) {
            int far = 0;
            for (int k = 0; k < 3; ++k) {
                const int v = channel(pal_[candidates[i]], k);
                const int d = std::max(std::abs(v - lo[k]), std::abs(v - lo[k] - side + 1));
                far += d * d;
            }
            bound = std::min(bound, far);
        }
        int kept = 0;
        for (int i = 0; i < n; ++i) {
            int near = 0;
            for (int k = 0; k < 3; ++k) {
                const int v = channel(pal_[candidates[i]], k);
                const int d = v < lo[k] ? lo[k] - v : v > lo[k] + side - 1 ? v - lo[k] - side + 1 : 0;
                near += d * d;
            }
            if (near <= bound) out[kept++] = candidates[i];
        }
        return kept;
    }

    void fillBox(std::uint8_t* all, const int lo[3], int side, const std::uint8_t* candidates, int n) const {
        std::uint8_t kept[N];
        if (n > 1) n = narrow(lo, side, candidates, n, kept);
        else kept[0] = candidates[0];
        // One left, or a single colour where the ties left are equally near: the lowest index.
        if (n == 1 || side == 1) {
            for (int r = 0; r < side; ++r)
                for (int g = 0; g < side; ++g) {
                    const std::uint32_t run = (std::uint32_t(lo[0] + r) << 16) | (std::uint32_t(lo[1] + g) << 8) | std::uint32_t(lo[2]);
                    std::memset(all + run, kept[0], static_cast<std::size_t>(side));
                }
            return;
        }
        const int half = side / 2;
        for (int part = 0; part < 8; ++part) {
            const int sub[3] = {lo[0] + ((part >> 2) & 1) * half, lo[1] + ((part >> 1) & 1) * half, lo[2] + (part & 1) * half};
            fillBox(all, sub, half, kept, n);
        }
    }

    static constexpr int kCells = 32 * 32 * 32;
    static int channel(std::uint32_t v, int k) { return static_cast<int>((v >> (16 - 8 * k)) & 0xFF); }
    std::array<std::uint32_t, N> pal_;
    std::array<std::uint32_t, kCells + 1> start_{};
    std::vector<std::uint8_t> entries_;
};

template <class F>
void forMode(PenMode m, F&& f) {
    switch (m) {
#define PIXORAL_MODE(M) \
    case PenMode::M: f(std::integral_constant<PenMode, PenMode::M>{}); break;
        PIXORAL_MODE(pmBlack) PIXORAL_MODE(pmWhite) PIXORAL_MODE(pmNop) PIXORAL_MODE(pmNot)
        PIXORAL_MODE(pmCopy) PIXORAL_MODE(pmNotCopy) PIXORAL_MODE(pmMergePenNot) PIXORAL_MODE(pmMaskPenNot)
        PIXORAL_MODE(pmMergeNotPen) PIXORAL_MODE(pmMaskNotPen) PIXORAL_MODE(pmMerge) PIXORAL_MODE(pmNotMerge)
        PIXORAL_MODE(pmMask) PIXORAL_MODE(pmNotMask) PIXORAL_MODE(pmXor) PIXORAL_MODE(pmNotXor)
#undef PIXORAL_MODE
    }
}

inline int floorMod(int a, int m) {
    const int r = a % m;
    return r < 0 ? r + m : r;
}

constexpr std::uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal, top-left to bottom-right
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

}  // namespace

const std::uint32_t* halftoneNative() { return kHalftone.data(); }
const std::uint32_t* standardNative() { return kStandard.data(); }

namespace {

const NearestTable<256>& halftoneTable() {
    static const NearestTable<256> table(kHalftone);
    return table;
}

const NearestTable<16>& standardTable() {
    static const NearestTable<16> table(kStandard);
    return table;
}

std::atomic<const std::uint8_t*> everyColourHalftone{nullptr};

}  // namespace

std::uint8_t nearestHalftone(std::uint32_t v) {
    if (const std::uint8_t* all = everyColourHalftone.load(std::memory_order_acquire)) return all[v & 0xFFFFFF];
    return halftoneTable().nearest(v & 0xFFFFFF);
}

bool prepareHalftoneLookup() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Without the memory the cell table goes on serving, a little slower. In large pages,
        // so filling it does not fault every 4 KiB.
        std::size_t capacity = 0;
        auto* all = static_cast<std::uint8_t*>(large::allocateFresh(std::size_t(1) << 24, &capacity));
        if (!all) return;
        const NearestTable<256>& cells = halftoneTable();
        parallel::forRows(32, [&](int r0, int r1) { cells.fillEveryColour(all, r0, r1); }, 1);
        everyColourHalftone.store(all, std::memory_order_release);  // kept for the program's life
    });
    return everyColourHalftone.load(std::memory_order_acquire) != nullptr;
}

bool prepareHalftoneLookupFor(long long pixels) { return pixels >= (1LL << 20) && prepareHalftoneLookup(); }

std::uint8_t nearestStandard(std::uint32_t v) { return standardTable().nearest(v & 0xFFFFFF); }

std::uint8_t nearestMono(std::uint32_t v) {
    // Nearer white than black exactly when r + g + b > 3 * 255 / 2 (never a tie).
    return ((v >> 16) & 0xFF) + ((v >> 8) & 0xFF) + (v & 0xFF) > 382 ? 1 : 0;
}

std::uint32_t representable(PixelFormat f, std::uint32_t v) {
    v &= 0xFFFFFF;
    switch (f) {
    case PixelFormat::Device:
    case PixelFormat::pf24bit: return v;
    case PixelFormat::pf8bit: return kHalftone[nearestHalftone(v)];
    case PixelFormat::pf4bit: return kStandard[nearestStandard(v)];
    case PixelFormat::pf1bit: return nearestMono(v) ? 0xFFFFFFu : 0u;
    }
    return v;
}

void fetchRow(const std::uint8_t* row, PixelFormat f, int x0, int n, std::uint32_t* out) {
    switch (f) {
    case PixelFormat::Device: {
        const auto* p = reinterpret_cast<const std::uint32_t*>(row) + x0;
        for (int i = 0; i < n; ++i) out[i] = p[i] & 0xFFFFFFu;
        break;
    }
    case PixelFormat::pf24bit: {
        const std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x0);
        for (int i = 0; i < n; ++i, p += 3) out[i] = (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
        break;
    }
    case PixelFormat::pf8bit:
        for (int i = 0; i < n; ++i) out[i] = kHalftone[row[x0 + i]];
        break;
    case PixelFormat::pf4bit:
        for (int i = 0; i < n; ++i) {
            const int x = x0 + i;
            const std::uint8_t byte = row[x >> 1];
            out[i] = kStandard[(x & 1) ? (byte & 0x0F) : (byte >> 4)];
        }
        break;
    case PixelFormat::pf1bit:
        for (int i = 0; i < n; ++i) {
            const int x = x0 + i;
            out[i] = (0u - ((row[x >> 3] >> (7 - (x & 7))) & 1u)) & 0xFFFFFFu;
        }
        break;
    }
}

void storeRow(std::uint8_t* row, PixelFormat f, int x0, int n, const std::uint32_t* in) {
    switch (f) {
    case PixelFormat::Device: {
        auto* p = reinterpret_cast<std::uint32_t*>(row) + x0;
        for (int i = 0; i < n; ++i) p[i] = 0xFF000000u | in[i];
        break;
    }
    case PixelFormat::pf24bit: {
        std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x0);
        for (int i = 0; i < n; ++i, p += 3) {
            p[0] = static_cast<std::uint8_t>(in[i]);
            p[1] = static_cast<std::uint8_t>(in[i] >> 8);
            p[2] = static_cast<std::uint8_t>(in[i] >> 16);
        }
        break;
    }
    case PixelFormat::pf8bit: {
        if (const std::uint8_t* all = everyColourHalftone.load(std::memory_order_acquire)) {
            // The palette holds no colour twice, so a pixel already right keeps its index.
            for (int i = 0; i < n; ++i) row[x0 + i] = all[in[i] & 0xFFFFFFu];
            break;
        }
        // Neighbours are often the same colour, so the last lookup is kept.
        const NearestTable<256>& table = halftoneTable();
        std::uint32_t last = 0xFFFFFFFFu;
        std::uint8_t lastIndex = 0;
        for (int i = 0; i < n; ++i) {
            std::uint8_t& px = row[x0 + i];
            const std::uint32_t v = in[i] & 0xFFFFFFu;
            if (kHalftone[px] == v) continue;
            if (v != last) {
                last = v;
                lastIndex = table.nearest(v);
            }
            px = lastIndex;
        }
        break;
    }
    case PixelFormat::pf4bit:
        for (int i = 0; i < n; ++i) {
            const int x = x0 + i;
            std::uint8_t& byte = row[x >> 1];
            const int shift = (x & 1) ? 0 : 4;
            const std::uint32_t v = in[i] & 0xFFFFFFu;
            if (kStandard[(byte >> shift) & 0x0F] == v) continue;
            byte = static_cast<std::uint8_t>((byte & ~(0x0F << shift)) | (nearestStandard(v) << shift));
        }
        break;
    case PixelFormat::pf1bit: {
        int i = 0;
        // Whole bytes at a time where the run covers them.
        for (; i < n && ((x0 + i) & 7); ++i) {
            const int x = x0 + i;
            const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
            if (nearestMono(in[i])) row[x >> 3] |= bit;
            else row[x >> 3] &= static_cast<std::uint8_t>(~bit);
        }
        for (; i + 8 <= n; i += 8) {
            unsigned byte = 0;
            for (int k = 0; k < 8; ++k) byte = (byte << 1) | nearestMono(in[i + k]);
            row[(x0 + i) >> 3] = static_cast<std::uint8_t>(byte);
        }
        for (; i < n; ++i) {
            const int x = x0 + i;
            const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
            if (nearestMono(in[i])) row[x >> 3] |= bit;
            else row[x >> 3] &= static_cast<std::uint8_t>(~bit);
        }
        break;
    }
    }
}

std::uint32_t fetchPixel(const std::uint8_t* row, PixelFormat f, int x) {
    std::uint32_t v;
    fetchRow(row, f, x, 1, &v);
    return v;
}

void storePixel(std::uint8_t* row, PixelFormat f, int x, std::uint32_t native) { storeRow(row, f, x, 1, &native); }

const std::uint8_t* hatchRows(BrushStyle s) {
    switch (s) {
    case BrushStyle::bsHorizontal: return kHatches[0];
    case BrushStyle::bsVertical: return kHatches[1];
    case BrushStyle::bsFDiagonal: return kHatches[2];
    case BrushStyle::bsBDiagonal: return kHatches[3];
    case BrushStyle::bsCross: return kHatches[4];
    case BrushStyle::bsDiagCross: return kHatches[5];
    default: return nullptr;
    }
}

bool brushRow(const Brush& brush, int y, int x0, int n, std::uint32_t* colors, std::uint8_t* paints) {
    if (n <= 0) return false;
    const Bitmap* pat = brush.bitmap().get();
    if (pat && !pat->isEmpty()) {
        const int pw = pat->width();
        const std::uint8_t* prow = pat->scanLine(floorMod(y, pat->height()));
        int px = floorMod(x0, pw);
        for (int i = 0; i < n; ++i) {
            colors[i] = fetchPixel(prow, pat->pixelFormat(), px);
            paints[i] = 1;
            if (++px == pw) px = 0;
        }
        return true;
    }
    if (brush.style() == BrushStyle::bsClear || brush.color() == clNone) return false;
    const std::uint32_t c = toNative(brush.color());
    std::fill(colors, colors + n, c);
    const std::uint8_t* hatch = hatchRows(brush.style());
    if (!hatch) {
        std::fill(paints, paints + n, std::uint8_t(1));
        return true;
    }
    const std::uint8_t bits = hatch[y & 7];
    if (!bits) return false;
    for (int i = 0; i < n; ++i) paints[i] = (bits >> (7 - ((x0 + i) & 7))) & 1;
    return true;
}

namespace {

// For long runs over 8-bit rows: what the pen makes of each palette entry, kept for the last
// pen and mode each thread used (a figure paints many runs with the same pair).
const std::uint8_t* penIndexTable(PenMode mode, std::uint32_t p) {
    thread_local struct {
        bool valid = false;
        PenMode mode = PenMode::pmCopy;
        std::uint32_t pen = 0;
        std::uint8_t index[256];
    } cache;
    if (!cache.valid || cache.mode != mode || cache.pen != p) {
        forMode(mode, [&](auto m) {
            for (int i = 0; i < 256; ++i) cache.index[i] = nearestHalftone(mix(m.value, p, kHalftone[static_cast<std::size_t>(i)]));
        });
        cache.valid = true;
        cache.mode = mode;
        cache.pen = p;
    }
    return cache.index;
}

}  // namespace

void penRun(const RowRef& r, int x0, int x1, TColor color, PenMode mode) {
    if (color == clNone || mode == PenMode::pmNop) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, r.width);
    if (x0 >= x1) return;
    const std::uint32_t p = toNative(color);
    std::uint8_t* row = r.row;
    // Every pen mode is bitwise: each bit becomes 0, 1, itself or its inverse, which is
    // (d & keep) ^ flip for two masks of the pen.
    const std::uint32_t flip = mix(mode, p, 0), keep = mix(mode, p, 0xFFFFFFu) ^ flip;
    switch (r.format) {
    case PixelFormat::Device: {
        auto* d = reinterpret_cast<std::uint32_t*>(row);
        // The top byte stays 0xFF.
        for (int x = x0; x < x1; ++x) d[x] = (d[x] & keep) ^ (flip | 0xFF000000u);
        return;
    }
    case PixelFormat::pf24bit: {
        // The B, G, R bytes repeat every 24 bytes, so eight pixels go as three 64-bit words.
        std::uint8_t keepBytes[24], flipBytes[24];
        for (int i = 0; i < 24; ++i) {
            keepBytes[i] = static_cast<std::uint8_t>(keep >> (8 * (i % 3)));
            flipBytes[i] = static_cast<std::uint8_t>(flip >> (8 * (i % 3)));
        }
        std::uint64_t keepWords[3], flipWords[3];
        std::memcpy(keepWords, keepBytes, 24);
        std::memcpy(flipWords, flipBytes, 24);
        std::uint8_t* q = row + 3 * static_cast<std::ptrdiff_t>(x0);
        int x = x0;
        for (; x + 8 <= x1; x += 8, q += 24)
            for (int j = 0; j < 3; ++j) {
                std::uint64_t w;
                std::memcpy(&w, q + 8 * j, 8);
                w = (w & keepWords[j]) ^ flipWords[j];
                std::memcpy(q + 8 * j, &w, 8);
            }
        for (int i = 0; i < 3 * (x1 - x); ++i) q[i] = static_cast<std::uint8_t>((q[i] & keepBytes[i % 3]) ^ flipBytes[i % 3]);
        return;
    }
    case PixelFormat::pf8bit:
        if (x1 - x0 >= 256) {
            // The palette holds no colour twice, so the stored index of a mixed entry is
            // the nearest entry to the mix, as a run through the row buffer gives.
            const std::uint8_t* index = penIndexTable(mode, p);
            for (int x = x0; x < x1; ++x) row[x] = index[row[x]];
            return;
        }
        break;
    default: break;
    }
    std::uint32_t buf[kChunk];
    for (int s = x0; s < x1; s += kChunk) {
        const int n = std::min(kChunk, x1 - s);
        fetchRow(row, r.format, s, n, buf);
        forMode(mode, [&](auto m) {
            for (int i = 0; i < n; ++i) buf[i] = mix(m.value, p, buf[i]);
        });
        storeRow(row, r.format, s, n, buf);
    }
}

void brushRun(const RowRef& r, int y, int x0, int x1, const Brush& brush, PenMode mode) {
    if (brush.isClear() || mode == PenMode::pmNop) return;
    if (brush.isSolid()) {
        penRun(r, x0, x1, brush.color(), mode);
        return;
    }
    x0 = std::max(x0, 0);
    x1 = std::min(x1, r.width);
    if (x0 >= x1) return;
    std::uint32_t colors[kChunk];
    std::uint8_t paints[kChunk];
    std::uint32_t buf[kChunk];
    for (int s = x0; s < x1; s += kChunk) {
        const int n = std::min(kChunk, x1 - s);
        if (!brushRow(brush, y, s, n, colors, paints)) continue;
        fetchRow(r.row, r.format, s, n, buf);
        forMode(mode, [&](auto m) {
            for (int i = 0; i < n; ++i)
                if (paints[i]) buf[i] = mix(m.value, colors[i], buf[i]);
        });
        storeRow(r.row, r.format, s, n, buf);
    }
}

void penSpan(Bitmap& bmp, int y, int x0, int x1, TColor color, PenMode mode) {
    if (color == clNone || mode == PenMode::pmNop || y < 0 || y >= bmp.height()) return;
    if (std::max(x0, 0) >= std::min(x1, bmp.width())) return;
    penRun(RowRef{bmp.scanLine(y), bmp.pixelFormat(), bmp.width()}, x0, x1, color, mode);
}

void brushSpan(Bitmap& bmp, int y, int x0, int x1, const Brush& brush, PenMode mode) {
    if (brush.isClear() || mode == PenMode::pmNop || y < 0 || y >= bmp.height()) return;
    if (std::max(x0, 0) >= std::min(x1, bmp.width())) return;
    brushRun(RowRef{bmp.scanLine(y), bmp.pixelFormat(), bmp.width()}, y, x0, x1, brush, mode);
}

void penPixel(Bitmap& bmp, int x, int y, TColor color, PenMode mode) {
    if (color == clNone || mode == PenMode::pmNop) return;
    if (x < 0 || y < 0 || x >= bmp.width() || y >= bmp.height()) return;
    std::uint8_t* row = bmp.scanLine(y);
    const PixelFormat f = bmp.pixelFormat();
    storePixel(row, f, x, mix(mode, toNative(color), fetchPixel(row, f, x)));
}

}  // namespace pixoral::raster
