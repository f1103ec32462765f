#include "workspace/ToolCommands.h"

#include <QAction>

#include "workspace/DirtyRegion.h"
#include "workspace/FigureOptions.h"
#include "workspace/TPixoralF.h"
#include "workspace/WorkspaceControls.h"

namespace pixoral {

namespace toolcommands {

namespace {

QString ask(TPixoralF& w, const OptionPrompt& p) { return w.dialogs().inputBox(p.caption, p.prompt, p.defaultText); }

}  // namespace

void setSpiralTurns(TPixoralF& w, int turns) { w.settings().spiralTurns = turns; }
void otherSpirals(TPixoralF& w) { w.settings().spiralTurns = spiralsFromText(ask(w, spiralsPrompt())); }
void setSpiralDirection(TPixoralF& w, int direction) { w.settings().spiralDirection = direction; }
void setSpiralFactor(TPixoralF& w, double factor) { w.settings().spiralFactor = factor; }
void otherSpiralFactor(TPixoralF& w) { w.settings().spiralFactor = spiralFactorFromText(ask(w, spiralFactorPrompt())); }
void setStarPoints(TPixoralF& w, int points) { w.settings().starPoints = points; }
void askShapes(TPixoralF& w) { w.settings().shapesCount = shapesFromText(ask(w, shapesPrompt())); }
void askLineTolerance(TPixoralF& w) { w.settings().lineTolerance = lineToleranceFromText(ask(w, lineTolerancePrompt())); }
void askBlocks(TPixoralF& w) { w.settings().blocks = blocksFromText(ask(w, blocksPrompt())); }
void askRounding(TPixoralF& w) { w.settings().rounding = roundingFromText(ask(w, roundingPrompt())); }

void askSpiroTurns(TPixoralF& w) {
    const int current = w.settings().spiroTurns;
    w.settings().spiroTurns = spiroTurnsFromText(ask(w, spiroTurnsPrompt(current)), current);
}

void togglePolygon(TPixoralF& w) {
    bool& on = w.settings().polygon;
    on = !on;
    // The check mark follows the setting, whichever way the command was reached.
    if (QAction* a = w.actionForPath(QStringLiteral("Options>Polygon"))) a->setChecked(on);
}

}  // namespace toolcommands

// ---------------------------------------------------------------- recorder and repaint

void TPixoralF::recordText(const QString& text) {
    if (!scriptTextVisible_) return;
    // The editor itself comes later; until then the texts are kept here, the last few only.
    recordedTexts_ << text;
    while (recordedTexts_.size() > 100) recordedTexts_.removeFirst();
}

void TPixoralF::markDirty(const Rect& r) {
    dirtyKnown_ = true;
    if (r.left < r.right && r.top < r.bottom) dirty_.push_back(r);
}

void TPixoralF::repaintRegion(const std::vector<Rect>& region) {
    const std::vector<Rect> parts = dirty::clipTo(region, workspace_.width(), workspace_.height());
    if (parts.empty()) return;
    mypaint->updateRegion(workspace_, parts);
}

}  // namespace pixoral
