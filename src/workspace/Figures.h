#pragma once
// Figure geometry for the drawing tools: plain functions that draw on a canvas with its
// current pen, brush and pen mode. One function serves a tool's rubber band (the caller sets
// pmNotXor) and its final figure. W and H are always the size of the canvas's bitmap.
// S is the press point, E the release point, P the previous point of a drag.
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "canvas/Geometry.h"

namespace pixoral {

class Canvas;

// ---------------------------------------------------------------- point helpers

// Nearest integer, halves to even; clamped to the int range (NaN gives 0).
int roundHalfEven(double v);
std::int64_t roundHalfEven64(double v);

// A 64-bit point, for work in sub-pixel units where int would overflow.
struct Point64 {
    std::int64_t x = 0;
    std::int64_t y = 0;
    friend bool operator==(const Point64&, const Point64&) = default;
};

// Q turned about C by `angle` radians, positive turning from +x toward +y (clockwise on
// screen). A dx of exactly 0 counts as 0.001, so a point on C lands at C + (r, 0).
Point rotate(Point c, Point q, double angle);
Point64 rotate64(Point64 c, Point64 q, double angle);
// The point a fraction f of the way from C toward Q.
Point reducevector(Point c, Point q, double f);
Point64 reducevector64(Point64 c, Point64 q, double f);

// ---------------------------------------------------------------- parameters

struct FigureParams {
    int starPoints = 5;      // 3..12; also the arms of the symmetric stroke
    int shapesCount = 1;     // 0..25: nested boxes and stars
    bool polygon = false;    // stars become regular polygons
    int spiralTurns = 3;
    double spiralFactor = 0.99;
    int spiralDirection = 1;  // +1 right (clockwise), -1 left
    int spiroTurns = 40;
    int blocks = 8;
    int rounding = 10;  // corner size of round rectangles
    int lineTolerance = 5;
};

// ---------------------------------------------------------------- boxes and nesting

constexpr int kMaxShapes = 25;  // a larger shapes count is taken as this

enum class BoxFigure { Rectangle, RoundRect, Ellipse };

// Rectangle, RoundRect (corner size rounding by rounding) or Ellipse from S to E.
void drawBox(Canvas& canvas, BoxFigure kind, Point s, Point e, int rounding);
// The inner boxes k = 1 .. n-1 of a shapes count n (none for n < 2), each stepping in by
// ((E - S) div 2) div n per side.
std::vector<Rect> nestedBoxes(Point s, Point e, int n);
void drawNested(Canvas& canvas, BoxFigure kind, Point s, Point e, int n, int rounding);

// ---------------------------------------------------------------- stars and polygons

// The multiplier c of the step angle 2*pi*c/m: 1 for polygons, else 2, 3, 4, 5 for 5, 7, 9,
// 11 points and 1 for the rest.
int starStep(int points, bool polygon);
// The vertices of one star of size `fraction` (0..1) of the one centred on S through E.
// Each vertex is the previous one turned, so rounding carries over. Points are clamped to 3..12.
std::vector<Point> starVertices(Point s, Point e, int points, bool polygon, double fraction);
// Stars k = 1..n sharing the centre S, sizes k/n, each drawn with Polygon.
void drawStars(Canvas& canvas, Point s, Point e, const FigureParams& p);

// ---------------------------------------------------------------- spiral and spirograph

// The largest turn counts the Options prompts accept; more is taken as these.
constexpr int kMaxSpiralTurns = 50;
constexpr int kMaxSpiroTurns = 100;

// The pixel points of the spiral about S starting at E: turns * 36 steps of 10 degrees,
// shrinking by the factor each step, worked in hundredths of a pixel.
std::vector<Point> spiralPoints(Point s, Point e, int turns, double factor, int direction);
// LineTo through the spiral points, from wherever the pen stands (the caller leaves it at
// the end of the removed rubber line).
void drawSpiral(Canvas& canvas, Point s, Point e, const FigureParams& p);

extern const char* const kSpiroNotSquare;  // "image must be square for spirographs"
extern const char* const kSpiroTooLarge;   // "sum of radi to large"
extern const char* const kSpiroTooSmall;   // "both radi must be >5"

struct SpiroPlan {
    QString message;  // empty when the figure can be drawn
    Point centre;
    int r1 = 0;  // centre to S
    int r2 = 0;  // S to E
    std::vector<Point> points;  // start point, then one per segment
};
SpiroPlan planSpirograph(int width, int height, Point s, Point e, int turns);
// Draws the spirograph about the canvas centre; returns the message to show (empty when
// it was drawn; nothing is drawn otherwise).
QString drawSpirograph(Canvas& canvas, Point s, Point e, int turns);

// ---------------------------------------------------------------- symmetric and mirrored strokes

struct SymStroke {
    std::array<Point, 12> points{};
    int count = 0;
    Point centre;
};
// At the press: point 0 = S, each further point the one before turned by 2*pi/m about the
// workspace centre (W div 2, H div 2). m is clamped to 3..12.
SymStroke setsyms(const Canvas& canvas, Point s, int m);
// At each move to Q: a line from every point to its turned copy of Q, which it then becomes.
void drawsyms(Canvas& canvas, SymStroke& stroke, Point q);

enum class MirrorMode { Vertical, Horizontal, Centre, Four };
// "vmirror", "hmirror", "cmirror", "mirror4".
std::optional<MirrorMode> mirrorModeFromName(const QString& mode);
// The mirrored lines first, the plain line P-to last; then P becomes `to`.
void drawMirrorStroke(Canvas& canvas, MirrorMode mode, Point& previous, Point to);

// The straight-line stroke: keeps to one axis and turns when the pointer leaves it by more
// than the tolerance. direction is "none", "h" or "v"; P moves along the drawn line.
void slineStep(Canvas& canvas, QString& direction, Point& previous, Point s, Point to, int tolerance);

// ---------------------------------------------------------------- blocks

// The cell of a b by b grid over a W by H workspace that holds p; nothing when a cell would
// be 0 pixels wide or high (workspace smaller than the grid) or b < 1.
std::optional<Rect> blockAt(int width, int height, int blocks, Point p);
// Fills that cell with the brush (FillRect: no pen, no pen mode).
void pointtoblock(Canvas& canvas, Point p, int blocks);

// ---------------------------------------------------------------- maze, globe, cone

// The ten nested diamonds inside the box S-E (the caller draws the box itself first).
void drawMaze(Canvas& canvas, Point s, Point e);
// The ten meridians and ten parallels of the globe in the box S-E (the caller draws the
// outline ellipse itself when the figure is final).
void drawGlobe(Canvas& canvas, Point s, Point e);
// The cone centred on the workspace's middle column, from the row of S to the row of E.
void drawCone(Canvas& canvas, Point s, Point e);

// ---------------------------------------------------------------- skew rectangle, triangle, cube

struct FigurePoints {
    Point p1, p2, p3, p4, p5;
};
// The fourth corner of the parallelogram with edge p1-p2 and third corner p3.
Point skewRectFourth(Point p1, Point p2, Point p3);
void drawSkewRect(Canvas& canvas, const FigurePoints& f);  // p1-p2-p3-p4-p1
void drawTriangle(Canvas& canvas, const FigurePoints& f);  // p1-p2-p3-p1

// The cube after its first drag: front face S, (E.x, S.y), E, (S.x, E.y), depth point E.
FigurePoints cubeFromFrontFace(Point s, Point e);
// The paths of the cube: the front face first, then the back edges for the depth p5 - p3.
std::vector<std::vector<Point>> cubePaths(const FigurePoints& f);
void drawCube(Canvas& canvas, const FigurePoints& f);

// ---------------------------------------------------------------- rotated text

// The direction of the drag S-E in whole degrees, counter-clockwise on screen (halves to
// even): 0 to the right, 90 straight up, -90 down, 180 or -180 to the left. A dx of exactly
// 0 counts as 0.001.
int GetAngle(Point s, Point e);
// The angles of the n rotated copies: `first`, then each 360 div n further. None for n < 1.
std::vector<int> rotatedTextAngles(int first, int n);

// ---------------------------------------------------------------- recorder texts

// The script text of a finished stroke; numbers are followed by one blank each.
QString recordCoords(Point p);                          // "x y "
QString recordRectangle(Point s, Point e);              // "pos sx sy rectangle w h "
QString recordRoundRect(Point s, Point e, int rounding);  // "... roundrect w h r r "
QString recordEllipse(Point s, Point e);                // "... ellipse w h "
QString recordLine(Point s, Point e);                   // "... lineto dx dy "
QString recordCurve(const std::array<Point, 4>& p);     // "pos p0x p0y curve " + offsets

}  // namespace pixoral
