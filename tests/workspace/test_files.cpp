// File > Open and Save As, the GIF option, the clipboard, the screen capture and the pattern
// list, driven through the window's menu paths with scripted dialogs.
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QListWidget>
#include <QMimeData>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "../common/MetaWriter.h"
#include "files/ImageFile.h"
#include "workspace/PatternLibrary.h"
#include "workspace/PictureDialogs.h"
#include "WindowFixture.h"
#include "workspace/PatternList.h"
#include "workspace/TPixoralF.h"
#include "../common/TestSupport.h"

using namespace pixoral;

namespace {

// ---- the shipped pattern strip, one letter a pixel ----

TColor letterColor(char c) {
    switch (c) {
        case 'k': return clBlack;  case 'm': return clMaroon; case 'g': return clGreen;   case 'o': return clOlive;
        case 'n': return clNavy;   case 'p': return clPurple; case 't': return clTeal;    case 's': return clSilver;
        case 'a': return clGray;   case 'r': return clRed;    case 'l': return clLime;    case 'y': return clYellow;
        case 'b': return clBlue;   case 'f': return clFuchsia; case 'q': return clAqua;   default: return clWhite;
    }
}

// Bricks, checks, fine checks, dots, polka dots, basket weave, diagonal stripes, bands,
// pinstripes, grid, diamonds, zigzag, crosses, waves, tiles, tartan.
const char* const kArt[16][8] = {
    {"rrrsrrrr", "rrrsrrrr", "rrrsrrrr", "ssssssss", "rrrrrrrs", "rrrrrrrs", "rrrrrrrs", "ssssssss"},
    {"kkkkwwww", "kkkkwwww", "kkkkwwww", "kkkkwwww", "wwwwkkkk", "wwwwkkkk", "wwwwkkkk", "wwwwkkkk"},
    {"awawawaw", "wawawawa", "awawawaw", "wawawawa", "awawawaw", "wawawawa", "awawawaw", "wawawawa"},
    {"kwwwkwww", "wwwwwwww", "wwkwwwkw", "wwwwwwww", "kwwwkwww", "wwwwwwww", "wwkwwwkw", "wwwwwwww"},
    {"qqqqqqqq", "qnnqqqqq", "qnnqqqqq", "qqqqqqqq", "qqqqqqqq", "qqqqqnnq", "qqqqqnnq", "qqqqqqqq"},
    {"yyyyoyoy", "oooooyoy", "yyyyoyoy", "oooooyoy", "oyoyyyyy", "oyoyoooo", "oyoyyyyy", "oyoyoooo"},
    {"bbwwbbww", "wbbwwbbw", "wwbbwwbb", "bwwbbwwb", "bbwwbbww", "wbbwwbbw", "wwbbwwbb", "bwwbbwwb"},
    {"gggggggg", "gggggggg", "llllllll", "llllllll", "gggggggg", "gggggggg", "llllllll", "llllllll"},
    {"msssmsss", "msssmsss", "msssmsss", "msssmsss", "msssmsss", "msssmsss", "msssmsss", "msssmsss"},
    {"tttttttt", "twwwwwww", "twwwwwww", "twwwwwww", "twwwwwww", "twwwwwww", "twwwwwww", "twwwwwww"},
    {"wwwwpwww", "wwwpwpww", "wwpwwwpw", "wpwwwwwp", "pwwwwwww", "wpwwwwwp", "wwpwwwpw", "wwwpwpww"},
    {"ryyyyyyy", "yryyyyyr", "yyryyyry", "yyyryryy", "yyyyryyy", "yyyyyyyy", "yyyyyyyy", "yyyyyyyy"},
    {"ssssssss", "ssskssss", "ssskssss", "skkkkkss", "ssskssss", "ssskssss", "ssssssss", "ssssssss"},
    {"wnnwwwww", "nwwnwwww", "wwwwnwwn", "wwwwwnnw", "wttwwwww", "twwtwwww", "wwwwtwwt", "wwwwwttw"},
    {"wwwwwwwa", "wqqqqqta", "wqqqqqta", "wqqqqqta", "wqqqqqta", "wqqqqqta", "wtttttta", "aaaaaaaa"},
    {"rrnrrgrr", "rrnrrgrr", "nnnnnknn", "rrnrrgrr", "rrnrrgrr", "ggkggggg", "rrnrrgrr", "rrnrrgrr"},
};

Bitmap artStrip() {
    Bitmap strip = emptyPatternStrip();
    for (int n = 0; n < 16; ++n)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) strip.setPixel(8 * n + x, y, letterColor(kArt[n][y][x]));
    return strip;
}

