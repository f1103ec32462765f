// Effects and the Quick Background render on a 24-bit image of 4096 by 4096 and of 256 by
// 256 pixels (a colourful generated backdrop, so no effect sees a flat image). Each figure is
// one application of the effect to the whole image, in place, as the menu command does.
//
// The ImageMagick rows time `convert -bench` on the same 4096 by 4096 image, which repeats
// only the operator (reading and writing the file are left out), with all its threads.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <climits>
#include <cstdio>
#include <memory>
#include <regex>
#include <string>

#include "canvas/Raster.h"
#include "core/Parallel.h"
#include "effects/ColorEffects.h"
#include "effects/Distortions.h"
#include "effects/FilterEffects.h"
#include "effects/ImageSize.h"
#include "effects/Shifts.h"
#include "effects/SliderEffects.h"
#include "generators/QuickBackground.h"

using namespace pixoral;
using namespace pixoral::effects;

namespace {

Bitmap sourceImage(int size) {
    generators::QBSettings s;
    s.function = {0, 12, 3};  // Prod, SumXor, Xor
    s.offset = {0, 85, 170};
    s.factor = 200;
    return generators::renderBackground(s, size, size);
}

const Bitmap& source(int size) {
    static Bitmap small = sourceImage(256);
    static Bitmap large = sourceImage(4096);
    return size == 256 ? small : large;
}

void setBytes(benchmark::State& state, int size) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size * size * 3);
}

// Runs f on a private 24-bit copy; the copy is made once, outside the timing.
template <class F>
void inPlace(benchmark::State& state, F f) {
    const int size = static_cast<int>(state.range(0));
    Bitmap b(source(size));
    b.scanLine(0);  // detach from the shared source before timing
    for (auto _ : state) {
        f(b);
        benchmark::ClobberMemory();
    }
    setBytes(state, size);
}

// Runs f on a fresh copy each time (for effects that change the format or need the original).
template <class F>
void onFreshCopy(benchmark::State& state, F f) {
    const int size = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Bitmap b(source(size));
        b.scanLine(0);
        state.ResumeTiming();
        f(b);
        benchmark::ClobberMemory();
    }
    setBytes(state, size);
}

