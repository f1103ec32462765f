#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "core/Random.h"
#include "generators/QuickFilter.h"
#include "generators/UserFilters.h"
#include "../common/TestSupport.h"

using namespace pixoral;
using namespace pixoral::generators;

namespace {

using Bytes = std::vector<int>;

// A bitmap of the format whose rows hold the given bytes (all of a 24-bit row's bytes).
Bitmap withRows(PixelFormat f, const std::vector<Bytes>& rows) {
    const int bpp = f == PixelFormat::pf24bit ? 3 : 1;
    Bitmap b(static_cast<int>(rows[0].size()) / bpp, static_cast<int>(rows.size()), f);
    for (int y = 0; y < b.height(); ++y)
        for (std::size_t i = 0; i < rows[y].size(); ++i) b.scanLine(y)[i] = static_cast<std::uint8_t>(rows[y][i]);
    return b;
}

Bytes rowOf(const Bitmap& b, int y) {
    const std::uint8_t* p = b.scanLine(y);
    return Bytes(p, p + b.rowDataBytes());
}

QFSettings only(int filter, int v = kFilterValueDefault, bool bit24 = false) {
    QFSettings s;
    s.filter = {filter, filter, filter};
    s.value = v;
    s.bit24 = bit24;
    return s;
}

}  // namespace

TEST(QuickFilterTable, NamesInListOrderFoundWithLetterCaseIgnored) {
    EXPECT_EQ(rowFilterName(0), "And");
    EXPECT_EQ(rowFilterName(kReduceFilter), "Reduce");
    EXPECT_EQ(rowFilterName(kUserMatrixFilter), "UserMatrix");
    EXPECT_EQ(rowFilterName(kFilterCount), QString());
    for (const char* name : {"Glas", "glas", "GLAS", "gLaS"}) EXPECT_EQ(findRowFilter(QString::fromLatin1(name)), 22) << name;
    EXPECT_EQ(findRowFilter(QStringLiteral("trace")), 14);
    EXPECT_EQ(findRowFilter(QStringLiteral("Glass")), -1);
    EXPECT_EQ(findRowFilter(QString()), -1);
}

