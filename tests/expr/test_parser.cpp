// Behaviour of TParser as its callers see it: values, operation lists, exceptions and texts.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <typeindex>
#include <vector>

#include "core/Random.h"
#include "expr/TParser.h"

using namespace pixoral;

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Inf = std::numeric_limits<double>::infinity();

struct Vars {
    double a = 0, b = 0, c = 0, x = 0;
};

double eval(const std::string& text, Vars v = {}) {
    TParser p;
    p.setA(v.a);
    p.setB(v.b);
    p.setC(v.c);
    p.setX(v.x);
    EXPECT_TRUE(p.parseExpression(text)) << text;
    return p.value();
}

struct ValueCase {
    const char* text;
    Vars vars;
    double expected;
};

void expectValues(const std::vector<ValueCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const double v = eval(c.text, c.vars);
        if (std::isnan(c.expected)) EXPECT_TRUE(std::isnan(v)) << v;
        else EXPECT_DOUBLE_EQ(v, c.expected);
    }
}

using K = OperationKind;
std::vector<K> kindsOf(const std::string& text) {
    TParser p;
    p.parseExpression(text);
    return p.operationKinds();
}

// The class and message a parse raises, "" when it succeeds.
std::pair<std::type_index, std::string> failure(const std::string& text) {
    TParser p;
    try {
        p.parseExpression(text);
    } catch (const EMathParserError& e) {
        return {typeid(e), e.what()};
    }
    return {typeid(void), ""};
}

}  // namespace

TEST(ParserParsing, AssociativityAndPrecedence) {
    expectValues({
        {"x*2", {.x = 3}, 6},  // upper-cased: x is X
        {"A-B-C", {10, 3, 2}, 5},
        {"A/B/C", {12, 3, 2}, 2},
        {"A+B*C", {1, 2, 3}, 7},
        {"A*B+C", {1, 2, 3}, 5},
        {"A-B+C", {10, 3, 2}, 9},
        {"A-B*C", {10, 3, 2}, 4},
        {"A/B*C", {12, 3, 2}, 8},
        {"ADIVB*C", {7, 2, 10}, 30},
        {"(A+B)*C", {1, 2, 3}, 9},
        {"((X))", {.x = 4}, 4},
        {" X+1 ", {.x = 1}, 2},
        {"-A+B", {2, 5}, 3},
        {"0-A-B", {2, 5}, -7},
        {"A*-5", {.a = 2}, -10},
        {"-A^2", {.a = 3}, -9},
        {"-(A+B)*C", {1, 2, 3}, -9},
        {"-SIN(X)", {.x = Pi / 2}, -1},
        {"A--5", {.a = 1}, 6},
        {"A+-5", {.a = 1}, -4},
        {"2E+3+X", {.x = 1}, 2001},
        {"E-1", {}, -1},  // the variable E, not a number
        {"(A)+(B)", {1, 2}, 3},
    });
}

TEST(ParserParsing, OperationListIsLinkedDeepestRowFirst) {
    EXPECT_EQ(kindsOf("((X))"), std::vector<K>{K::Variable});
    EXPECT_EQ(kindsOf("7"), std::vector<K>{K::Constant});
    // A+(B+C): the inner addition sits one row deeper and comes first.
    EXPECT_EQ(kindsOf("A+B+C"), (std::vector<K>{K::Add, K::Add}));
    EXPECT_EQ(kindsOf("SIN(X)*A+COS(T)"), (std::vector<K>{K::Function1, K::Multiply, K::Function1, K::Add}));
    EXPECT_EQ(kindsOf("-X*Y"), (std::vector<K>{K::Negate, K::Multiply}));
    EXPECT_EQ(kindsOf("MAX(MIN(A,B),C)"), (std::vector<K>{K::Function2, K::Function2}));
    EXPECT_EQ(kindsOf("7MOD2-7DIV2/X"), (std::vector<K>{K::Div, K::Mod, K::Divide, K::Subtract}));
}