QString shippedStripPath() {
    return QStringLiteral(PIXORAL_DATA_DIR "/patterns.bmp");
}

int bmpBitCount(const QByteArray& b) { return b.size() >= 30 ? int(uchar(b[28])) | int(uchar(b[29])) << 8 : -1; }
int bmpWidth(const QByteArray& b) { return b.size() >= 26 ? int(uchar(b[18])) | int(uchar(b[19])) << 8 : -1; }
int bmpHeight(const QByteArray& b) { return b.size() >= 26 ? int(uchar(b[22])) | int(uchar(b[23])) << 8 : -1; }

bool sameCell(const Bitmap& a, int an, const Bitmap& b, int bn) {
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (a.pixel(8 * an + x, y) != b.pixel(8 * bn + x, y)) return false;
    return true;
}

// Four flat quadrants of colours every format keeps exactly (JPEG nearly).
Bitmap quadrants(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.setPixel(x, y, y < h / 2 ? (x < w / 2 ? clRed : clLime) : (x < w / 2 ? clBlue : clWhite));
    return b;
}

bool near(TColor a, TColor b, int tolerance) {
    for (int s = 0; s < 24; s += 8)
        if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > tolerance) return false;
    return true;
}

struct Win : TestWindow {
    // `prepare` fills the program folder before the window starts.
    explicit Win(const std::function<void(const QString&)>& prepare = {}, bool batch = true)
        : TestWindow({true, batch, prepare}) {}
    QString file(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QListWidget* patList() const { return w->findChild<QListWidget*>(QStringLiteral("PatList")); }
};

void copyShippedStrip(const QString& folder) {
    ASSERT_TRUE(QFile::copy(shippedStripPath(), folder + QStringLiteral("patterns.bmp")));
}

}  // namespace

// ---------------------------------------------------------------- filters

