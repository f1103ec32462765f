#include "workspace/MainHost.h"

#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"

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

}  // namespace pixoral
