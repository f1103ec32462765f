#include "workspace/FrameMarkers.h"

#include <QPalette>
#include <QWidget>

namespace pixoral {

namespace {

QWidget* marker(QWidget* picture, const char* name) {
    auto* m = new QWidget(picture);
    m->setObjectName(QString::fromLatin1(name));
    m->setAutoFillBackground(true);
    QPalette pal = m->palette();
    pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    m->setPalette(pal);
    // The bars only show where the frame is; drawing goes on through them.
    m->setAttribute(Qt::WA_TransparentForMouseEvents);
    m->hide();
    return m;
}

}  // namespace

FrameMarkers::FrameMarkers(QWidget* picture) : BOF(marker(picture, "BOF")), EOF_(marker(picture, "EOF")) {}

void FrameMarkers::showAt(int bofColumn, int eofColumn, int height, int frame) {
    bofColumn_ = bofColumn;
    eofColumn_ = eofColumn;
    height_ = height;
    for (QWidget* m : {BOF, EOF_}) {
        m->setToolTip(QString::number(frame));
        m->show();
        m->raise();
    }
    place();
}

void FrameMarkers::hide() {
    BOF->hide();
    EOF_->hide();
}

void FrameMarkers::place() {
    // The picture shows the image at its own size: image pixels are widget pixels.
    BOF->setGeometry(bofColumn_, 0, kWidth, height_);
    EOF_->setGeometry(eofColumn_, 0, kWidth, height_);
}

}  // namespace pixoral
