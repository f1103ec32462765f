// The script editor as the main window drives it: Script > Run and its caret, the library
// commands with their prompt, a bad library file at start, the keys, Escape and the colouring.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <functional>

#include "WindowFixture.h"
#include "script/TPixoralScriptF.h"
#include "script/TScriptMemo.h"
#include "workspace/SecondaryWindows.h"

using namespace pixoral;
using script::TPixoralScriptF;

namespace {

struct Editor : TestWindow {
    // The library file is written into the program folder first when `library` is not null.
    explicit Editor(const QByteArray& library = {})
        : TestWindow({true, true, [library](const QString& folder) {
                          if (!library.isNull()) writeAll(folder + "PixoralLib.tip", library);
                      }}) {}
    TPixoralScriptF& e() { return *w->windows().scriptEditor(); }
    QString libraryFile() { return QString::fromUtf8(readAll(dir.filePath("PixoralLib.tip"))); }
    QStringList listed() {
        QStringList out;
        for (int i = 0; i < e().libraryList()->count(); ++i) out << e().libraryList()->item(i)->text();
        return out;
    }
    void selectText(int from, int to) {
        QTextCursor c = e().memo()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        e().memo()->setTextCursor(c);
    }
    void selectEntry(int row) { e().libraryList()->setCurrentRow(row); }
};

}  // namespace

