#pragma once
// The Quick Filter window: the 26 row filters, one per colour byte in 24-bit mode or one for
// the palette indices in 8-bit mode, the value trackbar, the "UserMatrix" edits with the user
// filters of "PixoralFL.txt", and the run into the workspace or the preview. The window knows
// the workspace only through the WorkspaceHost.
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "generators/QuickFilter.h"
#include "generators/UserFilters.h"
#include "ui/PresetFile.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSlider;
class QToolButton;

namespace pixoral {
class PresetList;
class WorkspaceHost;
}  // namespace pixoral

namespace pixoral::generators {

class TPixoralFLF : public QWidget {
    Q_OBJECT
public:
    // `traceColorByte` answers the byte "Trace" writes (the main window's Color Byte) when a
    // run starts. Loads the user filters of the host's program folder and reports lines that
    // are not user filters (they are kept). The host must outlive the window.
    TPixoralFLF(WorkspaceHost& host, std::function<std::uint8_t()> traceColorByte, QWidget* parent = nullptr);
    ~TPixoralFLF() override;

    // The filters, the mode and v; the matrix as of the last "Filter".
    const QFSettings& settings() const { return settings_; }
    const PresetFile& userFilters() const { return userFilters_; }
    MatrixTexts editTexts() const;

    enum class Destination { AsChecked, Workspace };
    // "Filter": reads the edits and v, then runs. The messages "invalid integer in UserMatrix"
    // (an edit that is no integer, or v = 0 with "SlowSweep" or "Reduce") and "Divisor must
    // be >=1" leave the image as it was. False when nothing was filtered.
    bool goFilterClick(Destination to = Destination::AsChecked);
    // The script's filter request: the filter of that name (letter case ignored) becomes the
    // 8-bit filter of all three channels with the red radio button checked, and "Filter" runs
    // with the matrix and v in the window, into the workspace whatever "Preview" says (a
    // script goes on working on the workspace). An unknown name does nothing.
    bool RunFilterByName(const QString& name);

    // ---- handlers ----
    void QFListClick();
    void radioClick(int channel);  // 0 red, 1 green, 2 blue
    void bit24Click();
    void FilterPresetsClick(int index);
    void AddFilter1Click();
    void DeleteFilter1Click();
    void UpdateFilter1Click();

private:
    void buildControls();
    void refreshRadioCaptions();
    int checkedChannel() const;
    void say(const QString& text) const;

    WorkspaceHost& host_;
    std::function<std::uint8_t()> traceColorByte_;
    QFSettings settings_;
    PresetFile userFilters_;

    QListWidget* QFList = nullptr;
    std::array<QRadioButton*, 3> radios_{};
    QCheckBox* bit24 = nullptr;
    QSlider* trkRed = nullptr;
    QLabel* trkValue_ = nullptr;
    // E01 ... E23, EDIV, EBIAS in the order of MatrixTexts.
    std::array<QLineEdit*, kUserFilterFields> edits_{};
    QToolButton* goFilter = nullptr;
    QCheckBox* fltrpreview = nullptr;
    // The drop-down "FilterPresets" with its popup of AddFilter1, DeleteFilter1 and
    // UpdateFilter1 (the main window has its own Add1 and Delete1).
    PresetList* presetList_ = nullptr;

    bool syncing_ = false;  // controls are being moved to the state: no handlers
};

}  // namespace pixoral::generators
