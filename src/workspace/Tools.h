#pragma once
// The drawing tools: the mouse handlers of the workspace do the shared plumbing once (in
// ToolEngine) and hand the rest to the tool object that serves the current drawing mode.
// Tools see a ToolContext, never the window: they build and are tested without widgets.
#include <QString>
#include <QStringList>
#include <Qt>
#include <map>
#include <memory>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Geometry.h"
#include "effects/Range.h"
#include "workspace/Figures.h"
#include "workspace/UndoRing.h"
#include "workspace/WorkspaceSettings.h"

namespace pixoral {

class Dialogs;

struct MouseInput {
    int x = 0;
    int y = 0;
    Qt::MouseButton button = Qt::LeftButton;
    Qt::KeyboardModifiers modifiers;
};

// The picture and everything the commands and tools change besides it.
struct WorkspaceState {
    Bitmap image;
    WorkspaceSettings settings;
    effects::RangeState range;  // the current range, the range buffer and their modes
    UndoRing undo;
};

// Engine state of the mouse handlers.
struct DragState {
    bool dragging = false;
    Point start, previous;
    QString slineDirection = QStringLiteral("none");
    PenMode savedPenMode = PenMode::pmCopy;
};

// The figure settings as the figure functions take them.
inline FigureParams figureParamsOf(const WorkspaceSettings& s) {
    FigureParams p;
    p.starPoints = s.starPoints;
    p.shapesCount = s.shapesCount;
    p.polygon = s.polygon;
    p.spiralTurns = s.spiralTurns;
    p.spiralFactor = s.spiralFactor;
    p.spiralDirection = s.spiralDirection;
    p.spiroTurns = s.spiroTurns;
    p.blocks = s.blocks;
    p.rounding = s.rounding;
    p.lineTolerance = s.lineTolerance;
    return p;
}

// What a tool may ask of the window around it.
class ToolHost {
public:
    virtual ~ToolHost() = default;
    virtual Dialogs& dialogs() = 0;
    // The fill indicator's colours (not always the canvas's).
    virtual TColor indicatorPenColor() const = 0;
    virtual TColor indicatorBrushColor() const = 0;
    virtual void setIndicatorColors(TColor pen, TColor brush) = 0;
    // Text for the script editor's caret (recorded strokes, Ctrl-clicked coordinates); taken
    // only while the editor's text area is visible.
    virtual bool recording() const = 0;
    virtual void record(const QString& text) = 0;
    // Coordinates the user asked for: inserted like a stroke, and the editor takes the focus.
    virtual void recordInput(const QString& text) { record(text); }
    virtual void setStatusText(int panel, const QString& text) = 0;
    // A Shift press starts at the anchor; the pointer follows it there.
    virtual void movePointerTo(Point p) = 0;
};

// What one mouse event of a tool works on. Made by the engine for each event.
class ToolContext {
public:
    ToolContext(WorkspaceState& ws, ToolHost& host, DragState& drag, std::vector<Rect>& dirty, bool& dirtyKnown)
        : ws_(ws), host_(host), drag_(drag), dirty_(dirty), dirtyKnown_(dirtyKnown) {}

    Bitmap& workspace() { return ws_.image; }
    const Bitmap& workspace() const { return ws_.image; }
    Canvas& canvas() { return ws_.image.canvas(); }
    WorkspaceSettings& settings() { return ws_.settings; }
    const WorkspaceSettings& settings() const { return ws_.settings; }
    effects::RangeState& rangeState() { return ws_.range; }
    const DragState& drag() const { return drag_; }
    DragState& dragState() { return drag_; }
    FigureParams figureParams() const { return figureParamsOf(ws_.settings); }
    Dialogs& dialogs() { return host_.dialogs(); }

    bool scriptTextVisible() const { return host_.recording(); }
    void recordText(const QString& text) { host_.record(text); }
    TColor shapeflagPenColor() const { return host_.indicatorPenColor(); }
    TColor shapeflagBrushColor() const { return host_.indicatorBrushColor(); }
    void setShapeflagColors(TColor pen, TColor brush) { host_.setIndicatorColors(pen, brush); }

    // What a tool changed during a mouse move, so only that part is shown again. A move that
    // marks nothing repaints the whole image; markUnchanged() says nothing was drawn.
    void markDirty(const Rect& r) {
        dirtyKnown_ = true;
        if (r.left < r.right && r.top < r.bottom) dirty_.push_back(r);
    }
    void markUnchanged() { dirtyKnown_ = true; }

private:
    WorkspaceState& ws_;
    ToolHost& host_;
    DragState& drag_;
    std::vector<Rect>& dirty_;
    bool& dirtyKnown_;
};

class Tool {
public:
    virtual ~Tool() = default;
    virtual void press(ToolContext& w, const MouseInput& in) { (void)w; (void)in; }
    virtual void move(ToolContext& w, const MouseInput& in) { (void)w; (void)in; }
    virtual void release(ToolContext& w, const MouseInput& in) { (void)w; (void)in; }
};

// One mode name of a tool and what the status bar asks the user for while the drawing mode
// has that name: a multi-phase tool names each of its phases ("bezier1": "click the first
// control point"); a one-step tool asks for nothing.
struct ToolPhase {
    QString mode;
    QString step;
};

class ToolTable {
public:
    // One tool may serve several mode names (its phases: "chord", "chord1", ...).
    void add(const QStringList& modes, std::shared_ptr<Tool> tool) {
        for (const QString& m : modes) tools_[m] = Entry{tool, QString()};
    }
    void add(const std::vector<ToolPhase>& phases, std::shared_ptr<Tool> tool) {
        for (const ToolPhase& p : phases) tools_[p.mode] = Entry{tool, p.step};
    }
    Tool* find(const QString& mode) const {
        const auto it = tools_.find(mode);
        return it == tools_.end() ? nullptr : it->second.tool.get();
    }
    bool has(const QString& mode) const { return find(mode) != nullptr; }
    // The hint for a mode; empty for one-step tools and unknown modes.
    QString stepOf(const QString& mode) const {
        const auto it = tools_.find(mode);
        return it == tools_.end() ? QString() : it->second.step;
    }

private:
    struct Entry {
        std::shared_ptr<Tool> tool;
        QString step;
    };
    std::map<QString, Entry> tools_;
};

// Every drawing tool and every range tool (DrawingTools.cpp, RangeTools.cpp).
void registerDrawingTools(ToolTable& table);
void registerRangeTools(ToolTable& table);

}  // namespace pixoral
