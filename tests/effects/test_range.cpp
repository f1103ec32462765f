#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "canvas/Canvas.h"
#include "effects/Range.h"
#include "effects/RangeOps.h"
#include "../common/TestImages.h"
#include "../common/TestSupport.h"

using namespace pixoral;
using namespace pixoral::effects;

namespace {

// Every pixel a different colour (sizes up to 256), so any shift or resampling shows. 8-bit
// images use the eight corner colours of the colour cube, whose inverses are in the palette.
const TColor kCorners[8] = {clBlack, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite};
TColor distinct(int x, int y) { return (x & 0xFF) | ((y & 0xFF) << 8) | (((x * 5 + y * 3) & 0xFF) << 16); }

Bitmap distinctImage(int w, int h, PixelFormat f = PixelFormat::Device) {
    Bitmap b(w, h, f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, f == PixelFormat::pf8bit ? kCorners[(x + 3 * y) % 8] : distinct(x, y));
    return b;
}

// Compares every pixel of img with expect(x, y); reports the first mismatch.
void expectPixels(const Bitmap& img, const std::function<TColor(int, int)>& expect) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != expect(x, y)) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << img.pixel(x, y)
                              << ", expected " << expect(x, y);
                return;
            }
}

RangeState stateWith(Rect r) {
    RangeState st;
    st.range = r;
    return st;
}

Rect swapped(Rect r) { return Rect{r.right, r.bottom, r.left, r.top}; }

struct NamedOp {
    const char* name;
    std::function<void(Bitmap&, RangeState&)> run;
};

const std::vector<NamedOp>& menuOps() {
    static const std::vector<NamedOp> ops = {
        {"invert", invertRange},
        {"and green", [](Bitmap& b, RangeState& s) { logicRange(b, s, LogicFamily::And, kLogicGreen); }},
        {"or red", [](Bitmap& b, RangeState& s) { logicRange(b, s, LogicFamily::Or, kLogicRed); }},
        {"xor blue", [](Bitmap& b, RangeState& s) { logicRange(b, s, LogicFamily::Xor, kLogicBlue); }},
        {"tile all", tileAll},
        {"tile diagonal", tileDiagonal},
        {"border horizontal", borderHorizontal},
        {"border vertical", borderVertical},
        {"mirror", mirrorRange},
        {"stretch", stretchRange},
        {"reduce", reduceRange},
        {"split horizontal", splitHorizontal},
        {"split vertical", splitVertical},
        {"erase", [](Bitmap& b, RangeState& s) { b.canvas().brush().setColor(clRed); eraseRange(b, s); }},
        {"mask clip", [](Bitmap& b, RangeState& s) { maskClip(b, s, distinct(3, 4)); }},
        {"paste", [](Bitmap& b, RangeState& s) { pasteRangeAt(b, s, {1, 2}); }},
        {"paste mask", [](Bitmap& b, RangeState& s) { pasteMaskAt(b, s, {1, 2}, distinct(3, 4)); }},
        {"paste color", [](Bitmap& b, RangeState& s) { pasteColorAt(b, s, {1, 2}, distinct(3, 4), false); }},
        {"move", [](Bitmap& b, RangeState& s) { rangeDragStart(b, s, {1, 2}); rangeMoveStep(b, s, {1, 2}, {4, 0}); }},
        {"smear", [](Bitmap& b, RangeState& s) { rangeDragStart(b, s, {1, 2}); rangeSmearStep(b, s, {4, 0}); }},
        {"transcopy", [](Bitmap& b, RangeState& s) { transparentCopyAt(b, s, {1, 2}); }},
    };
    return ops;
}