TEST(ParserNumbers, Syntax) {
    expectValues({
        {"1.5", {}, 1.5},   {"-2.25", {}, -2.25}, {"+3", {}, 3},       {".5", {}, 0.5},
        {"5.", {}, 5},      {".", {}, 0},         {"E5", {}, 0},       {"1E3", {}, 1000},
        {"1.5E-2", {}, 0.015}, {"2E+2", {}, 200}, {"PI", {}, Pi},      {"-PI", {}, -Pi},
        {"1E400", {}, Inf}, {"-1E400", {}, -Inf}, {"1E-400", {}, 0},   {"0.000001E6", {}, 1},
        {"00012", {}, 12},  {"1E-310", {}, 1e-310},
        {"123456789012345678901234567890", {}, 1.2345678901234568e29},
    });
    // Number texts that are not numbers.
    for (const char* bad : {"1E", "1E+", "1.2.3", "1EE2", "+", "-", "--5", "+PI", "1,5", "E+", "PI2"})
        EXPECT_EQ(failure(bad).first, std::type_index(typeid(ESyntaxError))) << bad;
    // "E" alone is the variable, and a sign straight after it starts an operation.
    EXPECT_EQ(kindsOf("E"), std::vector<K>{K::Variable});
    EXPECT_EQ(kindsOf("E+1"), (std::vector<K>{K::Add}));
    EXPECT_EQ(kindsOf("E5"), std::vector<K>{K::Constant});
}

