#pragma once
// A picture shown at its own size (for a scroll box), white while there is none: the preview
// windows show their results through it.
#include <QImage>
#include <QWidget>

namespace pixoral {

class PictureView : public QWidget {
public:
    // Empty pictures show a white square of this side.
    static constexpr int kEmptySide = 256;

    explicit PictureView(QWidget* parent);
    void setImage(const QImage& img);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage image_;
};

}  // namespace pixoral
