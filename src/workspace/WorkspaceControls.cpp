#include "workspace/WorkspaceControls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

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

void PaintBox::setPicture(const QImage& image) {
    image_ = image;
    if (size() != image_.size()) setFixedSize(image_.size());
    update();
}

void PaintBox::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.drawImage(e->rect().topLeft(), image_, e->rect());
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
    const auto c = stringToColor(it->text().toStdString());
    if (!c) return std::nullopt;
    return *c;
}

void ColorList::mouseReleaseEvent(QMouseEvent* e) {
    QListWidget::mouseReleaseEvent(e);
    const QModelIndex at = indexAt(e->position().toPoint());
    int row = currentRow();
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
    p.setBrush(toQColor(brushColor));
    p.setPen(QPen(toQColor(penColor), 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}

void ShapeFlag::mousePressEvent(QMouseEvent* e) { shiftAtPress_ = e->modifiers() & Qt::ShiftModifier; }

void ShapeFlag::mouseReleaseEvent(QMouseEvent* e) {
    if (rect().contains(e->position().toPoint()) && onClick) onClick(shiftAtPress_);
}

}  // namespace pixoral
