#include "generators/QuickButton.h"

#include <algorithm>

namespace pixoral::generators {

namespace {

// Outline k of the bevel, or the line or point it has shrunk to where the edges meet. The
// lines leave out their end pixels, so the four sides share no pixel.
void drawOutline(Canvas& c, const ButtonDesign& d, int k) {
    const int x1 = k, y1 = k, x2 = d.width - 1 - k, y2 = d.height - 1 - k;
    Pen& pen = c.pen();
    c.moveTo(x1, y1);
    if (y1 == y2) {  // one row (or one pixel) left
        pen.color = d.topColor;
        c.lineTo(x2 + 1, y1);
        return;
    }
    if (x1 == x2) {  // one column left
        pen.color = d.leftColor;
        c.lineTo(x1, y2 + 1);
        return;
    }
    pen.color = d.topColor;
    c.lineTo(x2, y1);
    pen.color = d.rightColor;
    c.lineTo(x2, y2);
    pen.color = d.bottomColor;
    c.lineTo(x1, y2);
    pen.color = d.leftColor;
    c.lineTo(x1, y1);
}

}  // namespace

std::vector<CaptionPass> captionPasses(const ButtonDesign& d, Point at) {
    std::vector<CaptionPass> passes;
    if (d.styled) {
        const Point upLeft{at.x - 1, at.y - 1}, downRight{at.x + 1, at.y + 1};
        switch (d.style) {
            case CaptionStyle::Shadow: passes.push_back({d.shadowColor, {at.x + d.shadowDx, at.y + d.shadowDy}}); break;
            case CaptionStyle::Raised: passes.insert(passes.end(), {{clWhite, upLeft}, {clBlack, downRight}}); break;
            case CaptionStyle::Inset: passes.insert(passes.end(), {{clBlack, upLeft}, {clWhite, downRight}}); break;
        }
    }
    passes.push_back({d.font.color, at});
    return passes;
}

bool drawButton(Bitmap& picture, const ButtonDesign& d, const Bitmap& backdrop, QString* error) {
    const int w = d.width, h = d.height;
    if (!imageSizeAllowed(w, h)) {
        if (error) *error = QStringLiteral("A button of %1 by %2 pixels is larger than a picture can be.").arg(w).arg(h);
        return false;
    }
    // A fresh white picture, so nothing of the last button survives where this one draws nothing.
    Bitmap fresh(w, h);
    picture = fresh;
    Canvas& c = picture.canvas();

    c.font() = d.font;
    c.brush().setColor(d.faceColor);  // also makes the brush solid
    c.pen().width = 1;
    c.pen().style = PenStyle::psSolid;
    c.pen().mode = d.notXorEdges ? PenMode::pmNotXor : PenMode::pmCopy;

    const int e = std::max(0, d.edge);
    if (d.useBackdrop) {
        if (!backdrop.isEmpty()) c.stretchDraw(Rect{0, 0, w, h}, backdrop);
    } else if (w - e > e && h - e > e) {
        c.fillRect(Rect{e, e, w - e, h - e});
    }

    // Outlines stop where the edges meet in the middle.
    const int outlines = std::min(e, (std::min(w, h) + 1) / 2);
    for (int k = 0; k < outlines; ++k) drawOutline(c, d, k);

    c.brush().setStyle(BrushStyle::bsClear);
    if (!d.caption.isEmpty()) {
        const Point at{(w - c.textWidth(d.caption)) / 2, (h - c.textHeight(d.caption)) / 2};
        for (const CaptionPass& p : captionPasses(d, at)) {
            c.font().color = p.color;
            c.textOut(p.at.x, p.at.y, d.caption);
        }
        c.font().color = d.font.color;
    }
    return true;
}

}  // namespace pixoral::generators
