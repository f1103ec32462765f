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
    // Rows write into the rows below them, so they keep their order; Random draws each row's
    // offsets from its own cheap stream of one key from the seeded generator.
    const std::uint64_t key = kind == OffsetRipple::Random ? random::streamKey() : 0;
    for (int row = H - h - 1; row >= 0; --row) {
        const std::uint8_t* from = rows[row];
        random::Stream rnd(key, static_cast<std::uint64_t>(row));
        int o = 0;
        bool rising = true;
        for (int i = 0; i < n; ++i) {
            rows[row + o][i] = from[i];
            switch (kind) {
                case OffsetRipple::Random: o = rnd.below(static_cast<std::uint32_t>(h)); break;
                case OffsetRipple::Tooth: o = o + 1 > h ? 0 : o + 1; break;
                case OffsetRipple::Triangle:
                    if (rising) {
                        if (++o > h) {
                            o = h - 1;
                            rising = false;
                        }
                    } else if (--o <= 0) {
                        o = 0;
                        rising = true;
                    }
                    break;
            }
        }
    }
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
    // order, so the rows are shared out over the cores.
    const auto from = rowTable(src);
    parallel::forRows(H - 3 * h, [&](int r0, int r1) {
        for (int y = h + r0; y < h + r1; ++y)
            for (int i = 0; i < n; ++i) rows[y + h + g[i]][i] = from[y][i];
    });
    bmp = out;
    return true;
}

}  // namespace pixoral::effects
