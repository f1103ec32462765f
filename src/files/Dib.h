#pragma once
// Device-independent bitmaps as metafiles carry them: a BITMAPINFOHEADER (or the old core
// header), a colour table and the pixel rows. Every read is checked against the given sizes.
#include <QImage>
#include <cstdint>

namespace pixoral {

struct DecodedDib {
    QImage image;          // RGB32, top row first
    bool bottomUp = true;  // how the rows were stored (StretchDIBits counts source rows from the bottom)
};

// Palette entries are RGB quads, or with paletteIndexes 16-bit indexes into the halftone
// palette (the metafile's own palette is not tracked). Rows missing from a short pixel
// block stay white. False when the header is unusable or the size is beyond the limits.
bool decodeDib(const std::uint8_t* info, std::int64_t infoSize, const std::uint8_t* bits, std::int64_t bitsSize,
               bool paletteIndexes, DecodedDib* out);

// A packed DIB: header, colour table and pixels in one block.
bool decodePackedDib(const std::uint8_t* data, std::int64_t size, bool paletteIndexes, DecodedDib* out);

// One image of an icon file: a packed DIB whose header counts the height twice, the colour
// rows followed by a 1-bit mask (set bits transparent). A 32-bit image with any alpha in it
// takes its transparency from that alpha instead. ARGB32 on success; false when the header
// is unusable or the size is beyond the limits. A mask cut short leaves the image opaque.
bool decodeIconDib(const std::uint8_t* data, std::int64_t size, QImage* out);

}  // namespace pixoral