void BM_Invert(benchmark::State& s) { inPlace(s, [](Bitmap& b) { invert(b); }); }
void BM_InvertDevice(benchmark::State& s) {
    const int size = static_cast<int>(s.range(0));
    Bitmap b(source(size));
    b.setPixelFormat(PixelFormat::Device);
    for (auto _ : s) invert(b);
    s.SetBytesProcessed(static_cast<int64_t>(s.iterations()) * size * size * 4);
}
void BM_Grayscale(benchmark::State& s) { inPlace(s, [](Bitmap& b) { grayscale(b); }); }
void BM_SwapRG24(benchmark::State& s) { inPlace(s, [](Bitmap& b) { shuffleChannels24(b, ChannelShuffle::SwapRG); }); }
void BM_Contrast50(benchmark::State& s) { inPlace(s, [](Bitmap& b) { contrast(b, 50); }); }
void BM_Saturation50(benchmark::State& s) { inPlace(s, [](Bitmap& b) { saturation(b, 50); }); }
void BM_Brightness50(benchmark::State& s) { inPlace(s, [](Bitmap& b) { brightness(b, 50); }); }
void BM_GaussianBlur0(benchmark::State& s) { inPlace(s, [](Bitmap& b) { gaussianBlur(b, 0); }); }
void BM_GaussianBlur20(benchmark::State& s) { inPlace(s, [](Bitmap& b) { gaussianBlur(b, 20); }); }
void BM_SplitBlur10(benchmark::State& s) { inPlace(s, [](Bitmap& b) { splitBlur(b, 10); }); }
void BM_Smooth10(benchmark::State& s) { inPlace(s, [](Bitmap& b) { smooth(b, 10); }); }
void BM_ColorNoise100(benchmark::State& s) { inPlace(s, [](Bitmap& b) { colorNoise(b, 100); }); }
void BM_ContourAccent(benchmark::State& s) { inPlace(s, [](Bitmap& b) { contourAccent(b); }); }
void BM_AntiAlias(benchmark::State& s) { inPlace(s, [](Bitmap& b) { antiAlias(b); }); }
// Trace includes the conversion to 8 bits, as the menu command does.
void BM_Trace(benchmark::State& s) { onFreshCopy(s, [](Bitmap& b) { trace(b, {0, 1}); }); }
void BM_Trace8BitOnly(benchmark::State& s) {
    const int size = static_cast<int>(s.range(0));
    Bitmap eight(source(size));
    eight.setPixelFormat(PixelFormat::pf8bit);
    for (auto _ : s) {
        s.PauseTiming();
        Bitmap b(eight);
        b.scanLine(0);
        s.ResumeTiming();
        trace(b, {0, 1});
    }
    setBytes(s, size);
}
void BM_To8Bit(benchmark::State& s) { onFreshCopy(s, [](Bitmap& b) { convertPixelFormat(b, PixelFormat::pf8bit); }); }
// The same conversion as it was made before the lookup tables: every pixel searched against
// all 256 palette entries (nearest by squared distance, the lowest index on a tie), one core.
void BM_To8BitWholePaletteSearch(benchmark::State& s) {
    onFreshCopy(s, [](Bitmap& b) {
        Bitmap out(b.width(), b.height(), PixelFormat::pf8bit);
        const std::uint32_t* pal = raster::halftoneNative();
        for (int y = 0; y < b.height(); ++y) {
            const std::uint8_t* src = b.scanLine(y);
            std::uint8_t* dst = out.scanLine(y);
            for (int x = 0; x < b.width(); ++x, src += 3) {
                int best = 0, bestD = INT_MAX;
                for (int i = 0; i < 256; ++i) {
                    const int dr = int(src[2]) - int((pal[i] >> 16) & 0xFF);
                    const int dg = int(src[1]) - int((pal[i] >> 8) & 0xFF);
                    const int db = int(src[0]) - int(pal[i] & 0xFF);
                    const int d = dr * dr + dg * dg + db * db;
                    if (d < bestD) bestD = d, best = i;
                }
                dst[x] = static_cast<std::uint8_t>(best);
            }
        }
        benchmark::DoNotOptimize(out.scanLine(0));
    });
}
// The distortions, each as its menu command runs it on a fresh 24-bit copy of the image
// (the copy is made outside the timing). The second argument caps the bands the rows are
// split into: 1 is a single pass, 0 one band per core.
template <class F>
void distortion(benchmark::State& state, F f) {
    parallel::bandLimit() = static_cast<int>(state.range(1));
    onFreshCopy(state, f);
    parallel::bandLimit() = 0;
}
const WhirlTable& whirlTable() {
    static const WhirlTable t = makeWhirlTable();
    return t;
}
void BM_Rotate30(benchmark::State& s) { distortion(s, [](Bitmap& b) { rotate(b, RotateParams{30}); }); }
void BM_WhirlIn(benchmark::State& s) { distortion(s, [](Bitmap& b) { whirl(b, 0, whirlTable()); }); }
void BM_Globe(benchmark::State& s) { distortion(s, [](Bitmap& b) { globe(b, ProjectionParams{}); }); }
void BM_CylinderVertical(benchmark::State& s) { distortion(s, [](Bitmap& b) { cylinder(b, false, ProjectionParams{}); }); }
void BM_FlipRight(benchmark::State& s) { distortion(s, [](Bitmap& b) { flip(b, Direction::Right); }); }
void BM_Pixelize10(benchmark::State& s) { distortion(s, [](Bitmap& b) { pixelize(b, 10); }); }
void BM_QuickBackground(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    generators::QBSettings s;
    s.function = {0, 1, 25};  // Prod, Sum, InModOut
    for (auto _ : state) benchmark::DoNotOptimize(generators::renderBackground(s, size, size));
    setBytes(state, size);
}

// ImageMagick on the same image: `convert FILE -bench N OP null:` repeats the operator only;
// the best iterations-per-second figure (any thread count) becomes the time per run.
struct MagickImage {
    QTemporaryDir dir;
    std::string path;
    MagickImage() {
        path = QDir(dir.path()).filePath(QStringLiteral("bench.ppm")).toStdString();
        source(4096).toImage().save(QString::fromStdString(path));
    }
};

