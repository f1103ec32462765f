#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include "generators/QBPresets.h"
#include "../common/TestSupport.h"

using namespace pixoral;
using namespace pixoral::generators;

namespace {

QBSettings sample() {
    QBSettings s;
    s.function = {3, 14, 27};
    s.offset = {1, 2, 3};
    s.factor = 99;
    return s;
}

}  // namespace

TEST(QBPresetLine, SkySetsAllSevenValues) {
    QBSettings s;
    ASSERT_EQ(applyPresetLine(QStringLiteral("Sky=0,1,2,10,20,30,200"), s), PresetApply::Applied);
    EXPECT_EQ(s.function, (std::array<int, 3>{0, 1, 2}));
    EXPECT_EQ(s.red(), 10);
    EXPECT_EQ(s.green(), 20);
    EXPECT_EQ(s.blue(), 30);
    EXPECT_EQ(s.factor, 200);
    EXPECT_EQ(presetName(QStringLiteral("Sky=0,1,2,10,20,30,200")), QStringLiteral("Sky"));
    EXPECT_EQ(formatPresetLine(QStringLiteral("Sky"), s), QStringLiteral("Sky=0,1,2,10,20,30,200"));
}

TEST(QBPresetLine, ErrorsKeepTheFieldsTakenBeforeTheBadOne) {
    struct Case {
        const char* line;
        PresetApply result;
        std::array<int, 3> functions;
        std::array<int, 3> offsets;
        int factor;
    };
    // Start state: functions 5, 5, 5, offsets 9, 9, 9, factor 255.
    const Case cases[] = {
        {"NoEquals", PresetApply::Ignored, {5, 5, 5}, {9, 9, 9}, 255},
        {"A=0,1,2,10,20,30", PresetApply::Error, {0, 1, 2}, {10, 20, 30}, 255},  // six fields
        {"A=0,1,x,10,20,30,200", PresetApply::Error, {0, 1, 5}, {9, 9, 9}, 255},
        {"A=0,28,2,10,20,30,200", PresetApply::Error, {0, 5, 5}, {9, 9, 9}, 255},  // index not kept
        {"A=-1,0,0,0,0,0,0", PresetApply::Error, {5, 5, 5}, {9, 9, 9}, 255},
        {"A=", PresetApply::Error, {5, 5, 5}, {9, 9, 9}, 255},
        {"A=0,0,0,300,-1,256,5", PresetApply::Applied, {0, 0, 0}, {44, 255, 0}, 16},  // low bytes, factor up to 16
        {"A=0,0,0,0,0,0,999", PresetApply::Applied, {0, 0, 0}, {0, 0, 0}, 255},
        {"A=1,2,3,4,5,6,100,7", PresetApply::Error, {1, 2, 3}, {4, 5, 6}, 100},  // trailing field
        {"A=1,2,3,4,5,6,99999999999", PresetApply::Error, {1, 2, 3}, {4, 5, 6}, 255},
        {"A=1,2,3,4,5,6,100\r", PresetApply::Applied, {1, 2, 3}, {4, 5, 6}, 100},
        {"A=B=1,2,3,4,5,6,100", PresetApply::Error, {5, 5, 5}, {9, 9, 9}, 255},  // after the first "="
    };
    for (const Case& c : cases) {
        QBSettings s;
        s.function = {5, 5, 5};
        s.offset = {9, 9, 9};
        EXPECT_EQ(applyPresetLine(QString::fromLatin1(c.line), s), c.result) << c.line;
        EXPECT_EQ(s.function, c.functions) << c.line;
        EXPECT_EQ((std::array<int, 3>{s.offset[0], s.offset[1], s.offset[2]}), c.offsets) << c.line;
        EXPECT_EQ(s.factor, c.factor) << c.line;
    }
}

TEST(QBPresetFile, LoadsSortedFindsByNameAndRewritesOnEveryChange) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = qbPresetsPath(dir.path());
    EXPECT_EQ(path, dir.path() + QStringLiteral("/PixoralQB.txt"));
    writeAll(path, "sunset=1,1,1,1,1,1,100\r\n\r\nAurora=2,2,2,2,2,2,100\nbeach=3,3,3,3,3,3,100\nSUNSET=4,4,4,4,4,4,100\n");

    QBPresets p(path);
    ASSERT_TRUE(p.load());
    EXPECT_EQ(p.names(), (QStringList{"Aurora", "beach", "sunset", "SUNSET"}));
    EXPECT_EQ(p.find(QStringLiteral("Sunset")), 2);  // first match, letter case ignored

    QBSettings s;
    EXPECT_EQ(p.applyByName(QStringLiteral("BEACH"), s), PresetApply::Applied);
    EXPECT_EQ(s.function[0], 3);
    const QBSettings kept = s;
    EXPECT_EQ(p.applyByName(QStringLiteral("nowhere"), s), PresetApply::Ignored);
    EXPECT_EQ(s, kept);

    PresetEdit e = p.add(QStringLiteral(" Coral "), sample());
    EXPECT_TRUE(e.changed);
    EXPECT_TRUE(e.message.isEmpty());
    EXPECT_EQ(e.index, 2);
    EXPECT_EQ(QString::fromUtf8(readAll(path)), QStringLiteral("Aurora=2,2,2,2,2,2,100\nbeach=3,3,3,3,3,3,100\nCoral=3,14,27,1,2,3,99\n"
                                            "sunset=1,1,1,1,1,1,100\nSUNSET=4,4,4,4,4,4,100\n"));

    e = p.update(0, QStringLiteral("Zenith"), sample());  // renamed: moves to keep the order
    EXPECT_EQ(e.index, 4);
    EXPECT_EQ(p.names(), (QStringList{"beach", "Coral", "sunset", "SUNSET", "Zenith"}));
    e = p.remove(1);
    EXPECT_TRUE(e.changed);

    QBPresets reloaded(path);
    ASSERT_TRUE(reloaded.load());
    EXPECT_EQ(reloaded.lines(), p.lines());
    EXPECT_EQ(reloaded.names(), (QStringList{"beach", "sunset", "SUNSET", "Zenith"}));
}

