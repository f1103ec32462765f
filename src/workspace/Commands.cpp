#include "workspace/Commands.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>
#include <map>

#include "effects/ColorEffects.h"
#include "effects/EffectParams.h"
#include "effects/RangeOps.h"
#include "ui/HelpViewer.h"
#include "workspace/Gadgets.h"
#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

using F = TPixoralF;

// ---------------------------------------------------------------- row builders

namespace rows {

WorkspaceSettings& settingsOf(TPixoralF& w) { return w.settings(); }

MenuEntry item(const char* caption, CommandHandler h) {
    MenuEntry e;
    e.caption = QString::fromUtf8(caption);
    e.handler = std::move(h);
    return e;
}

MenuEntry later(const char* caption) { return item(caption); }

MenuEntry sep() { return item("-"); }

MenuEntry sub(const char* caption, std::vector<MenuEntry> children) {
    MenuEntry e = item(caption);
    e.children = std::move(children);
    return e;
}

MenuEntry tool(const char* caption, const char* mode, int icon, bool shapeset) {
    MenuEntry e = item(caption);
    e.mode = QString::fromLatin1(mode);
    e.icon = icon;
    e.shapeset = shapeset;
    return e;
}

MenuEntry effect(const char* caption, EffectRow row) {
    MenuEntry e = item(caption);
    e.effect = std::make_shared<const EffectRow>(std::move(row));
    return e;
}

MenuEntry prompt(const char* caption, PromptRow row) {
    MenuEntry e = item(caption);
    e.prompt = std::make_shared<const PromptRow>(std::move(row));
    return e;
}

MenuEntry toggle(const char* caption, bool WorkspaceSettings::*setting) {
    MenuEntry e = item(caption);
    e.toggles = setting;
    e.flags |= MenuEntry::Checkable;
    e.checkedWhen = [setting](const TPixoralF& w) { return w.settings().*setting; };
    return e;
}

PromptRow colorInto(TColor WorkspaceSettings::*member) {
    PromptRow r;
    r.kind = PromptRow::Kind::Color;
    r.get = [member](TPixoralF& w) { return static_cast<double>(w.settings().*member); };
    r.set = [member](TPixoralF& w, double v) { w.settings().*member = static_cast<TColor>(v); };
    return r;
}

}  // namespace rows

using namespace rows;

// ---------------------------------------------------------------- the generic paths

void runEffect(TPixoralF& w, const EffectRow& e) {
    if (e.refuse) {
        const QString why = e.refuse(w.workspace());
        if (!why.isEmpty()) {
            w.fail(why);
            return;
        }
    }
    EffectInputs in{w.settings(), w.rangeState(), w.shapeflagBrushColor()};
    auto convert = [](Bitmap& b, std::optional<PixelFormat> f) {
        return !f || b.pixelFormat() == *f || effects::convertPixelFormat(b, *f);
    };
    auto apply = [&](Bitmap& b) { return convert(b, e.format) && e.run(b, in) && convert(b, e.resultFormat); };
    if (e.resizes) {
        Bitmap next = w.workspace();
        if (!apply(next)) w.fail(effects::noMemoryFor(w.workspace()));
        else w.replaceWorkspace(next);
        return;
    }
    if (!apply(w.workspace())) w.fail(effects::noMemoryFor(w.workspace()));
    w.repaintWorkspace();
}

bool runPrompt(TPixoralF& w, const PromptRow& p) {
    if (p.kind == PromptRow::Kind::Color) {
        const auto c = w.dialogs().color(static_cast<TColor>(p.get(w)));
        if (!c) return false;
        p.set(w, *c);
        return true;
    }
    const std::optional<double> hi = p.upperBound ? std::optional<double>(p.upperBound(w)) : std::nullopt;
    const PromptResult r = askNumber(w.dialogs(), p.number, p.get(w), hi);
    p.set(w, r.value);
    // A refusal the user was told about stops the row; a silent one goes on with the value.
    return !(r.refused && !p.number.message.isEmpty());
}

CommandHandler commandOf(const MenuEntry& e) {
    if (e.handler) return e.handler;
    if (e.toggles) {
        return [m = e.toggles](F& w) { w.settings().*m = !(w.settings().*m); };
    }
    if (!e.mode.isEmpty()) {
        QString caption = e.caption;
        caption.remove(QLatin1Char('&'));
        return [mode = e.mode, shapeset = e.shapeset, icon = e.icon, caption](F& w) {
            w.selectTool(mode, shapeset, icon, caption);
        };
    }
    if (e.prompt || e.effect) {
        return [p = e.prompt, ef = e.effect](F& w) {
            if (p && !runPrompt(w, *p)) return;
            if (ef) runEffect(w, *ef);
        };
    }
    return {};
}

