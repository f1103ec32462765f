#pragma once
// Painting gadgets into the workspace image: styled captions (labels and buttons), extruded
// label text and the transparent gadget picture. Plain functions on a canvas; the gadget
// widgets only gather what they need. The canvas clips every figure to its bitmap, so a
// gadget standing partly or wholly outside the image paints the part inside and nothing else.
//
// The caller's drawing state survives: pen, brush and font of the canvas are the same after
// each of these calls as before, so painting a gadget never changes what the next stroke or
// script draws with.
#include <QString>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

namespace pixoral {

// The caption styles, numbered as the Text Style items of the gadget popups. Buttons offer
// the first seven; "Backdrop" belongs to labels only.
enum TextStyle : int {
    tsNormal = 1, tsRaisedLight, tsRaisedHeavy, tsInsetLight, tsInsetHeavy, tsDropShadow, tsHeavy, tsBackdrop
};
inline constexpr int kLabelTextStyles = 8;
inline constexpr int kButtonTextStyles = 7;
// The menu caption of a style ("Normal" ... "Backdrop"); style 1..8.
QString textStyleCaption(int style);

struct StyledTextColors {
    TColor highlight = clWhite;
    TColor shadow = clGray;
    int shadowOffset = 1;  // how far "Drop Shadow" falls right and down
};

// The Backdrop copy is this much larger than the text, centred on it.
inline constexpr double kBackdropScale = 1.3;

// Draws `text` with its top-left at (x, y) with a clear brush in the canvas font, in `style`:
// highlight and shadow copies one pixel up-left or down-right for the raised and inset
// styles, the shadow `shadowOffset` pixels down-right for "Drop Shadow", a second copy one
// pixel down-right for "Heavy", and for "Backdrop" a highlight copy at 1.3 times the size
// (rounded, halves to even) centred on the text's own centre. The text in the font's colour
// always comes last, on top.
void paintStyledText(Canvas& c, int x, int y, const QString& text, int style, const StyledTextColors& colors);

// A label's caption: each line (split at line breaks) styled at (at.x, at.y + k * h), with h
// the height of "Xj" in `font`.
void paintLabelText(Canvas& c, Point at, const QString& caption, const Font& font, int style,
                    const StyledTextColors& colors);

// The extrusion colour and depth of "Paint Extrude".
inline constexpr TColor kExtrudeColor = clSilver;
inline constexpr int kExtrudeDepth = 5;
// The caption in silver at (at - n, at - n) for n = 5 down to 1, then in the font's colour at
// `at`, with a clear brush.
void paintExtrudedText(Canvas& c, Point at, const QString& caption, const Font& font);

// Draws `picture` at `at` leaving out its transparent colour (the bottom-left pixel's unless
// the picture names one); the picture is marked transparent, as it then shows on screen.
void paintGadgetPicture(Canvas& c, Bitmap& picture, Point at);

// Saves and restores a canvas's pen, brush and font around a painting step.
class KeepDrawingState {
public:
    explicit KeepDrawingState(Canvas& c) : c_(c), pen_(c.pen()), brush_(c.brush()), font_(c.font()) {}
    ~KeepDrawingState() {
        c_.pen() = pen_;
        c_.brush() = brush_;
        c_.font() = font_;
    }
    KeepDrawingState(const KeepDrawingState&) = delete;
    KeepDrawingState& operator=(const KeepDrawingState&) = delete;

private:
    Canvas& c_;
    Pen pen_;
    Brush brush_;
    Font font_;
};

}  // namespace pixoral