// 8-bit mode on three rows A, P, Q: only P is filtered, and some filters write Q.
TEST(QuickFilterRows, EachFilterOnPaletteIndices) {
    struct Case {
        int filter, v;
        Bytes A, P, Q;
        Bytes wantP, wantQ;  // wantQ empty: Q unchanged
    };
    const Bytes z5{0, 0, 0, 0, 0};
    const Case cases[] = {
        {0, 255, z5, {1, 2, 3, 4, 255}, z5, {1, 2, 3, 4, 255}, {}},          // And 255 keeps every byte
        {0, 0x0F, z5, {0x1F, 0xF0, 3, 4, 5}, z5, {0x0F, 0, 3, 4, 5}, {}},
        {1, 0x0F, z5, {0x10, 0x20, 0, 0xF0, 1}, z5, {0x1F, 0x2F, 0x0F, 0xFF, 0x0F}, {}},
        {2, 0, z5, {1, 2, 3, 4, 255}, z5, {1, 2, 3, 4, 255}, {}},            // Xor 0 keeps every byte
        {2, 0xFF, z5, {1, 2, 3, 4, 255}, z5, {254, 253, 252, 251, 0}, {}},
        {3, 10, z5, {0x81, 1, 2, 0xFF, 0x40}, z5, {0x02, 2, 4, 0xFE, 0x80}, {}},
        {4, 10, z5, {0x81, 1, 2, 0xFF, 0x40}, z5, {0x40, 0, 1, 0x7F, 0x20}, {}},
        {5, 10, z5, {0, 0, 0, 250, 250}, z5, {10, 245, 10, 239, 4}, {}},     // FastSweep: +10, +245, ...
        {6, 1, z5, {0, 0, 0, 0, 2}, z5, {1, 254, 1, 254, 3}, {}},            // SlowSweep v = 1
        {6, 10, z5, {0, 0, 0, 255, 9}, z5, {1, 1, 1, 0, 10}, {}},            // SlowSweep v = 10: +1 each
        {7, 10, z5, {37, 255, 9, 10, 99}, z5, {30, 250, 0, 10, 90}, {}},     // Reduce
        {8, 0, z5, {1, 2, 3, 200, 100}, z5, {3, 5, 203, 44, 101}, {}},       // AddRight: last adds the first
        {9, 0, z5, {10, 20, 30, 41, 51}, z5, {15, 25, 35, 46, 30}, {}},      // AvgRight
        {10, 0, z5, {10, 20, 30, 40, 50}, z5, {10, 15, 22, 31, 40}, {}},     // RunAvgRight
        {11, 0, z5, {10, 20, 30, 40, 50}, z5, {19, 28, 37, 45, 50}, {}},     // RunAvgLeft
        {12, 0, z5, {1, 2, 3, 4, 5}, z5, {255, 0, 255, 4, 5}, {}},           // EmbossRight stops at N - 2
        {12, 0, z5, {7, 7, 3, 3, 3}, z5, {7, 255, 3, 3, 3}, {}},
        {13, 0, z5, {1, 2, 3, 4, 5}, z5, {0, 255, 0, 4, 5}, {}},             // EmbossLeft
        {14, 0, z5, {5, 5, 5, 6, 6}, {5, 5, 9, 6, 6}, {5, 5, 77, 6, 6}, {}},  // Trace writes the Color Byte
        {16, 10, z5, {250, 0, 1, 2, 246}, z5, {4, 10, 11, 12, 0}, {}},       // Add
        {17, 0, z5, {5, 15, 255, 100, 0}, z5, {4, 14, 230, 90, 0}, {}},      // Multiply 0.9: halves to even
        {17, 10, z5, {100, 255, 1, 11, 0}, z5, {91, 231, 1, 10, 0}, {}},     // Multiply 0.9078
        {17, 255, z5, {255, 100, 1, 0, 2}, z5, {24, 110, 1, 0, 2}, {}},      // 255 * 1.0996 = 280, stored 24
        {18, 0, z5, {10, 12, 100, 50, 60}, {200, 200, 95, 200, 200}, {11, 12, 101, 50, 60}, {}},  // Moderate
        // Columns: each step copies P[i] + 5 to its right and below, so the run cascades.
        {19, 0, z5, {10, 12, 100, 50, 60}, z5, {10, 15, 20, 25, 60}, {15, 20, 25, 25, 0}},
        {20, 0, z5, {7, 7, 3, 3, 9}, {0, 0, 3, 0, 0}, {7, 7, 3, 3, 9}, {0, 8, 3, 4, 0}},  // Troop
        {21, 0, z5, {1, 2, 2, 5, 5}, {9, 8, 2, 6, 4}, {8, 2, 2, 5, 5}, {}},  // FadeUp
        {22, 0, z5, {100, 40, 80, 8, 0}, {0, 4, 8, 12, 0}, {111, 62, 85, 8, 0}, {}},  // Glas
        {23, 0, {0, 80, 16, 0, 0}, {8, 16, 24, 32, 40}, {0, 8, 0, 0, 0}, {8, 31, 33, 32, 40}, {}},  // Mondriaan
        {24, 0, z5, {1, 2, 4, 8, 16}, z5, {1, 5, 13, 8, 16}, {}},            // Grain sees its own results
    };
    for (const Case& c : cases) {
        Bitmap b = withRows(PixelFormat::pf8bit, {c.A, c.P, c.Q});
        QFSettings s = only(c.filter, c.v);
        s.traceColorByte = 77;
        EXPECT_EQ(filterRows(b, s), FilterRun::Done);
        const std::string what = rowFilterName(c.filter).toStdString() + " v=" + std::to_string(c.v);
        EXPECT_EQ(rowOf(b, 0), c.A) << what;
        EXPECT_EQ(rowOf(b, 1), c.wantP) << what;
        EXPECT_EQ(rowOf(b, 2), c.wantQ.empty() ? c.Q : c.wantQ) << what;
    }
}

