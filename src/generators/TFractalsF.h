#pragma once
// The Quick Fractals window ("Fractals"): the rectangle of the complex plane, Mandelbrot or
// Julia (with the Julia constant), the iteration and colour trackbars, the fractal presets of
// "PixoralFrac.txt", and "Show", which computes the picture into the workspace or, with
// "Preview" checked, into Quick Preview. The computation itself is Fractals'; the window
// gathers the fields, holds the busy cursor and listens for Escape while it runs.
#include <QWidget>
#include <array>

#include "generators/Fractals.h"
#include "ui/PresetFile.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace pixoral {
class PresetList;
class WorkspaceHost;
}  // namespace pixoral

namespace pixoral::generators {

class TFractalsF : public QWidget {
    Q_OBJECT
public:
    // Loads the presets of the host's program folder (a missing file is an empty list). The
    // host must outlive the window.
    explicit TFractalsF(WorkspaceHost& host, QWidget* parent = nullptr);
    ~TFractalsF() override;

    const PresetFile& presets() const { return presets_; }
    // The fields as the controls show them.
    FractalFields fields() const;

    // ---- handlers ----
    // Computes the fractal of the fields. False when nothing was made: input refused
    // ("Error in input values"), a size refused, or stopped by Escape (the image as it was).
    bool goFractalClick();
    void goDefaultClick();
    void cboFractalsClick(int index);
    void fraciterChange();
    void fracncChange();

protected:
    // While a computation runs: Escape stops it, other input waits.
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildControls();
    void setFields(const FractalFields& f);  // the controls from the fields, labels included
    void say(const QString& text) const;

    WorkspaceHost& host_;
    PresetFile presets_;

    // edX0, edY0, edX1, edY1, edJuliaRe, edJuliaIm
    std::array<QLineEdit*, 6> edits_{};
    QCheckBox* ckMandel = nullptr;
    QSlider* fraciter = nullptr;
    QLabel* itercap = nullptr;
    QSlider* fracnc = nullptr;
    QLabel* colorcap = nullptr;
    QCheckBox* fracPreview = nullptr;
    QPushButton* goFractal = nullptr;
    QPushButton* goDefault = nullptr;
    // The drop-down "cboFractals" with its popup of Add, Delete and Update.
    PresetList* presetList_ = nullptr;

    bool syncing_ = false;    // controls are being moved to the fields: no handlers
    bool computing_ = false;  // a computation runs (the event filter is installed)
    bool escape_ = false;     // Escape was pressed during it
};

}  // namespace pixoral::generators
