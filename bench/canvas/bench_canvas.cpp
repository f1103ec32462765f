// Fill, blit and conversion speed on 4096 by 4096 and 256 by 256 bitmaps; items = pixels
// written, so items/s reads as pixels per second.
// FillRect: the whole bitmap with a solid brush. FloodFill: the whole bitmap, one region.
// CopyRect: the whole bitmap from another of the same size with SRCCOPY, SRCINVERT,
// PATINVERT (solid brush) and PATINVERT with a hatched brush (general path).
// StretchDraw: a half-size source enlarged over the whole bitmap, and a double-size one reduced.
// Convert: setPixelFormat from one format to another over the whole bitmap.
#include <benchmark/benchmark.h>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

using namespace pixoral;

namespace {

Bitmap colourful(int w, int h, PixelFormat f = PixelFormat::Device) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(b.scanLine(y));
        for (int x = 0; x < w; ++x) row[x] = 0xFF000000u | static_cast<std::uint32_t>((x * 2654435761u) ^ (y * 40503u)) >> 8;
    }
    b.setPixelFormat(f);
    return b;
}

void BM_FillRect(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Bitmap b(n, n);
    Canvas& c = b.canvas();
    int i = 0;
    for (auto _ : state) {
        c.brush().setColor(++i & 1 ? clRed : clBlue);
        c.fillRect(Rect{0, 0, n, n});
        benchmark::DoNotOptimize(b.scanLine(0));
    }
    state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_FloodFill(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Bitmap b(n, n);
    Canvas& c = b.canvas();
    TColor current = clWhite;
    for (auto _ : state) {
        const TColor next = current == clWhite ? clBlue : clWhite;
        c.brush().setColor(next);
        c.floodFill(n / 2, n / 2, current, FillStyle::fsSurface);
        current = next;
    }
    state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_CopyRect(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const CopyMode mode = static_cast<CopyMode>(state.range(1));
    const bool hatched = state.range(2) != 0;
    Bitmap src = colourful(n, n);
    Bitmap dst(n, n);
    dst.canvas().setCopyMode(mode);
    dst.canvas().brush().setColor(clTeal);
    if (hatched) dst.canvas().brush().setStyle(BrushStyle::bsDiagCross);
    for (auto _ : state) {
        dst.canvas().copyRect(Rect{0, 0, n, n}, src.canvas(), Rect{0, 0, n, n});
        benchmark::DoNotOptimize(dst.scanLine(0));
    }
    state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_StretchDraw(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool enlarge = state.range(1) != 0;
    Bitmap src = enlarge ? colourful(n / 2, n / 2) : colourful(2 * n, 2 * n);
    Bitmap dst(n, n);
    for (auto _ : state) {
        dst.canvas().stretchDraw(Rect{0, 0, n, n}, src);
        benchmark::DoNotOptimize(dst.scanLine(0));
    }
    state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_Convert(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto from = static_cast<PixelFormat>(state.range(1));
    const auto to = static_cast<PixelFormat>(state.range(2));
    const Bitmap original = colourful(n, n, from);
    for (auto _ : state) {
        state.PauseTiming();
        Bitmap b(original);
        state.ResumeTiming();
        b.setPixelFormat(to);
        benchmark::DoNotOptimize(b.scanLine(0));
    }
    state.SetItemsProcessed(state.iterations() * n * n);
    state.SetLabel(std::string(pixelFormatName(from)) + " -> " + pixelFormatName(to));
}

constexpr long kDevice = static_cast<long>(PixelFormat::Device);
constexpr long k24 = static_cast<long>(PixelFormat::pf24bit);
constexpr long k8 = static_cast<long>(PixelFormat::pf8bit);
constexpr long k4 = static_cast<long>(PixelFormat::pf4bit);
constexpr long k1 = static_cast<long>(PixelFormat::pf1bit);

}  // namespace

BENCHMARK(BM_FillRect)->Arg(256)->Arg(4096)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FloodFill)->Arg(256)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyRect)
    ->ArgNames({"n", "rop", "hatched"})
    ->Args({256, cmSrcCopy, 0})->Args({4096, cmSrcCopy, 0})
    ->Args({256, cmSrcInvert, 0})->Args({4096, cmSrcInvert, 0})
    ->Args({256, cmPatInvert, 0})->Args({4096, cmPatInvert, 0})
    ->Args({4096, cmPatInvert, 1})->Args({4096, 0x00E20746, 0})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchDraw)->ArgNames({"n", "enlarge"})->Args({256, 1})->Args({4096, 1})->Args({256, 0})->Args({4096, 0})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Convert)
    ->ArgNames({"n", "from", "to"})
    ->Args({256, kDevice, k24})->Args({4096, kDevice, k24})
    ->Args({256, k24, kDevice})->Args({4096, k24, kDevice})
    ->Args({4096, kDevice, k8})->Args({4096, k8, kDevice})
    ->Args({4096, kDevice, k4})->Args({4096, k4, kDevice})
    ->Args({4096, kDevice, k1})->Args({4096, k1, kDevice})
    ->Args({4096, k24, k8})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
