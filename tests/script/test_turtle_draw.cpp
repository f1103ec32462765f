// The drawing commands: turtle motion and state, queries, pen/brush/font/copy-mode settings,
// host requests and the pixels the shapes, text and copies leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "TurtleEnv.h"
#include "script/TurtleWords.h"
#include "../common/TestSupport.h"

using namespace pixoral;
using pixoral::test::makeEnv;
using pixoral::test::TurtleEnv;

namespace {

using Box = PixelBox;

}  // namespace

TEST(TurtleKeywords, AllOneHundredAndTwoAreKnown) {
    EXPECT_EQ(turtle::kKeywordCount, 102);
    for (int i = 0; i < turtle::kKeywordCount; ++i) {
        const QString w = QString::fromLatin1(turtle::kKeywordNames[i]);
        EXPECT_EQ(turtle::keywordIndex(w), i) << turtle::kKeywordNames[i];
        // A word that is no keyword is called as a procedure and leaves a return entry;
        // a keyword never does (only "do" pushes, and it needs its count).
        if (w == "do") continue;
        auto e = makeEnv();
        e->run(turtle::kKeywordNames[i]);
        EXPECT_EQ(e->t.returnStackDepth(), 0) << turtle::kKeywordNames[i];
    }
    EXPECT_EQ(turtle::keywordIndex(u"Go"), -1);  // keywords are case-sensitive
    EXPECT_EQ(turtle::keywordIndex(u"GO"), -1);
}

TEST(TurtleMotion, PositionHeadingAndPen) {
    struct Case {
        const char* script;
        int x, y;
        double heading;
        bool pen;
    } cases[] = {
        {"down go 10", 10, 0, 0, true},
        {"down go 10 right 90 go 10", 10, 10, -90, true},
        {"down go 10 right 90 go 10 left 90", 10, 10, 0, true},
        {"angle 45 go 1", 1, -1, 45, false},
        {"angle 90 go 10", 0, -10, 90, false},
        {"angle 180 go 3", -3, 0, 180, false},
        {"pos 5 5 angle 60 go 1", 6, 4, 60, false},  // 5.5 rounds to the even 6
        {"pos 4 5 angle 60 go 1", 4, 4, 60, false},  // 4.5 rounds to the even 4
        {"go -7", -7, 0, 0, false},
        {"move 3 4 move -1 1", 2, 5, 0, false},
        {"lineto 5 6", 5, 6, 0, false},
        {"pos 10 10 mark pos 0 0 down gomark", 10, 10, 0, true},
        {"gocenter", 127, 127, 0, false},
        {"pos 3 4 goright", 255, 4, 0, false},
        {"pos 3 4 gobottom", 3, 255, 0, false},
        {"pos 3 4 goleft", 0, 4, 0, false},
        {"pos 3 4 gotop", 3, 0, 0, false},
        {"angle 30 polygon 5 20", 0, 0, 30, false},
        {"pos 40 40 down angle 30 star 5 20", 40, 40, 30, true},
        {"pos 40 40 star 7 20 star 12 5 polygon 300 1", 40, 40, 0, false},
        {"angle 10 diamond 10", 0, 0, -350, false},
        {"down diamond 10", 0, 0, -360, true},
        {"angle 45 markangle angle 0 gomarkangle", 0, 0, 45, false},
        {"pos 10 100 curve 0 -50 100 -50 100 0", 110, 100, 0, false},
        {"pos 1 2 rectangle 10 10 ellipse 5 5 roundrect 9 9 2 2 flood 1 1 text \"a\" textout \"b\"", 1, 2, 0, false},
        {"angle 2147483647 turn 2147483647", 0, 0, 4294967294.0, false},
        {"turn 5 left 5 right 20", 0, 0, -10, false},
        {"pos 2147483647 0 move 1 0", INT_MIN, 0, 0, false},
        {"pos 2147483647 -2147483648 go 1000000", INT_MIN + 999999, INT_MIN, 0, false},
        {"down up go 5", 5, 0, 0, false},
    };
    for (const auto& c : cases) {
        auto e = makeEnv();
        const auto r = e->run(c.script);
        EXPECT_EQ(r.message.toStdString(), "ready") << c.script;
        EXPECT_EQ(e->t.posX(), c.x) << c.script;
        EXPECT_EQ(e->t.posY(), c.y) << c.script;
        EXPECT_EQ(e->t.heading(), c.heading) << c.script;
        EXPECT_EQ(e->t.penDown(), c.pen) << c.script;
    }
}

