#include "workspace/ToolEngine.h"

#include <algorithm>
#include <cstdlib>

#include "workspace/DirtyRegion.h"

namespace pixoral {

namespace {

MouseInput clampedInput(const MouseInput& in) {
    MouseInput out = in;
    out.x = std::clamp(in.x, -dirty::kCoordLimit, dirty::kCoordLimit);
    out.y = std::clamp(in.y, -dirty::kCoordLimit, dirty::kCoordLimit);
    return out;
}

}  // namespace

ToolEngine::ToolEngine() {
    registerDrawingTools(tools_);
    registerRangeTools(tools_);
}

ToolContext ToolEngine::context(WorkspaceState& ws, ToolHost& host) {
    return ToolContext(ws, host, drag_, dirty_, dirtyKnown_);
}

ToolEngine::Repaint ToolEngine::mouseDown(WorkspaceState& ws, ToolHost& host, const MouseInput& input) {
    MouseInput in = clampedInput(input);
    // Ctrl-clicks give their coordinates to the script editor; nothing is drawn.
    if (in.modifiers & Qt::ControlModifier) {
        if (host.recording()) host.recordInput(recordCoords(Point{in.x, in.y}));
        return {Repaint::None, {}};
    }
    if (in.button == Qt::RightButton) {
        ws.settings.anchor = Point{in.x, in.y};
        return {Repaint::None, {}};
    }
    if (in.modifiers & Qt::ShiftModifier) {
        in.x = ws.settings.anchor.x;
        in.y = ws.settings.anchor.y;
        host.movePointerTo(ws.settings.anchor);
    }
    // Keeping the undo step never stops the stroke; what the budget cost is said in the
    // status bar.
    if (const UndoRing::Kept kept = ws.undo.push(ws.image); kept.lostSomething())
        host.setStatusText(0, UndoRing::keptMessage(kept));
    Canvas& c = ws.image.canvas();
    c.moveTo(in.x, in.y);
    drag_.start = drag_.previous = Point{in.x, in.y};
    drag_.slineDirection = QStringLiteral("none");
    drag_.dragging = true;
    drag_.savedPenMode = c.pen().mode;
    if (Tool* t = tools_.find(ws.settings.drawingMode)) {
        ToolContext ctx = context(ws, host);
        t->press(ctx, in);
    }
    c.pen().mode = drag_.savedPenMode;
    return {};
}

ToolEngine::Repaint ToolEngine::mouseMove(WorkspaceState& ws, ToolHost& host, const MouseInput& input) {
    const MouseInput in = clampedInput(input);
    if (in.modifiers & Qt::ControlModifier) return {Repaint::None, {}};
    if (!drag_.dragging) {
        host.setStatusText(2, QStringLiteral("x=%1 y=%2").arg(in.x).arg(in.y));
        return {Repaint::None, {}};
    }
    // With Alt the offset from the press point is shown instead of position and size.
    if (in.modifiers & Qt::AltModifier)
        host.setStatusText(2, QStringLiteral("dx=%1 dy=%2").arg(drag_.start.x - in.x).arg(in.y - drag_.start.y));
    else
        host.setStatusText(2, QStringLiteral("x=%1 y=%2 w=%3 h=%4")
                                  .arg(in.x)
                                  .arg(in.y)
                                  .arg(std::abs(in.x - drag_.start.x))
                                  .arg(std::abs(in.y - drag_.start.y)));
    Canvas& c = ws.image.canvas();
    const PenMode saved = c.pen().mode;
    drag_.savedPenMode = saved;
    Tool* t = tools_.find(ws.settings.drawingMode);
    if (!t) return {Repaint::None, {}};
    dirty_.clear();
    dirtyKnown_ = false;
    ToolContext ctx = context(ws, host);
    t->move(ctx, in);
    c.pen().mode = saved;
    // Only what the tool says it touched is shown again; a tool that says nothing gets the
    // whole image.
    if (!dirtyKnown_) return {};
    return {Repaint::Parts, dirty::clipTo(dirty_, ws.image.width(), ws.image.height())};
}

ToolEngine::Repaint ToolEngine::mouseUp(WorkspaceState& ws, ToolHost& host, const MouseInput& input) {
    const MouseInput in = clampedInput(input);
    if ((in.modifiers & Qt::ControlModifier) || in.button == Qt::RightButton) return {Repaint::None, {}};
    Canvas& c = ws.image.canvas();
    const PenMode saved = c.pen().mode;
    drag_.savedPenMode = saved;
    if (drag_.dragging)
        if (Tool* t = tools_.find(ws.settings.drawingMode)) {
            ToolContext ctx = context(ws, host);
            t->release(ctx, in);
        }
    drag_.dragging = false;
    c.pen().mode = saved;
    return {};
}

}  // namespace pixoral
