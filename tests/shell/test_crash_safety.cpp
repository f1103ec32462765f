// Every file the program rewrites survives a kill at any moment: after SIGKILL in the middle
// of rewriting it, the file holds its old content or its new one, never a mix and never
// nothing (a file that did not exist may still be missing). The writers run in a helper that
// rewrites one file over and over; each case kills it at random moments.
//
// PIXORAL_KILLS sets the kills per file (a few by default, so the suite stays fast);
// scripts/kill_files.sh runs it with a hundred per file.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <thread>

#include "workspace/ProgramFolder.h"

namespace {

using Content = std::optional<QByteArray>;  // nothing: the file does not exist

struct Target {
    const char* kind;
    QStringList files;
};

const QString kShipped = QStringLiteral(PIXORAL_DATA_DIR);

QStringList shippedPresent() {
    QStringList present;
    for (const QString& name : pixoral::shippedDataFiles())
        if (QFile::exists(kShipped + QLatin1Char('/') + name)) present << name;
    return present;
}

// A program folder as a user's would be before the rewrite: the shipped files, except for
// seeding, which starts from an empty folder.
void prepare(const QString& folder, const Target& t) {
    if (QLatin1String(t.kind) == QLatin1String("seed")) return;
    for (const QString& name : shippedPresent())
        QFile::copy(kShipped + QLatin1Char('/') + name, folder + QLatin1Char('/') + name);
}

Content contentOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return f.readAll();
}

QStringList rewriterArgs(const Target& t, const QString& folder) { return {QString::fromLatin1(t.kind), folder, kShipped}; }

// What each file may hold: its content before, after one rewrite and after two.
std::map<QString, std::set<Content>> allowedContents(const Target& t) {
    std::map<QString, std::set<Content>> allowed;
    for (int count = 0; count <= 2; ++count) {
        QTemporaryDir dir;
        prepare(dir.path(), t);
        if (count > 0) {
            QProcess p;
            p.start(QStringLiteral(FILE_REWRITER_EXE), rewriterArgs(t, dir.path()) << QString::number(count));
            EXPECT_TRUE(p.waitForFinished(60000)) << t.kind;
            EXPECT_EQ(p.exitCode(), 0) << t.kind << ": " << p.readAllStandardError().toStdString();
        }
        for (const QString& name : t.files) allowed[name].insert(contentOf(dir.filePath(name)));
    }
    return allowed;
}

int killsPerFile() {
    const int n = qEnvironmentVariableIntValue("PIXORAL_KILLS");
    return n > 0 ? n : 3;
}

}  // namespace

TEST(CrashSafety, KilledRewritesLeaveOldOrNewContent) {
    const Target targets[] = {
        {"ini", {"pixoral.ini"}},
        {"patterns", {"patterns.bmp"}},
        {"PixoralQB.txt", {"PixoralQB.txt"}},
        {"PixoralFL.txt", {"PixoralFL.txt"}},
        {"GraphPresets.tip", {"GraphPresets.tip"}},
        {"PixoralFrac.txt", {"PixoralFrac.txt"}},
        {"Surf3DPresets.txt", {"Surf3DPresets.txt"}},
        {"PixoralLib.tip", {"PixoralLib.tip"}},
        {"picture.bmp", {"picture.bmp"}},
        {"picture.jpg", {"picture.jpg"}},
        {"picture.gif", {"picture.gif"}},
        {"picture.png", {"picture.png"}},
        {"seed", shippedPresent()},
    };
    std::random_device seeder;
    const unsigned seed = seeder();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayUs(0, 40000);
    int kills = 0, corrupt = 0;
    for (const Target& t : targets) {
        const auto allowed = allowedContents(t);
        for (int k = 0; k < killsPerFile(); ++k) {
            QTemporaryDir dir;
            prepare(dir.path(), t);
            QProcess p;
            p.start(QStringLiteral(FILE_REWRITER_EXE), rewriterArgs(t, dir.path()));
            ASSERT_TRUE(p.waitForReadyRead(30000)) << t.kind;
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
            ASSERT_EQ(p.state(), QProcess::Running) << t.kind << ": " << p.readAllStandardError().toStdString();
            p.kill();  // SIGKILL
            p.waitForFinished(30000);
            ++kills;
            for (const QString& name : t.files) {
                const bool whole = allowed.at(name).count(contentOf(dir.filePath(name))) > 0;
                corrupt += !whole;
                EXPECT_TRUE(whole) << name.toStdString() << " after kill " << k << " (seed " << seed << ")";
            }
        }
    }
    std::printf("%d kills across %zu kinds of file, %d files corrupt\n", kills, std::size(targets), corrupt);
}
