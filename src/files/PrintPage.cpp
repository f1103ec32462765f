#include "files/PrintPage.h"

#include <QPainter>
#include <algorithm>

namespace pixoral {

int doubledPrintScale(int scale) { return std::min(std::max(scale, 1) * 2, kPrintScaleMax); }

int halvedPrintScale(int scale) { return std::max(scale / 2, 1); }

Rect printRect(int width, int height, int scale) {
    return Rect{kPrintMargin, kPrintMargin, width * scale + kPrintMargin, height * scale + kPrintMargin};
}

Rect previewRect(int width, int height, int scale) {
    return Rect{kPrintMargin, kPrintMargin, width * scale / kPreviewDivisor + kPrintMargin,
                height * scale / kPreviewDivisor + kPrintMargin};
}

void drawPrintPicture(QPainter& painter, const QImage& picture, const Rect& target) {
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(target.left, target.top, target.width(), target.height()), picture);
    painter.restore();
}

QImage previewPage(QSize pagePixels, const QImage& picture, int scale) {
    QImage page(std::max(pagePixels.width() / kPreviewDivisor, 1), std::max(pagePixels.height() / kPreviewDivisor, 1),
                QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    drawPrintPicture(p, picture, previewRect(picture.width(), picture.height(), scale));
    return page;
}

}  // namespace pixoral
