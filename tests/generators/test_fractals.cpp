// Quick Fractals: the escape rule and its colour index, the picture's rows over the cores, a
// stop, refused sizes and input, and the preset lines.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "../common/TestSupport.h"
#include "core/Parallel.h"
#include "generators/Fractals.h"

using namespace pixoral;
using namespace pixoral::generators;

namespace {

// The byte of pixel (x, y) of a fractal of the workspace's starting size.
int indexAt(const FractalSettings& s, int x, int y, int w = 256, int h = 256) {
    Bitmap out;
    EXPECT_EQ(renderFractal(s, w, h, out), FractalResult::Done);
    EXPECT_EQ(out.pixelFormat(), PixelFormat::pf8bit);
    return out.scanLine(y)[x];
}

FractalSettings julia() {
    FractalSettings s;
    s.mandel = false;
    return s;
}

struct BandLimit {
    explicit BandLimit(int n) { parallel::bandLimit() = n; }
    ~BandLimit() { parallel::bandLimit() = 0; }
};

}  // namespace

TEST(Fractals, IndexScalesTheEscapeCountToTheColoursHalvesToEven) {
    struct Case {
        int e, n, c, index;
    } cases[] = {
        {16, 16, 16, 0},  // never escaped
        {1, 16, 16, 1},  {8, 16, 16, 8},  {8, 16, 64, 32}, {0, 16, 16, 0},
        {5, 32, 16, 2},   // 2.5 goes down to even
        {7, 32, 16, 4},   // 3.5 goes up to even
        {1, 64, 16, 0},   // 0.25
        {63, 64, 64, 63}, {999, 1000, 255, 255},  // 254.7: the top index is c itself
    };
    for (const Case& c : cases) EXPECT_EQ(fractalIndex(c.e, c.n, c.c), c.index) << c.e << " " << c.n << " " << c.c;
}

TEST(Fractals, PixelsOfTheDefaultsAndTheirEdgeCases) {
    FractalSettings flat;
    flat.x1 = flat.x0;  // every column the same x
    struct Case {
        const char* what;
        FractalSettings s;
        int x, y, index;
    } cases[] = {
        {"corner C = -2.25 - 1.5i escapes at k = 2", {}, 0, 0, 1},
        {"C = 0 is in the set", {}, 192, 128, 0},
        {"Julia: |z|^2 >= 4 escapes at k = 1, like the set", julia(), 0, 0, 0},
        {"Julia of i: z = 0 stays bounded", julia(), 192, 128, 0},
        {"Julia of i: z = 0.75i escapes", julia(), 192, 192, fractalIndex(fractalEscape(0, 0.75, 0, 1, 16), 16, 16)},
    };
    for (const Case& c : cases) EXPECT_EQ(indexAt(c.s, c.x, c.y), c.index) << c.what;
    // The escape count of the corner, and the last column: X0 + 255 dx, X1 never sampled.
    EXPECT_EQ(fractalEscape(0, 0, -2.25, -1.5, 16), 1);
    EXPECT_EQ(indexAt({}, 255, 128), fractalIndex(fractalEscape(0, 0, -2.25 + 255 * (3.0 / 256), 0, 16), 16, 16));

    Bitmap bands;
    ASSERT_EQ(renderFractal(flat, 64, 64, bands), FractalResult::Done);
    for (int y = 0; y < 64; ++y)
        for (int x = 1; x < 64; ++x) ASSERT_EQ(bands.scanLine(y)[x], bands.scanLine(y)[0]) << x << "," << y;
}

TEST(Fractals, OneBandAndManyBandsGiveTheSameBytes) {
    FractalSettings rabbit = julia();
    rabbit.juliaRe = -0.123;
    rabbit.juliaIm = 0.745;
    rabbit.iterations = 200;
    rabbit.colors = 64;
    for (const FractalSettings& s : {FractalSettings{}, rabbit}) {
        Bitmap one, many;
        {
            BandLimit limit(1);
            ASSERT_EQ(renderFractal(s, 301, 1203, one), FractalResult::Done);
        }
        {
            BandLimit limit(7);
            ASSERT_EQ(renderFractal(s, 301, 1203, many), FractalResult::Done);
        }
        EXPECT_TRUE(samePixels(one, many));
    }
}

TEST(Fractals, AStopOrARefusalLeavesThePictureAsItWas) {
    const double inf = std::numeric_limits<double>::infinity();
    auto with = [](auto change) {
        FractalSettings s;
        change(s);
        return s;
    };
    struct Case {
        const char* what;
        FractalSettings s;
        int w, h;
        FractalResult result;
    } cases[] = {
        {"zero width", {}, 0, 10, FractalResult::TooLarge},
        {"side above the limit", {}, kMaxBitmapSide + 1, 1, FractalResult::TooLarge},
        {"too many pixels", {}, 20000, 20000, FractalResult::TooLarge},
        {"no iterations", with([](auto& s) { s.iterations = 0; }), 8, 8, FractalResult::BadInput},
        {"more colours than a byte", with([](auto& s) { s.colors = 256; }), 8, 8, FractalResult::BadInput},
        {"infinite corner", with([&](auto& s) { s.x0 = -inf; }), 8, 8, FractalResult::BadInput},
        {"step overflows", with([](auto& s) { s.x0 = -1e308, s.x1 = 1e308; }), 8, 8, FractalResult::BadInput},
        {"Julia constant not a number", with([](auto& s) { s.mandel = false, s.juliaIm = std::nan(""); }), 8, 8,
         FractalResult::BadInput},
    };
    const Bitmap before(5, 3);
    for (const Case& c : cases) {
        Bitmap out = before;
        EXPECT_EQ(renderFractal(c.s, c.w, c.h, out), c.result) << c.what;
        EXPECT_TRUE(samePixels(out, before)) << c.what;
        EXPECT_FALSE(fractalResultMessage(c.result, c.w, c.h).isEmpty()) << c.what;
    }

    // Progress comes slice by slice up to the last row; false at the second slice stops.
    QList<int> seen;
    Bitmap out = before;
    EXPECT_EQ(renderFractal({}, 1000, 1100, out,
                            [&](int done, int rows) {
                                EXPECT_EQ(rows, 1100);
                                seen << done;
                                return seen.size() < 2;
                            }),
              FractalResult::Stopped);
    EXPECT_TRUE(samePixels(out, before));
    ASSERT_EQ(seen.size(), 2);
    EXPECT_LT(seen[0], seen[1]);
    seen.clear();
    EXPECT_EQ(renderFractal({}, 1000, 1100, out, [&](int done, int) { return seen << done, true; }),
              FractalResult::Done);
    EXPECT_EQ(seen.last(), 1100);
}

