// Line and ellipse rasterising speed on 4096 by 4096 and 256 by 256 device bitmaps.
// LineTo: a fan of width-1 lines across the whole bitmap (items = pixels written).
// Ellipse: the inscribed ellipse with a width-1 outline and solid fill, and with a width-9 pen
// (items = pixels of the box).
// Figure: the same for the other filled figures inscribed in the box: a rectangle, a round
// rectangle with corners a quarter of the box, a three-quarter pie and a five-pointed star.
#include <benchmark/benchmark.h>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

#include <vector>

using namespace pixoral;

namespace {

void BM_LineTo(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1));
    Bitmap bmp(n, n);
    Canvas& c = bmp.canvas();
    c.pen().width = width;
    c.pen().color = clRed;
    const int lines = 64;
    std::int64_t pixels = 0;
    for (auto _ : state) {
        for (int i = 0; i < lines; ++i) {
            const int t = i * (n - 1) / (lines - 1);
            c.moveTo(0, t);
            c.lineTo(n - 1, n - 1 - t);  // x-major
            c.moveTo(t, 0);
            c.lineTo(n - 1 - t, n - 1);  // y-major
        }
        pixels += std::int64_t(2) * lines * (n - 1) * width;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(pixels);
}

void BM_Ellipse(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Bitmap bmp(n, n);
    Canvas& c = bmp.canvas();
    c.pen().width = static_cast<int>(state.range(1));
    c.brush().setColor(clYellow);
    for (auto _ : state) {
        c.ellipse(0, 0, n, n);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(n) * n);
}

enum Figure { kRectangle, kRoundRect, kPie, kStar };

void BM_Figure(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto figure = static_cast<Figure>(state.range(2));
    Bitmap bmp(n, n);
    Canvas& c = bmp.canvas();
    c.pen().width = static_cast<int>(state.range(1));
    c.brush().setColor(clYellow);
    const std::vector<Point> star{{n / 2, 0}, {n * 4 / 5, n - 1}, {0, n * 2 / 5}, {n - 1, n * 2 / 5}, {n / 5, n - 1}};
    for (auto _ : state) {
        switch (figure) {
        case kRectangle: c.rectangle(0, 0, n, n); break;
        case kRoundRect: c.roundRect(0, 0, n, n, n / 4, n / 4); break;
        case kPie: c.pie(0, 0, n, n, n, n / 2, n / 2, n); break;
        case kStar: c.polygon(star); break;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(n) * n);
}

}  // namespace

BENCHMARK(BM_LineTo)->Args({256, 1})->Args({4096, 1})->Args({256, 5})->Args({4096, 5})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ellipse)->Args({256, 1})->Args({4096, 1})->Args({256, 9})->Args({4096, 9})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Figure)
    ->ArgNames({"n", "pen", "figure"})
    ->ArgsProduct({{256, 4096}, {1, 9}, {kRectangle, kRoundRect, kPie, kStar}})
    ->Unit(benchmark::kMicrosecond);
