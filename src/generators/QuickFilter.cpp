#include "generators/QuickFilter.h"

#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/Random.h"

namespace pixoral::generators {

namespace {

using U8 = std::uint8_t;
using U32 = std::uint32_t;

// Byte i of the filtered channel in one of the three rows.
struct Bytes {
    const FilterRow& r;
    U8& p(int i) const { return r.P[i * r.bytesPerPixel + r.channel]; }
    U8& q(int i) const { return r.Q[i * r.bytesPerPixel + r.channel]; }
    U8 a(int i) const { return r.A[i * r.bytesPerPixel + r.channel]; }
};

constexpr U8 low(U32 v) { return static_cast<U8>(v); }
int diff(U8 x, U8 y) { return std::abs(int(x) - int(y)); }

void fAnd(const FilterRow& r, const QFSettings& s) {
    const Bytes b{r};
    for (int i = 0; i <= r.N; ++i) b.p(i) = low(b.p(i) & U32(s.value));
}
void fOr(const FilterRow& r, const QFSettings& s) {
    const Bytes b{r};
    for (int i = 0; i <= r.N; ++i) b.p(i) = low(b.p(i) | U32(s.value));
}
void fXor(const FilterRow& r, const QFSettings& s) {
    const Bytes b{r};
    for (int i = 0; i <= r.N; ++i) b.p(i) = low(b.p(i) ^ U32(s.value));
}
void fShiftLeft(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    for (int i = 0; i <= r.N; ++i) b.p(i) = low(U32(b.p(i)) << 1);
}
void fShiftRight(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    for (int i = 0; i <= r.N; ++i) b.p(i) = low(U32(b.p(i)) >> 1);
}
void fFastSweep(const FilterRow& r, const QFSettings& s) {
    const Bytes b{r};
    U32 k = U32(s.value);
    for (int i = 0; i <= r.N; ++i) {
        b.p(i) = low(b.p(i) + k);
        k = 255 - k;
    }
}
void fSlowSweep(const FilterRow& r, const QFSettings& s) {
    const Bytes b{r};
    const int v = s.value;
    int k = 1;
    for (int i = 0; i <= r.N; ++i) {
        b.p(i) = low(U32(b.p(i)) + U32(k));
        if (k % v == 0) k = 255 - k;
    }
}
void fReduce(const FilterRow& r, const QFSettings& s) {
    const Bytes b{r};
    const int v = s.value;
    for (int i = 0; i <= r.N; ++i) b.p(i) = low(U32(b.p(i) / v * v));
}
void fAddRight(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    const U8 f = b.p(0);
    for (int i = 0; i < r.N; ++i) b.p(i) = low(U32(b.p(i)) + b.p(i + 1));
    b.p(r.N) = low(U32(b.p(r.N)) + f);
}
void fAvgRight(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    const U8 f = b.p(0);
    for (int i = 0; i < r.N; ++i) b.p(i) = low((U32(b.p(i)) + b.p(i + 1)) / 2);
    b.p(r.N) = low((U32(b.p(r.N)) + f) / 2);
}
void fRunAvgRight(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    // The run starts from the row's very first byte, whichever channel is filtered.
    U32 k = r.P[0];
    for (int i = 0; i <= r.N; ++i) {
        b.p(i) = low((b.p(i) + k) / 2);
        k = b.p(i);
    }
}
void fRunAvgLeft(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    U32 k = b.p(r.N);
    for (int i = r.N; i >= 0; --i) {
        b.p(i) = low((b.p(i) + k) / 2);
        k = b.p(i);
    }
}
// Each change along the row writes the next of the alternating pair, starting with `first`.
void emboss(const FilterRow& r, U8 first) {
    const Bytes b{r};
    bool t = true;
    for (int i = 0; i <= r.N - 2; ++i) {
        if (b.p(i) == b.p(i + 1)) continue;
        b.p(i) = t ? first : U8(255 - first);
        t = !t;
    }
}
void fEmbossRight(const FilterRow& r, const QFSettings&) { emboss(r, 255); }
void fEmbossLeft(const FilterRow& r, const QFSettings&) { emboss(r, 0); }
void fTrace(const FilterRow& r, const QFSettings& s) {
    const Bytes b{r};
    for (int i = 0; i <= r.N - 2; ++i)
        if (b.p(i) != b.p(i + 1) || b.p(i) != b.q(i)) b.p(i) = s.traceColorByte;
}
void fDrip(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    for (int n = r.N / 2 + 1; n > 0; --n) {
        const int j = random::below(r.N);  // 0 .. N - 1
        b.q(j) = b.p(j);
    }
}
void fAdd(const FilterRow& r, const QFSettings& s) {
    const Bytes b{r};
    for (int i = 0; i <= r.N; ++i) b.p(i) = low(U32(b.p(i)) + U32(s.value));
}
void fMultiply(const FilterRow& r, const QFSettings& s) {
    const Bytes b{r};
    const double f = 2.0 * s.value / 2555.0 + 0.9;
    // Rounded to the nearest integer, halves to the even neighbour (the default rounding mode).
    for (int i = 0; i <= r.N; ++i) b.p(i) = low(U32(std::nearbyint(b.p(i) * f)));
}
void fModerate(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    for (int i = 0; i <= r.N - 2; ++i)
        if (diff(b.p(i), b.p(i + 1)) < 8 || diff(b.p(i), b.q(i)) < 8) b.p(i) = low(U32(b.p(i)) + 1);
}
void fColumns(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    for (int i = 0; i <= r.N - 2; ++i) {
        if (diff(b.p(i), b.p(i + 1)) >= 4 && diff(b.p(i), b.q(i)) >= 4) continue;
        const U8 v = low(U32(b.p(i)) + 5);
        b.p(i + 1) = v;
        b.q(i) = v;
        b.q(i + 1) = v;
    }
}
void fTroop(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    for (int i = 0; i <= r.N - 2; ++i)
        if (b.p(i) == b.p(i + 1) || b.p(i) == b.q(i)) b.q(i + 1) = low(U32(b.p(i)) + 1);
}
void fFadeUp(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    for (int i = 0; i <= r.N - 2; ++i)
        if (b.p(i) != b.p(i + 1) && b.p(i) != b.q(i)) b.p(i) = b.q(i + 1);
}
void fGlas(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    for (int i = 0; i <= r.N - 2; ++i) b.p(i) = low(U32(b.p(i)) + b.p(i + 1) / 4 + b.q(i + 1) / 4);
}
void fMondriaan(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    for (int i = 1; i <= r.N - 2; ++i)
        b.p(i) = low(U32(b.p(i)) + b.a(i) / 8 + b.p(i - 1) / 8 + b.p(i + 1) / 8 + b.q(i) / 8);
}
void fGrain(const FilterRow& r, const QFSettings&) {
    const Bytes b{r};
    for (int i = 1; i <= r.N - 2; ++i) b.p(i) = b.p(i - 1) ^ b.p(i + 1);
}
void fUserMatrix(const FilterRow& r, const QFSettings& s) {
    const Bytes b{r};
    const auto& c = s.matrix.c;
    const int step = r.bytesPerPixel;
    // Row Q is not written by this filter, so it still holds the image's own bytes.
    const U8* a = r.sourceA + r.channel;
    const U8* p = r.sourceP + r.channel;
    const U8* q = r.Q + r.channel;
    auto term = [](std::int32_t coeff, U8 byte) { return U32(coeff) * byte; };
    for (int i = 1; i <= r.N - 2; ++i) {
        const int l = (i - 1) * step, m = i * step, rt = (i + 1) * step;
        const U32 sum = term(c[0], a[l]) + term(c[1], a[m]) + term(c[2], a[rt]) +
                        term(c[3], p[l]) + term(c[4], p[m]) + term(c[5], p[rt]) +
                        term(c[6], q[l]) + term(c[7], q[m]) + term(c[8], q[rt]);
        // The divisor is at least 1 here, so the signed division cannot overflow.
        b.p(i) = low(U32(static_cast<std::int32_t>(sum) / s.matrix.divisor) + U32(s.matrix.bias));
    }
}

const std::array<RowFilter, kFilterCount> kTable = {{
    {"And", fAnd, false, false},
    {"Or", fOr, false, false},
    {"Xor", fXor, false, false},
    {"ShiftLeft", fShiftLeft, false, false},
    {"ShiftRight", fShiftRight, false, false},
    {"FastSweep", fFastSweep, false, false},
    {"SlowSweep", fSlowSweep, false, true},
    {"Reduce", fReduce, false, true},
    {"AddRight", fAddRight, true, false},
    {"AvgRight", fAvgRight, true, false},
    {"RunAvgRight", fRunAvgRight, false, false},
    {"RunAvgLeft", fRunAvgLeft, false, false},
    {"EmbossRight", fEmbossRight, true, false},
    {"EmbossLeft", fEmbossLeft, true, false},
    {"Trace", fTrace, true, false},
    {"Drip", fDrip, true, false},
    {"Add", fAdd, false, false},
    {"Multiply", fMultiply, false, false},
    {"Moderate", fModerate, true, false},
    {"Columns", fColumns, true, false},
    {"Troop", fTroop, true, false},
    {"FadeUp", fFadeUp, true, false},
    {"Glas", fGlas, true, false},
    {"Mondriaan", fMondriaan, true, false},
    {"Grain", fGrain, true, false},
    {"UserMatrix", fUserMatrix, true, false, true},
}};

}  // namespace

const std::array<RowFilter, kFilterCount>& rowFilters() { return kTable; }

const RowFilter* rowFilter(int index) {
    return index >= 0 && index < kFilterCount ? &kTable[static_cast<std::size_t>(index)] : nullptr;
}

QString rowFilterName(int index) {
    const RowFilter* f = rowFilter(index);
    return f ? QString::fromLatin1(f->name) : QString();
}

int findRowFilter(const QString& name) {
    for (int i = 0; i < kFilterCount; ++i)
        if (QString::compare(name, QLatin1String(kTable[static_cast<std::size_t>(i)].name), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

FilterRun filterRows(Bitmap& work, const QFSettings& s) {
    const PixelFormat format = work.pixelFormat();
    if (format != PixelFormat::pf24bit && format != PixelFormat::pf8bit) return FilterRun::Done;
    const int bpp = format == PixelFormat::pf24bit ? 3 : 1;
    const int channels = bpp;  // 8-bit mode runs channel 1 only
    const int width = work.width(), height = work.height();
    if (height <= 2 || width <= 0) return FilterRun::Done;

    const RowFilter* fn[3] = {};
    for (int k = 0; k < channels; ++k) {
        // A settings value outside the table runs that channel as the start filter.
        const RowFilter* f = rowFilter(s.filter[static_cast<std::size_t>(k)]);
        fn[k] = f ? f : &kTable[kReduceFilter];
        if (fn[k]->dividesByValue && s.value == 0) return FilterRun::ZeroValue;
        if (fn[k]->run == fUserMatrix && s.matrix.divisor < 1) return FilterRun::BadDivisor;
    }
    const bool narrow = width < 3;
    bool keepSource = false;
    for (int k = 0; k < channels; ++k) keepSource |= fn[k]->readsSource;
    // Rows r - 1 and r as they were before any filter touched them. Row r is copied before its
    // own calls; no filter writes its channel's bytes of row r earlier except through Q, and
    // the filters that read the source do not write Q.
    const auto rowBytes = static_cast<std::size_t>(work.rowDataBytes());
    std::vector<U8> sourceAbove, sourceRow;
    if (keepSource) {
        sourceAbove.assign(work.scanLine(0), work.scanLine(0) + rowBytes);
        sourceRow.resize(rowBytes);
    }
    for (int y = 1; y <= height - 2; ++y) {
        FilterRow base{work.scanLine(y - 1), work.scanLine(y), work.scanLine(y + 1), bpp, 0, width - 1};
        if (keepSource) {
            std::copy(base.P, base.P + rowBytes, sourceRow.begin());
            base.sourceA = sourceAbove.data();
            base.sourceP = sourceRow.data();
        }
        for (int k = 0; k < channels; ++k) {
            if (narrow && fn[k]->needsNeighbours) continue;
            FilterRow row = base;
            row.channel = k;
            fn[k]->run(row, s);
        }
        if (keepSource) sourceAbove.swap(sourceRow);
    }
    return FilterRun::Done;
}

FilterRun runQuickFilter(const Bitmap& source, const QFSettings& s, Bitmap& out) {
    Bitmap work = source;
    work.setPixelFormat(s.bit24 ? PixelFormat::pf24bit : PixelFormat::pf8bit);
    if (work.width() != source.width() || work.height() != source.height() || work.isEmpty())
        return FilterRun::NoMemory;
    if (const FilterRun r = filterRows(work, s); r != FilterRun::Done) return r;
    work.setPixelFormat(PixelFormat::pf8bit);
    if (work.pixelFormat() != PixelFormat::pf8bit) return FilterRun::NoMemory;
    out = work;
    return FilterRun::Done;
}

}  // namespace pixoral::generators
