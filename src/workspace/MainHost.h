#pragma once
// The main window as the secondary windows and the tools see it: the one implementation of
// WorkspaceHost, forwarding to TPixoralF.
#include "ui/WorkspaceHost.h"

namespace pixoral {

class TPixoralF;

class MainHost : public WorkspaceHost {
public:
    explicit MainHost(TPixoralF& w) : w_(w) {}

    Bitmap& workspace() override;
    void workspaceChanged() override;
    bool replaceWorkspace(const Bitmap& picture) override;
    effects::RangeState& rangeState() override;
    Dialogs& dialogs() override;
    void fail(const QString& message) override;
    QString programFolder() const override;
    QWidget* mainWindow() override;
    void showPreview(const Bitmap& picture) override;

private:
    TPixoralF& w_;
};

}  // namespace pixoral