TEST(RangeMagnify, TheMiddleHalfEnlargedTwiceOverTheRange) {
    // A 40 by 40 range whose middle half (10..30) holds a red 10 by 10 square at 15..25:
    // enlarged twice about the range's centre it covers 10..30.
    Bitmap ws(60, 60);
    ws.canvas().brush().setColor(clRed);
    ws.canvas().fillRect(Rect{15, 15, 25, 25});
    ws.canvas().setCopyMode(cmSrcInvert);
    RangeState st = stateWith({0, 0, 40, 40});
    magnifyRange(ws, st);
    EXPECT_EQ(ws.canvas().copyMode(), cmSrcCopy);  // and it stays so
    EXPECT_EQ(st.buffer.width(), 50);
    EXPECT_EQ(ws.pixel(12, 12), clRed);
    EXPECT_EQ(ws.pixel(27, 27), clRed);
    EXPECT_EQ(ws.pixel(8, 8), clWhite);
    EXPECT_EQ(ws.pixel(45, 45), clWhite);  // outside the range
}

}  // namespace

TEST(RangeRule, PixelsAreTheNormalisedRectangleWithExclusiveEdges) {
    struct Case {
        Rect stored;
        Rect pixels;
        bool empty;
    } cases[] = {
        {{0, 0, 0, 0}, {0, 0, 0, 0}, true},
        {{2, 3, 7, 9}, {2, 3, 7, 9}, false},
        {{7, 9, 2, 3}, {2, 3, 7, 9}, false},
        {{7, 3, 2, 9}, {2, 3, 7, 9}, false},
        {{5, 1, 5, 9}, {5, 1, 5, 9}, true},
        {{0, 4, 6, 4}, {0, 4, 6, 4}, true},
        {{-4, -2, 1, 1}, {-4, -2, 1, 1}, false},
        {{2000000000, 0, -2000000000, 1}, {-kRangeCoordLimit, 0, kRangeCoordLimit, 1}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rangePixels(c.stored), c.pixels);
        EXPECT_EQ(rangeIsEmpty(c.stored), c.empty);
    }
}

TEST(RangeHelpers, BufferIsExactlyTheRangeCopiedOneToOne) {
    const Bitmap ws = distinctImage(20, 15);
    for (Rect r : {Rect{3, 2, 11, 7}, Rect{11, 7, 3, 2}}) {
        RangeState st = stateWith(r);
        ASSERT_TRUE(loadRange(ws, st));
        EXPECT_EQ(st.range, r);  // never normalised
        ASSERT_EQ(st.buffer.width(), 8);
        ASSERT_EQ(st.buffer.height(), 5);
        EXPECT_EQ(st.buffer.pixelFormat(), PixelFormat::pf24bit);
        expectPixels(st.buffer, [](int x, int y) { return distinct(x + 3, y + 2); });
    }
    // A range reaching past the workspace keeps the fill colour outside it.
    RangeState st = stateWith({17, 12, 22, 16});
    ASSERT_TRUE(setclip(st, clWhite));
    copyclip(ws, st);
    expectPixels(st.buffer, [](int x, int y) { return x < 3 && y < 3 ? distinct(x + 17, y + 12) : clWhite; });

    // grab keeps the workspace's format and leaves the current range alone.
    const Bitmap ws8 = distinctImage(9, 9, PixelFormat::pf8bit);
    RangeState g = stateWith({1, 1, 2, 2});
    ASSERT_TRUE(grab(ws8, g, {6, 5, 2, 1}));
    EXPECT_EQ(g.range, (Rect{1, 1, 2, 2}));
    EXPECT_EQ(g.buffer.pixelFormat(), PixelFormat::pf8bit);
    expectPixels(g.buffer, [&](int x, int y) { return ws8.pixel(x + 2, y + 1); });

    // Loading the whole workspace gives a buffer of exactly its size.
    RangeState whole;
    ASSERT_TRUE(loadWholeWorkspace(ws, whole));
    EXPECT_EQ(whole.range, (Rect{0, 0, 20, 15}));
    EXPECT_TRUE(samePixels(whole.buffer, ws));
}

TEST(RangeHelpers, EmptyRangeLeavesAnEmptyBufferAndTheImageUnchanged) {
    for (Rect r : {Rect{0, 0, 0, 0}, Rect{5, 5, 5, 20}, Rect{3, 8, 12, 8}}) {
        for (const NamedOp& op : menuOps()) {
            SCOPED_TRACE(op.name);
            Bitmap ws = distinctImage(16, 12);
            const Bitmap before(ws);
            RangeState st = stateWith(r);
            op.run(ws, st);
            EXPECT_TRUE(samePixels(ws, before));
            EXPECT_TRUE(st.buffer.isEmpty());
            EXPECT_EQ(ws.canvas().copyMode(), cmSrcCopy);
        }
    }
}

