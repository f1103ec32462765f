#pragma once
// The symbol picker: the 224 characters (codes 32..255) of a font in a grid of 7 rows of 32,
// from which one is chosen for a caption. Shown modally through Dialogs::pickSymbol.
#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QTableWidget;
class QToolButton;

namespace pixoral {

inline constexpr int kSymbolColumns = 32;
inline constexpr int kSymbolRows = 7;
// The character code of a grid cell: row 0 starts at 32, the last cell (31, 6) is 255.
constexpr int symbolCode(int column, int row) { return (row + 1) * kSymbolColumns + column; }
// The font the picker opens on: "Webdings" when listed, else "Wingdings", else `ownFont`.
QString initialSymbolFont(const QStringList& fonts, const QString& ownFont);
// The window caption for a font.
QString symbolPickerCaption(const QString& fontName);

class TPixoralFontsF : public QDialog {
    Q_OBJECT
public:
    explicit TPixoralFontsF(QWidget* parent = nullptr);

    // The font the grid shows, as the combo box's change sets it.
    void chooseFont(const QString& name);
    QString gridFontName() const { return gridFont_; }
    // A cell picked: the preview takes the grid's font and that character.
    void selectCell(int column, int row);
    // What "Use" hands back: the preview's font name and character.
    QString previewFontName() const { return previewFont_; }
    QString previewCaption() const { return previewCaption_; }
    // True when the grid's font has a picture for the code (cells without one are greyed).
    bool hasGlyph(int code) const;

    QComboBox* ComboBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QToolButton* Use = nullptr;
    QToolButton* Cancel = nullptr;
    QTableWidget* fontgrid = nullptr;

private:
    void fillGrid();
    void showPreview();

    QString gridFont_;
    QString previewFont_ = QStringLiteral("Arial");
    QString previewCaption_ = QStringLiteral("F");
};

}  // namespace pixoral
