#pragma once
// Windows metafiles (WMF, placeable or plain) and enhanced metafiles (EMF), played on our
// own GDI-like canvas: the records are read and replayed as canvas calls.
#include <QByteArray>
#include <QString>
#include <memory>

namespace pixoral {

class Canvas;

class Metafile {
public:
    Metafile();
    ~Metafile();
    Metafile(const Metafile&) = delete;
    Metafile& operator=(const Metafile&) = delete;

    // Reads and checks the header and the length of every record; the kind is told by the
    // content, not the name. On failure the object stays empty and the reason is given.
    bool load(const QByteArray& data, QString* error);

    bool isEmpty() const { return data_.isEmpty(); }
    bool isEnhanced() const { return enhanced_; }
    // The picture's size in pixels (96 per inch); 0 by 0 for a plain WMF that never sets
    // its window extent, which the caller then plays at 1:1 on a size of its choice.
    int width() const { return width_; }
    int height() const { return height_; }

    // Draws the picture into (0, 0, width, height) of the canvas. The canvas's pen, brush,
    // font, copy mode and pen position are put back afterwards. Unknown records and records
    // too short for their contents are skipped.
    void play(Canvas& canvas, int width, int height) const;

private:
    QByteArray data_;
    bool enhanced_ = false;
    int width_ = 0;
    int height_ = 0;
    // WMF: where the records start, the placeable box and its units per inch, the object
    // table size. EMF: the frame (left, top, width, height in hundredths of a millimetre;
    // no width when the file has none) and the reference device's pixels per millimetre.
    int recordsStart_ = 0;
    bool placeable_ = false;
    int box_[4] = {0, 0, 0, 0};
    int objects_ = 0;
    int windowOrg_[2] = {0, 0};
    int windowExt_[2] = {0, 0};
    double frame_[4] = {0, 0, 0, 0};
    double pxPerMmX_ = 96 / 25.4, pxPerMmY_ = 96 / 25.4;
};

}  // namespace pixoral
