#include "ui/Prompt.h"

#include <algorithm>
#include <cmath>

#include "ui/Dialogs.h"

namespace pixoral {

namespace {

std::optional<double> parse(const QString& text, bool integer) {
    bool ok = false;
    const QString t = text.trimmed();
    const double v = integer ? static_cast<double>(t.toInt(&ok)) : t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

double refusedValue(NumberPrompt::Refused how, const NumberPrompt& p, double current, double v, double hi) {
    switch (how) {
        case NumberPrompt::Refused::Fallback: return p.fallback;
        case NumberPrompt::Refused::Clamp: return std::clamp(v, p.lo, hi);
        case NumberPrompt::Refused::Keep: break;
    }
    return current;
}

QString numberText(double v, bool integer) {
    return integer ? QString::number(static_cast<long long>(v)) : QString::number(v);
}

}  // namespace

PromptResult acceptAnswer(const NumberPrompt& p, const QString& answer, double current, std::optional<double> hiBound) {
    const double hi = hiBound.value_or(p.hi);
    const std::optional<double> v = parse(answer, p.integer);
    if (!v) return {refusedValue(p.notNumber, p, current, current, hi), true};
    const bool inRange = *v >= p.lo && (p.hiExclusive ? *v < hi : *v <= hi);
    if (!inRange) return {refusedValue(p.outOfRange, p, current, *v, hi), true};
    return {*v, false};
}

PromptResult askNumber(Dialogs& dialogs, const NumberPrompt& p, double current, std::optional<double> hi) {
    const QString shown = p.defaultText.isEmpty() ? numberText(current, p.integer) : p.defaultText;
    const PromptResult r = acceptAnswer(p, dialogs.inputBox(p.caption, p.text, shown), current, hi);
    if (r.refused && !p.message.isEmpty()) dialogs.message(p.message);
    return r;
}

}  // namespace pixoral
