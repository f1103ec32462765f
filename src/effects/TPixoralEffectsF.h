#pragma once
// The effects panel: eight scroll bars, one per slider effect. Moving a bar previews its
// effect alone on the whole workspace; the panel keeps no state of its own and reaches the
// workspace, the range and the preview only through the WorkspaceHost.
#include <QWidget>
#include <array>

#include "effects/SliderEffects.h"

class QScrollBar;

namespace pixoral {
class WorkspaceHost;
}

namespace pixoral::effects {

class TPixoralEffectsF : public QWidget {
    Q_OBJECT
public:
    // The host must outlive the panel.
    explicit TPixoralEffectsF(WorkspaceHost& host, QWidget* parent = nullptr);
    ~TPixoralEffectsF() override;

    int position(SliderEffect e) const;
    QScrollBar* bar(SliderEffect e) const;

    // ---- handlers, one per bar; each is previewBar() for its effect ----
    void contrastbarChange();
    void saturationbarChange();
    void lightnessbarChange();
    void blurbarChange();
    void colornoisebarChange();
    void mononoisebarChange();
    void splitblurbarChange();
    void smoothbarChange();

    // The effect at its bar's position on a fresh 24-bit copy of the whole workspace, which
    // becomes the current range and the range buffer, shown in the preview. The workspace
    // itself stays as it is until the preview's "Use". False (reported) when out of memory.
    bool previewBar(SliderEffect e);

private:
    WorkspaceHost& host_;
    QWidget* effectspanel = nullptr;
    std::array<QScrollBar*, 8> bars_{};
};

}  // namespace pixoral::effects
