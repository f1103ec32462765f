#pragma once
// Button gadgets painted into the workspace as drawn faces, the caption fit of "Autosize
// Text" and the mouse rule that moves and resizes a button. Plain functions and a plain
// struct: the button widgets only feed them.
#include <QString>
#include <optional>

#include "canvas/Canvas.h"
#include "canvas/Text.h"
#include "workspace/GadgetPaint.h"

namespace pixoral {

enum class ButtonFace { Rect, Oval, Rounded };

// The paint styles of the button popup, numbered as their items.
enum ButtonPaintStyle : int { psSilver = 1, psColored, psTransparent };
inline constexpr TColor kButtonFaceColor = clSilver;
// "Drop Shadow" on a button always falls this far.
inline constexpr int kButtonShadowOffset = 2;

// The button settings shared by the eight buttons.
struct ButtonStyle {
    int textStyle = tsNormal;  // 1..7
    TColor highlight = clWhite;
    TColor shadow = clGray;
    int paintStyle = psSilver;
    bool paintSave = false;
    bool border = true;
    bool select = false;
    TColor ovalHighlight = clWhite;  // upper-left arcs of oval and rounded faces
    TColor ovalShadow = clGray;      // lower-right arcs
    int ovalPenWidth = 1;            // 1..4
};

// Paints a button face for a button at `left`, `top` of `width` by `height`: the black outline
// (when `border`), the fill in `face` (when `filled`), the light and dark edges, and the caption
// centred in `font` with the style's text effect. Rect uses the button's size; Oval and
// Rounded one pixel more each way. Pen, brush and font of the canvas are kept.
void paintButtonFace(Canvas& c, ButtonFace kind, int left, int top, int width, int height, const QString& caption,
                     const Font& font, const ButtonStyle& style, TColor face, bool filled);

// The margin around a caption of "Autosize Button" (Autosize Text fits with canvas/Text.h).
inline constexpr int kButtonMargin = kFitMargin;

// Moving and resizing a button with the left mouse button. A press within the bottom-right
// corner resizes, anywhere else moves once the mouse moves. Coordinates are the button's own.
struct ButtonDrag {
    enum class State { Idle, MovePending, Moving, Resizing };
    enum class Cursor { Default, Sizing, Dragging };
    struct Box {
        int left = 0, top = 0, width = 0, height = 0;
    };
    static constexpr int kCorner = 10;  // the corner that resizes, from the right and bottom edges
    static constexpr int kMinWidth = 70;   // resizing follows x only from here
    static constexpr int kMinHeight = 20;  // and y only from here
    static constexpr int kLetGo = 2;       // a pointer this close to the left or top edge stops resizing

    State state = State::Idle;
    Point pressAt{0, 0};
    int widthOffset = 0, heightOffset = 0;

    Cursor press(int x, int y, const Box& box);
    // The box after the pointer moved to (x, y).
    Cursor move(int x, int y, Box& box);
    Cursor release();
};

}  // namespace pixoral
