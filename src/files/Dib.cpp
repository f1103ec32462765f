#include "files/Dib.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Bitmap.h"

namespace pixoral {

namespace {

std::uint32_t le32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
std::uint16_t le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

struct Header {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0, height = 0;
    bool bottomUp = true;
    int bpp = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    std::int64_t tableOffset = 0;  // where the colour table starts in the info block
    int entrySize = 4;
};

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;

bool readHeader(const std::uint8_t* info, std::int64_t size, Header& h) {
    if (size < 12) return false;
    h.headerSize = le32(info);
    if (h.headerSize == 12) {
        h.width = le16(info + 4);
        h.height = le16(info + 6);
        h.bpp = le16(info + 10);
        h.entrySize = 3;
        h.tableOffset = 12;
    } else {
        if (h.headerSize < 40 || h.headerSize > size) return false;
        h.width = std::int32_t(le32(info + 4));
        std::int32_t rawHeight = std::int32_t(le32(info + 8));
        if (rawHeight == INT32_MIN) return false;
        h.bottomUp = rawHeight > 0;
        h.height = rawHeight < 0 ? -std::int64_t(rawHeight) : rawHeight;
        h.bpp = le16(info + 14);
        h.compression = le32(info + 16);
        h.colorsUsed = le32(info + 32);
        h.tableOffset = h.headerSize;
        if (h.compression == kBitfields) {
            if (h.headerSize >= 52) {
                for (int i = 0; i < 3; ++i) h.masks[i] = le32(info + 40 + 4 * i);
            } else {
                if (size < 52) return false;
                for (int i = 0; i < 3; ++i) h.masks[i] = le32(info + 40 + 4 * i);
                h.tableOffset = 52;
            }
        }
    }
    if (!imageSizeAllowed(h.width, h.height)) return false;
    switch (h.bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
    }
    if (h.compression == kRle8 && h.bpp != 8) return false;
    if (h.compression == kRle4 && h.bpp != 4) return false;
    if (h.compression == kBitfields && h.bpp != 16 && h.bpp != 32) return false;
    if (h.compression > kBitfields) return false;
    if (h.compression == kRgb && h.bpp == 16) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    }
    if (h.compression == kRgb && h.bpp == 32) {
        h.masks[0] = 0xFF0000;
        h.masks[1] = 0xFF00;
        h.masks[2] = 0xFF;
    }
    return true;
}

// Extracts a colour channel through a bit mask, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;
    explicit Channel(std::uint32_t m) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        max = m >> shift;
    }
    int operator()(std::uint32_t v) const { return max ? int(((v & mask) >> shift) * 255 / max) : 0; }
};

void decodeRle(const Header& h, const std::uint8_t* bits, std::int64_t size, const std::vector<QRgb>& table,
               QImage& img) {
    // Rows in RLE order are bottom-up for a positive height; y counts rows as stored.
    const int w = int(h.width), rows = int(h.height);
    auto put = [&](int x, int y, int index) {
        if (x < 0 || x >= w || y < 0 || y >= rows) return;
        const int row = h.bottomUp ? rows - 1 - y : y;
        reinterpret_cast<QRgb*>(img.scanLine(row))[x] = index < int(table.size()) ? table[index] : qRgb(0, 0, 0);
    };
    const bool four = h.compression == kRle4;
    std::int64_t p = 0;
    int x = 0, y = 0;
    while (p + 1 < size && y < rows) {
        const int count = bits[p], value = bits[p + 1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i, ++x) put(x, y, four ? ((i & 1) ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // delta
            if (p + 1 >= size) break;
            x += bits[p];
            y += bits[p + 1];
            p += 2;
        } else {  // absolute run of `value` pixels, padded to a word
            const std::int64_t bytes = four ? (value + 1) / 2 : value;
            if (p + bytes > size) break;
            for (int i = 0; i < value; ++i, ++x) {
                const int b = four ? bits[p + i / 2] : bits[p + i];
                put(x, y, four ? ((i & 1) ? b & 15 : b >> 4) : b);
            }
            p += (bytes + 1) & ~std::int64_t(1);
        }
    }
}

}  // namespace

