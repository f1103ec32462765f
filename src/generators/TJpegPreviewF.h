#pragma once
// The Quick JPEG window ("JPEG Preview"): the workspace image after JPEG compression at the
// chosen quality, with the compressed size; "Save" writes the workspace as a JPEG file at that
// quality and "Assign" makes the degraded preview the workspace image. The compression is
// JpegPreview's; the window only shows it.
#include <QWidget>

#include "canvas/Bitmap.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace pixoral {
class PictureView;
class WorkspaceHost;
}

namespace pixoral::generators {

class TJpegPreviewF : public QWidget {
    Q_OBJECT
public:
    // The host must outlive the window.
    explicit TJpegPreviewF(WorkspaceHost& host, QWidget* parent = nullptr);
    ~TJpegPreviewF() override;

    // The decoded picture of the last "Show"; empty before any.
    const Bitmap& preview() const { return preview_; }

    // ---- handlers ----
    // Compresses the workspace at the quality, with "Grayscale", shows the size and the
    // decoded picture.
    void jpegShowClick();
    // Asks for a name and writes the workspace there as colour JPEG at the quality, the name's
    // extension made ".jpg". A failed write is reported and the size label kept.
    void jpegSaveClick();
    // The preview becomes the workspace image; before any "Show" nothing happens.
    void jpegAssignClick();

private:
    void buildControls();

    WorkspaceHost& host_;
    Bitmap preview_;
    QScrollArea* ScrollBox1 = nullptr;
    PictureView* jpg = nullptr;
    QLabel* lblquality = nullptr;
    QSpinBox* Quality = nullptr;
    QCheckBox* jpgGray = nullptr;
    QLabel* jpegsize = nullptr;
    QPushButton* jpegShow = nullptr;
    QPushButton* jpegSave = nullptr;
    QPushButton* jpegAssign = nullptr;
};

}  // namespace pixoral::generators
