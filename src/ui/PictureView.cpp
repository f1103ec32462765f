#include "ui/PictureView.h"

#include <QPainter>

namespace pixoral {

PictureView::PictureView(QWidget* parent) : QWidget(parent) { setFixedSize(kEmptySide, kEmptySide); }

void PictureView::setImage(const QImage& img) {
    image_ = img;
    setFixedSize(img.isNull() ? QSize(kEmptySide, kEmptySide) : img.size());
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (image_.isNull()) p.fillRect(rect(), Qt::white);
    else p.drawImage(0, 0, image_);
}

}  // namespace pixoral
