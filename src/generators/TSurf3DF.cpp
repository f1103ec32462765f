#include "generators/TSurf3DF.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <functional>

#include "ui/BusyCursor.h"
#include "ui/PresetList.h"
#include "ui/WorkspaceHost.h"

namespace pixoral::generators {

// The sixteen standard colours in one column; the foreground is marked "FG" and the background
// "BG", as colour grids always have.
class Surf3DColorGrid : public QWidget {
public:
    static constexpr int kCell = 18;
    std::function<void(int index, bool background)> picked;
    int foreground = 11, background = 0;

    explicit Surf3DColorGrid(QWidget* parent) : QWidget(parent) { setFixedSize(kCell + 8, kCell * 16); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QFont f = font();
        f.setPixelSize(8);
        p.setFont(f);
        for (int i = 0; i < 16; ++i) {
            const TColor c = kStandardColors[i];
            const QRect r(0, i * kCell, width() - 1, kCell - 1);
            p.fillRect(r, QColor(getRValue(c), getGValue(c), getBValue(c)));
            p.setPen(Qt::gray);
            p.drawRect(r);
            const QString mark = i == foreground && i == background ? QStringLiteral("FB")
                                 : i == foreground                  ? QStringLiteral("FG")
                                 : i == background                  ? QStringLiteral("BG")
                                                                    : QString();
            if (mark.isEmpty()) continue;
            // Black or white, whichever shows on the cell.
            p.setPen(getRValue(c) + getGValue(c) * 2 + getBValue(c) > 500 ? Qt::black : Qt::white);
            p.drawText(r, Qt::AlignCenter, mark);
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        const int i = static_cast<int>(e->position().y()) / kCell;
        if (i < 0 || i >= 16 || !picked) return;
        if (e->button() == Qt::LeftButton) picked(i, false);
        else if (e->button() == Qt::RightButton) picked(i, true);
    }
};

// The picture at its own size.
class Surf3DPicture : public QWidget {
public:
    explicit Surf3DPicture(QWidget* parent) : QWidget(parent) { setFixedSize(kSurf3DPictureSide, kSurf3DPictureSide); }
    void setImage(const QImage& img) {
        image_ = img;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawImage(0, 0, image_);
    }

private:
    QImage image_;
};

namespace {

PresetListSetup surfacePresetsSetup() {
    PresetListSetup s;
    s.names = {QStringLiteral("presets"),   QStringLiteral("presetsmenu"),   QStringLiteral("PresetsPopup"),
               QStringLiteral("AddPreset1"), QStringLiteral("DeletePreset1"), QStringLiteral("UpdatePreset1")};
    s.placeholder = QStringLiteral("Presets");
    s.listToolTip = QStringLiteral("Surface presets\nRight-click to add, update or delete");
    s.menuButtonToolTip = QStringLiteral("Add, update or delete a surface preset");
    s.caption = QStringLiteral("Surf3D Presets");
    s.noSelection = QStringLiteral("No item selected!");
    s.nameHasEquals = kPresetNameHasEquals;
    s.nameNotOneLine = kPresetNameNotOneLine;
    s.duplicateName = kPresetAllreadyExists;
    return s;
}

}  // namespace

TSurf3DF::TSurf3DF(WorkspaceHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      host_(host),
      presets_(surf3DPresetsPath(host.programFolder()), kSurf3DPresetsKind) {
    setObjectName(QStringLiteral("TSurf3DF"));
    setWindowTitle(QStringLiteral("Surf 3D"));

    QString error;
    if (!presets_.load(&error)) say(error);

    picture_.setSize(kSurf3DPictureSide, kSurf3DPictureSide);
    buildControls();
    syncSpins();
    Redraw();
}

TSurf3DF::~TSurf3DF() {
    // Nothing may reach the owner while the window's own parts go away.
    syncing_ = true;
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TSurf3DF::buildControls() {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(8);
    // A window of one size: the picture has a size of its own.
    outer->setSizeConstraint(QLayout::SetFixedSize);

    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    outer->addLayout(left);

    left->addWidget(new QLabel(QStringLiteral("Select Figure to Display"), this));
    ComboBoxFigure = new QComboBox(this);
    ComboBoxFigure->setObjectName(QStringLiteral("ComboBoxFigure"));
    for (const char* name : kSurf3DFigureNames) ComboBoxFigure->addItem(QString::fromLatin1(name));
    connect(ComboBoxFigure, &QComboBox::currentIndexChanged, this, [this](int) {
        if (!syncing_) ComboBoxFigureChange();
    });
    left->addWidget(ComboBoxFigure);

    // The first three spin edits place the eye, the other two the screen.
    QGroupBox* groups[2] = {new QGroupBox(QStringLiteral("Eye Position"), this),
                            new QGroupBox(QStringLiteral("Screen"), this)};
    QGridLayout* grids[2] = {new QGridLayout(groups[0]), new QGridLayout(groups[1])};
    for (std::size_t k = 0; k < kSurf3DSpins.size(); ++k) {
        const Surf3DSpin& s = kSurf3DSpins[k];
        const int g = k < 3 ? 0 : 1;
        auto* spin = new QSpinBox(this);
        spin->setObjectName(QString::fromLatin1(s.name));
        spin->setRange(s.lo, s.hi);
        spin->setSingleStep(s.step);
        if (*s.hint) spin->setToolTip(QString::fromLatin1(s.hint));
        connect(spin, &QSpinBox::valueChanged, this, [this](int) {
            if (!syncing_) SpinEditChange();
        });
        spins_[k] = spin;
        const int row = grids[g]->rowCount();
        grids[g]->addWidget(new QLabel(QString::fromLatin1(s.caption), this), row, 0);
        grids[g]->addWidget(spin, row, 1);
    }
    left->addWidget(groups[0]);
    left->addWidget(groups[1]);

    auto* exprs = new QGridLayout;
    SurFx = new QLineEdit(kDefaultSurFx, this);
    SurFx->setObjectName(QStringLiteral("SurFx"));
    SurFy = new QLineEdit(kDefaultSurFy, this);
    SurFy->setObjectName(QStringLiteral("SurFy"));
    // Enter in either edit does what "Show" does.
    for (QLineEdit* e : {SurFx, SurFy}) connect(e, &QLineEdit::returnPressed, this, [this] { goMakePointsClick(); });
    exprs->addWidget(new QLabel(QStringLiteral("f(x,y)"), this), 0, 0);
    exprs->addWidget(SurFx, 0, 1);
    exprs->addWidget(new QLabel(QStringLiteral("f(y)"), this), 1, 0);
    exprs->addWidget(SurFy, 1, 1);
    left->addLayout(exprs);

    presetList_ = new PresetList(presets_, host_.dialogs(), surfacePresetsSetup(), this);
    presetList_->currentValues = [this] { return surf3DPresetValue(SurFx->text(), SurFy->text()); };
    connect(presetList_, &PresetList::chosen, this, [this](int i) {
        if (!syncing_) presetsClick(i);
    });
    left->addWidget(presetList_);

    auto* buttons = new QHBoxLayout;
    auto button = [&](QPushButton*& b, const char* name, const char* text, const char* tip, void (TSurf3DF::*handler)()) {
        b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromLatin1(tip));
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        buttons->addWidget(b);
    };
    button(goMakePoints, "goMakePoints", "Show", "Make the surface from f(x,y) and f(y)", &TSurf3DF::goMakePointsClick);
    button(goCopy, "goCopy", "Copy", "Copy the picture to the clipboard", &TSurf3DF::goCopyClick);
    button(goUse, "goUse", "Use", "Make the picture the image", &TSurf3DF::goUseClick);
    left->addLayout(buttons);

    usecolor = new QCheckBox(QStringLiteral("use color"), this);
    usecolor->setObjectName(QStringLiteral("usecolor"));
    connect(usecolor, &QCheckBox::toggled, this, [this](bool) {
        if (!syncing_) usecolorClick();
    });
    left->addWidget(usecolor);
    left->addStretch(1);

    surfcolor = new Surf3DColorGrid(this);
    surfcolor->setObjectName(QStringLiteral("surfcolor"));
    surfcolor->setToolTip(QStringLiteral("Left click: figure colour, right click: background"));
    surfcolor->picked = [this](int i, bool background) { surfcolorPick(i, background); };
    outer->addWidget(surfcolor, 0, Qt::AlignTop);

    Image = new Surf3DPicture(this);
    Image->setObjectName(QStringLiteral("Image"));
    outer->addWidget(Image, 0, Qt::AlignTop);
}

void TSurf3DF::syncSpins() {
    syncing_ = true;
    for (std::size_t k = 0; k < kSurf3DSpins.size(); ++k) spins_[k]->setValue(scene_.view.*kSurf3DSpins[k].field);
    syncing_ = false;
}

void TSurf3DF::say(const QString& text) const { host_.dialogs().message(text); }

// ---------------------------------------------------------------- drawing

void TSurf3DF::MakeSurface() {
    for (const QString& e : makeSurface(ParserX, ParserY, SurFx->text(), SurFy->text(), surface_)) say(e);
}

void TSurf3DF::Redraw() {
    QString error;
    if (!drawSurf3D(picture_, scene_, surface_, &error)) say(error);
    Image->setImage(picture_.toImage());
}

// ---------------------------------------------------------------- handlers

void TSurf3DF::ComboBoxFigureChange() {
    const int i = ComboBoxFigure->currentIndex();
    if (i < 0 || i >= kSurf3DFigureCount) return;
    BusyCursor busy;
    scene_.figure = static_cast<Surf3DFigure>(i);
    scene_.view = figureView(scene_.figure);
    syncSpins();
    if (scene_.figure == Surf3DFigure::Surface) MakeSurface();
    Redraw();
}

void TSurf3DF::SpinEditChange() {
    for (std::size_t k = 0; k < kSurf3DSpins.size(); ++k) scene_.view.*kSurf3DSpins[k].field = spins_[k]->value();
    Redraw();
}

void TSurf3DF::goMakePointsClick() {
    MakeSurface();
    if (scene_.figure == Surf3DFigure::Surface) Redraw();
}

void TSurf3DF::goCopyClick() { QGuiApplication::clipboard()->setImage(picture_.toImage()); }

void TSurf3DF::goUseClick() { host_.replaceWorkspace(picture_); }

void TSurf3DF::presetsClick(int index) {
    const auto e = surf3DPresetExpressions(presets_.value(index));
    if (!presets_.isEntry(index) || !e) return;
    SurFx->setText(e->fx);
    SurFy->setText(e->fy);
}

void TSurf3DF::usecolorClick() {
    scene_.useColor = usecolor->isChecked();
    Redraw();
}

void TSurf3DF::surfcolorPick(int index, bool background) {
    if (index < 0 || index >= 16) return;
    (background ? surfcolor->background : surfcolor->foreground) = index;
    (background ? scene_.background : scene_.foreground) = kStandardColors[index];
    surfcolor->update();
    Redraw();
}

}  // namespace pixoral::generators
