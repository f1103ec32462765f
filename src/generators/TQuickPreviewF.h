#pragma once
// The shared preview window: the generators and the effects panel put their result here, and
// "Use" hands it to whoever owns the workspace (the main window sets onUse once).
#include <QWidget>
#include <functional>

#include "canvas/Bitmap.h"

class QPushButton;
class QScrollArea;

namespace pixoral::generators {

class PreviewPicture;

class TQuickPreviewF : public QWidget {
    Q_OBJECT
public:
    explicit TQuickPreviewF(QWidget* parent = nullptr);
    ~TQuickPreviewF() override;

    // Shows the window in front with a copy of the bitmap, sized to the picture as far as the
    // screen allows (larger pictures scroll).
    void showPicture(const Bitmap& picture);
    const Bitmap& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isEmpty(); }

    // Called by "Use" with the picture; the window closes afterwards. "Use" with no picture
    // yet only closes the window.
    std::function<void(const Bitmap&)> onUse;

    void UseClick();

private:
    void fitToPicture();

    Bitmap picture_;
    bool placed_ = false;
    QScrollArea* ScrollBox1 = nullptr;
    PreviewPicture* Image1 = nullptr;
    QPushButton* Use = nullptr;
};

}  // namespace pixoral::generators
