#pragma once
// The workspace's three mouse handlers without the window: the steps every tool shares are
// done here once (Ctrl hands coordinates to the script editor, the right button sets the
// anchor, Shift starts at the anchor, the undo step, the saved pen mode, the status texts),
// and the rest goes to the tool of the current drawing mode.
#include <optional>
#include <vector>

#include "workspace/Tools.h"

namespace pixoral {

class ToolEngine {
public:
    // Fills the table with every drawing and range tool.
    ToolEngine();

    ToolTable& tools() { return tools_; }
    const ToolTable& tools() const { return tools_; }
    const DragState& drag() const { return drag_; }

    // What the window shows again after an event: nothing, the listed parts, or everything.
    struct Repaint {
        enum Kind { None, Parts, Whole } kind = Whole;
        std::vector<Rect> parts;
    };

    // Positions far beyond any image (batch mode takes any number) are brought within the
    // bound where figure arithmetic cannot overflow before anything else sees them.
    Repaint mouseDown(WorkspaceState& ws, ToolHost& host, const MouseInput& in);
    Repaint mouseMove(WorkspaceState& ws, ToolHost& host, const MouseInput& in);
    Repaint mouseUp(WorkspaceState& ws, ToolHost& host, const MouseInput& in);

private:
    ToolContext context(WorkspaceState& ws, ToolHost& host);

    ToolTable tools_;
    DragState drag_;
    std::vector<Rect> dirty_;
    bool dirtyKnown_ = false;
};

}  // namespace pixoral