TEST(PictureDialogs, PipeFiltersBecomeQtFilters) {
    const struct {
        const char* pipe;
        QStringList qt;
    } cases[] = {
        {"All (*.gif;*.jpg)|*.gif;*.jpg|Bitmaps (*.bmp)|*.bmp", {"All (*.gif *.jpg)", "Bitmaps (*.bmp)"}},
        {"Graphic Files (bmp,gif or jpg)|*.bmp;*.gif;*.jpg|BMP Files|*.bmp",
         {"Graphic Files (bmp,gif or jpg) (*.bmp *.gif *.jpg)", "BMP Files (*.bmp)"}},
        {"Anything", {"Anything (*)"}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(qtNameFilters(QString::fromUtf8(c.pipe)), c.qt) << c.pipe;
    // The open filter keeps the classic entries where the other commands expect them.
    const QStringList open = qtNameFilters(openPictureFilter());
    ASSERT_GE(open.size(), 8);
    EXPECT_TRUE(open[0].startsWith("All (") && open[0].contains("*.wmf") && open[0].contains("*.png"));
    EXPECT_EQ(open[4], QStringLiteral("Bitmaps (*.bmp)"));
    EXPECT_EQ(qtNameFilters(savePictureFilter()).value(1), QStringLiteral("BMP Files (*.bmp)"));
}

// ---------------------------------------------------------------- open and save

TEST(FileCommands, OpensEveryFormatByItsExtension) {
    Win f;
    TPixoralF& w = *f.w;
    const Bitmap picture = quadrants(40, 30);
    struct Case {
        const char* name;
        int tolerance;  // JPEG is lossy
    };
    const Case cases[] = {{"pic.bmp", 0}, {"pic.gif", 0}, {"PIC.JPG", 24}, {"pic.jpeg", 24}, {"pic.png", 0}, {"Pic.Gif", 0}};
    for (const Case& c : cases) {
        const QString path = f.file(c.name);
        QString err;
        ASSERT_EQ(saveImageFile(path, picture, {}, &err), FileResult::Done) << err.toStdString();
        f.run("Toolbar>Resize Image", {"300", "200"});  // different size, undo steps follow it
        w.rangeState().range = Rect{5, 6, 7, 8};
        w.PushImage();
        f.run("File>Open", {path});
        ASSERT_EQ(w.workspace().width(), 40) << c.name;
        ASSERT_EQ(w.workspace().height(), 30) << c.name;
        EXPECT_TRUE(near(w.workspace().pixel(5, 5), clRed, c.tolerance)) << c.name;
        EXPECT_TRUE(near(w.workspace().pixel(35, 25), clWhite, c.tolerance)) << c.name;
        EXPECT_TRUE(near(w.workspace().pixel(5, 25), clBlue, c.tolerance)) << c.name;
        EXPECT_EQ(w.statusText(0), QString::fromUtf8(c.name));
        EXPECT_EQ(w.rangeState().range, (Rect{0, 0, 40, 30})) << c.name;
        EXPECT_FALSE(w.isModified()) << c.name;
        ASSERT_FALSE(f.dialogs->pictureRequests().empty());
        const auto& req = f.dialogs->pictureRequests().back();
        EXPECT_FALSE(req.save);
        EXPECT_EQ(req.filterIndex, 1);
        EXPECT_EQ(req.filter, openPictureFilter());
        // Every stored step took the new size.
        w.actionForPath(QStringLiteral("Toolbar>Undo"))->trigger();
        EXPECT_EQ(w.workspace().width(), 40) << c.name;
        EXPECT_EQ(w.workspace().height(), 30) << c.name;
    }
    EXPECT_TRUE(f.dialogs->messages().isEmpty()) << f.dialogs->messages().join('\n').toStdString();

    // An icon is drawn over the old content, which shows through its transparent half.
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x) icon.setPixel(x, y, qRgb(0, 0, 255));
    ASSERT_TRUE(icon.save(f.file("i.ico"), "ICO"));
    f.run("Image>Clear Default");
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) w.workspace().setPixel(x, y, clLime);
    f.run("File>Open", {f.file("i.ico")});
    ASSERT_EQ(w.workspace().width(), 32);
    ASSERT_EQ(w.workspace().height(), 32);
    EXPECT_EQ(w.workspace().pixel(3, 3), clBlue);
    EXPECT_EQ(w.workspace().pixel(28, 3), clLime);

    // A metafile resizes the workspace to its frame and plays over the old content.
    metawriter::Wmf m;
    m.pen(5, 0, 0);
    m.select(0);
    m.brush(0, clNavy, 0);
    m.select(1);
    m.rectangle(0, 0, 500, 250);
    writeAll(f.file("m.wmf"), m.file(true, 0, 0, 1000, 500, 960));
    f.run("File>Open", {f.file("m.wmf")});
    EXPECT_EQ(w.workspace().width(), 100);
    EXPECT_EQ(w.workspace().height(), 50);
    EXPECT_EQ(w.workspace().pixel(10, 10), clNavy);
    EXPECT_EQ(w.workspace().pixel(31, 31), clLime);
    EXPECT_EQ(w.statusText(0), QStringLiteral("m.wmf"));
}

