#pragma once
// The shared preview window: the generators and the effects panel put their result here
// (through WorkspaceHost::showPreview), and "Use" makes it the workspace image.
#include <QWidget>

#include "canvas/Bitmap.h"

class QPushButton;
class QScrollArea;

namespace pixoral {
class PictureView;
class WorkspaceHost;
}

namespace pixoral::generators {

class TQuickPreviewF : public QWidget {
    Q_OBJECT
public:
    // The host must outlive the window.
    explicit TQuickPreviewF(WorkspaceHost& host, QWidget* parent = nullptr);
    ~TQuickPreviewF() override;

    // Shows the window in front with a copy of the bitmap, sized to the picture as far as the
    // screen allows (larger pictures scroll).
    void showPicture(const Bitmap& picture);
    const Bitmap& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isEmpty(); }

    // "Use": the picture replaces the workspace image (under the host's rules for the undo
    // ring and the range) and the window closes. With no picture yet it only closes.
    void UseClick();

private:
    void fitToPicture();

    WorkspaceHost& host_;
    Bitmap picture_;
    bool placed_ = false;
    QScrollArea* ScrollBox1 = nullptr;
    PictureView* Image1 = nullptr;
    QPushButton* Use = nullptr;
};

}  // namespace pixoral::generators
