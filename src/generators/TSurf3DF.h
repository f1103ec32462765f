#pragma once
// The Quick 3D window ("Surf 3D"): the figure drop-down, the eye and screen spin edits, the two
// surface expressions with their presets, the two-colour fill, and the picture, which "Copy"
// puts on the clipboard and "Use" makes the workspace image. The drawing itself is Surf3D's;
// the window only gathers the settings and redraws on every change.
#include <QWidget>
#include <array>

#include "canvas/Bitmap.h"
#include "expr/TParser.h"
#include "generators/Surf3D.h"
#include "ui/PresetFile.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace pixoral {
class PresetList;
class WorkspaceHost;
}  // namespace pixoral

namespace pixoral::generators {

class Surf3DColorGrid;
class Surf3DPicture;

class TSurf3DF : public QWidget {
    Q_OBJECT
public:
    // Loads the presets of the host's program folder (a missing file is an empty list), then
    // draws the cube. The host must outlive the window.
    explicit TSurf3DF(WorkspaceHost& host, QWidget* parent = nullptr);
    ~TSurf3DF() override;

    const Bitmap& picture() const { return picture_; }
    const Surf3DScene& scene() const { return scene_; }
    const SurfaceGrid& surface() const { return surface_; }
    const PresetFile& presets() const { return presets_; }

    // ---- handlers ----
    void ComboBoxFigureChange();
    void SpinEditChange();
    void goMakePointsClick();
    void goCopyClick();
    void goUseClick();
    void presetsClick(int index);
    void usecolorClick();
    // Left button: the foreground; right button: the background.
    void surfcolorPick(int index, bool background);

    // Makes the surface from the two edits (reporting expressions that do not parse).
    void MakeSurface();
    // Draws the picture from the current settings and shows it.
    void Redraw();

private:
    void buildControls();
    void syncSpins();  // the spin edits from scene_.view, without redrawing
    void say(const QString& text) const;

    WorkspaceHost& host_;
    PresetFile presets_;
    Surf3DScene scene_;
    SurfaceGrid surface_{};
    Bitmap picture_;
    TParser ParserX, ParserY;

    QComboBox* ComboBoxFigure = nullptr;
    std::array<QSpinBox*, kSurf3DSpins.size()> spins_{};
    QLineEdit* SurFx = nullptr;
    QLineEdit* SurFy = nullptr;
    QCheckBox* usecolor = nullptr;
    Surf3DColorGrid* surfcolor = nullptr;
    Surf3DPicture* Image = nullptr;
    QPushButton* goMakePoints = nullptr;
    QPushButton* goCopy = nullptr;
    QPushButton* goUse = nullptr;
    // The drop-down "presets" with its popup of Add, Update and Delete.
    PresetList* presetList_ = nullptr;

    bool syncing_ = false;  // controls are being moved to the state: no handlers
};

}  // namespace pixoral::generators