TEST(TurtleMotion, FailingArgumentsChangeNothing) {
    const char* scripts[] = {"pos 5 x", "move 5 x", "lineto 5 x", "curve 1 2 3 4 5 x", "area 1 2 3 x copy",
                             "polygon 1 10", "star 13 10", "diamond x", "go x", "rectangle 5 x"};
    for (const char* s : scripts) {
        auto e = makeEnv();
        e->run("pos 7 9 angle 15");
        EXPECT_NE(e->t.RunScript(s).message, "ready") << s;
        EXPECT_EQ(e->t.posX(), 7) << s;
        EXPECT_EQ(e->t.posY(), 9) << s;
        EXPECT_EQ(e->t.heading(), 15.0) << s;
        EXPECT_EQ(e->countNot(clWhite), 0) << s;
    }
}

TEST(TurtleQueries, PushedValues) {
    struct Case {
        const char* script;
        std::vector<int> stack;
    } cases[] = {
        {"pos 3 -4 =posx =posy", {3, -4}},
        {"diamond 10 =angle", {-360}},
        {"angle 100 diamond 10 =angle", {-260}},
        {"pensize 7 =pensize", {7}},
        {"pencolor clred =pencolor", {255}},
        {"255 pencolor = =pencolor", {255}},
        {"pencolor $0000FF addpencolor 1 =pencolor", {0x100}},
        {"pencolor clwhite addpencolor clwhite =pencolor", {0x1FFFFFE}},
        {"brushcolor clblue =brushcolor", {0xFF0000}},
        {"brushcolor $FFFFFF addbrushcolor 1 =brushcolor", {0x1000000}},
        {"textcolor clgreen =textcolor", {0x8000}},
        {"textsize 13 =textsize", {13}},
        {"=left =top =right =bottom", {0, 0, 255, 255}},
        {"pos 7 8 mark pos 0 0 =markx =marky", {7, 8}},
    };
    for (const auto& c : cases) {
        auto e = makeEnv();
        const auto r = e->run(c.script);
        EXPECT_EQ(r.message.toStdString(), "ready") << c.script;
        EXPECT_EQ(e->t.numberStack(), c.stack) << c.script;
    }
}

TEST(TurtleSettings, PenModeWords) {
    struct Case {
        const char* word;
        PenMode mode;
    } cases[] = {
        {"black", PenMode::pmBlack},       {"Black", PenMode::pmBlack},
        {"white", PenMode::pmWhite},       {"nop", PenMode::pmNop},
        {"not", PenMode::pmNot},           {"copy", PenMode::pmCopy},
        {"notcopy", PenMode::pmNotCopy},   {"mergepennot", PenMode::pmMergePenNot},
        {"maskpennot", PenMode::pmMaskPenNot}, {"mergenotpen", PenMode::pmMergeNotPen},
        {"masknotpen", PenMode::pmMaskNotPen}, {"merge", PenMode::pmMerge},
        {"notmerge", PenMode::pmNotMerge}, {"mask", PenMode::pmMask},
        {"notmask", PenMode::pmNotMask},   {"xor", PenMode::pmXor},
        {"XOR", PenMode::pmXor},           {"NotXor", PenMode::pmNotXor},
    };
    for (const auto& c : cases) {
        auto e = makeEnv();
        e->canvas().pen().mode = PenMode::pmCopy == c.mode ? PenMode::pmXor : PenMode::pmCopy;
        EXPECT_EQ(e->run((std::string("penmode ") + c.word).c_str()).message, "ready") << c.word;
        EXPECT_EQ(e->canvas().pen().mode, c.mode) << c.word;
    }
}

