#pragma once
// User filters of Quick Filter: named "UserMatrix" settings, one a line in "PixoralFL.txt"
// beside the executable, "name=E01,E02,E03,E11,E12,E13,E21,E22,E23,EDIV,EBIAS" with the
// eleven edit texts exactly as typed, kept in the order they were entered. The file's rules
// (lenient loading, atomic rewrites, lines that are no entry kept) are PresetFile's; this adds
// what the eleven fields mean.
#include <QString>
#include <array>

#include "generators/QuickFilter.h"
#include "ui/PresetFile.h"

namespace pixoral::generators {

inline const QString kUserFiltersFileName = QStringLiteral("PixoralFL.txt");
inline constexpr PresetFile::Kind kUserFiltersKind{PresetFile::Order::AsEntered, PresetFile::Duplicates::Allowed};

inline const QString kInvalidIntegerInUserMatrix = QStringLiteral("invalid integer in UserMatrix");
inline const QString kDivisorMustBeAtLeast1 = QStringLiteral("Divisor must be >=1");
// A picked line that does not hold the eleven fields; %1 is its name.
inline const QString kUserFilterIncomplete =
    QStringLiteral("The user filter \"%1\" does not hold the eleven values E01 ... E23, Divisor, Bias");
inline const QString kUserFilterNameHasEquals = QStringLiteral("A filter name cannot contain \"=\"");
inline const QString kUserFilterNameNotOneLine = QStringLiteral("A filter name must be one line of text");

// The texts of the nine coefficient edits (E01, E02, E03, E11 ... E23), then EDIV and EBIAS.
inline constexpr int kUserFilterFields = 11;
using MatrixTexts = std::array<QString, kUserFilterFields>;

// The texts of a matrix as the edits show it at start.
MatrixTexts matrixTexts(const UserMatrix& m);

// The file inside a program folder (with or without its trailing separator).
QString userFiltersPath(const QString& programFolder);

// The values part of a line. The "," separates the fields, so the edits refuse it as typed
// input; a text that holds one anyway (or a line break) is stored without them, so the line
// always reads back as eleven fields.
QString formatUserFilterValues(const MatrixTexts& texts);

// Copies the fields after the first "=" into texts, in order, as far as they go. True when the
// line held exactly the eleven fields; otherwise the texts before the missing (or after the
// last) field have their new values and the caller reports kUserFilterIncomplete.
bool readUserFilterValues(const QString& line, MatrixTexts& texts);

// The eleven texts as 32-bit signed decimal integers (spaces around them allowed). False,
// with `m` unchanged, when one of them is not one.
bool parseUserMatrix(const MatrixTexts& texts, UserMatrix& m);

// The lines of a loaded file that are not "name=" and eleven fields, for one message to the
// user; empty when there are none. Such lines stay in the file as they are.
QString userFiltersProblems(const PresetFile& file);

}  // namespace pixoral::generators
