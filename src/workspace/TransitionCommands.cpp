// Range > Transition, Range > Mask and Image > Mask: rows over effects/Transitions. The
// transition settings are the window's settings; the mask image lives with the range state.
#include <QFileInfo>

#include "effects/Transitions.h"
#include "files/ImageFile.h"
#include "workspace/Commands.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

using F = TPixoralF;
using namespace rows;
namespace fx = effects;

namespace {

// A transition with the current settings; a small range lowers the band count, which stays
// lowered until it is entered again.
MenuEntry transitionRow(const char* caption, fx::TransitionShape shape) {
    return effect(caption, effectOf([shape](Bitmap& b, EffectInputs& in) {
        WorkspaceSettings& s = in.settings;
        fx::TransitionParams p{s.transitionStart, s.transitionEnd, s.transitionBands, s.transitionXStep, s.transitionYStep};
        const bool done = fx::transition(b, in.range, shape, p);
        s.transitionBands = p.bands;
        return done;
    }));
}

MenuEntry maskRow(const char* caption, fx::RangeMask mask) {
    return effect(caption, effectOf([mask](Bitmap& b, EffectInputs& in) { return fx::maskRange(b, in.range, mask); }));
}

// "from File...": any picture the program reads (the dialog opens on its bitmap entry); a file
// that cannot be read leaves the mask image as it was.
void MaskfromFile1Click(F& w) {
    const auto path = w.dialogs().openPicture(QStringLiteral("Open Mask"), openPictureFilter(), 5);
    if (!path) return;
    Bitmap picture;
    QString err;
    switch (readImageFile(*path, &picture, &err)) {
        case FileResult::Done: w.rangeState().maskImage = picture; break;
        case FileResult::Skipped:
            w.fail(QStringLiteral("Cannot open \"%1\" as a mask: masks are opened from .bmp, .gif, .jpg, .jpeg, .png, "
                                  ".ico, .wmf and .emf files.")
                       .arg(QFileInfo(*path).fileName()));
            break;
        case FileResult::Failed: w.fail(err); break;
    }
}

// "Brush": the workspace becomes its two-colour mask for the brush colour (that colour white,
// all others black), a 1-bit picture.
EffectRow brushMaskRow() {
    return effectOf([](Bitmap& b, EffectInputs&) {
        b.mask(b.canvas().brush().color());
        return b.pixelFormat() == PixelFormat::pf1bit;
    });
}

}  // namespace

MenuEntry transitionMenu() {
    using S = WorkspaceSettings;
    using Shape = fx::TransitionShape;
    return sub("&Transition", {
        prompt("&Start Color...", colorInto(&S::transitionStart)).named("StartColor1"),
        prompt("&End Color...", colorInto(&S::transitionEnd)).named("EndColor1"),
        prompt("&Bands...", numberInto(fx::kBandsPrompt, &S::transitionBands)).named("Bands1"),
        prompt("Xstep...", numberInto(fx::kXstepPrompt, &S::transitionXStep)).named("Xstep1"),
        prompt("Ystep...", numberInto(fx::kYstepPrompt, &S::transitionYStep)).named("Ystep1"),
        sep(),
        transitionRow("&Horizontal", Shape::Horizontal).named("Fluid1"),
        transitionRow("&Vertical", Shape::Vertical).named("Vertical2"),
        transitionRow("&Conical", Shape::Conical).named("Conical1"),
        transitionRow("&Elliptical", Shape::Elliptical).named("Elliptical1"),
        transitionRow("&Rounded", Shape::Rounded).named("Rounded1"),
    });
}

MenuEntry rangeMaskMenu() {
    using M = fx::RangeMask;
    return sub("&Mask", {
        maskRow("&Squares", M::Squares).named("Squares1"),
        maskRow("&Oval", M::Oval).named("Ovals1"),
        maskRow("&Diamond", M::Diamond).named("Diamonds1"),
        maskRow("Octagon", M::Octagon).named("Octagon1"),
        maskRow("&User Mask", M::User).named("UserMask1"),
    });
}

MenuEntry imageMaskMenu() {
    return sub("Mask", {
        item("from Image", [](F& w) { w.rangeState().maskImage = w.workspace(); }).named("MaskfromImage1"),
        item("from File...", &MaskfromFile1Click).named("MaskfromFile1"),
        effect("Brush", brushMaskRow()).named("Brush1"),
    });
}

}  // namespace pixoral