TEST(TurtleSettings, CopyModeWords) {
    struct Case {
        const char* word;
        CopyMode mode;
    } cases[] = {
        {"blackness", 0x00000042},  {"dstinvert", 0x00550009},  {"mergecopy", 0x00C000CA},
        {"mergepaint", 0x00BB0226}, {"notsrccopy", 0x00330008}, {"notsrcerase", 0x001100A6},
        {"patcopy", 0x00F00021},    {"patinvert", 0x005A0049},  {"patpaint", 0x00FB0A09},
        {"srcand", 0x008800C6},     {"srccopy", 0x00CC0020},    {"SrcCopy", 0x00CC0020},
        {"srcerase", 0x00440328},   {"srcinvert", 0x00660046},  {"scrpaint", 0x00EE0086},
        {"ScrPaint", 0x00EE0086},   {"whiteness", 0x00FF0062},
    };
    for (const auto& c : cases) {
        auto e = makeEnv();
        e->canvas().setCopyMode(c.mode == cmWhiteness ? cmBlackness : cmWhiteness);
        EXPECT_EQ(e->run((std::string("copymode ") + c.word).c_str()).message, "ready") << c.word;
        EXPECT_EQ(e->canvas().copyMode(), c.mode) << c.word;
    }
    auto e = makeEnv();
    EXPECT_EQ(e->run("copymode srcpaint").message, "invalid copy mode");
    EXPECT_EQ(e->canvas().copyMode(), cmSrcCopy);
}

TEST(TurtleSettings, FontAndBrush) {
    auto e = makeEnv();
    e->canvas().font().style = fsStrikeOut;
    EXPECT_EQ(e->run("textfont \"Courier New\" textsize 12 textcolor clred bold italic underline").message, "ready");
    const Font& f = e->canvas().font();
    EXPECT_EQ(f.name, "Courier New");
    EXPECT_EQ(f.size, 12);
    EXPECT_EQ(f.color, clRed);
    EXPECT_EQ(f.style, unsigned(fsStrikeOut | fsBold | fsItalic | fsUnderline));
    EXPECT_EQ(e->run("normal").message, "ready");
    EXPECT_EQ(f.style, 0u);
    EXPECT_EQ(e->run("bsclear").message, "ready");
    EXPECT_EQ(e->canvas().brush().style(), BrushStyle::bsClear);
    EXPECT_EQ(e->run("bssolid").message, "ready");
    EXPECT_EQ(e->canvas().brush().style(), BrushStyle::bsSolid);
}

TEST(TurtleSettings, DefaultResetsPartOfTheState) {
    auto e = makeEnv();
    const char* setup =
        "pensize 5 penmode xor pos 3 4 angle 30 down pencolor clred brushcolor clblue bsclear "
        "copymode srcand mark area 1 2 3 4 markangle textsize 9 77 default";
    EXPECT_EQ(e->run(setup).message, "ready");
    const Canvas& c = e->canvas();
    EXPECT_EQ(e->t.heading(), 0.0);
    EXPECT_EQ(e->t.posX(), 0);
    EXPECT_EQ(e->t.posY(), 0);
    EXPECT_FALSE(e->t.penDown());
    EXPECT_EQ(c.pen().color, clBlack);
    EXPECT_EQ(c.brush().color(), clWhite);
    EXPECT_EQ(c.copyMode(), cmSrcCopy);
    EXPECT_EQ(e->t.markX(), 0);
    EXPECT_EQ(e->t.markY(), 0);
    EXPECT_EQ(e->t.area(), Rect{});
    // ... and leaves these alone.
    EXPECT_EQ(c.pen().width, 5);
    EXPECT_EQ(c.pen().mode, PenMode::pmXor);
    EXPECT_EQ(c.brush().style(), BrushStyle::bsClear);
    EXPECT_EQ(c.font().size, 9);
    EXPECT_EQ(e->t.markAngle(), 30);
    EXPECT_EQ(e->t.numberStack(), std::vector<int>{77});
}

