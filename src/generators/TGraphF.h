#pragma once
// The Quick Graph window: two expressions of t with their constants and graph type, drawn into
// a picture of the window's own with the pen width and colours picked here; the graph presets
// of "GraphPresets.tip"; Copy puts the picture on the clipboard (Edit > Paste takes it into
// the workspace) and Save writes it to a file. The workspace itself is never touched, so the
// window needs of the main window only the dialogs and the program folder of its host.
#include <QWidget>

#include "canvas/Bitmap.h"
#include "expr/TParser.h"
#include "generators/QuickGraph.h"
#include "ui/PresetFile.h"

class QComboBox;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace pixoral {
class ColorGrid;
class PresetList;
class WorkspaceHost;
}  // namespace pixoral

namespace pixoral::generators {

class GraphPicture;

class TGraphF : public QWidget {
    Q_OBJECT
public:
    // Loads the presets of the host's program folder (a missing file is an empty list). The
    // host must outlive the window.
    explicit TGraphF(WorkspaceHost& host, QWidget* parent = nullptr);
    ~TGraphF() override;

    // The picture (Image1) with its canvas: the pen and brush are the graph's colours.
    const Bitmap& picture() const { return picture_; }
    const PresetFile& presets() const { return presets_; }
    // What the edits, the graph type and the two boxes say now.
    GraphRequest request() const;
    // Fills the edits and the graph type from a preset, without drawing.
    void setDefinition(const GraphDefinition& g);

    // ---- handlers ----
    void goGraphClick();  // "Go": draws the graph over the picture
    void goCLSClick();    // "Clear": the picture in the brush colour
    void goCopyClick();   // "Copy": the picture on the clipboard
    void goSaveClick();   // "Save": the picture to a BMP, GIF, JPEG or PNG file
    void func1Enter();    // Enter in func1 / func2: the edit's value at the current t
    void func2Enter();
    void penwidthClick(int index);
    void ColorGrid1Change();
    void LimitsClick(int index);
    void PresetsClick(int index);  // loads the preset and draws it
    void AddGraph1Click();
    void DeleteGraph1Click();
    void HelpClick();  // the help at the Quick Graph page
    void AboutClick();
    void FormShow();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void buildControls();
    void pictureChanged();
    void funcEnter(QLineEdit* edit, TParser& parser, const QString& parseError);
    void say(const QString& text) const;

    WorkspaceHost& host_;
    Bitmap picture_;
    TParser Parser1;  // func1
    TParser Parser2;  // func2
    PresetFile presets_;

    GraphPicture* Image1 = nullptr;
    QLineEdit* func1 = nullptr;
    QLineEdit* func2 = nullptr;
    QLineEdit* F1from = nullptr;
    QLineEdit* F1to = nullptr;
    QLineEdit* F1step = nullptr;
    QRadioButton* graphtypeY = nullptr;   // item 0 "y"
    QRadioButton* graphtypeXY = nullptr;  // item 1 "x,y"
    QCheckBox* doAxis = nullptr;
    QCheckBox* doft = nullptr;
    QComboBox* penwidth = nullptr;
    QComboBox* Limits = nullptr;
    ColorGrid* ColorGrid1 = nullptr;
    // The drop-down "Presets" with its popup of AddGraph1 and DeleteGraph1 (and UpdateGraph1).
    PresetList* presetList_ = nullptr;
};

}  // namespace pixoral::generators