TEST(FileCommands, BrokenFilesGiveAMessageAndChangeNothing) {
    Win f;
    TPixoralF& w = *f.w;
    f.run("Toolbar>Resize Image", {"30", "50"});
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 50; ++x) w.workspace().setPixel(x, y, x < 25 ? clTeal : clYellow);
    const Bitmap before = w.workspace();
    w.PushImage();
    w.setStatusText(0, QStringLiteral("kept.bmp"));
    w.rangeState().range = Rect{9, 8, 3, 2};
    const int steps = w.undoRing().storedSteps();

    QByteArray gif, png;
    ASSERT_EQ(encodeImageData(ImageFileType::Gif, quadrants(20, 20), {}, &gif, nullptr), FileResult::Done);
    ASSERT_EQ(encodeImageData(ImageFileType::Png, quadrants(20, 20), {}, &png, nullptr), FileResult::Done);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"cut.gif", gif.left(gif.size() / 2)}, {"empty.jpg", {}},           {"png-inside.jpg", png},
        {"gif-inside.bmp", gif},               {"noise.ico", QByteArray("\0\0\1\0garbage", 11)}, {"noise.wmf", "nothing here"},
        {"noise.emf", QByteArray(200, '\x7f')}, {"cut.png", png.left(40)},
    };
    QStringList names;
    for (const auto& c : cases) {
        writeAll(f.file(c.name), c.bytes);
        names << QString::fromUtf8(c.name);
    }
    writeAll(f.file("notes.txt"), "text");
    names << "notes.txt" << "missing.gif";
    for (const QString& name : names) {
        f.dialogs->clearMessages();
        f.run("File>Open", {f.dir.filePath(name)});
        ASSERT_EQ(f.dialogs->messages().size(), 1) << name.toStdString();
        EXPECT_TRUE(f.dialogs->messages().front().contains(name)) << f.dialogs->messages().front().toStdString();
        EXPECT_FALSE(w.takeFailure().isEmpty());
        EXPECT_TRUE(samePixels(w.workspace(), before)) << name.toStdString();
        EXPECT_EQ(w.rangeState().range, (Rect{9, 8, 3, 2}));
        EXPECT_EQ(w.statusText(0), QStringLiteral("kept.bmp"));
        EXPECT_EQ(w.undoRing().storedSteps(), steps);
    }
    // The undo steps kept their size too.
    w.actionForPath(QStringLiteral("Toolbar>Undo"))->trigger();
    EXPECT_EQ(w.workspace().width(), 50);
    // A cancelled dialog does nothing at all.
    f.dialogs->clearMessages();
    f.run("File>Open", {":cancel"});
    EXPECT_TRUE(f.dialogs->messages().isEmpty());
}

TEST(FileCommands, SaveAsWritesTheFormatOfTheExtension) {
    Win f;
    TPixoralF& w = *f.w;
    f.run("Toolbar>Resize Image", {"24", "32"});
    const struct {
        const char* name;
        QByteArray magic;
    } cases[] = {{"a.bmp", "BM"},           {"a.gif", "GIF89a"}, {"a.jpg", "\xFF\xD8\xFF"},
                 {"b.JPEG", "\xFF\xD8\xFF"}, {"a.png", "\x89PNG"}, {"c.Bmp", "BM"}};
    for (const auto& c : cases) {
        const QString path = f.file(c.name);
        f.run("File>Save As", {path});
        const QByteArray bytes = readAll(path);
        EXPECT_TRUE(bytes.startsWith(c.magic)) << c.name;
        EXPECT_EQ(w.statusText(0), QString::fromUtf8(c.name));
        const auto& req = f.dialogs->pictureRequests().back();
        EXPECT_TRUE(req.save);
        EXPECT_EQ(req.filterIndex, 1);
        EXPECT_EQ(req.filter, savePictureFilter());
    }
    // Ordinary JPEG saves are quality 25.
    QByteArray q25;
    ImageSaveOptions o;
    o.jpegQuality = 25;
    ASSERT_EQ(encodeImageData(ImageFileType::Jpeg, w.workspace(), o, &q25, nullptr), FileResult::Done);
    EXPECT_EQ(readAll(f.file("b.JPEG")), q25);
    EXPECT_TRUE(f.dialogs->messages().isEmpty());

    // A type that cannot be written: a message, no file, the status keeps the last name.
    f.run("File>Save As", {f.file("a.tif")});
    EXPECT_FALSE(QFile::exists(f.file("a.tif")));
    ASSERT_EQ(f.dialogs->messages().size(), 1);
    EXPECT_TRUE(f.dialogs->messages().front().contains("a.tif"));
    EXPECT_EQ(w.statusText(0), QStringLiteral("c.Bmp"));
    // A folder that does not exist: the platform's reason, nothing written.
    f.dialogs->clearMessages();
    f.run("File>Save As", {f.file("no/such/dir/x.png")});
    EXPECT_EQ(f.dialogs->messages().size(), 1);
}