TEST(TurtleHost, BackgroundAndFilterRequests) {
    auto e = makeEnv();
    QStringList got;
    e->t.OnRequestBackGround = [&](const QString& n) { got << "bg:" + n; };
    e->t.OnRequestFilter = [&](const QString& n) { got << "fl:" + n; };
    // Whatever stands between the keyword and the opening quote is skipped.
    EXPECT_EQ(e->run("background \"Blue Sky\" filter junk\"trace\"").message, "ready");
    EXPECT_EQ(got, (QStringList{"bg:Blue Sky", "fl:trace"}));
    EXPECT_EQ(e->t.lastBackground(), "Blue Sky");
    EXPECT_EQ(e->t.lastFilter(), "trace");
    // Unanswered requests are not errors.
    auto quiet = makeEnv();
    EXPECT_EQ(quiet->run("background \"x\" filter \"invert\" 1").message, "ready");
    EXPECT_EQ(quiet->t.numberStack(), std::vector<int>{1});
}

TEST(TurtleHost, ImageSizeFollowsTheHost) {
    auto e = makeEnv();
    e->bmp.setSize(100, 40);
    EXPECT_EQ(e->run("gocenter =right =bottom").message, "ready");
    EXPECT_EQ(e->t.posX(), 49);
    EXPECT_EQ(e->t.posY(), 19);
    EXPECT_EQ(e->t.numberStack(), (std::vector<int>{99, 39}));
    EXPECT_EQ(e->t.imageRect(), (Rect{0, 0, 99, 39}));
}

TEST(TurtlePixels, LinesAndProcedures) {
    {
        auto e = makeEnv();
        EXPECT_EQ(e->run("down go 10").message, "ready");
        for (int x = 0; x < 10; ++x) EXPECT_EQ(e->bmp.pixel(x, 0), clBlack) << x;
        EXPECT_EQ(e->bmp.pixel(10, 0), clWhite);
        EXPECT_EQ(e->countNot(clWhite), 10);
    }
    {
        // A procedure called after its definition draws a closed 10-pixel square.
        auto e = makeEnv();
        EXPECT_EQ(e->run("[ sq do 4 go 10 right 90 loop ] down sq").message, "ready");
        EXPECT_EQ(e->countNot(clWhite), 40);
        for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 0}, {10, 5}, {5, 10}, {0, 5}})
            EXPECT_EQ(e->bmp.pixel(x, y), clBlack) << x << "," << y;
        EXPECT_EQ(e->bmp.pixel(5, 5), clWhite);
    }
    {
        // The polygon turns counter-clockwise on screen: a square above the start point.
        auto e = makeEnv();
        EXPECT_EQ(e->run("pos 50 50 polygon 4 10").message, "ready");
        const Box b = boundsOf(e->bmp, clBlack);
        EXPECT_EQ(b.count, 40);
        EXPECT_EQ(b.left, 50);
        EXPECT_EQ(b.right, 60);
        EXPECT_EQ(b.top, 40);
        EXPECT_EQ(b.bottom, 50);
    }
    {
        auto up = makeEnv();
        EXPECT_EQ(up->run("go 10 move 5 5 pos 30 30 mark pos 0 0 gomark").message, "ready");
        EXPECT_EQ(up->countNot(clWhite), 0);  // nothing draws with the pen up
        EXPECT_EQ(up->run("lineto 10 0").message, "ready");  // ... except "lineto"
        EXPECT_EQ(up->countNot(clWhite), 10);
    }
    {
        auto e = makeEnv();
        EXPECT_EQ(e->run("pensize 3 pencolor clred down pos 10 20 go 30").message, "ready");
        EXPECT_EQ(e->bmp.pixel(20, 20), clRed);
        EXPECT_EQ(e->bmp.pixel(20, 21), clRed);
        EXPECT_EQ(e->bmp.pixel(20, 19), clRed);
    }
}

