// Quick Fractals: a 4096 x 4096 Mandelbrot picture of the whole set at 64 and at 1000
// iterations, through renderFractal on one band and on all cores, beside a plain escape-time
// loop over the same pixels (the same escape test, the same count to byte rule through a
// table, one byte a pixel into a plain buffer), on one core and with one contiguous band of
// rows per core on std::thread. The plain loop has no bitmap, no slices of rows and no
// progress callback, so the difference is what those cost.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "core/Parallel.h"
#include "generators/Fractals.h"

using namespace pixoral;
using namespace pixoral::generators;

namespace {

constexpr int kSide = 4096;

FractalSettings wholeSet(int iterations) {
    FractalSettings s;
    s.iterations = iterations;
    s.colors = 64;
    return s;
}

// args: iterations, bands (0: one per core)
void BM_RenderFractal(benchmark::State& state) {
    const FractalSettings s = wholeSet(static_cast<int>(state.range(0)));
    parallel::bandLimit() = static_cast<int>(state.range(1));
    Bitmap out;
    for (auto _ : state) {
        renderFractal(s, kSide, kSide, out);
        benchmark::DoNotOptimize(out.scanLine(0));
    }
    parallel::bandLimit() = 0;
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void plainRows(const FractalSettings& s, const std::uint8_t* byteOf, std::uint8_t* pixels, int first, int last) {
    const double dx = (s.x1 - s.x0) / kSide, dy = (s.y1 - s.y0) / kSide;
    for (int i = first; i < last; ++i) {
        const double ci = s.y0 + i * dy;
        for (int j = 0; j < kSide; ++j) {
            const double cr = s.x0 + j * dx;
            double zr = 0, zi = 0, s1 = 0, s2 = 0;
            int k = 0;
            while (k <= s.iterations && s1 + s2 < 4.0) {
                s1 = zr * zr;
                s2 = zi * zi;
                zi = 2.0 * zr * zi + ci;
                zr = s1 - s2 + cr;
                ++k;
            }
            pixels[static_cast<std::size_t>(i) * kSide + j] = byteOf[k - 1];
        }
    }
}

// args: iterations, threads (0: one per core)
void BM_PlainLoop(benchmark::State& state) {
    const FractalSettings s = wholeSet(static_cast<int>(state.range(0)));
    const int threads = state.range(1) > 0 ? static_cast<int>(state.range(1))
                                           : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::uint8_t> byteOf(s.iterations + 1);
    for (int e = 0; e <= s.iterations; ++e) byteOf[e] = static_cast<std::uint8_t>(fractalIndex(e, s.iterations, s.colors));
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kSide) * kSide);
    for (auto _ : state) {
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t)
            pool.emplace_back(plainRows, std::cref(s), byteOf.data(), pixels.data(), kSide * t / threads,
                              kSide * (t + 1) / threads);
        plainRows(s, byteOf.data(), pixels.data(), 0, kSide / threads);
        for (std::thread& t : pool) t.join();
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

}  // namespace

BENCHMARK(BM_RenderFractal)->ArgsProduct({{64, 1000}, {1, 0}})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainLoop)->ArgsProduct({{64, 1000}, {1, 0}})->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
