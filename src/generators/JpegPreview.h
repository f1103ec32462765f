#pragma once
// Quick JPEG: the workspace image as it comes back from JPEG compression at a chosen quality,
// and the number of bytes that takes, so the user can weigh size against artefacts before
// saving.
#include <QByteArray>
#include <QString>

#include "canvas/Bitmap.h"

namespace pixoral::generators {

inline constexpr int kJpegQualityMin = 1;
inline constexpr int kJpegQualityMax = 100;
inline constexpr int kJpegPreviewQuality = 10;  // the window's quality at start

struct JpegPreview {
    QByteArray stream;  // the compressed file, whose length the window reports
    Bitmap picture;     // the stream decoded again, artefacts and all (device format)
};

// Compresses the image at the quality (clamped to 1..100), as one grey channel when asked,
// with the codec's defaults otherwise, and decodes the stream back. False with the codec's
// reason, and *out untouched, when either step fails.
bool compressJpeg(const Bitmap& image, int quality, bool grayscale, JpegPreview* out, QString* error);

// The file "Save" writes: the chosen name with its extension, if any, replaced by ".jpg"
// ("picture.jpeg" gives "picture.jpg", "notes" gives "notes.jpg"). Only the file name's own
// dot counts, never one in a folder name.
QString jpegSaveName(const QString& chosen);

}  // namespace pixoral::generators
