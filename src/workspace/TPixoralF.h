#pragma once
// The main window: the workspace image, its settings and undo ring, the menus and toolbar
// built from the command tables, and the handlers they call.
#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "script/Turtle.h"
#include "workspace/Commands.h"
#include "ui/Dialogs.h"
#include "workspace/Figures.h"
#include "effects/Range.h"
#include "workspace/Tools.h"
#include "workspace/UndoRing.h"
#include "workspace/WindowSettings.h"
#include "workspace/WorkspaceSettings.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QListWidget;
class QMenu;
class QPainter;
class QRect;
class QScrollArea;
class QToolBar;
class QToolButton;

namespace pixoral {

namespace effects {
struct LogicItem;
}
namespace generators {
class TPixoralQBF;
class TQuickPreviewF;
}  // namespace generators
namespace effects {
class TPixoralEffectsF;
enum class SliderEffect;
}  // namespace effects
class MainHost;
class PaintBox;
class SecondaryWindows;
class WorkspaceHost;
class ColorList;
class ShapeFlag;

class TPixoralF : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        QString programFolder;  // with a trailing separator
        QString settingsFileName = QStringLiteral("pixoral.ini");
        std::shared_ptr<Dialogs> dialogs;  // null: the Qt dialogs
        bool batch = false;  // no window state is read or written
    };

    explicit TPixoralF(Options options, QWidget* parent = nullptr);
    ~TPixoralF() override;

    // ---- state ----
    Bitmap& workspace() { return workspace_; }
    const Bitmap& workspace() const { return workspace_; }
    Canvas& canvas() { return workspace_.canvas(); }
    WorkspaceSettings& settings() { return settings_; }
    const WorkspaceSettings& settings() const { return settings_; }
    UndoRing& undoRing() { return undo_; }
    Dialogs& dialogs() { return *dialogs_; }
    ToolTable& tools() { return tools_; }
    effects::RangeState& rangeState() { return range_; }
    const effects::RangeState& rangeState() const { return range_; }
    const QString& programFolder() const { return programFolder_; }
    QString settingsFilePath() const { return programFolder_ + options_.settingsFileName; }
    QString helpFile() const { return programFolder_ + QStringLiteral("Pixoral.hlp"); }
    QString statusText(int panel) const;
    void setStatusText(int panel, const QString& text);
    // The fill indicator's colours (not always the canvas brush).
    TColor shapeflagPenColor() const;
    TColor shapeflagBrushColor() const;
    void setShapeflagColors(TColor pen, TColor brush);
    bool isModified() const;

    TTurtle Turtle;

    // ---- commands ----
    // The action at a menu path ("File>New", "Toolbar>Set Pen Mode>Xor"): captions joined by
    // '>', '&' and a trailing "..." left out, letter case ignored. Null when there is none;
    // `isMenu` tells a path that names a submenu.
    QAction* actionForPath(const QString& path, bool* isMenu = nullptr) const;
    QStringList commandPaths() const;
    static QString normalizePath(const QString& path);
    // Enables the mode items whose tool exists; call after adding tools.
    void refreshCommandStates();

    // A refused command shows its message and is remembered, so batch mode can stop.
    void fail(const QString& message);
    QString takeFailure();

    // ---- the workspace ----
    void repaintWorkspace();
    // Changes the workspace size keeping the top-left content and resizes the undo steps.
    // False (with a message, nothing changed) when the size cannot be held.
    bool setWorkspaceSize(int width, int height);
    // The picture becomes the workspace image: the undo steps take its size and the range
    // becomes the whole image. False (with a message, nothing changed) when the picture is
    // empty or larger than the program holds.
    bool replaceWorkspace(const Bitmap& picture);
    static bool sizeIsValid(long long width, long long height);
    // The one place image files come in and go out; other formats plug in here.
    bool openImageFile(const QString& path);
    // File > Open Recent, newest first; also fed by Save As and by dropped files.
    QStringList recentFiles() const;
    void openRecentClick(int index);
    void ClearRecent1Click();
    bool saveImageFile(const QString& path);
    static QString openFilter();
    static QString saveFilter();

    // Runs turtle text on the workspace; a failure message is shown.
    TTurtle::RunResult runScript(const QString& text);
    void setScriptMaxSteps(std::int64_t steps) { scriptMaxSteps_ = steps; }
    bool scriptRunning() const { return scriptRunning_; }

    // ---- handlers (names as the commands give them) ----
    void FormCreate();
    void FormShow();
    void FormClose();
    void PushImage();
    void goUndoClick();
    void Redo1Click();
    void New1Click();
    void NewBanner1Click();
    void Open1Click();
    void SaveAs1Click();
    // Image files, clipboard, screen and the pattern list.
    void GifTransClick();
    void CopytoClipboard1Click();
    void PastefromClipboard1Click();
    void PasteStretchfromClipboard1Click();
    void Screen1Click();
    void PatListDrawItem(QPainter& painter, int index, const QRect& rect, bool selected);
    void PatListClick();
    void UpdatePattern1Click();
    void EditPattern1Click();
    void SavePattern1Click();
    void OpenPattern1Click();
    const Bitmap& patternStrip() const { return patternStrip_; }
    const Bitmap& brushPattern() const { return brushPattern_; }
    void Exit1Click();
    void ToolButton10Click();  // Resize Image
    void ToolButton12Click();  // Clear Image
    void ToolButton14Click();  // Fill Selection
    void ClearDefault1Click();
    void Make1Click();
    void Width1Click();
    void Height1Click();
    void Color1Click();
    void Default1Click();
    void About1Click();
    // The Range menu and "Mask Clip" (RangeCommands.cpp).
    void SelectAll2Click();
    void toHeight1Click();
    void toWidth1Click();
    void SetOffset1Click();
    void Color5Click();
    void Invert2Click();
    void Blue2Click();
    void Red2Click();
    void Green2Click();
    void User1Click();
    void Red3Click();
    void Blue3Click();
    void Green3Click();
    void User2Click();
    void Red4Click();
    void Blue4Click();
    void Green4Click();
    void User3Click();
    void Tile1Click();
    void Random1Click();
    void Horizontal2Click();
    void Vertical3Click();
    void Mirror1Click();
    void Mozaic1Click();
    void Reduce2Click();
    void Horizontal3Click();
    void Vertical4Click();
    void Erase1Click();
    void MaskClip1Click();
    // The range tools (RangeTools.cpp); called once from the constructor.
    void registerRangeTools();
    void Font1Click();
    void Text1Click();
    void ShadowDx1Click();
    void ShadowDy1Click();
    void ShadowColor1Click();
    void ShadowDefault1Click();
    void OtherSize1Click();
    void selectcopyClick();
    void setPenModeItem(PenMode mode, const QString& status);
    void brushset(BrushStyle style, int icon);
    void SetLineWidth(int width, int icon);
    void setPenStyleItem(PenStyle style);
    void setCopyModeItem(CopyMode mode);
    void setCopySelectionMode(const QString& mode, int icon);
    // Sets the drawing mode; with `shapeset` the item's icon and caption become the "Shape"
    // button's face.
    void selectTool(const QString& mode, bool shapeset, int icon, const QString& caption);

    void mypaintMouseDown(const MouseInput& in);
    void mypaintMouseMove(const MouseInput& in);
    void mypaintMouseUp(const MouseInput& in);
    void LineColorMouseUp(int row, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    void shapeflagClick(bool shift);

    // Engine state of the mouse handlers.
    struct DragState {
        bool dragging = false;
        Point start, previous;
        QString slineDirection = QStringLiteral("none");
        PenMode savedPenMode = PenMode::pmCopy;
    };
    const DragState& drag() const { return drag_; }
    DragState& dragState() { return drag_; }

    // ---- drawing tools (DrawingTools.cpp, ToolCommands.cpp) ----
    // Fills the tool table with every drawing tool; called once from the constructor.
    void registerDrawingTools();
    FigureParams figureParams() const;
    // Text for the script editor's caret: recorded strokes and Ctrl-clicked coordinates. It is
    // taken only while the editor's text area is flagged visible; the last texts are kept.
    void recordText(const QString& text);
    bool scriptTextVisible() const { return scriptTextVisible_; }
    void setScriptTextVisible(bool on) { scriptTextVisible_ = on; }
    const QStringList& recordedTexts() const { return recordedTexts_; }
    // What a tool changed during a mouse move, so only that part is shown again. A move that
    // marks nothing repaints the whole image; markUnchanged() says nothing was drawn.
    void markDirty(const Rect& r);
    void markUnchanged() { dirtyKnown_ = true; }
    void repaintRegion(const std::vector<Rect>& region);

    // ---- effects, the effects panel and the Quick windows (EffectCommands.cpp) ----
    void Invert1Click();
    void Grayscale1Click();
    void Spray2Click();
    void AntiAlias1Click();
    void RollColors1Click();
    void SwapRG1Click();
    void SwapGB1Click();
    void SwapRB1Click();
    void Moire1Click();     // Trace > Trace
    void Generate1Click();  // Trace > Contour Accent
    void TraceRange1Click();
    void ColorByte1Click();
    void TraceIntensityClick();
    void N8bit1Click();
    void N24bit1Click();
    void TurtleRequestFilter(const QString& name);
    int traceIntensity() const { return traceIntensity_; }

    static QImage icon(int id);
    SecondaryWindows& windows() { return *windows_; }
    WorkspaceHost& host();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildLayout();
    void buildMenus();
    void buildToolBar();
    QMenu* buildMenu(const MenuEntry& entry, QWidget* parent, const QString& pathPrefix);
    QAction* buildAction(const MenuEntry& entry, QObject* parent, const QString& path);
    QString uniqueName(const QString& wanted, const QString& caption);
    static QAction* buttonAction(QToolButton* button);
    void applyWindowSettings(const WindowSettings& s);
    WindowSettings currentWindowSettings() const;
    bool askToSaveChanges();  // false: the close is cancelled
    void markSaved();
    int askInt(const QString& caption, const QString& prompt, const QString& defaultText, int fallback, bool* isInt = nullptr);
    void setUpPatList();
    void loadPatterns();
    void storePatterns();
    void selectPattern(int n);
    void runLogicItem(const effects::LogicItem& item);

    void loadRecentFiles();
    void noteRecentFile(const QString& path);
    // Shows the list in the menu and stores it (outside batch runs).
    void setRecentFiles(const QStringList& files);
    void updateRecentMenu();
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

    // Effects and Quick windows (EffectCommands.cpp).
    void setPixelFormatItem(PixelFormat format, const QString& itemName);
    bool effectDone(bool ok);
    int traceIntensity_ = 1;

    Options options_;
    std::unique_ptr<MainHost> host_;
    std::unique_ptr<SecondaryWindows> windows_;
    std::shared_ptr<Dialogs> dialogs_;
    QString programFolder_;
    Bitmap workspace_;
    effects::RangeState range_;  // the current range, the range buffer and their modes
    TColor logicUserColor_ = clBlack;  // what Range > Logic > User chose last
    Bitmap maskBitmap_;
    Bitmap patternStrip_;
    Bitmap brushPattern_;
    bool patternsChanged_ = false;
    bool patternFileUnreadable_ = false;
    WorkspaceSettings settings_;
    UndoRing undo_;
    ToolTable tools_;
    DragState drag_;
    bool scriptTextVisible_ = false;
    QStringList recordedTexts_;
    std::vector<Rect> dirty_;
    bool dirtyKnown_ = false;
    QStringList recentFiles_;
    bool shown_ = false;
    bool closing_ = false;
    QString failure_;
    qint64 savedKey_ = 0;
    int savedWidth_ = 0, savedHeight_ = 0;

    std::int64_t scriptMaxSteps_ = 0;
    bool scriptRunning_ = false;
    bool scriptEscape_ = false;

    QScrollArea* ScrollBox1 = nullptr;
    PaintBox* mypaint = nullptr;
    ColorList* LineColor = nullptr;
    ShapeFlag* shapeflag = nullptr;
    QListWidget* PatList = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QLabel* panels_[4] = {};
    QToolButton* setshape = nullptr;
    QHash<QString, QAction*> actionsByPath_;
    QHash<QString, QMenu*> menusByPath_;
    QHash<QString, int> nameCounts_;
    std::vector<std::pair<QAction*, QString>> modeActions_;  // enabled when a tool serves the mode
    std::vector<std::pair<QToolButton*, int>> iconButtons_;
};

}  // namespace pixoral
