// Split save: tile names and rectangles, the HTML page, the files written, and the page seen
// in a real browser showing the whole image.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

#include "../common/TestSupport.h"
#include "files/GifCodec.h"
#include "files/SplitSave.h"

using namespace pixoral;

namespace {

struct NameCase {
    SplitKind kind;
    const char* path;
    int count;
    int tiles;
    const char* first;
    const char* last;
};

TEST(SplitSave, TileNames) {
    const NameCase cases[] = {
        {SplitKind::Vertical, "/w/pic.gif", 2, 2, "/w/pic.gif0.gif", "/w/pic.gif1.gif"},
        {SplitKind::Horizontal, "/w/PIC.GIF", 3, 3, "/w/PIC.GIF0.gif", "/w/PIC.GIF2.gif"},
        {SplitKind::Puzzle, "/w/pic.gif", 10, 100, "/w/pic00.gif", "/w/pic99.gif"},
        {SplitKind::Puzzle, "/w/a.b.JPG", 2, 4, "/w/a.b00.jpg", "/w/a.b11.jpg"},
        {SplitKind::Vertical, "/w/pic.bmp", 2, 0, "", ""},
        {SplitKind::Vertical, "/w/pic", 2, 0, "", ""},
    };
    for (const NameCase& c : cases) {
        const auto tiles = splitTiles(c.kind, 256, 256, c.count, QString::fromLatin1(c.path));
        ASSERT_EQ(int(tiles.size()), c.tiles) << c.path;
        EXPECT_EQ(splitExtension(QString::fromLatin1(c.path)).has_value(), c.tiles > 0) << c.path;
        if (tiles.empty()) continue;
        EXPECT_EQ(tiles.front().path, QString::fromLatin1(c.first));
        EXPECT_EQ(tiles.back().path, QString::fromLatin1(c.last));
    }
    EXPECT_EQ(splitPagePath(QStringLiteral("/w/pic.gif")), QStringLiteral("/w/pic.htm"));
}

// Exact shares, the last row and column taking the remainder: every pixel in exactly one tile.
TEST(SplitSave, TilesCoverTheWholeImage) {
    const auto h = splitTiles(SplitKind::Horizontal, 100, 40, 3, QStringLiteral("p.gif"));
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(h[0].rect, (Rect{0, 0, 33, 40}));
    EXPECT_EQ(h[2].rect, (Rect{66, 0, 100, 40}));
    EXPECT_EQ(splitTiles(SplitKind::Vertical, 256, 256, 2, QStringLiteral("p.gif"))[1].rect, (Rect{0, 128, 256, 256}));

    const int w = 101, ht = 103;
    std::vector<int> hits(w * ht, 0);
    for (const SplitTile& t : splitTiles(SplitKind::Puzzle, w, ht, 10, QStringLiteral("p.jpg")))
        for (int y = t.rect.top; y < t.rect.bottom; ++y)
            for (int x = t.rect.left; x < t.rect.right; ++x) ++hits[y * w + x];
    EXPECT_TRUE(std::all_of(hits.begin(), hits.end(), [](int n) { return n == 1; }));
    // Too small to cut: no tiles (writeSplit then says so).
    EXPECT_TRUE(splitTiles(SplitKind::Puzzle, 5, 100, 10, QStringLiteral("p.gif")).empty());
}

TEST(SplitSave, PageLinesEndInCrLf) {
    const auto v = splitTiles(SplitKind::Vertical, 10, 10, 2, QStringLiteral("/w/pic.gif"));
    EXPECT_EQ(splitPageText(SplitKind::Vertical, v),
              QStringLiteral("<HTML><HEADER><TITLE>Pixoral Split</TITLE>\r\n</HEADER>\r\n<BODY>\r\n"
                             "<IMG SRC=\"pic.gif0.gif\"><BR>\r\n<IMG SRC=\"pic.gif1.gif\"><BR>\r\n</BODY></HTML>\r\n"));
    const auto h = splitTiles(SplitKind::Horizontal, 10, 10, 2, QStringLiteral("/w/my pic.gif"));
    EXPECT_EQ(splitPageText(SplitKind::Horizontal, h),
              QStringLiteral("<HTML><HEADER><TITLE>Pixoral Split</TITLE>\r\n</HEADER>\r\n<BODY>\r\n"
                             "<IMG SRC=\"my%20pic.gif0.gif\"><IMG SRC=\"my%20pic.gif1.gif\">\r\n</BODY></HTML>\r\n"));
}

// An image of a few flat colours in uneven blocks, so a tile out of place shows.
Bitmap blocks(int w, int h) {
    static const TColor kColors[] = {clRed, clNavy, clLime, clYellow, clBlack, clAqua, clWhite};
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.setPixel(x, y, kColors[(x * 5 / w + y * 3 / h * 2) % 7]);
    return b;
}

TEST(SplitSave, WritesTilesAndStopsAtTheFirstFailure) {
    QTemporaryDir dir;
    const QString pic = dir.filePath(QStringLiteral("pic.gif"));
    QString error;
    ASSERT_TRUE(writeSplit(blocks(256, 256), SplitKind::Vertical, 2, pic, &error)) << error.toStdString();
    QImage tile;
    ASSERT_TRUE(decodeGif(readAll(pic + QStringLiteral("1.gif")), &tile, &error));
    EXPECT_EQ(tile.size(), QSize(256, 128));
    EXPECT_TRUE(readAll(dir.filePath(QStringLiteral("pic.htm"))).startsWith("<HTML>"));

    EXPECT_FALSE(writeSplit(blocks(20, 20), SplitKind::Puzzle, 2, dir.filePath(QStringLiteral("none/p.jpg")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("\"p00.jpg\""))) << error.toStdString();
    EXPECT_FALSE(writeSplit(blocks(20, 20), SplitKind::Puzzle, 2, dir.filePath(QStringLiteral("p.png")), &error));
    EXPECT_EQ(error, kInvalidExtensionMessage);
}

// The page of a vertical and of a horizontal split, opened in headless Chromium, shows the
// image whole at the body's 8-pixel margin.
TEST(SplitSave, BrowserShowsThePageAsTheWholeImage) {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) GTEST_SKIP() << "chromium is not installed";
    const Bitmap image = blocks(203, 157);
    const QImage original = image.toImage();
    for (SplitKind kind : {SplitKind::Vertical, SplitKind::Horizontal}) {
        QTemporaryDir dir;
        QString error;
        ASSERT_TRUE(writeSplit(image, kind, 3, dir.filePath(QStringLiteral("pic.gif")), &error)) << error.toStdString();
        const QString shot = dir.filePath(QStringLiteral("shot.png"));
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                           QStringLiteral("--hide-scrollbars"), QStringLiteral("--force-device-scale-factor=1"),
                           QStringLiteral("--user-data-dir=") + dir.filePath(QStringLiteral("profile")),
                           QStringLiteral("--screenshot=") + shot, QStringLiteral("--window-size=400,300"),
                           QStringLiteral("file://") + dir.filePath(QStringLiteral("pic.htm"))});
        ASSERT_TRUE(p.waitForFinished(120000));
        const QImage seen(shot);
        ASSERT_FALSE(seen.isNull()) << p.readAllStandardError().toStdString();
        int wrong = 0;
        for (int y = 0; y < original.height(); ++y)
            for (int x = 0; x < original.width(); ++x)
                wrong += (seen.pixel(x + 8, y + 8) & 0xFFFFFF) != (original.pixel(x, y) & 0xFFFFFF);
        EXPECT_EQ(wrong, 0) << (kind == SplitKind::Vertical ? "vertical" : "horizontal");
        // Nothing of the image beyond its size: the next row below it is the page's white.
        EXPECT_EQ(seen.pixel(8, 8 + original.height()) & 0xFFFFFF, 0xFFFFFFu);
    }
}

}  // namespace
