#include "workspace/WorkspaceControls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "canvas/Raster.h"

namespace pixoral {

QColor toQColor(TColor c) {
    const TColor v = colorToRGB(c);
    return QColor(getRValue(v), getGValue(v), getBValue(v));
}

namespace {

// Fills each row with the colour its text names.
class ColorDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
        const auto c = stringToColor(index.data().toString().toStdString());
        p->fillRect(opt.rect, c ? toQColor(*c) : opt.palette.base().color());
        if (opt.state & QStyle::State_Selected) {
            p->setPen(QPen(Qt::black, 1, Qt::DotLine));
            p->drawRect(opt.rect.adjusted(0, 0, -1, -1));
        }
    }
    QSize sizeHint(const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(opt, index).width(), ColorList::kItemHeight);
    }
};

}  // namespace

double zoomStep(double zoom, int steps) {
    const double rung = std::round(std::log2(std::clamp(zoom, kMinZoom, kMaxZoom))) + steps;
    return std::clamp(std::exp2(rung), kMinZoom, kMaxZoom);
}

QString zoomText(double zoom) { return QString::number(zoom * 100, 'g', 4) + QLatin1Char('%'); }

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize PaintBox::viewSize() const {
    const QSize image = imageSize();
    return QSize(int(std::ceil(image.width() * zoom_)), int(std::ceil(image.height() * zoom_)));
}

void PaintBox::setPicture(const Bitmap& source) {
    source_ = &source;
    if (size() != viewSize()) setFixedSize(viewSize());
    update();
}

void PaintBox::setZoom(double zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom == zoom_) return;
    zoom_ = zoom;
    setFixedSize(viewSize());
    update();
    emit zoomChanged(zoom_);
}

Point PaintBox::pixelAt(QPointF view) const {
    const QPointF p = toImage(view);
    return Point{clampCoord(std::int64_t(std::floor(p.x()))), clampCoord(std::int64_t(std::floor(p.y())))};
}

QRect PaintBox::toView(const QRect& imagePixels) const {
    const int l = int(std::floor(imagePixels.left() * zoom_)), t = int(std::floor(imagePixels.top() * zoom_));
    const int r = int(std::ceil((imagePixels.right() + 1) * zoom_)), b = int(std::ceil((imagePixels.bottom() + 1) * zoom_));
    return QRect(l, t, r - l, b - t);
}

MouseInput PaintBox::inputOf(const QMouseEvent* e) const {
    const Point p = pixelAt(e->position());
    return MouseInput{p.x, p.y, e->button(), e->modifiers()};
}

void PaintBox::updateRegion(const Bitmap& source, const std::vector<Rect>& parts) {
    if (source_ != &source || size() != viewSize()) {
        setPicture(source);
        return;
    }
    QRegion changed;
    for (const Rect& r : parts) {
        // One widget pixel more on each side: at a fractional display scale the device
        // pixels along the edge may belong to either side.
        changed += toView(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top)).adjusted(-1, -1, 1, 1);
    }
    update(changed);
}

void PaintBox::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    if (!source_) return;
    if (zoom_ == 1.0 && devicePixelRatioF() == 1.0) {
        const QRect r = e->rect() & QRect(QPoint(0, 0), imageSize());
        if (r.isEmpty()) return;
        // A 32-bit workspace is drawn straight from its pixels; others convert only these rows.
        if (source_->pixelFormat() == PixelFormat::Device) p.drawImage(r.topLeft(), source_->store(), r);
        else p.drawImage(r.topLeft(), rendered(r));
        return;
    }
    paintScaled(p, e->rect());
}

