#include "files/SplitSave.h"

#include <QFileInfo>
#include <QRect>
#include <QUrl>

#include "files/GifCodec.h"
#include "files/ImageFile.h"
#include "files/JpegCodec.h"

namespace pixoral {

namespace {

// Cut i of a length cut into `count` equal shares; the last share takes the remainder.
std::pair<int, int> share(int length, int count, int i) {
    const int size = length / count;
    const int from = i * size;
    return {from, i == count - 1 ? length : from + size};
}

// A file name as it stands in a page's IMG SRC: letters, digits and the few marks a name
// usually has stay; anything else (a space, a quote, '#', '%') is percent-encoded, so no name
// can break the page or be read as something else by the browser.
QString pageReference(const QString& fileName) {
    return QString::fromLatin1(QUrl::toPercentEncoding(fileName, "!$'()*+,;=@-._~"));
}

bool encodeTile(const QImage& tile, const QString& extension, QByteArray* out, QString* reason) {
    if (extension == QLatin1String(".gif")) {
        GifWriteOptions gif;
        gif.transparentBottomLeft = false;
        gif.optimizeColorMap = false;
        return encodeGif(tile, gif, out, reason);
    }
    return encodeJpeg(tile, kDefaultJpegQuality, false, out, reason);
}

bool writeNamed(const QString& path, const QByteArray& bytes, QString* error) {
    QString why;
    if (writeFileAtomically(path, bytes, &why)) return true;
    if (error) *error = QStringLiteral("Cannot save \"%1\": %2.").arg(QFileInfo(path).fileName(), why);
    return false;
}

}  // namespace

std::optional<QString> splitExtension(const QString& path) {
    const QString e = QLatin1Char('.') + QFileInfo(path).suffix().toLower();
    if (e == QLatin1String(".gif") || e == QLatin1String(".jpg")) return e;
    return std::nullopt;
}

std::vector<SplitTile> splitTiles(SplitKind kind, int width, int height, int count, const QString& path) {
    const auto ext = splitExtension(path);
    const bool cutsColumns = kind != SplitKind::Vertical, cutsRows = kind != SplitKind::Horizontal;
    if (!ext || count < 1 || (cutsColumns && width < count) || (cutsRows && height < count)) return {};
    const int rows = cutsRows ? count : 1, columns = cutsColumns ? count : 1;
    std::vector<SplitTile> tiles;
    for (int r = 0; r < rows; ++r) {
        const auto [top, bottom] = share(height, rows, r);
        for (int q = 0; q < columns; ++q) {
            const auto [left, right] = share(width, columns, q);
            const QString name = kind == SplitKind::Puzzle
                                     ? pathWithoutExtension(path) + QString::number(r) + QString::number(q) + *ext
                                     : path + QString::number(kind == SplitKind::Vertical ? r : q) + *ext;
            tiles.push_back({Rect{left, top, right, bottom}, name});
        }
    }
    return tiles;
}

QString splitPagePath(const QString& path) { return pathWithoutExtension(path) + QStringLiteral(".htm"); }

QString splitPageText(SplitKind kind, const std::vector<SplitTile>& tiles) {
    const QString eol = QStringLiteral("\r\n");
    QString page = QStringLiteral("<HTML><HEADER><TITLE>Pixoral Split</TITLE>") + eol + QStringLiteral("</HEADER>") + eol +
                   QStringLiteral("<BODY>") + eol;
    // The row of a horizontal split is one line: a line end between the images would put a
    // gap between the tiles.
    const bool row = kind == SplitKind::Horizontal;
    for (const SplitTile& t : tiles) {
        page += QStringLiteral("<IMG SRC=\"") + pageReference(QFileInfo(t.path).fileName()) + QLatin1Char('"');
        page += row ? QStringLiteral(">") : QStringLiteral("><BR>") + eol;
    }
    if (row) page += eol;
    return page + QStringLiteral("</BODY></HTML>") + eol;
}

bool writeSplit(const Bitmap& image, SplitKind kind, int count, const QString& path, QString* error) {
    const auto ext = splitExtension(path);
    if (!ext) {
        if (error) *error = kInvalidExtensionMessage;
        return false;
    }
    const std::vector<SplitTile> tiles = splitTiles(kind, image.width(), image.height(), count, path);
    if (tiles.empty()) {
        if (error)
            *error = QStringLiteral("The image (%1 x %2) is too small to split into %3 parts.")
                         .arg(image.width())
                         .arg(image.height())
                         .arg(count);
        return false;
    }
    const QImage whole = image.toImage();
    for (const SplitTile& t : tiles) {
        const Rect& r = t.rect;
        QByteArray bytes;
        QString why;
        if (!encodeTile(whole.copy(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top)), *ext, &bytes, &why)) {
            if (error) *error = QStringLiteral("Cannot save \"%1\": %2.").arg(QFileInfo(t.path).fileName(), why);
            return false;
        }
        if (!writeNamed(t.path, bytes, error)) return false;
    }
    if (kind == SplitKind::Puzzle) return true;
    return writeNamed(splitPagePath(path), splitPageText(kind, tiles).toUtf8(), error);
}

}  // namespace pixoral
