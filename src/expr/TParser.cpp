#include "expr/TParser.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "core/Random.h"

namespace pixoral {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

double fSin(double x) { return std::sin(x); }
double fCos(double x) { return std::cos(x); }
double fTan(double x) { return std::tan(x); }
double fCotan(double x) { return 1.0 / std::tan(x); }
double fArctan(double x) { return std::atan(x); }
double fSinh(double x) { return std::sinh(x); }
double fCosh(double x) { return std::cosh(x); }
double fExp(double x) { return std::exp(x); }
double fLn(double x) { return std::log(x); }
double fLog10(double x) { return std::log10(x); }
double fLog2(double x) { return std::log2(x); }
double fSqr(double x) { return x * x; }
double fSqrt(double x) { return std::sqrt(x); }
double fAbs(double x) { return std::fabs(x); }
double fTrunc(double x) { return std::trunc(x); }
// The next integer up or down. (Computing them as the integer part of x + 1 or x - 1 would
// be off by one for values a hair away from an integer, where x + 1 rounds up to the next.)
double fCeil(double x) { return std::ceil(x); }
double fFloor(double x) { return std::floor(x); }
double fHeav(double x) { return x >= 0.0 ? 1.0 : 0.0; }
double fSign(double x) {
    if (x > 0.0) return 1.0;
    if (x < 0.0) return -1.0;
    return x == 0.0 ? 0.0 : NaN;
}
double fZero(double x) { return x == 0.0 ? 0.0 : 1.0; }
// The distance of x from the nearest multiple of 2/pi (halves to the even one), scaled by 2 pi.
double fPh(double x) {
    const double y = x / 0.6366197723675813431;
    double r = std::floor(y);
    const double fraction = y - r;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
    return (y - r) * 6.283185307179586477;
}
double fRnd(double x) { return std::trunc(x) * random::unit(); }
double fRandom(double) { return random::unit(); }

double fMax(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return NaN;
    return a > b ? a : b;
}
double fMin(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return NaN;
    return a < b ? a : b;
}
double fLogn(double base, double x) { return std::log(x) / std::log(base); }
double fArg(double x, double y) {
    if (x > 0.0) return std::atan(y / x);
    if (x < 0.0) return std::atan(y / x) + Pi;
    if (x == 0.0) return y > 0.0 ? Pi / 2 : -Pi / 2;
    return NaN;
}

}  // namespace

TParser::TParser() {
    addVariable("A", a_);
    addVariable("B", b_);
    addVariable("C", c_);
    addVariable("D", d_);
    addVariable("E", e_);
    addVariable("X", x_);
    addVariable("Y", y_);
    addVariable("T", t_);

    addFunctionOneParam("COS", fCos, true);
    addFunctionOneParam("SIN", fSin, true);
    addFunctionOneParam("TAN", fTan, true);
    addFunctionOneParam("COTAN", fCotan, true);
    addFunctionOneParam("ARCTAN", fArctan, true);
    addFunctionOneParam("SINH", fSinh, true);
    addFunctionOneParam("COSH", fCosh, true);
    addFunctionOneParam("EXP", fExp, true);
    addFunctionOneParam("LN", fLn, true);
    addFunctionOneParam("LOG10", fLog10, true);
    addFunctionOneParam("LOG2", fLog2, true);
    addFunctionOneParam("SQR", fSqr, true);
    addFunctionOneParam("SQRT", fSqrt, true);
    addFunctionOneParam("ABS", fAbs, true);
    addFunctionOneParam("TRUNC", fTrunc, true);
    addFunctionOneParam("INT", fTrunc, true);
    addFunctionOneParam("CEIL", fCeil, true);
    addFunctionOneParam("FLOOR", fFloor, true);
    addFunctionOneParam("HEAV", fHeav, true);
    addFunctionOneParam("SIGN", fSign, true);
    addFunctionOneParam("ZERO", fZero, true);
    addFunctionOneParam("PH", fPh, true);
    // A new random number at every evaluation, so never taken from the previous one.
    addFunctionOneParam("RND", fRnd);
    addFunctionOneParam("RANDOM", fRandom);

    addFunctionTwoParam("MAX", fMax, true);
    addFunctionTwoParam("MIN", fMin, true);
    addFunctionTwoParam("POWER", realPower, true);
    addFunctionTwoParam("INTPOWER", integerPower, true);
    addFunctionTwoParam("LOGN", fLogn, true);
    addFunctionTwoParam("ARG", fArg, true);
}

TParser::~TParser() = default;

}  // namespace pixoral
