#include "workspace/TPixoralF.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "workspace/DirtyRegion.h"
#include "workspace/MainHost.h"
#include "workspace/SecondaryWindows.h"
#include "workspace/QtDialogs.h"
#include "workspace/WorkspaceControls.h"

namespace pixoral {

namespace {

constexpr long long kMaxSide = 32768;
constexpr long long kMaxPixels = 1LL << 28;

QString withoutAmpersand(QString s) {
    s.remove(QLatin1Char('&'));
    return s;
}

QString menuCaption(const QString& caption) {
    // Captions keep their '&' accelerators; a literal one would need doubling.
    return caption;
}

// Every name in the tables that is given explicitly, so derived names never take one.
void collectNames(const std::vector<MenuEntry>& entries, QHash<QString, int>& into) {
    for (const MenuEntry& e : entries) {
        if (!e.name.isEmpty()) into.insert(e.name, 1);
        collectNames(e.children, into);
    }
}

}  // namespace

void WorkspaceSettings::fillWhirlAngles() {
    const long double pi = 3.14159265358979323846264338327950288L;
    for (int i = 0; i < 181; ++i) {
        const long double a = static_cast<long double>(i - 90) * pi / 180.0L;
        whirlAngles[i] = {std::sin(a), std::cos(a)};
    }
}

TPixoralF::TPixoralF(Options options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)), host_(std::make_unique<MainHost>(*this)), dialogs_(options_.dialogs) {
    if (!dialogs_) dialogs_ = std::make_shared<QtDialogs>(this);
    setObjectName(QStringLiteral("TPixoralF"));
    registerDrawingTools();
    FormCreate();
    registerRangeTools();
}

WorkspaceHost& TPixoralF::host() { return *host_; }

TPixoralF::~TPixoralF() {
    // The turtle keeps a pointer to our canvas and callbacks into us.
    Turtle.setCanvas(nullptr);
    Turtle.OnRepaintRequest = nullptr;
    Turtle.OnRequestImageSize = nullptr;
    Turtle.OnRequestBackGround = nullptr;
    Turtle.OnRequestFilter = nullptr;
    Turtle.interruptCheck = nullptr;
}

// ---------------------------------------------------------------- start-up

void TPixoralF::FormCreate() {
    // 1. The program folder (and with it the help file) comes from the caller.
    programFolder_ = options_.programFolder;
    if (!programFolder_.isEmpty() && !programFolder_.endsWith(QLatin1Char('/'))) programFolder_ += QLatin1Char('/');

    setWindowTitle(QStringLiteral("Pixoral " PIXORAL_VERSION));
    move(51, 75);
    resize(745, 419);
    buildLayout();
    buildMenus();
    buildToolBar();
    setAcceptDrops(true);
    loadRecentFiles();

    // 2. Window state.
    if (!options_.batch) applyWindowSettings(readWindowSettings(settingsFilePath()));

    // 3. The defaults other commands own.
    settings_ = WorkspaceSettings{};
    settings_.fillWhirlAngles();

    // 4. The turtle draws on the workspace canvas.
    Turtle.setCanvas(&canvas());
    Turtle.OnRepaintRequest = [this] { repaintWorkspace(); };
    Turtle.OnRequestImageSize = [this](Rect& r) { r = Rect{0, 0, workspace_.width() - 1, workspace_.height() - 1}; };
    // A named backdrop of Quick Background, a named filter (EffectCommands.cpp).
    Turtle.OnRequestBackGround = [this](const QString& name) { windows_->requestBackground(name); };
    Turtle.OnRequestFilter = [this](const QString& name) { TurtleRequestFilter(name); };

    // 5. Range buffer and mask bitmap.
    range_.buffer = Bitmap();
    maskBitmap_ = Bitmap();

    // 6. The colour list.
    const char* colors[] = {"clBlack", "clMaroon", "clGreen",   "clOlive",   "clNavy",    "clPurple", "clTeal",
                            "clGray",  "clSilver", "clRed",     "clLime",    "clYellow",  "clBlue",   "clFuchsia",
                            "clAqua",  "$00A6CAF0", "$00C0DCC0", "$00FFFBF0", "clWhite"};
    LineColor->clear();
    for (const char* c : colors) LineColor->addItem(QString::fromLatin1(c));

    // 7. The pattern strip and the 8 by 8 brush pattern.
    loadPatterns();

    // 8. Drawing mode, text font, paint text.
    settings_.drawingMode = QStringLiteral("line");
    canvas().font().name = QStringLiteral("Arial");
    canvas().font().size = 24;
    canvas().font().color = clWindowText;
    settings_.textFont = canvas().font();
    settings_.paintText = QStringLiteral("Pixoral");

    // 9. The workspace: 256 by 256, brush white then clear, pen black.
    workspace_.setSize(256, 256);
    canvas().brush().setColor(clWhite);
    canvas().brush().setStyle(BrushStyle::bsClear);
    canvas().pen().color = clBlack;
    setShapeflagColors(clBlack, clWhite);

    // 10. The undo ring starts empty at index 1.
    undo_ = UndoRing();

    // 11. The Quick windows and the effects panel, created once and hidden.
    windows_ = std::make_unique<SecondaryWindows>(*host_, this);

    setStatusText(1, QStringLiteral("Pen=Copy"));
    refreshCommandStates();
    repaintWorkspace();
    markSaved();
}

