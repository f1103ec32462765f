// Time of one evaluation of a parsed expression, ours (TParser::value) beside muparser's
// (Parser::Eval) on the same expressions, with X changing at every evaluation as it does when
// a graph is plotted. Parsing is outside the timed loop for both.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <iterator>

#include "expr/TParser.h"

namespace {

struct Expression {
    const char* ours;
    const char* theirs;
};

// muparser spells functions in lower case and has its own min and max.
constexpr Expression Expressions[] = {
    {"SIN(X)*A+COS(T)", "sin(x)*a+cos(t)"},
    {"X*X*X-2*X+1", "x*x*x-2*x+1"},
    {"(X+1)/(X-1)+X^0.5", "(x+1)/(x-1)+x^0.5"},
    {"MAX(MIN(A,B),C)+ABS(X)", "max(min(a,b),c)+abs(x)"},
    // The same work with every function argument changing at each evaluation, so no record
    // can keep its previous result.
    {"SIN(X)*A+COS(X)", "sin(x)*a+cos(x)"},
    {"MAX(MIN(X,B),C)+ABS(X)", "max(min(x,b),c)+abs(x)"},
};

// X runs through [2, 3) so every expression stays finite.
inline double nextX(double x) { return x >= 3.0 ? 2.0 : x + 0.000123; }

void setUp(pixoral::TParser& p, const Expression& e) {
    p.setA(1.5);
    p.setB(-0.5);
    p.setC(0.25);
    p.setT(0.75);
    p.parseExpression(e.ours);
}

void BM_TParser(benchmark::State& state) {
    const Expression& e = Expressions[state.range(0)];
    pixoral::TParser p;
    setUp(p, e);
    state.SetLabel(e.ours);
    double x = 2.0;
    for (auto _ : state) {
        x = nextX(x);
        p.setX(x);
        benchmark::DoNotOptimize(p.value());
    }
}

void BM_muparser(benchmark::State& state) {
    const Expression& e = Expressions[state.range(0)];
    double a = 1.5, b = -0.5, c = 0.25, t = 0.75, x = 2.0;
    mu::Parser p;
    p.DefineVar("a", &a);
    p.DefineVar("b", &b);
    p.DefineVar("c", &c);
    p.DefineVar("t", &t);
    p.DefineVar("x", &x);
    p.SetExpr(e.theirs);
    p.Eval();  // the first evaluation turns the text into byte code
    state.SetLabel(e.theirs);
    // Both must compute the same thing for the comparison to mean anything.
    pixoral::TParser ours;
    setUp(ours, e);
    for (double probe : {2.0, 2.5, 2.999}) {
        x = probe;
        ours.setX(probe);
        if (std::fabs(ours.value() - p.Eval()) > 1e-12 * std::fabs(ours.value())) {
            state.SkipWithError("the two parsers disagree");
            return;
        }
    }
    x = 2.0;
    for (auto _ : state) {
        x = nextX(x);
        benchmark::DoNotOptimize(p.Eval());
    }
}

}  // namespace

BENCHMARK(BM_TParser)->DenseRange(0, std::size(Expressions) - 1);
BENCHMARK(BM_muparser)->DenseRange(0, std::size(Expressions) - 1);

BENCHMARK_MAIN();
