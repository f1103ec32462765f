#pragma once
// The Quick Button window: sizes, bevel, colours, caption and font of a button picture of its
// own, redrawn at every change. Copy puts the picture on the clipboard, Save writes it to a
// file and Use makes it the workspace image. The backdrop, which can replace the face, comes
// from a file or from the current range (Range > Assign To > Quick Button); the window keeps
// it for the whole run.
#include <QWidget>

#include "canvas/Bitmap.h"
#include "generators/QuickButton.h"

class QCheckBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace pixoral {
class ColorGrid;
class WorkspaceHost;
}  // namespace pixoral

namespace pixoral::generators {

class ButtonPicture;

class TButtonF : public QWidget {
    Q_OBJECT
public:
    // Draws the first button. The host must outlive the window.
    explicit TButtonF(WorkspaceHost& host, QWidget* parent = nullptr);
    ~TButtonF() override;

    const Bitmap& picture() const { return but_; }
    const Bitmap& backdrop() const { return backdrop_; }
    // What the controls say now.
    ButtonDesign design() const;
    // A copy of the picture becomes the backdrop; nothing is redrawn.
    void assignBackdrop(const Bitmap& picture);

    // ---- handlers ----
    void goEdgeClick();  // "Show", and every change of a control: draws the button
    void gobgClick();    // "BackDrop": a picture file becomes the backdrop
    void goSaveClick();  // "Save": the button to a BMP, GIF or JPEG file
    void goCopyClick();  // "Copy": the button on the clipboard
    void goUseClick();   // "Use": the button becomes the workspace image

private:
    void buildControls();
    void say(const QString& text) const;

    WorkspaceHost& host_;
    Bitmap but_;
    Bitmap backdrop_;  // empty until a file or a range is assigned

    ButtonPicture* but = nullptr;
    QSlider* butwidth = nullptr;
    QSlider* butheight = nullptr;
    QLabel* widthcap = nullptr;
    QLabel* heightcap = nullptr;
    QSpinBox* EdgeWidth = nullptr;
    ColorGrid* topcolor = nullptr;
    ColorGrid* rightcolor = nullptr;
    ColorGrid* bottomcolor = nullptr;
    ColorGrid* leftcolor = nullptr;
    ColorGrid* facecolor = nullptr;
    ColorGrid* fontcolor = nullptr;
    ColorGrid* shadowcolor = nullptr;
    QLineEdit* buttext = nullptr;
    QFontComboBox* butfont = nullptr;
    QSlider* fontsize = nullptr;
    QLabel* fontsizecap = nullptr;
    QCheckBox* fontbold = nullptr;
    QCheckBox* fontitalic = nullptr;
    QCheckBox* fontunderline = nullptr;
    QSpinBox* shadowdx = nullptr;
    QSpinBox* shadowdy = nullptr;
    QCheckBox* styled = nullptr;
    QRadioButton* styleItems_[3] = {};  // "styleoptions": Shadow, Raised, Inset
    QCheckBox* hasbackdrop = nullptr;
    QCheckBox* BackEdges = nullptr;

    bool building_ = true;  // controls are being made: no drawing yet
};

}  // namespace pixoral::generators
