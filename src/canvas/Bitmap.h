#pragma once
// A bitmap of one of the program's pixel formats over a QImage, with its own Canvas.
//
// Storage per format (rows are 4-byte aligned, top row 0, scanLine gives the real bytes):
//   Device  32 bits, QImage::Format_RGB32 (bytes B, G, R, unused)   - a new bitmap's format
//   pf24bit 24 bits, bytes B, G, R
//   pf8bit  8 bits, the fixed halftone palette of halftonePalette()
//   pf4bit  4 bits, two pixels a byte, high nibble first, the 16 standard colours
//   pf1bit  1 bit, most significant bit first, index 0 black and 1 white
// pf24bit is QImage::Format_BGR888; pf4bit has no QImage format, so its packed rows live in
// a Grayscale8 store (width + 1) / 2 bytes wide, which gives the right row length and still
// shares pixels on copy; toImage() converts for display.
// Indexed formats always use their fixed palette; writing a colour takes the nearest entry
// (squared RGB distance, the lowest index on a tie).
#include <QImage>
#include <QString>
#include <memory>

#include "canvas/Color.h"
#include "canvas/Geometry.h"

namespace pixoral {

class Canvas;

enum class PixelFormat { Device, pf1bit, pf4bit, pf8bit, pf24bit };

const char* pixelFormatName(PixelFormat f);  // "device", "pf1bit", ...
int bitsPerPixel(PixelFormat f);

// The fixed 256-colour halftone palette: the 16 standard colours, a colour cube, greys;
// entry 255 - i is the complement of entry i (0 black, 255 white).
const TColor* halftonePalette();
int nearestHalftoneIndex(TColor rgb);
int nearestStandardIndex(TColor rgb);  // 0..15, for pf4bit

// The largest bitmap the program makes: a side of 32768 and 2^28 pixels in all. The same
// bounds hold for File > New, every loader (so a hostile header cannot make one allocate
// without end) and every picture that replaces the workspace.
constexpr int kMaxBitmapSide = 32768;
constexpr long long kMaxBitmapPixels = 1LL << 28;
// Empty (0 by 0) included: what setSize accepts.
bool bitmapSizeAllowed(int width, int height);
// A picture the program can hold: at least one pixel, within the bounds. Wide arguments, so
// header fields are checked before anything narrows them.
constexpr bool imageSizeAllowed(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
           width * height <= kMaxBitmapPixels;
}

class Bitmap {
public:
    Bitmap();  // 0 by 0, device format
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Device);  // white
    // Copies share pixels until one side writes (undo snapshots are cheap). The canvas
    // state (pen, brush, font, copy mode) is never copied: each bitmap keeps its own.
    Bitmap(const Bitmap& other);
    // Assign: size, format, pixels and the transparency settings.
    Bitmap& operator=(const Bitmap& other);
    ~Bitmap();

    int width() const;
    int height() const;
    // Changing the size keeps the overlapping top-left content; new pixels are white.
    // Negative sizes count as 0. A size beyond bitmapSizeAllowed (or that memory cannot
    // hold) changes nothing and returns false.
    bool setWidth(int w);
    bool setHeight(int h);
    bool setSize(int w, int h);
    bool isEmpty() const { return width() <= 0 || height() <= 0; }

    PixelFormat pixelFormat() const { return format_; }
    void setPixelFormat(PixelFormat f);  // converts the pixels (nearest colour, no dithering)

    // Real row bytes of row y (0 <= y < height()).
    std::uint8_t* scanLine(int y);
    const std::uint8_t* scanLine(int y) const;
    int bytesPerLine() const;
    int rowDataBytes() const;  // the bytes of a row that hold pixels, no padding

    // Resolved colour of a pixel; -1 outside the bitmap.
    TColor pixel(int x, int y) const;
    // Sets one pixel directly (nearest palette entry on indexed formats); ignored outside.
    void setPixel(int x, int y, TColor c);

    bool transparent = false;
    TColor transparentColor = clDefault;  // clDefault: the bottom-left pixel's colour
    TColor effectiveTransparentColor() const;

    // Turns the bitmap into a 1-bit mask: pixels of colour c white, all others black.
    void mask(TColor c);

    // Every pixel set to one colour, directly (nearest palette entry on indexed formats).
    void fill(TColor c);

    Canvas& canvas();
    const Canvas& canvas() const;

    // A 32-bit (RGB32) view for display, clipboard and saving through Qt.
    QImage toImage() const;
    // Takes a QImage of any format; the bitmap becomes device format unless told otherwise.
    void fromImage(const QImage& img);

    // BMP files. Loading gives a device-format bitmap whatever the file's depth (the file's
    // own palette need not match the fixed ones, so keeping its depth could lose colours);
    // on failure the bitmap is unchanged. Writing keeps the bitmap's own format (1, 4, 8,
    // 24 or 32 bits) and replaces the file atomically. Errors come back as text.
    bool loadFromFile(const QString& path, QString* error = nullptr);
    bool saveToFile(const QString& path, QString* error = nullptr) const;

    // The raw store (for the canvas layer only).
    QImage& store() {
        ownStore();
        return img_;
    }
    const QImage& store() const { return img_; }

private:
    bool reshape(int w, int h, PixelFormat f, bool keepContent);
    // Before a write: a store shared with another bitmap is copied here rather than by the
    // image class, so that a large copy lands in large pages too (see Bitmap.cpp).
    void ownStore();

    QImage img_;  // null when either side is 0
    PixelFormat format_ = PixelFormat::Device;
    int width_ = 0;  // true pixel width (the store may be narrower for packed formats)
    int height_ = 0;
    std::unique_ptr<Canvas> canvas_;
};

}  // namespace pixoral
