#include "generators/TPixoralQBF.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/ChannelRadios.h"
#include "ui/PresetList.h"
#include "ui/WorkspaceHost.h"

namespace pixoral::generators {

namespace {

// The backdrop drop-down and its popup, under the names tests and batch runs know.
PresetListSetup backdropListSetup() {
    PresetListSetup s;
    s.names = {QStringLiteral("qbpresets"),    QStringLiteral("qbmenu"),          QStringLiteral("QBPopup"),
               QStringLiteral("AddBackdrop1"), QStringLiteral("DeleteBackdrop1"), QStringLiteral("UpdateBackdrop1")};
    s.placeholder = QStringLiteral("Backdrops");
    s.listToolTip = QStringLiteral("Backdrops\nRight-click to add, delete or update");
    s.menuButtonToolTip = QStringLiteral("Add, delete or update a backdrop");
    s.addItem = QStringLiteral("&Add Backdrop");
    s.deleteItem = QStringLiteral("&Delete Backdrop");
    s.updateItem = QStringLiteral("&Update Backdrop");
    s.caption = QStringLiteral("Pixoral Quick Backdrops");
    s.noSelection = kNoItemSelected;
    s.nameHasEquals = kBackdropNameHasEquals;
    s.nameNotOneLine = kBackdropNameNotOneLine;
    // The values are numbers and the file allows the same name twice: no other refusals.
    return s;
}

struct TrackbarInfo {
    const char* name;
    const char* hint;  // empty: none
    const char* label;
    int min, max;
};
constexpr TrackbarInfo kTrackbars[4] = {
    {"trkRed", "Red", "Red", 0, 255},
    {"trkGreen", "Green", "Green", 0, 255},
    {"trkBlue", "Blue", "Blue", 0, 255},
    {"trkFactor", "", "Factor", kQBFactorMin, kQBFactorMax},
};

}  // namespace

TPixoralQBF::TPixoralQBF(WorkspaceHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), host_(host) {
    setObjectName(QStringLiteral("TPixoralQBF"));
    setWindowTitle(QStringLiteral("QuickBack"));

    presets_.setPath(qbPresetsPath(host_.programFolder()));
    QString error;
    if (!presets_.load(&error)) say(error);
    buildControls();
    syncControls();
}

TPixoralQBF::~TPixoralQBF() {
    // Nothing may reach the owner while the window's own parts go away.
    syncing_ = true;
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TPixoralQBF::buildControls() {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(8);

    QBList = new QListWidget(this);
    QBList->setObjectName(QStringLiteral("QBList"));
    QBList->setToolTip(QStringLiteral("The formula of the checked channel"));
    for (const QBFunction& f : qbFunctions()) QBList->addItem(QString::fromLatin1(f.name));
    QBList->setFixedWidth(110);
    // A list with no current row takes its first row when it gets the focus, which would
    // count as a click; so the list starts on the first formula.
    QBList->setCurrentRow(0);
    QBList->viewport()->installEventFilter(this);
    QBList->installEventFilter(this);
    connect(QBList, &QListWidget::currentRowChanged, this, [this](int) {
        if (syncing_) return;
        listRowJustChanged_ = true;
        QBListClick();
    });
    connect(QBList, &QListWidget::itemClicked, this, [this](QListWidgetItem*) {
        if (syncing_) return;
        if (listRowJustChanged_) {
            listRowJustChanged_ = false;
            return;
        }
        QBListClick();
    });
    outer->addWidget(QBList);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    outer->addLayout(right, 1);

    radios_ = addChannelRadios(this, right, [this](int ch) {
        if (!syncing_) radioClick(ch);
    });

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < 4; ++i) {
        const TrackbarInfo& t = kTrackbars[i];
        auto* label = new QLabel(QString::fromLatin1(t.label), this);
        auto* s = new QSlider(Qt::Horizontal, this);
        s->setObjectName(QString::fromLatin1(t.name));
        s->setRange(t.min, t.max);
        s->setPageStep(16);
        if (*t.hint) s->setToolTip(QString::fromLatin1(t.hint));
        auto* value = new QLabel(this);
        value->setMinimumWidth(26);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(s, &QSlider::valueChanged, this, [this, i](int v) {
            if (syncing_) return;
            trackValues_[i]->setNum(v);
            trackbarChange(i);
        });
        trackbars_[i] = s;
        trackValues_[i] = value;
        grid->addWidget(label, i, 0);
        grid->addWidget(s, i, 1);
        grid->addWidget(value, i, 2);
    }
    right->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    gpUpdate = new QToolButton(this);
    gpUpdate->setObjectName(QStringLiteral("gpUpdate"));
    gpUpdate->setText(QStringLiteral("Go"));
    gpUpdate->setToolTip(QStringLiteral("Update Image"));
    gpUpdate->setFixedWidth(32);
    connect(gpUpdate, &QToolButton::clicked, this, [this] { gpUpdateClick(); });
    buttons->addWidget(gpUpdate);
    qbPreview = new QCheckBox(QStringLiteral("Preview"), this);
    qbPreview->setObjectName(QStringLiteral("qbPreview"));
    buttons->addWidget(qbPreview);
    buttons->addStretch(1);
    right->addLayout(buttons);

    presetList_ = new PresetList(presets_.file(), host_.dialogs(), backdropListSetup(), this);
    presetList_->currentValues = [this] { return formatPresetValues(settings_); };
    connect(presetList_, &PresetList::chosen, this, [this](int i) {
        if (!syncing_) qbpresetsClick(i);
    });
    // The same three commands on a right click anywhere in the window.
    addActions(presetList_->commands());
    setContextMenuPolicy(Qt::ActionsContextMenu);
    right->addWidget(presetList_);
    right->addStretch(1);

    resize(380, 250);
}

// ---------------------------------------------------------------- state and controls

int TPixoralQBF::checkedChannel() const {
    for (int ch = 0; ch < 3; ++ch)
        if (radios_[ch]->isChecked()) return ch;
    return -1;
}

bool TPixoralQBF::previewChecked() const { return qbPreview->isChecked(); }

void TPixoralQBF::refreshRadioCaptions() {
    for (int ch = 0; ch < 3; ++ch) radios_[ch]->setText(qbFunctionName(settings_.function[ch]));
}

void TPixoralQBF::syncControls() {
    syncing_ = true;
    for (int i = 0; i < 3; ++i) trackbars_[i]->setValue(settings_.offset[i]);
    trackbars_[3]->setValue(settings_.factor);
    for (int i = 0; i < 4; ++i) trackValues_[i]->setNum(trackbars_[i]->value());
    refreshRadioCaptions();
    const int ch = checkedChannel();
    if (ch >= 0) QBList->setCurrentRow(settings_.function[ch]);
    syncing_ = false;
}

void TPixoralQBF::say(const QString& text) const { host_.dialogs().message(text); }

// ---------------------------------------------------------------- render and presets

bool TPixoralQBF::RenderBackground(Destination to) {
    Bitmap& ws = host_.workspace();
    auto failed = [&] {
        host_.fail(
            QStringLiteral("There is not enough memory for a %1 x %2 background.").arg(ws.width()).arg(ws.height()));
        return false;
    };
    if (to == Destination::AsChecked && qbPreview->isChecked()) {
        const Bitmap out = renderBackground(settings_, ws.width(), ws.height());
        if (out.isEmpty()) return failed();
        host_.showPreview(out);
        return true;
    }
    if (!renderBackground(settings_, ws)) return failed();
    host_.workspaceChanged();
    return true;
}

bool TPixoralQBF::ApplyPreset(const QString& line, Destination to) {
    const PresetApply r = applyPresetLine(line, settings_);
    syncControls();  // a bad line keeps the fields before the bad one, and so do the trackbars
    switch (r) {
        case PresetApply::Applied: return RenderBackground(to);
        case PresetApply::Error: say(kErrorInPresets); return false;
        default: return false;
    }
}

bool TPixoralQBF::ApplyPresetByName(const QString& name) {
    const int i = presets_.find(name);
    if (i < 0) return false;
    return ApplyPreset(presets_.lines()[i], Destination::Workspace);
}

// ---------------------------------------------------------------- handlers

void TPixoralQBF::QBListClick() {
    const int row = QBList->currentRow();
    const int ch = checkedChannel();
    if (ch >= 0 && row >= 0 && row < kQBFunctionCount) settings_.function[ch] = row;
    refreshRadioCaptions();
    RenderBackground();
}

void TPixoralQBF::radioClick(int channel) {
    if (channel < 0 || channel > 2) return;
    syncing_ = true;
    QBList->setCurrentRow(settings_.function[channel]);
    syncing_ = false;
}

void TPixoralQBF::trackbarChange(int which) {
    const int v = trackbars_[which]->value();
    if (which < 3) settings_.offset[which] = static_cast<std::uint8_t>(v & 0xFF);
    else settings_.setFactor(v);
}

void TPixoralQBF::gpUpdateClick() { RenderBackground(); }

void TPixoralQBF::qbpresetsClick(int index) {
    if (index < 0 || index >= presets_.count()) return;
    ApplyPreset(presets_.lines()[index]);
}

// The popup's commands belong to the preset list; these are the window's names for them.
void TPixoralQBF::AddBackdrop1Click() { presetList_->addClick(); }
void TPixoralQBF::DeleteBackdrop1Click() { presetList_->deleteClick(); }
void TPixoralQBF::UpdateBackdrop1Click() { presetList_->updateClick(); }

void TPixoralQBF::FormShow() { refreshRadioCaptions(); }

void TPixoralQBF::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    FormShow();
}

bool TPixoralQBF::eventFilter(QObject* watched, QEvent* e) {
    // A new press or key starts a new click: forget the row change of the last one.
    if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::KeyPress) {
        if (watched == QBList || watched == QBList->viewport()) listRowJustChanged_ = false;
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace pixoral::generators
