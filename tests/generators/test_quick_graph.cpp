#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>
#include <cmath>

#include "expr/TParser.h"
#include "generators/QuickGraph.h"
#include "ui/PresetFile.h"
#include "../common/TestSupport.h"

using namespace pixoral;
using namespace pixoral::generators;

namespace {

// A graph of two expressions over typed constants, drawn on a fresh picture.
struct Graph {
    Bitmap picture = newGraphPicture();
    TParser p1, p2;
    GraphOutcome out;

    explicit Graph(GraphRequest r) { out = drawGraph(picture, p1, p2, r); }
    Graph(const char* f1, const char* f2, GraphConstantsText k, GraphType type = GraphType::Y)
        : Graph(GraphRequest{{QString::fromLatin1(f1), QString::fromLatin1(f2), k, type}}) {}
    PixelBox curve() const { return boundsOf(picture, clBlack); }
};

GraphConstantsText limit(const char* item) {
    for (const GraphLimit& l : graphLimits())
        if (l.item == QLatin1String(item)) return l.constants;
    ADD_FAILURE() << item;
    return {};
}

}  // namespace

TEST(QuickGraph, SineWaveRunsAcrossTheMiddle) {
    const Graph g("SIN(T)*50", "T*20", limit("-p..+p"));
    ASSERT_TRUE(g.out.drawn);
    EXPECT_TRUE(g.out.messages.isEmpty());
    EXPECT_EQ(g.out.points, 210);  // -3.142 + 209 * 0.03 is the last t not beyond 3.142
    // The last line ends at column 191, which it leaves out.
    EXPECT_EQ(g.curve(), (PixelBox{65, 78, 190, 178}));
    // No column left out between the two ends.
    for (int x = 65; x <= 190; ++x) {
        int inColumn = 0;
        for (int y = 0; y < 256; ++y) inColumn += g.picture.pixel(x, y) == clBlack;
        EXPECT_GE(inColumn, 1) << x;
    }
}

TEST(QuickGraph, CircleOfRadius100) {
    const Graph g("100*COS(T)", "100*SIN(T)", limit("0..2p"), GraphType::XY);
    ASSERT_TRUE(g.out.drawn);
    EXPECT_EQ(g.curve(), (PixelBox{28, 28, 228, 228}));
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            if (g.picture.pixel(x, y) == clBlack) {
                EXPECT_NEAR(std::hypot(x - 128, y - 128), 100, 1.5) << x << "," << y;
            }
}

TEST(QuickGraph, FromBeyondToDrawsOneLineFromThePointOfTZero) {
    const Graph g("T*50", "0", {"1", "0", "0.1"}, GraphType::XY);
    EXPECT_EQ(g.out.points, 1);
    EXPECT_EQ(g.curve(), (PixelBox{128, 128, 177, 128}));
    EXPECT_EQ(g.curve().count, 50);
}

TEST(QuickGraph, ConstantsThatCannotEndTheLoopAreRefusedAndNothingIsDrawn) {
    struct Case {
        const char *from, *to, *step;
        bool accepted;
    };
    const Case cases[] = {
        {"-1", "1", "0.1", true},
        {" 0 ", "1", "1E-6", true},  // a million steps
        {"5", "-5", "1", true},      // from beyond to: one point
        {"0", "1", "0", false},
        {"0", "1", "-0.1", false},
        {"1E16", "1E16", "1", false},  // 1E16 + 1 is 1E16: t would never move
        {"-1E16", "0", "1", false},
        {"0", "10", "1E-7", false},  // a hundred million steps
        {"-1E308", "1E308", "1E300", false},
        {"x", "1", "0.1", false},
        {"0", "", "0.1", false},
        {"0", "1", "inf", false},
        {"nan", "1", "0.1", false},
        {"1,000", "2000", "1", false},  // no group separators
    };
    for (const Case& c : cases) {
        const GraphConstantsText k{c.from, c.to, c.step};
        EXPECT_EQ(readGraphConstants(k).has_value(), c.accepted) << c.from << " " << c.to << " " << c.step;
        if (c.accepted) continue;
        GraphRequest r{{"T", "T", k, GraphType::Y}, true, false};
        const Graph g(r);
        EXPECT_FALSE(g.out.drawn);
        EXPECT_EQ(g.out.messages, QStringList{kErrorInConstants});
        EXPECT_TRUE(allPixels(g.picture, clWhite)) << "axes drawn for " << c.step;
    }
}

