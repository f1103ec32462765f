// The Range menu: rows over the range operations of effects/RangeOps. Like every menu
// effect they store no undo step of their own; the last press on the workspace is the step
// they are undone with.
#include "effects/ColorEffects.h"
#include "effects/Distortions.h"
#include "effects/RangeOps.h"
#include "generators/TButtonF.h"
#include "workspace/Commands.h"
#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

using F = TPixoralF;
using namespace rows;
namespace fx = effects;

namespace {

// A row running one range operation on the workspace.
MenuEntry rangeOp(const char* caption, void (*op)(Bitmap&, fx::RangeState&)) {
    return effect(caption, effectOf([op](Bitmap& b, EffectInputs& in) { op(b, in.range); }));
}

// A row changing only the range itself.
MenuEntry rangeEdit(const char* caption, void (*edit)(fx::RangeState&)) {
    return item(caption, [edit](F& w) { edit(w.rangeState()); });
}

// Range > Whirl: the range (white beyond the image) whirled about its own centre in the
// buffer and drawn back at its top-left corner through the workspace's copy mode; the
// workspace becomes 24-bit.
MenuEntry rangeWhirl(const char* caption, int type) {
    return effect(caption, effectOf([type](Bitmap& b, EffectInputs& in) {
        if (fx::rangeIsEmpty(in.range.range)) return true;
        if (!fx::loadRange(b, in.range) || !fx::whirl(in.range.buffer, type, in.settings.whirlAngles) ||
            !fx::convertPixelFormat(b, PixelFormat::pf24bit))
            return false;
        fx::pasteclip(b, in.range);
        return true;
    }));
}

// Range > Logic: the And, Or and Xor families in table order; "User" asks for its colour
// first (the last choice is offered again) and a cancelled dialog does nothing.
MenuEntry logicMenu(fx::LogicFamily family, const char* caption) {
    std::vector<MenuEntry> v;
    for (const fx::LogicItem& it : fx::kLogicItems) {
        if (it.family != family) continue;
        const TColor fixed = it.color;
        const bool user = it.userColor;
        MenuEntry e = effect(it.caption, effectOf([family, fixed, user](Bitmap& b, EffectInputs& in) {
            fx::logicRange(b, in.range, family, user ? in.settings.logicUserColor : fixed);
        }));
        if (user) e.prompt = std::make_shared<const PromptRow>(colorInto(&WorkspaceSettings::logicUserColor));
        e.named(QString::fromLatin1(it.name));
        v.push_back(std::move(e));
    }
    return sub(caption, std::move(v));
}

// Range > Assign To > Quick Button: the range, loaded into the range buffer as the range
// effects load it, becomes the button's backdrop. With no range there is nothing to assign,
// and the backdrop the button has is kept.
void QuickButton2Click(F& w) {
    if (!fx::loadRange(w.workspace(), w.rangeState())) {
        w.fail(QStringLiteral("Select a range to assign first."));
        return;
    }
    w.windows().quickButton()->assignBackdrop(w.rangeState().buffer);
}

}  // namespace

MenuEntry rangeMenu() {
    PromptRow offset;
    offset.number = fx::kSplitOffsetPrompt;
    offset.get = [](F& w) { return w.rangeState().splitOffset; };
    offset.set = [](F& w, double v) { w.rangeState().splitOffset = static_cast<int>(v); };
    PromptRow transparent;
    transparent.kind = PromptRow::Kind::Color;
    transparent.get = [](F& w) { return static_cast<double>(w.rangeState().transparentColor); };
    transparent.set = [](F& w, double v) { w.rangeState().transparentColor = static_cast<TColor>(v); };

    return sub("&Range", {
        sub("Assign To", {item("Quick Button", &QuickButton2Click).named("QuickButton2")}),
        transitionMenu(),
        rangeOp("Erase", &fx::eraseRange).named("Erase1"),
        rangeOp("&Invert", &fx::invertRange).named("Invert2"),
        sub("Square", {rangeEdit("to Height", &fx::squareToHeight).named("toHeight1"),
                       rangeEdit("to Width", &fx::squareToWidth).named("toWidth1")}),
        sub("&Whirl", {rangeWhirl("Whirl In", 0).named("WhirlIn1"), rangeWhirl("Whirl Out", 1).named("WhirlOut2"),
                       rangeWhirl("Whirl Center", 2).named("WhirlCenter1"), rangeWhirl("Whirl Double", 3).named("WhirlDouble1")}),
        rangeOp("Magnify", &fx::magnifyRange).named("Magnify1"),
        sub("&Logic", {logicMenu(fx::LogicFamily::And, "&And"), logicMenu(fx::LogicFamily::Or, "&Or"),
                       logicMenu(fx::LogicFamily::Xor, "&Xor")}),
        item("&Select All", [](F& w) { fx::selectAll(w.workspace(), w.rangeState()); }).named("SelectAll2").key("Ctrl+A"),
        rangeMaskMenu(),
        sub("&Tile", {rangeOp("&All", &fx::tileAll).named("Tile1"), rangeOp("&Diagonal", &fx::tileDiagonal).named("Random1")}),
        sub("&Border", {rangeOp("&Horizontal", &fx::borderHorizontal).named("Horizontal2"),
                        rangeOp("&Vertical", &fx::borderVertical).named("Vertical3")}),
        rangeOp("Mirror", &fx::mirrorRange).named("Mirror1"),
        rangeOp("Stretch", &fx::stretchRange).named("Mozaic1"),
        rangeOp("Reduce", &fx::reduceRange).named("Reduce2"),
        sub("Split", {prompt("Set &Offset...", std::move(offset)).named("SetOffset1"),
                      rangeOp("&Horizontal", &fx::splitHorizontal).named("Horizontal3"),
                      rangeOp("&Vertical", &fx::splitVertical).named("Vertical4")}),
        tool("Move", "rangemove", -1, false).named("Move1"),
        tool("Smear", "rangesmear", -1, false).named("Smear1"),
        sub("Copy Transparent", {prompt("Color...", std::move(transparent)).named("Color5"),
                                 tool("&Copy", "transcopy", -1, false).named("Copy4")}),
    });
}

}  // namespace pixoral
