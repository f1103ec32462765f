#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "expr/TParser.h"
#include "generators/Surf3D.h"
#include "../common/TestSupport.h"

using namespace pixoral;
using namespace pixoral::generators;

namespace {

struct Made {
    SurfaceGrid z{};
    QStringList errors;
};
Made surfaceOf(const QString& fx, const QString& fy) {
    TParser px, py;
    Made m;
    m.errors = makeSurface(px, py, fx, fy, m.z);
    return m;
}

}  // namespace

TEST(Quick3DSurface, GridValuesHolesAndErrors) {
    struct Case {
        const char* fx;
        const char* fy;
        int i, j;       // x = i/10 - 2, y = j/10 - 2
        double z;       // NaN: a hole
        QStringList errors;
    };
    const Case cases[] = {
        {"sqr(x)", "sqr(y)", 30, 25, 0.3, {}},   // 1 * 0.5 * (1 - 0.25) / 1.25
        {"sqr(x)", "sqr(y)", 20, 20, 0.0, {}},   // f + g about 0 at the centre
        {"sqr(x)", "sqr(y)", 0, 40, 0.0, {}},    // x = -2, y = 2: f = g
        {"0", "0", 7, 33, 0.0, {}},              // a flat grid
        {"1", "0", 40, 30, 2.0, {}},             // z = x y
        {"sqr(x", "sqr(y)", 30, 25, -0.5, {"Error in f(x)"}},  // f counts as 0: z = -x y
        {"sqr(x)", "", 30, 25, 0.5, {"Error in f(y)"}},        // a blank f(y) too: z = x y
        {"a b", "?", 30, 25, 0.0, {"Error in f(x)", "Error in f(y)"}},
        {"sqrt(x)", "1", 10, 25, NAN, {}},        // no square root of -1: a hole
        {"sqrt(x)", "1", 30, 25, 0.0, {}},        // f = g = 1 at x = 1
        {"1/x", "0", 20, 25, NAN, {}},            // division by zero at x = 0
        {"intpower(2,1/x)", "0", 20, 25, NAN, {}},  // an integer fault at x = 0 is a hole too
    };
    for (const Case& c : cases) {
        const Made m = surfaceOf(QString::fromLatin1(c.fx), QString::fromLatin1(c.fy));
        const std::string what = std::string(c.fx) + " | " + c.fy;
        EXPECT_EQ(m.errors, c.errors) << what;
        const double z = m.z[c.i][c.j];
        if (std::isnan(c.z)) {
            EXPECT_TRUE(std::isnan(z)) << what << " gives " << z;
        } else {
            EXPECT_NEAR(z, c.z, 1e-9) << what;
        }
    }
    const Made flat = surfaceOf("0", "0");
    for (const auto& column : flat.z)
        for (double z : column) ASSERT_EQ(z, 0.0);
}

TEST(Quick3DDrawing, FiguresDrawTheirColoursAndTheFillKeepsClosedCells) {
    struct Case {
        Surf3DFigure figure;
        std::vector<TColor> colours;  // pens the picture must show
    };
    const Case cases[] = {
        {Surf3DFigure::Cube, {0x0000FF}},
        {Surf3DFigure::Sphere, {0xFF0000, 0x00FF00}},
        {Surf3DFigure::SphereInCube, {0x0000FF, 0xFF0000, 0x00FF00}},
        {Surf3DFigure::Surface, {0xFF0000}},
        {Surf3DFigure::FootballField, {0x00FF00, 0x800080, 0x808080}},
    };
    const Made saddle = surfaceOf("1", "0");
    for (const Case& c : cases) {
        Bitmap pic(kSurf3DPictureSide, kSurf3DPictureSide);
        Surf3DScene scene;
        scene.figure = c.figure;
        scene.view = figureView(c.figure);
        QString error;
        ASSERT_TRUE(drawSurf3D(pic, scene, saddle.z, &error)) << error.toStdString();
        const int index = static_cast<int>(c.figure);
        for (TColor col : c.colours) EXPECT_GT(countPixels(pic, col), 20) << index << " " << std::hex << col;
        EXPECT_EQ(pic.pixel(0, 0), clWhite) << index;

        // With "use color" the outside takes the background and the closed cells keep the
        // foreground.
        scene.useColor = true;
        scene.foreground = kStandardColors[11];
        scene.background = kStandardColors[4];
        ASSERT_TRUE(drawSurf3D(pic, scene, saddle.z, &error));
        EXPECT_EQ(pic.pixel(5, 5), kStandardColors[4]) << index;
        EXPECT_EQ(pic.pixel(kSurf3DPictureSide - 1, 0), kStandardColors[4]) << index;
        EXPECT_GT(countPixels(pic, kStandardColors[11]), 50) << index;
    }

    // Azimuth 0 and 360 give the same picture; the views are kept within the spin ranges.
    Surf3DScene s0, s360;
    s360.view.azimuth = 360;
    s0.view.azimuth = 0;
    Bitmap a(kSurf3DPictureSide, kSurf3DPictureSide), b(kSurf3DPictureSide, kSurf3DPictureSide);
    drawSurf3D(a, s0, saddle.z);
    drawSurf3D(b, s360, saddle.z);
    EXPECT_TRUE(samePixels(a, b));
    EXPECT_EQ(clampedView({-5, 100, 0, 0, 1000}), (Surf3DView{0, 90, 2, 1, 100}));
}

TEST(Quick3DPresets, LinesRoundTripAndTheShippedOnesParse) {
    const auto e = surf3DPresetExpressions(PresetFile::valueOf("Ripple=sin(x)|cos(y)"));
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->fx, "sin(x)");
    EXPECT_EQ(e->fy, "cos(y)");
    EXPECT_FALSE(surf3DPresetExpressions("sin(x)").has_value());
    EXPECT_EQ(surf3DPresetExpressions("a|b|c")->fy, "b|c");

    QTemporaryDir dir;
    const QString path = surf3DPresetsPath(dir.path());
    {
        PresetFile f(path, kSurf3DPresetsKind);
        ASSERT_TRUE(f.add("Wave", surf3DPresetValue("sin(x)", "1")).changed());
        ASSERT_TRUE(f.add("Flat", surf3DPresetValue("0", "0")).changed());
        EXPECT_EQ(f.add("wave", surf3DPresetValue("1", "1")).outcome, PresetFile::Outcome::Duplicate);
    }
    EXPECT_EQ(readAll(path), QByteArray("Wave=sin(x)|1\nFlat=0|0\n"));  // in the order of entry
    PresetFile back(path, kSurf3DPresetsKind);
    ASSERT_TRUE(back.load());
    EXPECT_EQ(back.names(), (QStringList{"Wave", "Flat"}));

    PresetFile shipped(surf3DPresetsPath(QStringLiteral(PIXORAL_DATA_DIR)), kSurf3DPresetsKind);
    ASSERT_TRUE(shipped.load());
    EXPECT_GE(shipped.count(), 4);
    for (int i = 0; i < shipped.count(); ++i) {
        const auto x = surf3DPresetExpressions(shipped.value(i));
        ASSERT_TRUE(x.has_value()) << shipped.lines()[i].toStdString();
        const Made m = surfaceOf(x->fx, x->fy);
        EXPECT_TRUE(m.errors.isEmpty()) << shipped.lines()[i].toStdString();
    }
}
