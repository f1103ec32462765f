#include "effects/Transitions.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas/Canvas.h"

namespace pixoral::effects {

namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb componentsOf(TColor c) {
    const TColor v = c == clNone ? clWhite : colorToRGB(c);
    return Rgb{static_cast<double>(getRValue(v)), static_cast<double>(getGValue(v)), static_cast<double>(getBValue(v))};
}

int channel(double v) { return static_cast<int>(std::clamp(std::lround(v), 0L, 255L)); }
TColor colorOf(const Rgb& c) { return rgb(channel(c.r), channel(c.g), channel(c.b)); }

// How far a nested shape moves in on each side per band: half a band, or the user's step
// when it is set and smaller.
int shrinkStep(int side, int bands, int userStep) {
    const int automatic = (side / bands) / 2;
    return userStep != 0 && userStep < automatic ? userStep : automatic;
}

// The buffer as the mask's background: black (whiten) everywhere, with a solid white brush
// for the shape to keep.
void blackWithWhiteBrush(Bitmap& buf) {
    buf.fill(clBlack);
    buf.canvas().brush().setStyle(BrushStyle::bsSolid);
    buf.canvas().brush().setColor(clWhite);
}

void drawMaskShape(Bitmap& buf, RangeMask mask, const Bitmap& maskImage) {
    Canvas& c = buf.canvas();
    const int wb = buf.width(), hb = buf.height();
    switch (mask) {
        case RangeMask::Squares: {
            // The strips beyond the 16 cells stay white, so the image keeps them.
            const int cw = wb / 16, ch = hb / 16;
            c.brush().setColor(clBlack);
            for (int i = 0; i < 16; ++i)
                for (int j = 0; j < 16; ++j)
                    if ((i + j) % 2 == 1) c.fillRect(Rect{j * cw, i * ch, (j + 1) * cw, (i + 1) * ch});
            break;
        }
        case RangeMask::Oval:
            blackWithWhiteBrush(buf);
            c.ellipse(0, 0, wb, hb);
            break;
        case RangeMask::Diamond:
            blackWithWhiteBrush(buf);
            c.polygon({{wb / 2, 0}, {wb - 1, hb / 2}, {wb / 2, hb - 1}, {0, hb / 2}});
            break;
        case RangeMask::Octagon: {
            blackWithWhiteBrush(buf);
            // The corner cut of a regular octagon as wide as the range; a range lower than it
            // is wide gets cuts no deeper than half its height, so the octagon stays whole.
            const int s = static_cast<int>(std::lround((wb / 2) * kOctagonSide));
            const int d = std::min((wb - s) / 2, (hb - 1) / 2);
            c.polygon({{d, 0},
                       {wb - d - 1, 0},
                       {wb - 1, d},
                       {wb - 1, hb - d - 1},
                       {wb - d - 1, hb - 1},
                       {d, hb - 1},
                       {0, hb - d - 1},
                       {0, d}});
            break;
        }
        case RangeMask::User:
            // A plain copy whatever copy mode an earlier command left on the buffer.
            if (maskImage.isEmpty()) break;
            const CopyMode keep = c.copyMode();
            c.setCopyMode(cmSrcCopy);
            c.stretchDraw(Rect{0, 0, wb, hb}, maskImage);
            c.setCopyMode(keep);
            break;
    }
}

}  // namespace

bool transition(Bitmap& workspace, RangeState& st, TransitionShape shape, TransitionParams& p) {
    if (rangeIsEmpty(st.range)) return true;
    // The colour steps belong to the band count as it stands before the size check.
    const Rgb s = componentsOf(p.start), e = componentsOf(p.end);
    const int stepsOf = std::max(p.bands, 1);
    const Rgb step{(e.r - s.r) / stepsOf, (e.g - s.g) / stepsOf, (e.b - s.b) / stepsOf};
    if (!loadRange(workspace, st)) return false;

    Bitmap& buf = st.buffer;
    const int wb = buf.width(), hb = buf.height();
    const int across = shape == TransitionShape::Horizontal ? wb : hb;
    if (across < kBandSizeCheck) p.bands = across - 1;
    p.bands = std::max(p.bands, 1);
    const int n = p.bands;

    Canvas& c = buf.canvas();
    if (shape == TransitionShape::Elliptical || shape == TransitionShape::Rounded) c.pen().style = PenStyle::psClear;
    const int dx = shrinkStep(wb, n, p.xStep), dy = shrinkStep(hb, n, p.yStep);
    Rect box{0, 0, wb, hb};
    int cw = std::min(wb / 4, 20), ch = std::min(hb / 4, 20);
    Rgb colour = s;
    for (int k = 0; k < n; ++k) {
        c.brush().setColor(colorOf(colour));
        switch (shape) {
            case TransitionShape::Horizontal: c.fillRect(Rect{k * (wb / n), 0, (k + 1) * (wb / n), hb}); break;
            case TransitionShape::Vertical: c.fillRect(Rect{0, k * (hb / n), wb, (k + 1) * (hb / n)}); break;
            case TransitionShape::Conical: c.fillRect(box); break;
            case TransitionShape::Elliptical: c.ellipse(box.left, box.top, box.right, box.bottom); break;
            case TransitionShape::Rounded: c.roundRect(box.left, box.top, box.right, box.bottom, cw, ch); break;
        }
        box = Rect{box.left + dx, box.top + dy, box.right - dx, box.bottom - dy};
        cw = std::max(cw - 1, 0);
        ch = std::max(ch - 1, 0);
        colour = Rgb{colour.r + step.r, colour.g + step.g, colour.b + step.b};
    }
    pasteclip(workspace, st);
    return true;
}

bool maskRange(Bitmap& workspace, RangeState& st, RangeMask mask) {
    if (rangeIsEmpty(st.range)) return true;
    if (!setclip(st, clWhite)) return false;
    drawMaskShape(st.buffer, mask, st.maskImage);
    const Rect p = rangePixels(st.range);
    Canvas& ws = workspace.canvas();
    const CopyMode keep = ws.copyMode();
    ws.setCopyMode(cmMergePaint);
    ws.copyRect(Rect{p.left, p.top, p.left + st.buffer.width(), p.top + st.buffer.height()}, st.buffer.canvas(),
                Rect{0, 0, st.buffer.width(), st.buffer.height()});
    ws.setCopyMode(keep);
    return true;
}

}  // namespace pixoral::effects
