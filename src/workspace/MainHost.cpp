#include "workspace/MainHost.h"

#include <QCursor>

#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"
#include "workspace/WorkspaceControls.h"

namespace pixoral {

Bitmap& MainHost::workspace() { return w_.workspace(); }
void MainHost::workspaceChanged() { w_.repaintWorkspace(); }
bool MainHost::replaceWorkspace(const Bitmap& picture) { return w_.replaceWorkspace(picture); }
effects::RangeState& MainHost::rangeState() { return w_.rangeState(); }
Dialogs& MainHost::dialogs() { return w_.dialogs(); }
void MainHost::fail(const QString& message) { w_.fail(message); }
QString MainHost::programFolder() const { return w_.programFolder(); }
QWidget* MainHost::mainWindow() { return &w_; }
void MainHost::showPreview(const Bitmap& picture) { w_.windows().showPreview(picture); }
void MainHost::showHelp(const QString& topic) { w_.windows().showHelp(topic); }
// The panel of the pointer's position, which is idle while a computation holds the window.
void MainHost::showProgress(const QString& text) { w_.setStatusText(2, text); }

TColor MainHost::indicatorPenColor() const { return w_.shapeflagPenColor(); }
TColor MainHost::indicatorBrushColor() const { return w_.shapeflagBrushColor(); }
void MainHost::setIndicatorColors(TColor pen, TColor brush) { w_.setShapeflagColors(pen, brush); }
bool MainHost::recording() const { return w_.recorder().visible(); }
void MainHost::record(const QString& text) { w_.recorder().record(text); }
void MainHost::recordInput(const QString& text) { w_.recorder().recordInput(text); }
void MainHost::setStatusText(int panel, const QString& text) { w_.setStatusText(panel, text); }

void MainHost::movePointerTo(Point p) {
    if (w_.isBatch()) return;
    // The middle of the image pixel, wherever the zoom shows it.
    if (auto* paint = w_.findChild<PaintBox*>(QStringLiteral("mypaint")))
        QCursor::setPos(paint->mapToGlobal(paint->toView(QPointF(p.x + 0.5, p.y + 0.5))).toPoint());
}

}  // namespace pixoral
