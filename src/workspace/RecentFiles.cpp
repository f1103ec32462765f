// File > Open Recent and pictures dropped on the window.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <cstdio>

#include "files/ImageFile.h"
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

void TPixoralF::loadRecentFiles() {
    if (!options_.batch && !programFolder_.isEmpty()) recentFiles_ = readRecentFiles(settingsFilePath());
    updateRecentMenu();
}

void TPixoralF::setRecentFiles(const QStringList& files) {
    recentFiles_ = files;
    updateRecentMenu();
    // Written at once, so the list survives a program that does not close normally.
    if (options_.batch || programFolder_.isEmpty()) return;
    QString err;
    if (!writeRecentFiles(settingsFilePath(), recentFiles_, &err)) std::fprintf(stderr, "pixoral: %s\n", qPrintable(err));
}

void TPixoralF::noteRecentFile(const QString& path) {
    setRecentFiles(addRecentFile(recentFiles_, QFileInfo(path).absoluteFilePath()));
}

void TPixoralF::updateRecentMenu() {
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        QAction* a = findChild<QAction*>(QStringLiteral("Recent%1").arg(i + 1));
        if (!a) continue;
        const bool used = i < recentFiles_.size();
        a->setVisible(used);
        a->setEnabled(used);
        if (used) {
            QString name = recentFiles_[i];
            name.replace(QLatin1Char('&'), QLatin1String("&&"));
            a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        }
    }
    if (QAction* clear = findChild<QAction*>(QStringLiteral("ClearRecent1"))) clear->setEnabled(!recentFiles_.isEmpty());
}

QStringList TPixoralF::recentFiles() const { return recentFiles_; }

void TPixoralF::openRecentClick(int index) {
    if (index < 0 || index >= recentFiles_.size()) return;
    const QString path = recentFiles_[index];
    if (!QFileInfo::exists(path)) {
        // A file that has gone leaves the list, so the menu stops offering it.
        QStringList rest = recentFiles_;
        rest.removeAt(index);
        setRecentFiles(rest);
        fail(QStringLiteral("Cannot open \"%1\": the file no longer exists.").arg(path));
        return;
    }
    openImageFile(path);
}

void TPixoralF::ClearRecent1Click() { setRecentFiles({}); }

void TPixoralF::dragEnterEvent(QDragEnterEvent* e) {
    if (!scriptRunning_ && !droppedPicture(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void TPixoralF::dropEvent(QDropEvent* e) {
    const QString path = droppedPicture(e->mimeData());
    if (path.isEmpty() || scriptRunning_) return;
    e->acceptProposedAction();
    openImageFile(path);
}

}  // namespace pixoral
