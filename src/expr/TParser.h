#pragma once
// The parser the generator windows use: the eight variables A, B, C, D, E, T, X, Y (all 0 at
// first) and the standard functions. The operation list reads the variables by address, so a
// value set here is used by the next value() without parsing again.
#include "expr/TCustomParser.h"

namespace pixoral {

class TParser : public TCustomParser {
public:
    TParser();
    ~TParser() override;

    double a() const { return a_; }
    double b() const { return b_; }
    double c() const { return c_; }
    double d() const { return d_; }
    double e() const { return e_; }
    double t() const { return t_; }
    double x() const { return x_; }
    double y() const { return y_; }
    void setA(double v) { a_ = v; }
    void setB(double v) { b_ = v; }
    void setC(double v) { c_ = v; }
    void setD(double v) { d_ = v; }
    void setE(double v) { e_ = v; }
    void setT(double v) { t_ = v; }
    void setX(double v) { x_ = v; }
    void setY(double v) { y_ = v; }

private:
    double a_ = 0.0, b_ = 0.0, c_ = 0.0, d_ = 0.0, e_ = 0.0, t_ = 0.0, x_ = 0.0, y_ = 0.0;
};

}  // namespace pixoral
