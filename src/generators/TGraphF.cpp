#include "generators/TGraphF.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "files/Clipboard.h"
#include "files/ImageFile.h"
#include "generators/QBPresets.h"
#include "ui/ColorGrid.h"
#include "ui/HelpViewer.h"
#include "ui/PresetList.h"
#include "ui/WorkspaceHost.h"

namespace pixoral::generators {

namespace {

// Presets are refused for names the file cannot hold and for names it already has, since the
// drop-down could not tell two graphs of one name apart.
constexpr PresetFile::Kind kGraphPresetsKind{PresetFile::Order::ByName, PresetFile::Duplicates::Refused};

PresetListSetup graphListSetup() {
    PresetListSetup s;
    s.names = {QStringLiteral("Presets"), QStringLiteral("PresetsMenu"), QStringLiteral("GraphPopup"),
               QStringLiteral("AddGraph1"), QStringLiteral("DeleteGraph1"), QStringLiteral("UpdateGraph1")};
    s.placeholder = QStringLiteral("Presets");
    s.listToolTip = QStringLiteral("click-select\nright-click to add/delete");
    s.menuButtonToolTip = QStringLiteral("Add, delete or update a graph preset");
    s.caption = QStringLiteral("Graph Presets");
    s.prompt = QStringLiteral("Enter Graph Name");
    s.noSelection = kNoItemSelected;
    s.nameHasEquals = QStringLiteral("A graph name cannot contain \"=\"");
    s.nameNotOneLine = QStringLiteral("A graph name must be one line of text");
    s.duplicateName = kPresetAllreadyExists;
    s.valueRefused = QStringLiteral("A graph preset cannot store \"~~\" in its expressions or constants");
    return s;
}

const QString kAboutText = QStringLiteral(
    "Pixoral Quick Graph\n\n"
    "Plots the curve of two expressions of t, from a start value to an end value in fixed steps, "
    "into a picture of 256 by 256 pixels. Copy it and paste it into the image with Edit > Paste from Clipboard.");

QToolButton* speedButton(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    if (!hint.isEmpty()) b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setMinimumWidth(44);
    return b;
}

QLineEdit* edit(QWidget* parent, const char* name, const QString& text, int width = 0) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QString::fromLatin1(name));
    if (width > 0) e->setFixedWidth(width);
    return e;
}

}  // namespace

// The picture at its own size in a sunken frame.
class GraphPicture : public QFrame {
public:
    explicit GraphPicture(const Bitmap& picture, QWidget* parent) : QFrame(parent), picture_(picture) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(1);
        setFixedSize(picture.width() + 2 * frameWidth(), picture.height() + 2 * frameWidth());
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QFrame::paintEvent(e);
        QPainter p(this);
        p.drawImage(contentsRect().topLeft(), picture_.toImage());
    }

private:
    const Bitmap& picture_;
};

TGraphF::TGraphF(WorkspaceHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), host_(host), picture_(newGraphPicture()),
      presets_(graphPresetsPath(host.programFolder()), kGraphPresetsKind) {
    setObjectName(QStringLiteral("TGraphF"));
    setWindowTitle(QStringLiteral("Quick Graph"));
    QString error;
    if (!presets_.load(&error)) say(error);
    buildControls();
    adjustSize();  // its one size from the start, so it can be placed before it is first shown
}

