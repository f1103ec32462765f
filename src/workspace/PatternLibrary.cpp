#include "workspace/PatternLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "canvas/Canvas.h"
#include "files/ImageFile.h"

namespace pixoral {

namespace {

// Bits per pixel from a BMP header (core or info header); 0 when it cannot be told.
int bmpBitCount(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QByteArray h = f.read(30);
    if (h.size() < 26 || h[0] != 'B' || h[1] != 'M') return 0;
    auto u16 = [&](int at) { return int(std::uint8_t(h[at])) | int(std::uint8_t(h[at + 1])) << 8; };
    const int headerSize = u16(14);
    if (headerSize == 12) return u16(24);
    return h.size() >= 30 ? u16(28) : 0;
}

}  // namespace

Bitmap emptyPatternStrip() { return Bitmap(kStripWidth, kPatternSide, PixelFormat::pf4bit); }

bool loadPatternStrip(const QString& path, Bitmap* out, QString* error) {
    Bitmap strip;
    if (!strip.loadFromFile(path, error)) return false;
    switch (bmpBitCount(path)) {
        case 4: strip.setPixelFormat(PixelFormat::pf4bit); break;
        case 24: strip.setPixelFormat(PixelFormat::pf24bit); break;
        default: break;  // other depths would lose colours in a fixed palette
    }
    if (strip.width() < kStripWidth || strip.height() < kPatternSide) {
        if (!strip.setSize(std::max(strip.width(), kStripWidth), std::max(strip.height(), kPatternSide))) {
            if (error) *error = QStringLiteral("Cannot read \"%1\": not enough memory").arg(path);
            return false;
        }
    }
    *out = strip;
    return true;
}

bool savePatternStrip(const QString& path, const Bitmap& strip, bool keepOldAside, QString* error) {
    if (keepOldAside && QFileInfo::exists(path)) {
        // A copy, not a rename: until the new strip is in place the old file keeps its name.
        QFile old(path);
        QByteArray bytes;
        if (old.open(QIODevice::ReadOnly)) bytes = old.readAll();
        if (!old.isOpen() || old.error() != QFileDevice::NoError ||
            !writeFileAtomically(path + QStringLiteral(".bak"), bytes, error))
            return false;
    }
    return strip.saveToFile(path, error);
}

Bitmap patternFromStrip(const Bitmap& strip, int n) {
    Bitmap p(kPatternSide, kPatternSide, PixelFormat::pf4bit);
    const int x = n * kPatternSide;
    p.canvas().copyRect(Rect{0, 0, kPatternSide, kPatternSide}, strip.canvas(),
                        Rect{x, 0, x + kPatternSide, kPatternSide});
    return p;
}

Bitmap samplePattern(const Bitmap& image) {
    Bitmap p(kPatternSide, kPatternSide, PixelFormat::pf4bit);
    const int w = image.width(), h = image.height();
    if (w <= 0 || h <= 0) return p;
    const int sx = w / 8, ox = w / 16, sy = h / 8, oy = h / 16;
    for (int j = 0; j < kPatternSide; ++j)
        for (int i = 0; i < kPatternSide; ++i) p.setPixel(i, j, image.pixel(i * sx + ox, j * sy + oy));
    return p;
}

void putPatternInStrip(Bitmap& strip, int n, const Bitmap& pattern) {
    // A plain copy whatever copy mode the strip's canvas might have.
    const CopyMode saved = strip.canvas().copyMode();
    strip.canvas().setCopyMode(cmSrcCopy);
    strip.canvas().draw(n * kPatternSide, 0, pattern);
    strip.canvas().setCopyMode(saved);
}

Bitmap reduceToPattern(const Bitmap& image, int side) {
    Bitmap p(side, side, PixelFormat::pf4bit);
    p.canvas().stretchDraw(Rect{0, 0, side, side}, image);
    return p;
}

}  // namespace pixoral
