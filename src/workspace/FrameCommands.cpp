// Image > Frames: the frame count, the current frame with its markers, the frame as the range,
// the range pasted into the frame, and every frame saved as a numbered BMP file. The geometry
// is Frames.h's.
#include "files/ImageFile.h"
#include "workspace/Commands.h"
#include "workspace/FrameMarkers.h"
#include "workspace/Frames.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

using F = TPixoralF;
using namespace rows;

namespace {

Rect currentFrameRect(F& w) {
    const WorkspaceSettings& s = w.settings();
    return frameRect(w.workspace().width(), w.workspace().height(), s.frameCount, s.currentFrame);
}

void FramesGo1Click(F& w) {
    const auto frame = goToFrame(askInt(w.dialogs(), kGoFramePrompt, 1), w.settings().frameCount);
    if (!frame) return;
    w.settings().currentFrame = *frame;
    const Rect r = currentFrameRect(w);
    w.frameMarkers().showAt(r.left, r.right, w.workspace().height(), *frame);
}

void FramesClip1Click(F& w) {
    if (w.settings().currentFrame >= 1) w.rangeState().range = currentFrameRect(w);
}

void SaveAsBMPs1Click(F& w) {
    const auto chosen = w.dialogs().savePicture(QStringLiteral("Save As BMP's"), savePictureFilter(), 1);
    if (!chosen) return;
    QString error;
    if (!saveFrames(w.workspace(), w.settings().frameCount, *chosen, &error)) w.fail(error);
}

}  // namespace

MenuEntry framesMenu() {
    const EffectRow pasteClip = effectOf([](Bitmap& b, EffectInputs& in) {
        pasteIntoFrame(b, in.range.range, in.settings.frameCount, in.settings.currentFrame);
    });
    return sub("Frames", {prompt("&Set...", numberInto(kFrameCountPrompt, &WorkspaceSettings::frameCount)).named("SetFrames1"),
                          item("&Go", &FramesGo1Click).named("FramesGo1").key("Ctrl+G"),
                          item("&Hide", [](F& w) { w.frameMarkers().hide(); }).named("FramesHide1"),
                          item("Clip", &FramesClip1Click).named("FramesClip1"),
                          effect("Paste Clip", pasteClip).named("FramesPasteClip1"), sep(),
                          item("Save As BMP's...", &SaveAsBMPs1Click).named("SaveAsBMPs1")});
}

}  // namespace pixoral
