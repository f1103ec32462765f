#pragma once
// Effects that move pixels by fixed offsets or reflections: Move, Flip, Mirror, Wedge and
// Shadow. Byte effects work on every byte of a row's pixel data (rowSpan), whatever the
// pixel format; the reflections work on 24-bit pixels (the commands convert first).
#include "canvas/Bitmap.h"
#include "effects/EffectParams.h"

namespace pixoral::effects {

enum class Direction { Left, Right, Up, Down };

// Image > Move: Left and Right rotate the pixel bytes of every row by one byte (byte 0 goes
// to the end, or the last byte to the front): one pixel in 8 bits, one channel step in 24.
// Up and Down rotate whole rows by one (row 0 goes to the bottom, or the bottom row to the
// top); an image of one row is left as it is.
void moveBytes(Bitmap& bmp, Direction d);

// Image > Flip: Right mirrors every row left to right, Down turns the row order upside down
// (Left and Up are the same as Right and Down). 24 bits a pixel.
void flip(Bitmap& bmp, Direction d);

// Image > Mirror: one half copied mirrored onto the other. Down: the top half onto the
// bottom; Up: the bottom onto the top; Left: the right half onto the left; Right: the left
// half onto the right. 24 bits a pixel.
void mirrorHalf(Bitmap& bmp, Direction d);
// Mirror > Quad Top Left: the top-left quadrant mirrored into the other three.
void mirrorQuad(Bitmap& bmp);
// Mirror > Wedge: the left triangle whose apex is the centre mirrored onto the right, on a
// square image only (wedgeRefusal tells why not).
void mirrorWedge(Bitmap& bmp);
QString wedgeRefusal(const Bitmap& bmp);

// Image > Shadow: every byte b takes p + 1 where its partner p, four rows and four bytes
// towards the named corner's opposite, is darker (p < b); rows and bytes run away from the
// shadow's side so each partner is read before it changes. Up Left: partner at (y + 4,
// i + 4); Up Right: (y + 4, i - 4); Down Left: (y - 4, i + 4); Down Right: (y - 4, i - 4).
// Images under 5 rows or 5 bytes wide are left as they are.
enum class Corner { UpLeft, UpRight, DownLeft, DownRight };
void shadow(Bitmap& bmp, Corner c);

}  // namespace pixoral::effects
