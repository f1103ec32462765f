#pragma once
// The sixteen-colour grid of the generator windows: the colours of the default palette in two
// rows of eight; a left click picks the foreground colour, a right click the background
// colour, and the grid marks both with "FG" and "BG".
#include <QWidget>

#include "canvas/Color.h"

namespace pixoral {

class ColorGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumns = 8;
    static constexpr int kRows = 2;

    // Black foreground (index 0) and white background (index 15) at first.
    explicit ColorGrid(QWidget* parent = nullptr);

    int foregroundIndex() const { return foreground_; }
    int backgroundIndex() const { return background_; }
    TColor foregroundColor() const { return kStandardColors[foreground_]; }
    TColor backgroundColor() const { return kStandardColors[background_]; }
    // Indexes outside 0..15 are ignored. Neither reports a change.
    void setForegroundIndex(int index);
    void setBackgroundIndex(int index);
    // A grid that picks one colour: right clicks pick nothing and only the foreground is
    // marked, by a frame.
    void setSinglePick(bool on);
    // What a click on cell `index` does (left: the foreground, right: the background), with
    // the change reported; false, nothing done, for a cell that does not exist or a right
    // click on a single-pick grid. Batch mode's --set acts through this.
    bool pick(int index, bool background);

    // The cell under a point of the widget, -1 between or beyond the cells.
    int indexAt(const QPoint& p) const;
    QRect cellRect(int index) const;

    QSize sizeHint() const override;

signals:
    // A click picked a colour (also the one already picked, as a click on a grid always acts).
    void changed();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    int foreground_ = 0;
    int background_ = 15;
    bool singlePick_ = false;
};

}  // namespace pixoral
