// The Range menu and "Mask Clip": thin handlers over the range operations of effects/RangeOps.
// Like every menu effect they store no undo step of their own; the last press on the
// workspace is the step they are undone with.
#include "effects/RangeOps.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

const effects::LogicItem& logicItem(effects::LogicFamily family, const char* caption) {
    for (const effects::LogicItem& it : effects::kLogicItems)
        if (it.family == family && qstrcmp(it.caption, caption) == 0) return it;
    Q_UNREACHABLE();
}

}  // namespace

// ---- the range itself ----

void TPixoralF::SelectAll2Click() { effects::selectAll(workspace_, range_); }

void TPixoralF::toHeight1Click() { effects::squareToHeight(range_); }

void TPixoralF::toWidth1Click() { effects::squareToWidth(range_); }

void TPixoralF::SetOffset1Click() { range_.splitOffset = pixoral::askInt(dialogs(), effects::kSplitOffsetPrompt, range_.splitOffset); }

void TPixoralF::Color5Click() {
    if (const auto c = dialogs().color(range_.transparentColor)) range_.transparentColor = *c;
}

// ---- operations on the range's pixels ----

void TPixoralF::Invert2Click() {
    effects::invertRange(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::runLogicItem(const effects::LogicItem& it) {
    TColor c = it.color;
    if (it.userColor) {
        const auto chosen = dialogs().color(logicUserColor_);
        if (!chosen) return;
        c = logicUserColor_ = *chosen;
    }
    effects::logicRange(workspace_, range_, it.family, c);
    repaintWorkspace();
}

void TPixoralF::Blue2Click() { runLogicItem(logicItem(effects::LogicFamily::And, "&Blue")); }
void TPixoralF::Red2Click() { runLogicItem(logicItem(effects::LogicFamily::And, "&Red")); }
void TPixoralF::Green2Click() { runLogicItem(logicItem(effects::LogicFamily::And, "&Green")); }
void TPixoralF::User1Click() { runLogicItem(logicItem(effects::LogicFamily::And, "&User")); }
void TPixoralF::Red3Click() { runLogicItem(logicItem(effects::LogicFamily::Or, "&Red")); }
void TPixoralF::Blue3Click() { runLogicItem(logicItem(effects::LogicFamily::Or, "&Blue")); }
void TPixoralF::Green3Click() { runLogicItem(logicItem(effects::LogicFamily::Or, "&Green")); }
void TPixoralF::User2Click() { runLogicItem(logicItem(effects::LogicFamily::Or, "&User")); }
void TPixoralF::Red4Click() { runLogicItem(logicItem(effects::LogicFamily::Xor, "&Red")); }
void TPixoralF::Blue4Click() { runLogicItem(logicItem(effects::LogicFamily::Xor, "&Blue")); }
void TPixoralF::Green4Click() { runLogicItem(logicItem(effects::LogicFamily::Xor, "&Green")); }
void TPixoralF::User3Click() { runLogicItem(logicItem(effects::LogicFamily::Xor, "&User")); }

void TPixoralF::Tile1Click() {
    effects::tileAll(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::Random1Click() {
    effects::tileDiagonal(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::Horizontal2Click() {
    effects::borderHorizontal(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::Vertical3Click() {
    effects::borderVertical(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::Mirror1Click() {
    effects::mirrorRange(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::Mozaic1Click() {
    effects::stretchRange(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::Reduce2Click() {
    effects::reduceRange(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::Horizontal3Click() {
    effects::splitHorizontal(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::Vertical4Click() {
    effects::splitVertical(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::Erase1Click() {
    effects::eraseRange(workspace_, range_);
    repaintWorkspace();
}

void TPixoralF::MaskClip1Click() {
    effects::maskClip(workspace_, range_, shapeflagBrushColor());
    repaintWorkspace();
}

}  // namespace pixoral
