// The drawing tools behind the workspace's mouse handlers. Each tool serves one mode name or a
// family of phase names; the handlers have already done the shared steps (undo step, start
// and previous point, saved pen mode) and put the pen mode back after each hook.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "core/Random.h"
#include "effects/Range.h"
#include "workspace/DirtyRegion.h"
#include "workspace/Figures.h"
#include "ui/Dialogs.h"
#include "workspace/Tools.h"

namespace pixoral {

namespace {

Point at(const MouseInput& in) { return {in.x, in.y}; }
bool isNotXor(PenMode m) { return m == PenMode::pmNotXor; }
// A script may set any pen width; beyond the coordinate limit it covers everything anyway.
int penWidthOf(const ToolContext& w) { return std::clamp(w.workspace().canvas().pen().width, 1, dirty::kCoordLimit); }
int marginOf(const ToolContext& w) { return penWidthOf(w) + 2; }
void setMode(ToolContext& w, const char* mode) { w.settings().drawingMode = QString::fromLatin1(mode); }
bool isMode(const ToolContext& w, const QString& mode) { return w.settings().drawingMode == mode; }

void line(Canvas& c, Point a, Point b) {
    c.moveTo(a.x, a.y);
    c.lineTo(b.x, b.y);
}

// Recorded strokes go to the script editor only with Alt held at the release.
void recordIf(ToolContext& w, const MouseInput& in, const QString& text) {
    if ((in.modifiers & Qt::AltModifier) && w.scriptTextVisible()) w.recordText(text);
}

template <typename Points>
void markPointList(ToolContext& w, const Points& pts) {
    w.markDirty(dirty::spanOf(std::begin(pts), std::end(pts), marginOf(w)));
}
void markPoints(ToolContext& w, std::initializer_list<Point> pts) { markPointList(w, pts); }

// ---------------------------------------------------------------- rubber bands

// A tool whose drag shows a figure from S to the pointer, drawn with pmNotXor: the figure to
// P is drawn again (removing it), then the one to (X, Y).
class RubberTool : public Tool {
public:
    void move(ToolContext& w, const MouseInput& in) override { band(w, at(in)); }

protected:
    virtual void shape(ToolContext& w, Point s, Point e) = 0;
    virtual void markShape(ToolContext& w, Point s, Point e) { markPoints(w, {s, e}); }

