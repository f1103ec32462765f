// The preset file's contract: order by kind, lenient loading that keeps what it cannot read,
// name lookups and refusals, atomic rewrites and the "~~" fields.
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

#include "../common/TestSupport.h"
#include "ui/PresetFile.h"

using namespace pixoral;
using O = PresetFile::Outcome;

namespace {
constexpr PresetFile::Kind kSorted{PresetFile::Order::ByName, PresetFile::Duplicates::Allowed};
constexpr PresetFile::Kind kEntered{PresetFile::Order::AsEntered, PresetFile::Duplicates::Refused};
}  // namespace

TEST(PresetFile, OrderByKindNotEntriesKeptThroughEveryRewrite) {
    struct Case {
        PresetFile::Kind kind;
        QStringList loaded;
        const char* edited;  // after add C, rename "aurora" to d, remove "beach"
    };
    const Case cases[] = {
        // By the text before the first "=" (the whole line without one), case ignored, equal
        // names in file order, new ones after them.
        {kSorted,
         {"  =orphan", "Aurora=2,x~~y", "beach=3", "no equals", "sunset=1", "SUNSET=4"},
         "  =orphan\nC=3\nd=4\nno equals\nsunset=1\nSUNSET=4\n"},
        {kEntered,
         {"sunset=1", "Aurora=2,x~~y", "no equals", "beach=3", "  =orphan", "SUNSET=4"},
         "sunset=1\nd=4\nno equals\n  =orphan\nSUNSET=4\nC=3\n"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.txt");
        writeAll(path, "sunset=1\r\n\r\nAurora=2,x~~y\nno equals\nbeach=3\n  =orphan\nSUNSET=4\n");
        PresetFile p(path, c.kind);
        ASSERT_TRUE(p.load());
        EXPECT_EQ(p.lines(), c.loaded);
        EXPECT_EQ(p.value(p.find("AURORA")), "2,x~~y");
        // Line numbers count the blank line, as an editor shows them.
        ASSERT_EQ(p.problems().size(), 2);
        EXPECT_EQ(p.problems()[0].lineNumber, 4);
        EXPECT_TRUE(p.problems()[0].noEquals);
        EXPECT_EQ(p.problems()[1].lineNumber, 6);
        EXPECT_FALSE(p.problems()[1].noEquals);
        EXPECT_TRUE(p.problemsMessage().contains("line 6"));

        EXPECT_EQ(p.add(" C ", "3").outcome, O::Done);
        EXPECT_EQ(readAll(path).count("C=3\n"), 1) << "written at once";
        EXPECT_EQ(p.update(p.find("aurora"), "d", "4").outcome, O::Done);
        EXPECT_EQ(p.remove(p.find("beach")).outcome, O::Done);
        EXPECT_EQ(readAll(path), c.edited);
    }
}

TEST(PresetFile, FindIgnoresCaseAndDuplicatesAreTheKindsChoice) {
    QTemporaryDir dir;
    PresetFile allowed(dir.filePath("a.txt"), kSorted);
    allowed.setLines({"Sunset=1", "sunset=2", "Dawn"});
    EXPECT_EQ(allowed.find("SUNSET"), 1);  // "Dawn" (no "=") sorts first; the older Sunset wins
    EXPECT_EQ(allowed.find("dawn"), -1);   // a line that is not an entry is never found
    EXPECT_EQ(allowed.find("Sun"), -1);
    EXPECT_FALSE(allowed.isDuplicate("Dawn"));
    EXPECT_EQ(allowed.add("SUNSET", "3").index, 3);  // after its namesakes: lookups keep the old one

    PresetFile refusing(dir.filePath("p.txt"), kEntered);
    refusing.setLines({"Sunset=1", "sunset=2", "Dawn"});
    EXPECT_EQ(refusing.add("sunSET", "9").outcome, O::Duplicate);
    EXPECT_EQ(refusing.update(0, "SUNSET", "9").outcome, O::Duplicate);  // the other one has it
    EXPECT_FALSE(QFile::exists(refusing.path()));
    EXPECT_EQ(refusing.add("Dawn", "9").outcome, O::Done);  // the line "Dawn" is no entry
    EXPECT_EQ(refusing.update(3, "DAWN", "8").outcome, O::Done);  // its own name, other case
    EXPECT_EQ(refusing.lines()[3], "DAWN=8");
}

TEST(PresetFile, RefusedEditsChangeNothing) {
    struct Case {
        const char* name;
        const char* value;
        O outcome;
    };
    const Case cases[] = {
        {"  ", "1", O::EmptyName},         {"a=b", "1", O::NameHasEquals},    {"two\nlines", "1", O::NameNotOneLine},
        {"c\rr", "1", O::NameNotOneLine}, {"ok", "x\ny", O::ValueNotOneLine},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("p.txt");
    PresetFile p(path, kSorted);
    ASSERT_TRUE(p.load());  // a missing file is an empty list
    EXPECT_EQ(p.update(0, "x", "1").outcome, O::NoSuchEntry);
    EXPECT_EQ(p.remove(0).outcome, O::NoSuchEntry);
    for (const Case& c : cases) {
        EXPECT_EQ(p.add(c.name, c.value).outcome, c.outcome) << c.name;
        EXPECT_FALSE(QFile::exists(path)) << c.name;
    }
    ASSERT_TRUE(p.add("keep", "0").changed());
    for (const Case& c : cases) {
        EXPECT_EQ(p.update(0, c.name, c.value).outcome, c.outcome) << c.name;
        EXPECT_EQ(readAll(path), "keep=0\n") << c.name;
    }
}

TEST(PresetFile, AFailedWriteReportsKeepsTheChangeAndLeavesTheOldFile) {
    struct Case {
        QString name;
        bool readOnlyFolder;
    };
    const Case cases[] = {
        {"p.txt", true},
        // No temporary file fits beside a name this long: fails for every user, root included.
        {QString(250, QLatin1Char('p')), false},
    };
    for (const Case& c : cases) {
        if (c.readOnlyFolder && geteuid() == 0) continue;  // root writes anyway
        QTemporaryDir dir;
        const QString path = dir.filePath(c.name);
        writeAll(path, "old=1\n");
        PresetFile p(path, kSorted);
        ASSERT_TRUE(p.load());
        if (c.readOnlyFolder) QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const PresetFile::Edit e = p.add("new", "2");
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        EXPECT_TRUE(e.changed());
        EXPECT_TRUE(e.writeError.startsWith("Cannot write " + path)) << e.writeError.toStdString();
        EXPECT_EQ(p.names(), (QStringList{"new", "old"}));
        EXPECT_EQ(readAll(path), "old=1\n");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{c.name});
    }
}

TEST(PresetFile, AFileThatCannotBeReadIsNeverOverwritten) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("folder.txt");
    QFile big(dir.filePath("big.txt"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(17 * 1024 * 1024));  // no preset file is this large
    big.close();
    for (const char* name : {"folder.txt", "big.txt"}) {
        PresetFile p(dir.filePath(name), kSorted);
        QString error;
        EXPECT_FALSE(p.load(&error));
        EXPECT_TRUE(error.startsWith("Cannot read")) << error.toStdString();
        EXPECT_TRUE(p.add("x", "1").writeError.startsWith("Cannot write")) << name;
    }
    EXPECT_EQ(QFileInfo(dir.filePath("big.txt")).size(), 17 * 1024 * 1024);
}

TEST(PresetFile, FieldsSplitAndJoinOnDoubleTilde) {
    struct Case {
        QStringList fields;
        const char* joined;  // nullptr: could not be read back
    };
    const Case cases[] = {
        {{"a", "b c", ""}, "a~~b c~~"},   {{"x"}, "x"},
        {{"a", "~b", "c~"}, "a~~~b~~c~"},  // a field may start with "~", the last may end with one
        {{"a~", "b"}, nullptr},            // "a~~~b" would read back as "a", "~b"
        {{"a~~b"}, nullptr},              {{"line\nbreak"}, nullptr},
    };
    for (const Case& c : cases) {
        const auto joined = PresetFile::joinFields(c.fields);
        ASSERT_EQ(joined.has_value(), c.joined != nullptr) << c.fields.join('|').toStdString();
        if (!joined) continue;
        EXPECT_EQ(*joined, QString::fromLatin1(c.joined));
        EXPECT_EQ(PresetFile::splitFields(*joined), c.fields);
    }
}
