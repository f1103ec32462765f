#include "workspace/TPixoralF.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "files/ImageFile.h"
#include "ui/LongJob.h"
#include "workspace/Commands.h"
#include "workspace/FrameMarkers.h"
#include "workspace/Gadgets.h"
#include "workspace/MainHost.h"
#include "workspace/PatternList.h"
#include "workspace/ProgramFolder.h"
#include "workspace/QtDialogs.h"
#include "workspace/RecentFiles.h"
#include "workspace/SecondaryWindows.h"
#include "workspace/WorkspaceControls.h"

namespace pixoral {

TPixoralF::TPixoralF(Options options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)), host_(std::make_unique<MainHost>(*this)), dialogs_(options_.dialogs) {
    if (!dialogs_) dialogs_ = std::make_shared<QtDialogs>(this);
    setObjectName(QStringLiteral("TPixoralF"));
    FormCreate();
}

TPixoralF::~TPixoralF() {
    // The turtle keeps a pointer to our canvas and callbacks into us.
    Turtle.setCanvas(nullptr);
    Turtle.OnRepaintRequest = nullptr;
    Turtle.OnRequestImageSize = nullptr;
    Turtle.OnRequestBackGround = nullptr;
    Turtle.OnRequestFilter = nullptr;
    Turtle.interruptCheck = nullptr;
}

WorkspaceHost& TPixoralF::host() { return *host_; }

QString TPixoralF::settingsFilePath() const { return programFolder_ + options_.settingsFileName; }

// ---------------------------------------------------------------- start-up

void TPixoralF::FormCreate() {
    // 1. The program folder comes from the caller.
    programFolder_ = options_.programFolder;
    if (!programFolder_.isEmpty() && !programFolder_.endsWith(QLatin1Char('/'))) programFolder_ += QLatin1Char('/');

    setWindowTitle(QStringLiteral("Pixoral " PIXORAL_VERSION));
    move(51, 75);
    resize(745, 419);
    recent_ = std::make_unique<RecentFiles>(*this, options_.batch || programFolder_.isEmpty() ? QString() : settingsFilePath());
    buildLayout();  // also reads the pattern strip
    commands_ = std::make_unique<CommandBar>(*this);
    commands_->build();
    gadgets_ = new GadgetSet(*this, findChild<QScrollArea*>(QStringLiteral("ScrollBox1")), mypaint, *commands_);
    recent_->updateMenu();
    setAcceptDrops(true);

    // 2. Window state.
    if (!options_.batch) applyWindowSettings(readWindowSettings(settingsFilePath()));

    // 3. The defaults other commands own.
    WorkspaceSettings& settings = state_.settings;
    settings = WorkspaceSettings{};

    // 4. The turtle draws on the workspace canvas.
    Turtle.setCanvas(&canvas());
    Turtle.OnRepaintRequest = [this] { repaintWorkspace(); };
    Turtle.OnRequestImageSize = [this](Rect& r) { r = Rect{0, 0, workspace().width() - 1, workspace().height() - 1}; };
    // A named backdrop of Quick Background, a named filter.
    Turtle.OnRequestBackGround = [this](const QString& name) { windows_->requestBackground(name); };
    Turtle.OnRequestFilter = [this](const QString& name) { requestFilter(*this, name); };

    // 5. The range buffer starts empty.
    state_.range.buffer = Bitmap();

    // 6. The colour list.
    const char* colors[] = {"clBlack", "clMaroon", "clGreen",   "clOlive",   "clNavy",    "clPurple", "clTeal",
                            "clGray",  "clSilver", "clRed",     "clLime",    "clYellow",  "clBlue",   "clFuchsia",
                            "clAqua",  "$00A6CAF0", "$00C0DCC0", "$00FFFBF0", "clWhite"};
    LineColor->clear();
    for (const char* c : colors) LineColor->addItem(QString::fromLatin1(c));

    // 7. Drawing mode, text font, paint text.
    settings.drawingMode = QStringLiteral("line");
    canvas().font().name = QStringLiteral("Arial");
    canvas().font().size = 24;
    canvas().font().color = clWindowText;
    settings.textFont = canvas().font();
    settings.paintText = QStringLiteral("Pixoral");

    // 8. The workspace: 256 by 256, brush white then clear, pen black.
    workspace().setSize(256, 256);
    canvas().brush().setColor(clWhite);
    canvas().brush().setStyle(BrushStyle::bsClear);
    canvas().pen().color = clBlack;
    setShapeflagColors(clBlack, clWhite);

    // 9. The undo ring starts empty at index 1.
    state_.undo = UndoRing();

    // 10. The Quick windows, the script editor and the effects panel, created once and hidden.
    // The help is read-only and ships with the executable, wherever the program folder is.
    const QString helpFolder =
        options_.helpFolder.isEmpty() ? helpFolderFor(QCoreApplication::applicationDirPath()) : options_.helpFolder;
    windows_ = std::make_unique<SecondaryWindows>(*host_, this, state_.settings, recorder_,
                                                  [this](const QString& text) { return runScript(text); }, helpFolder);

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

    mypaint = new PaintBox;
    mypaint->setObjectName(QStringLiteral("mypaint"));
    mypaint->onMouseDown = [this](const MouseInput& in) { mypaintMouseDown(in); };
    mypaint->onMouseMove = [this](const MouseInput& in) { mypaintMouseMove(in); };
    mypaint->onMouseUp = [this](const MouseInput& in) { mypaintMouseUp(in); };
    ScrollBox1 = new ScrollBox(mypaint, central);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidgetResizable(false);
    frameMarkers_ = std::make_unique<FrameMarkers>(mypaint);
    row->addWidget(ScrollBox1, 1);

    auto* PatList = new QListWidget(central);
    PatList->setObjectName(QStringLiteral("PatList"));
    PatList->setFixedWidth(25);
    PatList->setToolTip(QStringLiteral("Patterns\nRight-click to\nUpdate or Edit"));
    PatList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PatList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int i = 0; i < 16; ++i) {
        auto* it = new QListWidgetItem(QString::number(i), PatList);
        it->setSizeHint(QSize(25, 16));
    }
    row->addWidget(PatList);
    patterns_ = std::make_unique<PatternList>(*this, PatList);

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
    stepPanel_ = new QLabel(bar);
    stepPanel_->setObjectName(QStringLiteral("StatusStep"));
    bar->addWidget(stepPanel_, 1);
    zoomPanel_ = new QLabel(bar);
    zoomPanel_->setObjectName(QStringLiteral("StatusZoom"));
    zoomPanel_->setFixedWidth(50);
    zoomPanel_->setFrameShape(QFrame::Panel);
    zoomPanel_->setFrameShadow(QFrame::Sunken);
    zoomPanel_->setText(zoomText(mypaint->zoom()));
    bar->addPermanentWidget(zoomPanel_);
    connect(mypaint, &PaintBox::zoomChanged, zoomPanel_, [this](double z) { zoomPanel_->setText(zoomText(z)); });
    setStatusBar(bar);
}

