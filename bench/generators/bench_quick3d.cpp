// Quick 3D on its own picture of 394 by 394 pixels, the size the window draws. Making the
// surface evaluates both expressions over the 41 by 41 grid (once per expression change);
// a redraw is what every spin-edit step costs: fill, figure through the viewing pen, flood
// fill. A redraw should stay well under a frame (16 ms) for the window to feel immediate.
#include <benchmark/benchmark.h>

#include "expr/TParser.h"
#include "generators/Surf3D.h"

using namespace pixoral;
using namespace pixoral::generators;

namespace {

void BM_MakeSurface(benchmark::State& state) {
    TParser px, py;
    SurfaceGrid z{};
    for (auto _ : state) {
        makeSurface(px, py, kDefaultSurFx, kDefaultSurFy, z);
        benchmark::DoNotOptimize(z);
    }
}

void redraw(benchmark::State& state, Surf3DFigure figure, bool useColor) {
    TParser px, py;
    SurfaceGrid z{};
    makeSurface(px, py, kDefaultSurFx, kDefaultSurFy, z);
    Bitmap picture(kSurf3DPictureSide, kSurf3DPictureSide);
    Surf3DScene scene;
    scene.figure = figure;
    scene.view = figureView(figure);
    scene.useColor = useColor;
    int azimuth = 0;
    for (auto _ : state) {
        // Each redraw from another azimuth, as dragging the spin edit does.
        scene.view.azimuth = azimuth;
        azimuth = (azimuth + 5) % 360;
        drawSurf3D(picture, scene, z);
        benchmark::DoNotOptimize(picture.scanLine(0));
    }
}

void BM_RedrawSurface(benchmark::State& state) { redraw(state, Surf3DFigure::Surface, false); }
void BM_RedrawSurfaceUseColor(benchmark::State& state) { redraw(state, Surf3DFigure::Surface, true); }
void BM_RedrawSphereInCube(benchmark::State& state) { redraw(state, Surf3DFigure::SphereInCube, true); }
void BM_RedrawFootballField(benchmark::State& state) { redraw(state, Surf3DFigure::FootballField, true); }

}  // namespace

BENCHMARK(BM_MakeSurface)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedrawSurface)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawSurfaceUseColor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawSphereInCube)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawFootballField)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
