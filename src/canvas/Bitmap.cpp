#include "canvas/Bitmap.h"

#include <algorithm>
#include <atomic>
#include <array>
#include <cstdint>
#include <cstring>
#include <new>

#include "canvas/Canvas.h"
#include "canvas/Raster.h"
#include "core/LargeBlocks.h"
#include "core/Parallel.h"

namespace pixoral {

namespace {

QImage::Format qtFormat(PixelFormat f) {
    switch (f) {
    case PixelFormat::Device: return QImage::Format_RGB32;
    case PixelFormat::pf24bit: return QImage::Format_BGR888;
    case PixelFormat::pf8bit: return QImage::Format_Indexed8;
    case PixelFormat::pf4bit: return QImage::Format_Grayscale8;
    case PixelFormat::pf1bit: return QImage::Format_Mono;
    }
    return QImage::Format_RGB32;
}

int storeWidth(int w, PixelFormat f) { return f == PixelFormat::pf4bit ? (w + 1) / 2 : w; }

int rowBytes(int w, PixelFormat f) { return static_cast<int>((static_cast<long long>(w) * bitsPerPixel(f) + 7) / 8); }

// A store of the image class's format qf, w store pixels by h rows, contents undefined; a
// null image when memory cannot hold it. Stores of two large pages or more live in large
// blocks (see LargeBlocks.h) that go back to the pool when the last image sharing them lets go.
QImage newStore(int w, int h, QImage::Format qf) {
    const qsizetype bpl = (static_cast<qsizetype>(w) * QImage::toPixelFormat(qf).bitsPerPixel() + 31) / 32 * 4;
    const auto bytes = static_cast<std::size_t>(bpl) * static_cast<std::size_t>(h);
    if (bytes < 2 * large::kPage) return QImage(w, h, qf);
    struct Block {
        void* data;
        std::size_t capacity;
    };
    // Stores start at staggered offsets into their blocks: blocks are 2 MiB aligned, and two
    // stores whose rows sit at the same address bits make every row copy between them stall on
    // addresses the processor takes for the same (a blit ran at half speed).
    constexpr std::size_t kStagger = 4096 + 256, kStaggers = 8;
    static std::atomic<unsigned> nextStagger{0};
    const std::size_t offset = (nextStagger++ % kStaggers) * kStagger;
    std::size_t capacity = 0;
    void* data = large::Pool::instance().take(bytes + kStaggers * kStagger, &capacity);
    if (!data) return QImage();
    const QImageCleanupFunction giveBack = [](void* cookie) {
        const auto* b = static_cast<Block*>(cookie);
        large::Pool::instance().give(b->data, b->capacity);
        delete b;
    };
    auto* cookie = new (std::nothrow) Block{data, capacity};
    if (!cookie) {
        large::Pool::instance().give(data, capacity);
        return QImage();
    }
    QImage img(static_cast<uchar*>(data) + offset, w, h, bpl, qf, giveBack, cookie);
    if (img.isNull()) giveBack(cookie);
    return img;
}

// Rows of a large store are first written over the cores, which also shares out the page
// faults of a fresh block.
constexpr int kRowsAlone = 1 << 30;
int minRowsFor(const QImage& img) {
    return img.sizeInBytes() >= static_cast<qsizetype>(2 * large::kPage) ? 32 : kRowsAlone;
}

// A white store of the given size (or, when every pixel is about to be written anyway, one
// with only its padding cleared), or a null image when memory cannot hold it.
QImage makeStore(int w, int h, PixelFormat f, bool white = true) {
    if (w <= 0 || h <= 0) return QImage();
    QImage img = newStore(storeWidth(w, f), h, qtFormat(f));
    if (img.isNull()) return img;
    if (f == PixelFormat::pf8bit) {
        QList<QRgb> table(256);
        const std::uint32_t* pal = raster::halftoneNative();
        for (int i = 0; i < 256; ++i) table[i] = 0xFF000000u | pal[i];
        img.setColorTable(table);
    } else if (f == PixelFormat::pf1bit) {
        img.setColorTable({0xFF000000u, 0xFFFFFFFFu});
    }
    // White is index 255 in the 8-bit palette and all ones everywhere else. Padding stays 0
    // so that saved rows are deterministic.
    const int data = rowBytes(w, f);
    std::uint8_t* top = img.bits();
    const qsizetype stride = img.bytesPerLine();
    parallel::forRows(h, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* row = top + y * stride;
            if (!white) {
                std::memset(row + data - (data > 0), 0, static_cast<std::size_t>(stride - data + (data > 0)));
                continue;
            }
            std::memset(row, f == PixelFormat::pf8bit ? 255 : 0xFF, static_cast<std::size_t>(data));
            std::memset(row + data, 0, static_cast<std::size_t>(stride - data));
            if (f == PixelFormat::pf4bit && (w & 1)) row[data - 1] = 0xF0;
            if (f == PixelFormat::pf1bit && (w & 7)) row[data - 1] = static_cast<std::uint8_t>(0xFF << (8 - (w & 7)));
        }
    }, minRowsFor(img));
    return img;
}