// ---------------------------------------------------------------- commands

QAction* TPixoralF::actionForPath(const QString& path, bool* isMenu) const {
    if (QAction* a = commands_->actionForPath(path, isMenu)) return a;
    return gadgets_->popupAction(path, isMenu);
}

void TPixoralF::refreshCommandStates() { commands_->refreshStates(); }

void TPixoralF::setButtonIcon(const QString& buttonName, int iconId) {
    if (QToolButton* b = commands_->button(buttonName)) CommandBar::buttonAction(b)->setIcon(QIcon(QPixmap::fromImage(commandIcon(iconId))));
}

void TPixoralF::selectTool(const QString& mode, bool shapesetFlag, int iconId, const QString& caption) {
    settings().drawingMode = mode;
    showToolStep();
    if (!shapesetFlag) return;
    if (QToolButton* shape = commands_->button(QStringLiteral("setshape"))) {
        if (iconId >= 0) CommandBar::buttonAction(shape)->setIcon(QIcon(QPixmap::fromImage(commandIcon(iconId))));
        CommandBar::buttonAction(shape)->setToolTip(caption);
    }
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

// ---------------------------------------------------------------- the workspace

void TPixoralF::repaintWorkspace() { mypaint->setPicture(workspace()); }

double TPixoralF::zoom() const { return mypaint->zoom(); }

void TPixoralF::setZoom(double zoom) { ScrollBox1->zoomAbout(zoom, ScrollBox1->viewport()->rect().center()); }

void TPixoralF::zoomBy(int steps) { ScrollBox1->zoomBy(steps); }

bool TPixoralF::replaceWorkspace(const Bitmap& picture) {
    if (!imageSizeAllowed(picture.width(), picture.height())) return false;
    const bool resized = picture.width() != workspace().width() || picture.height() != workspace().height();
    workspace() = picture;
    if (resized) state_.undo.resizeAll(picture.width(), picture.height());
    repaintWorkspace();
    return true;
}

bool TPixoralF::setWorkspaceSize(int width, int height) {
    if (!imageSizeAllowed(width, height)) {
        fail(QStringLiteral("Image size %1 x %2 is not possible: width and height must be 1 to 32768 pixels "
                            "and the image at most 268435456 pixels.")
                 .arg(width)
                 .arg(height));
        return false;
    }
    Bitmap resized = workspace();
    if (!resized.setSize(width, height)) {
        fail(QStringLiteral("There is not enough memory for a %1 x %2 image.").arg(width).arg(height));
        return false;
    }
    return replaceWorkspace(resized);
}

void TPixoralF::PushImage() { state_.undo.push(workspace()); }

bool TPixoralF::isModified() const {
    return workspace().width() != savedWidth_ || workspace().height() != savedHeight_ ||
           workspace().store().cacheKey() != savedKey_;
}

void TPixoralF::markSaved() {
    savedKey_ = workspace().store().cacheKey();
    savedWidth_ = workspace().width();
    savedHeight_ = workspace().height();
}

// ---------------------------------------------------------------- status, indicator

QString TPixoralF::statusText(int panel) const {
    return panel >= 0 && panel < 4 ? panels_[panel]->text() : QString();
}

void TPixoralF::setStatusText(int panel, const QString& text) {
    if (panel >= 0 && panel < 4) panels_[panel]->setText(text);
}

TColor TPixoralF::shapeflagPenColor() const { return shapeflag->penColor; }
TColor TPixoralF::shapeflagBrushColor() const { return shapeflag->brushColor; }

void TPixoralF::setShapeflagColors(TColor pen, TColor brush, std::optional<BrushStyle> style) {
    shapeflag->penColor = pen;
    shapeflag->brushColor = brush;
    if (style) shapeflag->brushStyle = *style;
    shapeflag->update();
}

// ---------------------------------------------------------------- colour list and indicator

void TPixoralF::LineColorMouseUp(int row, Qt::MouseButton button, Qt::KeyboardModifiers mods) {
    // Alt gives the colour to the first gadget label. Ctrl hands the colour's text to the
    // script editor when its text area is visible; otherwise Ctrl is ignored.
    if (mods & Qt::AltModifier) {
        if (const auto c = LineColor->colorAt(row)) gadgets_->colorFirstLabel(*c);
        return;
    }
    if ((mods & Qt::ControlModifier) && recorder_.visible()) {
        if (const QListWidgetItem* it = LineColor->item(row)) recorder_.recordInput(it->text());
        return;
    }
    const auto c = LineColor->colorAt(row);
    if (!c) return;
    if (button == Qt::RightButton) {
        canvas().brush().setColor(*c);  // a clear brush turns solid, and so does the indicator's
        setShapeflagColors(shapeflagPenColor(), *c, canvas().brush().style());
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
        setShapeflagColors(shapeflagPenColor(), *c, canvas().brush().style());
    } else {
        setShapeflagColors(*c, shapeflagBrushColor());
        canvas().pen().color = *c;
    }
}

// ---------------------------------------------------------------- mouse on the workspace

void TPixoralF::showRepaint(const ToolEngine::Repaint& r) {
    switch (r.kind) {
        case ToolEngine::Repaint::None: break;
        case ToolEngine::Repaint::Parts:
            if (!r.parts.empty()) mypaint->updateRegion(workspace(), r.parts);
            break;
        case ToolEngine::Repaint::Whole: repaintWorkspace(); break;
    }
    showToolStep();
}

void TPixoralF::showToolStep() { stepPanel_->setText(tools().stepOf(settings().drawingMode)); }

void TPixoralF::mypaintMouseDown(const MouseInput& in) { showRepaint(engine_.mouseDown(state_, *host_, in)); }
void TPixoralF::mypaintMouseMove(const MouseInput& in) { showRepaint(engine_.mouseMove(state_, *host_, in)); }
void TPixoralF::mypaintMouseUp(const MouseInput& in) { showRepaint(engine_.mouseUp(state_, *host_, in)); }

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
    patterns_->store();
    state_.range.buffer = Bitmap();
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
            const auto path = dialogs().savePicture(QStringLiteral("Save As"), savePictureFilter(), 1);
            return path && saveImageFile(*path);
        }
        default: return false;
    }
}

void TPixoralF::closeEvent(QCloseEvent* e) {
    // A batch run has nobody to answer "Save changes?": it saves what its actions say.
    if (scriptRunning_ || (!isBatch() && !askToSaveChanges())) {
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
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
    lastScriptRun_ = r;
    return r;
}

bool TPixoralF::eventFilter(QObject* watched, QEvent* e) {
    if (scriptRunning_ && holdBackDuringJob(e, scriptEscape_)) return true;
    return QMainWindow::eventFilter(watched, e);
}

void TPixoralF::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && scriptRunning_) scriptEscape_ = true;
    else QMainWindow::keyPressEvent(e);
}

}  // namespace pixoral
