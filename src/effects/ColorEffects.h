#pragma once
// Colour effects of the Image menu: Invert, Grayscale, the colour roll and swaps, and the
// pixel format commands. Each works on a bitmap; the main window's handler passes the
// workspace image and repaints. Those that change the pixel format return false, leaving the
// image as it was, when the machine cannot hold the converted image.
#include "canvas/Bitmap.h"

namespace pixoral::effects {

// Bitwise complement of every pixel byte, in the bitmap's own format (on an 8-bit image
// this inverts the palette index). The reserved fourth byte of the device format stays.
void invert(Bitmap& bmp);

// Grey g = 0.3 red + 0.59 green + 0.11 blue, rounded; the bitmap becomes 24-bit.
bool grayscale(Bitmap& bmp);

enum class ChannelShuffle { RollRGB, SwapRG, SwapGB, SwapRB };
// New bytes (0, 1, 2) from the old ones of a 24-bit pixel (B, G, R order):
//   RollRGB (1, 2, 0), SwapRG (1, 0, 2), SwapGB (0, 2, 1), SwapRB (2, 1, 0).
// Works in 24 bits; the result is left in the 8-bit format, as the menu commands do.
bool shuffleChannels(Bitmap& bmp, ChannelShuffle how);
// The same on a bitmap that is already 24-bit, leaving it 24-bit (for callers that chain).
bool shuffleChannels24(Bitmap& bmp, ChannelShuffle how);

// Image > Pixel Format: "8 bit" or "24 bit".
bool convertPixelFormat(Bitmap& bmp, PixelFormat to);

}  // namespace pixoral::effects