TEST(RangeHelpers, SwappedCornersActLikeTheSameRangeDraggedTheOtherWay) {
    const Rect r{3, 2, 10, 7};
    for (const NamedOp& op : menuOps()) {
        SCOPED_TRACE(op.name);
        Bitmap a = distinctImage(24, 18), b = distinctImage(24, 18);
        RangeState sa = stateWith(r), sb = stateWith(swapped(r));
        op.run(a, sa);
        op.run(b, sb);
        EXPECT_TRUE(samePixels(a, b));
        EXPECT_EQ(rangePixels(sa.range), rangePixels(sb.range));
    }
    for (auto square : {squareToHeight, squareToWidth}) {
        RangeState sa = stateWith(r), sb = stateWith(swapped(r));
        square(sa);
        square(sb);
        EXPECT_EQ(rangePixels(sa.range), rangePixels(sb.range));
    }
}

// Unfinished: still fails; the range operations are not wired in yet.
TEST(RangeInvert, TwiceRestoresAndSelectAllInvertsEveryPixel) {
    for (PixelFormat f : {PixelFormat::Device, PixelFormat::pf24bit, PixelFormat::pf8bit}) {
        SCOPED_TRACE(pixelFormatName(f));
        Bitmap ws = distinctImage(13, 9, f);
        const Bitmap before(ws);
        RangeState st = stateWith({2, 1, 9, 8});
        invertRange(ws, st);
        expectPixels(ws, [&](int x, int y) {
            const bool in = x >= 2 && x < 9 && y >= 1 && y < 8;
            return in ? 0xFFFFFF ^ before.pixel(x, y) : before.pixel(x, y);
        });
        invertRange(ws, st);
        EXPECT_TRUE(samePixels(ws, before));
        EXPECT_EQ(ws.pixelFormat(), f);
    }
    Bitmap ws = distinctImage(31, 17);
    const Bitmap before(ws);
    RangeState st;
    selectAll(ws, st);
    EXPECT_EQ(st.range, (Rect{0, 0, 31, 17}));
    invertRange(ws, st);
    EXPECT_EQ(ws.width(), 31);
    EXPECT_EQ(ws.height(), 17);
    expectPixels(ws, [&](int x, int y) { return 0xFFFFFF ^ before.pixel(x, y); });
}

TEST(RangeLogic, EachMenuItemCombinesEveryChannelBitwise) {
    // The menu order is part of the interface: And lists Blue first, Or and Xor Red first.
    EXPECT_STREQ(kLogicItems[0].caption, "&Blue");
    EXPECT_STREQ(kLogicItems[4].caption, "&Red");
    for (const LogicItem& item : kLogicItems) {
        const TColor c = item.userColor ? TColor{0x5A3C91} : item.color;
        SCOPED_TRACE(std::string(item.caption) + " family " + std::to_string(static_cast<int>(item.family)));
        Bitmap ws = distinctImage(12, 10);
        const Bitmap before(ws);
        RangeState st = stateWith({0, 0, 12, 10});
        logicRange(ws, st, item.family, c);
        expectPixels(ws, [&](int x, int y) {
            const TColor v = before.pixel(x, y);
            switch (item.family) {
            case LogicFamily::And: return v & c;
            case LogicFamily::Or: return (~v & 0xFFFFFF) | c;
            case LogicFamily::Xor: return v ^ c;
            }
            return TColor{-2};
        });
    }
    Bitmap white(6, 6);
    RangeState st = stateWith({0, 0, 6, 6});
    logicRange(white, st, LogicFamily::Or, kLogicRed);
    expectPixels(white, [](int, int) { return kLogicRed; });

    Bitmap ws = distinctImage(40, 40);
    st = stateWith({0, 0, 40, 40});
    logicRange(ws, st, LogicFamily::And, kLogicGreen);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) EXPECT_TRUE(ws.pixel(x, y) == 0 || ws.pixel(x, y) == 0x8000);
}