double magickSecondsPerRun(const std::string& op) {
    static MagickImage image;
    const std::string cmd = "convert -limit memory 2GiB -limit map 4GiB '" + image.path + "' -bench 3 " + op + " null: 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    if (!pipe) return -1;
    std::string out;
    char buf[512];
    while (fgets(buf, sizeof buf, pipe.get())) out += buf;
    const std::regex ips(R"(([0-9.]+)ips)");
    double best = 0;
    for (auto it = std::sregex_iterator(out.begin(), out.end(), ips); it != std::sregex_iterator(); ++it)
        best = std::max(best, std::stod((*it)[1].str()));
    return best > 0 ? 1.0 / best : -1;
}

void BM_ImageMagick(benchmark::State& state, const char* op) {
    for (auto _ : state) {
        const double t = magickSecondsPerRun(op);
        if (t < 0) {
            state.SkipWithError("convert -bench did not run");
            return;
        }
        state.SetIterationTime(t);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 4096 * 4096 * 3);
}

}  // namespace

#define SIZES ->Arg(256)->Arg(4096)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Invert) SIZES;
BENCHMARK(BM_InvertDevice) SIZES;
BENCHMARK(BM_Grayscale) SIZES;
BENCHMARK(BM_SwapRG24) SIZES;
BENCHMARK(BM_Contrast50) SIZES;
BENCHMARK(BM_Saturation50) SIZES;
BENCHMARK(BM_Brightness50) SIZES;
BENCHMARK(BM_GaussianBlur0) SIZES;
BENCHMARK(BM_GaussianBlur20) SIZES;
BENCHMARK(BM_SplitBlur10) SIZES;
BENCHMARK(BM_Smooth10) SIZES;
BENCHMARK(BM_ColorNoise100) SIZES;
BENCHMARK(BM_ContourAccent) SIZES;
BENCHMARK(BM_AntiAlias) SIZES;
BENCHMARK(BM_Trace) SIZES;
BENCHMARK(BM_Trace8BitOnly) SIZES;
BENCHMARK(BM_To8Bit) SIZES;
BENCHMARK(BM_To8BitWholePaletteSearch) SIZES;
BENCHMARK(BM_QuickBackground) SIZES;
#define BANDS ->Args({4096, 1})->Args({4096, 0})->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Rotate30) BANDS;
BENCHMARK(BM_WhirlIn) BANDS;
BENCHMARK(BM_Globe) BANDS;
BENCHMARK(BM_CylinderVertical) BANDS;
BENCHMARK(BM_FlipRight) BANDS;
BENCHMARK(BM_Pixelize10) BANDS;
BENCHMARK_CAPTURE(BM_ImageMagick, negate, "-negate")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImageMagick, colorspace_gray, "-colorspace Gray")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImageMagick, blur_0x3, "-blur 0x3")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
// The distortions' counterparts: ImageMagick's own operators as asked for (it rotates into a
// larger frame, and interpolates), and the same operators held to the nearest source pixel
// and a white outside, which is what the program's resampling does.
#define MAGICK(name, op) BENCHMARK_CAPTURE(BM_ImageMagick, name, op)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond)
MAGICK(rotate_30, "-rotate 30");
MAGICK(distort_SRT_30_nearest, "-interpolate nearest-neighbor -virtual-pixel white -distort SRT 30");
MAGICK(swirl_90, "-swirl 90");
MAGICK(swirl_90_nearest, "-interpolate nearest-neighbor -swirl 90");
MAGICK(implode_0_5, "-implode 0.5");
MAGICK(implode_0_5_nearest, "-interpolate nearest-neighbor -implode 0.5");
MAGICK(flop, "-flop");
// The colour effects' nearest operators: Brightness, Contrast, Saturation, a channel swap and
// uniform noise (ImageMagick's noise is per channel, as Colour Noise is).
MAGICK(brightness_contrast_50x0, "-brightness-contrast 50x0");
MAGICK(brightness_contrast_0x50, "-brightness-contrast 0x50");
MAGICK(modulate_saturation_150, "-modulate 100,150");
MAGICK(separate_swap_combine_rg, "-separate -swap 0,1 -combine");
MAGICK(noise_uniform, "+noise Uniform");
// Smooth 10's kernel: the four neighbours and ten times the pixel, over 14.
MAGICK(convolve_3x3, "-define convolve:scale=! -morphology Convolve 3x3:0,1,0,1,10,1,0,1,0");

BENCHMARK_MAIN();
