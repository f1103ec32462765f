#include "files/ImageFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdint>
#include <vector>

#include <cstring>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "files/DataBound.h"
#include "files/Dib.h"
#include "files/GifCodec.h"
#include "files/Metafile.h"

namespace pixoral {

namespace {

constexpr qint64 kMaxFileBytes = qint64(1) << 30;

FileResult failed(QString* error, const QString& why) {
    if (error) *error = why;
    return FileResult::Failed;
}

QString openMessage(const QString& path, const QString& why) {
    return QStringLiteral("Cannot open \"%1\": %2.").arg(QFileInfo(path).fileName(), why);
}

QString saveMessage(const QString& path, const QString& why) {
    return QStringLiteral("Cannot save \"%1\": %2.").arg(QFileInfo(path).fileName(), why);
}

bool readWholeFile(const QString& path, QByteArray* out, QString* why) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *why = f.exists() ? QStringLiteral("the file cannot be read") : QStringLiteral("the file does not exist");
        return false;
    }
    if (f.size() > kMaxFileBytes) {
        *why = QStringLiteral("the file is too large");
        return false;
    }
    *out = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        *why = f.errorString();
        return false;
    }
    return true;
}

// A PNG whose header claims more than its data can fill (see DataBound.h). The header is
// read here because Qt's reader tells the size but not the depth; a file too short to hold
// one is left to the reader's own message.
bool pngOverclaims(const QByteArray& data, QString* why) {
    const auto* b = reinterpret_cast<const unsigned char*>(data.constData());
    if (data.size() < 29 || std::memcmp(b + 12, "IHDR", 4) != 0) return false;
    auto be32 = [&](int at) { return (qint64(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3]; };
    const qint64 width = be32(16), height = be32(20);
    int channels = 0;
    switch (b[25]) {  // colour type
    case 0: case 3: channels = 1; break;  // grey, palette
    case 4: channels = 2; break;          // grey and alpha
    case 2: channels = 3; break;          // RGB
    case 6: channels = 4; break;          // RGBA
    default: return false;
    }
    const int depth = b[24];
    if (depth < 1 || depth > 16 || pngDataCanFill(width, height, depth * channels, data.size())) return false;
    *why = claimsMoreThanDataReason(width, height, data.size());
    return true;
}

// Qt's reader for PNG, sizes checked before any pixels are decoded.
bool readWithQt(const QByteArray& data, const char* format, QImage* out, QString* why) {
    if (data.isEmpty()) {
        *why = QStringLiteral("the file is empty");
        return false;
    }
    if (std::strcmp(format, "png") == 0 && pngOverclaims(data, why)) return false;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);  // the extension decides, never the content
    const QSize size = reader.size();
    if (size.isValid() && !imageSizeAllowed(size.width(), size.height())) {
        *why = QStringLiteral("the image is too large");
        return false;
    }
    QImage img = reader.read();
    if (img.isNull()) {
        *why = QStringLiteral("damaged %1 data (%2)").arg(QString::fromLatin1(format).toUpper(), reader.errorString());
        return false;
    }
    if (!imageSizeAllowed(img.width(), img.height())) {
        *why = QStringLiteral("the image is too large");
        return false;
    }
    *out = img.convertToFormat(QImage::Format_ARGB32);
    return true;
}

