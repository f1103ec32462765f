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

namespace pixoral {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: we jump back to
// the setjmp of the call that started the work, so a corrupt file becomes a message.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (cinfo->err->msg_code == JWRN_JPEG_EOF) err->truncated = true;
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
                 const QByteArray& data, QImage* img, bool* tooLarge) {
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
    bool tooLarge = false;
    const bool ok = decodeInner(&cinfo, &err, &progress, data, &img, &tooLarge);
    jpeg_destroy_decompress(&cinfo);
    QString why;
    if (tooLarge)
        why = QStringLiteral("the image is too large");
    else if (!ok)
        why = QStringLiteral("damaged JPEG data (%1)").arg(QString::fromLatin1(err.message));
    else if (err.truncated)
        why = QStringLiteral("the file is truncated");
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
