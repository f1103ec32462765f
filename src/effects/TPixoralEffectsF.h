#pragma once
// The effects panel: eight scroll bars, one per slider effect. The panel keeps no state of its
// own; each change is handed to the main window's handler of the bar, which reads the bar's
// position and previews the effect.
#include <QWidget>
#include <array>
#include <functional>

#include "effects/SliderEffects.h"

class QScrollBar;

namespace pixoral::effects {

class TPixoralEffectsF : public QWidget {
    Q_OBJECT
public:
    explicit TPixoralEffectsF(QWidget* parent = nullptr);
    ~TPixoralEffectsF() override;

    // Called after a bar moved, with the effect it drives.
    std::function<void(SliderEffect)> onBarChange;

    int position(SliderEffect e) const;
    QScrollBar* bar(SliderEffect e) const;

private:
    QWidget* effectspanel = nullptr;
    std::array<QScrollBar*, 8> bars_{};
};

}  // namespace pixoral::effects
