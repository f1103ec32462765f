// One rubber-band step of the drawing tools on a 4096 by 4096 workspace: the mouse-move
// handler removing the last band, drawing the new one and showing again what changed.
// Run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>

#include "ui/Dialogs.h"
#include "workspace/TPixoralF.h"

using namespace pixoral;

namespace {

std::unique_ptr<TPixoralF> makeWindow(const char* shapePath, bool solidBrush) {
    TPixoralF::Options o;
    o.dialogs = std::make_shared<ScriptedDialogs>();
    o.batch = true;
    auto w = std::make_unique<TPixoralF>(o);
    w->setWorkspaceSize(4096, 4096);
    if (solidBrush) w->canvas().brush().setColor(clYellow);
    w->actionForPath(QString::fromLatin1(shapePath))->trigger();
    return w;
}

// Moves between two far corners, so each step erases and draws a band of about 3000 pixels
// a side.
void bandStep(benchmark::State& state, const char* shapePath, bool solidBrush) {
    auto w = makeWindow(shapePath, solidBrush);
    w->mypaintMouseDown(MouseInput{500, 400, Qt::LeftButton, {}});
    int i = 0;
    for (auto _ : state) {
        const int d = (i++ & 1) ? 7 : 0;
        w->mypaintMouseMove(MouseInput{3500 + d, 3600 - d, Qt::NoButton, {}});
    }
    w->mypaintMouseUp(MouseInput{3500, 3600, Qt::LeftButton, {}});
}

void BM_RectangleBandStep(benchmark::State& s) { bandStep(s, "Toolbar>Shape>2D Shapes>Rectangle", false); }
void BM_EllipseBandStep(benchmark::State& s) { bandStep(s, "Toolbar>Shape>2D Shapes>Ellipse", false); }
// A filled band changes its whole box: the slowest case.
void BM_FilledRectangleBandStep(benchmark::State& s) { bandStep(s, "Toolbar>Shape>2D Shapes>Rectangle", true); }

BENCHMARK(BM_RectangleBandStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EllipseBandStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilledRectangleBandStep)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // A benchmark needs no screen; run on the offscreen platform unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
