#pragma once
// Reduction of an image to a palette of at most 256 colours for the GIF writer.
#include <QImage>
#include <cstdint>
#include <vector>

namespace pixoral {

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<QRgb> palette;           // opaque colours, at most the requested count
    std::vector<std::uint8_t> indices;   // width * height, row by row, top row first
    std::uint8_t index(int x, int y) const { return indices[std::size_t(y) * width + x]; }
};

// An image with at most maxColors distinct colours keeps them exactly (palette in order of
// first appearance, row by row); otherwise a median cut over a 15-bit histogram picks them
// and every pixel takes the nearest. Deterministic: the same image gives the same result.
IndexedImage reduceColors(const QImage& image, int maxColors = 256);

}  // namespace pixoral