TEST(QuickGraph, PointsWithNoValueAreLeftOutAndTheLineStartsAgain) {
    struct Case {
        const char* func1;
        int skipped;
        int firstGap, lastGap;  // columns of row 128 left white between the two pieces
    };
    // t = -5 .. 5 in steps of 1 at columns 78 .. 178; the point of t = 0 has no value.
    const Case cases[] = {
        {"0*(1DIVT)", 1, 118, 137},  // integer division by zero raises
        {"0*(1/T)", 1, 118, 137},    // 0 * infinity is not a number
        {"0*LN(T*T)", 1, 118, 137},  // minus infinity
        {"0*SQRT(T)", 5, 78, 127},   // every negative t
        {"1E300*1E300*T", 10, 78, 177},  // only t = 0 lies on the grid: no line at all
    };
    for (const Case& c : cases) {
        const Graph g(c.func1, "T*10", {"-5", "5", "1"});
        ASSERT_TRUE(g.out.drawn) << c.func1;
        EXPECT_EQ(g.out.skipped, c.skipped) << c.func1;
        QString row, expected;
        for (int x = 0; x < 256; ++x) {
            row += g.picture.pixel(x, 128) == clBlack ? '#' : '.';
            expected += x >= 78 && x < 178 && (x < c.firstGap || x > c.lastGap) ? '#' : '.';
        }
        EXPECT_EQ(row, expected) << c.func1;
        EXPECT_EQ(countPixels(g.picture, clBlack), expected.count('#')) << c.func1;
    }
}

TEST(QuickGraph, ExpressionErrorsAndTheAxes) {
    // func1 that does not parse counts as 0: a flat line; func2 that does not parse stops
    // after the axes with the parser's own message.
    const Graph flat(GraphRequest{{"SIN(", "T*10", {"-5", "5", "1"}, GraphType::Y}});
    EXPECT_TRUE(flat.out.drawn);
    EXPECT_EQ(flat.out.messages, QStringList{kErrorInExpression});
    EXPECT_EQ(flat.curve(), (PixelBox{78, 128, 177, 128}));

    const Graph stopped(GraphRequest{{"T", "T +1", {"-5", "5", "1"}, GraphType::Y}, true, false});
    EXPECT_FALSE(stopped.out.drawn);
    EXPECT_EQ(stopped.out.messages, QStringList{"Expression has blanks"});
    EXPECT_EQ(stopped.curve().count, 0);
    EXPECT_EQ(boundsOf(stopped.picture, kGraphAxisColor).count, 256 + 255);
    EXPECT_EQ(stopped.picture.pixel(128, 0), kGraphAxisColor);
    EXPECT_EQ(stopped.picture.pixel(0, 128), kGraphAxisColor);
}

