#include "workspace/FigureOptions.h"

#include <algorithm>

namespace pixoral {

namespace {

const QString kPixoral = QStringLiteral("Pixoral");

// The accepted integer, or `fallback` when the answer is no integer or lies outside lo..hi.
int intInRange(const QString& answer, int lo, int hi, int fallback) {
    bool ok = false;
    const int v = answer.trimmed().toInt(&ok);
    return ok && v >= lo && v <= hi ? v : fallback;
}

}  // namespace

OptionPrompt spiralsPrompt() { return {kPixoral, QStringLiteral("Spirals (3..50)"), QStringLiteral("3")}; }
int spiralsFromText(const QString& answer) { return intInRange(answer, 1, 50, 3); }

OptionPrompt spiralFactorPrompt() {
    return {kPixoral, QStringLiteral("Spiral factor (0.1..0.99)"), QStringLiteral("0.99")};
}
double spiralFactorFromText(const QString& answer) {
    bool ok = false;
    const double v = answer.trimmed().toDouble(&ok);
    // The comparison also turns away NaN and infinities.
    return ok && v >= 0.1 && v < 1.0 ? v : 0.99;
}

OptionPrompt shapesPrompt() { return {kPixoral, QStringLiteral("Number of Shapes(1..25)"), QStringLiteral("1")}; }
int shapesFromText(const QString& answer) { return intInRange(answer, 0, 25, 1); }

OptionPrompt lineTolerancePrompt() {
    return {kPixoral, QStringLiteral("Enter Straight Line Tolerance (5..50)"), QStringLiteral("5")};
}
int lineToleranceFromText(const QString& answer) { return intInRange(answer, 5, 50, 5); }

OptionPrompt blocksPrompt() { return {kPixoral, QStringLiteral("Number of blocks:"), QStringLiteral("8")}; }
int blocksFromText(const QString& answer) {
    bool ok = false;
    const int v = answer.trimmed().toInt(&ok);
    return ok ? std::clamp(v, 2, 50) : 8;
}

OptionPrompt roundingPrompt() { return {kPixoral, QStringLiteral("Enter Rounding"), QStringLiteral("10")}; }
int roundingFromText(const QString& answer) {
    bool ok = false;
    const int v = answer.trimmed().toInt(&ok);
    return ok ? v : 10;
}

OptionPrompt spiroTurnsPrompt(int current) {
    return {QStringLiteral("Pixoral SpiroGraph"), QStringLiteral("Enter Turns (1-100):"), QString::number(current)};
}
int spiroTurnsFromText(const QString& answer, int current) {
    bool ok = false;
    const int v = answer.trimmed().toInt(&ok);
    if (!ok) return current;
    return v >= 1 && v <= 100 ? v : 20;
}

OptionPrompt lineWidthPrompt() { return {kPixoral, QStringLiteral("Enter new line width:"), QStringLiteral("1")}; }
int lineWidthFromText(const QString& answer, int workspaceHeight) {
    return intInRange(answer, 1, std::max(workspaceHeight, 1), 1);
}

}  // namespace pixoral
