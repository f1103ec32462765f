// The script library file and the editor's side of a run: entries with "~~", a file that is
// not all text, where the caret goes after a failure, and the shipped library.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TurtleEnv.h"
#include "script/ScriptLibrary.h"

using namespace pixoral;
using namespace pixoral::script;

TEST(ScriptLibrary, WalkEntryRoundTripsThroughTheFile) {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    PresetFile lib(libraryPath(folder), kLibraryKind);
    ASSERT_TRUE(lib.load());  // no file yet: an empty library
    const auto value = entryOfScript("pos 10 10\ngo 5");
    ASSERT_TRUE(value);
    ASSERT_TRUE(lib.add("walk", *value).changed());
    ASSERT_TRUE(lib.add("Arc", "go 1").changed());
    EXPECT_EQ(readAll(folder + "PixoralLib.tip"), "Arc=go 1\r\nwalk=pos 10 10~~go 5\r\n");

    PresetFile again(lib.path(), kLibraryKind);
    ASSERT_TRUE(again.load());
    EXPECT_TRUE(again.problems().isEmpty());
    EXPECT_EQ(scriptOfEntry(again.value(again.find("walk"))), "pos 10 10\ngo 5");
    EXPECT_EQ(scriptOfEntry(again.value(again.find("walk")), "\r\n"), "pos 10 10\r\ngo 5");
    // Text the file would give back otherwise is not stored.
    EXPECT_FALSE(entryOfScript("text \"a~~b\""));
    EXPECT_FALSE(entryOfScript("go 1 ~\ngo 2"));
    EXPECT_EQ(runTextOf("go 10\ngo abc"), "go 10\r\ngo abc");
}

namespace {
// The bytes of a literal, NUL bytes included.
template <std::size_t N>
QByteArray bytes(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}
}  // namespace

TEST(ScriptLibrary, ABadFileKeepsItsGoodEntriesAndStaysUntouchedUntilAChange) {
    using Kept = PresetFile::LineProblem::Kept;
    struct Case {
        QByteArray file;
        QStringList names;
        std::vector<std::pair<int, Kept>> problems;  // line number, how it is kept
        QByteArray afterAdd;                         // the file after adding "new=1"
    };
    const Case cases[] = {
        {bytes("b=go 2\r\nbin\xff\xfe=x\r\na=go 1\r\nzero\0byte=1\r\n"), {"a", "b"},
         {{2, Kept::NotText}, {4, Kept::NotText}},
         bytes("a=go 1\r\nb=go 2\r\nnew=1\r\nbin\xff\xfe=x\r\nzero\0byte=1\r\n")},
        // The cut line stays last and still without its end.
        {"a=go 1\r\nb=go 2\r\ncut=go", {"a", "b"}, {{3, Kept::NoLineEnd}}, "a=go 1\r\nb=go 2\r\nnew=1\r\ncut=go"},
        {"a=go 1\nno equals\n", {"a", "no equals"}, {{2, Kept::InList}}, "a=go 1\r\nnew=1\r\nno equals\r\n"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = libraryPath(dir.path() + QLatin1Char('/'));
        writeAll(path, c.file);
        PresetFile lib(path, kLibraryKind);
        ASSERT_TRUE(lib.load());
        EXPECT_EQ(lib.names(), c.names);
        std::vector<std::pair<int, Kept>> problems;
        for (const auto& p : lib.problems()) {
            problems.emplace_back(p.lineNumber, p.kept);
            EXPECT_TRUE(lib.problemsMessage().contains(QStringLiteral("line %1 (").arg(p.lineNumber)));
        }
        EXPECT_EQ(problems, c.problems) << lib.problemsMessage().toStdString();
        EXPECT_EQ(readAll(path), c.file) << "loading never writes";
        ASSERT_TRUE(lib.add("new", "1").changed());
        EXPECT_EQ(readAll(path), c.afterAdd);
    }
}

TEST(ScriptLibrary, AFailedRunPutsTheCaretAfterTheFailingWord) {
    struct Case {
        const char* editorText;
        int anchor, position;
    };
    const Case cases[] = {
        // The line break counts as CR LF in the run: the caret lands at the end of the text.
        {"go 10\ngo abc", 9, 12},
        // One past the failing word, after the space that follows it.
        {"go abc go 5", 3, 7},
        {"down\ngo 10\npolygon 2 10\ngo 1", 21, 24},
        {"", 0, 0},  // "empty script": the cursor is not written
    };
    auto env = test::makeEnv();
    for (const Case& c : cases) {
        const QString text = QString::fromLatin1(c.editorText);
        const TTurtle::RunResult r = env->t.RunScript(runTextOf(text));
        ASSERT_TRUE(runFailed(r)) << c.editorText;
        const RunCaret caret = runErrorCaret(text, r);
        EXPECT_EQ(caret.anchor, c.anchor) << c.editorText;
        EXPECT_EQ(caret.position, c.position) << c.editorText;
    }
}

TEST(ScriptLibrary, EveryShippedScriptRunsToReady) {
    PresetFile lib(QStringLiteral(PIXORAL_DATA_DIR "/PixoralLib.tip"), kLibraryKind);
    ASSERT_TRUE(lib.load());
    EXPECT_TRUE(lib.problems().isEmpty()) << lib.problemsMessage().toStdString();
    ASSERT_GE(lib.count(), 12);
    for (int i = 0; i < lib.count(); ++i) {
        auto env = test::makeEnv();
        env->t.setMaxSteps(2'000'000);
        QStringList requests;  // the backdrops and filters it asks the window for
        env->t.OnRequestBackGround = [&](const QString& name) { requests << name; };
        env->t.OnRequestFilter = [&](const QString& name) { requests << name; };
        const TTurtle::RunResult r = env->t.RunScript(scriptOfEntry(lib.value(i), QStringLiteral("\r\n")));
        EXPECT_EQ(r.message, "ready") << lib.name(i).toStdString();
        EXPECT_TRUE(env->countNot(clWhite) > 0 || !requests.isEmpty()) << lib.name(i).toStdString() << " does nothing";
    }
}