QImage PaintBox::rendered(const QRect& area) const {
    const QRect r = area & QRect(QPoint(0, 0), imageSize());
    if (r.isEmpty()) return QImage();
    if (source_->pixelFormat() == PixelFormat::Device) return source_->store().copy(r);
    QImage rows(r.size(), QImage::Format_RGB32);
    if (rows.isNull()) return rows;
    for (int y = 0; y < r.height(); ++y) {
        auto* d = reinterpret_cast<std::uint32_t*>(rows.scanLine(y));
        raster::fetchRow(source_->store().constScanLine(r.top() + y), source_->pixelFormat(), r.left(), r.width(), d);
        for (int x = 0; x < r.width(); ++x) d[x] |= 0xFF000000u;
    }
    return rows;
}

namespace {

// Half way to mid grey: light on dark pixels' neighbours, dark on light ones, seen on both.
std::uint32_t gridOver(std::uint32_t c) { return ((c >> 1) & 0x7F7F7F) + 0xFF404040u; }

}  // namespace

// Device pixel d shows the image pixel under its centre, floor((d + 0.5) / s), with s the
// device pixels per image pixel; a grid line takes the first device pixel of each image pixel.
void PaintBox::paintScaled(QPainter& p, const QRect& exposed) {
    const double dpr = devicePixelRatioF();
    const double s = zoom_ * dpr;
    const int dl = int(std::floor(exposed.left() * dpr)), dt = int(std::floor(exposed.top() * dpr));
    const int dr = int(std::ceil((exposed.right() + 1) * dpr)), db = int(std::ceil((exposed.bottom() + 1) * dpr));
    if (dr <= dl || db <= dt) return;
    QImage part(dr - dl, db - dt, QImage::Format_RGB32);
    if (part.isNull()) return;
    const int width = source_->width(), height = source_->height();
    const auto sourceOf = [s](int d, int size) {
        const int i = int(std::floor((d + 0.5) / s));
        return i >= 0 && i < size ? i : -1;
    };
    const bool grid = zoom_ >= kGridZoom;
    // Index -1 is the device pixel just before the exposed part, so a boundary at its left
    // edge is seen too.
    std::vector<int> cols(std::size_t(part.width()) + 1);
    for (int i = 0; i <= part.width(); ++i) cols[std::size_t(i)] = sourceOf(dl + i - 1, width);
    // A row of a bitmap that is not 32 bits is converted once for all the device rows it covers.
    const bool device = source_->pixelFormat() == PixelFormat::Device;
    std::vector<std::uint32_t> converted(device ? 0 : std::size_t(width));
    int convertedRow = -1;
    const auto pixelsOf = [&](int row) -> const std::uint32_t* {
        const std::uint8_t* line = source_->store().constScanLine(row);
        if (device) return reinterpret_cast<const std::uint32_t*>(line);
        if (row != convertedRow) {
            raster::fetchRow(line, source_->pixelFormat(), 0, width, converted.data());
            convertedRow = row;
        }
        return converted.data();
    };
    const std::uint32_t background = palette().window().color().rgb();
    int prevRow = sourceOf(dt - 1, height);
    for (int j = 0; j < part.height(); ++j) {
        const int row = sourceOf(dt + j, height);
        auto* out = reinterpret_cast<std::uint32_t*>(part.scanLine(j));
        if (row < 0) {
            std::fill(out, out + part.width(), background);
        } else {
            const std::uint32_t* in = pixelsOf(row);
            const bool rowLine = grid && row != prevRow;
            for (int i = 0; i < part.width(); ++i) {
                const int col = cols[std::size_t(i) + 1];
                if (col < 0) {
                    out[i] = background;
                    continue;
                }
                const bool line = rowLine || (grid && col != cols[std::size_t(i)]);
                out[i] = line ? gridOver(in[col]) : (in[col] | 0xFF000000u);
            }
        }
        prevRow = row;
    }
    // The painter's own scale is undone, so the part lands 1:1 on device pixels.
    p.setTransform(QTransform::fromScale(1 / dpr, 1 / dpr));
    p.drawImage(QPoint(dl, dt), part);
}

