#pragma once
// The drawing settings the main window holds for every subsystem, with their start values.
#include <QString>
#include <array>

#include "canvas/Canvas.h"
#include "canvas/Color.h"
#include "canvas/Geometry.h"
#include "effects/Distortions.h"
#include "effects/Ripples.h"

namespace pixoral {

struct WorkspaceSettings {
    // Tool engine and figures
    QString drawingMode = QStringLiteral("line");
    QString copySelectionMode = QStringLiteral("paste");
    Point anchor{0, 0};
    int spiralTurns = 3;
    double spiralFactor = 0.99;
    int spiralDirection = 1;  // +1 right, -1 left
    int starPoints = 5;
    int shapesCount = 1;
    bool polygon = false;
    int lineTolerance = 5;
    int blocks = 8;
    int rounding = 10;
    int spiroTurns = 40;
    // The split offset and the clip copy mode live with the range (effects::RangeState).

    // Text
    QString paintText = QStringLiteral("Pixoral");
    Font textFont;  // the workspace canvas font at start-up
    Font fontDialogFont{QStringLiteral("MS Sans Serif"), 8};  // what the font dialog opens with first
    int shadowDx = -2;
    int shadowDy = -2;
    TColor shadowColor = clSilver;

    // Make Button
    int buttonWidth = 88;
    int buttonHeight = 31;
    TColor buttonColor = clSilver;

    // Defaults held here for the effect, transition and file commands
    double projectionFactor = 0.75;
    bool projectionSinus = true;
    bool retainBorders = false;
    int rotationAngle = 90;
    int rippleHeight = effects::kRippleHeightRange.def;
    int rippleInference = effects::kRippleInferenceRange.def;
    TColor transitionStart = clBlack;
    TColor transitionEnd = clNavy;
    int transitionBands = 20;
    int transitionXStep = 0;
    int transitionYStep = 0;
    int colorByte = 0;
    int traceIntensity = 1;
    TColor logicUserColor = clBlack;  // what Range > Logic > User chose last
    int splitImageCount = 2;
    bool gifTransparent = false;
    int frameCount = 1;
    int currentFrame = 0;

    // The whirl table: sine and cosine of -90..+90 degrees in one-degree steps.
    effects::WhirlTable whirlAngles = effects::makeWhirlTable();
};

}  // namespace pixoral