// Copies the first n pixels of a row of format f; packed formats keep the other bits of
// the last partial byte of the destination.
void copyPixelsRaw(const std::uint8_t* src, std::uint8_t* dst, PixelFormat f, int n) {
    const int bits = bitsPerPixel(f);
    const long long totalBits = static_cast<long long>(n) * bits;
    const std::size_t full = static_cast<std::size_t>(totalBits / 8);
    std::memcpy(dst, src, full);
    const int rem = static_cast<int>(totalBits % 8);
    if (rem) {
        const std::uint8_t m = static_cast<std::uint8_t>(0xFF << (8 - rem));
        dst[full] = static_cast<std::uint8_t>((src[full] & m) | (dst[full] & ~m));
    }
}

}  // namespace

const char* pixelFormatName(PixelFormat f) {
    switch (f) {
    case PixelFormat::Device: return "device";
    case PixelFormat::pf1bit: return "pf1bit";
    case PixelFormat::pf4bit: return "pf4bit";
    case PixelFormat::pf8bit: return "pf8bit";
    case PixelFormat::pf24bit: return "pf24bit";
    }
    return "device";
}

int bitsPerPixel(PixelFormat f) {
    switch (f) {
    case PixelFormat::Device: return 32;
    case PixelFormat::pf1bit: return 1;
    case PixelFormat::pf4bit: return 4;
    case PixelFormat::pf8bit: return 8;
    case PixelFormat::pf24bit: return 24;
    }
    return 32;
}

const TColor* halftonePalette() {
    static const auto table = [] {
        std::array<TColor, 256> t{};
        const std::uint32_t* pal = raster::halftoneNative();
        for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = raster::fromNative(pal[i]);
        return t;
    }();
    return table.data();
}

int nearestHalftoneIndex(TColor rgb) { return raster::nearestHalftone(raster::toNative(rgb)); }
int nearestStandardIndex(TColor rgb) { return raster::nearestStandard(raster::toNative(rgb)); }

bool bitmapSizeAllowed(int width, int height) {
    return width >= 0 && height >= 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
           static_cast<long long>(width) * height <= kMaxBitmapPixels;
}

Bitmap::Bitmap() : canvas_(std::make_unique<Canvas>(*this)) {}

Bitmap::Bitmap(int width, int height, PixelFormat format)
    : format_(format), canvas_(std::make_unique<Canvas>(*this)) {
    setSize(width, height);
}

Bitmap::Bitmap(const Bitmap& other)
    : transparent(other.transparent),
      transparentColor(other.transparentColor),
      img_(other.img_),
      format_(other.format_),
      width_(other.width_),
      height_(other.height_),
      canvas_(std::make_unique<Canvas>(*this)) {}

Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this == &other) return *this;
    img_ = other.img_;
    format_ = other.format_;
    width_ = other.width_;
    height_ = other.height_;
    transparent = other.transparent;
    transparentColor = other.transparentColor;
    return *this;
}

Bitmap::~Bitmap() = default;

int Bitmap::width() const { return width_; }
int Bitmap::height() const { return height_; }

bool Bitmap::setWidth(int w) { return setSize(w, height_); }
bool Bitmap::setHeight(int h) { return setSize(width_, h); }
bool Bitmap::setSize(int w, int h) { return reshape(std::max(w, 0), std::max(h, 0), format_, true); }

