#include "files/JpegCodec.h"

// jpeglib.h needs size_t and FILE declared first.
#include <cstdio>
#include <cstring>
#include <csetjmp>
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <memory>

#include "canvas/Bitmap.h"
#include "files/DataBound.h"

namespace pixoral {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: we jump back to
// the setjmp of the call that started the work, so a corrupt file becomes a message.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    // The first warning that means picture data was lost, and where the decoder stood then.
    int lossCode;
    unsigned lossRow;
    int lossScan;
};

// Warnings after which libjpeg goes on with grey or guessed blocks: the picture is not the
// file's. (Extraneous bytes between segments and the like lose nothing and pass.)
bool losesData(int code) {
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC: return true;
    default: return false;
    }
}

void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (losesData(cinfo->err->msg_code) && err->lossCode == 0 && cinfo->is_decompressor) {
        auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        err->lossCode = cinfo->err->msg_code;
        err->lossRow = d->output_scanline;
        err->lossScan = d->input_scan_number;
    }
    cinfo->err->num_warnings++;
}

// A progressive file may hold thousands of tiny scans that take minutes to decode; real
// files have a few dozen at most.
constexpr int kMaxScans = 1000;

void onProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "too many scans in a progressive file");
        std::longjmp(err->jump, 1);
    }
}

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32Space = JCS_EXT_BGRA;
#else
constexpr J_COLOR_SPACE kRgb32Space = JCS_EXT_ARGB;
#endif

// Only trivially destructible locals live in this frame, so the longjmp skips no destructor.
bool decodeInner(jpeg_decompress_struct* cinfo, ErrorManager* err, jpeg_progress_mgr* progress,
                 const QByteArray& data, QImage* img, bool* tooLarge, bool* overclaims) {
    if (setjmp(err->jump)) return false;
    jpeg_create_decompress(cinfo);
    cinfo->progress = progress;
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(cinfo, TRUE);
    if (!imageSizeAllowed(cinfo->image_width, cinfo->image_height)) {
        *tooLarge = true;
        return false;
    }
    if (!cinfo->arith_code && !jpegDataCanFill(cinfo->image_width, cinfo->image_height, data.size())) {
        *overclaims = true;
        return false;
    }
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : kRgb32Space;
    jpeg_start_decompress(cinfo);
    *img = QImage(int(cinfo->output_width), int(cinfo->output_height), QImage::Format_RGB32);
    if (img->isNull()) {
        *tooLarge = true;
        jpeg_abort_decompress(cinfo);
        return false;
    }
    JSAMPARRAY cmykRow = cmyk ? (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                           cinfo->output_width * 4, 1)
                              : nullptr;
    // Adobe writes CMYK inverted; the marker says so.
    const bool inverted = cinfo->saw_Adobe_marker;
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = int(cinfo->output_scanline);
        if (!cmyk) {
            JSAMPROW row = img->scanLine(y);
            jpeg_read_scanlines(cinfo, &row, 1);
            continue;
        }
        jpeg_read_scanlines(cinfo, cmykRow, 1);
        QRgb* dst = reinterpret_cast<QRgb*>(img->scanLine(y));
        const JSAMPLE* s = cmykRow[0];
        for (unsigned x = 0; x < cinfo->output_width; ++x, s += 4) {
            int c = s[0], m = s[1], ye = s[2], k = s[3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                ye = 255 - ye;
                k = 255 - k;
            }
            dst[x] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

// Appends the compressed bytes to a QByteArray in 64 KiB steps.
struct ByteArrayDestination {
    jpeg_destination_mgr pub;
    QByteArray* out;
    JOCTET buffer[65536];
};

void initDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
    d->pub.next_output_byte = d->buffer;
    d->pub.free_in_buffer = sizeof d->buffer;
}

boolean emptyDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
    d->out->append(reinterpret_cast<const char*>(d->buffer), qsizetype(sizeof d->buffer));
    d->pub.next_output_byte = d->buffer;
    d->pub.free_in_buffer = sizeof d->buffer;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
    d->out->append(reinterpret_cast<const char*>(d->buffer), qsizetype(sizeof d->buffer - d->pub.free_in_buffer));
}