TEST(FileCommands, GifTransparentOptionMakesTheBottomLeftColourClear) {
    Win f;
    TPixoralF& w = *f.w;
    QAction* option = w.actionForPath("Options>GIF Image>Transparent");
    ASSERT_NE(option, nullptr);
    EXPECT_TRUE(option->isCheckable());
    EXPECT_FALSE(option->isChecked());
    f.run("Toolbar>Resize Image", {"20", "20"});
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) w.workspace().setPixel(x, y, (x + y) % 3 == 0 ? clRed : clWhite);
    ASSERT_EQ(w.workspace().pixel(0, 19), clWhite);  // bottom-left

    auto alphaAt = [&](const QString& path, int x, int y) {
        QImageReader r(path, "gif");
        const QImage img = r.read();
        return img.isNull() ? -1 : qAlpha(img.pixel(x, y));
    };
    f.run("File>Save As", {f.file("plain.gif")});
    EXPECT_EQ(alphaAt(f.file("plain.gif"), 1, 0), 255);

    f.run("Options>GIF Image>Transparent");
    EXPECT_TRUE(option->isChecked());
    EXPECT_TRUE(w.settings().gifTransparent);
    f.run("File>Save As", {f.file("clear.gif")});
    EXPECT_EQ(alphaAt(f.file("clear.gif"), 1, 0), 0);    // white, far from the corner
    EXPECT_EQ(alphaAt(f.file("clear.gif"), 0, 19), 0);
    EXPECT_EQ(alphaAt(f.file("clear.gif"), 0, 0), 255);  // red
    // Other formats are not affected except PNG, which takes the same rule.
    f.run("File>Save As", {f.file("clear.bmp")});
    Bitmap bmp;
    ASSERT_TRUE(bmp.loadFromFile(f.file("clear.bmp")));
    EXPECT_EQ(bmp.pixel(1, 0), clWhite);

    f.run("Options>GIF Image>Transparent");
    EXPECT_FALSE(option->isChecked());
    EXPECT_FALSE(w.settings().gifTransparent);
}

// ---------------------------------------------------------------- clipboard and screen

TEST(FileCommands, ClipboardCopyPasteAndPasteStretch) {
    Win f;
    TPixoralF& w = *f.w;
    QClipboard* cb = QGuiApplication::clipboard();
    f.run("Toolbar>Resize Image", {"12", "16"});
    for (int x = 0; x < 16; ++x) w.workspace().setPixel(x, 3, clPurple);
    f.run("Edit>Copy to Clipboard");
    const QMimeData* m = cb->mimeData();
    ASSERT_NE(m, nullptr);
    ASSERT_TRUE(m->hasFormat("image/png"));
    const QImage png = QImage::fromData(m->data("image/png"), "PNG");
    ASSERT_EQ(png.size(), QSize(16, 12));
    EXPECT_EQ(png.pixel(7, 3), qRgb(128, 0, 128));
    EXPECT_EQ(png.pixel(7, 4), qRgb(255, 255, 255));

    // Paste takes the clipboard's size; range and undo steps stay as they were.
    QImage small(10, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) small.setPixel(x, y, x < 5 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    cb->setImage(small);
    f.run("Image>Clear Default");
    w.rangeState().range = Rect{1, 2, 30, 40};
    const int steps = w.undoRing().storedSteps();
    f.run("Edit>Paste Stretch from Clipboard");
    ASSERT_EQ(w.workspace().width(), 256);
    const int xs[] = {0, 127, 128, 255};
    const TColor want[] = {clRed, clRed, clBlue, clBlue};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.workspace().pixel(xs[i], 0), want[i]) << xs[i];
        EXPECT_EQ(w.workspace().pixel(xs[i], 255), want[i]) << xs[i];
    }
    f.run("Edit>Paste from Clipboard");
    EXPECT_EQ(w.workspace().width(), 10);
    EXPECT_EQ(w.workspace().height(), 10);
    EXPECT_EQ(w.workspace().pixel(4, 9), clRed);
    EXPECT_EQ(w.workspace().pixel(5, 0), clBlue);
    EXPECT_EQ(w.rangeState().range, (Rect{1, 2, 30, 40}));
    EXPECT_EQ(w.undoRing().storedSteps(), steps);

    // A picture with alpha lands on white.
    QImage glass(4, 4, QImage::Format_ARGB32);
    glass.fill(qRgba(0, 0, 0, 0));
    glass.setPixel(1, 1, qRgba(0, 128, 0, 255));
    cb->setImage(glass);
    f.run("Edit>Paste from Clipboard");
    EXPECT_EQ(w.workspace().pixel(0, 0), clWhite);
    EXPECT_EQ(w.workspace().pixel(1, 1), clGreen);

    // No picture on the clipboard: both pastes do nothing and say nothing.
    cb->setText(QStringLiteral("just text"));
    const Bitmap kept = w.workspace();
    f.run("Edit>Paste from Clipboard");
    f.run("Edit>Paste Stretch from Clipboard");
    EXPECT_TRUE(samePixels(w.workspace(), kept));
    EXPECT_TRUE(f.dialogs->messages().isEmpty());
}

