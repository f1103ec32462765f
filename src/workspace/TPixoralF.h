#pragma once
// The main window: the workspace image and its state, the controls around it, and the menus
// and toolbar built from the command tables. What a command does lives in its table row (and
// in the command files beside the tables), not here: this class holds the state the rows
// work on and the few services they share.
#include <QMainWindow>
#include <memory>
#include <optional>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "script/Turtle.h"
#include "ui/Dialogs.h"
#include "workspace/ScriptRecorder.h"
#include "workspace/ToolEngine.h"
#include "workspace/Tools.h"
#include "workspace/WindowSettings.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QLabel;

namespace pixoral {

class ColorList;
class CommandBar;
class FrameMarkers;
class GadgetSet;
class MainHost;
class PaintBox;
class PatternList;
class RecentFiles;
class ScrollBox;
class SecondaryWindows;
class ShapeFlag;
class WorkspaceHost;

class TPixoralF : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        QString programFolder;  // with a trailing separator
        QString settingsFileName = QStringLiteral("pixoral.ini");
        std::shared_ptr<Dialogs> dialogs;  // null: the Qt dialogs
        bool batch = false;  // no window state is read or written
        QString helpFolder;  // the help pages; empty: helpFolderFor() the executable's folder
    };

    explicit TPixoralF(Options options, QWidget* parent = nullptr);
    ~TPixoralF() override;

    // ---- state ----
    Bitmap& workspace() { return state_.image; }
    const Bitmap& workspace() const { return state_.image; }
    Canvas& canvas() { return state_.image.canvas(); }
    WorkspaceSettings& settings() { return state_.settings; }
    const WorkspaceSettings& settings() const { return state_.settings; }
    UndoRing& undoRing() { return state_.undo; }
    effects::RangeState& rangeState() { return state_.range; }
    const effects::RangeState& rangeState() const { return state_.range; }
    Dialogs& dialogs() { return *dialogs_; }
    WorkspaceHost& host();
    SecondaryWindows& windows() { return *windows_; }
    PatternList& patterns() { return *patterns_; }
    GadgetSet& gadgets() { return *gadgets_; }
    RecentFiles& recent() { return *recent_; }
    FrameMarkers& frameMarkers() { return *frameMarkers_; }
    ToolTable& tools() { return engine_.tools(); }
    ScriptRecorder& recorder() { return recorder_; }
    const QString& programFolder() const { return programFolder_; }
    QString settingsFilePath() const;
    // Batch runs read and write no window state and show no window.
    bool isBatch() const { return options_.batch; }

    QString statusText(int panel) const;
    void setStatusText(int panel, const QString& text);
    // The fill indicator's colours (not always the canvas brush).
    TColor shapeflagPenColor() const;
    TColor shapeflagBrushColor() const;
    // With a style the indicator also shows the brush style (it follows the canvas brush).
    void setShapeflagColors(TColor pen, TColor brush, std::optional<BrushStyle> style = std::nullopt);
    bool isModified() const;
    void markSaved();

    // ---- commands ----
    // The action at a menu path ("File>New", "Toolbar>Set Pen Mode>Xor"): captions joined by
    // '>', '&' and a trailing "..." left out, letter case ignored. Null when there is none;
    // `isMenu` tells a path that names a submenu. "Gadget>NAME>ITEM" is the item of the popup
    // of gadget NAME, which becomes the popup's gadget as if the popup had been opened on it.
    QAction* actionForPath(const QString& path, bool* isMenu = nullptr) const;
    // Enables the items whose tool exists; call after the drawing mode choices change.
    void refreshCommandStates();
    // A drop-down button of the toolbar shows the face of the item chosen last.
    void setButtonIcon(const QString& buttonName, int icon);
    // Sets the drawing mode; with `shapeset` the item's icon and caption become the "Shape"
    // button's face.
    void selectTool(const QString& mode, bool shapeset, int icon, const QString& caption);
    // A refused command shows its message and is remembered, so batch mode can stop.
    void fail(const QString& message);
    QString takeFailure();

    // ---- the workspace ----
    void repaintWorkspace();
    // The view scale of the picture (1: actual size); the picture maps the mouse through it.
    double zoom() const;
    void setZoom(double zoom);
    // Up or down the zoom ladder about the middle of the view.
    void zoomBy(int steps);
    // The picture becomes the workspace image. The one rule for what goes with it: the undo
    // steps take the new size (keeping their top-left content, as an undo after a size change
    // expects) and the range stays as stored (every use clips it to the image), so commands
    // that want the whole image selected say so themselves. False (nothing changed) for an
    // empty picture, which callers report in their own words. Open, Paste, Capture, New, Resize, Quick Preview's "Use" and
    // the effects that change the size all come through here.
    bool replaceWorkspace(const Bitmap& picture);
    // Changes the workspace size keeping the top-left content (new pixels white), through
    // replaceWorkspace. False (with a message, nothing changed) when the size cannot be held.
    bool setWorkspaceSize(int width, int height);
    // The one place image files come in and go out; other formats plug in here.
    bool openImageFile(const QString& path);
    bool saveImageFile(const QString& path);
    void PushImage();

    // ---- scripts ----
    TTurtle Turtle;
    // Runs turtle text on the workspace; a failure message is shown.
    TTurtle::RunResult runScript(const QString& text);
    void setScriptMaxSteps(std::int64_t steps) { scriptMaxSteps_ = steps; }
    bool scriptRunning() const { return scriptRunning_; }
    // What the last run ended with (batch mode turns a failure into its exit status).
    const TTurtle::RunResult& lastScriptRun() const { return lastScriptRun_; }

    // ---- controls ----
    void mypaintMouseDown(const MouseInput& in);
    void mypaintMouseMove(const MouseInput& in);
    void mypaintMouseUp(const MouseInput& in);
    const DragState& drag() const { return engine_.drag(); }
    void LineColorMouseUp(int row, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    void shapeflagClick(bool shift);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void buildLayout();
    void applyWindowSettings(const WindowSettings& s);
    WindowSettings currentWindowSettings() const;
    bool askToSaveChanges();  // false: the close is cancelled
    void showRepaint(const ToolEngine::Repaint& r);
    // The status bar's hint for the step the current tool waits for.
    void showToolStep();

    Options options_;
    std::unique_ptr<MainHost> host_;
    std::shared_ptr<Dialogs> dialogs_;
    QString programFolder_;
    WorkspaceState state_;
    ToolEngine engine_;
    ScriptRecorder recorder_;
    std::unique_ptr<CommandBar> commands_;
    std::unique_ptr<SecondaryWindows> windows_;
    std::unique_ptr<PatternList> patterns_;
    std::unique_ptr<RecentFiles> recent_;
    GadgetSet* gadgets_ = nullptr;  // a child object
    std::unique_ptr<FrameMarkers> frameMarkers_;

    bool shown_ = false;
    QString failure_;
    qint64 savedKey_ = 0;
    int savedWidth_ = 0, savedHeight_ = 0;

    std::int64_t scriptMaxSteps_ = 0;
    bool scriptRunning_ = false;
    bool scriptEscape_ = false;
    TTurtle::RunResult lastScriptRun_;

    PaintBox* mypaint = nullptr;
    ScrollBox* ScrollBox1 = nullptr;
    ColorList* LineColor = nullptr;
    ShapeFlag* shapeflag = nullptr;
    QLabel* panels_[4] = {};
    QLabel* stepPanel_ = nullptr;  // the step a multi-phase tool waits for
    QLabel* zoomPanel_ = nullptr;
};

}  // namespace pixoral