void TPixoralF::buildLayout() {
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    ScrollBox1 = new QScrollArea(central);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidgetResizable(false);
    mypaint = new PaintBox;
    mypaint->setObjectName(QStringLiteral("mypaint"));
    mypaint->onMouseDown = [this](const MouseInput& in) { mypaintMouseDown(in); };
    mypaint->onMouseMove = [this](const MouseInput& in) { mypaintMouseMove(in); };
    mypaint->onMouseUp = [this](const MouseInput& in) { mypaintMouseUp(in); };
    ScrollBox1->setWidget(mypaint);
    row->addWidget(ScrollBox1, 1);

    PatList = new QListWidget(central);
    PatList->setObjectName(QStringLiteral("PatList"));
    PatList->setFixedWidth(25);
    PatList->setToolTip(QStringLiteral("Patterns\nRight-click to\nUpdate or Edit"));
    PatList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PatList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int i = 0; i < 16; ++i) {
        auto* it = new QListWidgetItem(QString::number(i), PatList);
        it->setSizeHint(QSize(25, 16));
    }
    setUpPatList();
    row->addWidget(PatList);

    auto* bevel = new QFrame(central);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::VLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setFixedWidth(3);
    row->addWidget(bevel);

    auto* panel = new QWidget(central);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedWidth(29);
    auto* col = new QVBoxLayout(panel);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(2);
    LineColor = new ColorList(panel);
    LineColor->setObjectName(QStringLiteral("LineColor"));
    LineColor->setFixedSize(29, 273);
    LineColor->setToolTip(QStringLiteral("Click for line color\nright-click for fill color"));
    LineColor->onMouseUp = [this](int r, Qt::MouseButton b, Qt::KeyboardModifiers m) { LineColorMouseUp(r, b, m); };
    col->addWidget(LineColor);
    shapeflag = new ShapeFlag(panel);
    shapeflag->setObjectName(QStringLiteral("shapeflag"));
    shapeflag->setFixedSize(23, 22);
    shapeflag->setToolTip(QStringLiteral("Click for other line color\nshift-click for other fill color"));
    shapeflag->onClick = [this](bool shift) { shapeflagClick(shift); };
    col->addWidget(shapeflag, 0, Qt::AlignHCenter);
    col->addStretch(1);
    row->addWidget(panel);
    setCentralWidget(central);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    const int widths[4] = {150, 150, 250, 50};
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(bar);
        panels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panels_[i]->setFixedWidth(widths[i]);
        panels_[i]->setFrameShape(QFrame::Panel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        bar->addWidget(panels_[i]);
    }
    setStatusBar(bar);
}

// ---------------------------------------------------------------- menus and toolbar

QString TPixoralF::normalizePath(const QString& path) {
    QStringList parts = path.split(QLatin1Char('>'));
    for (QString& p : parts) {
        p = withoutAmpersand(p).trimmed().toLower();
        if (p.endsWith(QLatin1String("..."))) p.chop(3);
        p = p.trimmed();
    }
    return parts.join(QLatin1Char('>'));
}

