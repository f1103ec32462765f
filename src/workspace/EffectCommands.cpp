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

namespace {

const QString kTraceCaption = QStringLiteral("Pixoral Trace");

QString noMemoryFor(const Bitmap& b) {
    return QStringLiteral("There is not enough memory for this effect on a %1 x %2 image.").arg(b.width()).arg(b.height());
}

// Where a window first appears: beside or below the main window, so it hides no part of the
// workspace it works on, kept on the screen. Later showings keep where the user put it.
enum class Place { Right, Below };
void placeOnce(QWidget* w, const QWidget* main, Place where) {
    if (w->property("pixoralPlaced").toBool()) return;
    w->setProperty("pixoralPlaced", true);
    const QRect m = main->frameGeometry();
    QPoint at = where == Place::Below ? m.bottomLeft() + QPoint(0, 4) : m.topRight() + QPoint(4, 0);
    if (const QScreen* s = main->screen()) {
        const QRect room = s->availableGeometry();
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

// ---------------------------------------------------------------- the windows

void TPixoralF::createEffectWindows() {
    QuickPreviewF_ = new generators::TQuickPreviewF(this);
    QuickPreviewF_->onUse = [this](const Bitmap& picture) { useQuickPreview(picture); };

    generators::QuickHost host;
    host.workspace = [this]() -> Bitmap& { return workspace_; };
    host.workspaceChanged = [this] { repaintWorkspace(); };
    host.inputBox = [this](const QString& caption, const QString& prompt, const QString& def) {
        return dialogs().inputBox(caption, prompt, def);
    };
    host.message = [this](const QString& text) { dialogs().message(text); };
    host.fail = [this](const QString& text) { fail(text); };
    host.preview = QuickPreviewF_;
    PixoralQBF_ = new generators::TPixoralQBF(std::move(host), programFolder_, this);

    PixoralEffectsF_ = new effects::TPixoralEffectsF(this);
    PixoralEffectsF_->onBarChange = [this](effects::SliderEffect e) {
        using S = effects::SliderEffect;
        switch (e) {
            case S::Contrast: contrastbarChange(); break;
            case S::Saturation: saturationbarChange(); break;
            case S::Brightness: lightnessbarChange(); break;
            case S::GaussianBlur: blurbarChange(); break;
            case S::ColorNoise: colornoisebarChange(); break;
            case S::MonoNoise: mononoisebarChange(); break;
            case S::SplitBlur: splitblurbarChange(); break;
            case S::Smooth: smoothbarChange(); break;
        }
    };
}

void TPixoralF::useQuickPreview(const Bitmap& picture) {
    if (picture.isEmpty() || !sizeIsValid(picture.width(), picture.height())) return;
    const bool resized = picture.width() != workspace_.width() || picture.height() != workspace_.height();
    workspace_ = picture;
    if (resized) undo_.resizeAll(workspace_.width(), workspace_.height());
    repaintWorkspace();
}

void TPixoralF::EffectsPanel1Click() { showInFront(PixoralEffectsF_, this, Place::Below); }

void TPixoralF::SetUser1Click() { showInFront(PixoralQBF_, this, Place::Right); }

// ---------------------------------------------------------------- the effects panel

// Each bar previews its effect on a fresh 24-bit copy of the whole workspace, which becomes
// the current range and the range buffer; the workspace itself stays as it is until "Use".
void TPixoralF::sliderChange(effects::SliderEffect e) {
    const int a = PixoralEffectsF_->position(e);
    if (!effects::loadWholeWorkspace(workspace_, range_)) {
        fail(noMemoryFor(workspace_));
        return;
    }
    // The loaded buffer is already 24-bit, as the effects want it.
    if (!effects::applySlider(e, range_.buffer, a)) {
        fail(noMemoryFor(workspace_));
        return;
    }
    QuickPreviewF_->showPicture(range_.buffer);
}

void TPixoralF::contrastbarChange() { sliderChange(effects::SliderEffect::Contrast); }
void TPixoralF::saturationbarChange() { sliderChange(effects::SliderEffect::Saturation); }
void TPixoralF::lightnessbarChange() { sliderChange(effects::SliderEffect::Brightness); }
void TPixoralF::blurbarChange() { sliderChange(effects::SliderEffect::GaussianBlur); }
void TPixoralF::colornoisebarChange() { sliderChange(effects::SliderEffect::ColorNoise); }
void TPixoralF::mononoisebarChange() { sliderChange(effects::SliderEffect::MonoNoise); }
void TPixoralF::splitblurbarChange() { sliderChange(effects::SliderEffect::SplitBlur); }
void TPixoralF::smoothbarChange() { sliderChange(effects::SliderEffect::Smooth); }

// ---------------------------------------------------------------- Image menu effects

bool TPixoralF::effectDone(bool ok) {
    if (!ok) fail(noMemoryFor(workspace_));
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

void TPixoralF::ColorByte1Click() {
    const QString answer = dialogs().inputBox(kTraceCaption, QStringLiteral("Enter Color Byte (0..255)"),
                                              QString::number(settings_.colorByte));
    settings_.colorByte = effects::acceptPromptValue(answer, settings_.colorByte, effects::kColorByteRange);
}

void TPixoralF::TraceIntensityClick() {
    const QString answer = dialogs().inputBox(kTraceCaption, QStringLiteral("Enter Trace Intensity (1..15)"),
                                              QString::number(traceIntensity_));
    traceIntensity_ = effects::acceptPromptValue(answer, traceIntensity_, effects::kTraceIntensityRange);
}

void TPixoralF::setPixelFormatItem(PixelFormat format, const QString& itemName) {
    // The radio item shows the last choice, even when the conversion could not be made.
    if (auto* a = findChild<QAction*>(itemName)) a->setChecked(true);
    effectDone(effects::convertPixelFormat(workspace_, format));
}

void TPixoralF::N8bit1Click() { setPixelFormatItem(PixelFormat::pf8bit, QStringLiteral("N8bit1")); }
void TPixoralF::N24bit1Click() { setPixelFormatItem(PixelFormat::pf24bit, QStringLiteral("N24bit1")); }

// ---------------------------------------------------------------- script requests

void TPixoralF::TurtleRequestBackGround(const QString& name) { PixoralQBF_->ApplyPresetByName(name); }

void TPixoralF::TurtleRequestFilter(const QString& name) {
    // The two image effects are asked for by their exact names; the named row filters join
    // here when Quick Filter has them.
    if (name == QLatin1String("trace")) Moire1Click();
    else if (name == QLatin1String("invert")) Invert1Click();
}

}  // namespace pixoral
