#pragma once
// Quick Filter: 26 small row filters run over an image in place, row by row from the top. A
// filter changes the bytes of one row P from its neighbours in P, in the row above A and in
// the row below Q, so every row sees the rows above it already filtered. In 24-bit mode each
// colour byte has its own filter; in 8-bit mode one filter works on the palette indices.
//
// Byte rules shared by every filter: P[i] is the byte at i * bytesPerPixel + channel of row P
// (likewise A[i], Q[i]); a store keeps the low 8 bits, sums and products wrap, and "div"
// truncates. A filter changes P (some change Q too) in place, so a step sees the results of
// the earlier steps of the same row.
#include <QString>
#include <array>
#include <cstdint>

#include "canvas/Bitmap.h"

namespace pixoral::generators {

inline constexpr int kFilterCount = 26;
inline constexpr int kReduceFilter = 7;  // every channel's filter at start
inline constexpr int kUserMatrixFilter = 25;

// The value v of the vertical trackbar.
inline constexpr int kFilterValueMin = 0;
inline constexpr int kFilterValueMax = 255;
inline constexpr int kFilterValueDefault = 10;

// The 3 by 3 matrix of "UserMatrix": c[0..2] the row above, c[3..5] the row itself, c[6..8]
// the row below, each left, centre, right. The sum is divided by the divisor (at least 1 for
// a run) and the bias added, in 32-bit signed arithmetic that wraps.
struct UserMatrix {
    std::array<std::int32_t, 9> c{-1, 0, 1, -1, 0, 1, -1, 0, 1};
    std::int32_t divisor = 1;
    std::int32_t bias = 1;
    friend bool operator==(const UserMatrix&, const UserMatrix&) = default;
};

// Everything a run reads. Channel k + 1's filter (filter[k]) works on byte k of a 24-bit
// pixel, so channel 1 (the red radio button) filters the blue byte; in 8-bit mode only
// filter[0] runs, on the palette index.
struct QFSettings {
    std::array<int, 3> filter{kReduceFilter, kReduceFilter, kReduceFilter};  // 0..25 each
    bool bit24 = false;
    int value = kFilterValueDefault;  // v, 0..255
    UserMatrix matrix;
    std::uint8_t traceColorByte = 0;  // what "Trace" writes (Image > Trace > Color Byte)
};

// One call of a filter: the three rows, the bytes per pixel (3 or 1), the byte offset of the
// channel (0..2) and the last pixel index N (the row width minus 1). sourceA and sourceP are
// rows A and P as they were before the run, for the convolution of "UserMatrix", which
// weighs the image's own pixels rather than those it has already changed (so a flat area
// gives bias + 0 in every filtered byte); they are null for the other filters.
struct FilterRow {
    const std::uint8_t* A;
    std::uint8_t* P;
    std::uint8_t* Q;
    int bytesPerPixel;
    int channel;
    int N;
    const std::uint8_t* sourceA = nullptr;
    const std::uint8_t* sourceP = nullptr;
};

using RowFilterFn = void (*)(const FilterRow& row, const QFSettings& s);

struct RowFilter {
    const char* name;  // the list item ("And", ... "UserMatrix")
    RowFilterFn run;
    // Filters that read or write a neighbouring pixel leave a row narrower than three pixels
    // as it was: their rules are written for rows with a left and a right neighbour.
    bool needsNeighbours;
    // "SlowSweep" and "Reduce" divide by v, so v = 0 cannot run them.
    bool dividesByValue;
    // Reads sourceA and sourceP.
    bool readsSource = false;
};

// The table, in list order; the index is the stored filter number.
const std::array<RowFilter, kFilterCount>& rowFilters();
// nullptr outside 0..25.
const RowFilter* rowFilter(int index);
// The list item of an index, empty outside 0..25.
QString rowFilterName(int index);
// The index of a filter name, letter case ignored; -1 when there is none.
int findRowFilter(const QString& name);

enum class FilterRun {
    Done,
    ZeroValue,   // v = 0 with a filter that divides by it: nothing changed
    BadDivisor,  // "UserMatrix" with a divisor below 1: nothing changed
    NoMemory,    // the working copy could not be made: nothing changed
};

// Runs the filters over rows 1 .. H - 2 of a 24-bit (all three channels) or 8-bit (channel 1
// only) bitmap in place; any other format, or an image of height 1 or 2, is left as it is.
// The rows 0 and H - 1 are never P, but the filters that write Q ("Drip", "Columns",
// "Troop") can change row H - 1. "Drip" draws from the program's random generator.
FilterRun filterRows(Bitmap& work, const QFSettings& s);

// The whole run: a copy of the source converted to 24 bits (bit24) or 8 bits, filtered, then
// converted to 8 bits, so the result is always a 256-colour palette image. `out` is only
// written when the answer is Done.
FilterRun runQuickFilter(const Bitmap& source, const QFSettings& s, Bitmap& out);

}  // namespace pixoral::generators
