#pragma once
// The two frame markers `BOF` and `EOF`: thin grey bars over the workspace picture at the left
// and right edge of the current frame, hidden until Image > Frames > Go. Their columns and
// height are kept in image pixels; place() alone turns them into widget positions, so a view
// that scales the picture scales the markers in the same one place.
class QWidget;

namespace pixoral {

class PaintBox;

class FrameMarkers {
public:
    static constexpr int kWidth = 2;

    // The markers become children of the workspace picture, scrolling with it.
    explicit FrameMarkers(PaintBox* picture);

    // Both markers at the image columns, `height` image pixels high, with the frame number as
    // their hint, shown.
    void showAt(int bofColumn, int eofColumn, int height, int frame);
    void hide();
    void place();

    QWidget* bof() const { return BOF; }
    QWidget* eof() const { return EOF_; }

private:
    PaintBox* picture_;
    QWidget* BOF = nullptr;
    QWidget* EOF_ = nullptr;  // EOF is the C end-of-file macro
    int bofColumn_ = 0, eofColumn_ = 0, height_ = 0;
};

}  // namespace pixoral
