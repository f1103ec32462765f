// The symbol picker: its cells, the font it opens on, and what Use hands back; the scripted
// twin's answers.
#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

#include "canvas/Fonts.h"
#include "ui/Dialogs.h"
#include "ui/TPixoralFontsF.h"

using namespace pixoral;

TEST(SymbolPicker, CellCodesAndTheFontItOpensOn) {
    EXPECT_EQ(symbolCode(0, 0), 32);
    EXPECT_EQ(symbolCode(31, 6), 255);
    struct Case {
        QStringList fonts;
        const char* opens;
    };
    const Case cases[] = {
        {{"Arial", "Webdings", "Wingdings"}, "Webdings"},
        {{"Arial", "wingdings", "Symbol"}, "Wingdings"},
        {{"Arial", "Symbol"}, "Arial"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(initialSymbolFont(c.fonts, "Arial"), c.opens) << c.fonts.join(',').toStdString();
    }
    EXPECT_EQ(symbolPickerCaption("Wingdings"), "Pixoral Fonts - Wingdings");
}

TEST(SymbolPicker, OpensOnWingdingsAndUseHandsBackTheCell) {
    TPixoralFontsF f;
    EXPECT_EQ(f.windowTitle(), "Pixoral Fonts - Wingdings");
    EXPECT_EQ(f.previewFontName(), "Arial");
    EXPECT_EQ(f.previewCaption(), "F");
    EXPECT_TRUE(f.hasGlyph(symbolCode(10, 1)));  // 'J', the smile
    EXPECT_FALSE(f.hasGlyph(255));               // no picture: the cell is greyed
    f.selectCell(10, 1);
    EXPECT_EQ(f.previewFontName(), "Wingdings");
    EXPECT_EQ(f.previewCaption(), "J");
    EXPECT_EQ(f.Label1->text(), screenText("Wingdings", "J"));
    f.ComboBox1->setCurrentText("Symbol");
    EXPECT_EQ(f.windowTitle(), "Pixoral Fonts - Symbol");
    EXPECT_EQ(f.previewFontName(), "Wingdings");  // the preview changes only with a cell
    f.Cancel->click();
    EXPECT_EQ(f.result(), QDialog::Rejected);
    f.Use->click();
    EXPECT_EQ(f.result(), QDialog::Accepted);
}

TEST(SymbolPicker, ScriptedAnswers) {
    ScriptedDialogs d;
    QString font = "Arial", text = "x";
    d.pushAnswer("Wingdings,J,K");
    EXPECT_TRUE(d.pickSymbol(font, text));
    EXPECT_EQ(font, "Wingdings");
    EXPECT_EQ(text, "J,K");
    for (const char* refused : {":cancel", "no comma", ",J"}) {
        d.pushAnswer(refused);
        EXPECT_FALSE(d.pickSymbol(font, text)) << refused;
        EXPECT_EQ(font, "Wingdings");
    }
    EXPECT_FALSE(d.failure().isEmpty());  // the malformed answers are reported
}
