// The File and Edit menus, and Image > Capture: new images, open and save, the clipboard and
// the screen. Every picture that comes in replaces the workspace through replaceWorkspace().
#include <functional>
#include <QAction>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include "files/Clipboard.h"
#include "files/ImageFile.h"
#include "files/SplitSave.h"
#include "workspace/Commands.h"
#include "workspace/PatternList.h"
#include "workspace/RecentFiles.h"
#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

QString quotedName(const QString& path) { return QLatin1Char('"') + QFileInfo(path).fileName() + QLatin1Char('"'); }

// Pictures from other programs may carry alpha; the workspace has none, so they sit on white.
QImage opaqueOverWhite(const QImage& img) {
    if (!img.hasAlphaChannel()) return img.convertToFormat(QImage::Format_RGB32);
    QImage out(img.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, img);
    p.end();
    return out;
}

}  // namespace

bool TPixoralF::openImageFile(const QString& path) {
    if (!canLoadImageType(imageFileTypeOf(path))) {
        fail(QStringLiteral("Cannot open %1: pictures are opened from .bmp, .gif, .jpg, .jpeg, .png, .ico, .wmf "
                            "and .emf files.")
                 .arg(quotedName(path)));
        return false;
    }
    // Decoded into a copy first, so a file that fails leaves image, size, undo and range alone.
    Bitmap next = workspace();
    QString err;
    if (loadImageFile(path, next, &err) != FileResult::Done) {
        fail(err.isEmpty() ? QStringLiteral("Cannot open %1.").arg(quotedName(path)) : err);
        return false;
    }
    if (!imageSizeAllowed(next.width(), next.height())) {
        fail(QStringLiteral("Cannot open %1: the image is too large.").arg(quotedName(path)));
        return false;
    }
    if (!replaceWorkspace(next)) return false;
    selectWholeImage(*this);
    setStatusText(0, QFileInfo(path).fileName());
    markSaved();
    recent_->note(path);
    return true;
}

bool TPixoralF::saveImageFile(const QString& requested) {
    QString path = requested;
    ImageSaveOptions options;
    options.gifTransparent = settings().gifTransparent;
    QString err;
    if (savePictureAs(&path, workspace(), options, &err) != FileResult::Done) {
        fail(err.isEmpty() ? QStringLiteral("Cannot save %1.").arg(quotedName(path)) : err);
        return false;
    }
    setStatusText(0, QFileInfo(path).fileName());
    markSaved();
    recent_->note(path);
    return true;
}

// ---------------------------------------------------------------- clipboard

namespace {

void CopytoClipboard1Click(TPixoralF& w) { copyToClipboard(w.workspace()); }

// The clipboard's picture as an opaque bitmap; false (with a message where one is due) when
// there is none or it cannot be held.
bool clipboardBitmap(Bitmap& b, const std::function<void(const QString&)>& fail) {
    const QImage img = clipboardImage();
    if (img.isNull()) return false;
    if (!imageSizeAllowed(img.width(), img.height())) {
        fail(QStringLiteral("The picture on the clipboard is too large (%1 x %2).").arg(img.width()).arg(img.height()));
        return false;
    }
    b.fromImage(opaqueOverWhite(img));
    if (b.isEmpty()) {
        fail(QStringLiteral("There is not enough memory for the picture on the clipboard."));
        return false;
    }
    return true;
}

void PastefromClipboard1Click(TPixoralF& w) {
    Bitmap b;
    if (clipboardBitmap(b, [&w](const QString& m) { w.fail(m); })) w.replaceWorkspace(b);
}

void PasteStretchfromClipboard1Click(TPixoralF& w) {
    Bitmap b;
    if (!clipboardBitmap(b, [&w](const QString& m) { w.fail(m); })) return;
    w.canvas().stretchDraw(Rect{0, 0, w.workspace().width(), w.workspace().height()}, b);
    w.repaintWorkspace();
}

// ---------------------------------------------------------------- screen

void Screen1Click(TPixoralF& w) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        w.fail(QStringLiteral("The screen cannot be captured: there is no screen."));
        return;
    }
    if (!w.isBatch() && w.isVisible()) {
        // The window gets out of the picture first; give the window manager a moment.
        w.showMinimized();
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 400) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const QImage shot = screen->grabWindow(0).toImage();
    w.setWindowState(Qt::WindowNoState);
    if (!w.isBatch()) {
        w.show();
        w.activateWindow();
    }
    if (shot.isNull() || !imageSizeAllowed(shot.width(), shot.height())) {
        w.fail(QStringLiteral("The screen cannot be captured."));
        return;
    }
    Bitmap b;
    b.fromImage(shot.convertToFormat(QImage::Format_RGB32));
    if (b.isEmpty()) {
        w.fail(QStringLiteral("There is not enough memory for a picture of the screen."));
        return;
    }
    w.replaceWorkspace(b);
}

// ---------------------------------------------------------------- new images

