#include "script/TPixoralScriptF.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

#include "script/TScriptMemo.h"
#include "ui/WorkspaceHost.h"

namespace pixoral::script {

namespace {

const QString kScriptFilter = QStringLiteral("Pixoral Script Files|*.qvs");
const QString kScriptExtension = QStringLiteral("qvs");
const QString kNameCaption = QStringLiteral("Pixoral Script");
const QString kNamePrompt = QStringLiteral("Enter Tag Name");
const QString kNameHasEquals = QStringLiteral("A script name cannot contain \"=\".");
const QString kNameNotOneLine = QStringLiteral("A script name must fit on one line.");
const QString kScriptNotStorable =
    QStringLiteral("This script cannot be stored in the library: it holds \"~~\", or a line ending in \"~\", "
                   "which the library would read back as a line break.");
const QString kNotFound = QStringLiteral("\"%1\" not found");
// Scripts are typed by hand; a file far larger than any script is not one.
constexpr qint64 kMaxScriptBytes = 16 * 1024 * 1024;
const QColor kLibraryBackground(0xC0, 0xDC, 0xC0);
constexpr int kLibraryWidth = 178;
constexpr int kLibraryRowHeight = 16;

QString quotedName(const QString& path) { return QLatin1Char('"') + QFileInfo(path).fileName() + QLatin1Char('"'); }

// A script file's text with its line ends as the editor keeps them; nothing (and `why`) for a
// file that cannot be read or is not text.
std::optional<QString> readScriptFile(const QString& path, QString& why) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        why = f.errorString();
        return std::nullopt;
    }
    if (f.size() > kMaxScriptBytes) {
        why = QStringLiteral("the file is too large for a script");
        return std::nullopt;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        why = f.errorString();
        return std::nullopt;
    }
    if (bytes.contains('\0')) {
        why = QStringLiteral("it is not a text file");
        return std::nullopt;
    }
    // UTF-8 as this program writes it; older scripts in a single-byte encoding still open.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);
    return text;
}

}  // namespace

TPixoralScriptF::TPixoralScriptF(WorkspaceHost& host, Runner run, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), host_(host), run_(std::move(run)),
      library_(libraryPath(host.programFolder()), kLibraryKind) {
    setObjectName(QStringLiteral("TPixoralScriptF"));
    setWindowTitle(QStringLiteral("PixoralScript"));
    resize(611, 158);
    buildControls();

    QString error;
    if (!library_.load(&error)) host_.dialogs().message(error);
    else if (!library_.problems().isEmpty()) host_.dialogs().message(library_.problemsMessage());
    refreshLibrary(-1);
}

void TPixoralScriptF::buildControls() {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* left = new QVBoxLayout;
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    outer->addLayout(left, 1);

    script = new TScriptMemo(this);
    script->setObjectName(QStringLiteral("script"));
    left->addWidget(script, 1);

    findBar_ = new QWidget(this);
    findBar_->setObjectName(QStringLiteral("FindBar"));
    auto* find = new QHBoxLayout(findBar_);
    find->setContentsMargins(2, 2, 2, 2);
    find->setSpacing(4);
    find->addWidget(new QLabel(QStringLiteral("Find:"), findBar_));
    FindText = new QLineEdit(findBar_);
    FindText->setObjectName(QStringLiteral("FindText"));
    FindText->setToolTip(QStringLiteral("Enter: next, Shift+Enter: previous, Escape: close"));
    FindText->installEventFilter(this);
    find->addWidget(FindText, 1);
    auto* close = new QToolButton(findBar_);
    close->setObjectName(QStringLiteral("FindClose"));
    close->setText(QStringLiteral("x"));
    close->setAutoRaise(true);
    connect(close, &QToolButton::clicked, this, [this] {
        findBar_->hide();
        script->setFocus();
    });
    find->addWidget(close);
    findBar_->hide();
    left->addWidget(findBar_);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("ScriptStatus"));
    status_->setFrameShape(QFrame::Panel);
    status_->setFrameShadow(QFrame::Sunken);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    left->addWidget(status_);
    // Where the caret is, until a run has something to say.
    connect(script, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        const QTextCursor c = script->textCursor();
        status_->setToolTip(QStringLiteral("Line %1, column %2").arg(c.blockNumber() + 1).arg(c.positionInBlock() + 1));
    });

    ScriptLib = new QListWidget(this);
    ScriptLib->setObjectName(QStringLiteral("ScriptLib"));
    ScriptLib->setFixedWidth(kLibraryWidth);
    ScriptLib->setUniformItemSizes(true);
    ScriptLib->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScriptLib->setToolTip(QStringLiteral("Script library\nDouble-click to insert at the caret"));
    QPalette pal = ScriptLib->palette();
    pal.setColor(QPalette::Base, kLibraryBackground);
    ScriptLib->setPalette(pal);
    connect(ScriptLib, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { ScriptLibDblClick(); });
    outer->addWidget(ScriptLib);

    // The keys of the editor (F9, Shift+F9 and find) are claimed by the text area and the
    // find box before any shortcut, so they act here whichever window's keys are active.
    script->installEventFilter(this);
}