TEST(QBPresetFile, EmptyAnswersBadNamesAndNoSelection) {
    QTemporaryDir dir;
    const QString path = qbPresetsPath(dir.path() + QLatin1Char('/'));
    QBPresets p(path);
    ASSERT_TRUE(p.load());  // a missing file is an empty list
    EXPECT_EQ(p.count(), 0);

    EXPECT_FALSE(p.add(QStringLiteral("  "), sample()).changed);
    EXPECT_FALSE(QFile::exists(path));
    const PresetEdit bad = p.add(QStringLiteral("a=b"), sample());
    EXPECT_FALSE(bad.changed);
    EXPECT_FALSE(bad.message.isEmpty());
    EXPECT_FALSE(p.add(QStringLiteral("two\nlines"), sample()).changed);

    const PresetEdit none = p.update(-1, QStringLiteral("X"), sample());
    EXPECT_FALSE(none.changed);
    EXPECT_EQ(none.message, kNoItemSelected);
    EXPECT_FALSE(p.remove(0).changed);

    EXPECT_TRUE(p.add(QStringLiteral("First"), sample()).changed);  // the first Add creates the file
    EXPECT_EQ(QString::fromUtf8(readAll(path)), QStringLiteral("First=3,14,27,1,2,3,99\n"));
    EXPECT_FALSE(p.update(0, QString(), QBSettings{}).changed);
    EXPECT_EQ(QString::fromUtf8(readAll(path)), QStringLiteral("First=3,14,27,1,2,3,99\n"));
}

TEST(QBPresetFile, UnwritableFolderReportsAndKeepsTheList) {
    QTemporaryDir dir;
    QBPresets p(dir.path() + QStringLiteral("/no/such/folder/PixoralQB.txt"));
    const PresetEdit e = p.add(QStringLiteral("Kept"), sample());
    EXPECT_TRUE(e.changed);
    EXPECT_FALSE(e.message.isEmpty());
    EXPECT_EQ(p.names(), QStringList{QStringLiteral("Kept")});

    // A folder where the file should be cannot be read as presets.
    QDir(dir.path()).mkdir(QStringLiteral("PixoralQB.txt"));
    QBPresets q(qbPresetsPath(dir.path()));
    QString error;
    EXPECT_FALSE(q.load(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(QBPresetFile, ShippedBackdropsAreWellFormedAndSorted) {
    QBPresets p(qbPresetsPath(QStringLiteral(PIXORAL_DATA_DIR)));
    ASSERT_TRUE(p.load());
    EXPECT_GE(p.count(), 12);
    QSet<QString> seen;
    QBPresets resorted;
    resorted.setLines(p.lines());
    QFile raw(p.path());
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(raw.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts), resorted.lines());
    for (const QString& line : p.lines()) {
        QBSettings s;
        EXPECT_EQ(applyPresetLine(line, s), PresetApply::Applied) << line.toStdString();
        EXPECT_FALSE(seen.contains(presetName(line).toLower())) << line.toStdString();
        seen.insert(presetName(line).toLower());
    }
}

TEST(QBPresetFile, RenderByNameDrawsOnlyWellFormedPresets) {
    QBPresets p;
    p.setLines({QStringLiteral("Sky=0,1,2,10,20,30,200"), QStringLiteral("Broken=0,1")});
    Bitmap target(5, 4);
    QBSettings s;
    EXPECT_EQ(renderPresetByName(p, QStringLiteral("sky"), s, target), PresetApply::Applied);
    EXPECT_EQ(target.width(), 5);
    EXPECT_EQ(target.pixelFormat(), PixelFormat::pf24bit);
    // Prod, Sum, Sub at (3, 2) with m = 200: 6 + 10, 5 + 20, 1 + 30 in bytes 0, 1, 2.
    EXPECT_EQ(target.pixel(3, 2), rgb(31, 25, 16));

    Bitmap untouched(3, 3);
    EXPECT_EQ(renderPresetByName(p, QStringLiteral("Broken"), s, untouched), PresetApply::Error);
    EXPECT_EQ(renderPresetByName(p, QStringLiteral("Nowhere"), s, untouched), PresetApply::Ignored);
    EXPECT_EQ(untouched.pixelFormat(), PixelFormat::Device);
    EXPECT_EQ(untouched.pixel(1, 1), clWhite);
}
