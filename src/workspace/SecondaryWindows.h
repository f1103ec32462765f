#pragma once
// The secondary windows of the main window (Quick Background, Quick 3D, Quick Preview, the
// effects panel), created once, hidden, and reaching the workspace only through the WorkspaceHost.
#include <QString>

#include "canvas/Bitmap.h"

class QWidget;

namespace pixoral {

class WorkspaceHost;
namespace generators {
class TPixoralQBF;
class TQuickPreviewF;
class TSurf3DF;
}  // namespace generators
namespace effects {
class TPixoralEffectsF;
}

class SecondaryWindows {
public:
    // The windows are children of `main`, which deletes them.
    SecondaryWindows(WorkspaceHost& host, QWidget* main);

    generators::TPixoralQBF* pixoralQB() const { return PixoralQBF_; }
    generators::TQuickPreviewF* quickPreview() const { return QuickPreviewF_; }
    effects::TPixoralEffectsF* effectsPanel() const { return PixoralEffectsF_; }
    generators::TSurf3DF* surf3D() const { return Surf3DF_; }

    // Shows a window in front, placed beside or below the main window the first time.
    void showEffectsPanel();
    void showQuickBackground();
    void showQuick3D();
    void showPreview(const Bitmap& picture);
    // A script's "background" request: the named preset of Quick Background.
    void requestBackground(const QString& name);

private:
    WorkspaceHost& host_;
    QWidget* main_;
    generators::TPixoralQBF* PixoralQBF_ = nullptr;
    generators::TQuickPreviewF* QuickPreviewF_ = nullptr;
    effects::TPixoralEffectsF* PixoralEffectsF_ = nullptr;
    generators::TSurf3DF* Surf3DF_ = nullptr;
};

}  // namespace pixoral
