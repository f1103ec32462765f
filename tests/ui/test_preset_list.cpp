// The shared preset drop-down with a kind Quick Background does not use (entries in order,
// no duplicates): the window's texts come back, and a pick is reported once.
#include <QAction>
#include <QComboBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "../common/TestSupport.h"
#include "ui/Dialogs.h"
#include "ui/PresetList.h"

using namespace pixoral;

namespace {

// Keeps what each input box showed: "caption|prompt|default text".
struct RecordingDialogs : ScriptedDialogs {
    QStringList asked;
    QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText) override {
        asked << caption + '|' + prompt + '|' + defaultText;
        return ScriptedDialogs::inputBox(caption, prompt, defaultText);
    }
};

PresetListSetup librarySetup() {
    PresetListSetup s;
    s.names = {"lib", "libmenu", "LibPopup", "AddItem1", "DeleteItem1", "UpdateItem1"};
    s.caption = "Library";
    s.prompt = "Name:";
    s.duplicateName = "\"%1\" is taken";
    return s;
}

}  // namespace

TEST(PresetList, AsksAndRefusesInTheWindowsWordsAndReportsEachPickOnce) {
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    PresetFile file(dir.filePath("lib.txt"), {PresetFile::Order::AsEntered, PresetFile::Duplicates::Refused});
    file.setLines({"zeta=0"});
    PresetList list(file, dialogs, librarySetup());
    QString values = "1";
    list.currentValues = [&] { return values; };
    QList<int> picks;
    QObject::connect(&list, &PresetList::chosen, [&](int i) { picks << i; });
    auto trigger = [&](const char* action, const QString& answer) {
        dialogs.pushAnswer(answer);
        list.findChild<QAction*>(action)->trigger();
    };

    trigger("AddItem1", "alpha");
    trigger("AddItem1", "ZETA");
    EXPECT_EQ(dialogs.messages(), QStringList{"\"ZETA\" is taken"});
    values = "2";
    trigger("UpdateItem1", ":cancel");  // the box opens on the current name, which stays
    EXPECT_EQ(dialogs.asked, (QStringList{"Library|Name:|", "Library|Name:|", "Library|Name:|alpha"}));
    EXPECT_EQ(readAll(file.path()), "zeta=0\nalpha=2\n");

    auto* combo = list.findChild<QComboBox*>("lib");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), 1);  // the new entry is shown, not picked
    EXPECT_TRUE(picks.isEmpty());
    combo->setCurrentIndex(0);
    emit combo->activated(0);  // the same pick finishing
    EXPECT_EQ(picks, QList<int>{0});
    emit combo->activated(0);  // the shown entry picked again
    EXPECT_EQ(picks, (QList<int>{0, 0}));
}
