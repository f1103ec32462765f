// The Image menu's colour and filter effects, the effects panel, Quick Background and the
// Quick Preview window, as the main window's handlers. The effects themselves are plain
// functions in effects/; these handlers gather the parameters, apply and repaint.
#include <QAction>
#include <QScreen>
#include <QVariant>
#include <algorithm>

#include "effects/ColorEffects.h"
#include "effects/FilterEffects.h"
#include "effects/SliderEffects.h"
#include "effects/TPixoralEffectsF.h"
#include "generators/TPixoralQBF.h"
#include "generators/TQuickPreviewF.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

// ---------------------------------------------------------------- Image menu effects

bool TPixoralF::effectDone(bool ok) {
    if (!ok) fail(effects::noMemoryFor(workspace_));
    repaintWorkspace();
    return ok;
}

void TPixoralF::Invert1Click() {
    effects::invert(workspace_);
    repaintWorkspace();
}

void TPixoralF::Grayscale1Click() {
    // Done in the range buffer, which keeps the grey copy afterwards.
    range_.buffer = workspace_;
    if (!effects::grayscale(range_.buffer)) {
        effectDone(false);
        return;
    }
    workspace_ = range_.buffer;
    repaintWorkspace();
}

void TPixoralF::Spray2Click() {
    effects::spray(workspace_);
    repaintWorkspace();
}

void TPixoralF::AntiAlias1Click() {
    effects::antiAlias(workspace_);
    repaintWorkspace();
}

void TPixoralF::RollColors1Click() { effectDone(effects::shuffleChannels(workspace_, effects::ChannelShuffle::RollRGB)); }
void TPixoralF::SwapRG1Click() { effectDone(effects::shuffleChannels(workspace_, effects::ChannelShuffle::SwapRG)); }
void TPixoralF::SwapGB1Click() { effectDone(effects::shuffleChannels(workspace_, effects::ChannelShuffle::SwapGB)); }
void TPixoralF::SwapRB1Click() { effectDone(effects::shuffleChannels(workspace_, effects::ChannelShuffle::SwapRB)); }

void TPixoralF::Moire1Click() {
    effectDone(effects::trace(workspace_, effects::TraceSettings{settings_.colorByte, traceIntensity_}));
}

void TPixoralF::Generate1Click() {
    effects::contourAccent(workspace_);
    repaintWorkspace();
}

void TPixoralF::TraceRange1Click() {
    if (effects::rangeIsEmpty(range_.range)) return;
    if (!effects::loadRange(workspace_, range_) ||
        !effects::trace(range_.buffer, effects::TraceSettings{settings_.colorByte, traceIntensity_})) {
        effectDone(false);
        return;
    }
    effects::pasteclip(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::ColorByte1Click() { settings_.colorByte = pixoral::askInt(dialogs(), effects::kColorBytePrompt, settings_.colorByte); }

void TPixoralF::TraceIntensityClick() {
    traceIntensity_ = pixoral::askInt(dialogs(), effects::kTraceIntensityPrompt, traceIntensity_);
}

void TPixoralF::setPixelFormatItem(PixelFormat format, const QString& itemName) {
    // The radio item shows the last choice, even when the conversion could not be made.
    if (auto* a = findChild<QAction*>(itemName)) a->setChecked(true);
    effectDone(effects::convertPixelFormat(workspace_, format));
}

void TPixoralF::N8bit1Click() { setPixelFormatItem(PixelFormat::pf8bit, QStringLiteral("N8bit1")); }
void TPixoralF::N24bit1Click() { setPixelFormatItem(PixelFormat::pf24bit, QStringLiteral("N24bit1")); }

// ---------------------------------------------------------------- script requests

void TPixoralF::TurtleRequestFilter(const QString& name) {
    // The two image effects are asked for by their exact names; the named row filters join
    // here when Quick Filter has them.
    if (name == QLatin1String("trace")) Moire1Click();
    else if (name == QLatin1String("invert")) Invert1Click();
}

}  // namespace pixoral
