#pragma once
// The script editor window: the colouring text area `script`, the sorted library list
// `ScriptLib` of "PixoralLib.tip", a find box and a status line. The Script menu of the main
// window calls the handlers below; the recorder inserts at the caret. Runs go through the
// runner the main window gives, which draws on the workspace and shows the message.
#include <QWidget>
#include <functional>

#include "script/ScriptLibrary.h"
#include "script/Turtle.h"
#include "ui/PresetFile.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pixoral {
class WorkspaceHost;
}

namespace pixoral::script {

class TScriptMemo;

class TPixoralScriptF : public QWidget {
    Q_OBJECT
public:
    // Runs an interpreter text on the workspace and shows its message when it failed.
    using Runner = std::function<TTurtle::RunResult(const QString& text)>;

    // Loads the library of the host's program folder; a file with problems is reported and
    // its readable entries listed. The host must outlive the window.
    TPixoralScriptF(WorkspaceHost& host, Runner run, QWidget* parent = nullptr);

    // Asked for when the editor has to be seen: a failed run, a Ctrl-clicked insertion.
    std::function<void()> onShowRequest;

    QString text() const;
    // The whole text replaced as one undo step, CR LF and CR taken as line breaks; the caret
    // goes to the start.
    void setText(const QString& text);
    TScriptMemo* memo() const { return script; }
    QListWidget* libraryList() const { return ScriptLib; }
    QString statusText() const;

    // The text area's own visibility flag, which the recorder asks; it stays set while the
    // window is closed.
    bool textAreaVisible() const;
    // Inserts at the caret, replacing any selection, as one undo step; with `focus` the
    // editor is shown and takes the keyboard focus.
    void insertAtCaret(const QString& text, bool focus);

    // ---- the Script menu ----
    void Open2Click();
    void SaveAs2Click();
    void Run1Click();
    void RunItem1Click();
    void Add1Click();
    void Delete1Click();
    void Update2Click();
    void SelectAll1Click();
    void Cut1Click();
    void Copy3Click();
    void Paste2Click();

    // ---- the window's own controls ----
    void ScriptLibDblClick();
    // Finds the find box's text after the caret (before it with `backwards`), wrapping round.
    bool findNext(bool backwards = false);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildControls();
    void refreshLibrary(int select);
    int selectedEntry() const;
    // An edit the library refused or could not write, in the user's terms.
    void report(const PresetFile::Edit& e);
    void setStatus(const QString& text);
    void showFind();

    WorkspaceHost& host_;
    Runner run_;
    PresetFile library_;

    TScriptMemo* script = nullptr;
    QListWidget* ScriptLib = nullptr;
    QWidget* findBar_ = nullptr;
    QLineEdit* FindText = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace pixoral::script