bool decodeDib(const std::uint8_t* info, std::int64_t infoSize, const std::uint8_t* bits, std::int64_t bitsSize,
               bool paletteIndexes, DecodedDib* out) {
    if (!info || infoSize <= 0) return false;
    Header h;
    if (!readHeader(info, infoSize, h)) return false;

    std::vector<QRgb> table;
    if (h.bpp <= 8) {
        const std::uint32_t full = 1u << h.bpp;
        const std::uint32_t n = h.colorsUsed && h.colorsUsed < full ? h.colorsUsed : full;
        const int entry = paletteIndexes ? 2 : h.entrySize;
        const TColor* halftone = halftonePalette();
        table.assign(full, qRgb(0, 0, 0));
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::int64_t at = h.tableOffset + std::int64_t(i) * entry;
            if (at + entry > infoSize) break;
            const std::uint8_t* e = info + at;
            if (paletteIndexes) {
                const TColor c = halftone[le16(e) & 0xFF];
                table[i] = qRgb(getRValue(c), getGValue(c), getBValue(c));
            } else {
                table[i] = qRgb(e[2], e[1], e[0]);
            }
        }
    }

    QImage img(int(h.width), int(h.height), QImage::Format_RGB32);
    if (img.isNull()) return false;
    img.fill(qRgb(255, 255, 255));
    if (!bits || bitsSize < 0) bitsSize = 0;

    if (h.compression == kRle8 || h.compression == kRle4) {
        decodeRle(h, bits, bitsSize, table, img);
    } else {
        const std::int64_t stride = ((h.width * h.bpp + 31) / 32) * 4;
        const std::int64_t available = stride > 0 ? std::min<std::int64_t>(h.height, bitsSize / stride) : 0;
        const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
        for (std::int64_t r = 0; r < available; ++r) {
            const std::uint8_t* src = bits + r * stride;
            const int y = int(h.bottomUp ? h.height - 1 - r : r);
            QRgb* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < int(h.width); ++x) {
                switch (h.bpp) {
                case 1: dst[x] = table[(src[x >> 3] >> (7 - (x & 7))) & 1]; break;
                case 4: dst[x] = table[(x & 1) ? src[x >> 1] & 15 : src[x >> 1] >> 4]; break;
                case 8: dst[x] = table[src[x]]; break;
                case 16: {
                    const std::uint32_t v = le16(src + 2 * x);
                    dst[x] = qRgb(red(v), green(v), blue(v));
                    break;
                }
                case 24: dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
                case 32: {
                    const std::uint32_t v = le32(src + 4 * x);
                    dst[x] = qRgb(red(v), green(v), blue(v));
                    break;
                }
                }
            }
        }
    }
    out->image = img;
    out->bottomUp = h.bottomUp;
    return true;
}

bool decodePackedDib(const std::uint8_t* data, std::int64_t size, bool paletteIndexes, DecodedDib* out) {
    Header h;
    if (!data || !readHeader(data, size, h)) return false;
    std::int64_t tableEntries = 0;
    if (h.bpp <= 8) {
        const std::uint32_t full = 1u << h.bpp;
        tableEntries = h.colorsUsed && h.colorsUsed < full ? h.colorsUsed : full;
    }
    const std::int64_t offset = h.tableOffset + tableEntries * (paletteIndexes ? 2 : h.entrySize);
    if (offset > size) return false;
    return decodeDib(data, offset, data + offset, size - offset, paletteIndexes, out);
}

bool decodeIconDib(const std::uint8_t* data, std::int64_t size, QImage* out) {
    Header h;
    if (!data || !readHeader(data, size, h) || h.headerSize < 40 || h.height < 2) return false;
    const std::int64_t height = h.height / 2;
    // The colour part alone is an ordinary DIB: decode a copy whose header says so.
    std::vector<std::uint8_t> copy(data, data + size);
    const std::int32_t rawHeight = std::int32_t(h.bottomUp ? height : -height);
    for (int i = 0; i < 4; ++i) copy[8 + i] = std::uint8_t(std::uint32_t(rawHeight) >> (8 * i));
    DecodedDib colours;
    if (!decodePackedDib(copy.data(), size, false, &colours)) return false;
    QImage img = colours.image.convertToFormat(QImage::Format_ARGB32);
    if (img.isNull()) return false;
    if (h.compression == kRgb || h.compression == kBitfields) {
        std::int64_t tableEntries = 0;
        if (h.bpp <= 8) {
            const std::uint32_t full = 1u << h.bpp;
            tableEntries = h.colorsUsed && h.colorsUsed < full ? h.colorsUsed : full;
        }
        const std::int64_t pixels = h.tableOffset + tableEntries * h.entrySize;
        const std::int64_t stride = ((h.width * h.bpp + 31) / 32) * 4;
        const std::int64_t maskStride = ((h.width + 31) / 32) * 4;
        const std::int64_t maskAt = pixels + stride * height;
        const auto rowOf = [&](std::int64_t r) { return int(h.bottomUp ? height - 1 - r : r); };
        bool anyAlpha = false;
        if (h.bpp == 32 && maskAt <= size) {
            for (std::int64_t r = 0; r < height && !anyAlpha; ++r)
                for (std::int64_t x = 0; x < h.width && !anyAlpha; ++x) anyAlpha = data[pixels + r * stride + 4 * x + 3] != 0;
        }
        if (anyAlpha) {
            for (std::int64_t r = 0; r < height; ++r) {
                QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(rowOf(r)));
                for (std::int64_t x = 0; x < h.width; ++x)
                    row[x] = (row[x] & 0xFFFFFFu) | (QRgb(data[pixels + r * stride + 4 * x + 3]) << 24);
            }
        } else if (maskAt + maskStride * height <= size) {
            for (std::int64_t r = 0; r < height; ++r) {
                const std::uint8_t* mask = data + maskAt + r * maskStride;
                QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(rowOf(r)));
                for (std::int64_t x = 0; x < h.width; ++x)
                    if ((mask[x >> 3] >> (7 - (x & 7))) & 1) row[x] &= 0xFFFFFFu;
            }
        }
    }
    *out = img;
    return true;
}

}  // namespace pixoral
