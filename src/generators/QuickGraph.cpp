#include "generators/QuickGraph.h"

#include <QDir>
#include <QLocale>
#include <cmath>
#include <numbers>

#include "canvas/Canvas.h"
#include "expr/TParser.h"
#include "ui/PresetFile.h"

namespace pixoral::generators {

namespace {

// The locale's form first (what the Limits list writes), then the plain "." form.
std::optional<double> readNumber(const QString& text) {
    const QString s = text.trimmed();
    for (QLocale locale : {QLocale(), QLocale::c()}) {
        locale.setNumberOptions(QLocale::RejectGroupSeparator);
        bool ok = false;
        const double v = locale.toDouble(s, &ok);
        if (ok) return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
    }
    return std::nullopt;
}

QString threeDecimals(double v) { return QLocale().toString(v, 'f', 3); }

}  // namespace

std::optional<GraphConstants> readGraphConstants(const GraphConstantsText& text) {
    const auto from = readNumber(text.from), to = readNumber(text.to), step = readNumber(text.step);
    if (!from || !to || !step) return std::nullopt;
    const GraphConstants k{*from, *to, *step};
    if (!(k.step > 0)) return std::nullopt;
    // Doubles are spaced wider the further they lie from 0, so a step that moves both ends
    // moves every t between them.
    if (!(k.from + k.step > k.from) || !(k.to + k.step > k.to)) return std::nullopt;
    if ((k.to - k.from) / k.step > kGraphMaxSteps) return std::nullopt;
    return k;
}

QList<GraphLimit> graphLimits() {
    const double pi = std::numbers::pi;
    return {
        {QStringLiteral("0..2p"), {QStringLiteral("0"), threeDecimals(2 * pi), QStringLiteral("0.03")}},
        {QStringLiteral("-p..+p"), {QLatin1Char('-') + threeDecimals(pi), threeDecimals(pi), QStringLiteral("0.03")}},
        {QStringLiteral("-10..+10"), {QStringLiteral("-10"), QStringLiteral("10"), QStringLiteral("0.1")}},
        {QStringLiteral("0..10"), {QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("0.05")}},
    };
}

std::optional<Point> graphPoint(double x, double y, int width, int height) {
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double col = std::nearbyint(x), row = std::nearbyint(y);
    if (!(std::fabs(col) <= kCoordLimit) || !(std::fabs(row) <= kCoordLimit)) return std::nullopt;
    return Point{width / 2 + static_cast<int>(col), height / 2 - static_cast<int>(row)};
}

Bitmap newGraphPicture() {
    Bitmap b(kGraphSide, kGraphSide);
    Canvas& c = b.canvas();
    c.pen().color = clBlack;
    c.pen().width = 1;
    c.brush().setColor(clWhite);
    c.brush().setStyle(BrushStyle::bsSolid);
    c.font().size = 8;
    return b;
}

GraphOutcome drawGraph(Bitmap& picture, TParser& parser1, TParser& parser2, const GraphRequest& r) {
    GraphOutcome out;
    const auto k = readGraphConstants(r.graph.constants);
    if (!k) {
        out.messages << kErrorInConstants;
        return out;
    }
    Canvas& c = picture.canvas();
    const int w = picture.width(), h = picture.height();

    if (r.axis) {
        const TColor penColor = c.pen().color;
        c.pen().color = kGraphAxisColor;
        c.moveTo(w / 2, 0);
        c.lineTo(w / 2, h);
        c.moveTo(0, h / 2);
        c.lineTo(w, h / 2);
        c.pen().color = penColor;
    }
    if (r.showFunctions) {
        c.font().color = kGraphTextColor;
        const QString y = QStringLiteral("y=") + r.graph.func1, x = QStringLiteral("x=") + r.graph.func2;
        const int h1 = c.textHeight(y), h2 = c.textHeight(x);
        c.textOut(5, h - h2 - h1 - 10, y);
        c.textOut(5, h - h2 - 5, x);
    }

    // An expression that does not parse leaves its parser empty, and an empty parser gives 0.
    try {
        parser1.parseExpression(r.graph.func1.toStdString());
    } catch (const EMathParserError&) {
        out.messages << kErrorInExpression;
    }
    try {
        parser2.parseExpression(r.graph.func2.toStdString());
    } catch (const EMathParserError& e) {
        out.messages << QString::fromStdString(e.what());
        return out;
    }

    const bool xy = r.graph.type == GraphType::XY;
    auto pointAt = [&](double t) -> std::optional<Point> {
        parser1.setT(t);
        parser2.setT(t);
        try {
            const double v1 = parser1.value(), v2 = parser2.value();
            return xy ? graphPoint(v1, v2, w, h) : graphPoint(v2, v1, w, h);
        } catch (const EMathParserError&) {
            return std::nullopt;
        }
    };

    // The pen is down once it stands on a good point. A line back to where the pen stands
    // adds no pixel once a line has ended there, so those are not drawn again: over a million
    // steps most points fall on the pixel of the one before.
    bool penDown = false, lineEndsHere = false;
    if (const auto start = pointAt(xy ? 0.0 : k->from)) {
        c.moveTo(start->x, start->y);
        penDown = true;
    }
    double t = k->from;
    do {
        ++out.points;
        const auto p = pointAt(t);
        if (!p) {
            ++out.skipped;
            penDown = false;
        } else if (!penDown) {
            c.moveTo(p->x, p->y);
            penDown = true;
            lineEndsHere = false;
        } else if (!(lineEndsHere && *p == c.penPos())) {
            c.lineTo(p->x, p->y);
            lineEndsHere = true;
        }
        t += k->step;
    } while (!(t > k->to));
    out.drawn = true;
    return out;
}

std::optional<QString> evaluateGraphFunction(TParser& parser, const QString& expression, const QString& parseError,
                                             QString* error) {
    auto failed = [&](const QString& why) {
        if (error) *error = why;
        return std::nullopt;
    };
    if (expression.trimmed().isEmpty()) return failed(QString());
    double v = 0;
    try {
        parser.parseExpression(expression.toStdString());
    } catch (const EMathParserError& e) {
        return failed(parseError.isEmpty() ? QString::fromStdString(e.what()) : parseError);
    }
    try {
        v = parser.value();
    } catch (const EMathParserError& e) {
        return failed(QString::fromStdString(e.what()));
    }
    if (!std::isfinite(v))
        return failed(QStringLiteral("%1 has no value for t = %2").arg(expression.trimmed()).arg(parser.t()));
    // Written back with "." whatever the locale, as the parser reads numbers.
    return QString::number(v, 'g', 15);
}

// ---------------------------------------------------------------- presets

QString graphPresetsPath(const QString& programFolder) {
    return programFolder.isEmpty() ? kGraphPresetsFileName : QDir(programFolder).filePath(kGraphPresetsFileName);
}

std::optional<QString> formatGraphPreset(const GraphDefinition& g) {
    return PresetFile::joinFields({g.func1, g.func2, g.constants.from, g.constants.to, g.constants.step,
                                   QString::number(static_cast<int>(g.type))});
}

std::optional<GraphDefinition> parseGraphPreset(const QString& line) {
    if (!PresetFile::isEntryLine(line)) return std::nullopt;
    const QStringList f = PresetFile::splitFields(PresetFile::valueOf(line));
    if (f.size() != kGraphPresetFields) return std::nullopt;
    GraphDefinition g;
    g.func1 = f[0];
    g.func2 = f[1];
    g.constants = {f[2], f[3], f[4]};
    g.type = f[5].trimmed().toInt() == 1 ? GraphType::XY : GraphType::Y;
    return g;
}

}  // namespace pixoral::generators
