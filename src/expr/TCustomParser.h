#pragma once
// Parses a typed expression once into a flat list of operation records, then evaluates that
// list as often as the caller likes. The records point straight at the variable fields, the
// constants and each other's results, so evaluation does no text work and allocates nothing.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "expr/EMathParserError.h"

namespace pixoral {

// The kinds of operation records, numbered as the program has always numbered them.
enum class OperationKind : std::uint8_t {
    Variable = 0,  // a lone operand, no computation
    Constant = 1,
    Negate = 2,
    Add = 3,
    Subtract = 4,
    Multiply = 5,
    Divide = 6,  // real division
    Mod = 7,
    Div = 8,
    IntPower = 9,
    RealPower = 10,
    Square = 11,
    Cube = 12,
    FourthPower = 13,
    Function1 = 14,
    Function2 = 15,
};

// The power routines of "^", shared with the functions INTPOWER and POWER.
// integerPower: a raised to b truncated to an integer (EIntegerOverflow outside 64 bits); a
// negative exponent gives the reciprocal. realPower: b = 0 gives 1, a = 0 with b > 0 gives 0,
// a whole b within 32 bits gives the integer power, anything else e^(b ln a).
double integerPower(double a, double b);
double realPower(double a, double b);

class TCustomParser {
public:
    using Function1 = double (*)(double);
    using Function2 = double (*)(double, double);
    // Called instead of raising when a parse fails.
    using TParserExceptionEvent = std::function<void(TCustomParser& sender, const EMathParserError& e)>;

    // Limits of the operation list: records sit in rows by the depth of their operands.
    static constexpr int MaxRows = 20;
    static constexpr int MaxRecordsPerRow = 50;

    TCustomParser();
    virtual ~TCustomParser();
    // The records point into this object, so it can be neither copied nor moved.
    TCustomParser(const TCustomParser&) = delete;
    TCustomParser& operator=(const TCustomParser&) = delete;

    // Replaces the operation list by the one for text. Returns true on success. An empty text
    // builds nothing and returns false. A failure leaves the list empty, sets parserError()
    // and raises an EMathParserError subclass, or, when onParserError is set, calls it and
    // returns false.
    bool parseExpression(std::string_view text);
    void setExpression(std::string_view text) { parseExpression(text); }
    const std::string& expression() const { return expression_; }

    // Evaluates the operation list with the variables' current values; 0 when it is empty.
    // Real arithmetic follows IEEE rules and never raises: division by zero, the logarithm or
    // square root of a negative number and the like give an infinity or NaN, which the caller
    // tests (std::isfinite). Integer arithmetic raises an EEvaluationError: DIV or MOD by zero
    // (after truncation) raises EIntegerDivisionByZero, and truncating a value outside the
    // 64-bit integer range (or NaN) for DIV, MOD or an integer power raises EIntegerOverflow.
    // Not reentrant: the records hold the intermediate results.
    double value();

    // true: numbers use "." as decimal point whatever the locale; false: the decimal point of
    // the C library's current locale. Takes effect at the next parse.
    bool dotNumberformat() const { return dotNumberformat_; }
    void setDotNumberformat(bool on) { dotNumberformat_ = on; }

    const TParserExceptionEvent& onParserError() const { return onParserError_; }
    void setOnParserError(TParserExceptionEvent handler) { onParserError_ = std::move(handler); }

    // Set by every parse of a non-empty text: true when it failed.
    bool parserError() const { return parserError_; }

    // Tables. Names are upper-cased and must be letters, digits and "_", starting with a letter
    // or "_"; anything else raises EMathParserError. A variable's field must outlive the
    // parser; adding a variable twice is ignored, a function twice raises EMathParserError.
    void addVariable(std::string_view name, double& field);
    // A pure routine depends on its arguments alone; its record skips the call when the
    // arguments are bit for bit those of the previous evaluation (say COS(Y) along a row of
    // a surface). Routines with a state of their own, such as random numbers, are not pure.
    void addFunctionOneParam(std::string_view name, Function1 routine, bool pure = false);
    void addFunctionTwoParam(std::string_view name, Function2 routine, bool pure = false);
    // The field of a variable, nullptr when there is none (letter case ignored).
    double* variable(std::string_view name) const;

    // The kinds of the operation list in evaluation order (the root operation last).
    std::vector<OperationKind> operationKinds() const;

private:
    struct Analysis;

    template <class F>
    struct Routine {
        F routine;
        bool pure;
    };

    // The routine value() runs for a record: the operation kind, refined where the parse
    // already knows more (a power with a fractional constant exponent, a pure function).
    enum class Step : std::uint8_t {
        Copy, Negate, Add, Subtract, Multiply, Divide, Mod, Div, IntPower, RealPower,
        FractionPower, Square, Cube, FourthPower, Function1, PureFunction1, Function2, PureFunction2,
    };

    struct OpRecord {
        const double* a = nullptr;  // first operand
        const double* b = nullptr;  // second operand, unused by one-operand kinds
        double result = 0.0;
        Function1 function1 = nullptr;
        Function2 function2 = nullptr;
        OperationKind kind = OperationKind::Constant;
        Step step = Step::Copy;
        bool evaluated = false;  // a pure function's result and arguments are valid
        // The arguments of a pure function's last call.
        std::uint64_t lastA = 0;
        std::uint64_t lastB = 0;
        // Numbers written in the expression live beside the record that reads them.
        double constantA = 0.0;
        double constantB = 0.0;
    };

    void build(std::string_view upper);
    void clearList();

    std::string expression_;
    bool dotNumberformat_ = true;
    bool parserError_ = false;
    TParserExceptionEvent onParserError_;

    std::map<std::string, double*, std::less<>> variables_;
    std::map<std::string, Routine<Function1>, std::less<>> functions1_;
    std::map<std::string, Routine<Function2>, std::less<>> functions2_;
    std::size_t longestVariable_ = 0;

    std::vector<OpRecord> records_;  // never resized once linked
    // records_ holds the list in its own order, so value() steps through memory.
    OpRecord* first_ = nullptr;
    OpRecord* last_ = nullptr;  // the root operation
};

}  // namespace pixoral