TGraphF::~TGraphF() {
    // Nothing may reach the owner while the window's own parts go away.
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TGraphF::buildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);
    outer->setSizeConstraint(QLayout::SetFixedSize);  // a single border: the window keeps its size

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    auto* goGraph = speedButton(this, "goGraph", QStringLiteral("Go"), QStringLiteral("Draw Graph"));
    auto* goCLS = speedButton(this, "goCLS", QStringLiteral("Clear"), QStringLiteral("Clear Graph"));
    auto* goCopy = speedButton(this, "goCopy", QStringLiteral("Copy"), QStringLiteral("Copy Graph to the clipboard"));
    auto* goSave = speedButton(this, "goSave", QStringLiteral("Save"), QStringLiteral("Save Graph as bmp, gif or jpg file."));
    auto* goHelp = speedButton(this, "goHelp", QStringLiteral("Help"), QString());
    auto* goAbout = speedButton(this, "goAbout", QStringLiteral("About"), QString());
    QFont bold = goGraph->font();
    bold.setBold(true);
    goGraph->setFont(bold);
    connect(goGraph, &QToolButton::clicked, this, [this] { goGraphClick(); });
    connect(goCLS, &QToolButton::clicked, this, [this] { goCLSClick(); });
    connect(goCopy, &QToolButton::clicked, this, [this] { goCopyClick(); });
    connect(goSave, &QToolButton::clicked, this, [this] { goSaveClick(); });
    connect(goHelp, &QToolButton::clicked, this, [this] { HelpClick(); });
    connect(goAbout, &QToolButton::clicked, this, [this] { AboutClick(); });
    for (QToolButton* b : {goGraph, goCLS, goCopy, goSave}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(goHelp);
    buttons->addWidget(goAbout);
    outer->addLayout(buttons);

    auto* body = new QHBoxLayout;
    body->setSpacing(8);
    outer->addLayout(body);

    Image1 = new GraphPicture(picture_, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    body->addWidget(Image1, 0, Qt::AlignTop);

    auto* side = new QVBoxLayout;
    side->setSpacing(5);
    body->addLayout(side);

    auto* funcs = new QGridLayout;
    funcs->setHorizontalSpacing(4);
    func1 = edit(this, "func1", QStringLiteral("SIN(T*3)*100"));
    func2 = edit(this, "func2", QStringLiteral("T*100"));
    func1->setMinimumWidth(200);
    connect(func1, &QLineEdit::returnPressed, this, [this] { func1Enter(); });
    connect(func2, &QLineEdit::returnPressed, this, [this] { func2Enter(); });
    funcs->addWidget(new QLabel(QStringLiteral("y=f(t)"), this), 0, 0);
    funcs->addWidget(func1, 0, 1);
    funcs->addWidget(new QLabel(QStringLiteral("x=f(t)"), this), 1, 0);
    funcs->addWidget(func2, 1, 1);
    side->addLayout(funcs);

    const GraphConstantsText defaults;
    auto* constants = new QHBoxLayout;
    constants->setSpacing(4);
    F1from = edit(this, "F1from", defaults.from, 58);
    F1to = edit(this, "F1to", defaults.to, 58);
    F1step = edit(this, "F1step", defaults.step, 58);
    for (auto [caption, e] : {std::pair{"from", F1from}, std::pair{"to", F1to}, std::pair{"step", F1step}}) {
        constants->addWidget(new QLabel(QString::fromLatin1(caption), this));
        constants->addWidget(e);
    }
    constants->addStretch(1);
    side->addLayout(constants);

    auto* typeRow = new QHBoxLayout;
    auto* graphtype = new QGroupBox(QStringLiteral("graphtype"), this);
    graphtype->setObjectName(QStringLiteral("graphtype"));
    auto* typeItems = new QHBoxLayout(graphtype);
    typeItems->setContentsMargins(6, 2, 6, 2);
    graphtypeY = new QRadioButton(QStringLiteral("y"), graphtype);
    graphtypeY->setObjectName(QStringLiteral("graphtype0"));
    graphtypeY->setChecked(true);
    graphtypeXY = new QRadioButton(QStringLiteral("x,y"), graphtype);
    graphtypeXY->setObjectName(QStringLiteral("graphtype1"));
    typeItems->addWidget(graphtypeY);
    typeItems->addWidget(graphtypeXY);
    typeRow->addWidget(graphtype);
    auto* boxes = new QVBoxLayout;
    doAxis = new QCheckBox(QStringLiteral("Axis"), this);
    doAxis->setObjectName(QStringLiteral("doAxis"));
    doft = new QCheckBox(QStringLiteral("f(t)"), this);
    doft->setObjectName(QStringLiteral("doft"));
    boxes->addWidget(doAxis);
    boxes->addWidget(doft);
    typeRow->addLayout(boxes);
    typeRow->addStretch(1);
    side->addLayout(typeRow);

    auto* lists = new QHBoxLayout;
    penwidth = new QComboBox(this);
    penwidth->setObjectName(QStringLiteral("penwidth"));
    penwidth->setToolTip(QStringLiteral("Pen Width"));
    for (int i = 1; i <= 6; ++i) penwidth->addItem(QString::number(i));
    // Both the pick and a change made by a batch run; taking the same width twice is harmless.
    connect(penwidth, &QComboBox::activated, this, [this](int i) { penwidthClick(i); });
    connect(penwidth, &QComboBox::currentIndexChanged, this, [this](int i) { penwidthClick(i); });
    Limits = new QComboBox(this);
    Limits->setObjectName(QStringLiteral("Limits"));
    Limits->setToolTip(QStringLiteral("Preset Limits"));
    Limits->setPlaceholderText(QStringLiteral("Limits"));
    for (const GraphLimit& l : graphLimits()) Limits->addItem(l.item);
    Limits->setCurrentIndex(-1);
    connect(Limits, &QComboBox::activated, this, [this](int i) { LimitsClick(i); });
    connect(Limits, &QComboBox::currentIndexChanged, this, [this](int i) { LimitsClick(i); });
    lists->addWidget(new QLabel(QStringLiteral("Pen"), this));
    lists->addWidget(penwidth);
    lists->addSpacing(8);
    lists->addWidget(Limits);
    lists->addStretch(1);
    side->addLayout(lists);

    ColorGrid1 = new ColorGrid(this);
    ColorGrid1->setObjectName(QStringLiteral("ColorGrid1"));
    ColorGrid1->setToolTip(QStringLiteral("left-click Graph color\nright-click Back color"));
    connect(ColorGrid1, &ColorGrid::changed, this, [this] { ColorGrid1Change(); });
    side->addWidget(ColorGrid1);

    presetList_ = new PresetList(presets_, host_.dialogs(), graphListSetup(), this);
    presetList_->currentValues = [this] { return formatGraphPreset(request().graph); };
    connect(presetList_, &PresetList::chosen, this, [this](int i) { PresetsClick(i); });
    side->addWidget(presetList_);
    side->addStretch(1);
}

// ---------------------------------------------------------------- state

GraphRequest TGraphF::request() const {
    GraphRequest r;
    r.graph.func1 = func1->text();
    r.graph.func2 = func2->text();
    r.graph.constants = {F1from->text(), F1to->text(), F1step->text()};
    r.graph.type = graphtypeXY->isChecked() ? GraphType::XY : GraphType::Y;
    r.axis = doAxis->isChecked();
    r.showFunctions = doft->isChecked();
    return r;
}

void TGraphF::setDefinition(const GraphDefinition& g) {
    func1->setText(g.func1);
    func2->setText(g.func2);
    F1from->setText(g.constants.from);
    F1to->setText(g.constants.to);
    F1step->setText(g.constants.step);
    (g.type == GraphType::XY ? graphtypeXY : graphtypeY)->setChecked(true);
}

void TGraphF::pictureChanged() { Image1->update(); }

void TGraphF::say(const QString& text) const {
    if (!text.isEmpty()) host_.dialogs().message(text);
}

// ---------------------------------------------------------------- handlers

void TGraphF::goGraphClick() {
    const GraphOutcome out = drawGraph(picture_, Parser1, Parser2, request());
    pictureChanged();
    for (const QString& m : out.messages) say(m);
}

void TGraphF::goCLSClick() {
    picture_.fill(picture_.canvas().brush().color());
    pictureChanged();
}

void TGraphF::goCopyClick() { copyToClipboard(picture_); }

void TGraphF::goSaveClick() {
    const auto path = host_.dialogs().savePicture(QStringLiteral("Save Graph"), savePictureFilter(), 1);
    if (!path) return;
    QString target = *path, error;
    if (savePictureAs(&target, picture_, ImageSaveOptions{}, &error) != FileResult::Done)
        host_.fail(error.isEmpty() ? QStringLiteral("Cannot save the graph.") : error);
}

void TGraphF::funcEnter(QLineEdit* edit, TParser& parser, const QString& parseError) {
    if (!readGraphConstants(request().graph.constants)) {
        say(kErrorInConstants);
        return;
    }
    QString error;
    if (const auto value = evaluateGraphFunction(parser, edit->text(), parseError, &error)) edit->setText(*value);
    else say(error);
}

// func1 reports any parse error by one fixed text, as drawing does; func2 by the parser's own.
void TGraphF::func1Enter() { funcEnter(func1, Parser1, kErrorInExpression); }
void TGraphF::func2Enter() { funcEnter(func2, Parser2, QString()); }

void TGraphF::penwidthClick(int index) {
    if (index >= 0) picture_.canvas().pen().width = index + 1;
}

void TGraphF::ColorGrid1Change() {
    Canvas& c = picture_.canvas();
    c.pen().color = ColorGrid1->foregroundColor();
    c.brush().setColor(ColorGrid1->backgroundColor());
    goCLSClick();
}

void TGraphF::LimitsClick(int index) {
    const QList<GraphLimit> limits = graphLimits();
    if (index < 0 || index >= limits.size()) return;
    F1from->setText(limits[index].constants.from);
    F1to->setText(limits[index].constants.to);
    F1step->setText(limits[index].constants.step);
}

void TGraphF::PresetsClick(int index) {
    const auto g = parseGraphPreset(presets_.lines().value(index));
    if (!g) return;
    setDefinition(*g);
    goGraphClick();
}

// The popup's commands belong to the preset list; these are the window's names for them.
void TGraphF::AddGraph1Click() { presetList_->addClick(); }
void TGraphF::DeleteGraph1Click() { presetList_->deleteClick(); }

void TGraphF::HelpClick() { host_.showHelp(kHelpGraphTopic); }

void TGraphF::AboutClick() { say(kAboutText); }

void TGraphF::FormShow() { goCLSClick(); }

void TGraphF::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Shown by the program, not brought back from an icon.
    if (!e->spontaneous()) FormShow();
}

}  // namespace pixoral::generators
