#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "generators/View3D.h"
#include "../common/TestSupport.h"

using namespace pixoral;
using namespace pixoral::generators;

namespace {

// A 101 by 101 canvas: W' = H' = 100, so with Window (0, 1, 0, 1) and no transform an eye
// point (x, y, z) lands on column 50 + 50 x/z and row 50 - 50 y/z (rows counted from the top).
struct Pen101 {
    Bitmap bmp{101, 101};
    QStringList errors;
    TViewPen pen{bmp.canvas(), [this](const QString& e) { errors << e; }};
};

}  // namespace

TEST(View3D, DefuzzRotationsAndSizeErrors) {
    EXPECT_EQ(Defuzz(5e-7), 0.0);
    EXPECT_EQ(Defuzz(-5e-7), 0.0);
    EXPECT_EQ(Defuzz(2e-6), 2e-6);
    // A quarter turn has exact zeros, and negating the angle is turning the other way.
    const TMatrix q = RotateMatrix(3, Axis::Z, false, std::numbers::pi / 2);
    const TVector p = Transform(Vector3D(1, 0, 0), q);
    EXPECT_EQ(p.c, (std::array<double, 4>{0, -1, 0, 1}));
    for (double phi : {0.3, 1.2, -2.0}) {
        EXPECT_EQ(RotateMatrix(3, Axis::X, true, phi).m, RotateMatrix(3, Axis::X, false, -phi).m) << phi;
    }
    // Translate then scale, applied in that order to a row vector.
    const TMatrix ts = MultiplyMatrices(TranslateMatrix(Vector3D(1, 2, 3)), ScaleMatrix(Vector3D(2, 2, 2)));
    EXPECT_EQ(Transform(Vector3D(0, 0, 0), ts).c, (std::array<double, 4>{2, 4, 6, 1}));
    EXPECT_EQ(ToCartesian(CoordinateSystem::Spherical, Vector3D(2, 0, std::numbers::pi / 2)).c,
              (std::array<double, 4>{2, 0, 2 * std::cos(std::numbers::pi / 2), 1}));

    struct Case {
        const char* what;
        std::function<void()> call;
        const char* message;
    };
    const Case cases[] = {
        {"add 2-D to 3-D", [] { AddVectors(Vector2D(1, 2), Vector3D(1, 2, 3)); }, "Vector Addition Mismatch"},
        {"transform size", [] { Transform(Vector2D(1, 2), ScaleMatrix(Vector3D(1, 1, 1))); }, "Transform multiply error"},
        {"multiply sizes", [] { MultiplyMatrices(ScaleMatrix(Vector2D(1, 1)), ScaleMatrix(Vector3D(1, 1, 1))); },
         "MultiplyMatrices error"},
        {"2-D about X", [] { RotateMatrix(2, Axis::X, false, 1); }, "Invalid 2D rotation matrix.  Specify axisZ"},
        {"2-D about Y", [] { RotateMatrix(2, Axis::Y, false, 1); }, "Invalid 2D rotation matrix.  Specify axisZ"},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.what << " did not fail";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
    }
}

TEST(View3D, PerspectiveOfKnownPoints) {
    struct Case {
        TVector eye;
        Point pixel;  // canvas column and row
    };
    const Case cases[] = {
        {Vector3D(0, 0, 1), {50, 50}},
        {Vector3D(1, 1, 2), {75, 25}},
        {Vector3D(0.5, -0.5, 1), {75, 75}},
        {Vector3D(-1, -1, 1), {0, 100}},
        {Vector3D(3, 4, 5e-7), {50, 50}},       // z about 0: the window centre
        {Vector3D(-0.75, 0, 1), {12, 50}},      // 12.5: halves go to the even neighbour
        {Vector3D(-0.73, 0, 1), {14, 50}},      // 13.5
    };
    Pen101 f;
    for (const Case& c : cases) {
        const Point p = f.pen.pixelOf(c.eye);
        EXPECT_EQ(p.x, c.pixel.x) << c.eye.x() << "," << c.eye.y() << "," << c.eye.z();
        EXPECT_EQ(p.y, c.pixel.y) << c.eye.x() << "," << c.eye.y() << "," << c.eye.z();
    }
    // The full viewport of a 394 by 394 canvas spans columns 0 to 393, world y upward.
    Bitmap big(394, 394);
    TViewPen pen(big.canvas());
    EXPECT_EQ(pen.pixelOf(Vector3D(-1, -1, 1)), (Point{0, 393}));
    EXPECT_EQ(pen.pixelOf(Vector3D(1, 1, 1)), (Point{393, 0}));
}

