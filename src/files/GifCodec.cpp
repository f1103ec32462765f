#include "files/GifCodec.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "canvas/Bitmap.h"
#include "files/DataBound.h"
#include "files/MedianCut.h"

namespace pixoral {

namespace {

struct ReadContext {
    const unsigned char* data;
    qsizetype size;
    qsizetype pos;
};

int readFromMemory(GifFileType* gif, GifByteType* buf, int n) {
    auto* ctx = static_cast<ReadContext*>(gif->UserData);
    qsizetype k = std::min<qsizetype>(n, ctx->size - ctx->pos);
    if (k <= 0) return 0;
    std::memcpy(buf, ctx->data + ctx->pos, std::size_t(k));
    ctx->pos += k;
    return int(k);
}

int writeToMemory(GifFileType* gif, const GifByteType* buf, int n) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(buf), n);
    return n;
}

QString gifReason(int code) {
    switch (code) {
    case D_GIF_ERR_NOT_GIF_FILE: return QStringLiteral("it is not a GIF file");
    case D_GIF_ERR_READ_FAILED:
    case D_GIF_ERR_EOF_TOO_SOON: return QStringLiteral("the file is truncated");
    case D_GIF_ERR_NOT_ENOUGH_MEM:
    case E_GIF_ERR_NOT_ENOUGH_MEM: return QStringLiteral("not enough memory");
    default: {
        const char* s = GifErrorString(code);
        return s ? QStringLiteral("damaged GIF data (%1)").arg(QString::fromLatin1(s))
                 : QStringLiteral("damaged GIF data");
    }
    }
}

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

struct DecoderCloser {
    GifFileType* gif;
    ~DecoderCloser() {
        int err = 0;
        DGifCloseFile(gif, &err);
    }
};

bool readFirstImage(GifFileType* gif, QImage* out, QString* error) {
    if (DGifGetImageDesc(gif) == GIF_ERROR) return fail(error, gifReason(gif->Error));
    const GifImageDesc& d = gif->Image;
    const int fw = d.Width, fh = d.Height;
    if (fw <= 0 || fh <= 0) return fail(error, QStringLiteral("the image has no pixels"));
    int sw = gif->SWidth, sh = gif->SHeight;
    if (sw <= 0 || sh <= 0) {
        sw = d.Left + fw;
        sh = d.Top + fh;
    }
    if (!imageSizeAllowed(sw, sh) || !imageSizeAllowed(fw, fh))
        return fail(error, QStringLiteral("the image is too large (%1 by %2)").arg(sw).arg(sh));

    // A frame the bytes after its descriptor cannot fill, or a screen the whole file cannot,
    // is refused before anything is allocated for it.
    const auto* ctx = static_cast<const ReadContext*>(gif->UserData);
    if (!gifDataCanFill(fw, fh, ctx->size - ctx->pos))
        return fail(error, claimsMoreThanDataReason(fw, fh, ctx->size - ctx->pos));
    if (!gifDataCanFill(sw, sh, ctx->size)) return fail(error, claimsMoreThanDataReason(sw, sh, ctx->size));

    const ColorMapObject* cmap = d.ColorMap ? d.ColorMap : gif->SColorMap;
    QRgb lut[256];
    for (int i = 0; i < 256; ++i) {
        if (cmap && cmap->Colors && i < cmap->ColorCount)
            lut[i] = qRgb(cmap->Colors[i].Red, cmap->Colors[i].Green, cmap->Colors[i].Blue);
        else if (cmap)
            lut[i] = qRgb(0, 0, 0);  // an index past the map: black rather than a stray read
        else
            lut[i] = qRgb(i, i, i);  // no colour map at all: a grey ramp
    }
    QRgb background = qRgb(255, 255, 255);
    if (gif->SColorMap && gif->SColorMap->Colors && gif->SBackGroundColor >= 0 &&
        gif->SBackGroundColor < gif->SColorMap->ColorCount) {
        const GifColorType& c = gif->SColorMap->Colors[gif->SBackGroundColor];
        background = qRgb(c.Red, c.Green, c.Blue);
    }

    QImage img(sw, sh, QImage::Format_RGB32);
    if (img.isNull()) return fail(error, QStringLiteral("not enough memory"));
    img.fill(background);
    std::vector<GifPixelType> line(static_cast<std::size_t>(fw));

    // Interlaced rows arrive in four passes: every 8th from 0, every 8th from 4, every
    // 4th from 2, every 2nd from 1.
    static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    const int passes = d.Interlace ? 4 : 1;
    for (int p = 0; p < passes; ++p) {
        const int start = d.Interlace ? kStart[p] : 0, step = d.Interlace ? kStep[p] : 1;
        for (int row = start; row < fh; row += step) {
            if (DGifGetLine(gif, line.data(), fw) == GIF_ERROR) return fail(error, gifReason(gif->Error));
            const int y = d.Top + row;
            if (y < 0 || y >= sh) continue;
            QRgb* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
            const int x0 = std::max(0, -d.Left), x1 = std::min(fw, sw - d.Left);
            for (int x = x0; x < x1; ++x) dst[d.Left + x] = lut[line[std::size_t(x)]];
        }
    }
    *out = img;
    return true;
}

}  // namespace

