#pragma once
// The Options prompts of the figures and the line width: their texts, and the rules that turn
// an answer into the new setting. Answers are trimmed; an integer is what QString::toInt
// reads (optional sign, decimal digits).
#include <QString>

namespace pixoral {

struct OptionPrompt {
    QString caption;
    QString prompt;
    QString defaultText;
};

// Options > Spirals > "Other...": integers 1..50, else 3.
OptionPrompt spiralsPrompt();
int spiralsFromText(const QString& answer);

// Options > Spiralfactor > "Other...": numbers 0.1 <= x < 1, else 0.99.
OptionPrompt spiralFactorPrompt();
double spiralFactorFromText(const QString& answer);

// Options > "Shapes...": integers 0..25, else 1.
OptionPrompt shapesPrompt();
int shapesFromText(const QString& answer);

// Options > "Line Tolerance...": integers 5..50, else 5.
OptionPrompt lineTolerancePrompt();
int lineToleranceFromText(const QString& answer);

// Options > "&Blocks...": integers clamped to 2..50; 8 when not an integer.
OptionPrompt blocksPrompt();
int blocksFromText(const QString& answer);

// Options > "&Rounding...": any integer, else 10.
OptionPrompt roundingPrompt();
int roundingFromText(const QString& answer);

// Options > SpiroGraph > "&Turns...": the default is the current turns; a non-integer keeps
// them, an integer outside 1..100 gives 20.
OptionPrompt spiroTurnsPrompt(int current);
int spiroTurnsFromText(const QString& answer, int current);

// Line Width > "Other Size...": integers 1..workspace height, else 1.
OptionPrompt lineWidthPrompt();
int lineWidthFromText(const QString& answer, int workspaceHeight);

}  // namespace pixoral
