#include "workspace/SecondaryWindows.h"

#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <algorithm>

#include "effects/TPixoralEffectsF.h"
#include "files/TPaintPreviewF.h"
#include "generators/TPixoralFLF.h"
#include "generators/TGraphF.h"
#include "generators/TPixoralQBF.h"
#include "generators/TQuickPreviewF.h"
#include "generators/TSurf3DF.h"
#include "generators/TQuickCellF.h"
#include "generators/TJpegPreviewF.h"
#include "generators/TButtonF.h"
#include "generators/TFractalsF.h"
#include "ui/HelpViewer.h"
#include "ui/WorkspaceHost.h"
#include "workspace/WorkspaceSettings.h"
#include "workspace/ScriptRecorder.h"

namespace pixoral {

namespace {

// Where a window first appears: beside or below the main window, so it hides no part of the
// workspace it works on, or in the middle of the screen for a window that works on a picture
// of its own; kept on the screen. Later showings keep where the user put it.
enum class Place { Right, Below, Centre };
void placeOnce(QWidget* w, const QWidget* main, Place where) {
    if (w->property("pixoralPlaced").toBool()) return;
    w->setProperty("pixoralPlaced", true);
    const QRect m = main->frameGeometry();
    QPoint at = where == Place::Below ? m.bottomLeft() + QPoint(0, 4) : m.topRight() + QPoint(4, 0);
    if (const QScreen* s = main->screen()) {
        const QRect room = s->availableGeometry();
        if (where == Place::Centre) {
            w->adjustSize();  // not shown yet: its size comes from its layout
            at = room.center() - QPoint(w->width() / 2, w->height() / 2);
        }
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - w->width())));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - w->height())));
    }
    w->move(at);
}

void showInFront(QWidget* w, const QWidget* main, Place where) {
    placeOnce(w, main, where);
    w->show();
    w->raise();
    w->activateWindow();
}

}  // namespace

SecondaryWindows::SecondaryWindows(WorkspaceHost& host, QWidget* main, const WorkspaceSettings& settings,
                                   ScriptRecorder& recorder, script::TPixoralScriptF::Runner runScript, QString helpFolder)
    : host_(host), main_(main), helpFolder_(std::move(helpFolder)) {
    PaintPreviewF_ = new files::TPaintPreviewF(host_, main);
    QuickPreviewF_ = new generators::TQuickPreviewF(host_, main);
    PixoralQBF_ = new generators::TPixoralQBF(host_, main);
    PixoralFLF_ = new generators::TPixoralFLF(
        host_, [&settings] { return static_cast<std::uint8_t>(settings.colorByte); }, main);
    PixoralScriptF_ = new script::TPixoralScriptF(host_, std::move(runScript), main);
    PixoralScriptF_->onShowRequest = [this] { showScriptEditor(); };
    recorder.attach({[e = PixoralScriptF_] { return e->textAreaVisible(); },
                     [e = PixoralScriptF_](const QString& text, bool focus) { e->insertAtCaret(text, focus); }});
    GraphF_ = new generators::TGraphF(host_, main);
    Surf3DF_ = new generators::TSurf3DF(host_, main);
    PixoralEffectsF_ = new effects::TPixoralEffectsF(host_, main);
    QuickCellF_ = new generators::TQuickCellF(host_, main);
    JpegPreviewF_ = new generators::TJpegPreviewF(host_, main);
    ButtonF_ = new generators::TButtonF(host_, main);
    FractalsF_ = new generators::TFractalsF(host_, main);
}

void SecondaryWindows::showEffectsPanel() { showInFront(PixoralEffectsF_, main_, Place::Below); }
void SecondaryWindows::showQuickBackground() { showInFront(PixoralQBF_, main_, Place::Right); }
void SecondaryWindows::showQuickFilter() { showInFront(PixoralFLF_, main_, Place::Right); }
void SecondaryWindows::showScriptEditor() { showInFront(PixoralScriptF_, main_, Place::Below); }
void SecondaryWindows::showQuickGraph() { showInFront(GraphF_, main_, Place::Centre); }
void SecondaryWindows::showQuick3D() { showInFront(Surf3DF_, main_, Place::Centre); }
void SecondaryWindows::showQuickCells() { showInFront(QuickCellF_, main_, Place::Right); }
void SecondaryWindows::showQuickJpeg() { showInFront(JpegPreviewF_, main_, Place::Right); }
void SecondaryWindows::showPreview(const Bitmap& picture) { QuickPreviewF_->showPicture(picture); }
void SecondaryWindows::showQuickButton() { showInFront(ButtonF_, main_, Place::Centre); }
void SecondaryWindows::requestBackground(const QString& name) { PixoralQBF_->ApplyPresetByName(name); }
void SecondaryWindows::requestFilter(const QString& name) { PixoralFLF_->RunFilterByName(name); }
void SecondaryWindows::showQuickFractals() { showInFront(FractalsF_, main_, Place::Right); }

void SecondaryWindows::showHelp(const QString& topic) {
    if (!HelpViewer_) {
        // Read again at each try until it is there, so help installed later is found.
        const HelpPages pages(helpFolder_);
        if (!pages.found()) {
            host_.fail(pages.missingMessage());
            return;
        }
        HelpViewer_ = new HelpViewer(helpFolder_, main_);
    }
    placeOnce(HelpViewer_, main_, Place::Centre);
    HelpViewer_->showTopic(topic);
}

void SecondaryWindows::showPrintPreview() {
    placeOnce(PaintPreviewF_, main_, Place::Centre);
    PaintPreviewF_->Print1Click();
}

}  // namespace pixoral