void selectWholeImage(TPixoralF& w) { w.rangeState().range = Rect{0, 0, w.workspace().width(), w.workspace().height()}; }

// ---------------------------------------------------------------- toolbar handlers

namespace {

void goUndoClick(F& w) {
    UndoRing::Kept kept;
    if (!w.undoRing().undo(w.workspace(), &kept)) return;
    if (kept.lostSomething()) w.setStatusText(0, UndoRing::keptMessage(kept));
    w.repaintWorkspace();
}

void ToolButton10Click(F& w) {  // Resize Image
    const int oldH = w.workspace().height(), oldW = w.workspace().width();
    NumberPrompt p;
    p.caption = QStringLiteral("Pixoral");
    p.text = QStringLiteral("Enter height:");
    const int h = askInt(w.dialogs(), p, oldH);
    p.text = QStringLiteral("Enter width:");
    const int wd = askInt(w.dialogs(), p, oldW);
    if (!imageSizeAllowed(wd, h)) {
        w.setWorkspaceSize(wd, h);  // reports
        return;
    }
    w.canvas().brush().setColor(clWhite);
    w.setShapeflagColors(w.shapeflagPenColor(), clWhite);
    if (w.setWorkspaceSize(wd, h)) selectWholeImage(w);
}

void ToolButton12Click(F& w) {  // Clear Image
    Canvas& c = w.canvas();
    c.brush().setColor(clWhite);
    c.pen().style = PenStyle::psSolid;
    w.setShapeflagColors(w.shapeflagPenColor(), clWhite);
    c.fillRect(Rect{0, 0, w.workspace().width(), w.workspace().height()});
    setBrushStyle(w, BrushStyle::bsClear, icoBrushClear);
    selectWholeImage(w);
    w.repaintWorkspace();
}

void ToolButton14Click(F& w) {  // Fill Selection
    w.canvas().fillRect(w.rangeState().range);
    w.repaintWorkspace();
}

using Editor = script::TPixoralScriptF;

// A Script menu item: a handler of the script editor.
MenuEntry editorItem(const char* caption, void (Editor::*handler)()) {
    return item(caption, [handler](F& w) { (w.windows().scriptEditor()->*handler)(); });
}

std::vector<MenuEntry> buildMenuBar() {
    std::vector<MenuEntry> m;
    m.push_back(fileMenu());
    m.push_back(editMenu());
    m.push_back(sub("&View", {item("&Effects Panel", [](F& w) { w.windows().showEffectsPanel(); }).named("EffectsPanel1"),
                              sep(),
                              item("Zoom &In", [](F& w) { w.zoomBy(1); }).named("ZoomIn1").key("Ctrl++").key("Ctrl+="),
                              item("Zoom &Out", [](F& w) { w.zoomBy(-1); }).named("ZoomOut1").key("Ctrl+-"),
                              item("&Actual Size", [](F& w) { w.setZoom(1); }).named("ActualSize1").key("Ctrl+0")}));
    m.push_back(textMenu());
    m.push_back(optionsMenu());
    m.push_back(imageMenu());
    m.push_back(rangeMenu());
    // The editing keys belong to the editor while it has the focus; on the image Ctrl+A stays
    // Range > Select All and the others do nothing, so a key meant for the picture never
    // changes text in a hidden editor.
    m.push_back(sub("&Script", {
        item("&View Editor", [](F& w) { w.windows().showScriptEditor(); }).named("ScriptEditor1"),
        editorItem("&Open...", &Editor::Open2Click).named("Open2"),
        editorItem("Save &As", &Editor::SaveAs2Click).named("SaveAs2"), sep(),
        editorItem("&Run", &Editor::Run1Click).named("Run1").key("F9"),
        editorItem("Run Item", &Editor::RunItem1Click).named("RunItem1").key("Shift+F9"), sep(),
        editorItem("&Add", &Editor::Add1Click).named("Add1"), editorItem("&Delete", &Editor::Delete1Click).named("Delete1"),
        editorItem("&Update", &Editor::Update2Click).named("Update2"), sep(),
        editorItem("&Select All", &Editor::SelectAll1Click).named("SelectAll1").key("Ctrl+A").flag(MenuEntry::KeyShownOnly),
        editorItem("Cu&t", &Editor::Cut1Click).named("Cut1").key("Ctrl+X").flag(MenuEntry::KeyShownOnly),
        editorItem("&Copy", &Editor::Copy3Click).key("Ctrl+C").flag(MenuEntry::KeyShownOnly),
        editorItem("&Paste", &Editor::Paste2Click).key("Ctrl+V").flag(MenuEntry::KeyShownOnly),
    }));
    m.push_back(gadgetsMenu());
    m.push_back(sub("&Help", {item("&Contents", [](F& w) { w.windows().showHelp(kHelpContentsTopic); }).named("Contents1").key("F1"), sep(),
                              item("&About", [](F& w) { w.dialogs().message(QStringLiteral("Pixoral " PIXORAL_VERSION)); })
                                  .named("About1")}));
    return m;
}

std::vector<ToolButtonEntry> buildToolBar() {
    std::vector<ToolButtonEntry> t;
    auto add = [&t](const char* name, const char* hint, int icon, bool sepBefore = false) -> ToolButtonEntry& {
        ToolButtonEntry e;
        e.name = QString::fromLatin1(name);
        e.hint = QString::fromLatin1(hint);
        e.icon = icon;
        e.separatorBefore = sepBefore;
        t.push_back(std::move(e));
        return t.back();
    };
    auto dropDown = [&add](const char* name, const char* hint, int icon, const char* menuName,
                           std::vector<MenuEntry> menu, bool sepBefore = false) -> ToolButtonEntry& {
        ToolButtonEntry& e = add(name, hint, icon, sepBefore);
        e.menuName = QString::fromLatin1(menuName);
        e.menu = std::move(menu);
        e.pressOpensMenu = true;
        return e;
    };
    dropDown("setshape", "Shape", icoLine, "shapes", shapesMenu());
    auto& text = dropDown("goText", "Paint Text", icoText, "SetPaintText", paintTextMenu());
    text.mode = QStringLiteral("text");
    text.pressOpensMenu = false;
    dropDown("ToolButton8", "Make Button", icoButton, "setbutton", makeButtonMenu());
    dropDown("setbrushstyle", "Solid/Clear", icoBrushClear, "brushstyle", brushStyleMenu(), true);
    dropDown("setwidth", "Line Width", icoWidth1, "linewidth", lineWidthMenu());
    dropDown("setpenmode", "Set Pen Mode", icoPenMode, "penmodes", penModeMenu());
    add("ToolButton2", "Select Range", icoSelectRange, true).mode = QStringLiteral("snapshot");
    auto& copy = dropDown("selectcopy", "Copy Selection", icoPaste, "copymodes", copyModesMenu());
    copy.pressOpensMenu = false;
    copy.modeNow = [](const F& w) { return w.settings().copySelectionMode; };
    add("ToolButton4", "Floodfill", icoFloodfill).mode = QStringLiteral("floodfill");
    auto& fill = dropDown("ToolButton14", "Fill Selection", icoFillSelection, "clipspop",
                          {effect("Mask Clip", effectOf([](Bitmap& b, EffectInputs& in) {
                               effects::maskClip(b, in.range, in.fillColor);
                           })).named("MaskClip1")});
    fill.handler = &ToolButton14Click;
    fill.pressOpensMenu = false;
    add("ToolButton5", "Pick Paint", icoPickPaint).mode = QStringLiteral("paintpick");
    add("ToolButton6", "Paste Color", icoPasteColor).mode = QStringLiteral("pastecolor");
    add("ToolButton7", "Paste Color Inverted", icoPasteColorX).mode = QStringLiteral("pastecolorx");
    add("ToolButton10", "Resize Image", icoResize, true).handler = &ToolButton10Click;
    add("ToolButton12", "Clear Image", icoClear).handler = &ToolButton12Click;
    add("goUndo", "Undo", icoUndo).handler = &goUndoClick;
    return t;
}

// Every name in the tables that is given explicitly, so derived names never take one.
void collectNames(const std::vector<MenuEntry>& entries, QHash<QString, int>& into) {
    for (const MenuEntry& e : entries) {
        if (!e.name.isEmpty()) into.insert(e.name, 1);
        collectNames(e.children, into);
    }
}

QString withoutAmpersand(QString s) {
    s.remove(QLatin1Char('&'));
    return s;
}

QIcon iconOf(int id) { return QIcon(QPixmap::fromImage(commandIcon(id))); }

}  // namespace

