#pragma once
// The script editor's text area: plain text in a fixed-pitch font, coloured as the turtle
// reads it, with line numbers in a gutter and the caret's line shaded. Undo and redo, the
// clipboard keys and Tab inserting a tab are the text edit's own.
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace pixoral::script {

// How a word of the language is drawn in the editor: every keyword of the interpreter but
// "{", "+", "-", "*", "/", "if" and "=loop" is bold, "do" and "loop" fuchsia, "[" and "]"
// maroon, the rest black. Letter case is ignored. Nothing for any other word.
struct KeywordStyle {
    QColor color;
};
const KeywordStyle* keywordStyle(QStringView word);
// How many words keywordStyle() colours.
int colouredKeywordCount();

// Colours a script: text from "{" to the next "}" blue, the keywords as keywordStyle() says,
// text between double quotes green (a keyword standing alone inside one stays bold). A
// comment or a quoted text may run over several lines; a "{" inside quotes and a quote inside
// a comment are just text, as the interpreter reads them.
class ScriptHighlighter : public QSyntaxHighlighter {
public:
    explicit ScriptHighlighter(QTextDocument* document);

    static const QColor kCommentColor;
    static const QColor kQuoteColor;

protected:
    void highlightBlock(const QString& text) override;
};

class TScriptMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TScriptMemo(QWidget* parent = nullptr);

    int lineNumberWidth() const;
    // The text with its line breaks as '\n' (a selection's paragraph marks included).
    QString selectedScript() const;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    friend class LineNumberArea;
    void paintLineNumbers(QPaintEvent* e);
    void updateGutter(const QRect& rect, int dy);
    void shadeCurrentLine();

    QWidget* gutter_ = nullptr;
};

}  // namespace pixoral::script
