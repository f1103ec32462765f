#include "shell/TPixoralSplashF.h"

#include <QFont>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace pixoral {

TPixoralSplashF::TPixoralSplashF(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TPixoralSplashF"));
    setFixedSize(433, 97);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void TPixoralSplashF::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(192, 192, 192));
    // A raised bevel over the whole client area.
    p.setPen(Qt::white);
    p.drawLine(0, 0, width() - 1, 0);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
    p.drawLine(width() - 1, 0, width() - 1, height() - 1);

    QFont small(QStringLiteral("Sans Serif"));
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(Qt::black);
    p.drawText(QRect(24, 8, 300, 20), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("loading..."));

    // The name twice, the later copy offset down-right, both over the face.
    QFont big(QStringLiteral("Serif"));
    big.setPixelSize(40);
    big.setBold(true);
    big.setItalic(true);
    p.setFont(big);
    const QString title = QStringLiteral("Pixoral " PIXORAL_VERSION);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRect(80, 32, 353, 60), Qt::AlignLeft | Qt::AlignTop, title);
    p.setPen(QColor(128, 128, 128));
    p.drawText(QRect(86, 38, 347, 60), Qt::AlignLeft | Qt::AlignTop, title);
}

}  // namespace pixoral
