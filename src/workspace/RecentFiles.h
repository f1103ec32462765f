#pragma once
// File > Open Recent: the last files opened or saved, newest first, each once, kept in the
// settings file and written at once (outside batch runs), so the list survives a program
// that does not close normally.
#include <QStringList>

namespace pixoral {

class TPixoralF;
struct MenuEntry;

class RecentFiles {
public:
    // `iniPath` empty: the list lives in memory only.
    RecentFiles(TPixoralF& window, const QString& iniPath);

    const QStringList& files() const { return files_; }
    // A file opened or saved goes to the front.
    void note(const QString& path);
    void openRecentClick(int index);
    void ClearRecent1Click();
    // Shows the list in the menu (call once the menu exists).
    void updateMenu();

private:
    void set(const QStringList& files);

    TPixoralF& w_;
    QString iniPath_;
    QStringList files_;
};

// The "Open &Recent" submenu: eight places and "&Clear List".
MenuEntry recentMenu();

}  // namespace pixoral
