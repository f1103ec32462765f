#include "workspace/GadgetPaint.h"

#include <QStringList>
#include <cmath>

namespace pixoral {

QString textStyleCaption(int style) {
    static const char* const names[kLabelTextStyles] = {"Normal",      "Raised Light", "Raised Heavy", "Inset Light",
                                                        "Inset Heavy", "Drop Shadow",  "Heavy",        "Backdrop"};
    return style >= 1 && style <= kLabelTextStyles ? QString::fromLatin1(names[style - 1]) : QString();
}

void paintStyledText(Canvas& c, int x, int y, const QString& text, int style, const StyledTextColors& colors) {
    KeepDrawingState keep(c);
    c.brush().setStyle(BrushStyle::bsClear);
    Font& f = c.font();
    const TColor own = f.color;
    auto out = [&](TColor color, int dx, int dy) {
        f.color = color;
        c.textOut(x + dx, y + dy, text);
    };
    switch (style) {
        case tsRaisedLight: out(colors.highlight, -1, -1); break;
        case tsRaisedHeavy:
            out(colors.highlight, -1, -1);
            out(colors.shadow, 1, 1);
            break;
        case tsInsetLight: out(colors.highlight, 1, 1); break;
        case tsInsetHeavy:
            out(colors.highlight, 1, 1);
            out(colors.shadow, -1, -1);
            break;
        case tsDropShadow: out(colors.shadow, colors.shadowOffset, colors.shadowOffset); break;
        case tsHeavy: out(own, 1, 1); break;
        case tsBackdrop: {
            const int cx = x + c.textWidth(text) / 2, cy = y + c.textHeight(text) / 2;
            const int size = f.size;
            f.size = static_cast<int>(std::nearbyint(size * kBackdropScale));  // halves to even
            out(colors.highlight, cx - c.textWidth(text) / 2 - x, cy - c.textHeight(text) / 2 - y);
            f.size = size;
            break;
        }
        default: break;  // Normal
    }
    out(own, 0, 0);
}

void paintLabelText(Canvas& c, Point at, const QString& caption, const Font& font, int style,
                    const StyledTextColors& colors) {
    if (caption.isEmpty()) return;
    const QStringList lines = caption.split(QLatin1Char('\n'));
    KeepDrawingState keep(c);
    c.font() = font;
    const int lineHeight = c.textHeight(QStringLiteral("Xj"));
    for (int k = 0; k < lines.size(); ++k) paintStyledText(c, at.x, at.y + k * lineHeight, lines[k], style, colors);
}

void paintExtrudedText(Canvas& c, Point at, const QString& caption, const Font& font) {
    KeepDrawingState keep(c);
    c.brush().setStyle(BrushStyle::bsClear);
    c.font() = font;
    c.font().color = kExtrudeColor;
    for (int n = kExtrudeDepth; n >= 1; --n) c.textOut(at.x - n, at.y - n, caption);
    c.font().color = font.color;
    c.textOut(at.x, at.y, caption);
}

void paintGadgetPicture(Canvas& c, Bitmap& picture, Point at) {
    picture.transparent = true;
    c.draw(at.x, at.y, picture);
}

}  // namespace pixoral
