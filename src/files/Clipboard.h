#pragma once
// Pictures on the system clipboard, for Edit > Copy and Paste and for the Copy buttons of the
// generator windows: one way out and one way in, so every picture the program copies can be
// pasted back by it and by other programs alike.
#include <QImage>

namespace pixoral {

class Bitmap;

// Puts the picture on the clipboard as an image, and as PNG bytes as well for programs that
// take no other picture format.
void copyToClipboard(const Bitmap& picture);
// The clipboard's picture, or a null image when it holds none.
QImage clipboardImage();

}  // namespace pixoral
