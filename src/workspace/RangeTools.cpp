// The range tools of the drawing engine: paste, mask paste, colour paste, move, smear and
// transparent copy. The mouse handlers have already stored the undo step and moved a Shift
// press to the anchor; these objects only do what their mode does with the range.
#include "effects/RangeOps.h"
#include "workspace/Tools.h"

namespace pixoral {

namespace {

Point at(const MouseInput& in) { return Point{in.x, in.y}; }

// Marks the rectangle a copy of size (w, h) covers at p, so a move repaints only that.
void markCopy(ToolContext& w, Point p, int width, int height) {
    const Point q = effects::clampRangePoint(p);
    w.markDirty(Rect{q.x, q.y, q.x + width, q.y + height});
}

// "paste": the range copied to the release point; with Shift held each move stamps a copy
// along the way.
class PasteTool : public Tool {
public:
    void move(ToolContext& w, const MouseInput& in) override {
        if (!(in.modifiers & Qt::ShiftModifier)) {
            w.markUnchanged();
            return;
        }
        effects::pasteRangeAt(w.workspace(), w.rangeState(), at(in));
        const Rect p = effects::rangePixels(w.rangeState().range);
        markCopy(w, at(in), p.width(), p.height());
    }
    void release(ToolContext& w, const MouseInput& in) override {
        effects::pasteRangeAt(w.workspace(), w.rangeState(), at(in));
    }
};

// "pastemask": the range's mask for the indicator's fill colour, copied to the release point.
class PasteMaskTool : public Tool {
public:
    void release(ToolContext& w, const MouseInput& in) override {
        effects::pasteMaskAt(w.workspace(), w.rangeState(), at(in), w.shapeflagBrushColor());
    }
};

// "pastecolor" / "pastecolorx": the range's pixels of the indicator's fill colour carried to
// the release point, as that colour or exclusive-or'ed with it.
class PasteColorTool : public Tool {
public:
    explicit PasteColorTool(bool inverted) : inverted_(inverted) {}
    void release(ToolContext& w, const MouseInput& in) override {
        effects::pasteColorAt(w.workspace(), w.rangeState(), at(in), w.shapeflagBrushColor(), inverted_);
    }

private:
    bool inverted_;
};

// "rangemove" / "rangesmear": the press loads the inverted range and draws it at the press
// point with source invert (which the workspace keeps). A move draws the copy again where it
// was, which removes it, before drawing it at the new point; a smear leaves every copy.
class RangeDragTool : public Tool {
public:
    explicit RangeDragTool(bool smear) : smear_(smear) {}
    void press(ToolContext& w, const MouseInput& in) override {
        last_ = at(in);
        effects::rangeDragStart(w.workspace(), w.rangeState(), last_);
    }
    void move(ToolContext& w, const MouseInput& in) override {
        const Point p = at(in);
        const Bitmap& buf = w.rangeState().buffer;
        if (smear_) {
            effects::rangeSmearStep(w.workspace(), w.rangeState(), p);
        } else {
            effects::rangeMoveStep(w.workspace(), w.rangeState(), last_, p);
            markCopy(w, last_, buf.width(), buf.height());
        }
        markCopy(w, p, buf.width(), buf.height());
        last_ = p;
    }

private:
    bool smear_;
    Point last_;  // where the moving copy is shown
};

// "transcopy": the range copied to the release point, its pixels of the transparent copy
// colour replaced by the workspace brush.
class TransparentCopyTool : public Tool {
public:
    void release(ToolContext& w, const MouseInput& in) override {
        effects::transparentCopyAt(w.workspace(), w.rangeState(), at(in));
    }
};

}  // namespace

void registerRangeTools(ToolTable& t) {
    t.add({QStringLiteral("paste")}, std::make_shared<PasteTool>());
    t.add({QStringLiteral("pastemask")}, std::make_shared<PasteMaskTool>());
    t.add({QStringLiteral("pastecolor")}, std::make_shared<PasteColorTool>(false));
    t.add({QStringLiteral("pastecolorx")}, std::make_shared<PasteColorTool>(true));
    t.add({QStringLiteral("rangemove")}, std::make_shared<RangeDragTool>(false));
    t.add({QStringLiteral("rangesmear")}, std::make_shared<RangeDragTool>(true));
    t.add({QStringLiteral("transcopy")}, std::make_shared<TransparentCopyTool>());
}

}  // namespace pixoral