TEST(FileCommands, ScreenCaptureTakesTheScreensSize) {
    Win f;
    TPixoralF& w = *f.w;
    w.rangeState().range = Rect{3, 3, 9, 9};
    const int steps = w.undoRing().storedSteps();
    f.run("Image>Capture>Screen");
    QScreen* s = QGuiApplication::primaryScreen();
    ASSERT_NE(s, nullptr);
    const QSize want = s->geometry().size() * s->devicePixelRatio();
    EXPECT_EQ(w.workspace().width(), want.width());
    EXPECT_EQ(w.workspace().height(), want.height());
    EXPECT_EQ(w.rangeState().range, (Rect{3, 3, 9, 9}));
    EXPECT_EQ(w.undoRing().storedSteps(), steps);
    EXPECT_FALSE(w.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    EXPECT_TRUE(f.dialogs->messages().isEmpty());
}

// ---------------------------------------------------------------- patterns

TEST(Patterns, ShippedStripHoldsSixteenDistinctPatterns) {
    // PIXORAL_WRITE_PATTERNS=path regenerates the shipped file from the art above.
    if (const QByteArray out = qgetenv("PIXORAL_WRITE_PATTERNS"); !out.isEmpty()) {
        ASSERT_TRUE(artStrip().saveToFile(QString::fromLocal8Bit(out)));
    }
    const QByteArray bytes = readAll(shippedStripPath());
    ASSERT_FALSE(bytes.isEmpty()) << shippedStripPath().toStdString();
    EXPECT_EQ(bmpBitCount(bytes), 4);
    EXPECT_EQ(bmpWidth(bytes), 128);
    EXPECT_EQ(bmpHeight(bytes), 8);
    Bitmap strip;
    QString err;
    ASSERT_TRUE(loadPatternStrip(shippedStripPath(), &strip, &err)) << err.toStdString();
    EXPECT_EQ(strip.pixelFormat(), PixelFormat::pf4bit);
    EXPECT_TRUE(samePixels(strip, artStrip()));
    for (int a = 0; a < 16; ++a)
        for (int b = a + 1; b < 16; ++b) EXPECT_FALSE(sameCell(strip, a, strip, b)) << a << " " << b;
}

TEST(Patterns, MissingOrUnreadableStripStartsEmpty) {
    {
        Win f;
        EXPECT_EQ(f.w->patterns().strip().width(), 128);
        EXPECT_EQ(f.w->patterns().strip().height(), 8);
        EXPECT_TRUE(samePixels(f.w->patterns().strip(), emptyPatternStrip()));
        EXPECT_TRUE(f.dialogs->messages().isEmpty());
        EXPECT_EQ(f.w->canvas().brush().bitmap(), nullptr);
        // Nothing changed, so nothing is written at the close.
        f.w->close();
        EXPECT_FALSE(QFile::exists(f.file("patterns.bmp")));
    }
    const QByteArray junk("BM this is not a bitmap at all");
    Win f([&](const QString& folder) { writeAll(folder + "patterns.bmp", junk); }, false);
    ASSERT_EQ(f.dialogs->messages().size(), 1);
    EXPECT_TRUE(f.dialogs->messages().front().contains("patterns.bmp"));
    EXPECT_TRUE(samePixels(f.w->patterns().strip(), emptyPatternStrip()));
    // An unchanged strip leaves the unreadable file as it is ...
    f.dialogs->pushAnswer("no");  // the window-close question, should one come
    f.dialogs->pushAnswer("no");
    f.w->close();
    EXPECT_EQ(readAll(f.file("patterns.bmp")), junk);
    // ... and an updated one keeps it aside.
    f.dialogs->clearAnswers();
    Win g([&](const QString& folder) { writeAll(folder + "patterns.bmp", junk); }, false);
    g.patList()->setCurrentRow(2);
    g.press("UpdatePattern1");
    g.dialogs->pushAnswer("no");
    g.w->close();
    EXPECT_EQ(readAll(g.file("patterns.bmp.bak")), junk);
    Bitmap written;
    ASSERT_TRUE(loadPatternStrip(g.file("patterns.bmp"), &written, nullptr));
    EXPECT_TRUE(samePixels(written, g.w->patterns().strip()));
}

TEST(Patterns, ClickSelectsTheBrushAndTheListDrawsThePatterns) {
    Win f(copyShippedStrip);
    TPixoralF& w = *f.w;
    QListWidget* list = f.patList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 16);
    EXPECT_EQ(list->currentRow(), -1);
    const Bitmap art = artStrip();

    // Owner drawing: each item shows its pattern stretched into its 25 by 16 cell.
    const QImage shot = list->viewport()->grab().toImage();
    for (int n : {0, 1, 7, 15}) {
        const QRect r = list->visualItemRect(list->item(n));
        ASSERT_EQ(r.size(), QSize(25, 16)) << n;
        for (int j = 0; j < 8; ++j)
            for (int i = 0; i < 8; ++i) {
                const QPoint p(r.x() + (2 * i + 1) * r.width() / 16, r.y() + 2 * j + 1);
                const QRgb px = shot.pixel(p);
                EXPECT_EQ(rgb(qRed(px), qGreen(px), qBlue(px)), art.pixel(8 * n + i, j)) << n << " " << i << "," << j;
            }
    }

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(list->currentRow(), 1);
    const auto brush = w.canvas().brush().bitmap();
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->pixelFormat(), PixelFormat::pf4bit);
    EXPECT_EQ(brush->width(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(brush->pixel(x, y), art.pixel(8 + x, y));
    // The brush fills with the pattern.
    w.canvas().fillRect(Rect{0, 0, 16, 16});
    EXPECT_EQ(w.workspace().pixel(0, 0), clBlack);
    EXPECT_EQ(w.workspace().pixel(4, 0), clWhite);
    EXPECT_EQ(w.workspace().pixel(12, 12), clBlack);
}

TEST(Patterns, UpdateSamplesTheWorkspaceIntoItsCellOnly) {
    Win f(copyShippedStrip);
    TPixoralF& w = *f.w;
    const Bitmap before = w.patterns().strip();
    // Nothing selected: Update does nothing.
    f.press("UpdatePattern1");
    EXPECT_TRUE(samePixels(w.patterns().strip(), before));
    EXPECT_EQ(w.canvas().brush().bitmap(), nullptr);

    // Only the pixels (16 + 32i, 16 + 32j) count.
    const TColor colors[] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver,
                             clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) w.workspace().setPixel(x, y, clYellow);
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) w.workspace().setPixel(16 + 32 * i, 16 + 32 * j, colors[(i + 3 * j) % 16]);
    f.patList()->setCurrentRow(3);
    f.press("UpdatePattern1");
    const Bitmap& strip = w.patterns().strip();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 128; ++x) {
            if (x >= 24 && x < 32) EXPECT_EQ(strip.pixel(x, y), colors[((x - 24) + 3 * y) % 16]) << x << "," << y;
            else EXPECT_EQ(strip.pixel(x, y), before.pixel(x, y)) << x << "," << y;
        }
    ASSERT_NE(w.canvas().brush().bitmap(), nullptr);
    EXPECT_EQ(w.canvas().brush().bitmap()->pixel(1, 0), colors[1]);

    // Edit then Update without painting gives back the same pattern.
    f.patList()->setCurrentRow(10);
    f.press("EditPattern1");
    EXPECT_EQ(w.workspace().pixel(4 * 32 + 5, 0), clPurple);  // the diamond's top, enlarged
    EXPECT_EQ(w.workspace().pixel(3 * 32 + 31, 32 + 31), clPurple);
    const Bitmap edited = w.patterns().strip();
    f.press("UpdatePattern1");
    EXPECT_TRUE(samePixels(w.patterns().strip(), edited));
}

