#pragma once
// JPEG reading and writing through libjpeg.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace pixoral {

constexpr int kDefaultJpegQuality = 25;  // the quality of ordinary saves

// Decodes baseline and progressive JPEG files, colour, greyscale and CMYK, into RGB32.
// A corrupt or truncated file is an error, never a half-decoded image: the reason says how
// much of it could be read. A header that claims more pixels than the file's data can fill
// is refused before decoding (see DataBound.h).
bool decodeJpeg(const QByteArray& data, QImage* out, QString* error);

// Encodes at a quality of 1..100 (clamped); greyscale writes a one-component file.
bool encodeJpeg(const QImage& image, int quality, bool grayscale, QByteArray* out, QString* error);

}  // namespace pixoral
