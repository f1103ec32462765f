#include "generators/TQuickCellF.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/WorkspaceHost.h"

namespace pixoral::generators {

TQuickCellF::TQuickCellF(WorkspaceHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), host_(host) {
    setObjectName(QStringLiteral("TQuickCellF"));
    setWindowTitle(QStringLiteral("Quick Cell"));
    buildControls();
    building_ = false;
}

TQuickCellF::~TQuickCellF() {
    // Nothing may reach the owner while the window's own parts go away.
    building_ = true;
    cellist->viewport()->removeEventFilter(this);
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TQuickCellF::buildControls() {
    const CellSettings defaults;
    auto redraw = [this] {
        if (!building_) DrawCells();
    };

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(8);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    cellist = new QListWidget(this);
    cellist->setObjectName(QStringLiteral("cellist"));
    cellist->setToolTip(QStringLiteral("The rule that makes each row from the one before"));
    for (const CellRule& r : cellRules()) cellist->addItem(QString::fromLatin1(r.name));
    cellist->setFixedWidth(64);
    cellist->setCurrentRow(-1);
    // A list with no current row takes its first row when it gets the focus from the keyboard
    // or the window's activation, which would draw "pat0" over the image unasked; the list
    // takes the focus from the mouse only.
    cellist->setFocusPolicy(Qt::ClickFocus);
    connect(cellist, &QListWidget::currentRowChanged, this, redraw);
    // A click on the rule already chosen changes no row but draws again all the same (with
    // "Random", a new pattern); a click that changes the row has drawn already.
    cellist->viewport()->installEventFilter(this);
    connect(cellist, &QListWidget::itemClicked, this, [this, redraw](QListWidgetItem* item) {
        if (cellist->row(item) == rowAtPress_) redraw();
    });
    outer->addWidget(cellist);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    outer->addLayout(right);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    struct SpinInfo {
        QSpinBox*& spin;
        const char* name;
        const char* label;
        const char* hint;
        int value;
    };
    const SpinInfo spins[] = {
        {Bit0, "Bit0", "B0", "The byte of the first row and of each row's first cell", defaults.b0},
        {Bit1, "Bit1", "B1", "The byte of the set bit cells and the random seeds", defaults.b1},
        {bitpos, "bitpos", "Pos", "The column of bit cell 0", defaults.position},
    };
    for (const SpinInfo& s : spins) {
        s.spin = new QSpinBox(this);
        s.spin->setObjectName(QString::fromLatin1(s.name));
        s.spin->setRange(0, kCellByteMax);
        s.spin->setValue(s.value);
        s.spin->setToolTip(QString::fromLatin1(s.hint));
        connect(s.spin, &QSpinBox::valueChanged, this, redraw);
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QString::fromLatin1(s.label), this), row, 0);
        grid->addWidget(s.spin, row, 1);
    }
    right->addLayout(grid);

    Bitlist = new QListWidget(this);
    Bitlist->setObjectName(QStringLiteral("Bitlist"));
    Bitlist->setToolTip(QStringLiteral("The bit cells of the first row that hold B1"));
    for (int j = 0; j < kCellBitCount; ++j) {
        auto* item = new QListWidgetItem(QString::number(j), Bitlist);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(defaults.bits >> j & 1 ? Qt::Checked : Qt::Unchecked);
    }
    // The eight cells side by side, bit 0 on the left.
    Bitlist->setFlow(QListView::LeftToRight);
    Bitlist->setGridSize(QSize(34, 22));
    Bitlist->setFixedSize(kCellBitCount * 34 + 2 * Bitlist->frameWidth() + 2, 26);
    Bitlist->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Bitlist->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(Bitlist, &QListWidget::itemChanged, this, redraw);
    right->addWidget(Bitlist);

    auto check = [&](QCheckBox*& box, const char* name, const char* text, const char* hint) {
        box = new QCheckBox(QString::fromLatin1(text), this);
        box->setObjectName(QString::fromLatin1(name));
        box->setToolTip(QString::fromLatin1(hint));
        connect(box, &QCheckBox::toggled, this, redraw);
        right->addWidget(box);
    };
    check(bitrandom, "bitrandom", "Random", "Up to ten more B1 cells at random columns of the first row");
    check(bitsplit, "bitsplit", "Split", "Each row of the upper half reads the mirrored row of the lower half");
    check(qcPreview, "qcPreview", "Preview", "Show the cells in the preview instead of the image");
    right->addStretch(1);
}

CellSettings TQuickCellF::settings() const {
    CellSettings s;
    s.rule = cellist->currentRow();
    s.b0 = static_cast<std::uint8_t>(Bit0->value());
    s.b1 = static_cast<std::uint8_t>(Bit1->value());
    s.position = bitpos->value();
    s.bits = 0;
    for (int j = 0; j < kCellBitCount; ++j)
        if (Bitlist->item(j)->checkState() == Qt::Checked) s.bits |= static_cast<std::uint8_t>(1u << j);
    s.random = bitrandom->isChecked();
    s.split = bitsplit->isChecked();
    return s;
}

bool TQuickCellF::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress && watched == cellist->viewport()) rowAtPress_ = cellist->currentRow();
    return QWidget::eventFilter(watched, e);
}

void TQuickCellF::DrawCells() {
    const CellSettings s = settings();
    if (s.rule < 0 || s.rule >= kCellRuleCount) return;
    Bitmap cells = host_.workspace();
    if (!drawCells(s, cells)) {
        host_.fail(QStringLiteral("There is not enough memory for the cells of a %1 x %2 image.")
                       .arg(cells.width())
                       .arg(cells.height()));
        return;
    }
    if (qcPreview->isChecked()) host_.showPreview(cells);
    else host_.replaceWorkspace(cells);
}

}  // namespace pixoral::generators
