#pragma once
// The main window as the secondary windows and the tools see it: the one implementation of
// WorkspaceHost and ToolHost, forwarding to TPixoralF.
#include "ui/WorkspaceHost.h"
#include "workspace/Tools.h"

namespace pixoral {

class TPixoralF;

class MainHost : public WorkspaceHost, public ToolHost {
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
    void showHelp(const QString& topic) override;
    void showProgress(const QString& text) override;

    TColor indicatorPenColor() const override;
    TColor indicatorBrushColor() const override;
    void setIndicatorColors(TColor pen, TColor brush) override;
    bool recording() const override;
    void record(const QString& text) override;
    void recordInput(const QString& text) override;
    void setStatusText(int panel, const QString& text) override;
    void movePointerTo(Point p) override;

private:
    TPixoralF& w_;
};

}  // namespace pixoral