bool encodeInner(jpeg_compress_struct* cinfo, ErrorManager* err, ByteArrayDestination* dest, const QImage& img,
                 int quality, bool grayscale) {
    if (setjmp(err->jump)) return false;
    jpeg_create_compress(cinfo);
    cinfo->dest = &dest->pub;
    cinfo->image_width = JDIMENSION(img.width());
    cinfo->image_height = JDIMENSION(img.height());
    cinfo->input_components = 4;
    cinfo->in_color_space = kRgb32Space;
    jpeg_set_defaults(cinfo);
    if (grayscale) jpeg_set_colorspace(cinfo, JCS_GRAYSCALE);
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(img.constScanLine(int(cinfo->next_scanline)));
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

// What a damaged file still held, for the message: a progressive file is read whole before
// any row comes out, so it breaks off in a scan; a sequential one in a row.
QString damageReason(const ErrorManager& err, bool progressive, long long height) {
    const QString what = err.lossCode == JWRN_JPEG_EOF ? QStringLiteral("the file is cut short")
                                                       : QStringLiteral("the file is damaged");
    if (progressive)
        return QStringLiteral("%1: its picture data breaks off in scan %2, so parts of the picture are missing")
            .arg(what)
            .arg(err.lossScan);
    return QStringLiteral("%1: only %2 of its %3 rows could be read").arg(what).arg(err.lossRow).arg(height);
}

}  // namespace

bool decodeJpeg(const QByteArray& data, QImage* out, QString* error) {
    if (data.isEmpty()) {
        if (error) *error = QStringLiteral("the file is empty");
        return false;
    }
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    ErrorManager err;
    std::memset(&err, 0, sizeof err);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    jpeg_progress_mgr progress;
    std::memset(&progress, 0, sizeof progress);
    progress.progress_monitor = onProgress;
    QImage img;
    bool tooLarge = false, overclaims = false;
    const bool ok = decodeInner(&cinfo, &err, &progress, data, &img, &tooLarge, &overclaims);
    const bool progressive = cinfo.progressive_mode;
    const long long width = cinfo.image_width, height = cinfo.image_height;
    jpeg_destroy_decompress(&cinfo);
    QString why;
    if (tooLarge)
        why = QStringLiteral("the image is too large");
    else if (overclaims)
        why = claimsMoreThanDataReason(width, height, data.size());
    else if (!ok)
        why = QStringLiteral("damaged JPEG data (%1)").arg(QString::fromLatin1(err.message));
    else if (err.lossCode != 0)
        why = damageReason(err, progressive, height);
    if (!why.isEmpty()) {
        if (error) *error = why;
        return false;
    }
    *out = img;
    return true;
}

bool encodeJpeg(const QImage& image, int quality, bool grayscale, QByteArray* out, QString* error) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
        if (error) *error = QStringLiteral("the image is empty");
        return false;
    }
    if (image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION) {
        if (error) *error = QStringLiteral("JPEG images are at most %1 pixels on a side").arg(JPEG_MAX_DIMENSION);
        return false;
    }
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    jpeg_compress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    ErrorManager err;
    std::memset(&err, 0, sizeof err);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    auto dest = std::make_unique<ByteArrayDestination>();
    dest->pub.init_destination = initDestination;
    dest->pub.empty_output_buffer = emptyDestination;
    dest->pub.term_destination = termDestination;
    dest->out = &bytes;
    const bool ok = encodeInner(&cinfo, &err, dest.get(), img, std::clamp(quality, 1, 100), grayscale);
    jpeg_destroy_compress(&cinfo);
    if (!ok) {
        if (error) *error = QStringLiteral("JPEG encoding failed (%1)").arg(QString::fromLatin1(err.message));
        return false;
    }
    *out = bytes;
    return true;
}

}  // namespace pixoral
