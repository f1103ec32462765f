// Text: Qt lays out and rasterises the glyphs without antialiasing into a mask, and the mask
// is composited through Raster, so text edges are as crisp as every other figure.
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTransform>
#include <QtGlobal>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Fonts.h"
#include "canvas/Raster.h"
#include "canvas/Text.h"

namespace pixoral {

namespace {

// Far beyond any useful size, small enough that the font engine stays well-behaved.
constexpr int kMaxPixelSize = 16384;

bool fontsAvailable() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
    static bool warned = false;
    if (!warned) qWarning("Canvas text needs a QGuiApplication; no text is drawn");
    warned = true;
    return false;
}

// A negative height is the character height (the pixel size); a positive one the height of
// the whole cell, so the glyphs are scaled down until the cell fits it.
QFont toQFont(const Font& f) {
    QFont q(screenFace(f.name));
    const long long px = std::clamp<long long>(std::llabs(static_cast<long long>(f.height())), 1, kMaxPixelSize);
    q.setPixelSize(static_cast<int>(px));
    q.setBold((f.style & fsBold) != 0);
    q.setItalic((f.style & fsItalic) != 0);
    q.setUnderline((f.style & fsUnderline) != 0);
    q.setStrikeOut((f.style & fsStrikeOut) != 0);
    q.setStyleStrategy(QFont::NoAntialias);
    if (f.height() > 0) {
        const int cell = QFontMetrics(q).height();
        if (cell > px) q.setPixelSize(static_cast<int>(std::max<long long>(1, (px * px + cell / 2) / cell)));
    }
    return q;
}

enum : std::uint8_t { kNothing = 0, kBackground = 1, kInk = 2 };

// Renders `text` with its cell's top-left at (x, y), turned counter-clockwise by the font's
// escapement about that corner, and paints it. With `clip`, only that rectangle is touched
// and, when the brush is not clear, all of it is filled as the background; otherwise the
// background is the (turned) text cell.
void paintText(Bitmap& bmp, const Font& font, const Brush& brush, int x, int y, const QString& shownText, const QRect* clip) {
    if (bmp.isEmpty() || !fontsAvailable()) return;
    const QString text = screenText(font.name, shownText);
    const QRect bitmapRect(0, 0, bmp.width(), bmp.height());
    const QFont qf = toQFont(font);
    const QFontMetrics fm(qf);
    const int cellW = fm.horizontalAdvance(text);
    const int cellH = fm.height();
    QTransform turn;
    turn.translate(x, y);
    turn.rotate(-font.escapement / 10.0);  // Qt turns clockwise on a y-down screen

    // Glyphs may overhang their cell (italics, accents), so the ink bounds count too.
    const QRectF cell(0, 0, cellW, cellH);
    const QRectF ink = QRectF(fm.boundingRect(text)).translated(0, fm.ascent()).adjusted(-2, -2, 2, 2);
    const QRectF textArea = turn.mapRect(cell.united(ink));

    QRect box;
    if (clip) {
        box = clip->normalized() & bitmapRect;
    } else {
        // Clip in floating point first: far-away text must not overflow integer rectangles.
        const QRectF visible = textArea.intersected(QRectF(bitmapRect).adjusted(-1, -1, 1, 1));
        box = visible.toAlignedRect() & bitmapRect;
    }
    if (box.isEmpty()) return;
    const bool opaque = !brush.isClear();
    const bool textVisible = textArea.intersects(QRectF(box));
    if (!opaque && !textVisible) return;

    // Background in blue, ink in red; antialiasing off, so every pixel is all or nothing.
    QImage mask(box.size(), QImage::Format_RGB32);
    mask.fill(clip && opaque ? QColor(0, 0, 255) : QColor(0, 0, 0));
    if (textVisible || (opaque && !clip)) {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.translate(-box.left(), -box.top());
        p.setTransform(turn, true);
        if (opaque && !clip) p.fillRect(cell, QColor(0, 0, 255));
        if (textVisible) {
            p.setFont(qf);
            p.setPen(QColor(255, 0, 0));
            p.drawText(QPointF(0, fm.ascent()), text);
        }
    }

    for (int my = 0; my < mask.height(); ++my) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(my));
        const int by = box.top() + my;
        int runStart = 0;
        std::uint8_t runKind = kNothing;
        auto flush = [&](int end) {
            if (runKind == kInk) raster::penSpan(bmp, by, box.left() + runStart, box.left() + end, font.color, PenMode::pmCopy);
            else if (runKind == kBackground)
                raster::brushSpan(bmp, by, box.left() + runStart, box.left() + end, brush, PenMode::pmCopy);
        };
        for (int mx = 0; mx < mask.width(); ++mx) {
            const QRgb v = row[mx];
            const std::uint8_t kind = qRed(v) > 127 ? kInk : (qBlue(v) > 127 ? kBackground : kNothing);
            if (kind != runKind) {
                flush(mx);
                runStart = mx;
                runKind = kind;
            }
        }
        flush(mask.width());
    }
}

}  // namespace

