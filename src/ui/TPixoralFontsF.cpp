#include "ui/TPixoralFontsF.h"

#include <QBrush>
#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>

#include "canvas/Fonts.h"

namespace pixoral {

namespace {

constexpr int kClientWidth = 678;
constexpr int kClientHeight = 316;
constexpr int kBandHeight = 113;
constexpr int kColumnWidth = 18;
constexpr int kCellPixels = 15;     // the grid's character size
constexpr int kPreviewPixels = 60;  // the preview label's character size
const QString kFormFont = QStringLiteral("Arial");

QFont screenFont(const QString& name, int pixels) {
    QFont f(screenFace(name));
    f.setPixelSize(pixels);
    return f;
}

// What a code shows in a font: its picture in a symbol face, else the Latin-1 character;
// 0 where there is nothing to show (no picture, or the control codes 127..159).
char32_t shownChar(const QString& font, int code) {
    if (isSymbolFace(font)) return symbolFaceChar(font, code);
    return code >= 127 && code < 160 ? 0 : char32_t(code);
}

}  // namespace

QString initialSymbolFont(const QStringList& fonts, const QString& ownFont) {
    for (const char* wanted : {"Webdings", "Wingdings"})
        if (fonts.contains(QLatin1String(wanted), Qt::CaseInsensitive)) return QString::fromLatin1(wanted);
    return ownFont;
}

QString symbolPickerCaption(const QString& fontName) { return QStringLiteral("Pixoral Fonts - ") + fontName; }

TPixoralFontsF::TPixoralFontsF(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TPixoralFontsF"));
    setFont(QFont(screenFace(kFormFont)));
    setFixedSize(kClientWidth, kClientHeight);

    auto* Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Raised);
    Bevel1->setGeometry(0, 0, kClientWidth, kBandHeight);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(16, 8, 209, 24);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(248, 16, 220, kBandHeight - 24);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto speedButton = [this](const char* name, const char* caption, const char* color, int left) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(QString::fromLatin1(caption));
        b->setAutoRaise(true);
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
        if (color) b->setStyleSheet(QStringLiteral("color: %1").arg(QLatin1String(color)));
        b->setGeometry(left, 40, 80, 28);
        return b;
    };
    Use = speedButton("Use", "Use", "red", 496);
    Cancel = speedButton("Cancel", "Cancel", nullptr, 584);
    connect(Use, &QToolButton::clicked, this, &QDialog::accept);
    connect(Cancel, &QToolButton::clicked, this, &QDialog::reject);

    fontgrid = new QTableWidget(kSymbolRows, kSymbolColumns, this);
    fontgrid->setObjectName(QStringLiteral("fontgrid"));
    fontgrid->setGeometry(0, kBandHeight, kClientWidth, kClientHeight - kBandHeight);
    fontgrid->horizontalHeader()->hide();
    fontgrid->verticalHeader()->hide();
    fontgrid->horizontalHeader()->setMinimumSectionSize(kColumnWidth);
    fontgrid->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    fontgrid->verticalHeader()->setDefaultSectionSize((kClientHeight - kBandHeight - 2) / kSymbolRows);
    fontgrid->setShowGrid(true);
    // Pictures wider than a column are clipped, never elided to nothing.
    fontgrid->setTextElideMode(Qt::ElideNone);
    fontgrid->setWordWrap(false);
    fontgrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fontgrid->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(fontgrid, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column >= 0) selectCell(column, row);
    });

    const QStringList fonts = screenFontNames();
    ComboBox1->addItems(fonts);
    const QString first = initialSymbolFont(fonts, kFormFont);
    if (ComboBox1->findText(first) < 0) ComboBox1->addItem(first);
    ComboBox1->setCurrentIndex(ComboBox1->findText(first));
    chooseFont(first);
    connect(ComboBox1, &QComboBox::currentTextChanged, this, &TPixoralFontsF::chooseFont);
    showPreview();
}

void TPixoralFontsF::chooseFont(const QString& name) {
    gridFont_ = name;
    setWindowTitle(symbolPickerCaption(name));
    fontgrid->setFont(screenFont(name, kCellPixels));
    fillGrid();
}

bool TPixoralFontsF::hasGlyph(int code) const {
    const char32_t c = shownChar(gridFont_, code);
    return c != 0 && QFontMetrics(screenFont(gridFont_, kCellPixels)).inFontUcs4(c);
}

// A cell whose code the font has no picture for is greyed and left empty, so a blank or a
// fallback glyph from another face is never mistaken for one of this font's characters.
void TPixoralFontsF::fillGrid() {
    const QBrush none(QColor(0xC0, 0xC0, 0xC0));
    for (int r = 0; r < kSymbolRows; ++r)
        for (int c = 0; c < kSymbolColumns; ++c) {
            const int code = symbolCode(c, r);
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            item->setToolTip(QString::number(code));
            if (hasGlyph(code)) {
                const char32_t ch = shownChar(gridFont_, code);
                item->setText(QString::fromUcs4(&ch, 1));
            } else {
                item->setBackground(none);
            }
            fontgrid->setItem(r, c, item);
        }
}

void TPixoralFontsF::selectCell(int column, int row) {
    if (column < 0 || column >= kSymbolColumns || row < 0 || row >= kSymbolRows) return;
    previewFont_ = gridFont_;
    previewCaption_ = QString(QChar(symbolCode(column, row)));
    if (fontgrid->currentRow() != row || fontgrid->currentColumn() != column) fontgrid->setCurrentCell(row, column);
    showPreview();
}

void TPixoralFontsF::showPreview() {
    Label1->setFont(screenFont(previewFont_, kPreviewPixels));
    Label1->setText(screenText(previewFont_, previewCaption_));
}

}  // namespace pixoral