// An icon file holds a directory of images, each a PNG file or a packed DIB; the largest
// (then the deepest) that decodes is the one opened.
bool readIcon(const QByteArray& data, QImage* out, QString* why) {
    const auto* d = reinterpret_cast<const std::uint8_t*>(data.constData());
    const std::int64_t size = data.size();
    const auto le16 = [&](std::int64_t at) { return int(d[at] | (d[at + 1] << 8)); };
    const auto le32 = [&](std::int64_t at) { return std::uint32_t(le16(at)) | (std::uint32_t(le16(at + 2)) << 16); };
    const auto be32 = [&](std::int64_t at) { return (std::uint32_t(d[at]) << 24) | (d[at + 1] << 16) | (d[at + 2] << 8) | d[at + 3]; };
    if (size < 6 || le16(0) != 0 || (le16(2) != 1 && le16(2) != 2) || le16(4) == 0 || 6 + 16 * std::int64_t(le16(4)) > size) {
        *why = QStringLiteral("damaged ICO data (no icon directory)");
        return false;
    }
    static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
    struct Candidate {
        std::int64_t offset, bytes, area;
        int depth;
        bool png;
    };
    std::vector<Candidate> candidates;
    for (int i = 0; i < le16(4); ++i) {
        const std::int64_t entry = 6 + 16 * std::int64_t(i);
        const std::int64_t bytes = le32(entry + 8), offset = le32(entry + 12);
        if (offset >= size || bytes > size - offset || bytes < 24) continue;
        Candidate c{offset, bytes, 0, le16(entry + 6), data.mid(offset, 8) == pngSignature};
        if (c.png) {
            c.area = std::int64_t(be32(offset + 16)) * be32(offset + 20);
        } else {
            if (bytes < 40) continue;
            const std::int64_t w = std::int32_t(le32(offset + 4)), h = std::int32_t(le32(offset + 8));
            c.area = w * (h / 2);
            c.depth = le16(offset + 14);
        }
        candidates.push_back(c);
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.area != b.area ? a.area > b.area : a.depth > b.depth;
    });
    for (const Candidate& c : candidates) {
        QImage img;
        QString pngWhy;
        if (c.png ? readWithQt(data.mid(c.offset, c.bytes), "png", &img, &pngWhy)
                  : decodeIconDib(d + c.offset, c.bytes, &img)) {
            *out = img.convertToFormat(QImage::Format_ARGB32);
            return true;
        }
    }
    *why = QStringLiteral("damaged ICO data (no image in it can be read)");
    return false;
}

// Composites an image with alpha over a base at (0, 0).
QImage over(QImage base, const QImage& top) {
    base = base.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&base);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, top);
    painter.end();
    return base;
}

// The canvas's BMP messages name the path themselves; keep only the reason.
QString bareReason(const QString& message, const QString& verb, const QString& path) {
    const QString prefix = QStringLiteral("%1 \"%2\": ").arg(verb, path);
    return message.startsWith(prefix) ? message.mid(prefix.size()) : message;
}

// The BMP reader is the canvas's, which takes a path; bytes from memory go through a
// temporary file.
bool readBmp(const QByteArray& data, const QString* path, Bitmap* out, QString* why) {
    if (data.isEmpty()) {
        *why = QStringLiteral("the file is empty");
        return false;
    }
    QString error;
    bool ok;
    if (path) {
        ok = out->loadFromFile(*path, &error);
    } else {
        QTemporaryFile tmp(QDir::tempPath() + QStringLiteral("/pixoral-XXXXXX.bmp"));
        if (!tmp.open() || tmp.write(data) != data.size() || !tmp.flush()) {
            *why = QStringLiteral("no room for a temporary file");
            return false;
        }
        tmp.close();
        ok = out->loadFromFile(tmp.fileName(), &error);
        error = bareReason(error, QStringLiteral("Cannot read"), tmp.fileName());
    }
    if (!ok || out->isEmpty()) {
        *why = error.isEmpty() ? QStringLiteral("damaged BMP data") : error;
        if (path) *why = bareReason(*why, QStringLiteral("Cannot read"), *path);
        return false;
    }
    return true;
}