    void band(ToolContext& w, Point to) {
        DragState& d = w.dragState();
        w.canvas().pen().mode = PenMode::pmNotXor;
        shape(w, d.start, d.previous);
        shape(w, d.start, to);
        markBand(w, d.start, d.previous, to);
        d.previous = to;
    }
    virtual void markBand(ToolContext& w, Point s, Point from, Point to) {
        markShape(w, s, from);
        markShape(w, s, to);
    }
    // The final figure over the last band, unless the band itself is the result.
    void finalOutline(ToolContext& w, Point e) {
        const PenMode saved = w.drag().savedPenMode;
        if (isNotXor(saved)) return;
        w.canvas().pen().mode = saved;
        shape(w, w.drag().start, e);
    }
    // Removes the last band (drawn to P) before a figure that replaces it.
    void removeBand(ToolContext& w) {
        w.canvas().pen().mode = PenMode::pmNotXor;
        shape(w, w.drag().start, w.drag().previous);
        w.canvas().pen().mode = w.drag().savedPenMode;
    }
};

class LineBandTool : public RubberTool {
protected:
    // A line of no length is nothing, also for a wide pen (whose round end would leave a dot
    // where the first band, still S to S, was removed).
    void shape(ToolContext& w, Point s, Point e) override {
        if (s == e) w.canvas().moveTo(e.x, e.y);
        else line(w.canvas(), s, e);
    }
};

class BoxBandTool : public RubberTool {
public:
    explicit BoxBandTool(BoxFigure kind) : kind_(kind) {}

protected:
    void shape(ToolContext& w, Point s, Point e) override { drawBox(w.canvas(), kind_, s, e, w.settings().rounding); }
    // A filled rectangle drawn twice with Not Xor leaves its pixels as they were, so of the
    // interiors only the part the two boxes do not share changes.
    void markBand(ToolContext& w, Point s, Point from, Point to) override {
        if (kind_ != BoxFigure::Rectangle || w.canvas().brush().isClear()) {
            RubberTool::markBand(w, s, from, to);
            return;
        }
        const int m = marginOf(w);
        for (const Point e : {from, to})
            for (const Rect& r : dirty::rectOutline(s, e, m)) w.markDirty(r);
        for (const Rect& r : dirty::boxDifference(s, from, s, to)) w.markDirty(r);
    }
    void markShape(ToolContext& w, Point s, Point e) override {
        const Canvas& c = w.canvas();
        const int m = marginOf(w);
        if (!c.brush().isClear()) w.markDirty(dirty::spanOf({s, e}, m));
        else if (kind_ == BoxFigure::Ellipse) for (const Rect& r : dirty::ellipseOutline(s, e, m)) w.markDirty(r);
        else {
            // Widened first: the rounding is any integer the user typed, the lowest included.
            const std::int64_t rounding = std::abs(std::int64_t{w.settings().rounding});
            const int corner = kind_ == BoxFigure::RoundRect ? static_cast<int>(std::min<std::int64_t>(rounding, 1 << 20)) / 2 + 1 : 0;
            for (const Rect& r : dirty::rectOutline(s, e, m + corner)) w.markDirty(r);
        }
    }
    BoxFigure kind_;
};

// ---------------------------------------------------------------- boxes, maze, globe

class BoxTool : public BoxBandTool {
public:
    using BoxBandTool::BoxBandTool;
    void release(ToolContext& w, const MouseInput& in) override {
        const Point s = w.drag().start, e = at(in);
        finalOutline(w, e);
        const int r = w.settings().rounding;
        switch (kind_) {
        case BoxFigure::Rectangle: recordIf(w, in, recordRectangle(s, e)); break;
        case BoxFigure::RoundRect: recordIf(w, in, recordRoundRect(s, e, r)); break;
        case BoxFigure::Ellipse: recordIf(w, in, recordEllipse(s, e)); break;
        }
        // The inner figures use the user's pen mode, Not Xor included.
        w.canvas().pen().mode = w.drag().savedPenMode;
        drawNested(w.canvas(), kind_, s, e, w.settings().shapesCount, r);
    }
};

class MazeTool : public BoxBandTool {
public:
    MazeTool() : BoxBandTool(BoxFigure::Rectangle) {}
    void release(ToolContext& w, const MouseInput& in) override {
        finalOutline(w, at(in));
        w.canvas().pen().mode = w.drag().savedPenMode;
        drawMaze(w.canvas(), w.drag().start, at(in));
    }
};

class GlobeTool : public BoxBandTool {
public:
    GlobeTool() : BoxBandTool(BoxFigure::Ellipse) {}
    void release(ToolContext& w, const MouseInput& in) override {
        finalOutline(w, at(in));
        w.canvas().pen().mode = w.drag().savedPenMode;
        drawGlobe(w.canvas(), w.drag().start, at(in));
    }
};

// ---------------------------------------------------------------- lines and line-started figures

class LineTool : public LineBandTool {
public:
    void release(ToolContext& w, const MouseInput& in) override {
        if (isNotXor(w.drag().savedPenMode)) return;
        finalOutline(w, at(in));
        recordIf(w, in, recordLine(w.drag().start, at(in)));
    }
};

// Star, spiral, spirograph and cone: the rubber line only picks S and E and is removed.
class LineFigureTool : public LineBandTool {
public:
    enum Kind { Star, Spiral, Spiro, Cone };
    explicit LineFigureTool(Kind k) : kind_(k) {}
    void release(ToolContext& w, const MouseInput& in) override {
        removeBand(w);  // leaves the pen at P, where the spiral starts from
        const Point s = w.drag().start, e = at(in);
        Canvas& c = w.canvas();
        switch (kind_) {
        case Star: drawStars(c, s, e, w.figureParams()); break;
        case Spiral: drawSpiral(c, s, e, w.figureParams()); break;
        case Cone: drawCone(c, s, e); break;
        case Spiro: {
            const QString message = drawSpirograph(c, s, e, w.settings().spiroTurns);
            if (!message.isEmpty()) w.dialogs().message(message);
            break;
        }
        }
    }

private:
    Kind kind_;
};

// ---------------------------------------------------------------- text

// Before any text tool paints, the canvas font takes the name, size and style of the text
// font (plain, unturned text).
void useTextFont(Canvas& c, const Font& textFont) {
    c.font().name = textFont.name;
    c.font().size = textFont.size;
    c.font().style = textFont.style;
    c.font().escapement = 0;
}

// The paint text at the press point when the mouse is released; with a shadow, the shadow
// first at the press point and the text moved from it by the shadow offsets.
class TextTool : public Tool {
public:
    explicit TextTool(bool shadow) : shadow_(shadow) {}
    void move(ToolContext& w, const MouseInput&) override { w.markUnchanged(); }
    void release(ToolContext& w, const MouseInput&) override {
        Canvas& c = w.canvas();
        const WorkspaceSettings& s = w.settings();
        const Point p = w.drag().start;
        useTextFont(c, s.textFont);
        if (shadow_) {
            c.font().color = s.shadowColor;
            c.textOut(p.x, p.y, s.paintText);
        }
        c.font().color = s.textFont.color;
        const Point to = shadow_ ? Point{clampCoord(std::int64_t{p.x} + s.shadowDx), clampCoord(std::int64_t{p.y} + s.shadowDy)} : p;
        c.textOut(to.x, to.y, s.paintText);
    }

private:
    bool shadow_;
};

// The drag gives the angle; the shapes count, how many copies turn about the press point.
class RotateTextTool : public LineBandTool {
public:
    void release(ToolContext& w, const MouseInput& in) override {
        removeBand(w);
        const WorkspaceSettings& s = w.settings();
        const Point p = w.drag().start;
        Canvas& c = w.canvas();
        useTextFont(c, s.textFont);
        for (const int a : rotatedTextAngles(GetAngle(p, at(in)), std::min(s.shapesCount, kMaxShapes)))
            c.textRotate(p.x, p.y, s.textFont, s.paintText, a);
    }
};

// ---------------------------------------------------------------- arc, chord, pie

class ArcTool : public Tool {
public:
    enum Kind { Arc, Chord, Pie };
    ArcTool(Kind k, const char* base) : kind_(k), base_(QString::fromLatin1(base)), band_(BoxFigure::Ellipse) {}
    // The finished figure ("chord3") waits for the next box, as the first phase does.
    std::vector<ToolPhase> phases() const {
        const QString box = QStringLiteral("drag the box of the ellipse");
        return {{base_, box},
                {base_ + '1', QStringLiteral("click the first angle point")},
                {base_ + '2', QStringLiteral("click the second angle point")},
                {base_ + '3', box}};
    }

