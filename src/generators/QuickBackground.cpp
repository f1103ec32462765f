#include "generators/QuickBackground.h"

#include <algorithm>
#include <vector>

namespace pixoral::generators {

void QBSettings::setFactor(int m) { factor = static_cast<std::uint8_t>(std::clamp(m, kQBFactorMin, kQBFactorMax)); }

namespace {

using I32 = std::int32_t;
using U32 = std::uint32_t;

// 32-bit arithmetic that wraps on overflow, as the formulas are defined on 32-bit integers.
constexpr I32 wrap(U32 v) { return static_cast<I32>(v); }
constexpr I32 mul(I32 a, I32 b) { return wrap(static_cast<U32>(a) * static_cast<U32>(b)); }
constexpr I32 add(I32 a, I32 b) { return wrap(static_cast<U32>(a) + static_cast<U32>(b)); }
constexpr I32 sub(I32 a, I32 b) { return wrap(static_cast<U32>(a) - static_cast<U32>(b)); }
// The factor as a divisor; a hand-made settings value below the range must not divide by 0.
constexpr I32 mOf(const QBSettings& s) { return s.factor < kQBFactorMin ? kQBFactorMin : s.factor; }
// Truncating remainder; the divisors here are always positive, but INT_MIN % -1 must not arise.
constexpr I32 mod(I32 a, I32 b) { return b <= 0 ? 0 : a % b; }

constexpr I32 fProd(int y, int x, const QBSettings& s) { return mod(mul(x, y), mOf(s)); }
constexpr I32 fSum(int y, int x, const QBSettings& s) { return mod(add(x, y), mOf(s)); }
constexpr I32 fSub(int y, int x, const QBSettings& s) { return mod(sub(x, y), mOf(s)); }
constexpr I32 fXor(int y, int x, const QBSettings& s) { return mod(x ^ y, mOf(s)); }
constexpr I32 fAnd(int y, int x, const QBSettings& s) { return mod(x & y, mOf(s)); }
constexpr I32 fOutAnd(int, int x, const QBSettings& s) { return x & mOf(s); }
constexpr I32 fInAnd(int y, int, const QBSettings& s) { return y & mOf(s); }
constexpr I32 fOutXor(int, int x, const QBSettings& s) { return x ^ mOf(s); }
constexpr I32 fInXor(int y, int, const QBSettings& s) { return y ^ mOf(s); }
constexpr I32 fOutMod(int, int x, const QBSettings& s) { return mod(x, mOf(s)); }
constexpr I32 fInMod(int y, int, const QBSettings& s) { return mod(y, mOf(s)); }
constexpr I32 fProdXor(int y, int x, const QBSettings& s) { return mul(x, y) ^ mOf(s); }
constexpr I32 fSumXor(int y, int x, const QBSettings& s) { return add(x, y) ^ mOf(s); }
constexpr I32 fSubXor(int y, int x, const QBSettings& s) { return sub(x, y) ^ mOf(s); }
constexpr I32 fProdAnd(int y, int x, const QBSettings& s) { return mul(x, y) & mOf(s); }
constexpr I32 fSumAnd(int y, int x, const QBSettings& s) { return add(x, y) & mOf(s); }
constexpr I32 fSubAnd(int y, int x, const QBSettings& s) { return sub(x, y) & mOf(s); }
constexpr I32 fInner(int y, int, const QBSettings&) { return y; }
constexpr I32 fOuter(int, int x, const QBSettings&) { return x; }
constexpr I32 fOutRed(int, int x, const QBSettings& s) { return mul(s.red(), x); }
constexpr I32 fInRed(int y, int, const QBSettings& s) { return mul(s.red(), y); }
constexpr I32 fOutGreen(int, int x, const QBSettings& s) { return mul(s.green(), x); }
constexpr I32 fInGreen(int y, int, const QBSettings& s) { return mul(s.green(), y); }
constexpr I32 fOutblue(int, int x, const QBSettings& s) { return mul(s.blue(), x); }
constexpr I32 fInBlue(int y, int, const QBSettings& s) { return mul(s.blue(), y); }
constexpr I32 fInModOut(int y, int x, const QBSettings& s) { return mod(y, std::max<I32>(x, mOf(s))); }
constexpr I32 fOutModIn(int y, int x, const QBSettings& s) { return mod(x, std::max<I32>(y, mOf(s))); }
constexpr I32 fOutModIn2(int y, int x, const QBSettings&) { return mod(mod(x, add(y, 2)), add(add(x, y), 2)); }

// One row at a time, so the table is consulted once per render and the formula is inlined
// into its own loop.
template <I32 (*F)(int, int, const QBSettings&)>
void rowOf(int y, int width, const QBSettings& s, I32* out) {
    for (int x = 0; x < width; ++x) out[x] = F(y, x, s);
}

#define PIXORAL_QB(name, fn) QBFunction{name, fn, rowOf<fn>}
const std::array<QBFunction, kQBFunctionCount> kTable = {{
    PIXORAL_QB("Prod", fProd),         PIXORAL_QB("Sum", fSum),           PIXORAL_QB("Sub", fSub),
    PIXORAL_QB("Xor", fXor),           PIXORAL_QB("And", fAnd),           PIXORAL_QB("OutAnd", fOutAnd),
    PIXORAL_QB("InAnd", fInAnd),       PIXORAL_QB("OutXor", fOutXor),     PIXORAL_QB("InXor", fInXor),
    PIXORAL_QB("OutMod", fOutMod),     PIXORAL_QB("InMod", fInMod),       PIXORAL_QB("ProdXor", fProdXor),
    PIXORAL_QB("SumXor", fSumXor),     PIXORAL_QB("SubXor", fSubXor),     PIXORAL_QB("ProdAnd", fProdAnd),
    PIXORAL_QB("SumAnd", fSumAnd),     PIXORAL_QB("SubAnd", fSubAnd),     PIXORAL_QB("Inner", fInner),
    PIXORAL_QB("Outer", fOuter),       PIXORAL_QB("OutRed", fOutRed),     PIXORAL_QB("InRed", fInRed),
    PIXORAL_QB("OutGreen", fOutGreen), PIXORAL_QB("InGreen", fInGreen),   PIXORAL_QB("Outblue", fOutblue),
    PIXORAL_QB("InBlue", fInBlue),     PIXORAL_QB("InModOut", fInModOut), PIXORAL_QB("OutModIn", fOutModIn),
    PIXORAL_QB("OutModIn2", fOutModIn2),
}};
#undef PIXORAL_QB

}  // namespace

const std::array<QBFunction, kQBFunctionCount>& qbFunctions() { return kTable; }

const QBFunction* qbFunction(int index) {
    return index >= 0 && index < kQBFunctionCount ? &kTable[static_cast<std::size_t>(index)] : nullptr;
}

QString qbFunctionName(int index) {
    const QBFunction* f = qbFunction(index);
    return f ? QString::fromLatin1(f->name) : QString();
}

std::int32_t qbValue(int index, int y, int x, const QBSettings& s) {
    const QBFunction* f = qbFunction(index);
    return f ? f->at(y, x, s) : 0;
}

bool renderBackground(const QBSettings& s, Bitmap& target) {
    Bitmap out = renderBackground(s, target.width(), target.height());
    if (out.width() != target.width() || out.height() != target.height()) return false;
    target = out;
    return true;
}

Bitmap renderBackground(const QBSettings& s, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    Bitmap out(width, height, PixelFormat::pf24bit);
    if (width == 0 || height == 0 || out.width() != width || out.height() != height) return Bitmap(0, 0, PixelFormat::pf24bit);
    // A settings value with a function outside the table draws that channel as formula 0.
    QBRowFunction fn[3];
    for (int k = 0; k < 3; ++k) {
        const QBFunction* f = qbFunction(s.function[static_cast<std::size_t>(k)]);
        fn[k] = (f ? f : &kTable[0])->row;
    }
    std::vector<I32> values(static_cast<std::size_t>(width) * 3);
    I32* v0 = values.data();
    I32* v1 = v0 + width;
    I32* v2 = v1 + width;
    const U32 off0 = s.offset[0], off1 = s.offset[1], off2 = s.offset[2];
    for (int y = 0; y < height; ++y) {
        fn[0](y, width, s, v0);
        fn[1](y, width, s, v1);
        fn[2](y, width, s, v2);
        std::uint8_t* p = out.scanLine(y);
        // Only the low byte of each sum is kept: overflow and negative values wrap.
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(static_cast<U32>(v0[x]) + off0);
            p[1] = static_cast<std::uint8_t>(static_cast<U32>(v1[x]) + off1);
            p[2] = static_cast<std::uint8_t>(static_cast<U32>(v2[x]) + off2);
        }
    }
    return out;
}

}  // namespace pixoral::generators
