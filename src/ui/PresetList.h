#pragma once
// The drop-down of a preset window with its Add / Delete / Update popup: it shows the names
// of a PresetFile, asks for names through the dialogs, edits the file and reports which entry
// the user picked. The window supplies what an entry stores and what picking one does; the
// texts and object names are the window's too, so one widget serves every preset window.
#include <QWidget>
#include <functional>
#include <optional>

#include "ui/PresetFile.h"

class QAction;
class QComboBox;
class QMenu;
class QToolButton;

namespace pixoral {

class Dialogs;

struct PresetListSetup {
    // Tests and batch runs (--set, --press) find the controls by these names, so a window
    // keeps the names it always had.
    struct Names {
        QString list, menuButton, popup, add, remove, update;
    } names;

    QString placeholder;  // the drop-down while nothing is picked
    QString listToolTip;
    QString menuButtonText = QStringLiteral("...");
    QString menuButtonToolTip;
    // The popup's items.
    QString addItem = QStringLiteral("&Add"), deleteItem = QStringLiteral("&Delete"), updateItem = QStringLiteral("&Update");

    // The name prompt of Add and Update (Update opens it on the current name).
    QString caption;
    QString prompt = QStringLiteral("Enter Name:");
    // Messages. Each kind of file can refuse only some edits; a window gives the texts its
    // kind can produce, and an empty text says nothing.
    QString noSelection;  // Update with nothing picked
    QString nameHasEquals, nameNotOneLine, valueNotOneLine;
    QString valueRefused;  // the window's state cannot be stored (currentValues gave nothing)
    QString duplicateName;  // "%1" is replaced by the name
};

// The name refusals of the preset files whose names are free text, and the duplicate-name
// message of those that keep names unique ("%1" is the name).
inline const QString kPresetNameHasEquals = QStringLiteral("A preset name cannot contain \"=\"");
inline const QString kPresetNameNotOneLine = QStringLiteral("A preset name must be one line of text");
inline const QString kPresetAllreadyExists = QStringLiteral("%1 allready exists");

class PresetList : public QWidget {
    Q_OBJECT
public:
    // The file and the dialogs must outlive the widget. The list starts on no entry.
    PresetList(PresetFile& file, Dialogs& dialogs, const PresetListSetup& setup, QWidget* parent = nullptr);
    ~PresetList() override;

    // The values Add and Update store: the window's current state; nothing when that state
    // cannot be written as an entry (the edit is refused with valueRefused before any prompt).
    std::function<std::optional<QString>()> currentValues;

    // The entry shown in the drop-down; -1 for none.
    int currentIndex() const;
    // Shows the file's names again with `select` current, without reporting a pick.
    void refresh(int select = -1);

    QComboBox* list() const { return list_; }
    QMenu* popup() const { return popup_; }
    // Add, Delete and Update, for a window that offers them on its own right click too.
    QList<QAction*> commands() const;

    void addClick();
    void deleteClick();
    void updateClick();

signals:
    // The user picked an entry, also when it was already the one shown (to apply it again).
    void chosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Shows the message for an edit the file refused or could not write.
    void report(const PresetFile::Edit& e, const QString& name);
    void say(const QString& text);
    // The window's values for Add and Update; nothing (after saying why) when it has none.
    std::optional<QString> valuesToStore();

    PresetFile& file_;
    Dialogs& dialogs_;
    PresetListSetup setup_;
    QComboBox* list_ = nullptr;
    QToolButton* menuButton_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* add_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* update_ = nullptr;
    bool syncing_ = false;  // the list is being refilled: no picks
    // Picking another entry both changes the current index (reported at once) and activates
    // it; this keeps one pick from being reported twice.
    bool justChanged_ = false;
};

}  // namespace pixoral