TEST(QuickFilterRows, DripCopiesBytesOfPDownIntoQOnly) {
    random::seed(7);
    const Bytes P{1, 2, 3, 4, 5, 6, 7, 8, 9};
    Bitmap b = withRows(PixelFormat::pf8bit, {Bytes(9, 0), P, Bytes(9, 0)});
    filterRows(b, only(15));
    EXPECT_EQ(rowOf(b, 1), P);
    const Bytes q = rowOf(b, 2);
    int copied = 0;
    for (int j = 0; j < 9; ++j) {
        EXPECT_TRUE(q[j] == 0 || q[j] == P[j]) << j;
        copied += q[j] != 0;
    }
    EXPECT_EQ(q[8], 0);  // j runs to N - 1
    EXPECT_GE(copied, 1);
}

// Each channel of a 24-bit row has its own filter; channel 1 is byte 0.
TEST(QuickFilterRows, ChannelsOf24BitRowsFilterSeparately) {
    struct Case {
        std::array<int, 3> filters;
        int v;
        Bytes P, wantP;
    };
    const Case cases[] = {
        // Reduce, FastSweep, Multiply on bytes 0, 1, 2 of three pixels.
        {{7, 5, 17}, 10, {37, 0, 100, 255, 0, 255, 9, 250, 11}, {30, 10, 91, 250, 245, 231, 0, 4, 10}},
        // RunAvgRight starts every channel from the row's first byte (byte 0 of pixel 0).
        {{10, 10, 10}, 0, {100, 0, 0, 100, 0, 0, 100, 0, 0}, {100, 50, 50, 100, 25, 25, 100, 12, 12}},
        // Grain on channel 2 only: the other bytes stay.
        {{0, 24, 0}, 255, {1, 1, 1, 2, 2, 2, 4, 4, 4, 8, 8, 8}, {1, 1, 1, 2, 5, 2, 4, 4, 4, 8, 8, 8}},
    };
    for (const Case& c : cases) {
        const Bytes zero(c.P.size(), 0);
        Bitmap b = withRows(PixelFormat::pf24bit, {zero, c.P, zero});
        QFSettings s = only(0, c.v, true);
        s.filter = c.filters;
        filterRows(b, s);
        EXPECT_EQ(rowOf(b, 1), c.wantP) << c.filters[0] << "," << c.filters[1] << "," << c.filters[2];
        EXPECT_EQ(rowOf(b, 2), zero);
    }
}

// The default matrix (-1 0 1 in each row), divisor 1 and bias 1 turn a flat area into 1 in
// every filtered byte; the first and last two pixels of each filtered row and the rows 0 and
// H - 1 stay.
TEST(QuickFilterRows, UserMatrixConvolvesTheImagesOwnPixels) {
    for (PixelFormat f : {PixelFormat::pf8bit, PixelFormat::pf24bit}) {
        const int bpp = f == PixelFormat::pf24bit ? 3 : 1;
        const Bytes flat(5 * bpp, 50);
        Bitmap b = withRows(f, {flat, flat, flat, flat});
        filterRows(b, only(kUserMatrixFilter, 10, f == PixelFormat::pf24bit));
        Bytes want(5 * bpp, 50);
        std::fill(want.begin() + bpp, want.begin() + 3 * bpp, 1);
        EXPECT_EQ(rowOf(b, 0), flat);
        EXPECT_EQ(rowOf(b, 1), want);
        EXPECT_EQ(rowOf(b, 2), want);
        EXPECT_EQ(rowOf(b, 3), flat);
    }
    // A matrix with every weight: 32-bit sums wrap and only the low byte is stored.
    Bitmap b = withRows(PixelFormat::pf8bit, {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}});
    QFSettings s = only(kUserMatrixFilter);
    s.matrix.c = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    s.matrix.divisor = 3;
    s.matrix.bias = -10;
    filterRows(b, s);
    EXPECT_EQ(rowOf(b, 1), (Bytes{4, 85, 6, 0}));  // 285 div 3 - 10 = 85
    s.matrix.c = {0, 0, 0, 0, 0x40000000, 0, 0, 0, 0};  // 85 * 2^30 wraps to 2^30
    s.matrix.divisor = 1;
    s.matrix.bias = 7;
    filterRows(b, s);
    EXPECT_EQ(rowOf(b, 1), (Bytes{4, 7, 6, 0}));
}