// File > New's size prompts: anything but an integer gives 100.
NumberPrompt newSizePrompt(const char* text) {
    NumberPrompt p;
    p.caption = QStringLiteral("Pixoral");
    p.text = QString::fromLatin1(text);
    p.defaultText = QStringLiteral("100");
    p.notNumber = NumberPrompt::Refused::Fallback;
    p.fallback = 100;
    return p;
}

void New1Click(TPixoralF& w) {
    const int h = askInt(w.dialogs(), newSizePrompt("Image height:"), 100);
    const int wd = askInt(w.dialogs(), newSizePrompt("Image width:"), 100);
    if (!imageSizeAllowed(wd, h)) {
        w.setWorkspaceSize(wd, h);  // reports
        return;
    }
    w.canvas().pen().style = PenStyle::psSolid;
    w.canvas().brush().setColor(clWhite);
    w.setStatusText(0, QString());
    if (!w.setWorkspaceSize(wd, h)) return;
    w.canvas().fillRect(Rect{0, 0, wd, h});
    w.repaintWorkspace();
}

void NewBanner1Click(TPixoralF& w) {
    w.canvas().brush().setColor(clWhite);
    w.setShapeflagColors(w.shapeflagPenColor(), clWhite);
    if (w.setWorkspaceSize(468, 60)) selectWholeImage(w);
}

void Open1Click(TPixoralF& w) {
    if (const auto path = w.dialogs().openPicture(QStringLiteral("Open"), openPictureFilter(), 1)) w.openImageFile(*path);
}

void SaveAs1Click(TPixoralF& w) {
    if (const auto path = w.dialogs().savePicture(QStringLiteral("Save As"), savePictureFilter(), 1)) w.saveImageFile(*path);
}

// ---------------------------------------------------------------- split save

void splitSave(TPixoralF& w, SplitKind kind) {
    const auto chosen = w.dialogs().savePicture(QStringLiteral("Split Save"), savePictureFilter(), 1);
    if (!chosen) return;
    QString error;
    if (!writeSplit(w.workspace(), kind, w.settings().splitImageCount, *chosen, &error)) w.fail(error);
}

// The item shows the count taken. A number outside 2..10 changes nothing; text that is not a
// number counts as 2, and the item then says 2 rather than repeating the text.
void ImageCount1Click(TPixoralF& w) {
    const QString answer = w.dialogs().inputBox(kImageCountPrompt.caption, kImageCountPrompt.text, kImageCountPrompt.defaultText);
    const PromptResult r = acceptAnswer(kImageCountPrompt, answer, w.settings().splitImageCount);
    bool isNumber = false;
    answer.trimmed().toInt(&isNumber);
    if (r.refused && isNumber) return;
    w.settings().splitImageCount = static_cast<int>(r.value);
    if (QAction* item = w.findChild<QAction*>(QStringLiteral("ImageCount1")))
        item->setText(QStringLiteral("Image Count=") + QString::number(w.settings().splitImageCount));
}

void Redo1Click(TPixoralF& w) {
    if (w.undoRing().redo(w.workspace())) w.repaintWorkspace();
}

}  // namespace

MenuEntry fileMenu() {
    using namespace rows;
    return sub("&File", {
        item("&New", &New1Click).named("New1"),
        item("New &Banner", &NewBanner1Click).named("NewBanner1"),
        item("&Open...", &Open1Click).named("Open1").key("Ctrl+O"),
        item("Save &As...", &SaveAs1Click).named("SaveAs1").key("Ctrl+S"),
        recentMenu(),
        openPatternRow(),
        savePatternRow(),
        sub("Split Save", {item("&Vertical Split...", [](TPixoralF& w) { splitSave(w, SplitKind::Vertical); }).named("VerticalSplit1"),
                           item("&Horizontal Split...", [](TPixoralF& w) { splitSave(w, SplitKind::Horizontal); }).named("HorizontalSplit1"),
                           item("&Puzzle Split...", [](TPixoralF& w) { splitSave(w, SplitKind::Puzzle); }).named("PuzzleSplit1"), sep(),
                           item("Image Count...", &ImageCount1Click).named("ImageCount1")}),
        sep(),
        item("Print...", [](TPixoralF& w) { w.windows().showPrintPreview(); }).named("Print1"),
        sep(),
        item("E&xit", [](TPixoralF& w) { w.close(); }),
    });
}

MenuEntry editMenu() {
    using namespace rows;
    return sub("&Edit", {
        item("&Copy to Clipboard", &CopytoClipboard1Click).named("CopytoClipboard1"),
        item("&Paste from Clipboard", &PastefromClipboard1Click).named("PastefromClipboard1"),
        item("Paste &Stretch from Clipboard", &PasteStretchfromClipboard1Click).named("PasteStretchfromClipboard1"),
        sep(),
        item("&Redo", &Redo1Click).named("Redo1").key("Ctrl+Y").key("Ctrl+Shift+Z"),
    });
}

MenuEntry captureMenu() { return rows::sub("Capture", {rows::item("&Screen", &Screen1Click).named("Screen1")}); }

}  // namespace pixoral