TEST(Fractals, EditsAreDecimalNumbers) {
    struct Case {
        QString text;
        bool mandel;
        int edit;
        bool ok;
    } cases[] = {
        {" 0.5 ", true, 0, true}, {"1e-3", true, 3, true},  {"abc", true, 1, false}, {"", true, 2, false},
        {"1e400", true, 0, false}, {"nan", true, 0, false}, {"inf", true, 3, false},
        {"x", true, 4, true},    // the Julia constant is not read for the Mandelbrot set
        {"x", false, 5, false}, {"-0.123", false, 4, true},
    };
    for (const Case& c : cases) {
        FractalFields f = defaultFractalFields();
        f.mandel = c.mandel;
        f.edits[c.edit] = c.text;
        EXPECT_EQ(fractalSettings(f).has_value(), c.ok) << c.text.toStdString() << " in " << c.edit;
    }
    const FractalSettings d = *fractalSettings(defaultFractalFields());
    EXPECT_EQ(d.x0, -2.25);
    EXPECT_EQ(d.y1, 1.5);
    EXPECT_TRUE(d.mandel);
}

TEST(Fractals, PresetLines) {
    FractalFields rabbit = defaultFractalFields();
    rabbit.edits = {"-1.5", "-1.5", "1.5", "1.5", "-0.123", "0.745"};
    rabbit.mandel = false;
    rabbit.iterations = 64;
    rabbit.colors = 32;
    const auto value = fractalPresetValue(rabbit);
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, "-1.5,-1.5,1.5,1.5,julia,64,32,-0.123,0.745");
    FractalFields back = defaultFractalFields();
    EXPECT_TRUE(readFractalPreset(*value, back));
    EXPECT_EQ(back.edits, rabbit.edits);
    EXPECT_EQ(back.mandel, rabbit.mandel);
    EXPECT_EQ(back.iterations, 64);
    EXPECT_EQ(back.colors, 32);

    rabbit.edits[2] = "1,5";
    EXPECT_FALSE(fractalPresetValue(rabbit));

    struct Case {
        QString value;
        bool ok;
        QString x1;  // the third edit afterwards
        bool mandel;
        int iterations, colors;
        QString juliaIm;
    } cases[] = {
        {"-2,-1,1,1,mandel,20,30", true, "1", true, 20, 30, "1"},        // the old form: C = i
        {"-2,-1,1,1,Mandel,5,100", true, "1", false, 16, 64, "1"},       // exact word; clamped
        {"-2,-1,1,1,julia,20,30,0.3,-0.5", true, "1", false, 20, 30, "-0.5"},
        {"-2,-1,7", false, "7", true, 16, 16, "1"},                      // cut short: X0..X1 set
        {"-2,-1,1,1,julia,many,30", false, "1", false, 16, 16, "1"},      // bad count
        {"-2,-1,1,1,julia,20,30,0.3", false, "1", false, 20, 30, "1"},    // half a constant
    };
    for (const Case& c : cases) {
        FractalFields f = defaultFractalFields();
        EXPECT_EQ(readFractalPreset(c.value, f), c.ok) << c.value.toStdString();
        EXPECT_EQ(f.edits[2], c.x1) << c.value.toStdString();
        EXPECT_EQ(f.mandel, c.mandel) << c.value.toStdString();
        EXPECT_EQ(f.iterations, c.iterations) << c.value.toStdString();
        EXPECT_EQ(f.colors, c.colors) << c.value.toStdString();
        EXPECT_EQ(f.edits[5], c.juliaIm) << c.value.toStdString();
    }

    // The shipped presets all load and compute.
    PresetFile shipped(fractalPresetsPath(QStringLiteral(PIXORAL_DATA_DIR)), kFractalPresetsKind);
    ASSERT_TRUE(shipped.load());
    EXPECT_GE(shipped.count(), 8);
    for (int i = 0; i < shipped.count(); ++i) {
        FractalFields f;
        ASSERT_TRUE(readFractalPreset(shipped.value(i), f)) << shipped.lines()[i].toStdString();
        const auto s = fractalSettings(f);
        ASSERT_TRUE(s) << shipped.lines()[i].toStdString();
        Bitmap out;
        EXPECT_EQ(renderFractal(*s, 16, 16, out), FractalResult::Done);
    }
}
