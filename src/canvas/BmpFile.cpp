// BMP files: reading checks the headers itself (so that a truncated or hostile file gives
// a message instead of a half-read picture) and lets Qt decode; writing is our own, so the
// file keeps the bitmap's depth and palette.
#include <QByteArray>
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QSaveFile>
#include <cstring>

#include "canvas/Bitmap.h"
#include "canvas/Raster.h"

namespace pixoral {

namespace {

std::uint32_t le32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return u[0] | (std::uint32_t(u[1]) << 8) | (std::uint32_t(u[2]) << 16) | (std::uint32_t(u[3]) << 24);
}
std::uint16_t le16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(u[0] | (u[1] << 8));
}
void put32(QByteArray& a, std::uint32_t v) {
    const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
    a.append(b, 4);
}
void put16(QByteArray& a, std::uint16_t v) {
    const char b[2] = {char(v & 0xFF), char((v >> 8) & 0xFF)};
    a.append(b, 2);
}

// Checks what the headers promise against the file; returns an error text or nothing.
QString checkBmp(const QByteArray& data) {
    const qint64 size = data.size();
    if (size < 26 || data[0] != 'B' || data[1] != 'M') return QStringLiteral("not a BMP file");
    const char* p = data.constData();
    const std::uint32_t offBits = le32(p + 10);
    const std::uint32_t infoSize = le32(p + 14);
    long long width = 0, height = 0;
    int bpp = 0;
    std::uint32_t compression = 0;
    if (infoSize == 12) {
        width = le16(p + 18);
        height = static_cast<std::int16_t>(le16(p + 20));
        bpp = le16(p + 24);
    } else if (infoSize >= 40 && infoSize <= 124) {
        if (size < 14 + 40) return QStringLiteral("the file is truncated");
        width = static_cast<std::int32_t>(le32(p + 18));
        height = static_cast<std::int32_t>(le32(p + 22));
        bpp = le16(p + 28);
        compression = le32(p + 30);
    } else {
        return QStringLiteral("unsupported BMP header");
    }
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0) return QStringLiteral("the image has no pixels");
    if (!bitmapSizeAllowed(static_cast<int>(std::min(width, 1LL << 30)), static_cast<int>(std::min(height, 1LL << 30))))
        return QStringLiteral("the image is too large");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return QStringLiteral("unsupported colour depth");
    if (offBits > size) return QStringLiteral("the file is truncated");
    if (compression == 0 || compression == 3) {
        const long long rowBytes = ((width * bpp + 31) / 32) * 4;
        if (static_cast<long long>(offBits) + rowBytes * height > size) return QStringLiteral("the file is truncated");
    } else if (compression != 1 && compression != 2) {
        return QStringLiteral("unsupported compression");
    }
    return QString();
}

}  // namespace

bool Bitmap::loadFromFile(const QString& path, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = QStringLiteral("Cannot read \"%1\": %2").arg(path, why);
        return false;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(file.errorString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) return fail(file.errorString());
    if (const QString why = checkBmp(data); !why.isEmpty()) return fail(why);
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, "bmp");
    QImage img;
    if (!reader.read(&img) || img.isNull()) return fail(reader.errorString());
    fromImage(img);
    if (isEmpty()) return fail(QStringLiteral("out of memory"));
    return true;
}

bool Bitmap::saveToFile(const QString& path, QString* error) const {
    auto fail = [&](const QString& why) {
        if (error) *error = QStringLiteral("Cannot write \"%1\": %2").arg(path, why);
        return false;
    };
    if (isEmpty()) return fail(QStringLiteral("the image is empty"));
    const int bpp = bitsPerPixel(format_);
    const int paletteSize = format_ == PixelFormat::pf1bit ? 2 : format_ == PixelFormat::pf4bit ? 16
                          : format_ == PixelFormat::pf8bit ? 256 : 0;
    const int data = rowDataBytes();
    const int stride = (data + 3) & ~3;
    const std::uint32_t offBits = 14 + 40 + 4 * paletteSize;
    const std::uint64_t imageBytes = static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height_);
    if (offBits + imageBytes > 0xFFFFFFFFull) return fail(QStringLiteral("the image is too large for a BMP file"));

    QByteArray out;
    out.reserve(static_cast<qsizetype>(offBits + imageBytes));
    out.append("BM", 2);
    put32(out, static_cast<std::uint32_t>(offBits + imageBytes));
    put32(out, 0);
    put32(out, offBits);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width_));
    put32(out, static_cast<std::uint32_t>(height_));  // positive: bottom row first
    put16(out, 1);
    put16(out, static_cast<std::uint16_t>(bpp));
    put32(out, 0);  // uncompressed
    put32(out, static_cast<std::uint32_t>(imageBytes));
    put32(out, 3780);  // 96 dpi
    put32(out, 3780);
    put32(out, static_cast<std::uint32_t>(paletteSize));
    put32(out, 0);
    const std::uint32_t* pal = format_ == PixelFormat::pf4bit ? raster::standardNative() : raster::halftoneNative();
    for (int i = 0; i < paletteSize; ++i) {
        const std::uint32_t c = format_ == PixelFormat::pf1bit ? (i ? 0xFFFFFFu : 0u) : pal[i];
        put32(out, c & 0xFFFFFFu);  // B, G, R, 0
    }
    QByteArray row(stride, '\0');
    const int usedBits = (width_ * bpp) % 8;
    for (int y = height_ - 1; y >= 0; --y) {
        std::memcpy(row.data(), img_.constScanLine(y), static_cast<std::size_t>(data));
        if (usedBits) row[data - 1] = static_cast<char>(row[data - 1] & (0xFF << (8 - usedBits)));
        if (format_ == PixelFormat::Device) {
            for (int x = 0; x < width_; ++x) row[4 * x + 3] = 0;
        }
        out.append(row);
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    if (file.write(out) != out.size()) {
        file.cancelWriting();
        return fail(file.errorString());
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}

}  // namespace pixoral
