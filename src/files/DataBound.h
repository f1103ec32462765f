#pragma once
// How many pixels a file's bytes can fill at the best its format compresses. A header may
// claim any size; one that claims far more than the data after it can fill is damaged or
// hostile, and is refused before anything is allocated or decoded for it (a 1 KB JPEG
// claiming 16000 by 16000 pixels would otherwise cost a gigabyte and seconds to show grey).
// The bounds are the formats' own best cases, so no intact file is ever refused:
//
// - JPEG, Huffman coded: every 8 by 8 block of the image's full-resolution component needs at
//   least one bit (its DC code; no Huffman code is shorter), so a byte fills at most 8 blocks,
//   512 pixels. Arithmetic coding can store a flat picture in a small fraction of a bit per
//   block, so an arithmetic-coded file has only the general size bound of bitmaps.
// - GIF: an LZW code has at least 3 bits and stands for at most 4096 pixels, so a byte fills
//   at most 10922 pixels.
// - PNG: deflate stores at most 258 bytes in 2 bits (1032 to 1), and each row holds a filter
//   byte and the pixel bits of the header's depth and colour type.
//
// `bytes` is the whole file (or what is left of it after the header), so the bound errs on
// the side of opening.
#include <QString>
#include <QtGlobal>

namespace pixoral {

// a * b <= limit for a, b and limit of at least 0, without forming a product that may not fit
// (a header's sides may be anything up to 2^32).
constexpr bool productAtMost(long long a, long long b, long long limit) { return a == 0 || b <= limit / a; }

constexpr bool jpegDataCanFill(long long width, long long height, qint64 bytes) {
    return productAtMost((width + 7) / 8, (height + 7) / 8, bytes * 8);
}

constexpr bool gifDataCanFill(long long width, long long height, qint64 bytes) {
    return productAtMost(width, height, (bytes * 8 / 3 + 1) * 4096);
}

// bitsPerPixel: the PNG's bit depth times its channels (1 to 64).
constexpr bool pngDataCanFill(long long width, long long height, int bitsPerPixel, qint64 bytes) {
    return productAtMost(height, 1 + (width * bitsPerPixel + 7) / 8, bytes * 1032);
}

// The reason given for a refused header, in the words of an open message.
inline QString claimsMoreThanDataReason(long long width, long long height, qint64 bytes) {
    return QStringLiteral("the file claims %1 by %2 pixels, more than its %3 bytes of data can hold; it is damaged")
        .arg(width)
        .arg(height)
        .arg(bytes);
}

}  // namespace pixoral
