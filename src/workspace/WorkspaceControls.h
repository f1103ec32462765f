#pragma once
// The small controls of the main window: the workspace picture and its scroll box, the colour
// list and the colour indicator.
#include <QImage>
#include <QListWidget>
#include <QPointF>
#include <QRect>
#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Color.h"
#include "canvas/Geometry.h"
#include "workspace/Tools.h"

class QPainter;

namespace pixoral {

// The view scales of the workspace: powers of two from 1/8 to 32. From kGridZoom on, a grid
// between the image pixels shows where one ends and the next begins.
inline constexpr double kMinZoom = 0.125;
inline constexpr double kMaxZoom = 32.0;
inline constexpr double kGridZoom = 8.0;
// The scale `steps` rungs above (below, when negative) `zoom`, kept within the ladder.
double zoomStep(double zoom, int steps);
// The scale as the status bar shows it: "400%", "12.5%".
QString zoomText(double zoom);

// Shows the workspace bitmap, scaled by the view zoom, and reports the mouse in image
// pixels. This is the one place where widget and image coordinates meet: the tools, the
// batch runner and every widget placed over the picture go through toImage() / toView().
// Image pixels are drawn with nearest sampling straight into device pixels, so they stay
// crisp at any zoom and any display scale. Painting reads the bitmap's own pixels
// (converting only what is on screen when it is not 32 bits), so showing a picture never
// costs a copy of it, and the workspace never has to copy itself away from a picture still
// held for the screen when it is drawn on. The bitmap must outlive the widget's use of it.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);
    // `source` must outlive the box or be replaced first (the main window's workspace does).
    void setPicture(const Bitmap& source);
    // Shows again only these parts of the bitmap (clipped rectangles of it); a bitmap of
    // another size is shown whole.
    void updateRegion(const Bitmap& source, const std::vector<Rect>& parts);
    // The picture as the screen shows it at its own size, whole.
    QImage picture() const { return rendered(QRect(QPoint(0, 0), imageSize())); }
    QSize sizeHint() const override { return viewSize(); }

    // Logical widget pixels per image pixel.
    double zoom() const { return zoom_; }
    // Clamped to the ladder's ends; the widget takes the picture's scaled size.
    void setZoom(double zoom);
    // A widget point in image coordinates (continuous: pixel (x, y) covers [x, x+1)).
    QPointF toImage(QPointF view) const { return view / zoom_; }
    // The image pixel under a widget point, also outside the picture.
    Point pixelAt(QPointF view) const;
    // An image point on the widget, and the part of the widget that shows a rectangle of
    // image pixels (rounded outwards).
    QPointF toView(QPointF image) const { return image * zoom_; }
    QRect toView(const QRect& imagePixels) const;

    std::function<void(const MouseInput&)> onMouseDown, onMouseMove, onMouseUp;

signals:
    // The zoom changed: widgets placed over the picture move with it.
    void zoomChanged(double zoom);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QSize imageSize() const { return source_ ? QSize(source_->width(), source_->height()) : QSize(); }
    QSize viewSize() const;
    // The part `r` of the bitmap as 32-bit pixels for the screen (empty outside it).
    QImage rendered(const QRect& r) const;
    MouseInput inputOf(const QMouseEvent* e) const;
    void paintScaled(QPainter& p, const QRect& exposed);

    const Bitmap* source_ = nullptr;
    double zoom_ = 1.0;
};

// The scroll box around the picture. Ctrl+wheel zooms about the pointer: the image point
// under it stays under it.
class ScrollBox : public QScrollArea {
    Q_OBJECT
public:
    ScrollBox(PaintBox* picture, QWidget* parent = nullptr);
    PaintBox* picture() const { return picture_; }
    // Zooms keeping the image point at `viewportPoint` (a point of the viewport) in place.
    void zoomAbout(double zoom, QPoint viewportPoint);
    // `steps` rungs up or down the ladder, about the middle of the viewport.
    void zoomBy(int steps);

protected:
    void wheelEvent(QWheelEvent* e) override;

private:
    PaintBox* picture_;
    int wheelAngle_ = 0;  // part of a wheel notch (fine-grained wheels, touchpads)
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
