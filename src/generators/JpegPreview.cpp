#include "generators/JpegPreview.h"

#include <QImage>
#include <utility>

#include "files/JpegCodec.h"

namespace pixoral::generators {

bool compressJpeg(const Bitmap& image, int quality, bool grayscale, JpegPreview* out, QString* error) {
    QByteArray stream;
    if (!encodeJpeg(image.toImage(), quality, grayscale, &stream, error)) return false;
    QImage decoded;
    if (!decodeJpeg(stream, &decoded, error)) return false;
    Bitmap picture;
    picture.fromImage(decoded);
    if (picture.isEmpty()) {
        if (error) *error = QStringLiteral("There is not enough memory for the decoded picture.");
        return false;
    }
    out->stream = std::move(stream);
    out->picture = picture;
    return true;
}

QString jpegSaveName(const QString& chosen) {
    const qsizetype slash = chosen.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = chosen.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash ? chosen.left(dot) : chosen;
    return stem + QStringLiteral(".jpg");
}

}  // namespace pixoral::generators
