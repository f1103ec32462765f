// Undo ring, settings file and program folder, without a window.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <vector>
#include <gtest/gtest.h>

#include "canvas/Canvas.h"
#include "workspace/ProgramFolder.h"
#include "workspace/UndoRing.h"
#include "workspace/WindowSettings.h"
#include "../common/TestSupport.h"

using namespace pixoral;

namespace {

}  // namespace

TEST(UndoRing, StopsAtTheOldestStepAndRedoes) {
    UndoRing ring;
    Bitmap ws = filled(4, 4, clWhite);
    ring.push(ws);                  // the first step, as the first showing stores it
    ws = filled(4, 4, clRed);       // an effect after it
    ASSERT_TRUE(ring.undo(ws));
    EXPECT_EQ(ws.pixel(0, 0), clWhite);
    EXPECT_EQ(ws.width(), 4);       // never the blank 250 by 250 slots
    EXPECT_FALSE(ring.undo(ws));
    EXPECT_EQ(ws.width(), 4);
    EXPECT_EQ(ws.pixel(0, 0), clWhite);
    ASSERT_TRUE(ring.redo(ws));
    EXPECT_EQ(ws.pixel(0, 0), clRed);
    EXPECT_FALSE(ring.redo(ws));
}

TEST(UndoRing, KeepsTenStepsAndANewStepDropsRedo) {
    UndoRing ring;
    Bitmap ws(2, 2);
    for (int i = 0; i < 12; ++i) {  // steps 0..11, each then overwritten by the next
        ws.setPixel(0, 0, rgb(i, 0, 0));
        ring.push(ws);
    }
    ws.setPixel(0, 0, rgb(99, 0, 0));
    for (int expected = 11; expected >= 2; --expected) {
        ASSERT_TRUE(ring.undo(ws)) << expected;
        EXPECT_EQ(getRValue(ws.pixel(0, 0)), expected);
    }
    EXPECT_FALSE(ring.undo(ws));  // steps 0 and 1 were overwritten
    ASSERT_TRUE(ring.redo(ws));
    EXPECT_EQ(getRValue(ws.pixel(0, 0)), 3);
    ring.push(ws);
    EXPECT_FALSE(ring.redo(ws));
    ASSERT_TRUE(ring.undo(ws));
    EXPECT_EQ(getRValue(ws.pixel(0, 0)), 3);
}

TEST(UndoRing, ResizeKeepsTopLeftOfEveryStep) {
    UndoRing ring;
    Bitmap ws = filled(10, 10, clBlue);
    ring.push(ws);
    ring.resizeAll(4, 4);    // crops
    ring.resizeAll(20, 6);   // grows again: the cropped part stays white
    ws = Bitmap(20, 6);
    ASSERT_TRUE(ring.undo(ws));
    EXPECT_EQ(ws.width(), 20);
    EXPECT_EQ(ws.height(), 6);
    EXPECT_EQ(ws.pixel(3, 3), clBlue);
    EXPECT_EQ(ws.pixel(5, 3), clWhite);
    EXPECT_EQ(ws.pixel(3, 5), clWhite);
}