TEST(TurtlePixels, StarsAndPolygons) {
    auto star = makeEnv();
    auto poly = makeEnv();
    EXPECT_EQ(star->run("pos 50 50 star 6 10").message, "ready");
    EXPECT_EQ(poly->run("pos 50 50 polygon 6 10").message, "ready");
    EXPECT_GT(star->countNot(clWhite), 0);
    EXPECT_TRUE(samePixels(star->bmp, poly->bmp));  // an even star is a plain polygon

    auto five = makeEnv();
    auto pent = makeEnv();
    EXPECT_EQ(five->run("pos 100 100 star 5 60").message, "ready");
    EXPECT_EQ(pent->run("pos 100 100 polygon 5 60").message, "ready");
    EXPECT_FALSE(samePixels(five->bmp, pent->bmp));
    // The pentagram's lines cross: its box is as wide as a side, the pentagon's wider.
    EXPECT_LT(boundsOf(five->bmp, clBlack).right - boundsOf(five->bmp, clBlack).left,
              boundsOf(pent->bmp, clBlack).right - boundsOf(pent->bmp, clBlack).left);
}

TEST(TurtlePixels, ShapesDoNotMoveAndIgnoreThePen) {
    for (const char* pen : {"up", "down"}) {
        auto e = makeEnv();
        const std::string s = std::string(pen) + " brushcolor clred rectangle 10 10";
        EXPECT_EQ(e->run(s.c_str()).message, "ready");
        EXPECT_EQ(e->bmp.pixel(0, 0), clBlack) << pen;
        EXPECT_EQ(e->bmp.pixel(9, 9), clBlack) << pen;
        EXPECT_EQ(e->bmp.pixel(5, 5), clRed) << pen;
        EXPECT_EQ(e->bmp.pixel(10, 10), clWhite) << pen;
        EXPECT_EQ(e->t.posX(), 0);
    }
    auto e = makeEnv();
    EXPECT_EQ(e->run("pos 20 20 brushcolor clblue ellipse 21 11").message, "ready");
    EXPECT_EQ(e->bmp.pixel(30, 25), clBlue);
    EXPECT_EQ(e->bmp.pixel(20, 20), clWhite);  // the corner lies outside the ellipse
    const Box b = boundsOf(e->bmp, clBlack);
    EXPECT_EQ(b.left, 20);
    EXPECT_EQ(b.top, 20);
    EXPECT_EQ(b.right, 40);
    EXPECT_EQ(b.bottom, 30);
}

TEST(TurtlePixels, CurveDrawsAnArch) {
    auto e = makeEnv();
    EXPECT_EQ(e->run("pos 10 100 curve 0 -50 100 -50 100 0").message, "ready");
    const Box b = boundsOf(e->bmp, clBlack);
    EXPECT_GE(b.top, 60);   // the midpoint of the curve is at y = 62.5
    EXPECT_LE(b.top, 63);
    EXPECT_EQ(b.left, 10);
    EXPECT_GE(b.right, 109);
    EXPECT_LE(b.bottom, 100);
    bool apex = false;
    for (int y = 60; y <= 64; ++y) apex = apex || e->bmp.pixel(60, y) == clBlack;
    EXPECT_TRUE(apex);
}

TEST(TurtlePixels, AreaCopyAndFlood) {
    {
        auto e = makeEnv();
        EXPECT_EQ(e->run("brushcolor clred rectangle 10 10 area 0 0 10 10 pos 20 0 copy").message, "ready");
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                EXPECT_EQ(e->bmp.pixel(20 + x, y), e->bmp.pixel(x, y)) << x << "," << y;
        EXPECT_EQ(e->bmp.pixel(25, 5), clRed);
        // With an inverting copy mode, copying twice gives the old pixels back.
        EXPECT_EQ(e->run("pos 40 0 copymode srcinvert copy copy").message, "ready");
        for (int x = 40; x < 50; ++x) EXPECT_EQ(e->bmp.pixel(x, 5), clWhite) << x;
    }
    {
        auto e = makeEnv();
        EXPECT_EQ(e->run("pos 10 10 rectangle 20 20 brushcolor clred flood 5 5").message, "ready");
        EXPECT_EQ(e->bmp.pixel(15, 15), clRed);
        EXPECT_EQ(e->bmp.pixel(28, 28), clRed);
        EXPECT_EQ(e->bmp.pixel(10, 10), clBlack);
        EXPECT_EQ(e->bmp.pixel(5, 5), clWhite);
        EXPECT_EQ(e->bmp.pixel(40, 40), clWhite);
        // Outside the image there is nothing to fill.
        EXPECT_EQ(e->run("flood 500 500 flood -20 -20").message, "ready");
        EXPECT_EQ(e->bmp.pixel(40, 40), clWhite);
    }
}