const std::vector<MenuEntry>& menuBarTable() {
    static const std::vector<MenuEntry> table = buildMenuBar();
    return table;
}

const std::vector<ToolButtonEntry>& toolBarTable() {
    static const std::vector<ToolButtonEntry> table = buildToolBar();
    return table;
}

// ---------------------------------------------------------------- the command bar

CommandBar::CommandBar(TPixoralF& window) : w_(window) {}

void CommandBar::build() {
    collectNames(menuBarTable(), nameCounts_);
    for (const ToolButtonEntry& t : toolBarTable()) {
        nameCounts_.insert(t.name, 1);
        collectNames(t.menu, nameCounts_);
    }
    QMenuBar* bar = w_.menuBar();
    for (const MenuEntry& top : menuBarTable()) bar->addMenu(buildMenu(top, bar, top.caption));
    buildToolBar();
    refreshMarks();
}

QMenu* CommandBar::buildPopup(const MenuEntry& popup, QWidget* parent) {
    collectNames({popup}, nameCounts_);
    return buildMenu(popup, parent, popup.name);
}

QString CommandBar::normalizePath(const QString& path) {
    QStringList parts = path.split(QLatin1Char('>'));
    for (QString& p : parts) {
        p = withoutAmpersand(p).trimmed().toLower();
        if (p.endsWith(QLatin1String("..."))) p.chop(3);
        p = p.trimmed();
    }
    return parts.join(QLatin1Char('>'));
}