QString TPixoralF::uniqueName(const QString& wanted, const QString& caption) {
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

QAction* TPixoralF::buildAction(const MenuEntry& e, QObject* parent, const QString& path) {
    auto* a = new QAction(menuCaption(e.caption), parent);
    a->setObjectName(uniqueName(e.name, e.caption));
    if (e.icon >= 0) a->setIcon(QIcon(QPixmap::fromImage(icon(e.icon))));
    QList<QKeySequence> keys;
    for (const QString& k : e.shortcuts) {
        // Two commands share Ctrl+Alt+R and two Ctrl+A: the first in menu order takes the key,
        // the later one only shows it.
        const QString used = QStringLiteral("#key:") + k;
        if (nameCounts_.contains(used)) a->setText(a->text() + QLatin1Char('\t') + k);
        else {
            nameCounts_.insert(used, 1);
            keys << QKeySequence(k);
        }
    }
    if (!keys.isEmpty()) a->setShortcuts(keys);
    if (e.flags & MenuEntry::Checkable) a->setCheckable(true);
    if (e.flags & MenuEntry::Checked) a->setChecked(true);
    CommandHandler h = e.handler;
    if (!h && !e.mode.isEmpty()) {
        const QString mode = e.mode, caption = withoutAmpersand(e.caption);
        const bool shapesetFlag = e.shapeset;
        const int ico = e.icon;
        h = [mode, shapesetFlag, ico, caption](TPixoralF& w) { w.selectTool(mode, shapesetFlag, ico, caption); };
        modeActions_.emplace_back(a, mode);
    }
    a->setEnabled(static_cast<bool>(h));
    if (h) connect(a, &QAction::triggered, this, [this, h] { h(*this); });
    actionsByPath_.insert(normalizePath(path), a);
    return a;
}

QMenu* TPixoralF::buildMenu(const MenuEntry& entry, QWidget* parent, const QString& path) {
    auto* menu = new QMenu(menuCaption(entry.caption), parent);
    menu->setObjectName(uniqueName(entry.name, entry.caption));
    menu->menuAction()->setObjectName(menu->objectName());
    menusByPath_.insert(normalizePath(path), menu);
    QActionGroup* radio = nullptr;
    bool anyEnabled = false;
    for (const MenuEntry& e : entry.children) {
        if (e.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        const QString childPath = path + QLatin1Char('>') + e.caption;
        if (e.isSubmenu()) {
            QMenu* sub = buildMenu(e, menu, childPath);
            menu->addMenu(sub);
            continue;
        }
        QAction* a = buildAction(e, menu, childPath);
        if (e.flags & MenuEntry::Radio) {
            if (!radio) radio = new QActionGroup(menu);
            radio->addAction(a);
        }
        anyEnabled = anyEnabled || a->isEnabled();
        menu->addAction(a);
    }
    return menu;
}

void TPixoralF::buildMenus() {
    collectNames(menuBarTable(), nameCounts_);
    for (const ToolButtonEntry& t : toolBarTable()) {
        nameCounts_.insert(t.name, 1);
        collectNames(t.menu, nameCounts_);
    }
    QMenuBar* bar = menuBar();
    for (const MenuEntry& top : menuBarTable()) bar->addMenu(buildMenu(top, bar, top.caption));
}

void TPixoralF::buildToolBar() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(29);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    for (const ToolButtonEntry& t : toolBarTable()) {
        if (t.separatorBefore) ToolBar1->addSeparator();
        const QString path = QStringLiteral("Toolbar>") + t.hint;
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(t.name);
        button->setAutoRaise(true);
        auto* a = new QAction(QIcon(QPixmap::fromImage(icon(t.icon))), t.hint, button);
        a->setObjectName(t.name);
        a->setToolTip(t.hint);
        if (t.menu.empty()) {
            button->setDefaultAction(a);
        } else {
            // A drop-down button mirrors its action by hand: when the button's own command
            // is not available its menu must still open, so the press opens it instead.
            button->setIcon(a->icon());
            button->setToolTip(t.hint);
            connect(a, &QAction::changed, button, [button, a, opensMenu = t.pressOpensMenu] {
                button->setIcon(a->icon());
                button->setToolTip(a->toolTip());
                button->setPopupMode(!opensMenu && a->isEnabled() ? QToolButton::MenuButtonPopup : QToolButton::InstantPopup);
            });
            connect(button, &QToolButton::clicked, a, [a] {
                if (a->isEnabled()) a->trigger();
            });
        }
        if (!t.menu.empty()) {
            MenuEntry holder;
            holder.caption = t.hint;
            holder.name = t.menuName;
            holder.children = t.menu;
            QMenu* m = buildMenu(holder, button, path);
            button->setMenu(m);
            button->setPopupMode(QToolButton::InstantPopup);
        }
        if (t.pressOpensMenu) {
            // The press only opens the menu; the path names that menu.
        } else {
            CommandHandler h = t.handler;
            if (!h && !t.mode.isEmpty()) {
                const QString mode = t.mode;
                h = [mode](TPixoralF& w) { w.selectTool(mode, false, -1, QString()); };
                modeActions_.emplace_back(a, mode);
            }
            if (t.name == QLatin1String("selectcopy")) modeActions_.emplace_back(a, QStringLiteral("#copyselection"));
            a->setEnabled(static_cast<bool>(h));
            if (h) connect(a, &QAction::triggered, this, [this, h] { h(*this); });
            actionsByPath_.insert(normalizePath(path), a);
        }
        if (!t.menu.empty()) emit a->changed();
        if (t.name == QLatin1String("setshape")) setshape = button;
        ToolBar1->addWidget(button);
    }
}

void TPixoralF::refreshCommandStates() {
    for (auto& [action, mode] : modeActions_) {
        const QString m = mode == QLatin1String("#copyselection") ? settings_.copySelectionMode : mode;
        action->setEnabled(tools_.has(m));
    }
}

QAction* TPixoralF::actionForPath(const QString& path, bool* isMenu) const {
    const QString key = normalizePath(path);
    if (isMenu) *isMenu = menusByPath_.contains(key);
    return actionsByPath_.value(key, nullptr);
}

QStringList TPixoralF::commandPaths() const {
    QStringList keys = actionsByPath_.keys();
    keys.sort();
    return keys;
}

QAction* TPixoralF::buttonAction(QToolButton* button) {
    return button->findChild<QAction*>(button->objectName(), Qt::FindDirectChildrenOnly);
}

// ---------------------------------------------------------------- window state and closing

void TPixoralF::applyWindowSettings(const WindowSettings& s) {
    if (s.state == QLatin1String("normal")) {
        setWindowState(Qt::WindowNoState);
        move(s.left, s.top);
        // A stored size too small to use (or negative) gives a window that can still be seen.
        resize(std::max(s.width, 100), std::max(s.height, 100));
    } else if (s.state == QLatin1String("maximized")) {
        setWindowState(Qt::WindowMaximized);
    }
}

WindowSettings TPixoralF::currentWindowSettings() const {
    WindowSettings s;
    const bool maximized = windowState() & Qt::WindowMaximized;
    s.state = maximized ? QStringLiteral("maximized") : QStringLiteral("normal");
    const QRect g = maximized ? normalGeometry() : geometry();
    const QPoint topLeft = maximized ? g.topLeft() : pos();
    s.left = topLeft.x();
    s.top = topLeft.y();
    s.width = g.width();
    s.height = g.height();
    return s;
}

void TPixoralF::FormShow() { PushImage(); }

void TPixoralF::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TPixoralF::FormClose() {
    // The pattern strip goes back only when something changed it.
    storePatterns();
    range_.buffer = Bitmap();
    maskBitmap_ = Bitmap();
    if (options_.batch || programFolder_.isEmpty()) return;
    // A minimised window keeps what was stored last time.
    if (windowState() & Qt::WindowMinimized) return;
    QString err;
    if (!writeWindowSettings(settingsFilePath(), currentWindowSettings(), &err))
        std::fprintf(stderr, "pixoral: %s\n", qPrintable(err));
}

bool TPixoralF::askToSaveChanges() {
    if (!isModified()) return true;
    switch (dialogs().question(QStringLiteral("Save changes?"), Dialogs::Yes | Dialogs::No | Dialogs::Cancel)) {
        case Dialogs::No: return true;
        case Dialogs::Yes: {
            const auto path = dialogs().savePicture(QStringLiteral("Save As"), saveFilter(), 1);
            return path && saveImageFile(*path);
        }
        default: return false;
    }
}

void TPixoralF::closeEvent(QCloseEvent* e) {
    if (scriptRunning_ || !askToSaveChanges()) {
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
}

void TPixoralF::Exit1Click() { close(); }

// ---------------------------------------------------------------- status, indicator, failures

QString TPixoralF::statusText(int panel) const {
    return panel >= 0 && panel < 4 ? panels_[panel]->text() : QString();
}

void TPixoralF::setStatusText(int panel, const QString& text) {
    if (panel >= 0 && panel < 4) panels_[panel]->setText(text);
}

TColor TPixoralF::shapeflagPenColor() const { return shapeflag->penColor; }
TColor TPixoralF::shapeflagBrushColor() const { return shapeflag->brushColor; }

void TPixoralF::setShapeflagColors(TColor pen, TColor brush) {
    shapeflag->penColor = pen;
    shapeflag->brushColor = brush;
    shapeflag->update();
}

void TPixoralF::fail(const QString& message) {
    dialogs().message(message);
    if (failure_.isEmpty()) failure_ = message;
}

QString TPixoralF::takeFailure() {
    QString f = failure_;
    failure_.clear();
    return f;
}

bool TPixoralF::isModified() const {
    return workspace_.width() != savedWidth_ || workspace_.height() != savedHeight_ ||
           workspace_.store().cacheKey() != savedKey_;
}

void TPixoralF::markSaved() {
    savedKey_ = workspace_.store().cacheKey();
    savedWidth_ = workspace_.width();
    savedHeight_ = workspace_.height();
}

int TPixoralF::askInt(const QString& caption, const QString& prompt, const QString& defaultText, int fallback, bool* isInt) {
    bool ok = false;
    const int v = dialogs().inputBox(caption, prompt, defaultText).trimmed().toInt(&ok);
    if (isInt) *isInt = ok;
    return ok ? v : fallback;
}

// ---------------------------------------------------------------- the workspace

void TPixoralF::repaintWorkspace() { mypaint->setPicture(workspace_.toImage()); }

bool TPixoralF::sizeIsValid(long long width, long long height) {
    return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

bool TPixoralF::replaceWorkspace(const Bitmap& picture) {
    if (picture.isEmpty()) return false;
    if (!sizeIsValid(picture.width(), picture.height())) {
        fail(QStringLiteral("The picture is too large (%1 x %2).").arg(picture.width()).arg(picture.height()));
        return false;
    }
    const bool resized = picture.width() != workspace_.width() || picture.height() != workspace_.height();
    workspace_ = picture;
    if (resized) undo_.resizeAll(workspace_.width(), workspace_.height());
    range_.range = Rect{0, 0, workspace_.width(), workspace_.height()};
    repaintWorkspace();
    return true;
}

bool TPixoralF::setWorkspaceSize(int width, int height) {
    if (!sizeIsValid(width, height)) {
        fail(QStringLiteral("Image size %1 x %2 is not possible: width and height must be 1 to 32768 pixels "
                            "and the image at most 268435456 pixels.")
                 .arg(width)
                 .arg(height));
        return false;
    }
    workspace_.setSize(width, height);
    undo_.resizeAll(width, height);
    repaintWorkspace();
    return true;
}

// Open, Save As and the other file commands are in FileCommands.cpp.

// ---------------------------------------------------------------- undo

void TPixoralF::PushImage() { undo_.push(workspace_); }

void TPixoralF::goUndoClick() {
    if (undo_.undo(workspace_)) repaintWorkspace();
}

void TPixoralF::Redo1Click() {
    if (undo_.redo(workspace_)) repaintWorkspace();
}

// ---------------------------------------------------------------- whole-image commands

void TPixoralF::New1Click() {
    const int h = askInt(QStringLiteral("Pixoral"), QStringLiteral("Image height:"), QStringLiteral("100"), 100);
    const int w = askInt(QStringLiteral("Pixoral"), QStringLiteral("Image width:"), QStringLiteral("100"), 100);
    if (!sizeIsValid(w, h)) {
        setWorkspaceSize(w, h);  // reports
        return;
    }
    canvas().pen().style = PenStyle::psSolid;
    canvas().brush().setColor(clWhite);
    workspace_.setSize(w, h);
    canvas().fillRect(Rect{0, 0, w, h});
    setStatusText(0, QString());
    setWorkspaceSize(w, h);
}

void TPixoralF::NewBanner1Click() {
    canvas().brush().setColor(clWhite);
    setShapeflagColors(shapeflagPenColor(), clWhite);
    setWorkspaceSize(468, 60);
    range_.range = Rect{0, 0, workspace_.width(), workspace_.height()};
}

void TPixoralF::ToolButton10Click() {
    const int oldH = workspace_.height(), oldW = workspace_.width();
    const int h = askInt(QStringLiteral("Pixoral"), QStringLiteral("Enter height:"), QString::number(oldH), oldH);
    const int w = askInt(QStringLiteral("Pixoral"), QStringLiteral("Enter width:"), QString::number(oldW), oldW);
    if (!sizeIsValid(w, h)) {
        setWorkspaceSize(w, h);
        return;
    }
    canvas().brush().setColor(clWhite);
    setShapeflagColors(shapeflagPenColor(), clWhite);
    setWorkspaceSize(w, h);
    range_.range = Rect{0, 0, w, h};
}

void TPixoralF::ToolButton12Click() {
    canvas().brush().setColor(clWhite);
    canvas().pen().style = PenStyle::psSolid;
    setShapeflagColors(shapeflagPenColor(), clWhite);
    canvas().fillRect(Rect{0, 0, workspace_.width(), workspace_.height()});
    brushset(BrushStyle::bsClear, icoBrushClear);
    range_.range = Rect{0, 0, workspace_.width(), workspace_.height()};
    repaintWorkspace();
}

void TPixoralF::ToolButton14Click() {
    canvas().fillRect(range_.range);
    repaintWorkspace();
}

void TPixoralF::ClearDefault1Click() {
    canvas().brush().setColor(clWhite);
    setShapeflagColors(shapeflagPenColor(), clWhite);
    setWorkspaceSize(256, 256);
    range_.range = Rect{0, 0, 256, 256};
}

// ---------------------------------------------------------------- Make Button

void TPixoralF::Make1Click() {
    const int W = settings_.buttonWidth, H = settings_.buttonHeight;
    if (!setWorkspaceSize(W, H)) return;
    Canvas& c = canvas();
    c.brush().setColor(clWhite);
    c.fillRect(Rect{0, 0, W - 1, H - 1});
    c.brush().setColor(settings_.buttonColor);
    c.fillRect(Rect{2, 2, W - 1, H - 1});
    // The edges are one-pixel copy lines whatever pen the user has set.
    const Pen saved = c.pen();
    c.pen().width = 1;
    c.pen().style = PenStyle::psSolid;
    c.pen().mode = PenMode::pmCopy;
    c.pen().color = clBlack;
    c.moveTo(0, 0);
    c.lineTo(W - 1, 0);
    c.lineTo(W - 1, H - 1);
    c.lineTo(0, H - 1);
    c.lineTo(0, 0);
    c.moveTo(W - 2, 0);
    c.lineTo(W - 2, H - 2);
    c.lineTo(0, H - 2);
    c.pen().color = clWhite;
    c.moveTo(W - 3, 1);
    c.lineTo(1, 1);
    c.lineTo(1, H - 2);
    c.pen() = saved;
    c.pen().color = clBlack;
    repaintWorkspace();
}

void TPixoralF::Width1Click() {
    settings_.buttonWidth = askInt(QStringLiteral("Pixoral"), QStringLiteral("Enter button width"), QStringLiteral("88"), 88);
}

void TPixoralF::Height1Click() {
    settings_.buttonHeight = askInt(QStringLiteral("Pixoral"), QStringLiteral("Enter button height"), QStringLiteral("31"), 31);
}

void TPixoralF::Color1Click() {
    if (const auto c = dialogs().color(settings_.buttonColor)) settings_.buttonColor = *c;
}

void TPixoralF::Default1Click() {
    settings_.buttonWidth = 88;
    settings_.buttonHeight = 31;
    settings_.buttonColor = clSilver;
}

void TPixoralF::About1Click() { dialogs().message(QStringLiteral("Pixoral " PIXORAL_VERSION)); }

// The Range menu is in RangeCommands.cpp.

// ---------------------------------------------------------------- text settings

void TPixoralF::Font1Click() {
    if (const auto f = dialogs().font(settings_.fontDialogFont)) {
        settings_.fontDialogFont = *f;
        const TColor color = settings_.textFont.color;
        settings_.textFont = *f;
        settings_.textFont.color = color;
    }
}

void TPixoralF::Text1Click() {
    settings_.paintText = dialogs().inputBox(QStringLiteral("Paint"), QStringLiteral("Enter text:"), QString());
}

void TPixoralF::ShadowDx1Click() {
    settings_.shadowDx = askInt(QStringLiteral("Pixoral"), QStringLiteral("Enter shadow x offset"), QStringLiteral("-2"),
                                settings_.shadowDx);
}

void TPixoralF::ShadowDy1Click() {
    settings_.shadowDy = askInt(QStringLiteral("Pixoral"), QStringLiteral("Enter shadow y offset"), QStringLiteral("-2"),
                                settings_.shadowDy);
}

void TPixoralF::ShadowColor1Click() {
    if (const auto c = dialogs().color(settings_.shadowColor)) settings_.shadowColor = *c;
}

void TPixoralF::ShadowDefault1Click() {
    settings_.shadowColor = clSilver;
    settings_.shadowDx = -2;
    settings_.shadowDy = -2;
}

// ---------------------------------------------------------------- pen, brush and copy modes

void TPixoralF::setPenModeItem(PenMode mode, const QString& status) {
    canvas().pen().mode = mode;
    setStatusText(1, status);
}

void TPixoralF::brushset(BrushStyle style, int iconId) {
    canvas().brush().setStyle(style);
    shapeflag->brushStyle = style;
    shapeflag->update();
    if (auto* b = ToolBar1->findChild<QToolButton*>(QStringLiteral("setbrushstyle")))
        buttonAction(b)->setIcon(QIcon(QPixmap::fromImage(icon(iconId))));
}

void TPixoralF::SetLineWidth(int width, int iconId) {
    canvas().pen().width = width;
    if (auto* b = ToolBar1->findChild<QToolButton*>(QStringLiteral("setwidth")))
        buttonAction(b)->setIcon(QIcon(QPixmap::fromImage(icon(iconId))));
}

void TPixoralF::OtherSize1Click() {
    int w = askInt(QStringLiteral("Pixoral"), QStringLiteral("Enter new line width:"), QStringLiteral("1"), 1);
    if (w < 1 || w > workspace_.height()) w = 1;
    canvas().pen().width = w;
}

void TPixoralF::setPenStyleItem(PenStyle style) { canvas().pen().style = style; }

void TPixoralF::setCopyModeItem(CopyMode mode) { canvas().setCopyMode(mode); }

void TPixoralF::setCopySelectionMode(const QString& mode, int iconId) {
    settings_.copySelectionMode = mode;
    if (auto* b = ToolBar1->findChild<QToolButton*>(QStringLiteral("selectcopy")))
        buttonAction(b)->setIcon(QIcon(QPixmap::fromImage(icon(iconId))));
    refreshCommandStates();
}

void TPixoralF::selectcopyClick() { selectTool(settings_.copySelectionMode, false, -1, QString()); }

void TPixoralF::selectTool(const QString& mode, bool shapesetFlag, int iconId, const QString& caption) {
    settings_.drawingMode = mode;
    if (shapesetFlag && setshape) {
        if (iconId >= 0) buttonAction(setshape)->setIcon(QIcon(QPixmap::fromImage(icon(iconId))));
        buttonAction(setshape)->setToolTip(caption);
    }
}

// ---------------------------------------------------------------- colour list and indicator

void TPixoralF::LineColorMouseUp(int row, Qt::MouseButton button, Qt::KeyboardModifiers mods) {
    // Alt gives the colour to the first gadget label, which does not exist yet, so it does
    // nothing. Ctrl hands the colour's text to the script editor when its text area is
    // flagged visible; otherwise Ctrl is ignored.
    if (mods & Qt::AltModifier) return;
    if ((mods & Qt::ControlModifier) && scriptTextVisible_) {
        if (const QListWidgetItem* it = LineColor->item(row)) recordText(it->text());
        return;
    }
    const auto c = LineColor->colorAt(row);
    if (!c) return;
    if (button == Qt::RightButton) {
        canvas().brush().setColor(*c);  // a clear brush turns solid, and so does the indicator's
        shapeflag->brushStyle = canvas().brush().style();
        setShapeflagColors(shapeflagPenColor(), *c);
    } else {
        canvas().pen().color = *c;
        setShapeflagColors(*c, shapeflagBrushColor());
    }
}

void TPixoralF::shapeflagClick(bool shift) {
    const auto c = dialogs().color(shift ? shapeflagBrushColor() : shapeflagPenColor());
    if (!c) return;
    if (shift) {
        canvas().brush().setColor(*c);
        shapeflag->brushStyle = canvas().brush().style();
        setShapeflagColors(shapeflagPenColor(), *c);
    } else {
        setShapeflagColors(*c, shapeflagBrushColor());
        canvas().pen().color = *c;
    }
}

// ---------------------------------------------------------------- mouse on the workspace

namespace {

// Positions far beyond any image (batch mode takes any number) are kept where the figure
// arithmetic cannot overflow.
MouseInput clampedInput(const MouseInput& in) {
    MouseInput out = in;
    out.x = std::clamp(in.x, -dirty::kCoordLimit, dirty::kCoordLimit);
    out.y = std::clamp(in.y, -dirty::kCoordLimit, dirty::kCoordLimit);
    return out;
}

}  // namespace

void TPixoralF::mypaintMouseDown(const MouseInput& input) {
    MouseInput in = clampedInput(input);
    // Ctrl-clicks give their coordinates to the script editor; nothing is drawn.
    if (in.modifiers & Qt::ControlModifier) {
        if (scriptTextVisible_) recordText(recordCoords(Point{in.x, in.y}));
        return;
    }
    if (in.button == Qt::RightButton) {
        settings_.anchor = Point{in.x, in.y};
        return;
    }
    if (in.modifiers & Qt::ShiftModifier) {
        in.x = settings_.anchor.x;
        in.y = settings_.anchor.y;
        if (!options_.batch) QCursor::setPos(mypaint->mapToGlobal(QPoint(in.x, in.y)));
    }
    PushImage();
    canvas().moveTo(in.x, in.y);
    drag_.start = drag_.previous = Point{in.x, in.y};
    drag_.slineDirection = QStringLiteral("none");
    drag_.dragging = true;
    drag_.savedPenMode = canvas().pen().mode;
    if (Tool* t = tools_.find(settings_.drawingMode)) t->press(*this, in);
    canvas().pen().mode = drag_.savedPenMode;
    repaintWorkspace();
}

void TPixoralF::mypaintMouseMove(const MouseInput& input) {
    const MouseInput in = clampedInput(input);
    if (in.modifiers & Qt::ControlModifier) return;
    if (!drag_.dragging) {
        setStatusText(2, QStringLiteral("x=%1 y=%2").arg(in.x).arg(in.y));
        return;
    }
    // With Alt the offset from the press point is shown instead of position and size.
    if (in.modifiers & Qt::AltModifier)
        setStatusText(2, QStringLiteral("dx=%1 dy=%2").arg(drag_.start.x - in.x).arg(in.y - drag_.start.y));
    else
        setStatusText(2, QStringLiteral("x=%1 y=%2 w=%3 h=%4")
                             .arg(in.x)
                             .arg(in.y)
                             .arg(std::abs(in.x - drag_.start.x))
                             .arg(std::abs(in.y - drag_.start.y)));
    const PenMode saved = canvas().pen().mode;
    drag_.savedPenMode = saved;
    if (Tool* t = tools_.find(settings_.drawingMode)) {
        dirty_.clear();
        dirtyKnown_ = false;
        t->move(*this, in);
        canvas().pen().mode = saved;
        // Only what the tool says it touched is shown again; a tool that says nothing gets
        // the whole image.
        if (dirtyKnown_) repaintRegion(dirty_);
        else repaintWorkspace();
    }
}

void TPixoralF::mypaintMouseUp(const MouseInput& input) {
    const MouseInput in = clampedInput(input);
    if ((in.modifiers & Qt::ControlModifier) || in.button == Qt::RightButton) return;
    const PenMode saved = canvas().pen().mode;
    drag_.savedPenMode = saved;
    if (drag_.dragging)
        if (Tool* t = tools_.find(settings_.drawingMode)) t->release(*this, in);
    drag_.dragging = false;
    canvas().pen().mode = saved;
    repaintWorkspace();
}

// ---------------------------------------------------------------- scripts

TTurtle::RunResult TPixoralF::runScript(const QString& text) {
    if (scriptRunning_) return {QStringLiteral("script running"), 0};
    scriptRunning_ = true;
    scriptEscape_ = false;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    // Escape is the only input a running script listens to; the event filter keeps the rest
    // of the user's input away until the run ends.
    qApp->installEventFilter(this);
    Turtle.interruptCheck = [this, &sinceEvents] {
        if (sinceEvents.elapsed() >= 30) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            sinceEvents.restart();
        }
        return scriptEscape_;
    };
    Turtle.setMaxSteps(scriptMaxSteps_);
    TTurtle::RunResult r = Turtle.RunScript(text);
    Turtle.interruptCheck = nullptr;
    qApp->removeEventFilter(this);
    scriptRunning_ = false;
    repaintWorkspace();
    if (r.message != QLatin1String("ready")) dialogs().message(r.message);
    return r;
}

bool TPixoralF::eventFilter(QObject* watched, QEvent* e) {
    if (scriptRunning_) {
        switch (e->type()) {
            case QEvent::KeyPress:
                if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) scriptEscape_ = true;
                return true;
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
                return true;
            default: break;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void TPixoralF::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && scriptRunning_) scriptEscape_ = true;
    else QMainWindow::keyPressEvent(e);
}

}  // namespace pixoral
