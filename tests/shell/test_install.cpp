// The install rules: a prefix gets the program, its shipped files, the desktop entry and the
// icons, and the installed program finds its files from there.
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Install, PutsEverythingInItsPlaceAndTheProgramFindsItsFiles) {
    QTemporaryDir prefix, home;
    QProcess install;
    install.start(QStringLiteral(PIXORAL_CMAKE), {"--install", PIXORAL_BUILD_DIR, "--prefix", prefix.path()});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    for (const char* file : {"bin/pixoral", "share/pixoral/patterns.bmp", "share/pixoral/PixoralLib.tip",
                             "share/pixoral/PixoralQB.txt", "share/applications/pixoral.desktop",
                             "share/icons/hicolor/16x16/apps/pixoral.png", "share/icons/hicolor/256x256/apps/pixoral.png",
                             "share/icons/hicolor/scalable/apps/pixoral.svg"})
        EXPECT_TRUE(QFile::exists(prefix.filePath(file))) << file;
    QFile desktop(prefix.filePath("share/applications/pixoral.desktop"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    const QByteArray entry = desktop.readAll();
    EXPECT_TRUE(entry.contains("\nExec=pixoral %F\n"));
    EXPECT_TRUE(entry.contains("\nIcon=pixoral\n"));
    EXPECT_TRUE(entry.contains("image/bmp;"));

    // A first run seeds the user's folder from the installed data folder.
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    run.setProcessEnvironment(env);
    run.start(prefix.filePath("bin/pixoral"), {"--batch", "--do", "File>New", "--answer", "10", "--answer", "20"});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    QStringList seeded;
    for (QDirIterator it(home.filePath("data"), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        seeded << QFileInfo(it.next()).fileName();
    EXPECT_TRUE(seeded.contains("patterns.bmp")) << seeded.join(' ').toStdString();
    EXPECT_FALSE(QFile::exists(prefix.filePath("bin/pixoral.ini")));
}