QString CommandBar::uniqueName(const QString& wanted, const QString& caption) {
    if (!wanted.isEmpty() && !nameCounts_.contains(wanted + QStringLiteral("#used"))) {
        nameCounts_.insert(wanted + QStringLiteral("#used"), 1);
        return wanted;
    }
    // Derived as a form designer would: the caption's letters and digits, then a number.
    QString base;
    for (const QChar c : withoutAmpersand(caption))
        if (c.isLetterOrNumber() && c.unicode() < 128) base += c;
    if (base.isEmpty()) base = QStringLiteral("Item");
    if (base[0].isDigit()) base.prepend(QLatin1Char('N'));
    for (int n = 1;; ++n) {
        const QString candidate = base + QString::number(n);
        if (!nameCounts_.contains(candidate) && !nameCounts_.contains(candidate + QStringLiteral("#used"))) {
            nameCounts_.insert(candidate + QStringLiteral("#used"), 1);
            return candidate;
        }
    }
}

void CommandBar::connectCommand(QAction* a, CommandHandler h) {
    a->setEnabled(static_cast<bool>(h));
    if (h) QObject::connect(a, &QAction::triggered, &w_, [this, h] {
        h(w_);
        refreshMarks();
    });
}

void CommandBar::refreshMarks() {
    for (const Marked& m : marked_) {
        if (m.checkedWhen) m.action->setChecked(m.checkedWhen(w_));
        if (!m.shownValue) continue;
        const QString value = m.shownValue(w_);
        QString text = m.caption;
        if (!value.isEmpty()) {
            const QString shown = QStringLiteral(" (%1)").arg(value);
            if (text.endsWith(QLatin1String("..."))) text.insert(text.size() - 3, shown);
            else text += shown;
        }
        m.action->setText(text);
    }
}

QAction* CommandBar::buildAction(const MenuEntry& e, QObject* parent, const QString& path) {
    auto* a = new QAction(e.caption, parent);
    a->setObjectName(uniqueName(e.name, e.caption));
    a->setProperty("handler", a->objectName() + QStringLiteral("Click"));
    if (e.icon >= 0) a->setIcon(iconOf(e.icon));
    QList<QKeySequence> keys;
    for (const QString& k : e.shortcuts) {
        // Two commands share Ctrl+Alt+R and two Ctrl+A: the first in menu order takes the key,
        // the later one only shows it.
        const QString used = QStringLiteral("#key:") + k;
        if ((e.flags & MenuEntry::KeyShownOnly) || nameCounts_.contains(used)) a->setText(a->text() + QLatin1Char('\t') + k);
        else {
            nameCounts_.insert(used, 1);
            keys << QKeySequence(k);
        }
    }
    if (!keys.isEmpty()) a->setShortcuts(keys);
    if (e.flags & MenuEntry::Checkable) a->setCheckable(true);
    if (e.flags & MenuEntry::Checked) a->setChecked(true);
    connectCommand(a, commandOf(e));
    if (!e.mode.isEmpty()) conditional_.emplace_back(a, [mode = e.mode](F& w) { return w.tools().has(mode); });
    if (e.checkedWhen || e.shownValue) marked_.push_back(Marked{a, e.caption, e.checkedWhen, e.shownValue});
    actionsByPath_.insert(normalizePath(path), a);
    return a;
}