// ---------------------------------------------------------------- text, status, recorder

QString TPixoralScriptF::text() const { return script->toPlainText(); }

void TPixoralScriptF::setText(const QString& text) {
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // As one edit, so Undo brings the text before back.
    QTextCursor c(script->document());
    c.select(QTextCursor::Document);
    c.insertText(lines);
    c.movePosition(QTextCursor::Start);
    script->setTextCursor(c);
}

QString TPixoralScriptF::statusText() const { return status_->text(); }

void TPixoralScriptF::setStatus(const QString& text) { status_->setText(text); }

bool TPixoralScriptF::textAreaVisible() const { return !script->isHidden(); }

void TPixoralScriptF::insertAtCaret(const QString& text, bool focus) {
    QTextCursor c = script->textCursor();
    c.insertText(text);
    script->setTextCursor(c);
    if (!focus) return;
    if (onShowRequest) onShowRequest();
    script->setFocus();
}

// ---------------------------------------------------------------- files

void TPixoralScriptF::Open2Click() {
    const auto path = host_.dialogs().openFile(QStringLiteral("Open"), kScriptFilter);
    if (!path) return;
    QString why;
    const auto text = readScriptFile(*path, why);
    if (!text) {
        host_.fail(QStringLiteral("Cannot open %1: %2").arg(quotedName(*path), why));
        return;
    }
    setText(*text);
    setStatus(QFileInfo(*path).fileName());
}

void TPixoralScriptF::SaveAs2Click() {
    const auto answer = host_.dialogs().saveFile(QStringLiteral("Save As"), kScriptFilter);
    if (!answer) return;
    QString path = *answer;
    if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + kScriptExtension;
    QSaveFile f(path);
    const QByteArray bytes = text().toUtf8();
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        host_.fail(QStringLiteral("Cannot write %1: %2").arg(quotedName(path), f.errorString()));
        return;
    }
    setStatus(QFileInfo(path).fileName());
}

// ---------------------------------------------------------------- runs

void TPixoralScriptF::Run1Click() {
    const QString editorText = text();
    const TTurtle::RunResult r = run_(runTextOf(editorText));
    setStatus(r.message);
    if (!runFailed(r)) return;
    const RunCaret caret = runErrorCaret(editorText, r);
    QTextCursor c = script->textCursor();
    c.setPosition(caret.anchor);
    c.setPosition(caret.position, QTextCursor::KeepAnchor);
    script->setTextCursor(c);
    if (onShowRequest) onShowRequest();
    script->setFocus();
}

void TPixoralScriptF::RunItem1Click() {
    const int i = selectedEntry();
    if (i < 0) return;
    run_(scriptOfEntry(library_.value(i), QStringLiteral("\r\n")));
}

// ---------------------------------------------------------------- the library

int TPixoralScriptF::selectedEntry() const {
    const QListWidgetItem* it = ScriptLib->currentItem();
    return it && it->isSelected() ? ScriptLib->row(it) : -1;
}

void TPixoralScriptF::refreshLibrary(int select) {
    ScriptLib->clear();
    for (int i = 0; i < library_.count(); ++i) {
        auto* it = new QListWidgetItem(library_.name(i), ScriptLib);
        it->setSizeHint(QSize(0, kLibraryRowHeight));
        it->setToolTip(scriptOfEntry(library_.value(i)).left(400));
    }
    if (select >= 0 && select < ScriptLib->count()) {
        ScriptLib->setCurrentRow(select);
        ScriptLib->scrollToItem(ScriptLib->item(select));
    }
}

