#pragma once
// The menu bar, the toolbar and their drop-down menus, declared once as rows. A row carries
// what it does: a drawing mode to select, an image effect (a plain function on the workspace
// bitmap with the pixel format it needs), a numeric or colour prompt into a setting, a
// setting it toggles, or, for the few commands that are more than that, a handler. The
// window builds its QActions from these rows through one generic path (CommandBar), and
// batch mode finds commands by the captions in them.
//
// A row is named by its control name (`Invert1`); its handler name is that name with "Click"
// (`Invert1Click`), kept on the action as the property "handler" so both stay findable.
#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "canvas/Bitmap.h"
#include "ui/Prompt.h"
#include "workspace/WorkspaceSettings.h"

class QAction;
class QMenu;
class QToolBar;
class QToolButton;
class QWidget;

namespace pixoral {

class TPixoralF;
namespace effects {
struct RangeState;
}

using CommandHandler = std::function<void(TPixoralF&)>;

// What an image effect works with besides the workspace bitmap. An effect may update a
// setting it owns (a transition on a small range lowers the band count).
struct EffectInputs {
    WorkspaceSettings& settings;
    effects::RangeState& range;
    TColor fillColor;  // the fill indicator's colour
};

// An image effect. The generic path asks `refuse` first (a non-empty answer is shown and
// nothing changes), converts the workspace to `format` (when given), runs the effect,
// converts the result to `resultFormat`, reports an effect that ran out of memory, and
// repaints. An effect that `resizes` runs on a copy that then replaces the workspace, so a
// failure changes nothing.
struct EffectRow {
    std::function<bool(Bitmap&, EffectInputs&)> run;  // false: out of memory
    std::optional<PixelFormat> format;
    std::optional<PixelFormat> resultFormat;
    std::function<QString(const Bitmap&)> refuse;
    bool resizes = false;
};

// A prompt into a value of the window's state. Numbers go through acceptAnswer(); a colour
// prompt opens the colour dialog and a cancelled one stops the row.
struct PromptRow {
    enum class Kind { Number, Color };
    Kind kind = Kind::Number;
    NumberPrompt number;
    std::function<double(TPixoralF&)> get;
    std::function<void(TPixoralF&, double)> set;
    std::function<double(TPixoralF&)> upperBound;  // replaces number.hi when set
};

struct MenuEntry {
    // KeyShownOnly: the item shows its key, but another window binds it (the script
    // editor's clipboard keys act in the editor, not on the image).
    enum Flag { Checkable = 1, Checked = 2, Radio = 4, KeyShownOnly = 8 };

    QString caption;   // "-" is a separator
    QString name;      // Qt object name; empty: derived from the caption
    QStringList shortcuts;
    int icon = -1;     // index in the window's image list
    int flags = 0;
    int radioGroup = 0;  // Radio items of one menu with the same number exclude each other
    std::vector<MenuEntry> children;
    // The check mark follows this state, whichever way it changed (a menu item, a prompt, a
    // script); and the caption shows this value, "Line Tolerance (5)...", when it is not empty.
    std::function<bool(const TPixoralF&)> checkedWhen;
    std::function<QString(const TPixoralF&)> shownValue;

    // What it does; a row with none of these is not built yet and stays disabled. A prompt
    // and an effect on one row run in that order.
    CommandHandler handler;
    std::shared_ptr<const PromptRow> prompt;
    std::shared_ptr<const EffectRow> effect;
    bool WorkspaceSettings::*toggles = nullptr;  // the check mark follows the setting
    QString mode;      // drawing mode the item selects; enabled when a tool serves that mode
    bool shapeset = false;  // the item also becomes the "Shape" button's face

    bool isSeparator() const { return caption == QLatin1String("-"); }
    bool isSubmenu() const { return !children.empty(); }
    bool isBuilt() const { return handler || prompt || effect || toggles || !mode.isEmpty(); }