void PaintBox::mousePressEvent(QMouseEvent* e) {
    if (onMouseDown) onMouseDown(inputOf(e));
}
void PaintBox::mouseMoveEvent(QMouseEvent* e) {
    if (onMouseMove) onMouseMove(inputOf(e));
}
void PaintBox::mouseReleaseEvent(QMouseEvent* e) {
    if (onMouseUp) onMouseUp(inputOf(e));
}

ScrollBox::ScrollBox(PaintBox* picture, QWidget* parent) : QScrollArea(parent), picture_(picture) {
    setWidget(picture);
}

void ScrollBox::zoomAbout(double zoom, QPoint viewportPoint) {
    const QPointF fixed = picture_->toImage(QPointF(viewportPoint - picture_->pos()));
    picture_->setZoom(zoom);
    // The scroll bars have taken the new size; scroll so the point is back where it was.
    const QPointF now = picture_->toView(fixed);
    horizontalScrollBar()->setValue(int(std::lround(now.x() - viewportPoint.x())));
    verticalScrollBar()->setValue(int(std::lround(now.y() - viewportPoint.y())));
}

void ScrollBox::zoomBy(int steps) { zoomAbout(zoomStep(picture_->zoom(), steps), viewport()->rect().center()); }

void ScrollBox::wheelEvent(QWheelEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) {
        QScrollArea::wheelEvent(e);
        return;
    }
    e->accept();
    wheelAngle_ += e->angleDelta().y();
    const int steps = wheelAngle_ / QWheelEvent::DefaultDeltasPerStep;
    wheelAngle_ -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps == 0) return;
    // The wheel reaches the scroll box through its viewport, in the viewport's coordinates.
    zoomAbout(zoomStep(picture_->zoom(), steps), e->position().toPoint());
}

ColorList::ColorList(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new ColorDelegate(this));
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
}

std::optional<TColor> ColorList::colorAt(int row) const {
    const QListWidgetItem* it = item(row);
    if (!it) return std::nullopt;
    return stringToColor(it->text().toStdString());
}

void ColorList::mouseReleaseEvent(QMouseEvent* e) {
    QListWidget::mouseReleaseEvent(e);
    const QModelIndex at = indexAt(e->position().toPoint());
    // The selected item, not merely the current one: a list with no selection has no colour.
    const QList<QListWidgetItem*> selected = selectedItems();
    int row = selected.isEmpty() ? -1 : this->row(selected.front());
    if (e->button() == Qt::RightButton && at.isValid()) {
        row = at.row();
        setCurrentRow(row);
    }
    if (onMouseUp) onMouseUp(row, e->button(), e->modifiers());
}

ShapeFlag::ShapeFlag(QWidget* parent) : QWidget(parent) {}

void ShapeFlag::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    Qt::BrushStyle style = Qt::SolidPattern;
    switch (brushStyle) {
    case BrushStyle::bsSolid: style = Qt::SolidPattern; break;
    case BrushStyle::bsClear: style = Qt::NoBrush; break;
    case BrushStyle::bsHorizontal: style = Qt::HorPattern; break;
    case BrushStyle::bsVertical: style = Qt::VerPattern; break;
    case BrushStyle::bsFDiagonal: style = Qt::FDiagPattern; break;
    case BrushStyle::bsBDiagonal: style = Qt::BDiagPattern; break;
    case BrushStyle::bsCross: style = Qt::CrossPattern; break;
    case BrushStyle::bsDiagCross: style = Qt::DiagCrossPattern; break;
    }
    p.setBrush(QBrush(toQColor(brushColor), style));
    p.setPen(QPen(toQColor(penColor), 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}

void ShapeFlag::mousePressEvent(QMouseEvent* e) { shiftAtPress_ = e->modifiers() & Qt::ShiftModifier; }

void ShapeFlag::mouseReleaseEvent(QMouseEvent* e) {
    if (rect().contains(e->position().toPoint()) && onClick) onClick(shiftAtPress_);
}

}  // namespace pixoral
