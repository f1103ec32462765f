#include "generators/QuickCells.h"

#include <algorithm>

#include "core/Random.h"

namespace pixoral::generators {

namespace {

using Byte = std::uint8_t;
constexpr Byte inv(Byte v) { return static_cast<Byte>(~v); }

}  // namespace

const std::array<CellRule, kCellRuleCount>& cellRules() {
    static const std::array<CellRule, kCellRuleCount> rules{{
        {"pat0", [](Byte r, Byte s, Byte) -> Byte { return s ^ r; }, false},
        {"pat1", [](Byte r, Byte, Byte t) -> Byte { return r ^ t; }, false},
        {"pat2", [](Byte, Byte s, Byte t) -> Byte { return s ^ t; }, false},
        {"pat3", [](Byte r, Byte s, Byte) -> Byte { return inv(r) ^ s; }, false},
        {"pat4", [](Byte r, Byte, Byte t) -> Byte { return inv(r) ^ t; }, false},
        {"pat5", [](Byte, Byte s, Byte t) -> Byte { return inv(t) ^ s; }, false},
        {"pat6", [](Byte r, Byte s, Byte) -> Byte { return s ^ r; }, true},
        {"pat7", [](Byte r, Byte, Byte t) -> Byte { return r ^ t; }, true},
        {"pat8", [](Byte, Byte s, Byte t) -> Byte { return inv(t) ^ s; }, true},
    }};
    return rules;
}

bool drawCells(const CellSettings& s, Bitmap& picture) {
    if (s.rule < 0 || s.rule >= kCellRuleCount || picture.isEmpty()) return false;
    Bitmap work = picture;
    work.setPixelFormat(PixelFormat::pf8bit);
    if (work.pixelFormat() != PixelFormat::pf8bit) return false;  // no memory for the copy
    const int w = work.width();
    const int h = work.height();
    const CellRule& rule = cellRules()[s.rule];

    Byte* first = work.scanLine(0);
    std::fill(first, first + w, s.b0);
    const int start = std::min(w - kCellBitCount, s.position);
    for (int j = 0; j < kCellBitCount; ++j) {
        const int c = start + j;
        if ((s.bits >> j & 1) && c >= 0 && c < w) first[c] = s.b1;
    }
    if (s.random) {
        const int seeds = random::below(kCellRandomSeedsMax) + 1;
        for (int k = 0; k < seeds; ++k) first[random::below(w)] = s.b1;
    }

    // Rows are taken once as pointers: with split, the previous row may be the current one
    // (H - b == b), and the rule must then see its own fresh writes, as one buffer does.
    for (int b = 1; b < h; ++b) {
        const Byte* prev = work.scanLine(s.split ? h - b : b - 1);
        Byte* cur = work.scanLine(b);
        cur[0] = s.b0;
        for (int c = 1; c < w; ++c) {
            const Byte v = rule.apply(prev[c], prev[c - 1], cur[c - 1]);
            cur[rule.mirrored ? w - c : c] = v;
        }
    }
    picture = work;
    return true;
}

}  // namespace pixoral::generators