TEST(ParserNumbers, LocaleFormat) {
    TParser p;
    p.setDotNumberformat(false);
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE")) {
        EXPECT_TRUE(p.parseExpression("1,5*2"));
        EXPECT_DOUBLE_EQ(p.value(), 3.0);
        EXPECT_THROW(p.parseExpression("1.5"), ESyntaxError);
        p.setDotNumberformat(true);
        EXPECT_TRUE(p.parseExpression("1.5"));
        EXPECT_DOUBLE_EQ(p.value(), 1.5);
    } else {
        // Only the C locale here: its decimal point is ".".
        EXPECT_TRUE(p.parseExpression("1.5*2"));
        EXPECT_DOUBLE_EQ(p.value(), 3.0);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ParserPowers, KindsAndValues) {
    struct Case {
        const char* text;
        K kind;
        double x, expected;
    } cases[] = {
        {"X^2", K::Square, 3, 9},          {"X^3", K::Cube, -2, -8},
        {"X^4", K::FourthPower, 2, 16},    {"X^2.0", K::Square, 5, 25},
        {"2^-1", K::IntPower, 0, 0.5},     {"X^5", K::IntPower, 2, 32},
        {"X^0", K::IntPower, 0, 1},        {"X^-2", K::IntPower, 0, Inf},
        {"X^0.5", K::RealPower, 16, 4},    {"X^(2)", K::RealPower, -3, 9},
        {"X^X", K::RealPower, 0, 1},       {"X^X", K::RealPower, 3, 27},
        {"X^0.5", K::RealPower, 0, 0},     {"X^-0.5", K::RealPower, 0, Inf},
        {"X^0.5", K::RealPower, -4, NAN},  {"X^SQR(X)", K::RealPower, -2, 16},
        {"X^-PI", K::RealPower, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TParser p;
        p.setX(c.x);
        ASSERT_TRUE(p.parseExpression(c.text));
        EXPECT_EQ(p.operationKinds().back(), c.kind);
        const double v = p.value();
        if (std::isnan(c.expected)) EXPECT_TRUE(std::isnan(v));
        else EXPECT_DOUBLE_EQ(v, c.expected);
    }
}

TEST(ParserFunctions, Table) {
    // The halfway cases of PH below test its rounding only if the division gives the half exactly.
    for (double h : {2.5, 1.5}) ASSERT_EQ(0.6366197723675813431 * h / 0.6366197723675813431, h);
    random::seed(7);
    const double firstUnit = random::unit();
    expectValues({
        {"SIN(X)", {.x = Pi / 6}, 0.5},      {"COS(0)", {}, 1},
        {"TAN(X)", {.x = Pi / 4}, 1},        {"COTAN(X)", {.x = Pi / 4}, 1},
        {"ARCTAN(1)", {}, Pi / 4},           {"SINH(1)", {}, (std::exp(1) - std::exp(-1)) / 2},
        {"COSH(1)", {}, (std::exp(1) + std::exp(-1)) / 2},
        {"EXP(1)", {}, std::exp(1.0)},       {"LN(EXP(2))", {}, 2},
        {"LOG10(1000)", {}, 3},              {"LOG2(8)", {}, 3},
        {"LOGN(2,1024)", {}, 10},            {"SQR(-3)", {}, 9},
        {"SQRT(2)", {}, std::sqrt(2.0)},     {"ABS(-2.5)", {}, 2.5},
        {"TRUNC(-2.7)", {}, -2},             {"INT(2.7)", {}, 2},
        {"CEIL(2.1)", {}, 3},                {"CEIL(-2.7)", {}, -2},
        {"CEIL(X)", {.x = 0.9999999999999999}, 1},
        {"FLOOR(-2.1)", {}, -3},             {"FLOOR(2.7)", {}, 2},
        {"FLOOR(X)", {.x = -0.9999999999999999}, -1},
        {"HEAV(0)", {}, 1},                  {"HEAV(-1)", {}, 0},
        {"SIGN(-3)", {}, -1},                {"SIGN(0)", {}, 0},      {"SIGN(5)", {}, 1},
        {"ZERO(0)", {}, 0},                  {"ZERO(0.1)", {}, 1},
        {"PH(0)", {}, 0},                    {"PH(X)", {.x = 0.6366197723675813431 * 2.25}, 0.25 * 6.283185307179586477},
        {"PH(X)", {.x = 0.6366197723675813431 * 2.5}, 0.5 * 6.283185307179586477},   // 2.5 rounds to 2
        {"PH(X)", {.x = 0.6366197723675813431 * 1.5}, -0.5 * 6.283185307179586477},  // 1.5 rounds to 2
        {"MAX(MIN(A,B),C)", {1, 5, 3}, 3},   {"MAX(MIN(A,B),C)", {4, 5, 3}, 4},
        {"MIN(X,-X)", {.x = 2}, -2},
        {"POWER(2,0.5)", {}, std::sqrt(2.0)}, {"POWER(-2,3)", {}, -8},
        {"INTPOWER(2,10.9)", {}, 1024},      {"INTPOWER(2,-2)", {}, 0.25},
        {"ARG(0,0)", {}, -Pi / 2},           {"ARG(-1,0)", {}, Pi},
        {"ARG(0,2)", {}, Pi / 2},            {"ARG(1,1)", {}, Pi / 4},
        {"ARG(-1,-1)", {}, Pi / 4 + Pi},     {"sin(x)", {.x = Pi / 2}, 1},
        {"SQRT(-1)", {}, NAN},               {"LN(0)", {}, -Inf},
        {"1/X", {}, Inf},                    {"MAX(0/0,1)", {}, NAN},
    });
    random::seed(7);
    EXPECT_DOUBLE_EQ(eval("RND(10.9)"), 10 * firstUnit);
    random::seed(7);
    EXPECT_DOUBLE_EQ(eval("RANDOM(123)"), firstUnit);
    random::seed(7);
    TParser p;
    p.parseExpression("RANDOM(0)");
    const double r1 = p.value(), r2 = p.value();
    EXPECT_NE(r1, r2);  // a new number at every evaluation
    EXPECT_GE(r2, 0.0);
    EXPECT_LT(r2, 1.0);
}

TEST(ParserErrors, ClassesAndMessages) {
    const std::type_index syntax = typeid(ESyntaxError);
    struct Case {
        const char* text;
        std::type_index type;
        const char* message;
    } cases[] = {
        {"X +1", typeid(EExpressionHasBlanks), "Expression has blanks"},
        {"X\t+1", typeid(EExpressionHasBlanks), "Expression has blanks"},
        {"(X+1", typeid(EMissMatchingBracket), "Missing brackets in expression"},
        {"X+1))", typeid(EMissMatchingBracket), "Missing brackets in expression"},
        {"SIN", syntax, "Error parsing expression:\rSIN"},
        {"SIN()", syntax, "Error parsing expression:\rSIN()"},
        {"FOO(X)", syntax, "Error parsing expression:\rFOO(X)"},
        {"((FOO(X)))", syntax, "Error parsing expression:\r((FOO(X)))"},
        {"X+", syntax, "Error parsing expression:\rX+"},
        {"-A-B", syntax, "Error parsing expression:\r-A-B"},
        {"A*-B", syntax, "Error parsing expression:\rA\r-B"},  // the sides of "*", tried after "-"
        {"A^B^C", syntax, "Error parsing expression:\rA^B\rC"},
        {"--A", syntax, "Error parsing expression:\r--A"},
        {"A+B*", syntax, "Error parsing expression:\rA\rB*"},
        {"SIN(X)+FOO(Y)", syntax, "Error parsing expression:\rSIN(X)\rFOO(Y)"},
        {"(X+)", syntax, "Error parsing expression:\r(X\r)"},
        {")X(", syntax, "Error parsing expression:\r)X("},
        {"XDIV", syntax, "Error parsing expression:\rX\r"},
        {"DIVX", syntax, "Error parsing expression:\rDIVX"},
        {"MAX(A,,B)", syntax, "Error parsing expression:\rA,\rB"},
        {"MAX(,A)", syntax, "Error parsing expression:\rMAX(,A)"},
        {"   ", syntax, "Error parsing expression:\r"},
        {"2X", syntax, "Error parsing expression:\r2X"},
        {"A++B", syntax, "Error parsing expression:\rA+\rB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto [type, message] = failure(c.text);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(message, c.message);
    }
    // All of them belong to one family.
    EXPECT_THROW(TParser().parseExpression("X+"), EMathParserError);
}

TEST(ParserErrors, FailedParseLeavesNothing) {
    TParser p;
    p.setX(2);
    ASSERT_TRUE(p.parseExpression("X+1"));
    EXPECT_FALSE(p.parserError());
    EXPECT_THROW(p.parseExpression("X+"), ESyntaxError);
    EXPECT_TRUE(p.parserError());
    EXPECT_EQ(p.expression(), "X+");
    EXPECT_TRUE(p.operationKinds().empty());
    EXPECT_EQ(p.value(), 0.0);

    int calls = 0;
    std::string seen;
    p.setOnParserError([&](TCustomParser& sender, const EMathParserError& e) {
        ++calls;
        seen = e.what();
        EXPECT_EQ(&sender, &p);
    });
    EXPECT_FALSE(p.parseExpression("(X"));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, "Missing brackets in expression");
    EXPECT_EQ(p.value(), 0.0);

    // An empty text builds nothing, quietly.
    ASSERT_TRUE(p.parseExpression("X"));
    EXPECT_FALSE(p.parseExpression(""));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(p.value(), 0.0);
    p.setExpression("X*3");
    EXPECT_EQ(p.expression(), "X*3");
    EXPECT_EQ(p.value(), 6.0);
}

TEST(ParserErrors, IntegerFaultsAtEvaluation) {
    expectValues({
        {"7DIV2", {}, 3},    {"-7DIV2", {}, -3},   {"(0-7)DIV2", {}, -3}, {"7MOD-2", {}, 1},
        {"-7MOD2", {}, -1},  {"7.9DIV2.9", {}, 3}, {"XDIV2", {.x = 9}, 4},
        {"-9223372036854775808DIV-1", {}, 9223372036854775808.0},
        {"-9223372036854775808MOD-1", {}, 0},
    });
    // x faults; goodX (when the expression has one) evaluates again on the same list.
    struct Case {
        const char* text;
        double x;
        std::type_index type;
        double goodX = 4;
    } cases[] = {
        {"7DIVX", 0, typeid(EIntegerDivisionByZero)},
        {"7MODX", 0.5, typeid(EIntegerDivisionByZero)},
        {"XDIV2", 1e19, typeid(EIntegerOverflow)},
        {"XDIV2", 9223372036854775808.0, typeid(EIntegerOverflow)},
        {"7MODX", -1e300, typeid(EIntegerOverflow)},
        {"XDIV2", NAN, typeid(EIntegerOverflow)},
        {"XMOD2", -Inf, typeid(EIntegerOverflow)},
        {"INTPOWER(2,X)", Inf, typeid(EIntegerOverflow)},
        {"SIN(X)+1DIV(X-X)", 1, typeid(EIntegerDivisionByZero), NAN},
        {"X^1E30", 1, typeid(EIntegerOverflow), NAN},  // the exponent itself cannot be truncated
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TParser p;
        p.setX(c.x);
        ASSERT_TRUE(p.parseExpression(c.text));
        try {
            p.value();
            ADD_FAILURE() << "no exception";
        } catch (const EEvaluationError& e) {
            EXPECT_EQ(std::type_index(typeid(e)), c.type);
            EXPECT_FALSE(std::string(e.what()).empty());
        }
        // The list survives the fault: it evaluates again, and faults again where it must.
        if (std::isnan(c.goodX)) {
            EXPECT_THROW(p.value(), EEvaluationError);
        } else {
            p.setX(c.goodX);
            EXPECT_NO_THROW(p.value());
        }
    }
}

namespace {
std::string sumOf(int n) {
    std::string s = "A";
    for (int i = 1; i < n; ++i) s += "+A";
    return s;
}
// A tree of bracketed additions, 64 terms at depth 6, the first `products` of them X*X whose
// records fill row 7.
std::string rowTree(int depth, int& products) {
    if (depth == 6) return products-- > 0 ? "X*X" : "X";
    std::string left = rowTree(depth + 1, products);
    return "(" + left + ")+(" + rowTree(depth + 1, products) + ")";
}
}  // namespace

TEST(ParserLimits, NestingsAndRows) {
    TParser p;
    p.setA(1);
    ASSERT_TRUE(p.parseExpression(sumOf(21)));
    EXPECT_EQ(p.value(), 21);
    EXPECT_EQ(failure(sumOf(22)), std::make_pair(std::type_index(typeid(ETooManyNestings)),
                                                 std::string("Expression contains too many nestings")));
    // Brackets alone do not nest the operation list.
    ASSERT_TRUE(p.parseExpression(std::string(1000, '(') + "A" + std::string(1000, ')')));
    EXPECT_EQ(p.value(), 1);

    int products = 50;
    ASSERT_TRUE(p.parseExpression(rowTree(0, products)));
    p.setX(1);
    EXPECT_EQ(p.value(), 64);
    EXPECT_EQ(p.operationKinds().size(), 63u + 50u);
    products = 51;
    EXPECT_EQ(failure(rowTree(0, products)), std::make_pair(std::type_index(typeid(EExpressionTooComplex)),
                                                            std::string("Expression is too complex")));
}

TEST(ParserLimits, HostileTextEndsQuickly) {
    // Each of these must end in an error of the family, fast, without exhausting the stack.
    std::vector<std::string> texts = {
        std::string(20000, '(') + "X" + std::string(20000, ')'),
        sumOf(30000),
        [] { std::string s = "A"; for (int i = 0; i < 1500; ++i) s += "-A"; return s; }(),
        [] { std::string s = "A"; for (int i = 0; i < 1500; ++i) s += "/A"; return s + "*"; }(),
        [] { std::string s; for (int i = 0; i < 700; ++i) s += "MAX(A,"; return s + std::string(700, ')'); }(),
        std::string(200000, '1'),
    };
    for (const auto& text : texts) {
        TParser p;
        EXPECT_THROW(p.parseExpression(text), EMathParserError) << text.substr(0, 40);
        EXPECT_EQ(p.value(), 0.0);
    }
}

TEST(ParserEvaluation, ChangedVariablesNeedNoNewParse) {
    TParser p;
    ASSERT_TRUE(p.parseExpression("SIN(X)*A+COS(T)"));
    p.setA(2);
    p.setX(Pi / 2);
    EXPECT_DOUBLE_EQ(p.value(), 3.0);
    p.setT(Pi);
    EXPECT_DOUBLE_EQ(p.value(), 1.0);
    p.setX(0);
    EXPECT_DOUBLE_EQ(p.value(), -1.0);

    // Every variable by its name and by its accessor.
    ASSERT_TRUE(p.parseExpression("A+2*B+4*C+8*D+16*E+32*T+64*X+128*Y"));
    for (const char* name : {"A", "B", "C", "D", "E", "T", "X", "Y"}) *p.variable(name) = 0;
    p.setA(1); p.setB(1); p.setC(1); p.setD(1);
    p.setE(1); p.setT(1); p.setX(1); p.setY(1);
    EXPECT_EQ(p.value(), 255);
    *p.variable("y") = 0;
    EXPECT_EQ(p.y(), 0.0);
    EXPECT_EQ(p.value(), 127);
    EXPECT_EQ(p.variable("Z"), nullptr);
}

TEST(ParserTables, CustomParserRegistration) {
    TCustomParser p;
    double width = 3;
    p.addVariable("Width", width);
    p.addVariable("WIDTH", width);  // a second time is ignored
    p.addFunctionOneParam("twice", [](double v) { return 2 * v; });
    EXPECT_THROW(p.addFunctionOneParam("TWICE", [](double v) { return v; }), EMathParserError);
    EXPECT_THROW(p.addVariable("2X", width), EMathParserError);
    EXPECT_THROW(p.addVariable("A+B", width), EMathParserError);
    ASSERT_TRUE(p.parseExpression("twice(width)+1"));
    EXPECT_EQ(p.value(), 7);
    width = 10;
    EXPECT_EQ(p.value(), 21);
    EXPECT_THROW(p.parseExpression("SIN(X)"), ESyntaxError);  // no standard tables here
}