    void press(ToolContext& w, const MouseInput&) override {
        if (isMode(w, base_ + '3')) w.settings().drawingMode = base_;
    }
    void move(ToolContext& w, const MouseInput& in) override {
        if (isMode(w, base_)) band_.move(w, in);
        else w.markUnchanged();
    }
    void release(ToolContext& w, const MouseInput& in) override {
        Canvas& c = w.canvas();
        const QString& mode = w.settings().drawingMode;
        if (mode == base_ + '2') {
            second_ = at(in);
            w.settings().drawingMode = base_ + '3';
            c.pen().mode = PenMode::pmNotXor;
            c.ellipse(box_.left, box_.top, box_.right, box_.bottom);  // the guide goes
            c.pen().mode = w.drag().savedPenMode;
            const Rect& b = box_;
            switch (kind_) {
            case Arc: c.arc(b.left, b.top, b.right, b.bottom, first_.x, first_.y, second_.x, second_.y); break;
            case Chord: c.chord(b.left, b.top, b.right, b.bottom, first_.x, first_.y, second_.x, second_.y); break;
            case Pie: c.pie(b.left, b.top, b.right, b.bottom, first_.x, first_.y, second_.x, second_.y); break;
            }
        } else if (mode == base_ + '1') {
            first_ = at(in);
            w.settings().drawingMode = base_ + '2';
        } else if (mode == base_) {
            // The last rubber ellipse stays as the guide for the two angle points.
            box_ = Rect{w.drag().start.x, w.drag().start.y, in.x, in.y};
            w.settings().drawingMode = base_ + '1';
        }
    }

private:
    Kind kind_;
    QString base_;
    BoxBandTool band_;
    Rect box_;
    Point first_, second_;
};

// ---------------------------------------------------------------- Bezier

class BezierTool : public Tool {
public:
    static std::vector<ToolPhase> phases() {
        const QString ends = QStringLiteral("drag from the start to the end of the curve");
        return {{QStringLiteral("bezier"), ends},
                {QStringLiteral("bezier1"), QStringLiteral("click the first control point")},
                {QStringLiteral("bezier2"), QStringLiteral("click the second control point")},
                {QStringLiteral("bezier3"), ends}};
    }
    void press(ToolContext& w, const MouseInput& in) override {
        if (isMode(w, QStringLiteral("bezier3"))) setMode(w, "bezier");
        const bool first = isMode(w, QStringLiteral("bezier1"));
        if (!first && !isMode(w, QStringLiteral("bezier2"))) return;
        Canvas& c = w.canvas();
        c.pen().mode = PenMode::pmNotXor;
        curve(c);
        markCurve(w);
        p_[first ? 1 : 2] = at(in);
        curve(c);
    }
    void move(ToolContext& w, const MouseInput& in) override {
        Canvas& c = w.canvas();
        c.pen().mode = PenMode::pmNotXor;
        DragState& d = w.dragState();
        if (isMode(w, QStringLiteral("bezier"))) {
            p_ = {d.start, d.start, d.previous, d.previous};
            curve(c);
            markCurve(w);
            p_[2] = p_[3] = at(in);
            curve(c);
            markCurve(w);
            d.previous = at(in);
            return;
        }
        const int k = isMode(w, QStringLiteral("bezier1")) ? 1 : isMode(w, QStringLiteral("bezier2")) ? 2 : 0;
        if (k == 0) {
            w.markUnchanged();
            return;
        }
        curve(c);
        markCurve(w);
        p_[k] = at(in);
        curve(c);
        markCurve(w);
    }
    void release(ToolContext& w, const MouseInput& in) override {
        const QString& mode = w.settings().drawingMode;
        if (mode == QLatin1String("bezier2")) {
            if (!isNotXor(w.drag().savedPenMode)) {
                p_[2] = at(in);
                w.canvas().pen().mode = w.drag().savedPenMode;
                curve(w.canvas());
                recordIf(w, in, recordCurve(p_));
            }
            setMode(w, "bezier3");
            setMode(w, "bezier");  // the finished curve is at once the start of a new one
        } else if (mode == QLatin1String("bezier1")) {
            setMode(w, "bezier2");
        } else if (mode == QLatin1String("bezier")) {
            const Point s = w.drag().start, p = w.drag().previous;
            p_ = {s, s, p, p};
            setMode(w, "bezier1");
        }
    }
    const std::array<Point, 4>& points() const { return p_; }

private:
    // A curve of one point is nothing (the first band starts as one).
    void curve(Canvas& c) const {
        if (p_[0] == p_[1] && p_[1] == p_[2] && p_[2] == p_[3]) return;
        c.polyBezier({p_[0], p_[1], p_[2], p_[3]});
    }
    // A Bezier curve stays inside the hull of its four points.
    void markCurve(ToolContext& w) const { markPointList(w, p_); }
    std::array<Point, 4> p_{};
};

// ---------------------------------------------------------------- skew rectangle, triangle, cube

class FigureTool : public Tool {
public:
    enum Kind { SkewRect, Triangle, Cube };
    FigureTool(Kind k, const char* base) : kind_(k), base_(QString::fromLatin1(base)) {}
    // The finished figure ("cube2") waits for the next first drag.
    std::vector<ToolPhase> phases() const {
        const QString first = kind_ == Cube ? QStringLiteral("drag the front face") : QStringLiteral("drag the first edge");
        const QString second = kind_ == Cube ? QStringLiteral("drag the depth") : QStringLiteral("drag the third corner");
        return {{base_, first}, {base_ + '1', second}, {base_ + '2', first}};
    }

