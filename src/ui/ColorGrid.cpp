#include "ui/ColorGrid.h"

#include <QMouseEvent>
#include <QPainter>

namespace pixoral {

namespace {

constexpr int kCell = 18;

QColor qColor(TColor c) { return QColor(getRValue(c), getGValue(c), getBValue(c)); }

bool validIndex(int i) { return i >= 0 && i < 16; }

}  // namespace

ColorGrid::ColorGrid(QWidget* parent) : QWidget(parent) { setFixedSize(sizeHint()); }

QSize ColorGrid::sizeHint() const { return {kColumns * kCell + 1, kRows * kCell + 1}; }

void ColorGrid::setForegroundIndex(int index) {
    if (!validIndex(index)) return;
    foreground_ = index;
    update();
}

void ColorGrid::setBackgroundIndex(int index) {
    if (!validIndex(index)) return;
    background_ = index;
    update();
}

void ColorGrid::setSinglePick(bool on) {
    singlePick_ = on;
    update();
}

QRect ColorGrid::cellRect(int index) const {
    return {(index % kColumns) * kCell, (index / kColumns) * kCell, kCell, kCell};
}

int ColorGrid::indexAt(const QPoint& p) const {
    if (p.x() < 0 || p.y() < 0) return -1;
    const int col = p.x() / kCell, row = p.y() / kCell;
    return col < kColumns && row < kRows ? row * kColumns + col : -1;
}

void ColorGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QFont f = font();
    f.setPixelSize(8);
    f.setBold(true);
    p.setFont(f);
    for (int i = 0; i < 16; ++i) {
        const QRect r = cellRect(i);
        p.fillRect(r, qColor(kStandardColors[i]));
        p.setPen(Qt::gray);
        p.drawRect(r);
        // The marks in the colour that stands out most on the cell.
        const TColor c = kStandardColors[i];
        const bool dark = getRValue(c) * 3 + getGValue(c) * 6 + getBValue(c) < 128 * 10;
        p.setPen(dark ? Qt::white : Qt::black);
        if (singlePick_) {
            if (i == foreground_) {
                p.setPen(QPen(p.pen().color(), 2));
                p.drawRect(r.adjusted(4, 4, -4, -4));
            }
            continue;
        }
        QStringList marks;
        if (i == foreground_) marks << QStringLiteral("FG");
        if (i == background_) marks << QStringLiteral("BG");
        if (!marks.isEmpty()) p.drawText(r, Qt::AlignCenter, marks.join(QLatin1Char('\n')));
    }
}

bool ColorGrid::pick(int index, bool background) {
    if (index < 0 || index >= kColumns * kRows || (background && singlePick_)) return false;
    (background ? background_ : foreground_) = index;
    update();
    emit changed();
    return true;
}

void ColorGrid::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton)
        pick(indexAt(e->position().toPoint()), e->button() == Qt::RightButton);
}

}  // namespace pixoral
