#include "workspace/FrameMarkers.h"

#include "workspace/WorkspaceControls.h"

#include <QPalette>
#include <cmath>
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

FrameMarkers::FrameMarkers(PaintBox* picture) : picture_(picture), BOF(marker(picture, "BOF")), EOF_(marker(picture, "EOF")) {
    QObject::connect(picture, &PaintBox::zoomChanged, BOF, [this] { place(); });
}

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
    // Columns and height are image pixels; the bars keep their width at any zoom.
    const auto x = [this](int column) { return static_cast<int>(std::lround(picture_->toView(QPointF(column, 0)).x())); };
    const int h = static_cast<int>(std::lround(picture_->toView(QPointF(0, height_)).y()));
    BOF->setGeometry(x(bofColumn_), 0, kWidth, h);
    EOF_->setGeometry(x(eofColumn_), 0, kWidth, h);
}

}  // namespace pixoral
