#include "workspace/WorkspaceControls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QStyledItemDelegate>
#include <cstring>

#include "canvas/Raster.h"

namespace pixoral {

QColor toQColor(TColor c) {
    const TColor v = colorToRGB(c);
    return QColor(getRValue(v), getGValue(v), getBValue(v));
}

namespace {

MouseInput inputOf(const QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    return MouseInput{p.x(), p.y(), e->button(), e->modifiers()};
}

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

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::setPicture(const Bitmap& picture) {
    pending_ = picture;
    stale_ = true;
    size_ = QSize(picture.width(), picture.height());
    if (size() != size_) setFixedSize(size_);
    update();
}

const QImage& PaintBox::picture() const {
    if (stale_) {
        image_ = pending_.toImage();
        pending_ = Bitmap();
        stale_ = false;
    }
    return image_;
}

void PaintBox::updateRegion(const Bitmap& source, const std::vector<Rect>& parts) {
    const QImage& store = source.store();
    if (stale_ || image_.size() != QSize(source.width(), source.height()) || image_.format() != QImage::Format_RGB32) {
        setPicture(source);
        return;
    }
    const bool device = source.pixelFormat() == PixelFormat::Device;
    QRegion changed;
    // Still the same pixels as the bitmap: nothing to copy.
    const bool shared = device && image_.constBits() == store.constBits();
    for (const Rect& r : parts) {
        const QRect q(r.left, r.top, r.right - r.left, r.bottom - r.top);
        changed += q;
        if (shared) continue;
        for (int y = r.top; y < r.bottom; ++y) {
            auto* d = reinterpret_cast<std::uint32_t*>(image_.scanLine(y)) + r.left;
            if (device) {
                std::memcpy(d, reinterpret_cast<const std::uint32_t*>(store.constScanLine(y)) + r.left,
                            std::size_t(r.right - r.left) * 4);
            } else {
                raster::fetchRow(store.constScanLine(y), source.pixelFormat(), r.left, r.right - r.left, d);
                for (int x = 0; x < r.right - r.left; ++x) d[x] |= 0xFF000000u;
            }
        }
    }
    update(changed);
}

void PaintBox::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.drawImage(e->rect().topLeft(), picture(), e->rect());
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
