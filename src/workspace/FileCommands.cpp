// File > Open and Save As, the GIF option, the clipboard and the screen capture.
#include <functional>
#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include "files/ImageFile.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

const QString kPngMime = QStringLiteral("image/png");

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

// The clipboard's picture, or a null image when it holds none.
QImage clipboardImage() {
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    if (!m) return {};
    QImage img;
    if (m->hasImage()) img = qvariant_cast<QImage>(m->imageData());
    if (img.isNull() && m->hasFormat(kPngMime)) img.loadFromData(m->data(kPngMime), "PNG");
    return img;
}

}  // namespace

// The classic entries in their classic order (entry 1 "All", entry 5 "Bitmaps"), PNG added.
QString TPixoralF::openFilter() {
    return QStringLiteral(
        "All (*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png)|*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png|"
        "CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|"
        "Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|"
        "PNG Image (*.png)|*.png");
}

QString TPixoralF::saveFilter() {
    return QStringLiteral("Graphic Files (bmp,gif or jpg)|*.bmp;*.gif;*.jpg|BMP Files|*.bmp|PNG Image (*.png)|*.png");
}

void TPixoralF::Open1Click() {
    if (const auto path = dialogs().openPicture(QStringLiteral("Open"), openFilter(), 1)) openImageFile(*path);
}

void TPixoralF::SaveAs1Click() {
    if (const auto path = dialogs().savePicture(QStringLiteral("Save As"), saveFilter(), 1)) saveImageFile(*path);
}

bool TPixoralF::openImageFile(const QString& path) {
    if (!canLoadImageType(imageFileTypeOf(path))) {
        fail(QStringLiteral("Cannot open %1: pictures are opened from .bmp, .gif, .jpg, .jpeg, .png, .ico, .wmf "
                            "and .emf files.")
                 .arg(quotedName(path)));
        return false;
    }
    // Decoded into a copy first, so a file that fails leaves image, size, undo and range alone.
    Bitmap next = workspace_;
    QString err;
    if (loadImageFile(path, next, &err) != FileResult::Done) {
        fail(err.isEmpty() ? QStringLiteral("Cannot open %1.").arg(quotedName(path)) : err);
        return false;
    }
    if (!sizeIsValid(next.width(), next.height())) {
        fail(QStringLiteral("Cannot open %1: the image is too large.").arg(quotedName(path)));
        return false;
    }
    workspace_ = next;
    setStatusText(0, QFileInfo(path).fileName());
    undo_.resizeAll(workspace_.width(), workspace_.height());
    range_.range = Rect{0, 0, workspace_.width(), workspace_.height()};
    repaintWorkspace();
    markSaved();
    noteRecentFile(path);
    return true;
}

bool TPixoralF::saveImageFile(const QString& requested) {
    QString path = requested;
    // A bare name gets a bitmap rather than nothing at all.
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".bmp");
    if (!canSaveImageType(imageFileTypeOf(path))) {
        fail(QStringLiteral("Cannot save %1: pictures are saved as .bmp, .gif, .jpg, .jpeg or .png files.")
                 .arg(quotedName(path)));
        return false;
    }
    ImageSaveOptions options;
    options.gifTransparent = settings_.gifTransparent;
    QString err;
    if (pixoral::saveImageFile(path, workspace_, options, &err) != FileResult::Done) {
        fail(err.isEmpty() ? QStringLiteral("Cannot save %1.").arg(quotedName(path)) : err);
        return false;
    }
    setStatusText(0, QFileInfo(path).fileName());
    markSaved();
    noteRecentFile(path);
    return true;
}

void TPixoralF::GifTransClick() {
    settings_.gifTransparent = !settings_.gifTransparent;
    if (auto* a = findChild<QAction*>(QStringLiteral("GifTrans"))) a->setChecked(settings_.gifTransparent);
}

// ---------------------------------------------------------------- clipboard

void TPixoralF::CopytoClipboard1Click() {
    const QImage img = workspace_.toImage();
    auto* mime = new QMimeData;
    mime->setImageData(img);
    // PNG bytes as well, for programs that take no other picture format.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (img.save(&buffer, "PNG")) mime->setData(kPngMime, png);
    QGuiApplication::clipboard()->setMimeData(mime);
}

namespace {
// The clipboard's picture as an opaque bitmap; false (with a message where one is due) when
// there is none or it cannot be held.
bool clipboardBitmap(Bitmap& b, const std::function<void(const QString&)>& fail) {
    const QImage img = clipboardImage();
    if (img.isNull()) return false;
    if (!TPixoralF::sizeIsValid(img.width(), img.height())) {
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
}  // namespace

void TPixoralF::PastefromClipboard1Click() {
    Bitmap b;
    if (!clipboardBitmap(b, [this](const QString& m) { fail(m); })) return;
    workspace_ = b;
    repaintWorkspace();
}

void TPixoralF::PasteStretchfromClipboard1Click() {
    Bitmap b;
    if (!clipboardBitmap(b, [this](const QString& m) { fail(m); })) return;
    canvas().stretchDraw(Rect{0, 0, workspace_.width(), workspace_.height()}, b);
    repaintWorkspace();
}

// ---------------------------------------------------------------- screen

void TPixoralF::Screen1Click() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        fail(QStringLiteral("The screen cannot be captured: there is no screen."));
        return;
    }
    if (!options_.batch && isVisible()) {
        // The window gets out of the picture first; give the window manager a moment.
        showMinimized();
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 400) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const QImage shot = screen->grabWindow(0).toImage();
    setWindowState(Qt::WindowNoState);
    if (!options_.batch) {
        show();
        activateWindow();
    }
    if (shot.isNull() || !sizeIsValid(shot.width(), shot.height())) {
        fail(QStringLiteral("The screen cannot be captured."));
        return;
    }
    Bitmap b;
    b.fromImage(shot.convertToFormat(QImage::Format_RGB32));
    if (b.isEmpty()) {
        fail(QStringLiteral("There is not enough memory for a picture of the screen."));
        return;
    }
    workspace_ = b;
    repaintWorkspace();
}

}  // namespace pixoral