TEST(RangeTile, CopiesTileWithoutOverlapAndClipAtTheEdges) {
    struct Case {
        const char* name;
        void (*run)(Bitmap&, RangeState&);
        Rect range;
        // Which source pixel (relative to the range) lands at (x, y), or false to keep.
        bool (*covered)(int x, int y, int w, int h, int bw, int bh);
    } cases[] = {
        {"all 10x10", tileAll, {20, 30, 30, 40}, [](int, int, int, int, int, int) { return true; }},
        {"all 7x3", tileAll, {50, 60, 57, 63}, [](int, int, int, int, int, int) { return true; }},
        {"all 1x1", tileAll, {4, 4, 5, 5}, [](int, int, int, int, int, int) { return true; }},
        {"diagonal", tileDiagonal, {20, 30, 30, 40},
         [](int x, int y, int, int, int bw, int bh) { return x / bw == y / bh; }},
        {"border horizontal", borderHorizontal, {20, 30, 30, 40},
         [](int, int y, int, int h, int, int bh) { return y < bh || y >= h - bh; }},
        {"border vertical", borderVertical, {20, 30, 30, 40},
         [](int x, int, int w, int, int bw, int) { return x < bw || x >= w - bw; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap ws = distinctImage(95, 95);
        const Bitmap before(ws);
        RangeState st = stateWith(c.range);
        c.run(ws, st);
        const Rect p = rangePixels(c.range);
        const int bw = p.width(), bh = p.height();
        expectPixels(ws, [&](int x, int y) {
            if (!c.covered(x, y, 95, 95, bw, bh)) return before.pixel(x, y);
            // Borders along the far edge start at W - bw (or H - bh).
            int sx = x % bw, sy = y % bh;
            if (c.run == borderHorizontal && y >= 95 - bh) sy = y - (95 - bh);
            if (c.run == borderVertical && x >= 95 - bw) sx = x - (95 - bw);
            return before.pixel(p.left + sx, p.top + sy);
        });
    }
}

TEST(RangeTile, CopyModeOfTheWorkspaceCombinesEachCopy) {
    Bitmap ws = distinctImage(30, 20);
    const Bitmap before(ws);
    ws.canvas().setCopyMode(cmSrcInvert);
    RangeState st = stateWith({0, 0, 8, 6});
    tileAll(ws, st);
    expectPixels(ws, [&](int x, int y) { return before.pixel(x, y) ^ before.pixel(x % 8, y % 6); });
}

TEST(RangeMirror, DoublesTheRangeDownwardAndReflectsWholeRows) {
    for (PixelFormat f : {PixelFormat::pf24bit, PixelFormat::pf8bit, PixelFormat::Device}) {
        SCOPED_TRACE(pixelFormatName(f));
        Bitmap ws = distinctImage(20, 24, f);
        const Bitmap before(ws);
        RangeState st = stateWith({2, 1, 17, 4});
        mirrorRange(ws, st);
        EXPECT_EQ(st.range, (Rect{2, 1, 17, 7}));
        expectPixels(ws, [&](int x, int y) {
            // Rows 4..6 become rows 3, 2, 1 across the range's whole width.
            if (x >= 2 && x < 17 && y >= 4 && y < 7) return before.pixel(x, 7 - y);
            return before.pixel(x, y);
        });
        mirrorRange(ws, st);
        EXPECT_EQ(st.range, (Rect{2, 1, 17, 13}));
        EXPECT_EQ(ws.pixel(16, 12), before.pixel(16, 1));
    }
    // The row helper copies every byte of pixel data and never the padding.
    Bitmap b = test::fromRows(3, PixelFormat::pf8bit, {{1, 2, 3}, {9, 9, 9}, {4, 5, 6}});
    for (int y = 0; y < 3; ++y) b.scanLine(y)[3] = static_cast<std::uint8_t>(0xA0 + y);
    mirrorRowsDown(b);
    EXPECT_EQ(test::rowBytes(b, 2), (test::Bytes{1, 2, 3}));
    EXPECT_EQ(test::rowBytes(b, 1), (test::Bytes{9, 9, 9}));
    EXPECT_EQ(b.scanLine(2)[3], 0xA2);
}

TEST(RangeResample, StretchFillsTheWorkspaceAndReduceFillsTheRange) {
    Bitmap ws = distinctImage(8, 6);
    const Bitmap before(ws);
    RangeState st = stateWith({4, 2, 8, 5});  // 4 by 3 onto 8 by 6: each pixel a 2 by 2 block
    stretchRange(ws, st);
    expectPixels(ws, [&](int x, int y) { return before.pixel(4 + x / 2, 2 + y / 2); });

    ws = before;
    st = stateWith({6, 4, 2, 1});  // 4 by 3: of each 2 by 2 block the right column and the top row
    reduceRange(ws, st);
    EXPECT_EQ(st.range, (Rect{6, 4, 2, 1}));
    EXPECT_EQ(st.buffer.width(), 8);
    expectPixels(ws, [&](int x, int y) {
        const bool in = x >= 2 && x < 6 && y >= 1 && y < 4;
        return in ? before.pixel(2 * (x - 2) + 1, 2 * (y - 1)) : before.pixel(x, y);
    });
}

TEST(RangeSplit, OffsetAnswersAndTheMovedHalfWithItsWhiteGap) {
    struct Answer {
        const char* text;
        int current;
        int expected;
    } answers[] = {{"30", 20, 30}, {" 7 ", 20, 7}, {"1", 9, 1}, {"50", 9, 50}, {"0", 9, 9},
                   {"51", 9, 9},   {"-3", 9, 9},   {"abc", 9, 20}, {"", 9, 20}, {"2.5", 9, 20}};
    for (const Answer& a : answers) EXPECT_EQ(acceptAnswer(kSplitOffsetPrompt, a.text, a.current).value, a.expected) << a.text;

    Bitmap ws = distinctImage(20, 12);
    const Bitmap before(ws);
    ws.canvas().brush().setColor(clRed);
    ws.canvas().brush().setStyle(BrushStyle::bsClear);
    RangeState st = stateWith({1, 2, 10, 6});  // 9 wide: d = 5, the columns from 6 move
    st.splitOffset = 3;
    splitHorizontal(ws, st);
    expectPixels(ws, [&](int x, int y) {
        if (y < 2 || y >= 6) return before.pixel(x, y);
        if (x >= 6 && x < 9) return clWhite;
        if (x >= 9 && x < 13) return before.pixel(x - 3, y);
        return before.pixel(x, y);
    });
    EXPECT_EQ(ws.canvas().brush().color(), clRed);
    EXPECT_EQ(ws.canvas().brush().style(), BrushStyle::bsSolid);

    ws = before;
    st = stateWith({2, 9, 5, 1});  // 8 high: d = 4, the rows from 5 move down
    st.splitOffset = 2;
    splitVertical(ws, st);
    expectPixels(ws, [&](int x, int y) {
        if (x < 2 || x >= 5) return before.pixel(x, y);
        if (y >= 5 && y < 7) return clWhite;
        if (y >= 7 && y < 11) return before.pixel(x, y - 2);
        return before.pixel(x, y);
    });
}

TEST(RangeSquare, ResizesFromTheTopLeftCorner) {
    struct Case {
        Rect in;
        Rect toHeight;
        Rect toWidth;
    } cases[] = {
        {{10, 20, 40, 30}, {10, 20, 40, 50}, {10, 20, 20, 30}},
        {{40, 30, 10, 20}, {40, 50, 10, 20}, {20, 30, 10, 20}},
        {{10, 30, 40, 20}, {10, 50, 40, 20}, {10, 30, 20, 20}},
        {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        RangeState st = stateWith(c.in);
        squareToHeight(st);
        EXPECT_EQ(st.range, c.toHeight);
        st = stateWith(c.in);
        squareToWidth(st);
        EXPECT_EQ(st.range, c.toWidth);
    }
}

TEST(RangeErase, PaintsExactlyTheRangeInTheBrushColour) {
    Bitmap ws = distinctImage(10, 8);
    const Bitmap before(ws);
    ws.canvas().brush().setColor(clBlue);
    RangeState st = stateWith({7, 5, 2, 1});
    st.buffer = distinctImage(3, 3);  // whatever an earlier command left there
    eraseRange(ws, st);
    expectPixels(ws, [&](int x, int y) { return x >= 2 && x < 7 && y >= 1 && y < 5 ? clBlue : before.pixel(x, y); });
}

TEST(RangeTools, MoveAndSmearShowTheRangeOnWhiteAndLeaveSourceInvert) {
    Bitmap ws(40, 30);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) ws.setPixel(x, y, distinct(x + 1, y + 1));
    const Bitmap before(ws);
    RangeState st = stateWith({0, 0, 5, 4});
    rangeDragStart(ws, st, {10, 10});
    EXPECT_EQ(ws.canvas().copyMode(), cmSrcInvert);
    rangeMoveStep(ws, st, {10, 10}, {20, 15});
    auto range = [&](int x, int y, Point at) {
        const int i = x - at.x, j = y - at.y;
        return i >= 0 && i < 5 && j >= 0 && j < 4 ? before.pixel(i, j) : TColor{-1};
    };
    expectPixels(ws, [&](int x, int y) {
        const TColor moved = range(x, y, {20, 15});
        return moved >= 0 ? moved : before.pixel(x, y);  // the copy at the press is gone
    });
    rangeSmearStep(ws, st, {30, 20});
    EXPECT_EQ(ws.pixel(32, 21), before.pixel(2, 1));
    EXPECT_EQ(ws.pixel(22, 16), before.pixel(2, 1));  // smearing keeps earlier copies

    // Later pastes keep source invert until the user picks another copy mode.
    const Bitmap moved(ws);
    pasteRangeAt(ws, st, {0, 20});
    EXPECT_EQ(ws.pixel(1, 21), moved.pixel(1, 21) ^ before.pixel(1, 1));
    ws.canvas().setCopyMode(cmSrcCopy);
    pasteRangeAt(ws, st, {0, 20});
    EXPECT_EQ(ws.pixel(1, 21), before.pixel(1, 1));
}

TEST(RangeTools, PasteColourPasteMaskAndTransparentCopy) {
    // A 4 by 2 range with two red pixels, pasted at (5, 4) on a grey image.
    auto make = [] {
        Bitmap ws(12, 8);
        ws.fill(0x808080);
        for (int x = 0; x < 4; ++x) {
            ws.setPixel(x, 0, clGreen);
            ws.setPixel(x, 1, clGreen);
        }
        ws.setPixel(1, 0, clRed);
        ws.setPixel(3, 1, clRed);
        return ws;
    };
    const Bitmap before = make();
    auto isRed = [](int x, int y) { return (x == 6 && y == 4) || (x == 8 && y == 5); };

    Bitmap ws = make();
    RangeState st = stateWith({4, 2, 0, 0});
    pasteColorAt(ws, st, {5, 4}, clRed, false);
    expectPixels(ws, [&](int x, int y) { return isRed(x, y) ? clRed : before.pixel(x, y); });

    ws = make();
    pasteColorAt(ws, st, {5, 4}, clRed, true);
    expectPixels(ws, [&](int x, int y) { return isRed(x, y) ? (0x808080 ^ clRed) : before.pixel(x, y); });

    ws = make();
    pasteMaskAt(ws, st, {5, 4}, clRed);
    expectPixels(ws, [&](int x, int y) {
        if (x < 5 || x >= 9 || y < 4 || y >= 6) return before.pixel(x, y);
        return isRed(x, y) ? clWhite : clBlack;
    });

    ws = make();
    maskClip(ws, st, clGreen);
    expectPixels(ws, [&](int x, int y) {
        if (x >= 4 || y >= 2) return before.pixel(x, y);
        return before.pixel(x, y) == clGreen ? clWhite : clBlack;
    });

    // Transparent copy: the range's pixels of the transparent colour become the brush.
    ws = make();
    ws.canvas().brush().setColor(clYellow);
    st.transparentColor = clGreen;
    transparentCopyAt(ws, st, {5, 4});
    expectPixels(ws, [&](int x, int y) {
        if (x < 5 || x >= 9 || y < 4 || y >= 6) return before.pixel(x, y);
        return isRed(x, y) ? clRed : clYellow;
    });
}
