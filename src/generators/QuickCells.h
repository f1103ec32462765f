#pragma once
// Quick Cells: a one-dimensional cellular pattern in the palette indices of an 8-bit image.
// A first row of two byte values is carried down row by row with one of nine XOR rules, each
// cell made from the cell above (r), the one above and to the left (s) and the one just made
// to its left (t).
#include <QString>
#include <array>
#include <cstdint>

#include "canvas/Bitmap.h"

namespace pixoral::generators {

inline constexpr int kCellRuleCount = 9;
inline constexpr int kCellBitCount = 8;   // the bit cells of the first row
inline constexpr int kCellByteMax = 255;  // B0, B1 and the bit position are 0..255
inline constexpr int kCellRandomSeedsMax = 10;  // "Random" sets 1 to this many seeds

struct CellRule {
    const char* name;  // the list item, "pat0" ... "pat8"
    // The new byte from r = previous[c], s = previous[c - 1] and t = current[c - 1].
    std::uint8_t (*apply)(std::uint8_t r, std::uint8_t s, std::uint8_t t);
    // Written to current[W - c] instead of current[c]: the row fills from the right edge.
    bool mirrored;
};

// The rules in list order.
const std::array<CellRule, kCellRuleCount>& cellRules();

struct CellSettings {
    int rule = -1;  // index into cellRules(); anything else draws nothing
    std::uint8_t b0 = 0;
    std::uint8_t b1 = 255;
    int position = 0;    // column of bit cell 0, 0..255 (kept inside the row, see drawCells)
    std::uint8_t bits = 0;  // bit j set: bit cell j holds B1
    bool random = false;    // 1 to 10 more B1 seeds at random columns
    bool split = false;     // row b reads row H - b instead of row b - 1
};

// Turns the picture into an 8-bit image (same size) and overwrites it with the pattern:
//   row 0: every byte B0; for each set bit j the byte at min(W - 8, position) + j becomes B1
//     (cells outside the row, on a picture narrower than 8, are skipped); with random, 1 to
//     10 bytes at columns drawn from the program's generator become B1 as well;
//   row b (1 .. H - 1): byte 0 is B0, then for c = 1 .. W - 1 the rule's byte, reading the
//     previous row, which is row b - 1, or row H - b with split. Split rows of the lower half
//     read rows not made yet, which still hold the picture's own (converted) indices.
// False, with the picture unchanged, when no rule is chosen or the picture is empty or cannot
// be converted.
bool drawCells(const CellSettings& s, Bitmap& picture);

}  // namespace pixoral::generators