TEST(UndoRing, SharedStepsUndoAndRedoExactlyInEveryFormat) {
    // Row bytes compared directly: the steps must come back byte for byte.
    auto same = [](const Bitmap& a, const Bitmap& b) {
        if (a.width() != b.width() || a.height() != b.height() || a.pixelFormat() != b.pixelFormat()) return false;
        for (int y = 0; y < a.height(); ++y)
            if (std::memcmp(a.scanLine(y), b.scanLine(y), std::size_t(a.rowDataBytes())) != 0) return false;
        return true;
    };
    for (const PixelFormat f : {PixelFormat::Device, PixelFormat::pf24bit, PixelFormat::pf8bit, PixelFormat::pf4bit,
                                PixelFormat::pf1bit}) {
        UndoRing ring;
        Bitmap ws(2048, 512, f);  // many tiles: short strokes change a few and share the rest
        std::vector<Bitmap> states;
        for (int i = 0; i < 6; ++i) {
            states.push_back(ws);
            states.back().setPixel(0, 0, ws.pixel(0, 0));  // a copy of its own
            EXPECT_FALSE(ring.push(ws).lostSomething());
            ws.canvas().pen().color = i % 2 ? clBlack : clRed;
            ws.canvas().moveTo(300 * i + 10, 70 * i + 10);
            ws.canvas().lineTo(300 * i + 60, 70 * i + 40);
        }
        const Bitmap last = ws;
        if (f == PixelFormat::Device) {
            const std::size_t image = std::size_t(ws.rowDataBytes()) * std::size_t(ws.height());
            EXPECT_LT(ring.bytesHeld(), image + image / 4);  // one picture and the strokes' tiles
        }
        for (int i = 5; i >= 0; --i) {
            ASSERT_TRUE(ring.undo(ws)) << i;
            EXPECT_TRUE(same(ws, states[std::size_t(i)])) << pixelFormatName(f) << " step " << i;
        }
        EXPECT_FALSE(ring.undo(ws));
        for (int i = 1; i <= 6; ++i) {
            ASSERT_TRUE(ring.redo(ws));
            EXPECT_TRUE(same(ws, i < 6 ? states[std::size_t(i)] : last)) << pixelFormatName(f) << " redo " << i;
        }
    }
}

TEST(UndoRing, BudgetDropsOldestStepsAndSaysSo) {
    UndoRing ring;
    const std::size_t image = 200 * 100 * 4;
    ring.setBudget(image * 5 / 2);  // two whole pictures and a half
    const TColor colors[] = {clRed, clLime, clBlue, clYellow};
    Bitmap ws(200, 100);
    int dropped = 0;
    for (const TColor c : colors) {  // every step differs in every tile
        ws.fill(c);
        const UndoRing::Kept kept = ring.push(ws);
        EXPECT_TRUE(kept.stored);
        dropped += kept.droppedSteps;
        EXPECT_EQ(UndoRing::keptMessage(kept).isEmpty(), kept.droppedSteps == 0);
        EXPECT_LE(ring.bytesHeld(), ring.budget());
    }
    EXPECT_EQ(dropped, 2);
    EXPECT_EQ(ring.storedSteps(), 2);
    ws.fill(clWhite);
    UndoRing::Kept kept;
    ASSERT_TRUE(ring.undo(ws, &kept));  // keeping the white picture for redo costs the older step
    EXPECT_EQ(ws.pixel(5, 5), clYellow);
    EXPECT_EQ(kept.droppedSteps, 1);
    EXPECT_EQ(UndoRing::keptMessage(kept), QStringLiteral("Oldest undo steps dropped"));
    EXPECT_FALSE(ring.undo(ws));
    ASSERT_TRUE(ring.redo(ws));
    EXPECT_EQ(ws.pixel(5, 5), clWhite);

    // A picture larger than the whole budget is not stored at all, and says so.
    Bitmap huge(400, 400);
    kept = ring.push(huge);
    EXPECT_FALSE(kept.stored);
    EXPECT_EQ(UndoRing::keptMessage(kept), QStringLiteral("Too large to undo"));
    EXPECT_LE(ring.bytesHeld(), ring.budget());
}

TEST(WindowSettings, ReadsDefaultsForWhatIsMissingOrMalformed) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("p.ini");
    struct Case {
        const char* text;
        WindowSettings expected;
    };
    const Case cases[] = {
        {nullptr, {"maximized", 0, 0, 500, 400}},
        {"", {"maximized", 0, 0, 500, 400}},
        {"[Window]\nState=normal\nLeft=10\nTop=20\nWidth=640\nHeight=480\n", {"normal", 10, 20, 640, 480}},
        {"[Window]\r\nState=normal\r\nWidth=x\r\n", {"normal", 0, 0, 500, 400}},
        {"[Other]\nState=normal\nLeft=5\n", {"maximized", 0, 0, 500, 400}},
        {"[window]\nstate=odd\nleft=-7\n", {"odd", -7, 0, 500, 400}},
        {"garbage without sections\n=\n[Window\n", {"maximized", 0, 0, 500, 400}},
    };
    for (const Case& c : cases) {
        QFile::remove(ini);
        if (c.text) writeAll(ini, c.text);
        EXPECT_EQ(readWindowSettings(ini), c.expected) << (c.text ? c.text : "(no file)");
    }
}