// What a run refuses, and the images it leaves alone.
TEST(QuickFilterRows, RefusalsNarrowRowsAndShortImagesChangeNothing) {
    struct Case {
        int width, height, filter, v, divisor;
        FilterRun result;
    };
    const Case cases[] = {
        {4, 3, 7, 0, 1, FilterRun::ZeroValue},             // Reduce by 0
        {4, 3, 6, 0, 1, FilterRun::ZeroValue},             // SlowSweep by 0
        {4, 3, kUserMatrixFilter, 10, 0, FilterRun::BadDivisor},
        {4, 2, 7, 0, 1, FilterRun::Done},                  // no filtered row, nothing divides
        {4, 1, 16, 10, 1, FilterRun::Done},
        // Rows of one and two pixels: the filters with neighbours do nothing.
        {1, 4, 8, 10, 1, FilterRun::Done},  {2, 4, 9, 10, 1, FilterRun::Done},
        {2, 4, 15, 10, 1, FilterRun::Done}, {2, 4, 19, 10, 1, FilterRun::Done},
        {1, 4, 20, 10, 1, FilterRun::Done}, {2, 4, kUserMatrixFilter, 10, 1, FilterRun::Done},
    };
    for (const Case& c : cases) {
        std::vector<Bytes> rows;
        for (int y = 0; y < c.height; ++y) {
            Bytes row;
            for (int x = 0; x < c.width; ++x) row.push_back(37 + 11 * x + 3 * y);
            rows.push_back(row);
        }
        Bitmap b = withRows(PixelFormat::pf8bit, rows);
        QFSettings s = only(c.filter, c.v);
        s.matrix.divisor = c.divisor;
        EXPECT_EQ(filterRows(b, s), c.result) << c.filter;
        for (int y = 0; y < c.height; ++y) EXPECT_EQ(rowOf(b, y), rows[y]) << c.filter << " row " << y;
    }
    // The filters without neighbours still work on a row of one pixel.
    Bitmap one = withRows(PixelFormat::pf8bit, {{0}, {37}, {0}});
    filterRows(one, only(kReduceFilter));
    EXPECT_EQ(rowOf(one, 1), Bytes{30});
}

TEST(QuickFilterRun, AlwaysEndsInEightBitsAndLeavesTheSourceAlone) {
    struct Case {
        bool bit24;
        int filter, v, height;
    };
    // "And" 255 and "Xor" 0 change no byte, so a palette colour comes back as it was.
    const Case cases[] = {{true, 0, 255, 4}, {false, 2, 0, 4}, {true, 16, 10, 2}, {false, 16, 10, 1}};
    for (const Case& c : cases) {
        const Bitmap source = filled(6, c.height, 0x00FF0000);
        Bitmap out;
        ASSERT_EQ(runQuickFilter(source, only(c.filter, c.v, c.bit24), out), FilterRun::Done);
        EXPECT_EQ(out.pixelFormat(), PixelFormat::pf8bit);
        EXPECT_TRUE(allPixels(out, 0x00FF0000)) << c.filter;
        EXPECT_EQ(source.pixelFormat(), PixelFormat::Device);
    }
    Bitmap untouched(1, 1);
    EXPECT_EQ(runQuickFilter(filled(4, 4, clWhite), only(kReduceFilter, 0), untouched), FilterRun::ZeroValue);
    EXPECT_EQ(untouched.pixelFormat(), PixelFormat::Device);
}

// ---------------------------------------------------------------- user filters

