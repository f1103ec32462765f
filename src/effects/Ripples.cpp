#include "effects/Ripples.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "core/Parallel.h"
#include "core/Random.h"

namespace pixoral::effects {

void offsetRipple(Bitmap& bmp, OffsetRipple kind, int h) {
    const int H = bmp.height();
    if (bmp.isEmpty() || h < 1 || H - h - 1 < 0) return;
    const int n = bmp.rowDataBytes();
    const auto rows = rowTable(bmp);
    // Tooth and Triangle move byte i of every row by the same offset.
    std::vector<int> fixed;
    if (kind != OffsetRipple::Random) {
        fixed.resize(static_cast<std::size_t>(n));
        int o = 0;
        bool rising = true;
        for (int i = 0; i < n; ++i) {
            fixed[i] = o;
            if (kind == OffsetRipple::Tooth) {
                o = o + 1 > h ? 0 : o + 1;
            } else if (rising) {
                if (++o > h) {
                    o = h - 1;
                    rising = false;
                }
            } else if (--o <= 0) {
                o = 0;
                rising = true;
            }
        }
    }
    // Rows write into the rows below them, so they keep their order, bottom row first. Byte i
    // of a row only ever lands in byte i of another, so the byte columns are shared out over
    // the cores, each going through all the rows in that order. Random draws each row's
    // offsets from its own cheap stream of one key from the seeded generator: the offset for
    // byte i is the stream's i-th number (0 for the first byte).
    const std::uint64_t key = kind == OffsetRipple::Random ? random::streamKey() : 0;
    parallel::forRows(n, [&](int a, int b) {
        for (int row = H - h - 1; row >= 0; --row) {
            const std::uint8_t* from = rows[row];
            if (kind != OffsetRipple::Random) {
                for (int i = a; i < b; ++i) rows[row + fixed[i]][i] = from[i];
                continue;
            }
            random::Stream rnd(key, static_cast<std::uint64_t>(row));
            int o = 0;
            if (a > 0) {
                rnd.skip(static_cast<std::uint64_t>(a - 1));
                o = rnd.below(static_cast<std::uint32_t>(h));
            }
            for (int i = a; i < b; ++i) {
                rows[row + o][i] = from[i];
                o = rnd.below(static_cast<std::uint32_t>(h));
            }
        }
    }, 4096);
}

bool waveRipple(Bitmap& bmp, WaveRipple kind, int h, int m) {
    const int H = bmp.height();
    if (bmp.isEmpty() || h < 1 || H - 2 * h - 1 < h) return true;
    Bitmap out = bmp;
    const auto rows = rowTable(out);  // out gets its own pixels; bmp stays the source
    if (rows.top == nullptr) return false;
    const Bitmap& src = bmp;
    const int n = out.rowDataBytes();
    const double k = std::numbers::pi / 2 / h;
    // The offset depends on the byte index only, so it is worked out once for all rows.
    std::vector<int> g(static_cast<std::size_t>(n), 0);
    for (int i = 1; i < n; ++i) {
        const double a = (i - 1) * k;
        double v = 0;
        switch (kind) {
            case WaveRipple::Wave: v = h * std::sin(a); break;
            case WaveRipple::WaveExtra: v = h * std::cos(a) * std::sin(a); break;
            case WaveRipple::WaveInference: v = h * std::sin(a) * std::sin(m * a); break;
        }
        g[i] = static_cast<int>(std::lround(v));
    }
    // Byte i of row y lands in row y + h + g[i]: no two rows write one byte, whatever the
    // order, so the rows are shared out over the cores. The bytes of a row go out grouped by
    // offset, one target row at a time: a row's bytes spread over up to 2h + 1 rows, and
    // rows whose length is a multiple of 4 KiB would otherwise all compete for the same few
    // cache sets (a 4096-pixel device picture took three times as long as a 4000-pixel one).
    std::vector<int> order(static_cast<std::size_t>(n));
    std::vector<int> first(static_cast<std::size_t>(2 * h + 2), 0);
    for (int i = 0; i < n; ++i) ++first[static_cast<std::size_t>(g[i] + h + 1)];
    for (int d = 1; d <= 2 * h + 1; ++d) first[d] += first[d - 1];
    {
        std::vector<int> next(first.begin(), first.end() - 1);
        for (int i = 0; i < n; ++i) order[static_cast<std::size_t>(next[static_cast<std::size_t>(g[i] + h)]++)] = i;
    }
    const auto from = rowTable(src);
    parallel::forRows(H - 3 * h, [&](int r0, int r1) {
        for (int y = h + r0; y < h + r1; ++y) {
            const std::uint8_t* s = from[y];
            for (int d = 0; d <= 2 * h; ++d) {
                std::uint8_t* t = rows[y + d];  // y + h + (d - h)
                for (int k = first[d]; k < first[d + 1]; ++k) t[order[k]] = s[order[k]];
            }
        }
    });
    bmp = out;
    return true;
}

}  // namespace pixoral::effects
