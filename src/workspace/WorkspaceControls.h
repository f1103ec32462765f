#pragma once
// The small controls of the main window: the workspace picture, the colour list and the
// colour indicator.
#include <QImage>
#include <QListWidget>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Color.h"
#include "canvas/Geometry.h"
#include "workspace/Tools.h"

namespace pixoral {

// Shows the workspace bitmap at its own size and reports the mouse. Painting reads the
// bitmap's own pixels (converting only the rows on screen when it is not 32 bits), so showing
// a picture never costs a copy of it, and the workspace never has to copy itself away from a
// picture still held for the screen when it is drawn on.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);
    // `source` must outlive the box or be replaced first (the main window's workspace does).
    void setPicture(const Bitmap& source);
    // Shows again only these parts of the bitmap (clipped rectangles of it); a bitmap of
    // another size is shown whole.
    void updateRegion(const Bitmap& source, const std::vector<Rect>& parts);
    QSize sizeHint() const override { return source_ ? QSize(source_->width(), source_->height()) : QSize(); }
    // The picture as the screen shows it, whole.
    QImage picture() const { return rendered(QRect(QPoint(0, 0), sizeHint())); }

    std::function<void(const MouseInput&)> onMouseDown, onMouseMove, onMouseUp;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    // The part `r` of the bitmap as 32-bit pixels for the screen (empty outside it).
    QImage rendered(const QRect& r) const;

    const Bitmap* source_ = nullptr;
};

// The owner-drawn list of colour strings; each row is painted in its colour.
class ColorList : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 12;
    explicit ColorList(QWidget* parent = nullptr);
    // The colour of a row, or nothing for a row that is not a colour.
    std::optional<TColor> colorAt(int row) const;

    std::function<void(int row, Qt::MouseButton, Qt::KeyboardModifiers)> onMouseUp;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// The square showing the line colour (outline, pen width 2) and the fill colour.
class ShapeFlag : public QWidget {
    Q_OBJECT
public:
    explicit ShapeFlag(QWidget* parent = nullptr);
    TColor penColor = 0x000000;
    TColor brushColor = 0xFFFFFF;
    BrushStyle brushStyle = BrushStyle::bsSolid;  // follows the brush-style menu
    std::function<void(bool shift)> onClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool shiftAtPress_ = false;
};

QColor toQColor(TColor c);

}  // namespace pixoral
