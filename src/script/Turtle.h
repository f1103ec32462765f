#pragma once
// The turtle script interpreter: reads script text word by word while it runs and draws
// through a bound canvas. There is no compiled form; loops and procedure calls move a
// cursor back and forth in the text. What cannot change during a run (the prepared text,
// the words found at each position, keyword lookups, first occurrences) is cached.
#include <QHash>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "canvas/Canvas.h"
#include "canvas/Geometry.h"

namespace pixoral {

class TTurtle {
public:
    struct RunResult {
        QString message;
        int cursor = 0;  // 1-based, just past the last word read; 0 when not written
    };

    TTurtle();

    RunResult RunScript(const QString& text);
    void setCanvas(Canvas* canvas) { canvas_ = canvas; }  // not owned
    Canvas* canvas() const { return canvas_; }

    std::function<void()> OnRepaintRequest;  // unset: not raised
    std::function<void(const QString& background)> OnRequestBackGround;
    std::function<void(const QString& filter)> OnRequestFilter;
    std::function<void(Rect& arect)> OnRequestImageSize;  // unset: the asking command fails

    // A run ends with "script interrupted" (what was drawn stays) once maxSteps steps have
    // run (0 = no limit) or when interruptCheck returns true; it is asked every 256 steps.
    // The sides of a polygon count as steps too, so one huge polygon cannot hang a run.
    void setMaxSteps(std::int64_t steps) { maxSteps_ = steps < 0 ? 0 : steps; }
    std::int64_t maxSteps() const { return maxSteps_; }
    std::function<bool()> interruptCheck;

    // Observable state.
    int posX() const { return x_; }
    int posY() const { return y_; }
    double heading() const { return heading_; }
    bool penDown() const { return penDown_; }
    std::vector<int> numberStack() const;  // bottom first
    void clearNumberStack() { numCount_ = 0; }
    int markX() const { return markX_; }
    int markY() const { return markY_; }
    int markAngle() const { return markAngle_; }
    Rect area() const { return area_; }
    Rect imageRect() const { return imageRect_; }
    QString lastBackground() const { return lastBackground_; }
    QString lastFilter() const { return lastFilter_; }
    int returnStackDepth() const { return retCount_; }  // as the last run left it
    std::int64_t stepsRun() const { return steps_; }      // steps of the last run

    // Interpreter arithmetic, exposed for the tests of the language rules.
    // Rounds to the nearest integer, halves to even; out-of-range values wrap modulo 2^32.
    static std::int32_t roundToInt(double v);
    // An integer word: [+|-]digits within 32 bits, or $, x, X, 0x, 0X and 1..8 hex digits.
    static std::optional<std::int32_t> parseInteger(QStringView word);

    static constexpr int kStackSize = 255;

private:
    // One distinct word of the running text, with everything about it that cannot change.
    struct Word {
        QStringView text;
        int keyword = -1;
        bool isInt = false;
        bool isColor = false;
        std::int32_t intValue = 0;
        std::int32_t colorValue = 0;
        int fold = -1;          // variable slot: words equal without letter case share it
        int firstEnd = -1;      // cursor just past the first occurrence in the text (lazy)
    };

    bool execKeyword(int kw);
    void prepare(const QString& text);
    int readWord();  // word id or -1 at the end of the text; moves the cursor
    int intern(QStringView w);
    int firstOccurrenceEnd(int id);

    // Argument readers; false when the argument fails.
    bool intArg(std::int32_t& v);
    bool colorArg(std::int32_t& v);
    bool textArg(QString& s);
    bool wordArg(int& id);
    // Every failure sets the message the run ends with.
    bool fail(const QString& m) { message_ = m; return false; }
    bool fail(const char* m) { message_ = QString::fromLatin1(m); return false; }

    bool push(std::int32_t v);
    bool pop(std::int32_t& v);
    bool pop2(std::int32_t& a, std::int32_t& b);
    bool retPush(std::int32_t v);
    bool retPop(std::int32_t& v);

    std::int32_t* variable(int id);  // null when the word names no variable
    void setVariable(int id, std::int32_t v);

    bool checkInterrupt();
    bool countStep();  // false when the run is to stop as interrupted

    bool requestImageSize();
    void forward(std::int32_t d);
    void travelTo(std::int32_t px, std::int32_t py);
    bool regularFigure(std::int32_t n, std::int32_t s, int multiplier);
    void rotatedText(const QString& s);
    void plainText(const QString& s);

    Canvas* canvas_ = nullptr;

    // Turtle state, kept between runs.
    std::int32_t x_ = 0, y_ = 0;
    double heading_ = 0.0;
    bool penDown_ = false;
    std::int32_t markX_ = 0, markY_ = 0;
    std::int32_t markAngle_ = 0;
    Rect area_;
    Rect imageRect_;
    QString lastBackground_, lastFilter_;
    std::array<std::int32_t, kStackSize> numStack_{};
    int numCount_ = 0;

    // Run state.
    QString text_;       // prepared text
    const QChar* chars_ = nullptr;
    int len_ = 0;
    int cursor_ = 1;     // 1-based index of the next character to read
    QString message_;
    std::array<std::int32_t, kStackSize> retStack_{};
    int retCount_ = 0;
    std::vector<Word> words_;
    QHash<QStringView, int> wordIds_;
    QHash<QString, int> foldIds_;
    std::vector<std::int32_t> varValues_;  // by fold slot
    std::vector<char> varSet_;
    // Word found at each cursor position: id (-1 none) and the cursor after it; -2 unknown.
    std::vector<std::int32_t> tokWord_, tokEnd_;
    bool running_ = false;
    std::int64_t maxSteps_ = 0;
    std::int64_t steps_ = 0;
    std::int64_t nextCheck_ = 0;
};

}  // namespace pixoral
