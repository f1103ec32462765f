#include "generators/TFractalsF.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "generators/QBPresets.h"  // kErrorInPresets
#include "ui/BusyCursor.h"
#include "ui/LongJob.h"
#include "ui/PresetList.h"
#include "ui/WorkspaceHost.h"

namespace pixoral::generators {

namespace {

struct EditInfo {
    const char* name;
    const char* caption;
    const char* hint;
};
constexpr std::array<EditInfo, 6> kEdits{{
    {"edX0", "X0", "Real part at the left edge"},
    {"edY0", "Y0", "Imaginary part at the top row"},
    {"edX1", "X1", "Real part at the right edge"},
    {"edY1", "Y1", "Imaginary part at the bottom edge"},
    {"edJuliaRe", "C re", "Real part of the Julia constant"},
    {"edJuliaIm", "C im", "Imaginary part of the Julia constant"},
}};

// Progress is worth showing only for pictures that take a while.
constexpr long long kProgressPixels = 1'000'000;
// How often a running computation looks at its input, in milliseconds.
constexpr int kEventsEvery = 30;

PresetListSetup fractalListSetup() {
    PresetListSetup s;
    s.names = {QStringLiteral("cboFractals"),  QStringLiteral("fracmenu"),        QStringLiteral("FracPopup"),
               QStringLiteral("AddFractal1"), QStringLiteral("DeleteFractal1"), QStringLiteral("UpdateFractal1")};
    s.placeholder = QStringLiteral("Fractals");
    s.listToolTip = QStringLiteral("Fractal presets\nRight-click to add, delete or update");
    s.menuButtonToolTip = QStringLiteral("Add, delete or update a fractal preset");
    s.caption = QStringLiteral("Pixoral Fractals");
    // Delete and Update with nothing picked do nothing, silently.
    s.nameHasEquals = kPresetNameHasEquals;
    s.nameNotOneLine = kPresetNameNotOneLine;
    s.valueRefused = QStringLiteral("A preset cannot store an edit that holds \",\"");
    s.duplicateName = kPresetAllreadyExists;
    return s;
}

}  // namespace

TFractalsF::TFractalsF(WorkspaceHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      host_(host),
      presets_(fractalPresetsPath(host.programFolder()), kFractalPresetsKind) {
    setObjectName(QStringLiteral("TFractalsF"));
    setWindowTitle(QStringLiteral("Fractals"));

    QString error;
    if (!presets_.load(&error)) say(error);
    buildControls();
    setFields(defaultFractalFields());
}

TFractalsF::~TFractalsF() {
    // Nothing may reach the owner while the window's own parts go away.
    syncing_ = true;
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TFractalsF::buildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(4);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    for (std::size_t k = 0; k < kEdits.size(); ++k) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(kEdits[k].name));
        e->setToolTip(QString::fromLatin1(kEdits[k].hint));
        e->setFixedWidth(110);
        // Enter in an edit does what "Show" does.
        connect(e, &QLineEdit::returnPressed, this, [this] { goFractalClick(); });
        edits_[k] = e;
        const int row = static_cast<int>(k) / 2, col = static_cast<int>(k) % 2 * 2;
        grid->addWidget(new QLabel(QString::fromLatin1(kEdits[k].caption), this), row, col);
        grid->addWidget(e, row, col + 1);
    }
    outer->addLayout(grid);

    ckMandel = new QCheckBox(QStringLiteral("Mandel"), this);
    ckMandel->setObjectName(QStringLiteral("ckMandel"));
    ckMandel->setToolTip(QStringLiteral("Checked: the Mandelbrot set; unchecked: the Julia set of C"));
    // The Julia constant means something only for a Julia set.
    connect(ckMandel, &QCheckBox::toggled, this, [this](bool mandel) {
        edits_[4]->setEnabled(!mandel);
        edits_[5]->setEnabled(!mandel);
    });
    outer->addWidget(ckMandel);

