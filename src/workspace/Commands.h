#pragma once
// The menu bar, the toolbar and their drop-down menus, declared once. The window builds its
// QActions from these tables and batch mode finds commands by the captions in them.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace pixoral {

class TPixoralF;

using CommandHandler = std::function<void(TPixoralF&)>;

struct MenuEntry {
    enum Flag { Checkable = 1, Checked = 2, Radio = 4 };

    QString caption;   // "-" is a separator
    QString name;      // Qt object name; empty: derived from the caption
    QStringList shortcuts;
    CommandHandler handler;  // empty: the command is not built yet and stays disabled
    QString mode;      // drawing mode the item selects; enabled when a tool serves that mode
    bool shapeset = false;  // the item also becomes the "Shape" button's face
    int icon = -1;     // index in the window's image list
    int flags = 0;
    std::vector<MenuEntry> children;

    bool isSeparator() const { return caption == QLatin1String("-"); }
    bool isSubmenu() const { return !children.empty(); }

    MenuEntry& named(const QString& n) { name = n; return *this; }
    MenuEntry& key(const QString& k) { shortcuts << k; return *this; }
    MenuEntry& image(int i) { icon = i; return *this; }
    MenuEntry& flag(int f) { flags |= f; return *this; }
};

struct ToolButtonEntry {
    QString name;
    QString hint;
    int icon = -1;
    CommandHandler handler;  // the button's own press
    QString mode;            // a press selects this drawing mode (when a tool serves it)
    QString menuName;        // object name of the drop-down menu
    std::vector<MenuEntry> menu;
    bool separatorBefore = false;
    bool pressOpensMenu = false;  // the button itself has no command, only its menu
};

// The top-level menus in order.
const std::vector<MenuEntry>& menuBarTable();
// The toolbar buttons left to right.
const std::vector<ToolButtonEntry>& toolBarTable();

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

}  // namespace pixoral