bool Bitmap::reshape(int w, int h, PixelFormat f, bool keepContent) {
    if (!bitmapSizeAllowed(w, h)) return false;
    if (w == width_ && h == height_ && f == format_ && (w == 0 || h == 0 || !img_.isNull())) return true;
    QImage next = makeStore(w, h, f);
    if (w > 0 && h > 0 && next.isNull()) return false;
    if (keepContent && !img_.isNull() && !next.isNull() && f == format_) {
        const int cw = std::min(w, width_);
        const int ch = std::min(h, height_);
        for (int y = 0; y < ch; ++y) copyPixelsRaw(img_.constScanLine(y), next.scanLine(y), f, cw);
    }
    img_ = std::move(next);
    width_ = w;
    height_ = h;
    format_ = f;
    return true;
}

void Bitmap::setPixelFormat(PixelFormat f) {
    if (f == format_) return;
    if (img_.isNull()) {
        format_ = f;
        return;
    }
    // A large picture pays once for the table that makes every later 8-bit store one load.
    const bool wholeCube = f == PixelFormat::pf8bit && raster::prepareHalftoneLookupFor(static_cast<long long>(width_) * height_);
    // Indexed rows are otherwise compared with what they hold before being written, so they start white.
    const bool indexed = (f == PixelFormat::pf8bit && !wholeCube) || f == PixelFormat::pf4bit;
    QImage next = makeStore(width_, height_, f, indexed);
    if (next.isNull()) return;  // out of memory: keep the pixels as they are
    const int w = width_;
    const PixelFormat from = format_;
    const std::uint8_t* srcTop = img_.constBits();
    const qsizetype srcStride = img_.bytesPerLine();
    std::uint8_t* dstTop = next.bits();
    const qsizetype dstStride = next.bytesPerLine();
    // Every row converts alone, so the rows are shared out over the cores.
    parallel::forRows(height_, [&](int y0, int y1) {
        constexpr int kChunk = 1024;
        std::uint32_t buf[kChunk];
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* src = srcTop + y * srcStride;
            std::uint8_t* dst = dstTop + y * dstStride;
            if (from == PixelFormat::Device && f == PixelFormat::pf24bit) {
                const auto* s = reinterpret_cast<const std::uint32_t*>(src);
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t v = s[x];
                    dst[3 * x] = static_cast<std::uint8_t>(v);
                    dst[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                    dst[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
                }
                continue;
            }
            if (from == PixelFormat::pf24bit && f == PixelFormat::Device) {
                auto* d = reinterpret_cast<std::uint32_t*>(dst);
                for (int x = 0; x < w; ++x)
                    d[x] = 0xFF000000u | (std::uint32_t(src[3 * x + 2]) << 16) | (std::uint32_t(src[3 * x + 1]) << 8) | src[3 * x];
                continue;
            }
            for (int x0 = 0; x0 < w; x0 += kChunk) {
                const int n = std::min(kChunk, w - x0);
                raster::fetchRow(src, from, x0, n, buf);
                raster::storeRow(dst, f, x0, n, buf);
            }
        }
    });
    img_ = std::move(next);
    format_ = f;
}

void Bitmap::ownStore() {
    if (img_.isNull() || img_.isDetached()) return;
    QImage own = newStore(img_.width(), img_.height(), img_.format());
    if (own.isNull()) return;  // no memory: the image class's own copy will say so
    const std::uint8_t* from = img_.constBits();
    std::uint8_t* to = own.bits();
    const qsizetype fromStride = img_.bytesPerLine(), toStride = own.bytesPerLine();
    const auto rowLength = static_cast<std::size_t>(std::min(fromStride, toStride));
    parallel::forRows(height_, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) std::memcpy(to + y * toStride, from + y * fromStride, rowLength);
    }, minRowsFor(own));
    own.setColorTable(img_.colorTable());
    own.setDotsPerMeterX(img_.dotsPerMeterX());
    own.setDotsPerMeterY(img_.dotsPerMeterY());
    img_ = std::move(own);
}

std::uint8_t* Bitmap::scanLine(int y) {
    if (img_.isNull() || y < 0 || y >= height_) return nullptr;
    ownStore();
    return img_.scanLine(y);
}

const std::uint8_t* Bitmap::scanLine(int y) const {
    if (img_.isNull() || y < 0 || y >= height_) return nullptr;
    return img_.constScanLine(y);
}

int Bitmap::bytesPerLine() const { return img_.isNull() ? 0 : static_cast<int>(img_.bytesPerLine()); }
int Bitmap::rowDataBytes() const { return rowBytes(width_, format_); }