void TPixoralScriptF::report(const PresetFile::Edit& e) {
    using O = PresetFile::Outcome;
    switch (e.outcome) {
        case O::Done:
            if (!e.writeError.isEmpty()) host_.fail(e.writeError);
            break;
        case O::NameHasEquals: host_.fail(kNameHasEquals); break;
        case O::NameNotOneLine: host_.fail(kNameNotOneLine); break;
        case O::ValueNotOneLine: host_.fail(kScriptNotStorable); break;
        case O::EmptyName:  // the user changed their mind
        case O::Duplicate:  // the library allows the same name twice
        case O::NoSuchEntry: break;
    }
}

void TPixoralScriptF::Add1Click() {
    const QString selected = script->selectedScript();
    if (selected.isEmpty()) return;
    const QString name = host_.dialogs().inputBox(kNameCaption, kNamePrompt, QString());
    if (name.trimmed().isEmpty()) return;
    const auto value = entryOfScript(selected);
    if (!value) {
        host_.fail(kScriptNotStorable);
        return;
    }
    const PresetFile::Edit e = library_.add(name, *value);
    if (e.changed()) refreshLibrary(e.index);
    report(e);
}

void TPixoralScriptF::Delete1Click() {
    const int i = selectedEntry();
    if (i < 0) return;
    const PresetFile::Edit e = library_.remove(i);
    // Nothing stays selected, so a second Delete cannot take another entry unasked.
    if (e.changed()) refreshLibrary(-1);
    report(e);
}

void TPixoralScriptF::Update2Click() {
    const QString selected = script->selectedScript();
    const int i = selectedEntry();
    if (selected.isEmpty() || i < 0) return;
    // A cancelled prompt answers the old name, so the entry is still updated.
    const QString name = host_.dialogs().inputBox(kNameCaption, kNamePrompt, library_.name(i));
    if (name.trimmed().isEmpty()) return;
    const auto value = entryOfScript(selected);
    if (!value) {
        host_.fail(kScriptNotStorable);
        return;
    }
    const PresetFile::Edit e = library_.update(i, name, *value);
    if (e.changed()) refreshLibrary(e.index);
    report(e);
}

void TPixoralScriptF::ScriptLibDblClick() {
    const int i = selectedEntry();
    if (i < 0) return;
    insertAtCaret(scriptOfEntry(library_.value(i)), false);
    script->setFocus();
}

// ---------------------------------------------------------------- clipboard

void TPixoralScriptF::SelectAll1Click() { script->selectAll(); }
void TPixoralScriptF::Cut1Click() { script->cut(); }
void TPixoralScriptF::Copy3Click() { script->copy(); }
void TPixoralScriptF::Paste2Click() { script->paste(); }

// ---------------------------------------------------------------- find

void TPixoralScriptF::showFind() {
    findBar_->show();
    const QString selected = script->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) FindText->setText(selected);
    FindText->selectAll();
    FindText->setFocus();
}

bool TPixoralScriptF::findNext(bool backwards) {
    const QString what = FindText->text();
    if (what.isEmpty()) return false;
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = script->document()->find(what, script->textCursor(), flags);
    if (found.isNull()) {
        QTextCursor from(script->document());
        if (backwards) from.movePosition(QTextCursor::End);
        found = script->document()->find(what, from, flags);
    }
    if (found.isNull()) {
        setStatus(kNotFound.arg(what));
        return false;
    }
    script->setTextCursor(found);
    setStatus(QString());
    return true;
}

bool TPixoralScriptF::eventFilter(QObject* watched, QEvent* e) {
    if (watched != script && watched != FindText) return QWidget::eventFilter(watched, e);
    if (e->type() != QEvent::ShortcutOverride && e->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, e);
    auto* k = static_cast<QKeyEvent*>(e);
    const bool enter = watched == FindText && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter);
    const bool escape = watched == FindText && k->key() == Qt::Key_Escape;
    const bool find = k->matches(QKeySequence::Find), next = k->matches(QKeySequence::FindNext),
               previous = k->matches(QKeySequence::FindPrevious);
    const bool run = k->key() == Qt::Key_F9 && (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool runItem = k->key() == Qt::Key_F9 && (k->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
    if (!(enter || escape || find || next || previous || run || runItem)) return QWidget::eventFilter(watched, e);
    if (e->type() == QEvent::ShortcutOverride) {
        e->accept();  // the key press comes here, not to a shortcut
        return true;
    }
    if (run) Run1Click();
    else if (runItem) RunItem1Click();
    else if (find) showFind();
    else if (next || previous) findNext(previous);
    else if (enter) findNext(k->modifiers() & Qt::ShiftModifier);
    else {
        findBar_->hide();
        script->setFocus();
    }
    return true;
}

}  // namespace pixoral::script
