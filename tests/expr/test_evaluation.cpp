// Evaluation of a parsed list again and again, as the graph windows do: every routine must
// give the result its arguments call for, whatever it computed the time before.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/Random.h"
#include "expr/TParser.h"

using namespace pixoral;

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Same double, bit for bit (so -0 differs from 0, and any NaN equals any NaN).
bool same(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

}  // namespace

TEST(ParserEvaluation, FunctionsFollowTheirArgumentsFromCallToCall) {
    struct Case {
        const char* text;
        std::vector<std::pair<double, double>> xThenValue;
    } cases[] = {
        // Zero and minus zero compare equal but are different arguments.
        {"1/SIN(X)", {{0.0, Inf}, {-0.0, -Inf}, {-0.0, -Inf}, {0.0, Inf}}},
        {"MAX(X,1)", {{NaN, NaN}, {NaN, NaN}, {2, 2}, {2, 2}, {0, 1}}},
        {"ARG(X,-1)+ZERO(X)", {{0, -M_PI / 2}, {1, -M_PI / 4 + 1}, {1, -M_PI / 4 + 1}, {0, -M_PI / 2}}},
        {"SQRT(X)*COS(T)", {{4, 2}, {9, 3}, {-1, NaN}, {16, 4}}},
        {"LN(ABS(X))+X", {{1, 1}, {-1, -1}, {0, -Inf}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TParser p;
        ASSERT_TRUE(p.parseExpression(c.text));
        for (const auto& [x, expected] : c.xThenValue) {
            p.setX(x);
            const double v = p.value();
            if (std::isnan(expected) || std::isinf(expected)) EXPECT_TRUE(same(v, expected)) << x << " gave " << v;
            else EXPECT_DOUBLE_EQ(v, expected) << x;
        }
    }
}

TEST(ParserEvaluation, AFaultIsRaisedAgainForTheSameArguments) {
    TParser p;
    ASSERT_TRUE(p.parseExpression("INTPOWER(2,X)+1"));
    const struct {
        double x;
        bool faults;
        double expected;
    } steps[] = {{3, false, 9}, {Inf, true, 0}, {Inf, true, 0}, {3, false, 9}, {NaN, true, 0}, {-1, false, 1.5}};
    for (const auto& s : steps) {
        p.setX(s.x);
        if (s.faults) EXPECT_THROW(p.value(), EIntegerOverflow) << s.x;
        else EXPECT_EQ(p.value(), s.expected) << s.x;
    }
}

namespace {
int counterCalls = 0;
double counted(double v) {
    ++counterCalls;
    return v + counterCalls;
}
}  // namespace

TEST(ParserEvaluation, RoutinesWithAStateAreCalledEveryTime) {
    // A routine registered without the pure promise runs at every evaluation.
    TCustomParser p;
    double x = 1;
    p.addVariable("X", x);
    p.addFunctionOneParam("TICK", counted);
    p.addFunctionTwoParam("TICK2", [](double a, double b) { return counted(a) + b; });
    ASSERT_TRUE(p.parseExpression("TICK(X)+TICK2(X,0)"));
    counterCalls = 0;
    EXPECT_EQ(p.value(), (1 + 1) + (1 + 2));
    EXPECT_EQ(p.value(), (1 + 3) + (1 + 4));
    EXPECT_EQ(counterCalls, 4);

    // The standard random functions draw a new number each time, in list order: RANDOM sits
    // a row deeper than RND, so it draws first.
    random::seed(3);
    double u[4];
    for (double& v : u) v = random::unit();
    random::seed(3);
    TParser q;
    ASSERT_TRUE(q.parseExpression("RND(100.7)+RANDOM(1)*0"));
    EXPECT_DOUBLE_EQ(q.value(), 100 * u[1]);
    EXPECT_DOUBLE_EQ(q.value(), 100 * u[3]);
}

TEST(ParserPowers, SpecialisedRoutinesAgreeWithTheGeneralOnes) {
    // "^" with a constant exponent takes shortcuts; the functions take the general path. Both
    // must give the same bits for every base, the awkward ones included.
    const double bases[] = {0.0, -0.0, 1.1, -1.1, 2, -4, 0.5, 1e-310, 1e300, Inf, -Inf, NaN};
    const struct {
        const char* shortcut;
        const char* general;
    } pairs[] = {
        {"X^0.5", "POWER(X,0.5)"},       {"X^-0.5", "POWER(X,-0.5)"},   {"X^2.5", "POWER(X,2.5)"},
        {"X^PI", "POWER(X,PI)"},         {"X^-PI", "POWER(X,-PI)"},     {"X^3", "INTPOWER(X,3)"},
        {"X^2", "INTPOWER(X,2)"},        {"X^7", "INTPOWER(X,7)"},      {"X^-3", "INTPOWER(X,-3)"},
        {"X^0", "POWER(X,0)"},           {"X^Y", "POWER(X,Y)"},
    };
    for (const auto& pair : pairs) {
        TParser a, b;
        ASSERT_TRUE(a.parseExpression(pair.shortcut));
        ASSERT_TRUE(b.parseExpression(pair.general));
        for (double x : bases) {
            a.setX(x);
            b.setX(x);
            a.setY(x);
            b.setY(x);
            double va = 0, vb = 0;
            bool faultA = false, faultB = false;
            try { va = a.value(); } catch (const EMathParserError&) { faultA = true; }
            try { vb = b.value(); } catch (const EMathParserError&) { faultB = true; }
            EXPECT_EQ(faultA, faultB) << pair.shortcut << " at " << x;
            EXPECT_TRUE(same(va, vb)) << pair.shortcut << " at " << x << ": " << va << " vs " << vb;
        }
    }
}

TEST(ParserPowers, IntegerPowersMultiplyStepByStepAndEndQuickly) {
    TParser p;
    const double x = 1.1;
    p.setX(x);
    double seven = 1;
    for (int i = 0; i < 7; ++i) seven *= x;
    ASSERT_TRUE(p.parseExpression("X^7"));
    EXPECT_TRUE(same(p.value(), seven));
    ASSERT_TRUE(p.parseExpression("X^-7"));
    EXPECT_TRUE(same(p.value(), 1 / seven));

    // Exponents far beyond any loop: each must finish at once with the right limit.
    const struct {
        const char* text;
        double x, expected;
    } huge[] = {
        {"X^1099511627777", -1, -1},
        {"X^1099511627776", -1, 1},
        {"X^1099511627776", 1.0000001, Inf},
        {"X^-1099511627776", 1.0000001, 0},
        {"INTPOWER(X,-4611686018427387904)", 2, 0},
        {"X^1E18", 0.5, 0},
    };
    for (const auto& h : huge) {
        ASSERT_TRUE(p.parseExpression(h.text));
        p.setX(h.x);
        EXPECT_TRUE(same(p.value(), h.expected)) << h.text << " at " << h.x;
    }
    // 9223372036854775807 reads as 2^63, one past the 64-bit range.
    ASSERT_TRUE(p.parseExpression("X^9223372036854775807"));
    EXPECT_THROW(p.value(), EIntegerOverflow);
}

TEST(ParserErrors, HandlerMayReplaceItselfOrParseAgain) {
    TParser p;
    int calls = 0;
    p.setOnParserError([&](TCustomParser& sender, const EMathParserError&) {
        ++calls;
        // Drop the handler while it runs, then fall back to a formula that works.
        sender.setOnParserError(nullptr);
        EXPECT_TRUE(sender.parseExpression("X+1"));
    });
    p.setX(1);
    EXPECT_FALSE(p.parseExpression("X+"));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(p.value(), 2);
    EXPECT_EQ(p.expression(), "X+1");
    // The handler is gone: the next failure raises.
    EXPECT_THROW(p.parseExpression("X+"), ESyntaxError);
}
