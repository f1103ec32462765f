#include "workspace/ButtonFaces.h"

namespace pixoral {

namespace {

void caption(Canvas& c, int left, int top, int w, int h, const QString& text, const ButtonStyle& style) {
    const int tw = c.textWidth(text), th = c.textHeight(text);
    c.brush().setStyle(BrushStyle::bsClear);
    paintStyledText(c, left + (w - tw) / 2, top + (h - th) / 2, text, style.textStyle,
                    StyledTextColors{style.highlight, style.shadow, kButtonShadowOffset});
}

void line(Canvas& c, int x1, int y1, int x2, int y2) {
    c.moveTo(x1, y1);
    c.lineTo(x2, y2);
}

void rectFace(Canvas& c, int L, int T, int w, int h, const ButtonStyle& style, TColor face, bool filled) {
    c.pen().color = clBlack;
    c.brush().setStyle(BrushStyle::bsClear);
    if (style.border) c.rectangle(L, T, L + w, T + h);
    if (filled) {
        c.brush().setColor(face);
        c.brush().setStyle(BrushStyle::bsSolid);
        c.fillRect(Rect{L + 1, T + 1, L + w, T + h});
    }
    c.pen().color = clWhite;
    line(c, L + 1, T + h - 1, L + 1, T + 1);
    c.lineTo(L + w - 1, T + 1);
    c.pen().color = clBlack;
    c.pen().width = 2;
    line(c, L + w - 1, T + 1, L + w - 1, T + h - 1);
    c.lineTo(L + 2, T + h - 1);
    c.pen().width = 1;
}

void ovalFace(Canvas& c, int L, int T, int w, int h, const ButtonStyle& style, TColor face, bool filled) {
    c.brush().setColor(face);
    c.brush().setStyle(filled ? BrushStyle::bsSolid : BrushStyle::bsClear);
    c.pen().color = clBlack;
    if (style.border) c.ellipse(L, T, L + w - 1, T + h - 1);
    const int x1 = L + w / 5, x4 = L + 4 * (w / 5), y1 = T + h / 5, y4 = T + 4 * (h / 5);
    c.pen().color = style.ovalHighlight;
    c.pen().width = style.ovalPenWidth;
    c.arc(L + 1, T + 1, L + w - 2, T + h - 2, x4, y1, x1, y4);
    c.pen().color = style.ovalShadow;
    c.arc(L + 1, T + 1, L + w - 2, T + h - 2, x1, y4, x4, y1);
}

void roundedFace(Canvas& c, int L, int T, int w, int h, const ButtonStyle& style, TColor face, bool filled) {
    const int r = (h - 2) / 2;
    c.pen().color = clBlack;
    c.brush().setColor(face);
    c.brush().setStyle(filled ? BrushStyle::bsSolid : BrushStyle::bsClear);
    if (style.border) c.roundRect(L, T, L + w - 1, T + h - 1, h, h);
    if (filled) {
        c.pen().color = face;
        c.pen().style = PenStyle::psClear;
        c.roundRect(L + 1, T + 1, L + w - 1, T + h - 2, h - 2, h - 2);
        c.pen().style = PenStyle::psSolid;
    }
    c.pen().color = style.ovalHighlight;
    c.pen().width = style.ovalPenWidth;
    c.arc(L + 1, T + 1, L + h - 2, T + h - 2, L + r, T + 1, L + r, T + h - 2);
    line(c, L + r, T + 1, L + w - r, T + 1);
    c.pen().color = style.ovalShadow;
    c.arc(L + w - h, T + 1, L + w - 2, T + h - 2, L + w - r, T + h - 2, L + w - r, T + 1);
    line(c, L + w - r, T + h - 3, L + r, T + h - 3);
}

}  // namespace

void paintButtonFace(Canvas& c, ButtonFace kind, int left, int top, int width, int height, const QString& text,
                     const Font& font, const ButtonStyle& style, TColor face, bool filled) {
    KeepDrawingState keep(c);
    // A face is drawn with plain pens whatever the user's pen looked like.
    c.pen() = Pen{};
    c.font() = font;
    // Oval and rounded faces take one pixel more each way, as their outlines end one short.
    const int grow = kind == ButtonFace::Rect ? 0 : 1;
    const int w = width + grow, h = height + grow;
    switch (kind) {
        case ButtonFace::Rect: rectFace(c, left, top, w, h, style, face, filled); break;
        case ButtonFace::Oval: ovalFace(c, left, top, w, h, style, face, filled); break;
        case ButtonFace::Rounded: roundedFace(c, left, top, w, h, style, face, filled); break;
    }
    caption(c, left, top, w, h, text, style);
}

ButtonDrag::Cursor ButtonDrag::press(int x, int y, const Box& box) {
    pressAt = Point{x, y};
    widthOffset = box.width - x;
    heightOffset = box.height - y;
    if (x >= box.width - kCorner && y >= box.height - kCorner) {
        state = State::Resizing;
        return Cursor::Sizing;
    }
    state = State::MovePending;
    return Cursor::Default;
}

ButtonDrag::Cursor ButtonDrag::move(int x, int y, Box& box) {
    switch (state) {
        case State::Idle: return Cursor::Default;
        case State::Resizing:
            if (x < kLetGo || y < kLetGo) {
                state = State::Idle;
                return Cursor::Default;
            }
            if (x >= kMinWidth) box.width = x + widthOffset;
            if (y >= kMinHeight) box.height = y + heightOffset;
            return Cursor::Sizing;
        case State::MovePending: state = State::Moving; [[fallthrough]];
        case State::Moving:
            box.top += y - pressAt.y;
            box.left += x - pressAt.x;
            return Cursor::Dragging;
    }
    return Cursor::Default;
}

ButtonDrag::Cursor ButtonDrag::release() {
    state = State::Idle;
    return Cursor::Default;
}

}  // namespace pixoral