    void press(ToolContext& w, const MouseInput&) override {
        if (isMode(w, base_ + '2')) w.settings().drawingMode = base_;
    }
    void move(ToolContext& w, const MouseInput& in) override {
        if (isMode(w, base_)) {
            if (kind_ == Cube) rect_.move(w, in);
            else line_.move(w, in);
            return;
        }
        if (!isMode(w, base_ + '1')) {
            w.markUnchanged();
            return;
        }
        Canvas& c = w.canvas();
        c.pen().mode = PenMode::pmNotXor;
        figure(c);
        markFigure(w);
        const Point q = at(in);
        switch (kind_) {
        case SkewRect:
            f_.p3 = q;
            f_.p4 = skewRectFourth(f_.p1, f_.p2, f_.p3);
            break;
        case Triangle: f_.p3 = q; break;
        case Cube: f_.p5 = q; break;
        }
        figure(c);
        markFigure(w);
    }
    void release(ToolContext& w, const MouseInput& in) override {
        Canvas& c = w.canvas();
        const PenMode saved = w.drag().savedPenMode;
        const Point s = w.drag().start, e = at(in);
        if (isMode(w, base_ + '1')) {
            if (!isNotXor(saved)) {
                c.pen().mode = saved;
                figure(c);
            }
            w.settings().drawingMode = base_ + '2';
            return;
        }
        if (!isMode(w, base_)) return;
        if (kind_ == Cube) {
            // The rectangle band is one pixel short of the face's right and bottom edges, so
            // it goes before the face is drawn; otherwise those edges would show twice.
            c.pen().mode = PenMode::pmNotXor;
            c.rectangle(s.x, s.y, w.drag().previous.x, w.drag().previous.y);
            c.pen().mode = saved;
            f_ = cubeFromFrontFace(s, e);
            c.polyline(cubePaths(f_).front());
        } else {
            if (!isNotXor(saved)) {
                c.pen().mode = saved;
                line(c, s, e);
            }
            f_.p1 = s;
            f_.p2 = f_.p3 = e;
            f_.p4 = s;
        }
        w.settings().drawingMode = base_ + '1';
    }

private:
    void figure(Canvas& c) const {
        switch (kind_) {
        case SkewRect: drawSkewRect(c, f_); break;
        case Triangle: drawTriangle(c, f_); break;
        case Cube: drawCube(c, f_); break;
        }
    }
    void markFigure(ToolContext& w) const {
        if (kind_ != Cube) {
            markPoints(w, {f_.p1, f_.p2, f_.p3, f_.p4});
            return;
        }
        std::vector<Point> pts;
        for (const auto& path : cubePaths(f_)) pts.insert(pts.end(), path.begin(), path.end());
        markPointList(w, pts);
    }
    Kind kind_;
    QString base_;
    FigurePoints f_;
    LineBandTool line_;
    BoxBandTool rect_{BoxFigure::Rectangle};
};

// ---------------------------------------------------------------- strokes

class FreehandTool : public Tool {
public:
    void move(ToolContext& w, const MouseInput& in) override {
        const Point from = w.canvas().penPos();
        w.canvas().lineTo(in.x, in.y);
        markPoints(w, {from, at(in)});
    }
};

class SlineTool : public Tool {
public:
    void move(ToolContext& w, const MouseInput& in) override {
        DragState& d = w.dragState();
        const Point before = d.previous, pen = w.canvas().penPos();
        slineStep(w.canvas(), d.slineDirection, d.previous, d.start, at(in), w.settings().lineTolerance);
        markPoints(w, {before, pen, d.previous, w.canvas().penPos()});
    }
};

class MirrorTool : public Tool {
public:
    void move(ToolContext& w, const MouseInput& in) override {
        const auto mode = mirrorModeFromName(w.settings().drawingMode);
        if (!mode) return;
        Point& p = w.dragState().previous;
        const Point from = p, to = at(in);
        drawMirrorStroke(w.canvas(), *mode, p, to);
        // Every mirror image of the segment: more than one mode draws, never less.
        const int W = w.workspace().width(), H = w.workspace().height();
        for (const auto& m : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
            const bool mx = m.first, my = m.second;  // plain names: older compilers cannot capture bindings
            const auto flip = [&](Point q) { return Point{mx ? W - q.x : q.x, my ? H - q.y : q.y}; };
            markPoints(w, {flip(from), flip(to)});
        }
    }
};

class SymTool : public Tool {
public:
    void press(ToolContext& w, const MouseInput& in) override { stroke_ = setsyms(w.canvas(), at(in), w.settings().starPoints); }
    void move(ToolContext& w, const MouseInput& in) override {
        const auto touched = stroke_.points;
        drawsyms(w.canvas(), stroke_, at(in));
        for (int i = 0; i < stroke_.count; ++i) markPoints(w, {touched[i], stroke_.points[i]});
    }

private:
    SymStroke stroke_;
};

class SprayTool : public Tool {
public:
    void move(ToolContext& w, const MouseInput& in) override {
        Canvas& c = w.canvas();
        const TColor color = c.brush().color();
        for (int i = 0; i < 10; ++i) {
            const int dx = random::below(30) - 15, dy = random::below(30) - 15;
            c.setPixel(in.x + dx, in.y + dy, color);
        }
        w.markDirty(Rect{in.x - 15, in.y - 15, in.x + 15, in.y + 15});
    }
};

class BlocksTool : public Tool {
public:
    void move(ToolContext& w, const MouseInput& in) override { fill(w, at(in)); }
    void release(ToolContext& w, const MouseInput& in) override { fill(w, at(in)); }

private:
    static void fill(ToolContext& w, Point p) {
        const int b = w.settings().blocks;
        if (const auto cell = blockAt(w.workspace().width(), w.workspace().height(), b, p)) {
            pointtoblock(w.canvas(), p, b);
            w.markDirty(*cell);
        } else {
            w.markUnchanged();
        }
    }
};

// The clone source keeps the offset from the press point to the anchor.
class CloneTool : public Tool {
public:
    explicit CloneTool(bool allColors) : all_(allColors) {}
    void move(ToolContext& w, const MouseInput& in) override {
        const Point s = w.drag().start, a = w.settings().anchor;
        const int pw = penWidthOf(w);
        const Point src{in.x + a.x - s.x, in.y + a.y - s.y};
        const Rect dest{in.x, in.y, in.x + pw, in.y + pw};
        const Rect from{src.x, src.y, src.x + pw, src.y + pw};
        Canvas& c = w.canvas();
        if (all_) {
            c.setCopyMode(cmSrcCopy);
            c.copyRect(dest, c, from);
        } else {
            effects::RangeState& rs = w.rangeState();
            if (!effects::grab(w.workspace(), rs, from)) return;
            const TColor target = c.pixel(a.x, a.y);
            rs.buffer.transparent = target != TColor(-1);
            rs.buffer.transparentColor = target;
            c.draw(in.x, in.y, rs.buffer);
            rs.buffer.transparent = false;
        }
        w.markDirty(dest);
    }

private:
    bool all_;
};

// ---------------------------------------------------------------- fill, pick, select

class FloodFillTool : public Tool {
public:
    void move(ToolContext& w, const MouseInput&) override { w.markUnchanged(); }
    void release(ToolContext& w, const MouseInput& in) override {
        Canvas& c = w.canvas();
        const TColor target = c.pixel(in.x, in.y);
        if (target == TColor(-1)) return;  // released outside the image
        c.floodFill(in.x, in.y, target, FillStyle::fsSurface);
    }
};

class PaintPickTool : public Tool {
public:
    void move(ToolContext& w, const MouseInput&) override { w.markUnchanged(); }
    void release(ToolContext& w, const MouseInput& in) override {
        const TColor c = w.canvas().pixel(in.x, in.y);
        if (c != TColor(-1)) w.setShapeflagColors(w.shapeflagPenColor(), c);
        w.settings().drawingMode.clear();
    }
};

// Select Range: a dotted band with a clear brush and a thin pen, then the range as given.
class SnapshotTool : public BoxBandTool {
public:
    SnapshotTool() : BoxBandTool(BoxFigure::Rectangle) {}
    void press(ToolContext& w, const MouseInput&) override {
        Canvas& c = w.canvas();
        style_ = c.brush().style();
        width_ = c.pen().width;
        c.brush().setStyle(BrushStyle::bsClear);
        c.pen().width = 1;
    }
    void move(ToolContext& w, const MouseInput& in) override {
        w.canvas().pen().style = PenStyle::psDot;
        band(w, at(in));
        w.canvas().pen().style = PenStyle::psSolid;
    }
    void release(ToolContext& w, const MouseInput& in) override {
        Canvas& c = w.canvas();
        const Point s = w.drag().start;
        c.pen().style = PenStyle::psDot;
        c.pen().mode = PenMode::pmNotXor;
        c.rectangle(s.x, s.y, in.x, in.y);
        c.pen().style = PenStyle::psSolid;
        const Point a = effects::clampRangePoint(s), b = effects::clampRangePoint(at(in));
        w.rangeState().range = Rect{a.x, a.y, b.x, b.y};
        c.brush().setStyle(style_);
        c.pen().width = width_;
        w.settings().drawingMode.clear();
    }

private:
    BrushStyle style_ = BrushStyle::bsClear;
    int width_ = 1;
};

}  // namespace

void registerDrawingTools(ToolTable& t) {
    t.add({"line"}, std::make_shared<LineTool>());
    t.add({"sline"}, std::make_shared<SlineTool>());
    t.add({"freehand"}, std::make_shared<FreehandTool>());
    t.add(BezierTool::phases(), std::make_shared<BezierTool>());
    t.add({"rectangle"}, std::make_shared<BoxTool>(BoxFigure::Rectangle));
    t.add({"roundrect"}, std::make_shared<BoxTool>(BoxFigure::RoundRect));
    t.add({"ellipse"}, std::make_shared<BoxTool>(BoxFigure::Ellipse));
    t.add({"maze"}, std::make_shared<MazeTool>());
    t.add({"globe"}, std::make_shared<GlobeTool>());
    t.add({"star"}, std::make_shared<LineFigureTool>(LineFigureTool::Star));
    t.add({"spiral"}, std::make_shared<LineFigureTool>(LineFigureTool::Spiral));
    t.add({"spiro"}, std::make_shared<LineFigureTool>(LineFigureTool::Spiro));
    t.add({"cone"}, std::make_shared<LineFigureTool>(LineFigureTool::Cone));
    for (const auto& [kind, base] : {std::pair{ArcTool::Arc, "arc"}, {ArcTool::Chord, "chord"}, {ArcTool::Pie, "pie"}}) {
        auto tool = std::make_shared<ArcTool>(kind, base);
        t.add(tool->phases(), tool);
    }
    for (const auto& [kind, base] :
         {std::pair{FigureTool::SkewRect, "skewrect"}, {FigureTool::Triangle, "triangle"}, {FigureTool::Cube, "cube"}}) {
        auto tool = std::make_shared<FigureTool>(kind, base);
        t.add(tool->phases(), tool);
    }
    t.add({"hmirror", "vmirror", "cmirror", "mirror4"}, std::make_shared<MirrorTool>());
    t.add({"sym"}, std::make_shared<SymTool>());
    t.add({"spray"}, std::make_shared<SprayTool>());
    t.add({"blocks"}, std::make_shared<BlocksTool>());
    t.add({"cloneall"}, std::make_shared<CloneTool>(true));
    t.add({"clonenottarget"}, std::make_shared<CloneTool>(false));
    t.add({"floodfill"}, std::make_shared<FloodFillTool>());
    t.add({"paintpick"}, std::make_shared<PaintPickTool>());
    t.add({"snapshot"}, std::make_shared<SnapshotTool>());
    t.add({"text"}, std::make_shared<TextTool>(false));
    t.add({"shadowtext"}, std::make_shared<TextTool>(true));
    t.add({"rotatetext"}, std::make_shared<RotateTextTool>());
}

}  // namespace pixoral
