// End-to-end: a range selected with the mouse or by Select All, a Range item run on it, the
// pixels and the state checked, all through the real executable in batch mode.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "BatchProcess.h"

#include "canvas/Bitmap.h"

using namespace pixoral;

namespace {

TColor patternColor(int x, int y) {
    return static_cast<TColor>(((x * 7 + y * 13) & 0xFF) | ((x * 3) & 0xFF) << 8 | ((y * 5) & 0xFF) << 16);
}

QString writePattern(const QTemporaryDir& dir, int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.setPixel(x, y, patternColor(x, y));
    const QString path = dir.filePath("in.bmp");
    EXPECT_TRUE(b.saveToFile(path));
    return path;
}

struct RangeRun {
    BatchOutcome outcome;
    Bitmap image;
    QJsonObject state;
};

RangeRun runRange(const QTemporaryDir& dir, QStringList args) {
    const QString out = dir.filePath("out.bmp");
    QFile::remove(out);
    args << "--save" << out << "--state" << "-";
    RangeRun r;
    r.outcome = runBatch(args, dir.path());
    EXPECT_EQ(r.outcome.code, 0) << r.outcome.err.toStdString();
    EXPECT_TRUE(r.image.loadFromFile(out));
    r.state = QJsonDocument::fromJson(r.outcome.out.toUtf8()).object();
    return r;
}

}  // namespace

TEST(RangeBatch, SelectedWithTheMouseInEitherDirectionAndInverted) {
    QTemporaryDir dir;
    const QString in = writePattern(dir, 60, 40);
    for (const char* dragPath : {"10,5:25,20:40,30", "40,30:25,20:10,5"}) {
        const RangeRun r = runRange(dir, {"--open", in, "--do", "Toolbar>Select Range", "--drag", dragPath, "--do", "Range>Invert"});
        const QJsonArray range = r.state["range"].toArray();
        const bool forward = dragPath[0] == '1';
        EXPECT_EQ(range, forward ? (QJsonArray{10, 5, 40, 30}) : (QJsonArray{40, 30, 10, 5}));
        EXPECT_EQ(r.state["drawingMode"].toString(), QString());
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                const bool inside = x >= 10 && x < 40 && y >= 5 && y < 30;
                const TColor want = inside ? (patternColor(x, y) ^ 0xFFFFFF) : patternColor(x, y);
                ASSERT_EQ(r.image.pixel(x, y), want) << dragPath << " at " << x << "," << y;
            }
    }
}

TEST(RangeBatch, SelectAllLogicTileAndMoveThroughTheMenus) {
    QTemporaryDir dir;
    // Select All + Or > Red on the white start image: red everywhere, size kept.
    RangeRun r = runRange(dir, {"--do", "Range>Select All", "--do", "Range>Logic>Or>Red"});
    EXPECT_EQ(r.state["range"].toArray(), (QJsonArray{0, 0, 256, 256}));
    EXPECT_EQ(r.image.width(), 256);
    EXPECT_EQ(r.image.pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(r.image.pixel(255, 255), 0x0000FFu);

    // Tile > All of a 10 by 10 range on a 95 by 95 image.
    const QString in = writePattern(dir, 95, 95);
    r = runRange(dir, {"--open", in, "--do", "Toolbar>Select Range", "--drag", "20,30:30,40", "--do", "Range>Tile>All"});
    bool tiled = true;
    for (int y = 0; y < 95 && tiled; ++y)
        for (int x = 0; x < 95 && tiled; ++x) tiled = r.image.pixel(x, y) == patternColor(20 + x % 10, 30 + y % 10);
    EXPECT_TRUE(tiled);

    // Move leaves source invert as the copy mode, which the state reports.
    r = runRange(dir, {"--open", in, "--do", "Toolbar>Select Range", "--drag", "0,0:5,5", "--do", "Range>Move", "--drag",
                  "50,50:60,60:70,70"});
    EXPECT_EQ(r.state["copyMode"].toInteger(), 0x00660046);
    EXPECT_EQ(r.state["drawingMode"].toString(), "rangemove");
    // Off white the copy is the exclusive-or of the background and the inverted range.
    EXPECT_EQ(r.image.pixel(70, 70), patternColor(0, 0) ^ patternColor(70, 70) ^ 0xFFFFFF);
    EXPECT_EQ(r.image.pixel(50, 50), patternColor(50, 50));  // the first copy was taken away
}
