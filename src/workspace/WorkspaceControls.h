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

// Shows the workspace bitmap at its own size and reports the mouse.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);
    // Shows the bitmap. Its screen pixels are made when they are painted (or asked for), so
    // a window repainted after every command but never looked at (a batch run) pays nothing.
    void setPicture(const Bitmap& picture);
    // Shows again only these parts of the bitmap (clipped rectangles of it); a bitmap of
    // another size replaces the picture.
    void updateRegion(const Bitmap& source, const std::vector<Rect>& parts);
    const QImage& picture() const;
    QSize sizeHint() const override { return size_; }

    std::function<void(const MouseInput&)> onMouseDown, onMouseMove, onMouseUp;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    mutable QImage image_;
    mutable Bitmap pending_;  // shown next, not made into screen pixels yet
    mutable bool stale_ = false;
    QSize size_;
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
