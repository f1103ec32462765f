// Feeds arbitrary text to the expression parser and evaluates what it accepts. Only the
// parser's own exceptions are expected; anything else (a crash, a sanitizer report, another
// exception, a hang) is a fault.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "core/Random.h"
#include "expr/TParser.h"

namespace {

// Variable sets that reach the integer faults, infinities and NaN as well as ordinary values.
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double Sets[][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},
    {1, 2, 3, 4, 5, 0.5, -1.5, 7},
    {-1, 1e19, -1e300, 1e-300, 3.5, -7, 9223372036854775807.0, -9223372036854775808.0},
    {Inf, -Inf, NAN, 2, -2, 1e308, 0.25, 1},
};

void setAll(pixoral::TParser& p, const double (&v)[8]) {
    p.setA(v[0]);
    p.setB(v[1]);
    p.setC(v[2]);
    p.setD(v[3]);
    p.setE(v[4]);
    p.setT(v[5]);
    p.setX(v[6]);
    p.setY(v[7]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    pixoral::random::seed(1);
    pixoral::TParser p;
    bool parsed = false;
    try {
        parsed = p.parseExpression(text);
    } catch (const pixoral::EMathParserError&) {
        // A refused text leaves nothing to evaluate.
        if (!p.parserError() || p.value() != 0.0 || !p.operationKinds().empty()) std::abort();
        return 0;
    }
    if (!parsed) {
        if (!text.empty() || p.value() != 0.0) std::abort();
        return 0;
    }
    for (const auto& set : Sets) {
        setAll(p, set);
        try {
            (void)p.value();
        } catch (const pixoral::EMathParserError&) {
        }
    }
    // The same text through the event instead of an exception must give the same verdict.
    pixoral::TParser q;
    int calls = 0;
    q.setOnParserError([&](pixoral::TCustomParser&, const pixoral::EMathParserError&) { ++calls; });
    if (!q.parseExpression(text) || calls != 0 || q.operationKinds() != p.operationKinds()) std::abort();
    return 0;
}
