#pragma once
// Quick Button: a bevelled button picture. Edges of e nested one-pixel outlines, each side in
// a colour of its own; a face of one colour or a backdrop picture stretched over the whole
// button; a centred caption, optionally with a shadow or a raised or inset look.
//
// Every outline lies inside the picture, and the face fills exactly what the outlines leave,
// so each side of the bevel is e pixels wide and no pixel of an earlier button shows through.
// The picture starts white on every drawing: the result depends on the design alone.
#include <QString>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Geometry.h"

namespace pixoral::generators {

// A control's range and its value at start.
struct ButtonRange {
    int lo, hi, initial;
};
inline constexpr ButtonRange kButtonWidthRange{25, 400, 250};
inline constexpr ButtonRange kButtonHeightRange{25, 250, 250};
inline constexpr ButtonRange kButtonEdgeRange{1, 30, 5};
inline constexpr ButtonRange kButtonFontSizeRange{8, 36, 14};
inline constexpr ButtonRange kButtonShadowRange{-20, 20, 4};

// The colour grids' first picks, as indexes of the sixteen standard colours.
inline constexpr int kButtonTopColorIndex = 7;      // silver
inline constexpr int kButtonRightColorIndex = 8;    // grey
inline constexpr int kButtonBottomColorIndex = 0;   // black
inline constexpr int kButtonLeftColorIndex = 15;    // white
inline constexpr int kButtonFaceColorIndex = 14;    // aqua
inline constexpr int kButtonFontColorIndex = 0;     // black
inline constexpr int kButtonShadowColorIndex = 7;   // silver

inline const QString kButtonSampleCaption = QStringLiteral("Pixoral");
inline const QString kButtonFontName = QStringLiteral("Arial");

// The "style options" items, in their order.
enum class CaptionStyle { Shadow = 0, Raised = 1, Inset = 2 };

struct ButtonDesign {
    int width = kButtonWidthRange.initial;
    int height = kButtonHeightRange.initial;
    int edge = kButtonEdgeRange.initial;
    TColor topColor = clSilver;
    TColor rightColor = clGray;
    TColor bottomColor = clBlack;
    TColor leftColor = clWhite;
    TColor faceColor = clAqua;
    TColor shadowColor = clSilver;
    QString caption = kButtonSampleCaption;
    // Name, size, style bits and the caption colour.
    Font font{kButtonFontName, kButtonFontSizeRange.initial, 0, clBlack, 0};
    int shadowDx = kButtonShadowRange.initial;
    int shadowDy = kButtonShadowRange.initial;
    bool styled = false;  // draw the caption effect
    CaptionStyle style = CaptionStyle::Shadow;
    bool useBackdrop = false;   // the backdrop stretched over the button instead of the face colour
    bool notXorEdges = false;   // edges mixed with what lies under them (not-xor)
};

// One drawing of the caption: its colour and the top-left of its text cell.
struct CaptionPass {
    TColor color;
    Point at;
    friend bool operator==(const CaptionPass&, const CaptionPass&) = default;
};

// The caption's drawings in order for a caption whose cell starts at `at`: the effect first
// when the design is styled (Shadow: the shadow colour moved by dx, dy; Raised: white up-left
// and black down-right of it; Inset: the other way round), then the caption in its own colour.
std::vector<CaptionPass> captionPasses(const ButtonDesign& d, Point at);

// Draws the button into `picture`, which becomes d.width by d.height (device format, white
// before the drawing). The edges take k = 0 .. e - 1 outlines of (k, k)-(W-1-k, H-1-k), top,
// right, bottom and left in turn, each pixel once, so the not-xor mix touches it once; an
// outline squeezed to a line or a point is drawn in the top colour (left where only a column
// remains). The face fills (e, e)-(W-e, H-e) unless the edges meet; with useBackdrop the
// backdrop is stretched over (0, 0)-(W, H) instead, and an empty backdrop draws no face.
// A size the program cannot hold is refused: false, the picture untouched, the reason in
// *error.
bool drawButton(Bitmap& picture, const ButtonDesign& d, const Bitmap& backdrop, QString* error);

}  // namespace pixoral::generators
