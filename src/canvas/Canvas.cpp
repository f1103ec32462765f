#include "canvas/Canvas.h"

#include <cmath>

#include "canvas/Bitmap.h"
#include "canvas/Raster.h"

namespace pixoral {

const char* penStyleName(PenStyle s) {
    switch (s) {
    case PenStyle::psSolid: return "psSolid";
    case PenStyle::psDash: return "psDash";
    case PenStyle::psDot: return "psDot";
    case PenStyle::psDashDot: return "psDashDot";
    case PenStyle::psDashDotDot: return "psDashDotDot";
    case PenStyle::psClear: return "psClear";
    case PenStyle::psInsideFrame: return "psInsideFrame";
    }
    return "psSolid";
}

const char* penModeName(PenMode m) {
    static const char* const names[] = {
        "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot",
        "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"};
    const auto i = static_cast<unsigned>(m);
    return i < 16 ? names[i] : "pmCopy";
}

const char* brushStyleName(BrushStyle s) {
    switch (s) {
    case BrushStyle::bsSolid: return "bsSolid";
    case BrushStyle::bsClear: return "bsClear";
    case BrushStyle::bsHorizontal: return "bsHorizontal";
    case BrushStyle::bsVertical: return "bsVertical";
    case BrushStyle::bsFDiagonal: return "bsFDiagonal";
    case BrushStyle::bsBDiagonal: return "bsBDiagonal";
    case BrushStyle::bsCross: return "bsCross";
    case BrushStyle::bsDiagCross: return "bsDiagCross";
    }
    return "bsSolid";
}

std::uint32_t applyPenMode(PenMode m, std::uint32_t pen, std::uint32_t dst) {
    return raster::mix(m, pen & 0xFFFFFFu, dst & 0xFFFFFFu);
}

std::uint32_t applyRop3(std::uint8_t table, std::uint32_t pat, std::uint32_t src, std::uint32_t dst) {
    // Bit (P << 2 | S << 1 | D) of the table is the result for that combination of input bits.
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((table >> i) & 1)) continue;
        r |= ((i & 4) ? pat : ~pat) & ((i & 2) ? src : ~src) & ((i & 1) ? dst : ~dst);
    }
    return r & 0xFFFFFFu;
}

void Brush::setColor(TColor c) {
    color_ = c;
    if (style_ == BrushStyle::bsClear) style_ = BrushStyle::bsSolid;
}

void Brush::setStyle(BrushStyle s) { style_ = s; }

void Brush::setBitmap(std::shared_ptr<const Bitmap> pattern) { bitmap_ = std::move(pattern); }

TColor Brush::colorAt(int x, int y) const {
    std::uint32_t c;
    std::uint8_t paints;
    if (!raster::brushRow(*this, y, x, 1, &c, &paints) || !paints) return -1;
    return raster::fromNative(c);
}

namespace {
// Rounds a * b / c to the nearest integer, halves away from zero (the classic MulDiv).
int mulDiv(int a, int b, int c) {
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}
}  // namespace

int Font::height() const { return -mulDiv(size, 96, 72); }

void Font::setHeight(int pixels) { size = -mulDiv(pixels, 72, 96); }

Canvas::Canvas(Bitmap& owner) : bmp_(owner) {}

}  // namespace pixoral
