#include "script/TScriptMemo.h"

#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QTextBlock>
#include <vector>

#include "script/TurtleWords.h"

namespace pixoral::script {

namespace {

const QColor kBlack(0, 0, 0);
const QColor kFuchsia(255, 0, 255);
const QColor kMaroon(128, 0, 0);

// The words of the keyword table that are drawn plain: the comment opener (its comment is
// coloured instead), the arithmetic signs and the two control words that read as operators.
constexpr const char* kPlainKeywords[] = {"{", "+", "-", "*", "/", "if", "=loop"};

const QHash<QString, KeywordStyle>& keywordStyles() {
    static const QHash<QString, KeywordStyle> styles = [] {
        QHash<QString, KeywordStyle> h;
        for (const char* word : turtle::kKeywordNames) {
            const QString w = QString::fromLatin1(word);
            if (std::find_if(std::begin(kPlainKeywords), std::end(kPlainKeywords),
                             [&w](const char* p) { return w == QLatin1String(p); }) != std::end(kPlainKeywords))
                continue;
            QColor c = kBlack;
            if (w == QLatin1String("do") || w == QLatin1String("loop")) c = kFuchsia;
            else if (w == QLatin1String("[") || w == QLatin1String("]")) c = kMaroon;
            h.insert(w.toLower(), KeywordStyle{c});
        }
        return h;
    }();
    return styles;
}

enum BlockState { Plain = 0, InComment = 1, InQuote = 2 };

}  // namespace

const QColor ScriptHighlighter::kCommentColor(0, 0, 255);
const QColor ScriptHighlighter::kQuoteColor(0, 128, 0);

const KeywordStyle* keywordStyle(QStringView word) {
    const auto& styles = keywordStyles();
    const auto it = styles.constFind(word.toString().toLower());
    return it == styles.constEnd() ? nullptr : &it.value();
}

int colouredKeywordCount() { return static_cast<int>(keywordStyles().size()); }

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void ScriptHighlighter::highlightBlock(const QString& text) {
    QTextCharFormat comment, quote;
    comment.setForeground(kCommentColor);
    quote.setForeground(kQuoteColor);

    // Comments and quoted texts, left to right, carried over line ends by the block state.
    const int n = static_cast<int>(text.size());
    std::vector<char> inComment(static_cast<size_t>(n), 0);
    int state = std::max(previousBlockState(), 0);
    // A span from `from` to its closing character, searched for from `searchFrom`.
    auto span = [&](int from, int searchFrom) {
        const QChar close = state == InComment ? QLatin1Char('}') : QLatin1Char('"');
        const int end = static_cast<int>(text.indexOf(close, searchFrom));
        const int stop = end < 0 ? n : end + 1;
        setFormat(from, stop - from, state == InComment ? comment : quote);
        if (state == InComment) std::fill(inComment.begin() + from, inComment.begin() + stop, 1);
        if (end >= 0) state = Plain;
        return stop;
    };
    int i = state == Plain ? 0 : span(0, 0);
    while (i < n) {
        if (text[i] == QLatin1Char('{')) state = InComment;
        else if (text[i] == QLatin1Char('"')) state = InQuote;
        else {
            ++i;
            continue;
        }
        i = span(i, i + 1);
    }
    setCurrentBlockState(state);

    // Keywords: whole words outside comments.
    for (int s = 0; s < n;) {
        if (text[s].isSpace()) {
            ++s;
            continue;
        }
        int e = s;
        while (e < n && !text[e].isSpace()) ++e;
        if (!inComment[static_cast<size_t>(s)]) {
            if (const KeywordStyle* k = keywordStyle(QStringView(text).mid(s, e - s))) {
                QTextCharFormat f;
                f.setForeground(k->color);
                f.setFontWeight(QFont::Bold);
                setFormat(s, e - s, f);
            }
        }
        s = e;
    }
}

// ---------------------------------------------------------------- the text area

class LineNumberArea : public QWidget {
public:
    explicit LineNumberArea(TScriptMemo* memo) : QWidget(memo), memo_(memo) {}
    QSize sizeHint() const override { return {memo_->lineNumberWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* e) override { memo_->paintLineNumbers(e); }

private:
    TScriptMemo* memo_;
};

TScriptMemo::TScriptMemo(QWidget* parent) : QPlainTextEdit(parent) {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    if (!QFontInfo(f).fixedPitch()) f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
    new ScriptHighlighter(document());

    gutter_ = new LineNumberArea(this);
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(lineNumberWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &TScriptMemo::updateGutter);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &TScriptMemo::shadeCurrentLine);
    setViewportMargins(lineNumberWidth(), 0, 0, 0);
    shadeCurrentLine();
}

int TScriptMemo::lineNumberWidth() const {
    int digits = 1;
    for (int max = std::max(1, blockCount()); max >= 10; max /= 10) ++digits;
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 2);
}

QString TScriptMemo::selectedScript() const {
    QString s = textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    s.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return s;
}

void TScriptMemo::resizeEvent(QResizeEvent* e) {
    QPlainTextEdit::resizeEvent(e);
    const QRect cr = contentsRect();
    gutter_->setGeometry(QRect(cr.left(), cr.top(), lineNumberWidth(), cr.height()));
}

void TScriptMemo::updateGutter(const QRect& rect, int dy) {
    if (dy) gutter_->scroll(0, dy);
    else gutter_->update(0, rect.y(), gutter_->width(), rect.height());
}

void TScriptMemo::paintLineNumbers(QPaintEvent* e) {
    QPainter p(gutter_);
    p.fillRect(e->rect(), QColor(236, 236, 236));
    p.setPen(QColor(128, 128, 128));
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int lineHeight = fontMetrics().height();
    while (block.isValid() && top <= e->rect().bottom()) {
        if (block.isVisible())
            p.drawText(0, top, gutter_->width() - 4, lineHeight, Qt::AlignRight, QString::number(block.blockNumber() + 1));
        top += qRound(blockBoundingRect(block).height());
        block = block.next();
    }
}

void TScriptMemo::shadeCurrentLine() {
    QTextEdit::ExtraSelection line;
    line.format.setBackground(QColor(255, 250, 220));
    line.format.setProperty(QTextFormat::FullWidthSelection, true);
    line.cursor = textCursor();
    line.cursor.clearSelection();
    setExtraSelections({line});
}

}  // namespace pixoral::script
