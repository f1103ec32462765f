#pragma once
// The Options menu of the drawing tools: each handler asks through the window's dialogs and
// applies the rules of FigureOptions.
namespace pixoral {

class TPixoralF;

namespace toolcommands {

void setSpiralTurns(TPixoralF& w, int turns);
void otherSpirals(TPixoralF& w);
void setSpiralDirection(TPixoralF& w, int direction);
void setSpiralFactor(TPixoralF& w, double factor);
void otherSpiralFactor(TPixoralF& w);
void setStarPoints(TPixoralF& w, int points);
void askShapes(TPixoralF& w);
void togglePolygon(TPixoralF& w);
void askLineTolerance(TPixoralF& w);
void askBlocks(TPixoralF& w);
void askRounding(TPixoralF& w);
void askSpiroTurns(TPixoralF& w);

}  // namespace toolcommands
}  // namespace pixoral