// Decodes `data` and applies it to `target` only when everything succeeded. `overOld`:
// icons and metafiles are drawn over the target's old content (else over white).
FileResult decodeInto(ImageFileType type, const QByteArray& data, const QString* path, Bitmap& target, bool overOld,
                      QString* why) {
    switch (type) {
    case ImageFileType::Gif:
    case ImageFileType::Jpeg: {
        QImage img;
        const bool ok = type == ImageFileType::Gif ? decodeGif(data, &img, why) : decodeJpeg(data, &img, why);
        if (!ok) return FileResult::Failed;
        Bitmap result;
        result.fromImage(img);
        if (result.isEmpty()) return failed(why, QStringLiteral("not enough memory"));
        target = result;
        return FileResult::Done;
    }
    case ImageFileType::Png: {
        QImage img;
        if (!readWithQt(data, "png", &img, why)) return FileResult::Failed;
        QImage white(img.size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        Bitmap result;
        result.fromImage(over(white, img));
        if (result.isEmpty()) return failed(why, QStringLiteral("not enough memory"));
        target = result;
        return FileResult::Done;
    }
    case ImageFileType::Bmp: {
        Bitmap result;
        if (!readBmp(data, path, &result, why)) return FileResult::Failed;
        target = result;
        return FileResult::Done;
    }
    case ImageFileType::Ico: {
        QImage icon;
        if (!readIcon(data, &icon, why)) return FileResult::Failed;
        Bitmap result;
        if (overOld) {
            Bitmap old = target;
            if (!old.setSize(icon.width(), icon.height())) return failed(why, QStringLiteral("not enough memory"));
            result.fromImage(over(old.toImage(), icon));
            if (!result.isEmpty()) result.setPixelFormat(target.pixelFormat());
        } else {
            QImage white(icon.size(), QImage::Format_RGB32);
            white.fill(Qt::white);
            result.fromImage(over(white, icon));
        }
        if (result.isEmpty()) return failed(why, QStringLiteral("not enough memory"));
        target = result;
        return FileResult::Done;
    }
    case ImageFileType::Wmf:
    case ImageFileType::Emf: {
        Metafile meta;
        if (!meta.load(data, why)) return FileResult::Failed;
        int w = meta.width(), h = meta.height();
        if (w <= 0 || h <= 0) {  // a plain WMF without a size plays at 1:1 on the old size
            w = target.width() > 0 ? target.width() : 256;
            h = target.height() > 0 ? target.height() : 256;
        }
        Bitmap result = overOld ? target : Bitmap(w, h);
        if (!result.setSize(w, h)) return failed(why, QStringLiteral("not enough memory"));
        meta.play(result.canvas(), w, h);
        target = result;
        return FileResult::Done;
    }
    case ImageFileType::Unknown: break;
    }
    return FileResult::Skipped;
}

FileResult loadPath(const QString& path, Bitmap& target, bool overOld, QString* error) {
    const ImageFileType type = imageFileTypeOf(path);
    if (!canLoadImageType(type)) return FileResult::Skipped;
    QByteArray data;
    QString why;
    if (!readWholeFile(path, &data, &why)) return failed(error, openMessage(path, why));
    const FileResult r = decodeInto(type, data, &path, target, overOld, &why);
    if (r == FileResult::Failed && error) *error = openMessage(path, why);
    return r;
}

}  // namespace

ImageFileType imageFileTypeOf(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return ImageFileType::Unknown;
    const QString ext = name.mid(dot).toUpper();
    if (ext == QLatin1String(".BMP")) return ImageFileType::Bmp;
    if (ext == QLatin1String(".JPG") || ext == QLatin1String(".JPEG")) return ImageFileType::Jpeg;
    if (ext == QLatin1String(".GIF")) return ImageFileType::Gif;
    if (ext == QLatin1String(".ICO")) return ImageFileType::Ico;
    if (ext == QLatin1String(".WMF")) return ImageFileType::Wmf;
    if (ext == QLatin1String(".EMF")) return ImageFileType::Emf;
    if (ext == QLatin1String(".PNG")) return ImageFileType::Png;
    return ImageFileType::Unknown;
}

bool canLoadImageType(ImageFileType t) { return t != ImageFileType::Unknown; }

bool canSaveImageType(ImageFileType t) {
    return t == ImageFileType::Bmp || t == ImageFileType::Jpeg || t == ImageFileType::Gif || t == ImageFileType::Png;
}

FileResult loadImageFile(const QString& path, Bitmap& workspace, QString* error) {
    return loadPath(path, workspace, true, error);
}

FileResult loadImageData(ImageFileType type, const QByteArray& data, Bitmap& workspace, QString* reason) {
    return decodeInto(type, data, nullptr, workspace, true, reason);
}

FileResult readImageFile(const QString& path, Bitmap* out, QString* error) {
    Bitmap result;
    const FileResult r = loadPath(path, result, false, error);
    if (r == FileResult::Done) *out = result;
    return r;
}

QString pathWithoutExtension(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (reason) *reason = f.errorString();
        return false;
    }
    if (f.write(bytes) != bytes.size()) {
        if (reason) *reason = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (reason) *reason = f.errorString();
        return false;
    }
    return true;
}

