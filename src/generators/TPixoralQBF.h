#pragma once
// The Quick Background window: three channel formulas, their offsets and the shared factor,
// the backdrop presets of "PixoralQB.txt", and the render into the workspace or the preview.
// The window knows the workspace only through the WorkspaceHost, so it needs nothing of the
// main window.
#include <QWidget>
#include <array>

#include "canvas/Bitmap.h"
#include "generators/QBPresets.h"
#include "generators/QuickBackground.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QSlider;
class QToolButton;

namespace pixoral {
class PresetList;
class WorkspaceHost;
}  // namespace pixoral

namespace pixoral::generators {

class TPixoralQBF : public QWidget {
    Q_OBJECT
public:
    // Loads the presets of the host's program folder (a missing file is an empty list). The
    // host must outlive the window.
    explicit TPixoralQBF(WorkspaceHost& host, QWidget* parent = nullptr);
    ~TPixoralQBF() override;

    const QBSettings& settings() const { return settings_; }
    const QBPresets& presets() const { return presets_; }
    bool previewChecked() const;

    enum class Destination { AsChecked, Workspace };
    // Builds the background from the current state, into the preview when "Preview" is
    // checked (shown through the host), else into the workspace. False when it could not be
    // made (reported).
    bool RenderBackground(Destination to = Destination::AsChecked);
    // The values after the first "=" become the state (controls follow) and the background is
    // rendered. False without a message for a line with no "="; false after "Error in
    // Presets" for a malformed one, the fields before the bad one kept.
    bool ApplyPreset(const QString& line, Destination to = Destination::AsChecked);
    // The script's background request: the first preset of that name, letter case ignored,
    // rendered into the workspace whatever "Preview" says. An unknown name does nothing.
    bool ApplyPresetByName(const QString& name);

    // ---- handlers ----
    void QBListClick();
    void radioClick(int channel);  // 0 red, 1 green, 2 blue
    void trackbarChange(int which);  // 0..2 the offsets, 3 the factor
    void gpUpdateClick();
    void qbpresetsClick(int index);
    void AddBackdrop1Click();
    void DeleteBackdrop1Click();
    void UpdateBackdrop1Click();
    void FormShow();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildControls();
    void refreshRadioCaptions();
    void syncControls();  // trackbars, captions and the list from settings_
    int checkedChannel() const;
    void say(const QString& text) const;

    WorkspaceHost& host_;
    QBSettings settings_;
    QBPresets presets_;

    QListWidget* QBList = nullptr;
    std::array<QRadioButton*, 3> radios_{};
    std::array<QSlider*, 4> trackbars_{};
    std::array<QLabel*, 4> trackValues_{};
    QToolButton* gpUpdate = nullptr;
    QCheckBox* qbPreview = nullptr;
    // The drop-down "qbpresets" with its popup "QBPopup" of AddBackdrop1, DeleteBackdrop1 and
    // UpdateBackdrop1, and the button "qbmenu".
    PresetList* presetList_ = nullptr;

    bool syncing_ = false;  // controls are being moved to the state: no handlers
    // A click on a list entry both changes the current row (handled at once) and reports
    // the click; this keeps one click from rendering twice.
    bool listRowJustChanged_ = false;
};

}  // namespace pixoral::generators