void Canvas::textOut(int x, int y, const QString& text) {
    if (!text.isEmpty()) paintText(bmp_, font_, brush_, x, y, text, nullptr);
    // The pen moves past the text, as the classic canvas does.
    penPos_ = {static_cast<int>(std::clamp<long long>(static_cast<long long>(x) + textWidth(text), INT_MIN, INT_MAX)), y};
}

void Canvas::textRect(const Rect& r, int x, int y, const QString& text) {
    // Normalise and clip in 64 bits: the rectangle may be anywhere in the int range.
    const long long l = std::max<long long>(std::min(r.left, r.right), 0);
    const long long t = std::max<long long>(std::min(r.top, r.bottom), 0);
    const long long rr = std::min<long long>(std::max(r.left, r.right), bmp_.width());
    const long long b = std::min<long long>(std::max(r.top, r.bottom), bmp_.height());
    if (l >= rr || t >= b) return;
    const QRect clip(int(l), int(t), int(rr - l), int(b - t));
    paintText(bmp_, font_, brush_, x, y, text, &clip);
}

int Canvas::textWidth(const QString& text) const {
    if (text.isEmpty() || !fontsAvailable()) return 0;
    return QFontMetrics(toQFont(font_)).horizontalAdvance(screenText(font_.name, text));
}

int Canvas::textHeight(const QString& text) const {
    if (!fontsAvailable()) return 0;
    Q_UNUSED(text);
    return QFontMetrics(toQFont(font_)).height();
}

void Canvas::textRotate(int x, int y, const Font& font, const QString& text, int angle) {
    const Font savedFont = font_;
    const Brush savedBrush = brush_;
    const Point savedPos = penPos_;
    Font turned;
    turned.name = font.name;
    turned.setHeight(std::abs(font.height()));
    turned.style = font.style & (fsBold | fsItalic | fsUnderline);
    turned.color = font.color;
    // Whole turns are the same turn; tenths of a degree must stay within int.
    turned.escapement = (angle % 360) * 10;
    font_ = turned;
    brush_ = Brush();
    brush_.setStyle(BrushStyle::bsClear);
    textOut(x, y, text);
    brush_ = savedBrush;
    font_ = savedFont;
    penPos_ = savedPos;
}

std::optional<TextFit> fitTextSize(Canvas& canvas, const Font& font, const QString& caption, int width, int height) {
    const Font saved = canvas.font();
    Font trial = font;
    trial.escapement = 0;
    TextFit fit;
    for (fit.size = kFitLargest; fit.size > kFitSmallest; --fit.size) {
        trial.size = fit.size;
        canvas.font() = trial;
        fit.height = canvas.textHeight(caption);
        fit.width = canvas.textWidth(caption);
        // Widened: a button may be any size a script or a file gave it.
        if (fit.height < static_cast<long long>(height) - kFitMargin && fit.width < static_cast<long long>(width) - kFitMargin)
            break;
    }
    canvas.font() = saved;
    if (fit.size <= kFitSmallest) return std::nullopt;
    return fit;
}

}  // namespace pixoral
