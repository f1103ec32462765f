// The image popup: pictures in (file, range, Quick Button) and out (file), inverting, and
// painting into the workspace transparently or through a raster operation.
#include <QFileInfo>
#include <cstdlib>

#include "effects/Range.h"
#include "files/ImageFile.h"
#include "generators/TButtonF.h"
#include "workspace/Gadgets.h"
#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

using F = TPixoralF;

GadgetImage* image(F& w) {
    auto* i = w.gadgets().targetAs<GadgetImage>();
    if (!i) w.fail(QStringLiteral("Open the popup menu on an image first."));
    return i;
}

QString quoted(const QString& path) { return QLatin1Char('"') + QFileInfo(path).fileName() + QLatin1Char('"'); }

// A new picture for the gadget, refused with a message when the program cannot hold it.
bool takePicture(F& w, GadgetImage& i, const Bitmap& picture, const QString& what) {
    if (!imageSizeAllowed(picture.width(), picture.height())) {
        w.fail(QStringLiteral("%1 is too large for an image gadget.").arg(what));
        return false;
    }
    i.picture() = picture;
    i.pictureChanged();
    return true;
}

void LoadImage1Click(F& w) {
    GadgetImage* i = image(w);
    if (!i) return;
    if (const auto path = w.dialogs().openPicture(QStringLiteral("Load Image"), openPictureFilter(), 1))
        loadGadgetPicture(w, *i, *path);
}

void LoadRange1Click(F& w) {
    GadgetImage* i = image(w);
    if (!i) return;
    const Rect r = w.rangeState().range;
    const int width = std::abs(r.right - r.left), height = std::abs(r.bottom - r.top);
    if (width == 0 || height == 0) {
        w.fail(QStringLiteral("The range is empty."));
        return;
    }
    if (!imageSizeAllowed(width, height)) {
        w.fail(QStringLiteral("The range is too large for an image gadget."));
        return;
    }
    // One to one: a range copied into a gadget keeps every pixel it had.
    Bitmap b(width, height, PixelFormat::pf24bit);
    b.canvas().setCopyMode(cmSrcCopy);
    b.canvas().copyRect(Rect{0, 0, width, height}, w.canvas(), r);
    takePicture(w, *i, b, QStringLiteral("The range"));
}

void LoadQuickButton1Click(F& w) {
    if (GadgetImage* i = image(w)) takePicture(w, *i, w.windows().quickButton()->picture(), QStringLiteral("The button"));
}

void SaveAs3Click(F& w) {
    GadgetImage* i = image(w);
    if (!i) return;
    const auto chosen = w.dialogs().savePicture(QStringLiteral("Save As"), savePictureFilter(), 1);
    if (!chosen) return;
    QString path = *chosen;
    ImageSaveOptions options;
    options.gifTransparent = w.settings().gifTransparent;
    QString err;
    if (savePictureAs(&path, i->picture(), options, &err) != FileResult::Done) {
        w.fail(err.isEmpty() ? QStringLiteral("Cannot save %1.").arg(quoted(path)) : err);
        return;
    }
    w.setStatusText(0, QFileInfo(path).fileName());
}

void Invert3Click(F& w) {
    GadgetImage* i = image(w);
    if (!i) return;
    Canvas& c = i->picture().canvas();
    const CopyMode was = c.copyMode();
    const Rect all{0, 0, i->picture().width(), i->picture().height()};
    c.setCopyMode(cmDstInvert);
    c.copyRect(all, c, all);
    c.setCopyMode(was);
    i->pictureChanged();
}

void PaintImageClick(F& w) {
    GadgetImage* i = image(w);
    if (!i) return;
    paintGadgetPicture(w.canvas(), i->picture(), i->at());
    w.repaintWorkspace();
}

void TransParent1Click(F& w) {
    GadgetImage* i = image(w);
    if (!i) return;
    bool& on = w.gadgets().imageTransparent;
    on = !on;
    i->setShowsTransparent(on);
}

void CaptureTransparentColor1Click(F& w) {
    GadgetImage* i = image(w);
    if (!i) return;
    Bitmap& b = i->picture();
    b.setPixelFormat(w.workspace().pixelFormat());
    const QPoint p = w.gadgets().lastPress();
    const TColor c = b.pixel(p.x(), p.y());
    b.transparent = true;
    // A press outside the picture has no colour: the bottom-left pixel's stays the key.
    b.transparentColor = c == TColor(-1) ? clDefault : c;
    i->pictureChanged();
}

MenuEntry paintSpecial(const char* caption, const char* name, CopyMode mode) {
    return rows::item(caption, [mode](F& w) {
               GadgetImage* i = image(w);
               if (!i) return;
               Canvas& c = w.canvas();
               const CopyMode was = c.copyMode();
               const Bitmap& b = i->picture();
               c.setCopyMode(mode);
               c.copyRect(Rect{i->at().x, i->at().y, i->at().x + b.width(), i->at().y + b.height()}, b.canvas(),
                          Rect{0, 0, b.width(), b.height()});
               c.setCopyMode(was);
               w.repaintWorkspace();
           }).named(QString::fromLatin1(name));
}

}  // namespace

bool loadGadgetPicture(TPixoralF& w, GadgetImage& i, const QString& path) {
    Bitmap b;
    QString err;
    switch (readImageFile(path, &b, &err)) {
        case FileResult::Skipped: return true;  // not a picture type: nothing loaded, nothing said
        case FileResult::Failed:
            w.fail(err.isEmpty() ? QStringLiteral("Cannot open %1.").arg(quoted(path)) : err);
            return false;
        case FileResult::Done: break;
    }
    return takePicture(w, i, b, quoted(path));
}

MenuEntry imagePopup() {
    using namespace rows;
    return sub("imgpop", {
        item("Load Image...", &LoadImage1Click).named("LoadImage1"),
        item("Load Range", &LoadRange1Click).named("LoadRange1"),
        item("Load Quick Button", &LoadQuickButton1Click).named("LoadQuickButton1"),
        item("Save As...", &SaveAs3Click).named("SaveAs3"),
        sep(),
        item("Invert", &Invert3Click).named("Invert3"),
        item("Paint", &PaintImageClick),
        item("TransParent", &TransParent1Click).named("TransParent1").flag(MenuEntry::Checkable),
        item("Capture Transparent Color", &CaptureTransparentColor1Click).named("CaptureTransparentColor1"),
        sub("Paint Special", {
            paintSpecial("MergeCopy", "MergeCopy2", cmMergeCopy),
            paintSpecial("MergePaint", "MergePaint2", cmMergePaint),
            paintSpecial("NotSrcCopy", "NotSrcCopy1", cmNotSrcCopy),
            paintSpecial("NotSrcErase", "NotSrcErase1", cmNotSrcErase),
            paintSpecial("SrcAnd", "SrcAnd1", cmSrcAnd),
            paintSpecial("SrcErase", "SrcErase1", cmSrcErase),
            paintSpecial("SrcInvert", "SrcInvert1", cmSrcInvert),
            paintSpecial("SrcPaint", "SrcPaint1", cmSrcPaint),
        }),
    }).named("imgpop");
}

}  // namespace pixoral