TEST(ScriptEditor, RunShowsTheMessageAndSelectsTheFailingWord) {
    struct Case {
        const char* text;
        const char* message;  // nullptr: none shown
        int anchor, caret;
    };
    const Case cases[] = {
        {"go 10\ngo abc", "invalid integer in go", 9, 12},
        {"go abc go 5", "invalid integer in go", 3, 7},
        {"down go 10", nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        Editor f;
        f.e().setText(c.text);
        f.run("Script>Run");
        const QTextCursor cur = f.e().memo()->textCursor();
        if (!c.message) {
            EXPECT_TRUE(f.dialogs->messages().isEmpty()) << c.text;
            EXPECT_EQ(f.e().statusText(), "ready");
            EXPECT_EQ(countPixels(f.w->workspace(), clBlack), 10);
            EXPECT_FALSE(f.e().isVisible());
            continue;
        }
        EXPECT_EQ(f.dialogs->messages(), QStringList{c.message}) << c.text;
        EXPECT_EQ(f.e().statusText(), c.message);
        EXPECT_EQ(cur.anchor(), c.anchor) << c.text;
        EXPECT_EQ(cur.position(), c.caret) << c.text;
        EXPECT_TRUE(f.e().isVisible()) << "shown to take the focus";
    }
}

TEST(ScriptEditor, LibraryCommandsAskForANameAndRewriteTheFile) {
    Editor f("zig=go 1\r\n");
    f.e().setText("pos 10 10\ngo 5");
    f.run("Script>Add");  // nothing selected: no prompt, no change
    f.run("Script>Update");
    f.selectText(0, 14);
    f.run("Script>Add", {"walk"});
    EXPECT_EQ(f.libraryFile(), "walk=pos 10 10~~go 5\r\nzig=go 1\r\n");
    EXPECT_EQ(f.listed(), (QStringList{"walk", "zig"}));

    // A double-click on "walk" puts its two lines back at the caret.
    f.e().setText("X");
    f.selectText(0, 1);  // replaced
    f.selectEntry(0);
    f.e().ScriptLibDblClick();
    EXPECT_EQ(f.e().text(), "pos 10 10\ngo 5");

    // Cancelling the name prompt of Update keeps the old name and still replaces the script.
    f.e().setText("go 7");
    f.selectText(0, 4);
    f.selectEntry(1);
    f.run("Script>Update", {":cancel"});
    EXPECT_EQ(f.libraryFile(), "walk=pos 10 10~~go 5\r\nzig=go 7\r\n");
    f.run("Script>Add", {"a=b"});  // refused, with a message
    EXPECT_EQ(f.dialogs->messages(), QStringList{"A script name cannot contain \"=\"."});

    f.selectEntry(0);
    f.run("Script>Run Item");
    EXPECT_EQ(f.w->Turtle.posX(), 15);
    f.selectEntry(0);
    f.run("Script>Delete");
    EXPECT_EQ(f.libraryFile(), "zig=go 7\r\n");
    EXPECT_EQ(f.e().libraryList()->currentRow(), -1);
}

TEST(ScriptEditor, ABadLibraryIsReportedWithItsGoodEntriesListed) {
    const QByteArray file("b=go 2\r\nbad\x01=1\r\na=go 1\r\ncut=go");
    Editor f(file);
    ASSERT_EQ(f.dialogs->messages().size(), 1);
    EXPECT_TRUE(f.dialogs->messages()[0].contains("line 2 (not text)"));
    EXPECT_TRUE(f.dialogs->messages()[0].contains("line 4 (no line end"));
    EXPECT_EQ(f.listed(), (QStringList{"a", "b"}));
    EXPECT_EQ(readAll(f.dir.filePath("PixoralLib.tip")), file);
}

TEST(ScriptEditor, KeysBelongToTheEditorOrToTheImage) {
    Editor f;
    auto keys = [&](const char* path) { return f.w->actionForPath(path)->shortcuts(); };
    EXPECT_EQ(keys("Script>Run"), QList<QKeySequence>{QKeySequence(Qt::Key_F9)});
    EXPECT_EQ(keys("Script>Run Item"), QList<QKeySequence>{QKeySequence(Qt::SHIFT | Qt::Key_F9)});
    EXPECT_EQ(keys("Range>Select All"), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_A)});
    for (const char* path : {"Script>Select All", "Script>Cut", "Script>Copy", "Script>Paste"}) {
        EXPECT_TRUE(keys(path).isEmpty()) << path;
        EXPECT_TRUE(f.w->actionForPath(path)->text().contains("\tCtrl+")) << path;
    }
    f.e().setText("go 1");
    f.run("Script>Select All");
    EXPECT_EQ(f.e().memo()->selectedScript(), "go 1");

    // Escape stops a script that would run for a long time; what it drew stays.
    f.w->setScriptMaxSteps(50'000'000);
    f.e().setText("down do 2000000000 go 1 right 1 loop");
    QCoreApplication::postEvent(f.e().memo(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    f.e().Run1Click();
    EXPECT_EQ(f.e().statusText(), "script interrupted");
    EXPECT_LT(f.w->Turtle.stepsRun(), 50'000'000) << "stopped by the key, not by the step limit";
    EXPECT_GT(countPixels(f.w->workspace(), clBlack), 0);
}

TEST(ScriptEditor, TheTextIsColouredAsTheInterpreterReadsIt) {
    EXPECT_EQ(script::colouredKeywordCount(), 95);
    Editor f;
    f.e().setText("{ note \"x\" } DO 3 [ p go 10 ] \"a go\" if 5 loop ");
    QCoreApplication::processEvents();
    struct Case {
        const char* word;
        QColor color;
        bool bold;
    };
    const Case cases[] = {
        {"note", QColor(0, 0, 255), false},   {"DO", QColor(255, 0, 255), true}, {"3", QColor(), false},
        {"[", QColor(128, 0, 0), true},      {"go", QColor(0, 0, 0), true},     {"\"a", QColor(0, 128, 0), false},
        {"if", QColor(), false},             {"loop", QColor(255, 0, 255), true},
    };
    const QTextBlock block = f.e().memo()->document()->firstBlock();
    const QString text = block.text();
    for (const Case& c : cases) {
        const int at = static_cast<int>(text.indexOf(QString::fromLatin1(c.word) + ' '));
        QTextCharFormat got;
        for (const QTextLayout::FormatRange& r : block.layout()->formats())
            if (r.start <= at && at < r.start + r.length) got = r.format;
        if (c.color.isValid()) {
            EXPECT_EQ(got.foreground().color(), c.color) << c.word;
        } else {
            EXPECT_EQ(got.foreground().style(), Qt::NoBrush) << c.word;
        }
        EXPECT_EQ(got.fontWeight() == QFont::Bold, c.bold) << c.word;
    }
}

TEST(ScriptEditor, TheTextAreaKeepsItsKeysAndRunsWithF9) {
    Editor f;
    f.w->windows().showScriptEditor();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.e()));
    f.e().setText("down go 10");
    const Rect range = f.w->rangeState().range;
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        std::function<bool()> done;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::ControlModifier, [&] { return f.e().memo()->selectedScript() == "down go 10"; }},
        {Qt::Key_X, Qt::ControlModifier, [&] { return f.e().text().isEmpty(); }},
        {Qt::Key_Z, Qt::ControlModifier, [&] { return f.e().text() == "down go 10"; }},
        {Qt::Key_F9, Qt::NoModifier, [&] { return countPixels(f.w->workspace(), clBlack) == 10; }},
        {Qt::Key_F, Qt::ControlModifier, [&] { return f.e().findChild<QWidget*>("FindBar")->isVisible(); }},
    };
    for (const Case& c : cases) {
        QTest::keyClick(f.e().memo(), static_cast<Qt::Key>(c.key), c.mods);
        EXPECT_TRUE(c.done()) << QKeySequence(c.key | c.mods).toString().toStdString();
    }
    EXPECT_EQ(f.w->rangeState().range, range) << "Ctrl+A stayed in the text";
    EXPECT_TRUE(f.dialogs->pendingAnswers().empty());
    EXPECT_TRUE(f.dialogs->failure().isEmpty()) << "no dialog (the font dialog of Ctrl+F) was asked for";
}

TEST(ScriptEditor, ScriptFilesOpenAndSave) {
    Editor f;
    f.e().setText("down\ngo 10");
    f.run("Script>Save As", {f.dir.filePath("walk")});  // the extension comes by itself
    EXPECT_EQ(readAll(f.dir.filePath("walk.qvs")), "down\ngo 10");
    writeAll(f.dir.filePath("dos.qvs"), "pos 1 2\r\ngo 3\r\n");
    f.run("Script>Open", {f.dir.filePath("dos.qvs")});
    EXPECT_EQ(f.e().text(), "pos 1 2\ngo 3\n");
    f.e().memo()->undo();  // opening is one edit
    EXPECT_EQ(f.e().text(), "down\ngo 10");
    writeAll(f.dir.filePath("bin.qvs"), QByteArray("go\0", 3));
    f.run("Script>Open", {f.dir.filePath("bin.qvs")});
    EXPECT_EQ(f.dialogs->messages(), QStringList{"Cannot open \"bin.qvs\": it is not a text file"});
    EXPECT_EQ(f.e().text(), "down\ngo 10");
}
