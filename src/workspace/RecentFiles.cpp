#include "workspace/RecentFiles.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QAction>
#include <QMimeData>
#include <QUrl>
#include <cstdio>

#include "files/ImageFile.h"
#include "workspace/Commands.h"
#include "workspace/TPixoralF.h"
#include "workspace/WindowSettings.h"

namespace pixoral {

namespace {

// The first local file of a drop that the Open command could load.
QString droppedPicture(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return {};
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        if (canLoadImageType(imageFileTypeOf(path))) return path;
    }
    return {};
}

}  // namespace

RecentFiles::RecentFiles(TPixoralF& window, const QString& iniPath) : w_(window), iniPath_(iniPath) {
    if (!iniPath_.isEmpty()) files_ = readRecentFiles(iniPath_);
}

void RecentFiles::set(const QStringList& files) {
    files_ = files;
    updateMenu();
    if (iniPath_.isEmpty()) return;
    QString err;
    if (!writeRecentFiles(iniPath_, files_, &err)) std::fprintf(stderr, "pixoral: %s\n", qPrintable(err));
}

void RecentFiles::note(const QString& path) { set(addRecentFile(files_, QFileInfo(path).absoluteFilePath())); }

void RecentFiles::updateMenu() {
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        QAction* a = w_.findChild<QAction*>(QStringLiteral("Recent%1").arg(i + 1));
        if (!a) continue;
        const bool used = i < files_.size();
        a->setVisible(used);
        a->setEnabled(used);
        if (used) {
            QString name = files_[i];
            name.replace(QLatin1Char('&'), QLatin1String("&&"));
            a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        }
    }
    if (QAction* clear = w_.findChild<QAction*>(QStringLiteral("ClearRecent1"))) clear->setEnabled(!files_.isEmpty());
}

void RecentFiles::openRecentClick(int index) {
    if (index < 0 || index >= files_.size()) return;
    const QString path = files_[index];
    if (!QFileInfo::exists(path)) {
        // A file that has gone leaves the list, so the menu stops offering it.
        QStringList rest = files_;
        rest.removeAt(index);
        set(rest);
        w_.fail(QStringLiteral("Cannot open \"%1\": the file no longer exists.").arg(path));
        return;
    }
    w_.openImageFile(path);
}

void RecentFiles::ClearRecent1Click() { set({}); }

// Eight places filled in from the list; unused ones are hidden.
MenuEntry recentMenu() {
    std::vector<MenuEntry> v;
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        const QByteArray caption = "&" + QByteArray::number(i + 1);
        v.push_back(rows::item(caption.constData(), [i](TPixoralF& w) { w.recent().openRecentClick(i); })
                        .named(QStringLiteral("Recent%1").arg(i + 1)));
    }
    v.push_back(rows::sep());
    v.push_back(rows::item("&Clear List", [](TPixoralF& w) { w.recent().ClearRecent1Click(); }).named("ClearRecent1"));
    return rows::sub("Open &Recent", std::move(v)).named("OpenRecent1");
}

void TPixoralF::dragEnterEvent(QDragEnterEvent* e) {
    if (!scriptRunning() && !droppedPicture(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void TPixoralF::dropEvent(QDropEvent* e) {
    const QString path = droppedPicture(e->mimeData());
    if (path.isEmpty() || scriptRunning()) return;
    e->acceptProposedAction();
    openImageFile(path);
}

}  // namespace pixoral
