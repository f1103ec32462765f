#pragma once
// GIF reading and writing through giflib.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace pixoral {

struct GifWriteOptions {
    // Adds a graphic control extension whose transparent index is the bottom-left pixel's.
    bool transparentBottomLeft = false;
    // Smallest power-of-two colour map that holds the palette; off gives a 256-entry map.
    bool optimizeColorMap = true;
};

// Decodes the first image of a GIF file into an RGB32 image of the logical screen's size
// (the frame's own size when the screen size is missing). Pixels outside the frame take the
// screen's background colour (white without a global colour map); the transparent index is
// shown as its palette colour, so a transparent GIF reopens with the colours it was saved with.
bool decodeGif(const QByteArray& data, QImage* out, QString* error);

// Encodes as a GIF89a file with at most 256 colours (exact when the image has that few).
bool encodeGif(const QImage& image, const GifWriteOptions& options, QByteArray* out, QString* error);

}  // namespace pixoral