    MenuEntry& named(const QString& n) { name = n; return *this; }
    MenuEntry& key(const QString& k) { shortcuts << k; return *this; }
    MenuEntry& image(int i) { icon = i; return *this; }
    MenuEntry& flag(int f) { flags |= f; return *this; }
    // A radio item of `group` checked while `when` holds.
    MenuEntry& radio(int group, std::function<bool(const TPixoralF&)> when) {
        flags |= Checkable | Radio;
        radioGroup = group;
        checkedWhen = std::move(when);
        return *this;
    }
    MenuEntry& showing(std::function<QString(const TPixoralF&)> value) {
        shownValue = std::move(value);
        return *this;
    }
};

struct ToolButtonEntry {
    QString name;
    QString hint;
    int icon = -1;
    CommandHandler handler;  // the button's own press
    QString mode;            // a press selects this drawing mode (when a tool serves it)
    // The press selects a mode known only when pressed; enabled while a tool serves it.
    std::function<QString(const TPixoralF&)> modeNow;
    QString menuName;        // object name of the drop-down menu
    std::vector<MenuEntry> menu;
    bool separatorBefore = false;
    bool pressOpensMenu = false;  // the button itself has no command, only its menu
};

// ---- row builders shared by the command files ----
namespace rows {

WorkspaceSettings& settingsOf(TPixoralF& w);

MenuEntry item(const char* caption, CommandHandler h = {});
// A command not built yet: present, disabled.
MenuEntry later(const char* caption);
MenuEntry sep();
MenuEntry sub(const char* caption, std::vector<MenuEntry> children);
MenuEntry tool(const char* caption, const char* mode, int icon, bool shapeset = true);
MenuEntry effect(const char* caption, EffectRow e);
MenuEntry prompt(const char* caption, PromptRow p);
MenuEntry toggle(const char* caption, bool WorkspaceSettings::*setting);

// An effect from a callable on (Bitmap&, EffectInputs&) returning bool (false: out of
// memory) or nothing.
template <typename F>
EffectRow effectOf(F f, std::optional<PixelFormat> format = std::nullopt) {
    EffectRow e;
    e.format = format;
    e.run = [f](Bitmap& b, EffectInputs& in) {
        if constexpr (std::is_void_v<decltype(f(b, in))>) {
            f(b, in);
            return true;
        } else {
            return static_cast<bool>(f(b, in));
        }
    };
    return e;
}

// A numeric prompt into an int or double member of the settings.
template <typename T>
PromptRow numberInto(const NumberPrompt& p, T WorkspaceSettings::*member) {
    PromptRow r;
    r.number = p;
    r.get = [member](TPixoralF& w) { return static_cast<double>(settingsOf(w).*member); };
    r.set = [member](TPixoralF& w, double v) { settingsOf(w).*member = static_cast<T>(v); };
    return r;
}
// A colour dialog into a colour member of the settings.
PromptRow colorInto(TColor WorkspaceSettings::*member);

}  // namespace rows

// The menus of each command file, assembled into the menu bar by Commands.cpp.
MenuEntry fileMenu();
MenuEntry editMenu();
MenuEntry imageMenu();
MenuEntry rangeMenu();
MenuEntry optionsMenu();
MenuEntry textMenu();
// Range > Transition, Range > Mask and Image > Mask (TransitionCommands.cpp).
MenuEntry transitionMenu();
MenuEntry rangeMaskMenu();
MenuEntry imageMaskMenu();
// The toolbar's drop-downs (ToolCommands.cpp).
std::vector<MenuEntry> shapesMenu();
std::vector<MenuEntry> paintTextMenu();
std::vector<MenuEntry> makeButtonMenu();
std::vector<MenuEntry> brushStyleMenu();
std::vector<MenuEntry> lineWidthMenu();
std::vector<MenuEntry> penModeMenu();
std::vector<MenuEntry> copyModesMenu();
// The range becomes the whole image (a new or resized image, an opened file).
void selectWholeImage(TPixoralF& w);
// A script's named filter request (EffectCommands.cpp).
void requestFilter(TPixoralF& w, const QString& name);
// Brush style items (ToolCommands.cpp), also used by Clear Image.
void setBrushStyle(TPixoralF& w, BrushStyle style, int icon);

// The top-level menus in order.
const std::vector<MenuEntry>& menuBarTable();
// The toolbar buttons left to right.
const std::vector<ToolButtonEntry>& toolBarTable();

// The generic paths every row goes through.
void runEffect(TPixoralF& w, const EffectRow& e);
bool runPrompt(TPixoralF& w, const PromptRow& p);  // false: cancelled
CommandHandler commandOf(const MenuEntry& e);

// Builds the menu bar and toolbar of a window from the tables and finds their actions.
class CommandBar {
public:
    explicit CommandBar(TPixoralF& window);
    void build();
    // A popup menu from a table like the menu bar's; its items are found by the path of the
    // popup's name and their captions ("Labelpop>Paint").
    QMenu* buildPopup(const MenuEntry& popup, QWidget* parent);

    QAction* actionForPath(const QString& path, bool* isMenu = nullptr) const;
    static QString normalizePath(const QString& path);
    void refreshStates();
    // Check marks and shown values follow the state again.
    void refreshMarks();
    QToolButton* button(const QString& name) const;
    // The action behind a toolbar button (its icon and hint are the button's face).
    static QAction* buttonAction(QToolButton* button);

private:
    QMenu* buildMenu(const MenuEntry& entry, QWidget* parent, const QString& path);
    QAction* buildAction(const MenuEntry& entry, QObject* parent, const QString& path);
    void buildToolBar();
    QString uniqueName(const QString& wanted, const QString& caption);
    void connectCommand(QAction* a, CommandHandler h);

    TPixoralF& w_;
    QToolBar* toolBar_ = nullptr;
    QHash<QString, QAction*> actionsByPath_;
    QHash<QString, QMenu*> menusByPath_;
    QHash<QString, int> nameCounts_;
    // Items enabled only while their predicate holds (a tool serves their mode).
    std::vector<std::pair<QAction*, std::function<bool(TPixoralF&)>>> conditional_;
    // Items whose check mark or caption follows the state.
    struct Marked {
        QAction* action;
        QString caption;
        std::function<bool(const TPixoralF&)> checkedWhen;
        std::function<QString(const TPixoralF&)> shownValue;
    };
    std::vector<Marked> marked_;
};

// Icons of the window's image list.
enum IconId {
    icoLine, icoSLine, icoBezier, icoFreehand, icoArc, icoSpiral, icoSpiro,
    icoRectangle, icoSkewRect, icoRoundRect, icoTriangle, icoEllipse, icoChord, icoPie, icoStar, icoMaze,
    icoCube, icoGlobe, icoCone, icoHMirror, icoVMirror, icoCMirror, icoMirror4, icoSym,
    icoSpray, icoBlocks, icoClone,
    icoText, icoButton,
    icoBrushSolid, icoBrushClear, icoBrushHorizontal, icoBrushVertical, icoBrushFDiagonal, icoBrushBDiagonal,
    icoBrushCross, icoBrushDiagCross,
    icoWidth1, icoWidth2, icoWidth3, icoWidth4, icoWidth5,
    icoPenMode, icoSelectRange, icoPaste, icoPasteMask, icoFloodfill, icoFillSelection, icoPickPaint,
    icoPasteColor, icoPasteColorX, icoResize, icoClear, icoUndo,
    icoCount
};
QImage commandIcon(int id);

}  // namespace pixoral
