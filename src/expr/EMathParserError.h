#pragma once
// The exception family of the expression parser. Parse failures carry the fixed texts the
// windows show; evaluation failures are the integer faults of DIV, MOD and integer powers.
#include <stdexcept>
#include <string>

namespace pixoral {

class EMathParserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ESyntaxError : public EMathParserError {
public:
    using EMathParserError::EMathParserError;
};

class EExpressionHasBlanks : public EMathParserError {
public:
    EExpressionHasBlanks() : EMathParserError("Expression has blanks") {}
};

class EExpressionTooComplex : public EMathParserError {
public:
    EExpressionTooComplex() : EMathParserError("Expression is too complex") {}
};

class ETooManyNestings : public EMathParserError {
public:
    ETooManyNestings() : EMathParserError("Expression contains too many nestings") {}
};

class EMissMatchingBracket : public EMathParserError {
public:
    EMissMatchingBracket() : EMathParserError("Missing brackets in expression") {}
};

class EParserInternalError : public EMathParserError {
public:
    EParserInternalError() : EMathParserError("TParser internal error") {}
};

// Raised by value(): integer arithmetic that has no defined result.
class EEvaluationError : public EMathParserError {
public:
    using EMathParserError::EMathParserError;
};

class EIntegerDivisionByZero : public EEvaluationError {
public:
    EIntegerDivisionByZero() : EEvaluationError("Division by zero in DIV or MOD") {}
};

class EIntegerOverflow : public EEvaluationError {
public:
    EIntegerOverflow() : EEvaluationError("Number too large for integer arithmetic") {}
};

}  // namespace pixoral
