#pragma once
// Printing the workspace: the picture is printed as one stretched image at an integer number of
// printer pixels per image pixel (the print scale), its corner 10 printer pixels from the
// page's; the preview shows the page at one fifth, the picture at one fifth of its printed
// size. One drawing function serves the printer and the preview, on any paint device.
#include <QImage>
#include <QSize>

#include "canvas/Geometry.h"

class QPainter;

namespace pixoral {

inline constexpr int kPrintMargin = 10;     // printer pixels, and preview pixels on the preview
inline constexpr int kPreviewDivisor = 5;   // the preview shows the page at one fifth
inline constexpr int kPrintScaleStart = 2;  // what File > Print... starts with
// "+" stops doubling here: far beyond any page, and W·s stays within an int for every image
// the program holds.
inline constexpr int kPrintScaleMax = 1024;

// The scale after "+" and "-": powers of two from 1 to kPrintScaleMax.
int doubledPrintScale(int scale);
int halvedPrintScale(int scale);

// Where the picture of width by height pixels goes, right and bottom exclusive: on the
// printer page (in printer pixels), and on the preview page (in preview pixels).
Rect printRect(int width, int height, int scale);
Rect previewRect(int width, int height, int scale);

// Draws the picture stretched over `target`, each picture pixel a block of whole device
// pixels where the device allows (no smoothing).
void drawPrintPicture(QPainter& painter, const QImage& picture, const Rect& target);

// The preview of a printer page of `pagePixels`: a white page of one fifth of its size with
// the picture drawn at previewRect.
QImage previewPage(QSize pagePixels, const QImage& picture, int scale);

}  // namespace pixoral
