#include "files/Clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "canvas/Bitmap.h"

namespace pixoral {

namespace {
const QString kPngMime = QStringLiteral("image/png");
}

void copyToClipboard(const Bitmap& picture) {
    const QImage img = picture.toImage();
    auto* mime = new QMimeData;
    mime->setImageData(img);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (img.save(&buffer, "PNG")) mime->setData(kPngMime, png);
    QGuiApplication::clipboard()->setMimeData(mime);
}

QImage clipboardImage() {
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    if (!m) return {};
    QImage img;
    if (m->hasImage()) img = qvariant_cast<QImage>(m->imageData());
    if (img.isNull() && m->hasFormat(kPngMime)) img.loadFromData(m->data(kPngMime), "PNG");
    return img;
}

}  // namespace pixoral
