#include "generators/TPixoralFLF.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/ChannelRadios.h"
#include "ui/PresetList.h"
#include "ui/WorkspaceHost.h"

namespace pixoral::generators {

namespace {

// The user filter drop-down and its popup, under the names tests and batch runs know.
PresetListSetup userFilterListSetup() {
    PresetListSetup s;
    s.names = {QStringLiteral("FilterPresets"), QStringLiteral("flmenu"),  QStringLiteral("FilterPopup"),
               QStringLiteral("AddFilter1"),    QStringLiteral("DeleteFilter1"), QStringLiteral("UpdateFilter1")};
    s.placeholder = QStringLiteral("User Filters");
    s.listToolTip = QStringLiteral("User filters\nRight-click to add, delete or update");
    s.menuButtonToolTip = QStringLiteral("Add, delete or update a user filter");
    s.caption = QStringLiteral("Pixoral User Filter");
    s.prompt = QStringLiteral("Enter Filter Name:");
    // Update with nothing picked does nothing, silently.
    s.nameHasEquals = kUserFilterNameHasEquals;
    s.nameNotOneLine = kUserFilterNameNotOneLine;
    return s;
}

constexpr const char* kEditNames[kUserFilterFields] = {"E01", "E02", "E03", "E11", "E12", "E13",
                                                       "E21", "E22", "E23", "EDIV", "EBIAS"};

}  // namespace

TPixoralFLF::TPixoralFLF(WorkspaceHost& host, std::function<std::uint8_t()> traceColorByte, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      host_(host),
      traceColorByte_(std::move(traceColorByte)),
      userFilters_(userFiltersPath(host.programFolder()), kUserFiltersKind) {
    setObjectName(QStringLiteral("TPixoralFLF"));
    setWindowTitle(QStringLiteral("Filters"));

    QString error;
    if (!userFilters_.load(&error)) say(error);
    else if (const QString problems = userFiltersProblems(userFilters_); !problems.isEmpty()) say(problems);
    buildControls();
}

TPixoralFLF::~TPixoralFLF() {
    // Nothing may reach the owner while the window's own parts go away.
    syncing_ = true;
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TPixoralFLF::buildControls() {
    syncing_ = true;
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);

    QFList = new QListWidget(this);
    QFList->setObjectName(QStringLiteral("QFList"));
    QFList->setToolTip(QStringLiteral("The filter of the checked channel (24 bits) or of the image (8 bits)"));
    for (const RowFilter& f : rowFilters()) QFList->addItem(QString::fromLatin1(f.name));
    QFList->setFixedWidth(110);
    // Tall enough to show all the filters without scrolling.
    QFList->setMinimumHeight(QFList->sizeHintForRow(0) * kFilterCount + 2 * QFList->frameWidth() + 4);
    QFList->setCurrentRow(kReduceFilter);
    // A click on the row already current changes no row but still sets the filter (in 8-bit
    // mode it sets all three channels); setting the same filter twice is harmless.
    connect(QFList, &QListWidget::currentRowChanged, this, [this](int) {
        if (!syncing_) QFListClick();
    });
    connect(QFList, &QListWidget::itemClicked, this, [this](QListWidgetItem*) {
        if (!syncing_) QFListClick();
    });
    outer->addWidget(QFList);

    // v: the vertical trackbar with its value under it.
    auto* valueColumn = new QVBoxLayout;
    trkRed = new QSlider(Qt::Vertical, this);
    trkRed->setObjectName(QStringLiteral("trkRed"));
    trkRed->setRange(kFilterValueMin, kFilterValueMax);
    trkRed->setPageStep(16);
    trkRed->setInvertedAppearance(true);  // 0 at the top
    trkRed->setValue(settings_.value);
    trkValue_ = new QLabel(QString::number(settings_.value), this);
    trkValue_->setAlignment(Qt::AlignCenter);
    trkValue_->setMinimumWidth(26);
    connect(trkRed, &QSlider::valueChanged, this, [this](int v) { trkValue_->setNum(v); });
    valueColumn->addWidget(trkRed, 1, Qt::AlignHCenter);
    valueColumn->addWidget(trkValue_);
    outer->addLayout(valueColumn);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    outer->addLayout(right, 1);

    radios_ = addChannelRadios(this, right, [this](int ch) {
        if (!syncing_) radioClick(ch);
    });
    radios_[0]->setChecked(true);

    bit24 = new QCheckBox(QStringLiteral("24 bits"), this);
    bit24->setObjectName(QStringLiteral("bit24"));
    connect(bit24, &QCheckBox::toggled, this, [this] {
        if (!syncing_) bit24Click();
    });
    right->addWidget(bit24);

    // The matrix: three rows of left, centre, right, then the divisor and the bias. A ","
    // would split a stored user filter, and no integer holds one.
    auto* validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^,]*")), this);
    const MatrixTexts start = matrixTexts(settings_.matrix);
    for (int i = 0; i < kUserFilterFields; ++i) {
        auto* e = new QLineEdit(start[i], this);
        e->setObjectName(QString::fromLatin1(kEditNames[i]));
        e->setValidator(validator);
        e->setAlignment(Qt::AlignRight);
        e->setFixedWidth(48);
        edits_[i] = e;
    }
    auto* matrix = new QGridLayout;
    matrix->setHorizontalSpacing(4);
    matrix->setVerticalSpacing(4);
    for (int i = 0; i < 9; ++i) matrix->addWidget(edits_[i], i / 3, i % 3);
    right->addLayout(matrix);
    auto* divisorRow = new QGridLayout;
    divisorRow->setHorizontalSpacing(4);
    divisorRow->addWidget(new QLabel(QStringLiteral("Divisor"), this), 0, 0);
    divisorRow->addWidget(edits_[9], 0, 1);
    divisorRow->addWidget(new QLabel(QStringLiteral("Bias"), this), 1, 0);
    divisorRow->addWidget(edits_[10], 1, 1);
    divisorRow->setColumnStretch(2, 1);
    right->addLayout(divisorRow);

    auto* buttons = new QHBoxLayout;
    goFilter = new QToolButton(this);
    goFilter->setObjectName(QStringLiteral("goFilter"));
    goFilter->setText(QStringLiteral("Filter"));
    connect(goFilter, &QToolButton::clicked, this, [this] { goFilterClick(); });
    buttons->addWidget(goFilter);
    fltrpreview = new QCheckBox(QStringLiteral("Preview"), this);
    fltrpreview->setObjectName(QStringLiteral("fltrpreview"));
    buttons->addWidget(fltrpreview);
    buttons->addStretch(1);
    right->addLayout(buttons);

    presetList_ = new PresetList(userFilters_, host_.dialogs(), userFilterListSetup(), this);
    presetList_->currentValues = [this] { return formatUserFilterValues(editTexts()); };
    connect(presetList_, &PresetList::chosen, this, [this](int i) {
        if (!syncing_) FilterPresetsClick(i);
    });
    // The same three commands on a right click anywhere in the window.
    addActions(presetList_->commands());
    setContextMenuPolicy(Qt::ActionsContextMenu);
    right->addWidget(presetList_);
    right->addStretch(1);

    refreshRadioCaptions();
    syncing_ = false;
    resize(330, 0);  // as high as the list needs
}

// ---------------------------------------------------------------- state and controls

int TPixoralFLF::checkedChannel() const {
    for (int ch = 0; ch < 3; ++ch)
        if (radios_[ch]->isChecked()) return ch;
    return -1;
}

MatrixTexts TPixoralFLF::editTexts() const {
    MatrixTexts t;
    for (int i = 0; i < kUserFilterFields; ++i) t[i] = edits_[i]->text();
    return t;
}

void TPixoralFLF::refreshRadioCaptions() {
    for (int ch = 0; ch < 3; ++ch) radios_[ch]->setText(rowFilterName(settings_.filter[ch]));
}

void TPixoralFLF::say(const QString& text) const { host_.dialogs().message(text); }

// ---------------------------------------------------------------- run

bool TPixoralFLF::goFilterClick(Destination to) {
    UserMatrix m;
    if (!parseUserMatrix(editTexts(), m)) {
        say(kInvalidIntegerInUserMatrix);
        return false;
    }
    if (m.divisor < 1) {
        say(kDivisorMustBeAtLeast1);
        return false;
    }
    settings_.matrix = m;
    settings_.value = trkRed->value();
    settings_.traceColorByte = traceColorByte_ ? traceColorByte_() : 0;

    Bitmap out;
    switch (runQuickFilter(host_.workspace(), settings_, out)) {
        case FilterRun::Done: break;
        // v = 0 with a filter that divides by it.
        case FilterRun::ZeroValue: say(kInvalidIntegerInUserMatrix); return false;
        case FilterRun::BadDivisor: say(kDivisorMustBeAtLeast1); return false;
        case FilterRun::NoMemory:
            host_.fail(QStringLiteral("There is not enough memory to filter a %1 x %2 image.")
                           .arg(host_.workspace().width())
                           .arg(host_.workspace().height()));
            return false;
    }
    if (to == Destination::AsChecked && fltrpreview->isChecked()) {
        host_.showPreview(out);
        return true;
    }
    return host_.replaceWorkspace(out);
}

bool TPixoralFLF::RunFilterByName(const QString& name) {
    const int index = findRowFilter(name);
    if (index < 0) return false;
    bit24->setChecked(false);
    radios_[0]->setChecked(true);
    syncing_ = true;
    QFList->setCurrentRow(index);
    syncing_ = false;
    QFListClick();
    return goFilterClick(Destination::Workspace);
}

// ---------------------------------------------------------------- handlers

void TPixoralFLF::QFListClick() {
    const int row = QFList->currentRow();
    if (row < 0 || row >= kFilterCount) return;
    if (bit24->isChecked()) {
        const int ch = checkedChannel();
        if (ch >= 0) settings_.filter[ch] = row;
    } else {
        settings_.filter = {row, row, row};
    }
    refreshRadioCaptions();
}

void TPixoralFLF::radioClick(int channel) {
    if (channel < 0 || channel > 2) return;
    syncing_ = true;
    QFList->setCurrentRow(settings_.filter[channel]);
    syncing_ = false;
}

void TPixoralFLF::bit24Click() { settings_.bit24 = bit24->isChecked(); }

void TPixoralFLF::FilterPresetsClick(int index) {
    if (index < 0 || index >= userFilters_.count()) return;
    const QString& line = userFilters_.lines()[index];
    MatrixTexts texts = editTexts();
    const bool complete = readUserFilterValues(line, texts);
    for (int i = 0; i < kUserFilterFields; ++i) edits_[i]->setText(texts[i]);
    if (!complete) say(kUserFilterIncomplete.arg(PresetFile::nameOf(line)));
}

// The popup's commands belong to the preset list; these are the window's names for them.
void TPixoralFLF::AddFilter1Click() { presetList_->addClick(); }
void TPixoralFLF::DeleteFilter1Click() { presetList_->deleteClick(); }
void TPixoralFLF::UpdateFilter1Click() { presetList_->updateClick(); }

}  // namespace pixoral::generators