QMenu* CommandBar::buildMenu(const MenuEntry& entry, QWidget* parent, const QString& path) {
    auto* menu = new QMenu(entry.caption, parent);
    menu->setObjectName(uniqueName(entry.name, entry.caption));
    menu->menuAction()->setObjectName(menu->objectName());
    menusByPath_.insert(normalizePath(path), menu);
    // A script or a prompt may have changed what the marks show since the last command.
    QObject::connect(menu, &QMenu::aboutToShow, &w_, [this] { refreshMarks(); });
    std::map<int, QActionGroup*> radio;
    for (const MenuEntry& e : entry.children) {
        if (e.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        const QString childPath = path + QLatin1Char('>') + e.caption;
        if (e.isSubmenu()) {
            menu->addMenu(buildMenu(e, menu, childPath));
            continue;
        }
        QAction* a = buildAction(e, menu, childPath);
        if (e.flags & MenuEntry::Radio) {
            QActionGroup*& group = radio[e.radioGroup];
            if (!group) group = new QActionGroup(menu);
            group->addAction(a);
        }
        menu->addAction(a);
    }
    return menu;
}

void CommandBar::buildToolBar() {
    toolBar_ = new QToolBar(&w_);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setFixedHeight(29);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    w_.addToolBar(Qt::TopToolBarArea, toolBar_);
    for (const ToolButtonEntry& t : toolBarTable()) {
        if (t.separatorBefore) toolBar_->addSeparator();
        const QString path = QStringLiteral("Toolbar>") + t.hint;
        auto* button = new QToolButton(toolBar_);
        button->setObjectName(t.name);
        button->setAutoRaise(true);
        auto* a = new QAction(iconOf(t.icon), t.hint, button);
        a->setObjectName(t.name);
        a->setProperty("handler", t.name + QStringLiteral("Click"));
        a->setToolTip(t.hint);
        if (t.menu.empty()) {
            button->setDefaultAction(a);
        } else {
            // A drop-down button mirrors its action by hand: when the button's own command
            // is not available its menu must still open, so the press opens it instead.
            button->setIcon(a->icon());
            button->setToolTip(t.hint);
            QObject::connect(a, &QAction::changed, button, [button, a, opensMenu = t.pressOpensMenu] {
                button->setIcon(a->icon());
                button->setToolTip(a->toolTip());
                button->setPopupMode(!opensMenu && a->isEnabled() ? QToolButton::MenuButtonPopup : QToolButton::InstantPopup);
            });
            QObject::connect(button, &QToolButton::clicked, a, [a] {
                if (a->isEnabled()) a->trigger();
            });
            MenuEntry holder;
            holder.caption = t.hint;
            holder.name = t.menuName;
            holder.children = t.menu;
            button->setMenu(buildMenu(holder, button, path));
            button->setPopupMode(QToolButton::InstantPopup);
        }
        // A button that only opens its menu has no command of its own; the path names that menu.
        if (!t.pressOpensMenu) {
            CommandHandler h = t.handler;
            std::function<QString(const F&)> modeNow = t.modeNow;
            if (!modeNow && !t.mode.isEmpty()) modeNow = [mode = t.mode](const F&) { return mode; };
            if (!h && modeNow) h = [modeNow](F& w) { w.selectTool(modeNow(w), false, -1, QString()); };
            if (modeNow) conditional_.emplace_back(a, [modeNow](F& w) { return w.tools().has(modeNow(w)); });
            connectCommand(a, h);
            actionsByPath_.insert(normalizePath(path), a);
        }
        if (!t.menu.empty()) emit a->changed();
        toolBar_->addWidget(button);
    }
}

void CommandBar::refreshStates() {
    for (auto& [action, enabled] : conditional_) action->setEnabled(enabled(w_));
}

QAction* CommandBar::actionForPath(const QString& path, bool* isMenu) const {
    const QString key = normalizePath(path);
    if (isMenu) *isMenu = menusByPath_.contains(key);
    return actionsByPath_.value(key, nullptr);
}

QToolButton* CommandBar::button(const QString& name) const {
    return toolBar_ ? toolBar_->findChild<QToolButton*>(name) : nullptr;
}

QAction* CommandBar::buttonAction(QToolButton* button) {
    return button->findChild<QAction*>(button->objectName(), Qt::FindDirectChildrenOnly);
}

}  // namespace pixoral