TColor Bitmap::pixel(int x, int y) const {
    if (img_.isNull() || x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
    return raster::fromNative(raster::fetchPixel(img_.constScanLine(y), format_, x));
}

void Bitmap::setPixel(int x, int y, TColor c) {
    if (img_.isNull() || x < 0 || y < 0 || x >= width_ || y >= height_ || c == clNone) return;
    ownStore();
    raster::storePixel(img_.scanLine(y), format_, x, raster::toNative(c));
}

TColor Bitmap::effectiveTransparentColor() const {
    if (transparentColor == clDefault) return isEmpty() ? clWhite : pixel(0, height_ - 1);
    return colorToRGB(transparentColor);
}

void Bitmap::mask(TColor c) {
    if (img_.isNull()) {
        format_ = PixelFormat::pf1bit;
        return;
    }
    QImage next = makeStore(width_, height_, PixelFormat::pf1bit);
    if (next.isNull()) return;
    const std::uint32_t target = raster::toNative(c);
    constexpr int kChunk = 1024;
    std::uint32_t buf[kChunk];
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* src = img_.constScanLine(y);
        std::uint8_t* dst = next.scanLine(y);
        std::memset(dst, 0, static_cast<std::size_t>(next.bytesPerLine()));
        for (int x0 = 0; x0 < width_; x0 += kChunk) {
            const int n = std::min(kChunk, width_ - x0);
            raster::fetchRow(src, format_, x0, n, buf);
            for (int i = 0; i < n; ++i) {
                const int x = x0 + i;
                if (buf[i] == target) dst[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
            }
        }
    }
    img_ = std::move(next);
    format_ = PixelFormat::pf1bit;
}

void Bitmap::fill(TColor c) {
    if (img_.isNull() || c == clNone) return;
    if (!img_.isDetached()) {
        // Every pixel is about to be written: a fresh store rather than a copy of the shared one.
        QImage fresh = makeStore(width_, height_, format_);
        if (!fresh.isNull()) img_ = std::move(fresh);
    }
    const std::uint32_t v = raster::toNative(c);
    if (format_ == PixelFormat::Device) {
        img_.fill(0xFF000000u | v);
        return;
    }
    constexpr int kChunk = 1024;
    std::uint32_t buf[kChunk];
    std::fill(buf, buf + kChunk, v);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = img_.scanLine(y);
        for (int x0 = 0; x0 < width_; x0 += kChunk) raster::storeRow(row, format_, x0, std::min(kChunk, width_ - x0), buf);
    }
}

Canvas& Bitmap::canvas() { return *canvas_; }
const Canvas& Bitmap::canvas() const { return *canvas_; }

QImage Bitmap::toImage() const {
    if (img_.isNull()) return QImage();
    if (format_ == PixelFormat::Device) return img_;
    QImage out = newStore(width_, height_, QImage::Format_RGB32);
    if (out.isNull()) return out;
    std::uint8_t* outTop = out.bits();
    const qsizetype outStride = out.bytesPerLine();
    parallel::forRows(height_, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            auto* d = reinterpret_cast<std::uint32_t*>(outTop + y * outStride);
            if (format_ == PixelFormat::pf24bit) {  // what effects leave most often: straight bytes
                const std::uint8_t* s = img_.constScanLine(y);
                for (int x = 0; x < width_; ++x, s += 3)
                    d[x] = 0xFF000000u | (std::uint32_t(s[2]) << 16) | (std::uint32_t(s[1]) << 8) | s[0];
                continue;
            }
            raster::fetchRow(img_.constScanLine(y), format_, 0, width_, d);
            for (int x = 0; x < width_; ++x) d[x] |= 0xFF000000u;
        }
    });
    return out;
}

void Bitmap::fromImage(const QImage& img) {
    if (img.isNull() || !bitmapSizeAllowed(img.width(), img.height())) {
        img_ = QImage();
        width_ = height_ = 0;
        format_ = PixelFormat::Device;
        return;
    }
    QImage conv = img.format() == QImage::Format_RGB32 ? img : img.convertToFormat(QImage::Format_RGB32);
    if (conv.isNull()) return;
    img_ = std::move(conv);
    width_ = img_.width();
    height_ = img_.height();
    format_ = PixelFormat::Device;
}

}  // namespace pixoral
