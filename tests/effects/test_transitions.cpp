#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "canvas/Canvas.h"
#include "effects/Transitions.h"
#include "../common/TestSupport.h"

using namespace pixoral;
using namespace pixoral::effects;

namespace {

// Every pixel differs from its neighbours and none is white, black or a pure blue, so kept,
// whitened and painted pixels all tell apart.
TColor background(int x, int y) { return rgb(40 + (x * 7) % 200, 30 + (y * 11) % 200, 20 + (x + y) % 100); }

Bitmap backgroundImage(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.setPixel(x, y, background(x, y));
    return b;
}

RangeState rangeOf(Rect r) {
    RangeState st;
    st.range = r;
    return st;
}

// Default colours: black toward navy, so band k is blue round(k * 128 / N).
TColor blueBand(int k, int stepsOf) { return rgb(0, 0, static_cast<int>(std::lround(k * 128.0 / stepsOf))); }

}  // namespace

TEST(Transition, StripesTakeTheirStepsFromTheCountBeforeTheSizeCheck) {
    struct Case {
        const char* name;
        TransitionShape shape;
        int width, height, bandsBefore, bandsAfter;
        int stripe;      // pixels per stripe
        int stepsOf;     // the count the colour steps were taken with
    };
    const Case cases[] = {
        // 20 stripes of 5 from black to blue 122; navy itself never painted.
        {"vertical 100 high", TransitionShape::Vertical, 30, 100, 20, 20, 5, 20},
        // 9 one-pixel stripes with the steps of 20; the lowest row keeps the image.
        {"vertical 10 high", TransitionShape::Vertical, 30, 10, 20, 9, 1, 20},
        // The lowered count then serves a large range: 9 stripes of 11, row 99 kept.
        {"vertical after lowering", TransitionShape::Vertical, 30, 100, 9, 9, 11, 9},
        // 20 stripes of 5; the last 5 columns keep the image.
        {"horizontal 105 wide", TransitionShape::Horizontal, 105, 30, 20, 20, 5, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap img = backgroundImage(c.width + 10, c.height + 10);
        RangeState st = rangeOf(Rect{5, 5, 5 + c.width, 5 + c.height});
        TransitionParams p;
        p.bands = c.bandsBefore;
        ASSERT_TRUE(transition(img, st, c.shape, p));
        EXPECT_EQ(p.bands, c.bandsAfter);
        const bool across = c.shape == TransitionShape::Horizontal;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const int along = (across ? x : y) - 5;
                const bool inRange = x >= 5 && y >= 5 && x < 5 + c.width && y < 5 + c.height;
                const bool painted = inRange && along < c.bandsAfter * c.stripe;
                const TColor want = painted ? blueBand(along / c.stripe, c.stepsOf) : background(x, y);
                ASSERT_EQ(img.pixel(x, y), want) << x << ", " << y;
            }
        EXPECT_EQ(countPixels(img, clNavy), 0);
    }
    // The 19th step of 6.4 rounds to 122.
    EXPECT_EQ(blueBand(19, 20), rgb(0, 0, 122));
}