FileResult encodeImageData(ImageFileType type, const Bitmap& source, const ImageSaveOptions& options,
                           QByteArray* out, QString* reason) {
    if (!canSaveImageType(type)) return FileResult::Skipped;
    if (source.isEmpty()) return failed(reason, QStringLiteral("the image is empty"));
    switch (type) {
    case ImageFileType::Jpeg:
        return encodeJpeg(source.toImage(), options.jpegQuality, options.jpegGrayscale, out, reason)
                   ? FileResult::Done
                   : FileResult::Failed;
    case ImageFileType::Gif: {
        GifWriteOptions gif;
        gif.transparentBottomLeft = options.gifTransparent;
        gif.optimizeColorMap = options.gifOptimizeColorMap;
        return encodeGif(source.toImage(), gif, out, reason) ? FileResult::Done : FileResult::Failed;
    }
    case ImageFileType::Png: {
        QImage img = source.toImage();
        if (options.gifTransparent) {
            img = img.convertToFormat(QImage::Format_ARGB32);
            const QRgb key = img.pixel(0, img.height() - 1) & 0xFFFFFF;
            for (int y = 0; y < img.height(); ++y) {
                QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
                for (int x = 0; x < img.width(); ++x)
                    if ((row[x] & 0xFFFFFF) == key) row[x] = key;  // alpha 0
            }
        }
        QBuffer buffer(out);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(img)) return failed(reason, writer.errorString());
        return FileResult::Done;
    }
    case ImageFileType::Bmp: {
        // The canvas writes BMP files by path; the bytes then go through the atomic writer.
        QTemporaryFile tmp(QDir::tempPath() + QStringLiteral("/pixoral-XXXXXX.bmp"));
        if (!tmp.open()) return failed(reason, QStringLiteral("no room for a temporary file"));
        tmp.close();
        QString why;
        if (!source.saveToFile(tmp.fileName(), &why))
            return failed(reason, why.isEmpty() ? QStringLiteral("the BMP writer failed") : why);
        QFile f(tmp.fileName());
        if (!f.open(QIODevice::ReadOnly)) return failed(reason, f.errorString());
        *out = f.readAll();
        return FileResult::Done;
    }
    default: break;
    }
    return FileResult::Skipped;
}

FileResult saveImageFile(const QString& path, const Bitmap& source, const ImageSaveOptions& options, QString* error) {
    const ImageFileType type = imageFileTypeOf(path);
    if (!canSaveImageType(type)) return FileResult::Skipped;
    QString why;
    if (type == ImageFileType::Bmp) {
        // The canvas's BMP writer replaces the file atomically itself.
        if (source.isEmpty()) return failed(error, saveMessage(path, QStringLiteral("the image is empty")));
        if (!source.saveToFile(path, &why))
            return failed(error, saveMessage(path, why.isEmpty() ? QStringLiteral("the BMP writer failed")
                                                                 : bareReason(why, QStringLiteral("Cannot write"), path)));
        return FileResult::Done;
    }
    QByteArray bytes;
    const FileResult r = encodeImageData(type, source, options, &bytes, &why);
    if (r != FileResult::Done) {
        if (error) *error = saveMessage(path, why);
        return r;
    }
    if (!writeFileAtomically(path, bytes, &why)) return failed(error, saveMessage(path, why));
    return FileResult::Done;
}

FileResult savePictureAs(QString* path, const Bitmap& source, const ImageSaveOptions& options, QString* error) {
    if (QFileInfo(*path).suffix().isEmpty()) *path += QStringLiteral(".bmp");
    if (!canSaveImageType(imageFileTypeOf(*path)))
        return failed(error, QStringLiteral("Cannot save \"%1\": pictures are saved as .bmp, .gif, .jpg, .jpeg or .png "
                                            "files.")
                                 .arg(QFileInfo(*path).fileName()));
    return saveImageFile(*path, source, options, error);
}

QString openPictureFilter() {
    return QStringLiteral(
        "All (*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png)|*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png|"
        "CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|"
        "Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|"
        "PNG Image (*.png)|*.png");
}

QString savePictureFilter() {
    return QStringLiteral("Graphic Files (bmp,gif or jpg)|*.bmp;*.gif;*.jpg|BMP Files|*.bmp|PNG Image (*.png)|*.png");
}

}  // namespace pixoral
