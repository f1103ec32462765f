// File > Open Recent and pictures dropped on the window.
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include "files/ImageFile.h"
#include "workspace/RecentFiles.h"
#include "workspace/TPixoralF.h"
#include "workspace/WindowSettings.h"
#include "../common/TestSupport.h"

using namespace pixoral;

namespace {

// A picture of its own size and one colour, written as a file of the name's type.
QString writePicture(const QTemporaryDir& dir, const char* name, int w, int h, TColor c) {
    Bitmap b;
    b.setSize(w, h);
    b.canvas().brush().setColor(c);
    b.canvas().fillRect(Rect{0, 0, w, h});
    const QString path = dir.filePath(QString::fromUtf8(name));
    QString err;
    EXPECT_EQ(saveImageFile(path, b, ImageSaveOptions{}, &err), FileResult::Done) << err.toStdString();
    return path;
}

struct RecentWin {
    QTemporaryDir dir;
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::unique_ptr<TPixoralF> w;
    void start() {
        TPixoralF::Options o;
        o.programFolder = dir.path() + QLatin1Char('/');
        o.dialogs = dialogs;
        o.batch = false;  // the recent list is kept only outside batch runs
        w = std::make_unique<TPixoralF>(o);
    }
    QString ini() const { return dir.filePath(QStringLiteral("pixoral.ini")); }
    void trigger(const char* path) {
        QAction* a = w->actionForPath(QString::fromUtf8(path));
        ASSERT_NE(a, nullptr) << path;
        ASSERT_TRUE(a->isEnabled()) << path;
        a->trigger();
    }
};

}  // namespace

TEST(RecentList, NewestFirstEachNameOnceAtMostEight) {
    QStringList l;
    for (int i = 0; i < 10; ++i) l = addRecentFile(l, QStringLiteral("/p/%1.bmp").arg(i));
    ASSERT_EQ(l.size(), kMaxRecentFiles);
    EXPECT_EQ(l.first(), QStringLiteral("/p/9.bmp"));
    EXPECT_EQ(l.last(), QStringLiteral("/p/2.bmp"));
    l = addRecentFile(l, QStringLiteral("/p/5.bmp"));
    EXPECT_EQ(l.first(), QStringLiteral("/p/5.bmp"));
    EXPECT_EQ(l.count(QStringLiteral("/p/5.bmp")), 1);
    EXPECT_EQ(l.size(), kMaxRecentFiles);
}

TEST(RecentList, StoredBesideTheWindowStateWithoutDisturbingIt) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("pixoral.ini"));
    writeAll(ini, "; mine\n[Window]\nState=normal\nLeft=7\n[Other]\nKey=kept\n");
    const QStringList files{QStringLiteral("/a/b.gif"), QStringLiteral("/c d/e.png")};
    ASSERT_TRUE(writeRecentFiles(ini, files));
    EXPECT_EQ(readRecentFiles(ini), files);
    const QString text = QString::fromUtf8(readAll(ini));
    EXPECT_TRUE(text.startsWith(QStringLiteral("; mine\n[Window]\nState=normal\nLeft=7\n[Other]\nKey=kept\n")));
    EXPECT_EQ(readWindowSettings(ini).left, 7);
    // Rewriting the window keys leaves the list alone.
    WindowSettings s;
    s.left = 3;
    ASSERT_TRUE(writeWindowSettings(ini, s));
    EXPECT_EQ(readRecentFiles(ini), files);
    ASSERT_TRUE(writeRecentFiles(ini, {}));
    EXPECT_TRUE(readRecentFiles(ini).isEmpty());
}

TEST(RecentList, HandEditedDuplicatesAndExtraKeysAreTidied) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("pixoral.ini"));
    writeAll(ini, "[Recent Files]\nFile1=/x.bmp\nFile2=\nFile3=/x.bmp\nFile4=/y.bmp\nFile9=/z.bmp\n");
    EXPECT_EQ(readRecentFiles(ini), (QStringList{QStringLiteral("/x.bmp"), QStringLiteral("/y.bmp")}));
}

TEST(RecentMenu, OpenAndSaveFeedTheMenuAndTheSettingsFile) {
    RecentWin r;
    const QString red = writePicture(r.dir, "red.bmp", 12, 9, clRed);
    r.start();
    EXPECT_FALSE(r.w->findChild<QAction*>(QStringLiteral("Recent1"))->isVisible());
    EXPECT_FALSE(r.w->findChild<QAction*>(QStringLiteral("ClearRecent1"))->isEnabled());

    r.dialogs->pushAnswer(red);
    r.trigger("File>Open");
    const QString saved = r.dir.filePath(QStringLiteral("copy.png"));
    r.dialogs->pushAnswer(saved);
    r.trigger("File>Save As");
    EXPECT_EQ(r.w->recent().files(), (QStringList{saved, red}));
    EXPECT_EQ(readRecentFiles(r.ini()), (QStringList{saved, red}));
    QAction* first = r.w->findChild<QAction*>(QStringLiteral("Recent1"));
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->text().endsWith(QStringLiteral("copy.png")));

    // A new window starts with the stored list and opens from it by menu path.
    r.w.reset();
    r.start();
    ASSERT_EQ(r.w->recent().files().size(), 2);
    r.trigger("File>New");
    r.trigger("File>Open Recent>2");
    EXPECT_EQ(r.w->workspace().width(), 12);
    EXPECT_EQ(r.w->workspace().pixel(3, 3), clRed);
    EXPECT_EQ(r.w->recent().files().first(), red);

    r.trigger("File>Open Recent>Clear List");
    EXPECT_TRUE(r.w->recent().files().isEmpty());
    EXPECT_TRUE(readRecentFiles(r.ini()).isEmpty());
}

TEST(RecentMenu, AFileThatHasGoneIsReportedAndDropped) {
    RecentWin r;
    const QString gone = writePicture(r.dir, "gone.gif", 5, 5, clBlue);
    const QString kept = writePicture(r.dir, "kept.bmp", 6, 6, clLime);
    ASSERT_TRUE(writeRecentFiles(r.ini(), {gone, kept}));
    ASSERT_TRUE(QFile::remove(gone));
    r.start();
    const int w0 = r.w->workspace().width();
    r.trigger("File>Open Recent>1");
    ASSERT_EQ(r.dialogs->messages().size(), 1);
    EXPECT_TRUE(r.dialogs->messages().first().contains(gone));
    EXPECT_EQ(r.w->workspace().width(), w0);
    EXPECT_EQ(r.w->recent().files(), QStringList{kept});
    EXPECT_EQ(readRecentFiles(r.ini()), QStringList{kept});
}

TEST(DropOnWindow, APictureOpensAnythingElseIsRefused) {
    RecentWin r;
    const QString pic = writePicture(r.dir, "drop.png", 21, 13, clYellow);
    const QString text = r.dir.filePath(QStringLiteral("notes.txt"));
    writeAll(text, "not a picture");
    r.start();
    r.w->show();

    auto dropOf = [&](const QString& path) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(r.w.get(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(r.w.get(), &drop);
        return enter.isAccepted();
    };
    const int w0 = r.w->workspace().width();
    EXPECT_FALSE(dropOf(text));
    EXPECT_EQ(r.w->workspace().width(), w0);

    EXPECT_TRUE(dropOf(pic));
    EXPECT_EQ(r.w->workspace().width(), 21);
    EXPECT_EQ(r.w->workspace().height(), 13);
    EXPECT_EQ(r.w->workspace().pixel(20, 12), clYellow);
    EXPECT_EQ(r.w->recent().files().first(), pic);
}
