#pragma once
// A turtle bound to a fresh 256 by 256 white image whose host answers the image size.
#include <QString>
#include <memory>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "script/Turtle.h"
#include "../common/TestSupport.h"

namespace pixoral::test {

struct TurtleEnv {
    Bitmap bmp{256, 256};
    TTurtle t;
    int repaints = 0;
    TurtleEnv() {
        t.setCanvas(&bmp.canvas());
        t.OnRequestImageSize = [this](Rect& r) { r = Rect{0, 0, bmp.width() - 1, bmp.height() - 1}; };
        t.OnRepaintRequest = [this] { ++repaints; };
    }
    TTurtle::RunResult run(const char* script) { return t.RunScript(QString::fromUtf8(script)); }
    Canvas& canvas() { return bmp.canvas(); }
    int countColor(TColor c) const { return countPixels(bmp, c); }
    int countNot(TColor c) const { return bmp.width() * bmp.height() - countColor(c); }
};

inline std::unique_ptr<TurtleEnv> makeEnv() { return std::make_unique<TurtleEnv>(); }

}  // namespace pixoral::test
