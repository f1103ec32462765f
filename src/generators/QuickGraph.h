#pragma once
// Quick Graph: two typed expressions of the parameter t, evaluated for every t from a start
// value to an end value in fixed steps, give the points of a curve joined by straight lines in
// a picture of its own. One unit is one pixel about the picture's centre; nothing is scaled.
//
// The curve goes through the picture's canvas, so the pen colour and width in force there are
// the graph's; the window keeps them on that canvas.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "canvas/Bitmap.h"
#include "canvas/Geometry.h"

namespace pixoral {
class TParser;
}

namespace pixoral::generators {

inline constexpr int kGraphSide = 256;  // the picture is this many pixels square
inline constexpr TColor kGraphAxisColor = clSilver;
inline constexpr TColor kGraphTextColor = clSilver;
// More steps than this would keep the window busy for minutes (and a typo such as a step of
// 1E-9 is far likelier than a wish for a billion points); such constants are refused.
inline constexpr double kGraphMaxSteps = 1e7;

inline const QString kErrorInConstants = QStringLiteral("Error in Constants");
inline const QString kErrorInExpression = QStringLiteral("Error in expression");

enum class GraphType {
    Y = 0,   // "y": func1 gives the row and func2 the column
    XY = 1,  // "x,y": func1 gives the column and func2 the row, starting from the point of t = 0
};

// The three constants as the user typed them.
struct GraphConstantsText {
    QString from = QStringLiteral("-1");
    QString to = QStringLiteral("1");
    QString step = QStringLiteral("0.1");
    friend bool operator==(const GraphConstantsText&, const GraphConstantsText&) = default;
};

struct GraphConstants {
    double from = -1.0;
    double to = 1.0;
    double step = 0.1;
};

// Decimal numbers in the locale's form or with "." (what the Limits list writes, and what a
// preset made elsewhere holds). Nothing (report kErrorInConstants) when one is not a finite
// number, or the step could never bring t to the end: zero, negative, too small to change t
// anywhere between from and to, or more than kGraphMaxSteps steps.
std::optional<GraphConstants> readGraphConstants(const GraphConstantsText& text);

// The items of the Limits list and the constants each one sets; π is written with three
// decimals in the locale's form.
struct GraphLimit {
    QString item;
    GraphConstantsText constants;
};
QList<GraphLimit> graphLimits();

// Column and row of a point: the picture's centre (halves by integer division) plus x, minus
// y, each rounded to the nearest integer, halves to the even one. Nothing for a value that is
// not finite or puts the point beyond kCoordLimit: such a point (a pole of TAN, say) has no
// place on the pixel grid, and a line to a clamped stand-in would run the wrong way.
std::optional<Point> graphPoint(double x, double y, int width, int height);

// What a preset stores.
struct GraphDefinition {
    QString func1;  // "y=f(t)"
    QString func2;  // "x=f(t)"
    GraphConstantsText constants;
    GraphType type = GraphType::Y;
    friend bool operator==(const GraphDefinition&, const GraphDefinition&) = default;
};

// A graph with what it shows besides its curve.
struct GraphRequest {
    GraphDefinition graph;
    bool axis = false;           // "Axis": silver lines through the centre
    bool showFunctions = false;  // "f(t)": both expressions written in silver at the bottom left
};

struct GraphOutcome {
    bool drawn = false;    // the curve was drawn (possibly with points left out)
    QStringList messages;  // for the user, in the order they arose
    long long points = 0;  // points evaluated along t
    long long skipped = 0;  // of those, points with no value: each breaks the line
};

// A blank picture of kGraphSide pixels square with the canvas a new graph starts with: black
// pen of width 1, white brush, a small font for the expressions.
Bitmap newGraphPicture();

// Draws the graph into the picture with the canvas's pen (axes and text in silver) over what
// is there. Refused constants draw nothing. A func1 that does not parse is reported as
// kErrorInExpression and counts as 0; a func2 that does not parse stops the drawing after
// the axes and text with the parser's own message. A point whose evaluation raises, is not
// finite or lies off the grid is left out and the line starts again at the next good point.
// The parsers keep the expressions and the last t, as the Enter key of the window reads them.
GraphOutcome drawGraph(Bitmap& picture, TParser& parser1, TParser& parser2, const GraphRequest& r);

// The Enter key of an expression edit: the expression's value at the parser's current t, as
// the text that replaces the edit's. Nothing, with the message in *error, when it does not
// parse (`parseError` is that message for a parser that reports none of its own) or has no
// finite value.
std::optional<QString> evaluateGraphFunction(TParser& parser, const QString& expression, const QString& parseError,
                                             QString* error);

// ---- presets: "name=func1~~func2~~from~~to~~step~~type" in "GraphPresets.tip"

inline const QString kGraphPresetsFileName = QStringLiteral("GraphPresets.tip");
inline constexpr int kGraphPresetFields = 6;

// The presets file inside a program folder (with or without its trailing separator).
QString graphPresetsPath(const QString& programFolder);
// The values part of a preset line; nothing when a field holds "~~" (or would run into the
// separator), since the line could not be read back as it was.
std::optional<QString> formatGraphPreset(const GraphDefinition& g);
// The expressions, constants and graph type of a preset line (the text after its first "=");
// nothing unless there are exactly six fields. A type that is not an integer counts as 0, any
// other integer but 1 as "y".
std::optional<GraphDefinition> parseGraphPreset(const QString& line);

}  // namespace pixoral::generators
