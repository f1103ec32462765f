// The Image menu: each effect is a row naming a plain function of effects/ with its
// parameters and the pixel format it needs; the generic path in Commands.cpp applies it.
#include "effects/ColorEffects.h"
#include "effects/Distortions.h"
#include "effects/FilterEffects.h"
#include "effects/ImageSize.h"
#include "effects/RangeOps.h"
#include "effects/Ripples.h"
#include "effects/Shifts.h"
#include "workspace/Commands.h"
#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

using F = TPixoralF;
using namespace rows;
namespace fx = effects;

MenuEntry captureMenu();  // FileCommands.cpp
MenuEntry framesMenu();   // FrameCommands.cpp

namespace {

fx::TraceSettings traceSettings(const EffectInputs& in) {
    return fx::TraceSettings{in.settings.colorByte, in.settings.traceIntensity};
}

MenuEntry shuffle(const char* caption, fx::ChannelShuffle how) {
    return effect(caption, effectOf([how](Bitmap& b, EffectInputs&) { return fx::shuffleChannels(b, how); }));
}

MenuEntry pixelFormat(const char* caption, PixelFormat to) {
    // A radio pair: the item shows the last choice, even when the conversion could not be made.
    return effect(caption, effectOf([to](Bitmap& b, EffectInputs&) { return fx::convertPixelFormat(b, to); }))
        .flag(MenuEntry::Checkable | MenuEntry::Radio);
}

EffectRow traceRow() {
    return effectOf([](Bitmap& b, EffectInputs& in) { return fx::trace(b, traceSettings(in)); });
}

EffectRow invertRow() {
    return effectOf([](Bitmap& b, EffectInputs&) { fx::invert(b); });
}

MenuEntry move(const char* caption, fx::Direction d) {
    return effect(caption, effectOf([d](Bitmap& b, EffectInputs&) { fx::moveBytes(b, d); }));
}

// Flips and mirrors work on 24-bit pixels and end in 8 bits.
MenuEntry reflection(const char* caption, void (*fn)(Bitmap&)) {
    EffectRow e = effectOf([fn](Bitmap& b, EffectInputs&) { fn(b); }, PixelFormat::pf24bit);
    e.resultFormat = PixelFormat::pf8bit;
    return effect(caption, std::move(e));
}

MenuEntry shadow(const char* caption, fx::Corner c) {
    return effect(caption, effectOf([c](Bitmap& b, EffectInputs&) { fx::shadow(b, c); }));
}

MenuEntry offsetRipple(const char* caption, fx::OffsetRipple kind) {
    return effect(caption, effectOf([kind](Bitmap& b, EffectInputs& in) { fx::offsetRipple(b, kind, in.settings.rippleHeight); }));
}

// Wave Inference works on 8-bit pixels; the other two keep the workspace's format.
MenuEntry waveRipple(const char* caption, fx::WaveRipple kind) {
    const auto format = kind == fx::WaveRipple::WaveInference ? std::optional(PixelFormat::pf8bit) : std::nullopt;
    return effect(caption, effectOf([kind](Bitmap& b, EffectInputs& in) {
        return fx::waveRipple(b, kind, in.settings.rippleHeight, in.settings.rippleInference);
    }, format));
}

MenuEntry pixelize(const char* caption, int n) {
    return effect(caption, effectOf([n](Bitmap& b, EffectInputs&) { return fx::pixelize(b, n); }));
}

MenuEntry texturize(const char* caption, int step) {
    return effect(caption, effectOf([step](Bitmap& b, EffectInputs&) { return fx::texturize(b, step); }));
}

// Magnify and Reduce change the size: they run on a copy that replaces the workspace.
MenuEntry magnify(const char* caption, int n) {
    EffectRow e = effectOf([n](Bitmap& b, EffectInputs&) { return fx::magnify(b, n); });
    e.refuse = [n](const Bitmap& b) { return fx::magnifyRefusal(b, n); };
    e.resizes = true;
    return effect(caption, std::move(e));
}

MenuEntry reduce(const char* caption, int n) {
    EffectRow e = effectOf([n](Bitmap& b, EffectInputs&) { return fx::reduce(b, n); });
    e.resizes = true;
    return effect(caption, std::move(e));
}

// Crop: the range becomes the picture (a range reaching past the image is white there), the
// brush and the fill indicator turn white, and the whole new picture is the range.
void Crop1Click(F& w) {
    if (!fx::loadRange(w.workspace(), w.rangeState())) return;
    const Bitmap& buffer = w.rangeState().buffer;
    Bitmap next = w.workspace();
    if (!next.setSize(buffer.width(), buffer.height())) {
        w.fail(fx::noMemoryFor(buffer));
        return;
    }
    next.canvas().draw(0, 0, buffer);
    w.canvas().brush().setColor(clWhite);
    w.setShapeflagColors(w.shapeflagPenColor(), clWhite);
    if (w.replaceWorkspace(next)) selectWholeImage(w);
}

// Rotate and the whirls read device pixels as they stand; other formats become 24 bits
// first. The result is 24 bits either way.
bool deviceOr24(Bitmap& b) { return b.pixelFormat() == PixelFormat::Device || fx::convertPixelFormat(b, PixelFormat::pf24bit); }

// Image > Whirl: the workspace in 24 bits, whirled about its centre.
MenuEntry whirl(const char* caption, int type) {
    return effect(caption, effectOf([type](Bitmap& b, EffectInputs& in) { return deviceOr24(b) && fx::whirl(b, type, in.settings.whirlAngles); }));
}

// Image > Projection: the workspace in 24 bits, with the factor and the two check marks.
fx::ProjectionParams projection(const EffectInputs& in) {
    return fx::ProjectionParams{in.settings.projectionFactor, in.settings.projectionSinus, in.settings.retainBorders};
}

MenuEntry projectionRow(const char* caption, bool (*fn)(Bitmap&, const fx::ProjectionParams&)) {
    return effect(caption, effectOf([fn](Bitmap& b, EffectInputs& in) { return fn(b, projection(in)); }, PixelFormat::pf24bit));
}

// Wedge refuses an image that is not square before anything changes.
MenuEntry wedge() {
    MenuEntry m = reflection("&Wedge", &fx::mirrorWedge).named("Wedge1");
    EffectRow e = *m.effect;
    e.refuse = &fx::wedgeRefusal;
    m.effect = std::make_shared<const EffectRow>(std::move(e));
    return m;
}

void ClearDefault1Click(F& w) {
    w.canvas().brush().setColor(clWhite);
    w.setShapeflagColors(w.shapeflagPenColor(), clWhite);
    if (w.setWorkspaceSize(256, 256)) selectWholeImage(w);
}

}  // namespace

