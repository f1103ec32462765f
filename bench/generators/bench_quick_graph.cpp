// Quick Graph over a million steps: both expressions parsed once, then evaluated and joined by
// lines at every step, on the window's 256 by 256 picture. "y" graph of SIN(T*7)*COS(T*3)
// (times 100, so it spans the picture) against T*40, t from -3.142 to 3.142.
#include <benchmark/benchmark.h>

#include "canvas/Canvas.h"
#include "expr/TParser.h"
#include "generators/QuickGraph.h"

namespace {

using namespace pixoral;
using namespace pixoral::generators;

void BM_QuickGraphMillionSteps(benchmark::State& state) {
    const int penWidth = static_cast<int>(state.range(0));
    const GraphRequest r{{QStringLiteral("SIN(T*7)*COS(T*3)*100"), QStringLiteral("T*40"),
                          {QStringLiteral("-3.142"), QStringLiteral("3.142"), QStringLiteral("0.000006284")},
                          GraphType::Y}};
    Bitmap picture = newGraphPicture();
    picture.canvas().pen().width = penWidth;
    TParser p1, p2;
    long long points = 0;
    for (auto _ : state) {
        const GraphOutcome out = drawGraph(picture, p1, p2, r);
        points = out.points;
        benchmark::DoNotOptimize(picture.scanLine(128));
    }
    state.counters["points"] = static_cast<double>(points);
    state.SetLabel("pen width " + std::to_string(penWidth));
}
BENCHMARK(BM_QuickGraphMillionSteps)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