TEST(Transition, NestedShapesShrinkByHalfABandOrTheSmallerStep) {
    struct Sample {
        Point at;
        int band;  // -1: keeps the image
    };
    struct Case {
        const char* name;
        TransitionShape shape;
        int xStep, yStep;
        std::vector<Sample> samples;
    };
    // A 100 by 100 range with 20 bands: half a band is 2 pixels.
    const Case cases[] = {
        {"conical", TransitionShape::Conical, 0, 0, {{{0, 50}, 0}, {{2, 50}, 1}, {{38, 50}, 19}, {{50, 50}, 19}, {{50, 3}, 1}}},
        {"conical xstep 1, larger ystep", TransitionShape::Conical, 1, 25, {{{1, 50}, 1}, {{19, 50}, 19}, {{50, 2}, 1}}},
        {"elliptical", TransitionShape::Elliptical, 0, 0, {{{0, 0}, -1}, {{2, 2}, -1}, {{50, 50}, 19}, {{99, 99}, -1}}},
        {"rounded", TransitionShape::Rounded, 0, 0, {{{0, 0}, -1}, {{50, 0}, 0}, {{0, 50}, 0}, {{50, 50}, 19}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap img = backgroundImage(100, 100);
        RangeState st = rangeOf(Rect{0, 0, 100, 100});
        TransitionParams p;
        p.xStep = c.xStep;
        p.yStep = c.yStep;
        ASSERT_TRUE(transition(img, st, c.shape, p));
        for (const Sample& s : c.samples)
            EXPECT_EQ(img.pixel(s.at.x, s.at.y), s.band < 0 ? background(s.at.x, s.at.y) : blueBand(s.band, 20))
                << s.at.x << ", " << s.at.y;
    }
}

TEST(Transition, PromptsFallBackForTextAndKeepOutOfRangeNumbers) {
    struct Case {
        const NumberPrompt* prompt;
        const char* answer;
        double current, expected;
    };
    const Case cases[] = {
        {&kBandsPrompt, "twelve", 12, 20}, {&kBandsPrompt, "41", 12, 12}, {&kBandsPrompt, "7", 12, 12},
        {&kBandsPrompt, "8", 12, 8},       {&kBandsPrompt, "40", 12, 40}, {&kXstepPrompt, "x", 5, 0},
        {&kXstepPrompt, "26", 5, 5},       {&kXstepPrompt, "-1", 5, 5},   {&kXstepPrompt, "25", 5, 25},
        {&kYstepPrompt, "", 7, 0},         {&kYstepPrompt, "3", 7, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(acceptAnswer(*c.prompt, QString::fromLatin1(c.answer), c.current).value, c.expected)
            << c.prompt->text.toStdString() << " " << c.answer;
    EXPECT_EQ(kXstepPrompt.defaultText, QStringLiteral("0"));
    EXPECT_EQ(kBandsPrompt.caption, QStringLiteral("Pixoral Transitions"));
}

TEST(RangeMask, SquaresWhitenEveryOtherCellAndKeepTheTopLeft) {
    Bitmap img = backgroundImage(80, 40);
    RangeState st = rangeOf(Rect{8, 4, 72, 36});  // 64 by 32: cells of 4 by 2
    ASSERT_TRUE(maskRange(img, st, RangeMask::Squares));
    int whitened = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const bool inRange = x >= 8 && y >= 4 && x < 72 && y < 36;
            const bool odd = inRange && ((x - 8) / 4 + (y - 4) / 2) % 2 == 1;
            ASSERT_EQ(img.pixel(x, y), odd ? clWhite : background(x, y)) << x << ", " << y;
            whitened += odd;
        }
    EXPECT_EQ(whitened, 64 * 32 / 2);
}

TEST(RangeMask, OctagonCutsItsCornersFromTheWidthWithinTheHeight) {
    struct Case {
        int width, height, d;
    };
    // 101 by 101: s = round(50 * 0.765) = 38, d = (101 - 38) div 2 = 31, top edge 31..69.
    // A low, wide range cuts no deeper than half its height.
    const Case cases[] = {{101, 101, 31}, {200, 20, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        Bitmap img = backgroundImage(c.width, c.height);
        RangeState st = rangeOf(Rect{0, 0, c.width, c.height});
        st.buffer.canvas().pen().color = clWhite;  // the outline kept too, so the edges show
        ASSERT_TRUE(maskRange(img, st, RangeMask::Octagon));
        for (int x = 0; x < c.width; ++x) {
            const bool kept = x >= c.d && x <= c.width - c.d - 1;
            EXPECT_EQ(img.pixel(x, 0) != clWhite, kept) << "top " << x;
            EXPECT_EQ(img.pixel(x, c.height - 1) != clWhite, kept) << "bottom " << x;
        }
        for (int y = 0; y < c.height; ++y) {
            const bool kept = y >= c.d && y <= c.height - c.d - 1;
            EXPECT_EQ(img.pixel(0, y) != clWhite, kept) << "left " << y;
        }
    }
}

TEST(RangeMask, OutlinesFollowTheBufferPenWhichATransitionLeavesClear) {
    RangeState st = rangeOf(Rect{0, 0, 60, 40});
    int whitened[2];
    for (int& n : whitened) {
        Bitmap img = backgroundImage(60, 40);
        ASSERT_TRUE(maskRange(img, st, RangeMask::Oval));
        n = countPixels(img, clWhite);
        TransitionParams p;
        ASSERT_TRUE(transition(img, st, TransitionShape::Elliptical, p));
    }
    EXPECT_EQ(st.buffer.canvas().pen().style, PenStyle::psClear);
    EXPECT_LT(whitened[1], whitened[0]);  // the black outline is gone
}

TEST(RangeMask, UserMaskMergesBitsAndAnEmptyMaskChangesNothing) {
    Bitmap img(20, 20);
    img.fill(0x303030);
    RangeState st = rangeOf(Rect{0, 0, 20, 20});
    ASSERT_TRUE(maskRange(img, st, RangeMask::User));
    EXPECT_TRUE(allPixels(img, 0x303030));
    st.maskImage = Bitmap(5, 5);
    st.maskImage.fill(0x0F0F0F);
    st.buffer.canvas().setCopyMode(cmSrcInvert);  // left by an earlier Invert: not used here
    ASSERT_TRUE(maskRange(img, st, RangeMask::User));
    EXPECT_TRUE(allPixels(img, 0xF0F0F0));  // bits 0 in the mask become 1
}

TEST(RangeMask, RangeReachingPastTheImageTouchesOnlyItsOwnPixels) {
    struct Case {
        const char* name;
        std::function<bool(Bitmap&, RangeState&)> run;
    };
    const Case cases[] = {
        {"vertical", [](Bitmap& b, RangeState& s) { TransitionParams p; return transition(b, s, TransitionShape::Vertical, p); }},
        {"oval", [](Bitmap& b, RangeState& s) { return maskRange(b, s, RangeMask::Oval); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap img = backgroundImage(40, 40);
        img.canvas().setCopyMode(cmSrcPaint);
        RangeState st = rangeOf(Rect{60, 60, 20, 20});  // dragged up-left, past the corner
        ASSERT_TRUE(c.run(img, st));
        EXPECT_EQ(img.width(), 40);
        EXPECT_EQ(img.canvas().copyMode(), cmSrcPaint);
        int changed = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                if (img.pixel(x, y) == background(x, y)) continue;
                ASSERT_TRUE(x >= 20 && y >= 20) << x << ", " << y;
                ++changed;
            }
        EXPECT_GT(changed, 0);
    }
}