    auto trackbar = [&](QSlider*& s, QLabel*& label, const char* name, const char* labelName, void (TFractalsF::*handler)()) {
        auto* row = new QHBoxLayout;
        s = new QSlider(Qt::Horizontal, this);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(kFractalCountMin, kFractalCountMax);
        s->setPageStep(8);
        connect(s, &QSlider::valueChanged, this, [this, handler](int) { (this->*handler)(); });
        label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(labelName));
        label->setMinimumWidth(90);
        row->addWidget(s, 1);
        row->addWidget(label);
        outer->addLayout(row);
    };
    trackbar(fraciter, itercap, "fraciter", "itercap", &TFractalsF::fraciterChange);
    trackbar(fracnc, colorcap, "fracnc", "colorcap", &TFractalsF::fracncChange);

    fracPreview = new QCheckBox(QStringLiteral("Preview"), this);
    fracPreview->setObjectName(QStringLiteral("fracPreview"));
    fracPreview->setToolTip(QStringLiteral("Show the fractal in Quick Preview instead of the image"));
    outer->addWidget(fracPreview);

    presetList_ = new PresetList(presets_, host_.dialogs(), fractalListSetup(), this);
    presetList_->currentValues = [this] { return fractalPresetValue(fields()); };
    connect(presetList_, &PresetList::chosen, this, [this](int i) {
        if (!syncing_) cboFractalsClick(i);
    });
    addActions(presetList_->commands());
    setContextMenuPolicy(Qt::ActionsContextMenu);
    outer->addWidget(presetList_);

    auto* buttons = new QHBoxLayout;
    goFractal = new QPushButton(QStringLiteral("Show"), this);
    goFractal->setObjectName(QStringLiteral("goFractal"));
    goFractal->setToolTip(QStringLiteral("Compute the fractal (Escape stops it)"));
    connect(goFractal, &QPushButton::clicked, this, [this] { goFractalClick(); });
    goDefault = new QPushButton(QStringLiteral("Default"), this);
    goDefault->setObjectName(QStringLiteral("goDefault"));
    goDefault->setToolTip(QStringLiteral("The whole Mandelbrot set"));
    connect(goDefault, &QPushButton::clicked, this, [this] { goDefaultClick(); });
    buttons->addWidget(goFractal);
    buttons->addWidget(goDefault);
    outer->addLayout(buttons);
}

FractalFields TFractalsF::fields() const {
    FractalFields f;
    for (std::size_t k = 0; k < edits_.size(); ++k) f.edits[k] = edits_[k]->text();
    f.mandel = ckMandel->isChecked();
    f.iterations = fraciter->value();
    f.colors = fracnc->value();
    return f;
}

void TFractalsF::setFields(const FractalFields& f) {
    syncing_ = true;
    for (std::size_t k = 0; k < edits_.size(); ++k) edits_[k]->setText(f.edits[k]);
    ckMandel->setChecked(f.mandel);
    fraciter->setValue(f.iterations);
    fracnc->setValue(f.colors);
    syncing_ = false;
    fraciterChange();
    fracncChange();
}

void TFractalsF::say(const QString& text) const { host_.dialogs().message(text); }

// ---------------------------------------------------------------- handlers

bool TFractalsF::goFractalClick() {
    if (computing_) return false;
    const std::optional<FractalSettings> s = fractalSettings(fields());
    if (!s) {
        host_.fail(kErrorInInputValues);
        return false;
    }
    const Bitmap& ws = host_.workspace();
    const int w = ws.width(), h = ws.height();
    const bool showProgress = static_cast<long long>(w) * h > kProgressPixels;

    Bitmap picture;
    FractalResult r;
    {
        BusyCursor busy;
        computing_ = true;
        escape_ = false;
        qApp->installEventFilter(this);
        QElapsedTimer sinceEvents;
        sinceEvents.start();
        int shownPercent = -1;
        r = renderFractal(*s, w, h, picture, [&](int done, int rows) {
            const int percent = static_cast<int>(100LL * done / rows);
            if (showProgress && percent != shownPercent) {
                host_.showProgress(QStringLiteral("Fractal %1% (Esc stops)").arg(percent));
                shownPercent = percent;
            }
            if (sinceEvents.elapsed() >= kEventsEvery) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                sinceEvents.restart();
            }
            return !escape_;
        });
        qApp->removeEventFilter(this);
        computing_ = false;
        if (showProgress) host_.showProgress(QString());
    }
    switch (r) {
        case FractalResult::Done: break;
        case FractalResult::Stopped: return false;
        default: host_.fail(fractalResultMessage(r, w, h)); return false;
    }
    if (fracPreview->isChecked()) {
        host_.showPreview(picture);
        return true;
    }
    return host_.replaceWorkspace(picture);
}

void TFractalsF::goDefaultClick() { setFields(defaultFractalFields()); }

void TFractalsF::cboFractalsClick(int index) {
    if (!presets_.isEntry(index)) return;
    // The picked entry itself, so that of two entries a hand-edited file names alike the
    // second one can be loaded too.
    FractalFields f = fields();
    const bool ok = readFractalPreset(presets_.value(index), f);
    setFields(f);
    if (!ok) say(kErrorInPresets);
}

void TFractalsF::fraciterChange() { itercap->setText(QStringLiteral("%1 Iterations").arg(fraciter->value())); }
void TFractalsF::fracncChange() { colorcap->setText(QStringLiteral("%1 Colors").arg(fracnc->value())); }

bool TFractalsF::eventFilter(QObject* watched, QEvent* e) {
    if (computing_ && holdBackDuringJob(e, escape_)) return true;
    return QWidget::eventFilter(watched, e);
}

}  // namespace pixoral::generators
