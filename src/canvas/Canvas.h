#pragma once
// A canvas with classic GDI semantics over a Bitmap: exact, non-antialiased pixels.
// Right and bottom edges of figures are exclusive; every pixel a pen or brush writes goes
// through the pen mode; blits go through the copy mode (a ternary raster operation).
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "canvas/Color.h"
#include "canvas/Geometry.h"

namespace pixoral {

class Bitmap;

enum class PenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The sixteen R2 mixes, in the classic order of their names (not of the R2 codes).
enum class PenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum class BrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum class FillStyle { fsSurface, fsBorder };

const char* penStyleName(PenStyle s);    // "psSolid", ...
const char* penModeName(PenMode m);      // "pmCopy", ...
const char* brushStyleName(BrushStyle s);  // "bsSolid", ...
// Applies an R2 mix to 24-bit RGB values (pen P over destination D).
std::uint32_t applyPenMode(PenMode m, std::uint32_t pen, std::uint32_t dst);

// Copy modes are the classic 32-bit raster-operation codes; bits 16..23 are the truth
// table over pattern, source and destination, and every one of the 256 tables works.
using CopyMode = std::uint32_t;
constexpr CopyMode cmBlackness = 0x00000042;
constexpr CopyMode cmDstInvert = 0x00550009;
constexpr CopyMode cmMergeCopy = 0x00C000CA;
constexpr CopyMode cmMergePaint = 0x00BB0226;
constexpr CopyMode cmNotSrcCopy = 0x00330008;
constexpr CopyMode cmNotSrcErase = 0x001100A6;
constexpr CopyMode cmPatCopy = 0x00F00021;
constexpr CopyMode cmPatInvert = 0x005A0049;
constexpr CopyMode cmPatPaint = 0x00FB0A09;
constexpr CopyMode cmSrcAnd = 0x008800C6;
constexpr CopyMode cmSrcCopy = 0x00CC0020;
constexpr CopyMode cmSrcErase = 0x00440328;
constexpr CopyMode cmSrcInvert = 0x00660046;
constexpr CopyMode cmSrcPaint = 0x00EE0086;
constexpr CopyMode cmWhiteness = 0x00FF0062;
constexpr std::uint8_t ropTable(CopyMode m) { return static_cast<std::uint8_t>((m >> 16) & 0xFF); }
// Evaluates a ternary raster operation bitwise over 24-bit pattern, source, destination.
std::uint32_t applyRop3(std::uint8_t table, std::uint32_t pat, std::uint32_t src, std::uint32_t dst);

struct Pen {
    TColor color = clBlack;
    int width = 1;
    PenStyle style = PenStyle::psSolid;
    PenMode mode = PenMode::pmCopy;
};

class Brush {
public:
    TColor color() const { return color_; }
    // Setting the colour turns a clear brush solid (classic toolkit rule).
    void setColor(TColor c);
    BrushStyle style() const { return style_; }
    void setStyle(BrushStyle s);
    // An 8 by 8 pattern that replaces colour and style; null for none. Setting one
    // makes the brush a pattern brush; setting a style or colour does not remove it.
    const std::shared_ptr<const Bitmap>& bitmap() const { return bitmap_; }
    void setBitmap(std::shared_ptr<const Bitmap> pattern);
    // The brush colour at canvas pixel (x, y), or -1 where the brush leaves the pixel
    // alone (clear brush, hatch gaps). Hatches and patterns align to the canvas origin.
    TColor colorAt(int x, int y) const;
    bool isClear() const { return style_ == BrushStyle::bsClear && !bitmap_; }
    bool isSolid() const { return style_ == BrushStyle::bsSolid && !bitmap_; }

private:
    TColor color_ = clWhite;
    BrushStyle style_ = BrushStyle::bsSolid;
    std::shared_ptr<const Bitmap> bitmap_;
};

enum FontStyleFlag : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct Font {
    QString name = "Arial";
    int size = 24;  // points; height in pixels = -size * 96 / 72 (negative: character height)
    unsigned style = 0;  // FontStyleFlag bits
    TColor color = clBlack;
    int escapement = 0;  // tenths of a degree, counter-clockwise; 0 for plain text
    int height() const;  // pixels, as the classic toolkit reports it (negative)
    void setHeight(int pixels);
};

class Canvas {
public:
    explicit Canvas(Bitmap& owner);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Bitmap& bitmap() { return bmp_; }
    const Bitmap& bitmap() const { return bmp_; }

