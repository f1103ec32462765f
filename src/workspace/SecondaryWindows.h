#pragma once
// The secondary windows of the main window (the Quick windows, Quick Preview, the script
// editor, the effects panel), created once, hidden, and reaching the workspace only through
// the WorkspaceHost.
#include <QString>

#include "canvas/Bitmap.h"
#include "script/TPixoralScriptF.h"

class QWidget;

namespace pixoral {

class HelpViewer;
class ScriptRecorder;
class WorkspaceHost;
struct WorkspaceSettings;
namespace generators {
class TPixoralFLF;
class TGraphF;
class TPixoralQBF;
class TQuickPreviewF;
class TSurf3DF;
class TQuickCellF;
class TJpegPreviewF;
class TButtonF;
class TFractalsF;
}  // namespace generators
namespace effects {
class TPixoralEffectsF;
}
namespace files {
class TPaintPreviewF;
}

class SecondaryWindows {
public:
    // The windows are children of `main`, which deletes them. Quick Filter reads the trace
    // Color Byte from the settings, which must outlive the windows. The script editor runs
    // its scripts through `runScript` and takes the recorder's text. The help pages are read
    // from `helpFolder` when the help is first opened.
    SecondaryWindows(WorkspaceHost& host, QWidget* main, const WorkspaceSettings& settings, ScriptRecorder& recorder,
                     script::TPixoralScriptF::Runner runScript, QString helpFolder);

    generators::TPixoralQBF* pixoralQB() const { return PixoralQBF_; }
    generators::TPixoralFLF* pixoralFL() const { return PixoralFLF_; }
    generators::TQuickPreviewF* quickPreview() const { return QuickPreviewF_; }
    generators::TGraphF* quickGraph() const { return GraphF_; }
    effects::TPixoralEffectsF* effectsPanel() const { return PixoralEffectsF_; }
    script::TPixoralScriptF* scriptEditor() const { return PixoralScriptF_; }
    generators::TSurf3DF* surf3D() const { return Surf3DF_; }
    generators::TQuickCellF* quickCells() const { return QuickCellF_; }
    generators::TJpegPreviewF* jpegPreview() const { return JpegPreviewF_; }
    generators::TButtonF* quickButton() const { return ButtonF_; }
    generators::TFractalsF* fractals() const { return FractalsF_; }
    files::TPaintPreviewF* printPreview() const { return PaintPreviewF_; }

    // Shows a window in front, placed beside or below the main window the first time.
    void showEffectsPanel();
    void showQuickBackground();
    void showQuickFilter();
    void showScriptEditor();
    void showQuickGraph();
    void showQuick3D();
    void showQuickCells();
    void showQuickJpeg();
    void showPreview(const Bitmap& picture);
    void showQuickButton();
    // A script's "background" request: the named preset of Quick Background.
    void requestBackground(const QString& name);
    // A script's "filter" request for a Quick Filter filter (letter case ignored).
    void requestFilter(const QString& name);
    // Quick Fractals, beside the main window the first time.
    void showQuickFractals();
    // The help viewer at a topic (ui/HelpViewer.h). Help that is not installed is a failure
    // of the host with a message saying where it was looked for.
    void showHelp(const QString& topic);
    HelpViewer* helpViewer() const { return HelpViewer_; }
    // File > Print...: the print preview, in the middle of the screen the first time.
    void showPrintPreview();

private:
    WorkspaceHost& host_;
    QWidget* main_;
    files::TPaintPreviewF* PaintPreviewF_ = nullptr;
    generators::TPixoralQBF* PixoralQBF_ = nullptr;
    generators::TPixoralFLF* PixoralFLF_ = nullptr;
    generators::TQuickPreviewF* QuickPreviewF_ = nullptr;
    script::TPixoralScriptF* PixoralScriptF_ = nullptr;
    generators::TGraphF* GraphF_ = nullptr;
    effects::TPixoralEffectsF* PixoralEffectsF_ = nullptr;
    generators::TSurf3DF* Surf3DF_ = nullptr;
    generators::TQuickCellF* QuickCellF_ = nullptr;
    generators::TJpegPreviewF* JpegPreviewF_ = nullptr;
    generators::TButtonF* ButtonF_ = nullptr;
    generators::TFractalsF* FractalsF_ = nullptr;
    QString helpFolder_;
    HelpViewer* HelpViewer_ = nullptr;  // made when the help is first opened
};

}  // namespace pixoral
