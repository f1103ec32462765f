#pragma once
// The pattern strip: sixteen 8 by 8 brush patterns side by side in one bitmap, pattern n in
// columns 8n .. 8n + 7. Plain functions on bitmaps; the main window's list and menus call them.
#include <QString>

#include "canvas/Bitmap.h"

namespace pixoral {

constexpr int kPatternCount = 16;
constexpr int kPatternSide = 8;  // also the size of a saved pattern file
constexpr int kStripWidth = kPatternCount * kPatternSide;

// The strip when there is no usable file: 128 by 8, white, 4 bits a pixel.
Bitmap emptyPatternStrip();

// Reads a strip. It keeps the file's depth where that loses nothing the patterns can show
// (4 and 24 bits; anything else stays 32 bits), and a strip narrower or lower than 128 by 8
// is widened with white so every pattern has its cell. False (with the reason) when the file
// cannot be read as a bitmap; `out` is then untouched.
bool loadPatternStrip(const QString& path, Bitmap* out, QString* error);

// Writes the strip over the file at `path` in one step (the old file stays whole until the
// new one is complete). `keepOldAside`: the old file, which could not be read, is first copied
// to path + ".bak" rather than lost under the new strip. False with the reason when it could
// not be written; the old file is then untouched.
bool savePatternStrip(const QString& path, const Bitmap& strip, bool keepOldAside, QString* error);

// Pattern n copied out of the strip as a new 8 by 8, 4-bit bitmap.
Bitmap patternFromStrip(const Bitmap& strip, int n);

// Samples the centres of an 8 by 8 grid over the image: pixel (i, j) is the image pixel
// (i * (W div 8) + W div 16, j * (H div 8) + H div 16). Gives an 8 by 8, 4-bit bitmap.
Bitmap samplePattern(const Bitmap& image);

// Draws an 8 by 8 pattern into the strip's cell n (other columns untouched).
void putPatternInStrip(Bitmap& strip, int n, const Bitmap& pattern);

// The whole image stretched down to a side by side, 4-bit bitmap (a pattern file's content).
Bitmap reduceToPattern(const Bitmap& image, int side = kPatternSide);

}  // namespace pixoral