TEST(UserFilterValues, ReadParseAndFormat) {
    MatrixTexts t = matrixTexts(UserMatrix{});
    EXPECT_EQ(formatUserFilterValues(t), "-1,0,1,-1,0,1,-1,0,1,1,1");
    // Fewer than eleven fields: the texts up to the missing one are taken.
    EXPECT_FALSE(readUserFilterValues(QStringLiteral("Short=5,6,7"), t));
    EXPECT_EQ(formatUserFilterValues(t), "5,6,7,-1,0,1,-1,0,1,1,1");
    EXPECT_TRUE(readUserFilterValues(QStringLiteral("Odd= 2 ,x,3,4,5,6,7,8,9,10,11"), t));
    EXPECT_EQ(t[0], " 2 ");
    UserMatrix m;
    EXPECT_FALSE(parseUserMatrix(t, m));  // "x"
    EXPECT_EQ(m, UserMatrix{});
    t[1] = QStringLiteral("-2147483648");
    ASSERT_TRUE(parseUserMatrix(t, m));
    EXPECT_EQ(m.c[0], 2);
    EXPECT_EQ(m.c[1], INT32_MIN);
    EXPECT_EQ(m.divisor, 10);
    EXPECT_EQ(m.bias, 11);
    for (const char* bad : {"2147483648", "", "1.5", "$10"}) {
        t[9] = QString::fromLatin1(bad);
        EXPECT_FALSE(parseUserMatrix(t, m)) << bad;
    }
    // A text holding the field separator cannot split the stored line.
    t[9] = QStringLiteral("1,2");
    EXPECT_EQ(PresetFile::valueOf(QStringLiteral("A=") + formatUserFilterValues(t)).split(',').size(), 11);
}

TEST(UserFilterFile, KeptInEntryOrderAndMalformedLinesKeptUntilAChange) {
    QTemporaryDir dir;
    const QString path = userFiltersPath(dir.path());
    EXPECT_EQ(path, dir.path() + QStringLiteral("/PixoralFL.txt"));
    const QByteArray original = "zeta=1,1,1,1,1,1,1,1,1,9,0\nno equals here\nShort=1,2\nalpha=0,0,0,0,1,0,0,0,0,1,0\n";
    writeAll(path, original);

    PresetFile file(path, kUserFiltersKind);
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.names(), (QStringList{"zeta", "no equals here", "Short", "alpha"}));
    const QString problems = userFiltersProblems(file);
    EXPECT_TRUE(problems.contains("no equals here"));
    EXPECT_TRUE(problems.contains("Short=1,2"));
    EXPECT_FALSE(problems.contains("zeta"));
    EXPECT_EQ(readAll(path), original);  // loading rewrites nothing

    EXPECT_TRUE(file.add(QStringLiteral("Beta"), formatUserFilterValues(matrixTexts(UserMatrix{}))).changed());
    EXPECT_TRUE(file.update(0, QStringLiteral("Omega"), QStringLiteral("0,0,0,0,2,0,0,0,0,1,0")).changed());
    EXPECT_TRUE(file.remove(3).changed());
    const QByteArray expected = "Omega=0,0,0,0,2,0,0,0,0,1,0\nno equals here\nShort=1,2\nBeta=-1,0,1,-1,0,1,-1,0,1,1,1\n";
    EXPECT_EQ(readAll(path), expected);
    PresetFile reloaded(path, kUserFiltersKind);
    ASSERT_TRUE(reloaded.load());
    EXPECT_EQ(reloaded.lines(), file.lines());
}

TEST(UserFilterFile, ShippedUserFiltersAreWellFormed) {
    PresetFile file(userFiltersPath(QStringLiteral(PIXORAL_DATA_DIR)), kUserFiltersKind);
    ASSERT_TRUE(file.load());
    EXPECT_GE(file.count(), 4);
    EXPECT_TRUE(userFiltersProblems(file).isEmpty());
    for (const QString& line : file.lines()) {
        MatrixTexts t;
        UserMatrix m;
        EXPECT_TRUE(readUserFilterValues(line, t) && parseUserMatrix(t, m) && m.divisor >= 1) << line.toStdString();
    }
}