TEST(WindowSettings, WriteReplacesTheSectionAndKeepsTheRest) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("p.ini");
    writeAll(ini, "; comment\n[Other]\nA=1\n\n[Window]\nState=maximized\nExtra=keep?\n[Last]\nB=2\n");
    const WindowSettings s{"normal", 3, 4, 700, 500};
    ASSERT_TRUE(writeWindowSettings(ini, s));
    EXPECT_EQ(readWindowSettings(ini), s);
    const QByteArray text = readAll(ini);
    EXPECT_TRUE(text.contains("; comment\n[Other]\nA=1\n"));
    EXPECT_TRUE(text.contains("[Last]\nB=2\n"));
    EXPECT_EQ(text.count("State="), 1);
    // A fresh file gets the section; nothing temporary is left beside it.
    const QString fresh = dir.filePath("new.ini");
    ASSERT_TRUE(writeWindowSettings(fresh, s));
    EXPECT_EQ(readAll(fresh), QByteArray("[Window]\nState=normal\nLeft=3\nTop=4\nWidth=700\nHeight=500\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    // An unwritable place fails with a reason and no crash.
    QString err;
    EXPECT_FALSE(writeWindowSettings(dir.filePath("missing/dir/p.ini"), s, &err));
    EXPECT_FALSE(err.isEmpty());
    // A file too large to be read whole is not cut down to the part that was read.
    const QByteArray huge = "[Window]\nState=normal\n" + QByteArray(1 << 20, ';') + "\n[Tail]\nT=1\n";
    writeAll(ini, huge);
    err.clear();
    EXPECT_FALSE(writeWindowSettings(ini, s, &err));
    EXPECT_FALSE(err.isEmpty());
    EXPECT_EQ(readAll(ini), huge);
}

TEST(ProgramFolder, OverrideThenExecutableFolderThenSeededUserFolder) {
    QTemporaryDir root;
    const QString exe = root.filePath("bin"), user = root.filePath("user"), data = root.filePath("data");
    QDir().mkpath(exe);
    writeAll(exe + "/patterns.bmp", "strip");
    writeAll(exe + "/unrelated", "x");
    EXPECT_EQ(resolveProgramFolder(exe, user, data), data + "/");
    EXPECT_TRUE(QDir(data).exists());
    EXPECT_EQ(resolveProgramFolder(exe, user, QString()), exe + "/");

    writeAll(exe + "/PixoralQB.txt", "shipped");
    QDir().mkpath(user);
    writeAll(user + "/PixoralQB.txt", "mine");  // the user's copy is never overwritten
    seedFolder(exe, user);
    EXPECT_EQ(readAll(user + "/patterns.bmp"), QByteArray("strip"));
    EXPECT_FALSE(QFile::exists(user + "/unrelated"));
    EXPECT_EQ(readAll(user + "/PixoralQB.txt"), QByteArray("mine"));
}

TEST(ProgramFolder, InstalledProgramUsesTheUserFolderSeededFromItsDataFolder) {
    QTemporaryDir root;
    const QString exe = root.filePath("bin"), user = root.filePath("user");
    const QString shipped = QDir::cleanPath(exe + "/" PIXORAL_DATA_FROM_BIN);
    QDir().mkpath(exe);  // writable, but no shipped file beside the executable
    QDir().mkpath(shipped);
    writeAll(shipped + "/patterns.bmp", "installed strip");
    EXPECT_EQ(shippedDataFolder(exe), shipped + "/");
    EXPECT_EQ(resolveProgramFolder(exe, user, QString()), user + "/");
    EXPECT_EQ(readAll(user + "/patterns.bmp"), QByteArray("installed strip"));
}