bool decodeGif(const QByteArray& data, QImage* out, QString* error) {
    if (data.isEmpty()) return fail(error, QStringLiteral("the file is empty"));
    ReadContext ctx{reinterpret_cast<const unsigned char*>(data.constData()), data.size(), 0};
    int err = 0;
    GifFileType* gif = DGifOpen(&ctx, readFromMemory, &err);
    if (!gif) return fail(error, gifReason(err));
    DecoderCloser closer{gif};

    GifRecordType type = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return fail(error, gifReason(gif->Error));
        if (type == IMAGE_DESC_RECORD_TYPE) return readFirstImage(gif, out, error);
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) return fail(error, gifReason(gif->Error));
            while (ext) {
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) return fail(error, gifReason(gif->Error));
            }
        }
    } while (type != TERMINATE_RECORD_TYPE);
    return fail(error, QStringLiteral("the file holds no image"));
}

bool encodeGif(const QImage& image, const GifWriteOptions& options, QByteArray* out, QString* error) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return fail(error, QStringLiteral("the image is empty"));
    if (image.width() > 65535 || image.height() > 65535)
        return fail(error, QStringLiteral("GIF images are at most 65535 pixels on a side"));

    const IndexedImage ix = reduceColors(image, 256);
    const int bits = options.optimizeColorMap ? GifBitSize(int(ix.palette.size())) : 8;
    const int mapSize = 1 << bits;
    std::vector<GifColorType> colors(std::size_t(mapSize), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < ix.palette.size(); ++i)
        colors[i] = GifColorType{GifByteType(qRed(ix.palette[i])), GifByteType(qGreen(ix.palette[i])),
                                 GifByteType(qBlue(ix.palette[i]))};
    ColorMapObject* cmap = GifMakeMapObject(mapSize, colors.data());
    if (!cmap) return fail(error, QStringLiteral("not enough memory"));

    QByteArray buffer;
    int err = 0;
    GifFileType* gif = EGifOpen(&buffer, writeToMemory, &err);
    if (!gif) {
        GifFreeMapObject(cmap);
        return fail(error, gifReason(err));
    }
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, ix.width, ix.height, bits, 0, cmap) != GIF_ERROR;
    if (ok && options.transparentBottomLeft) {
        GraphicsControlBlock gcb;
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.UserInputFlag = false;
        gcb.DelayTime = 0;
        gcb.TransparentColor = ix.index(0, ix.height - 1);
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext) != GIF_ERROR;
    }
    if (ok) ok = EGifPutImageDesc(gif, 0, 0, ix.width, ix.height, false, nullptr) != GIF_ERROR;
    std::vector<GifPixelType> line(static_cast<std::size_t>(ix.width));
    for (int y = 0; ok && y < ix.height; ++y) {
        std::copy_n(ix.indices.data() + std::size_t(y) * ix.width, ix.width, line.data());
        ok = EGifPutLine(gif, line.data(), ix.width) != GIF_ERROR;
    }
    const int lastError = ok ? 0 : gif->Error;
    if (EGifCloseFile(gif, &err) == GIF_ERROR && ok) {
        ok = false;
        GifFreeMapObject(cmap);
        return fail(error, gifReason(err));
    }
    GifFreeMapObject(cmap);
    if (!ok) return fail(error, gifReason(lastError));
    *out = buffer;
    return true;
}

}  // namespace pixoral