TEST(View3D, ClippingAgainstTheViewPyramid) {
    struct Case {
        const char* what;
        TVector a, b;
        bool drawn;
        Point from, to;  // the first pixel drawn and the pen's pixel afterwards (canvas rows)
    };
    const Case cases[] = {
        {"inside", Vector3D(-0.5, 0, 1), Vector3D(0.5, 0, 1), true, {25, 50}, {75, 50}},
        {"both left of x = -z", Vector3D(-3, 0, 1), Vector3D(-2, 0.5, 1), false, {}, {}},
        {"both above y = z", Vector3D(-0.5, 2, 1), Vector3D(0.5, 3, 1), false, {}, {}},
        {"crossing left", Vector3D(-2, 0, 1), Vector3D(0, 0, 1), true, {0, 50}, {50, 50}},
        {"crossing right", Vector3D(0, 0, 1), Vector3D(2, 0, 1), true, {50, 50}, {100, 50}},
        {"crossing bottom", Vector3D(0, -2, 1), Vector3D(0, 0, 1), true, {50, 100}, {50, 50}},
        {"crossing top", Vector3D(0, 0, 1), Vector3D(0, 3, 1), true, {50, 50}, {50, 0}},
        {"through a corner", Vector3D(-2, -2, 1), Vector3D(0, 0, 1), true, {0, 100}, {50, 50}},
        {"huge end", Vector3D(0, 0, 1), Vector3D(1e300, 0, 1), true, {50, 50}, {100, 50}},
        {"not a number", Vector3D(0, 0, 1), Vector3D(NAN, 0, 1), false, {}, {}},
    };
    for (const Case& c : cases) {
        Pen101 f;
        f.pen.MoveTo(c.a);
        f.pen.LineTo(c.b);
        const bool drawn = countPixels(f.bmp, clWhite) < 101 * 101;
        EXPECT_EQ(drawn, c.drawn) << c.what;
        if (!c.drawn) continue;
        EXPECT_EQ(f.bmp.pixel(c.from.x, c.from.y), clBlack) << c.what;
        const Point to = f.pen.penPixel();
        EXPECT_EQ((Point{to.x, 100 - to.y}), c.to) << c.what;
    }
    // A line from a point that was not a number draws nothing either.
    Pen101 f;
    f.pen.MoveTo(Vector3D(INFINITY, 0, 1));
    f.pen.LineTo(Vector3D(0, 0, 1));
    EXPECT_TRUE(allPixels(f.bmp, clWhite));
    // A polyline through such a point has a gap there, not a line across it.
    Pen101 g;
    g.pen.MoveTo(Vector3D(-0.5, 0, 1));
    g.pen.LineTo(Vector3D(NAN, 0, 1));
    g.pen.LineTo(Vector3D(0, 0, 1));
    g.pen.LineTo(Vector3D(0.5, 0, 1));
    EXPECT_EQ(g.bmp.pixel(30, 50), clWhite);
    EXPECT_EQ(g.bmp.pixel(60, 50), clBlack);
}

TEST(View3D, ViewTransformLooksAtTheOrigin) {
    // From the front (azimuth 0, elevation 0): world x to the right, z up, the origin ahead.
    const TMatrix front = ViewTransformMatrix(CoordinateSystem::Spherical, 0, 0, 10, 2, 2, 1);
    EXPECT_EQ(Transform(Vector3D(1, 0, 1), front).c, (std::array<double, 4>{1, 1, 10, 1}));
    // Elevation 90 looks straight down: world y up the screen, x to the right.
    const TMatrix down = ViewTransformMatrix(CoordinateSystem::Spherical, 0, ToRadians(90), 10, 2, 2, 1);
    EXPECT_EQ(Transform(Vector3D(1, 2, 0), down).c, (std::array<double, 4>{1, 2, 10, 1}));
    // Azimuth 0 and 360 are the same view.
    const TMatrix a0 = ViewTransformMatrix(CoordinateSystem::Spherical, 0, ToRadians(45), 11, 10, 10, 30);
    const TMatrix a360 = ViewTransformMatrix(CoordinateSystem::Spherical, ToRadians(360), ToRadians(45), 11, 10, 10, 30);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a0.m[i][j], a360.m[i][j], 1e-9) << i << "," << j;
    // The Cartesian eye at (0, -10, 0) is the spherical one from the front.
    const TMatrix cart = ViewTransformMatrix(CoordinateSystem::Cartesian, 0, -10, 0, 2, 2, 1);
    EXPECT_EQ(cart.m, front.m);
}

TEST(View3D, DegenerateViewsAndWindowsAreRefused) {
    struct View {
        CoordinateSystem system;
        double a, e, d, w, h, s;
    };
    const auto S = CoordinateSystem::Spherical, C = CoordinateSystem::Cartesian;
    const View views[] = {
        {S, 0, 0, 0, 10, 10, 30},      // eye at the target
        {S, 0, 0, 11, 0, 10, 30},      // no screen
        {S, 0, 0, 11, 10, 10, 0},      // screen at the eye
        {S, NAN, 0, 11, 10, 10, 30},   // not a number
        {S, 0, 0, 11, 1e-308, 10, 1e308},  // too large to scale
        {C, 0, 0, 5, 10, 10, 30},      // straight above: no direction about z
        {C, 0, 0, 0, 10, 10, 30},      // at the target
    };
    for (const View& v : views)
        EXPECT_THROW(ViewTransformMatrix(v.system, v.a, v.e, v.d, v.w, v.h, v.s), EMatrixError) << v.d << " " << v.w;

    Pen101 f;
    EXPECT_THROW(f.pen.Window(1, 1, 0, 1), EGraphicsError);
    EXPECT_THROW(f.pen.Window(0, 1, 0, NAN), EGraphicsError);
    EXPECT_THROW(f.pen.Viewport(0.5, 0.25, 0, 1), EGraphicsError);
    EXPECT_THROW(f.pen.Viewport(0, 1, 0, 1.5), EGraphicsError);
    ASSERT_EQ(f.errors.size(), 4);
    EXPECT_EQ(f.errors[0], "Window parameter error(s):\nxMin =1.00  xMax =1.00  \nyMin =0.00  yMax =1.00");
    EXPECT_EQ(f.errors[2], "View parameter error(s):\nxMin =0.50  xMax =0.25  \nyMin =0.00  yMax =1.00");
    // The refused window left the old one: the centre still lands in the middle.
    EXPECT_EQ(f.pen.pixelOf(Vector3D(0, 0, 1)), (Point{50, 50}));
}
