#include "files/Clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "canvas/Bitmap.h"

namespace pixoral {

namespace {

const QString kPngMime = QStringLiteral("image/png");

// The picture, offered as PNG too; the PNG is encoded only when a program asks for it
// (encoding a large picture takes longer than everything else a copy does).
class PictureMime : public QMimeData {
public:
    explicit PictureMime(const QImage& img) { setImageData(img); }

    QStringList formats() const override {
        QStringList f = QMimeData::formats();
        if (!f.contains(kPngMime)) f << kPngMime;
        return f;
    }

protected:
    QVariant retrieveData(const QString& type, QMetaType preferred) const override {
        if (type != kPngMime) return QMimeData::retrieveData(type, preferred);
        const QImage img = qvariant_cast<QImage>(imageData());
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        return img.save(&buffer, "PNG") ? QVariant(png) : QVariant();
    }
};

}  // namespace

void copyToClipboard(const Bitmap& picture) { QGuiApplication::clipboard()->setMimeData(new PictureMime(picture.toImage())); }

QImage clipboardImage() {
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    if (!m) return {};
    QImage img;
    if (m->hasImage()) img = qvariant_cast<QImage>(m->imageData());
    if (img.isNull() && m->hasFormat(kPngMime)) img.loadFromData(m->data(kPngMime), "PNG");
    return img;
}

}  // namespace pixoral
