// Interpreter speed: a counting loop of ten million passes (three words a pass; the
// words-per-second counter is the figure the target is stated in), a drawing loop of 1000
// passes that each draw one side of a polygon with the pen down, and the polygon command
// with 1000 sides; both drawing cases on a 256 by 256 image.
#include <benchmark/benchmark.h>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "script/Turtle.h"

using namespace pixoral;

static void BM_CountingLoop(benchmark::State& state) {
    Bitmap bmp(256, 256);
    TTurtle turtle;
    turtle.setCanvas(&bmp.canvas());
    const QString script = QStringLiteral("0 in n do 10000000 ininc n loop");
    std::int64_t words = 0;
    for (auto _ : state) {
        auto r = turtle.RunScript(script);
        if (r.message != QLatin1String("ready")) state.SkipWithError("script failed");
        words += 5 + 3LL * 10000000;
    }
    state.counters["words/s"] = benchmark::Counter(static_cast<double>(words), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CountingLoop)->Unit(benchmark::kMillisecond);

static void BM_DrawingLoop(benchmark::State& state) {
    Bitmap bmp(256, 256);
    TTurtle turtle;
    turtle.setCanvas(&bmp.canvas());
    const QString script = QStringLiteral("pos 128 8 down do 1000 go 3 turn 1 loop");
    std::int64_t words = 0;
    for (auto _ : state) {
        auto r = turtle.RunScript(script);
        if (r.message != QLatin1String("ready")) state.SkipWithError("script failed");
        words += 5 + 5LL * 1000;
    }
    state.counters["words/s"] = benchmark::Counter(static_cast<double>(words), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawingLoop)->Unit(benchmark::kMicrosecond);

static void BM_PolygonCommand(benchmark::State& state) {
    Bitmap bmp(256, 256);
    TTurtle turtle;
    turtle.setCanvas(&bmp.canvas());
    const QString script = QStringLiteral("pos 128 20 polygon 1000 1");
    for (auto _ : state) {
        auto r = turtle.RunScript(script);
        if (r.message != QLatin1String("ready")) state.SkipWithError("script failed");
    }
}
BENCHMARK(BM_PolygonCommand)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
