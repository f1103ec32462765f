#pragma once
// The Quick Cells window ("Quick Cell"): the rule list, the two byte values, the bit cells and
// their position, "Random", "Split" and "Preview". Every change draws the cells again from the
// workspace image, into the workspace or, with "Preview", into Quick Preview, whose "Use"
// takes it over. The pattern itself is QuickCells'; the window only gathers the settings.
#include <QWidget>

#include "generators/QuickCells.h"

class QCheckBox;
class QListWidget;
class QSpinBox;

namespace pixoral {
class WorkspaceHost;
}

namespace pixoral::generators {

class TQuickCellF : public QWidget {
    Q_OBJECT
public:
    // The host must outlive the window.
    explicit TQuickCellF(WorkspaceHost& host, QWidget* parent = nullptr);
    ~TQuickCellF() override;

    // The settings the controls show.
    CellSettings settings() const;

    // Any control change: the cells from the workspace image, to the preview when "Preview"
    // is checked, else into the workspace. Nothing with no rule chosen.
    void DrawCells();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildControls();

    WorkspaceHost& host_;
    QListWidget* cellist = nullptr;
    QSpinBox* Bit0 = nullptr;
    QSpinBox* Bit1 = nullptr;
    QSpinBox* bitpos = nullptr;
    QListWidget* Bitlist = nullptr;
    QCheckBox* bitrandom = nullptr;
    QCheckBox* bitsplit = nullptr;
    QCheckBox* qcPreview = nullptr;
    int rowAtPress_ = -1;   // the chosen rule when the mouse went down on the list
    bool building_ = true;  // controls are being made or taken down: no drawing
};

}  // namespace pixoral::generators