TEST(QuickGraph, PointsRoundHalvesToEvenAndStayOnTheGrid) {
    struct Case {
        double x, y;
        std::optional<Point> at;
    };
    const Case cases[] = {
        {0.5, 0.5, Point{128, 128}},   {1.5, -1.5, Point{130, 130}}, {-2.5, 2.5, Point{126, 126}},
        {-128, 128, Point{0, 0}},      {1e6, 0, Point{1000128, 128}}, {1e30, 0, std::nullopt},
        {0, -1e30, std::nullopt},      {NAN, 0, std::nullopt},        {0, INFINITY, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(graphPoint(c.x, c.y, 256, 256), c.at) << c.x << "," << c.y;
}

TEST(QuickGraph, EnterTurnsTheExpressionIntoItsValue) {
    struct Case {
        const char* text;
        double t;
        const char* value;  // nullptr: refused with `message`
        const char* message;
    };
    const Case cases[] = {
        {"2+3", 0, "5", ""},
        {"T*3", 2, "6", ""},
        {"1/3", 0, "0.333333333333333", ""},
        {"SQRT(T)", -1, nullptr, "SQRT(T) has no value for t = -1"},
        {"7DIVT", 0, nullptr, "Division by zero in DIV or MOD"},
        {"X +1", 0, nullptr, "Expression has blanks"},
        {"", 0, nullptr, ""},
    };
    for (const Case& c : cases) {
        TParser p;
        p.setT(c.t);
        QString error;
        const auto v = evaluateGraphFunction(p, QString::fromLatin1(c.text), QString(), &error);
        EXPECT_EQ(v, c.value ? std::optional<QString>(QString::fromLatin1(c.value)) : std::nullopt) << c.text;
        EXPECT_EQ(error, c.value ? QString() : QString::fromLatin1(c.message)) << c.text;
    }
    TParser p;
    QString error;
    EXPECT_FALSE(evaluateGraphFunction(p, "SIN(", kErrorInExpression, &error));
    EXPECT_EQ(error, kErrorInExpression);
}

TEST(QuickGraph, LimitsAreWrittenAndReadInTheLocalesForm) {
    const QLocale before;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(limit("0..2p"), (GraphConstantsText{"0", "6.283", "0.03"}));
    EXPECT_EQ(limit("-p..+p"), (GraphConstantsText{"-3.142", "3.142", "0.03"}));
    EXPECT_EQ(limit("-10..+10"), (GraphConstantsText{"-10", "10", "0.1"}));
    EXPECT_EQ(limit("0..10"), (GraphConstantsText{"0", "10", "0.05"}));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const GraphConstantsText german = limit("0..2p");
    EXPECT_EQ(german.to, "6,283");
    const auto k = readGraphConstants(german);
    ASSERT_TRUE(k);
    EXPECT_DOUBLE_EQ(k->to, 6.283);
    EXPECT_DOUBLE_EQ(readGraphConstants({"0", "6.283", "0.03"})->to, 6.283);  // "." is always read
    QLocale::setDefault(before);
}

TEST(QuickGraphPresets, SixFieldsJoinedByTildesRoundTripThroughTheFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = graphPresetsPath(dir.path());
    EXPECT_EQ(path, dir.path() + "/GraphPresets.tip");
    const GraphDefinition rose{"110*COS(4*T)*COS(T)", "A=B~C", {"0", "6.283", "0.005"}, GraphType::XY};
    const auto values = formatGraphPreset(rose);
    ASSERT_TRUE(values);
    EXPECT_EQ(*values, "110*COS(4*T)*COS(T)~~A=B~C~~0~~6.283~~0.005~~1");
    PresetFile file(path, {PresetFile::Order::ByName, PresetFile::Duplicates::Refused});
    ASSERT_TRUE(file.add("Rose", *values).changed());
    PresetFile again(path);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(parseGraphPreset(again.lines().value(0)), rose);

    // A field that holds the separator, or would run into it, cannot be stored.
    for (const char* f : {"SIN(T)~~2", "T~"})
        EXPECT_FALSE(formatGraphPreset({f, "T", {}, GraphType::Y})) << f;
}

TEST(QuickGraphPresets, OnlyLinesOfExactlySixFieldsLoad) {
    struct Case {
        const char* line;
        std::optional<GraphType> type;  // nothing: the line is ignored
    };
    const Case cases[] = {
        {"a=T~~T~~0~~1~~0.1~~1", GraphType::XY}, {"a=T~~T~~0~~1~~0.1~~0", GraphType::Y},
        {"a=T~~T~~0~~1~~0.1~~x", GraphType::Y},  {"a=T~~T~~0~~1~~0.1~~7", GraphType::Y},
        {"a=T~~T~~0~~1~~0.1", std::nullopt},     {"a=T~~T~~0~~1~~0.1~~1~~1", std::nullopt},
        {"no equals sign", std::nullopt},        {"=T~~T~~0~~1~~0.1~~1", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto g = parseGraphPreset(QString::fromLatin1(c.line));
        EXPECT_EQ(g.has_value(), c.type.has_value()) << c.line;
        if (g && c.type) {
            EXPECT_EQ(g->type, *c.type) << c.line;
        }
    }
}

TEST(QuickGraphPresets, ShippedPresetsAllDrawWithinThePicture) {
    PresetFile shipped(QStringLiteral(PIXORAL_DATA_DIR "/GraphPresets.tip"));
    ASSERT_TRUE(shipped.load());
    for (const char* name : {"Lissajous", "Rose", "Spiral", "Cycloid"}) EXPECT_GE(shipped.find(name), 0) << name;
    EXPECT_TRUE(shipped.problems().isEmpty());
    for (const QString& line : shipped.lines()) {
        const auto def = parseGraphPreset(line);
        ASSERT_TRUE(def) << line.toStdString();
        const Graph g(GraphRequest{*def});
        EXPECT_TRUE(g.out.drawn && g.out.messages.isEmpty() && g.out.skipped == 0) << line.toStdString();
        const PixelBox box = g.curve();
        EXPECT_GT(box.count, 200) << line.toStdString();
        EXPECT_TRUE(box.left > 0 && box.top > 0 && box.right < 255 && box.bottom < 255) << line.toStdString();
    }
}