    Pen& pen() { return pen_; }
    const Pen& pen() const { return pen_; }
    Brush& brush() { return brush_; }
    const Brush& brush() const { return brush_; }
    Font& font() { return font_; }
    const Font& font() const { return font_; }
    CopyMode copyMode() const { return copyMode_; }
    void setCopyMode(CopyMode m) { copyMode_ = m; }
    Point penPos() const { return penPos_; }
    void setPenPos(Point p) { penPos_ = p; }

    // Lines: the end pixel is not drawn; PenPos moves to the end.
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void polyline(const std::vector<Point>& pts);  // styled pens carry their pattern on
    void polyBezier(const std::vector<Point>& pts);    // 3n+1 points
    void polyBezierTo(const std::vector<Point>& pts);  // 3n points, from PenPos

    // Figures: outline with the pen, interior with the brush, right/bottom exclusive.
    void rectangle(int x1, int y1, int x2, int y2);
    void roundRect(int x1, int y1, int x2, int y2, int ellipseW, int ellipseH);
    void ellipse(int x1, int y1, int x2, int y2);
    // Counter-clockwise from the radial point (x3, y3) to (x4, y4).
    void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void polygon(const std::vector<Point>& pts);  // alternate (even-odd) fill

    // Brush only, painted directly (no pen mode). fillRect fills an inverted rectangle as
    // its normalised form; frameRect draws nothing for one.
    void fillRect(const Rect& r);
    void frameRect(const Rect& r);
    // 4-connected scanline fill with the brush through the pen mode; never recursive, each
    // pixel painted once. On indexed formats `color` is compared as the palette entry it
    // would be stored as. A clear brush fills nothing.
    
    void floodFill(int x, int y, TColor color, FillStyle style);

    // -1 outside the bitmap; writing sets the colour directly.
    TColor pixel(int x, int y) const;
    void setPixel(int x, int y, TColor c);

    // Text with the font (the face name as the user knows it; canvas/Fonts.h tells how it is
    // drawn); the background is filled with the brush unless it is clear.
    // With a non-zero escapement the baseline turns counter-clockwise about the top-left
    // corner of the first character cell.
    void textOut(int x, int y, const QString& text);
    void textRect(const Rect& r, int x, int y, const QString& text);  // clipped to r
    // `text` turned `angle` degrees counter-clockwise about (x, y), the top-left of its first
    // cell, in a font made from `font` for the purpose: its size taken as the whole cell's
    // height, bold, italic and underline kept, never struck out. Only the glyphs are painted
    // (no background), in the font's colour. The canvas font, brush and pen position stay
    // as they were.
    void textRotate(int x, int y, const Font& font, const QString& text, int angle);
    int textWidth(const QString& text) const;
    int textHeight(const QString& text) const;

    // Blits through the copy mode, the pattern being this canvas's brush (hatches and
    // patterns aligned to this canvas's origin). Where the brush paints nothing (a clear
    // brush, hatch gaps) an operation that reads the pattern leaves the destination alone.
    // Stretching samples the nearest pixel: a destination pixel takes the source pixel under
    // its centre. A rectangle with left > right (or top > bottom) covers the same pixels as
    // its normalised form, mirrored. Destination pixels whose sample falls outside the source
    // bitmap are left alone. Source and destination may be the same bitmap and overlap.
    void copyRect(const Rect& dest, const Canvas& source, const Rect& sourceRect);
    void draw(int x, int y, const Bitmap& source);  // honours source.transparent
    void stretchDraw(const Rect& dest, const Bitmap& source);
    // Copy (stretched like copyRect, copy mode not used) in which source pixels of `color`
    // are replaced by this canvas's brush; where the brush paints nothing the destination shows.
    void brushCopy(const Rect& dest, const Bitmap& source, const Rect& sourceRect, TColor color);

private:
    Bitmap& bmp_;
    Pen pen_;
    Brush brush_;
    Font font_;
    CopyMode copyMode_ = cmSrcCopy;
    Point penPos_;
};

// The polyline polyBezier draws for a chain of cubic Beziers (3n + 1 points: a start, then two
// control points and an end for each curve; a partial curve at the end is left out), flattened
// as the classic device flattens them. Players of recorded drawings use it for curves in paths.
std::vector<Point> flattenBeziers(const std::vector<Point>& pts);

}  // namespace pixoral