TEST(Patterns, SaveAndOpenPatternFiles) {
    Win f(copyShippedStrip);
    TPixoralF& w = *f.w;
    f.patList()->setCurrentRow(5);
    f.press("EditPattern1");
    // Saved as a true 4-bit 8 by 8 bitmap file, whatever the name says.
    f.run("File>Save Pattern", {f.file("weave.gif")});
    const QByteArray bytes = readAll(f.file("weave.gif"));
    EXPECT_TRUE(bytes.startsWith("BM"));
    EXPECT_EQ(bmpBitCount(bytes), 4);
    EXPECT_EQ(bmpWidth(bytes), 8);
    EXPECT_EQ(bmpHeight(bytes), 8);
    EXPECT_EQ(f.dialogs->pictureRequests().back().filterIndex, 2);
    EXPECT_TRUE(f.dialogs->pictureRequests().back().save);
    QFile::rename(f.file("weave.gif"), f.file("weave.bmp"));

    // Opened stretched over the whole workspace, whatever its size.
    f.run("Toolbar>Resize Image", {"40", "80"});
    f.run("File>Open Pattern", {f.file("weave.bmp")});
    EXPECT_EQ(f.dialogs->pictureRequests().back().filterIndex, 5);
    EXPECT_FALSE(f.dialogs->pictureRequests().back().save);
    EXPECT_EQ(w.workspace().width(), 80);
    const Bitmap art = artStrip();
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) EXPECT_EQ(w.workspace().pixel(10 * i + 5, 5 * j + 2), art.pixel(40 + i, j)) << i << "," << j;
    // Update takes it back into another cell.
    f.patList()->setCurrentRow(0);
    f.press("UpdatePattern1");
    EXPECT_TRUE(sameCell(w.patterns().strip(), 0, art, 5));

    // A file that cannot be read: a message, the workspace unchanged.
    writeAll(f.file("bad.bmp"), "BMxx");
    const Bitmap kept = w.workspace();
    f.run("File>Open Pattern", {f.file("bad.bmp")});
    EXPECT_EQ(f.dialogs->messages().size(), 1);
    EXPECT_TRUE(samePixels(w.workspace(), kept));
}

TEST(Patterns, StripIsWrittenBackAtTheClose) {
    Win f(copyShippedStrip, false);
    TPixoralF& w = *f.w;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) w.workspace().setPixel(x, y, x < 128 ? clNavy : clLime);
    f.patList()->setCurrentRow(15);
    f.press("UpdatePattern1");
    // Not yet: the strip lives in memory until the close.
    EXPECT_TRUE(sameCell(artStrip(), 15, [&] {
        Bitmap b;
        loadPatternStrip(f.file("patterns.bmp"), &b, nullptr);
        return b;
    }(), 15));
    f.dialogs->pushAnswer("no");  // do not save the picture
    ASSERT_TRUE(f.w->close());
    const QByteArray bytes = readAll(f.file("patterns.bmp"));
    EXPECT_EQ(bmpBitCount(bytes), 4);  // the file's depth is kept
    Bitmap written;
    ASSERT_TRUE(loadPatternStrip(f.file("patterns.bmp"), &written, nullptr));
    EXPECT_EQ(written.pixel(120, 0), clNavy);
    EXPECT_EQ(written.pixel(127, 7), clLime);
    EXPECT_TRUE(sameCell(written, 3, artStrip(), 3));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden).filter("patterns").size(), 1);
}
