#pragma once
// The window shown while the program starts.
#include <QWidget>

namespace pixoral {

class TPixoralSplashF : public QWidget {
    Q_OBJECT
public:
    explicit TPixoralSplashF(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
};

}  // namespace pixoral