TEST(TurtlePixels, TextFollowsTheHeading) {
    {
        auto e = makeEnv();
        EXPECT_EQ(e->run("textcolor clblue pos 20 100 text \"Hello\"").message, "ready");
        EXPECT_EQ(e->repaints, 1);
        const Box b = boundsOf(e->bmp, clBlue);
        ASSERT_GT(b.count, 0);
        EXPECT_GE(b.left, 20);
        EXPECT_GE(b.top, 100);
        EXPECT_GT(b.right - b.left, b.bottom - b.top);  // runs along +X
    }
    {
        // Heading 90: the text runs up the screen from the turtle, the cell to its right.
        auto e = makeEnv();
        EXPECT_EQ(e->run("textcolor clblue pos 100 150 angle 90 text \"Hello\"").message, "ready");
        const Box b = boundsOf(e->bmp, clBlue);
        ASSERT_GT(b.count, 0);
        EXPECT_GE(b.left, 99);
        EXPECT_LE(b.bottom, 151);
        EXPECT_GT(b.bottom - b.top, b.right - b.left);
        EXPECT_EQ(e->canvas().font().escapement, 0);  // the canvas font is restored
    }
    {
        // Rotated text has a transparent background; "textout" fills it with the brush
        // and is never rotated.
        auto e = makeEnv();
        EXPECT_EQ(e->run("brushcolor clyellow textcolor clblue pos 20 40 text \"Hello\"").message, "ready");
        EXPECT_EQ(e->countColor(clYellow), 0);
        EXPECT_GT(e->countColor(clBlue), 0);
        EXPECT_EQ(e->run("=brushcolor").message, "ready");
        EXPECT_EQ(e->t.numberStack(), std::vector<int>{clYellow});
        EXPECT_EQ(e->run("pos 20 150 angle 90 textout \"Hello\"").message, "ready");
        const Box y = boundsOf(e->bmp, clYellow);
        ASSERT_GT(y.count, 0);
        EXPECT_GE(y.top, 150);
        EXPECT_GT(y.right - y.left, y.bottom - y.top);
        EXPECT_EQ(e->repaints, 1);  // only "text" asks for a repaint
    }
    {
        // Same words as quoted text do not run; a line break inside the quotes is text.
        auto e = makeEnv();
        EXPECT_EQ(e->run("text \"go 10\r\n1 2\" 3").message, "ready");
        EXPECT_EQ(e->t.numberStack(), std::vector<int>{3});
        EXPECT_EQ(e->t.posX(), 0);
    }
}

TEST(TurtlePixels, ExtremeValuesStayInsideTheImage) {
    // Huge coordinates and sizes must neither crash nor hang nor write outside the image.
    const char* scripts[] = {
        "down pos -2147483648 -2147483648 go 2147483647",
        "pos 2147483647 2147483647 rectangle 2147483647 2147483647",
        "pos -100000 -100000 ellipse 200000 200000",
        "pos 10 10 roundrect -50 -50 2147483647 -2147483648",
        "area -2147483648 -2147483648 2147483647 2147483647 copy",
        "area 0 0 -10 -10 pos 50 50 copy",
        "pos 5 5 curve 2147483647 0 -2147483648 0 2147483647 2147483647",
        "down angle 33 polygon 1000 1000000",
        "textsize -5 text \"x\" textsize 0 textout \"y\"",
    };
    for (const char* s : scripts) {
        auto e = makeEnv();
        EXPECT_EQ(e->run(s).message, "ready") << s;
    }
}
