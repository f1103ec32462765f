#pragma once
// Numeric input boxes as data: what a prompt shows and which answers it takes. Every numeric
// prompt of the program, on a menu row or in a window, goes through acceptAnswer(), so the
// rules cannot drift apart.
//
// An answer is trimmed first. An integer answer is what QString::toInt reads (optional sign,
// decimal digits); a real one what QString::toDouble reads. NaN and infinities are never
// accepted, whatever the range.
#include <QString>
#include <climits>
#include <optional>

namespace pixoral {

class Dialogs;

struct NumberPrompt {
    // What happens to an answer that is not a number, or a number outside lo..hi.
    enum class Refused {
        Keep,      // the current value stays
        Fallback,  // `fallback` is taken
        Clamp,     // (out of range only) the nearest bound is taken
    };

    QString caption;
    QString text;
    // The text the box opens with; empty: the current value.
    QString defaultText;
    double lo = INT_MIN;
    double hi = INT_MAX;  // a row may give a bound that depends on the workspace instead
    bool integer = true;
    bool hiExclusive = false;
    Refused notNumber = Refused::Keep;
    Refused outOfRange = Refused::Keep;
    double fallback = 0;
    // Shown when an answer is refused; empty: the prompt refuses silently.
    QString message;
};

struct PromptResult {
    double value = 0;
    bool refused = false;  // the answer was not taken as it stood
};

// The value an answer gives, from the current value and the prompt's rules. `hi` replaces
// the prompt's upper bound when given.
PromptResult acceptAnswer(const NumberPrompt& p, const QString& answer, double current,
                          std::optional<double> hi = std::nullopt);

// Asks through the dialogs and applies acceptAnswer(); a refused answer shows the prompt's
// message. A cancelled box answers its default text, as every input box does.
PromptResult askNumber(Dialogs& dialogs, const NumberPrompt& p, double current, std::optional<double> hi = std::nullopt);

// The value for integer settings.
inline int askInt(Dialogs& dialogs, const NumberPrompt& p, int current, std::optional<double> hi = std::nullopt) {
    return static_cast<int>(askNumber(dialogs, p, current, hi).value);
}

}  // namespace pixoral