MenuEntry imageMenu() {
    using S = WorkspaceSettings;
    // Trace Range traces the range buffer and pastes it back; an empty range does nothing.
    const EffectRow traceRange = effectOf([](Bitmap& b, EffectInputs& in) {
        if (fx::rangeIsEmpty(in.range.range)) return true;
        if (!fx::loadRange(b, in.range) || !fx::trace(in.range.buffer, traceSettings(in))) return false;
        fx::pasteclip(b, in.range);
        return true;
    });
    // Grayscale is made in the range buffer, which keeps the grey copy afterwards.
    const EffectRow grayscale = effectOf([](Bitmap& b, EffectInputs& in) {
        in.range.buffer = b;
        if (!fx::grayscale(in.range.buffer)) return false;
        b = in.range.buffer;
        return true;
    });
    // Seamless Pattern is made in the range buffer (24 bits), which keeps the result too.
    const EffectRow seamless = effectOf([](Bitmap& b, EffectInputs& in) {
        in.range.buffer = b;
        if (!fx::convertPixelFormat(in.range.buffer, PixelFormat::pf24bit)) return false;
        fx::seamless(in.range.buffer);
        b = in.range.buffer;
        return true;
    });
    const EffectRow rotate = effectOf(
        [](Bitmap& b, EffectInputs& in) { return deviceOr24(b) && fx::rotate(b, fx::RotateParams{in.settings.rotationAngle}); });

    return sub("&Image", {
        sub("Quick", {item("&Quick Background...", [](F& w) { w.windows().showQuickBackground(); }).named("SetUser1"),
                      item("Quick Cells...", [](F& w) { w.windows().showQuickCells(); }).named("QuickCells1"),
                      item("Quick &Filter...", [](F& w) { w.windows().showQuickFilter(); }).named("Filter2"),
                      item("Quick Graph...", [](F& w) { w.windows().showQuickGraph(); }).named("QuickGraph1"),
                      item("Quick Fractals...", [](F& w) { w.windows().showQuickFractals(); }).named("QuickFractals1"),
                      item("Quick Button...", [](F& w) { w.windows().showQuickButton(); }).named("QuickButton1"),
                      item("Quick 3D...", [](F& w) { w.windows().showQuick3D(); }).named("Quick3D1"),
                      item("Quick JPEG...", [](F& w) { w.windows().showQuickJpeg(); }).named("QuickJPEG1")}),
        framesMenu(),
        item("Clear Default", &ClearDefault1Click).named("ClearDefault1"),
        sep(),
        sub("Pixel Format", {pixelFormat("8 bit", PixelFormat::pf8bit).named("N8bit1").flag(MenuEntry::Checked),
                             pixelFormat("24 bit", PixelFormat::pf24bit).named("N24bit1")}),
        captureMenu(),
        sub("&Trace", {effect("&Trace", traceRow()).named("Moire1"),
                       effect("&Contour Accent", effectOf([](Bitmap& b, EffectInputs&) { fx::contourAccent(b); })).named("Generate1"),
                       effect("Trace &Range", traceRange).named("TraceRange1"), sep(),
                       prompt("Color Byte", numberInto(fx::kColorBytePrompt, &S::colorByte)).named("ColorByte1"),
                       prompt("Intensity", numberInto(fx::kTraceIntensityPrompt, &S::traceIntensity)).named("TraceIntensity")}),
        item("Crop", &Crop1Click).named("Crop1"),
        effect("Seamless Pattern", seamless).named("SeamlessPattern1"),
        sub("Rotation", {effect("Rotate", rotate).named("Rotate1").key("Ctrl+Alt+R"),
                         prompt("Angle...", numberInto(fx::kRotationAnglePrompt, &S::rotationAngle)).named("Angle1")}),
        sub("Whirl", {whirl("Whirl In", 0).named("Whirl1"), whirl("Whirl Out", 1).named("WhirlOut1"),
                      whirl("Whirl Center", 2).named("WhirlRight1"), whirl("Double Whirl", 3).named("DoubleWhirl1"),
                      whirl("Wirl Wave 10", 4).named("WirlWave101"), whirl("Wirl Wave 20", 5).named("WirlWave201"),
                      whirl("Ripple 10", 6).named("Ripple101"), whirl("Ripple 20", 7).named("Ripple201"),
                      whirl("Whirl Band 90", 8).named("WhirlRevert1"), whirl("Whirl Band 45", 9).named("WhirlQuickRevert1"),
                      whirl("Whirl Band 25", 10).named("WhirlBand251"), whirl("Whirl Revert", 11).named("WhirlRevert2")}),
        sub("Projection", {projectionRow("&Globe", &fx::globe).named("Globe2"),
                           projectionRow("Cylinder Horizontal", [](Bitmap& b, const fx::ProjectionParams& p) {
                               return fx::cylinder(b, true, p);
                           }).named("CylinderHorizontal1"),
                           projectionRow("Cylinder Vertical", [](Bitmap& b, const fx::ProjectionParams& p) {
                               return fx::cylinder(b, false, p);
                           }).named("CylinderVertical1"),
                           sep(),
                           prompt("&Factor...", numberInto(fx::kProjectionFactorPrompt, &S::projectionFactor)).named("Factor1"),
                           toggle("&Retain Borders", &S::retainBorders).named("RetainBorders1"),
                           toggle("&Sinus", &S::projectionSinus).named("Sinus1").flag(MenuEntry::Checked)}),
        effect("&Invert", invertRow()).named("Invert1"),
        imageMaskMenu(),
        sep(),
        sub("Effects", {effect("Grayscale", grayscale).named("Grayscale1"),
                        effect("Spray", effectOf([](Bitmap& b, EffectInputs&) { fx::spray(b); })).named("Spray2"),
                        effect("Anti Alias", effectOf([](Bitmap& b, EffectInputs&) { fx::antiAlias(b); })).named("AntiAlias1")}),
        sub("&Magnify", {magnify("x2", 2).named("N21"), magnify("x4", 4).named("N42"), magnify("x8", 8).named("N82")}),
        sub("&Reduce", {reduce("x2", 2).named("x21"), reduce("x4", 4).named("x41"), reduce("x8", 8).named("x81")}),
        sub("Move", {move("Left", fx::Direction::Left).named("ByteShiftLeft1").key("Ctrl+Alt+L"),
                     // Ctrl+Alt+R belongs to Rotate.
                     move("Right", fx::Direction::Right).named("ByteShiftRight1"),
                     move("Up", fx::Direction::Up).named("ShiftUp1").key("Ctrl+Alt+U"),
                     move("Down", fx::Direction::Down).named("ShiftDown1").key("Ctrl+Alt+D")}),
        sub("Flip", {reflection("Right", [](Bitmap& b) { fx::flip(b, fx::Direction::Right); }).named("Horizontal4"),
                     reflection("Down", [](Bitmap& b) { fx::flip(b, fx::Direction::Down); }).named("Vertical5")}),
        sub("Mirror", {reflection("&Down", [](Bitmap& b) { fx::mirrorHalf(b, fx::Direction::Down); }).named("Down1"),
                       reflection("&Up", [](Bitmap& b) { fx::mirrorHalf(b, fx::Direction::Up); }).named("Up1"),
                       reflection("&Left", [](Bitmap& b) { fx::mirrorHalf(b, fx::Direction::Left); }).named("Left2"),
                       reflection("&Right", [](Bitmap& b) { fx::mirrorHalf(b, fx::Direction::Right); }).named("Right2"),
                       sep(), reflection("Quad Top Left", &fx::mirrorQuad).named("QuadTopLeft1"), wedge()}),
        sub("Colors", {shuffle("Roll RGB", fx::ChannelShuffle::RollRGB).named("RollColors1"),
                       shuffle("Swap RG", fx::ChannelShuffle::SwapRG).named("SwapRG1"),
                       shuffle("Swap GB", fx::ChannelShuffle::SwapGB).named("SwapGB1"),
                       shuffle("Swap RB", fx::ChannelShuffle::SwapRB).named("SwapRB1")}),
        sub("Shadow", {shadow("Up Left", fx::Corner::UpLeft).named("Extrude1"),
                       shadow("Up Right", fx::Corner::UpRight).named("UpRight1"),
                       shadow("Down Left", fx::Corner::DownLeft).named("DownLeft1"),
                       shadow("Down Right", fx::Corner::DownRight).named("DownRight1")}),
        sub("Pixelize", {pixelize("2", 2).named("Square1"), pixelize("3", 3).named("N33"), pixelize("4", 4).named("N43"),
                         pixelize("5", 5).named("N52"), pixelize("10", 10).named("N102"), pixelize("15", 15).named("N151"),
                         pixelize("20", 20).named("N201")}),
        sub("Ripple", {offsetRipple("Random", fx::OffsetRipple::Random).named("Random2"),
                       offsetRipple("Tooth", fx::OffsetRipple::Tooth).named("Tooth1"),
                       offsetRipple("Triangle", fx::OffsetRipple::Triangle).named("Triangle2"),
                       waveRipple("Wave", fx::WaveRipple::Wave).named("Wave1"),
                       waveRipple("Wave Extra", fx::WaveRipple::WaveExtra).named("WaveExtra1"),
                       waveRipple("Wave Inference", fx::WaveRipple::WaveInference).named("WaveInference1"), sep(),
                       prompt("Height...", numberInto(fx::kRippleHeightPrompt, &S::rippleHeight)).named("Height2"),
                       prompt("Inference...", numberInto(fx::kRippleInferencePrompt, &S::rippleInference)).named("Inference1")}),
        sub("Texturize", {texturize("Standard", 30).named("Standard1").key("F5"),
                          texturize("Overlap", 20).named("Overlap1").key("Shift+F5")}),
    });
}

// A script's filter request: the two image effects are asked for by their exact names, any
// other name goes to Quick Filter's row filters with letter case ignored.
void requestFilter(F& w, const QString& name) {
    if (name == QLatin1String("trace")) runEffect(w, traceRow());
    else if (name == QLatin1String("invert")) runEffect(w, invertRow());
    else w.windows().requestFilter(name);
}

}  // namespace pixoral
