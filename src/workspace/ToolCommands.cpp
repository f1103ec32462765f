// The rows of the drawing settings: the Options and Text menus and the toolbar's drop-downs
// (shapes, paint text, make button, brush style, line width, pen mode, copy modes).
#include <QAction>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "workspace/Commands.h"
#include "workspace/FigureOptions.h"
#include "workspace/TPixoralF.h"
#include "workspace/WindowSettings.h"

namespace pixoral {

using F = TPixoralF;
using namespace rows;

void setBrushStyle(F& w, BrushStyle style, int icon) {
    w.canvas().brush().setStyle(style);
    w.setShapeflagColors(w.shapeflagPenColor(), w.shapeflagBrushColor(), style);
    w.setButtonIcon(QStringLiteral("setbrushstyle"), icon);
}

namespace {

// A row that sets one setting to a fixed value.
template <typename T>
MenuEntry setTo(const char* caption, T WorkspaceSettings::*member, T value) {
    return item(caption, [member, value](F& w) { w.settings().*member = value; });
}

bool sameValue(int a, int b) { return a == b; }
bool sameValue(double a, double b) { return std::abs(a - b) < 1e-9; }

// One of a set of fixed values of a setting, shown as a radio item checked while it holds.
template <typename T>
MenuEntry choice(const char* caption, T WorkspaceSettings::*member, T value, int group = 0) {
    return setTo(caption, member, value).radio(group, [member, value](const F& w) {
        return sameValue(w.settings().*member, value);
    });
}

// The "Other..." prompt beside a set of choices: checked, with the value in its caption,
// while the setting holds none of the fixed values.
template <typename T>
MenuEntry otherChoice(const NumberPrompt& p, T WorkspaceSettings::*member, std::vector<T> fixed, int group = 0) {
    auto isOther = [member, fixed](const F& w) {
        return std::none_of(fixed.begin(), fixed.end(), [&](T v) { return sameValue(w.settings().*member, v); });
    };
    return prompt("Other...", numberInto(p, member)).radio(group, isOther).showing([member, isOther](const F& w) {
        return isOther(w) ? QString::number(w.settings().*member) : QString();
    });
}

MenuEntry penMode(const char* caption, PenMode m) {
    const QString status = QStringLiteral("Pen=") + QString::fromUtf8(caption);
    return item(caption, [m, status](F& w) {
        w.canvas().pen().mode = m;
        w.setStatusText(1, status);
    });
}

MenuEntry brushItem(const char* caption, BrushStyle s, int icon) {
    return item(caption, [s, icon](F& w) { setBrushStyle(w, s, icon); }).image(icon);
}

MenuEntry penStyle(const char* caption, PenStyle s) {
    return item(caption, [s](F& w) { w.canvas().pen().style = s; });
}

MenuEntry copyMode(const char* caption, CopyMode m) {
    return item(caption, [m](F& w) { w.canvas().setCopyMode(m); });
}

MenuEntry copySelection(const char* caption, const char* mode, int icon) {
    return item(caption, [mode = QString::fromLatin1(mode), icon](F& w) {
               w.settings().copySelectionMode = mode;
               w.setButtonIcon(QStringLiteral("selectcopy"), icon);
               w.refreshCommandStates();
           }).image(icon);
}

void Font1Click(F& w) {
    WorkspaceSettings& s = w.settings();
    if (const auto f = w.dialogs().font(s.fontDialogFont)) {
        s.fontDialogFont = *f;
        const TColor color = s.textFont.color;
        s.textFont = *f;
        s.textFont.color = color;
    }
}

void Text1Click(F& w) {
    w.settings().paintText = w.dialogs().inputBox(QStringLiteral("Paint"), QStringLiteral("Enter text:"), QString());
}

void ShadowDefault1Click(F& w) {
    WorkspaceSettings& s = w.settings();
    s.shadowColor = clSilver;
    s.shadowDx = -2;
    s.shadowDy = -2;
}

// The shadow offsets keep their value when the answer is no integer.
NumberPrompt shadowPrompt(const char* text) {
    NumberPrompt p;
    p.caption = QStringLiteral("Pixoral");
    p.text = QString::fromLatin1(text);
    p.defaultText = QStringLiteral("-2");
    return p;
}

// Make Button's size prompts: anything but an integer gives the default size.
NumberPrompt buttonSizePrompt(const char* text, int def) {
    NumberPrompt p;
    p.caption = QStringLiteral("Pixoral");
    p.text = QString::fromLatin1(text);
    p.defaultText = QString::number(def);
    p.notNumber = NumberPrompt::Refused::Fallback;
    p.fallback = def;
    return p;
}

void Make1Click(F& w) {
    const WorkspaceSettings& s = w.settings();
    const int W = s.buttonWidth, H = s.buttonHeight;
    if (!w.setWorkspaceSize(W, H)) return;
    Canvas& c = w.canvas();
    c.brush().setColor(clWhite);
    c.fillRect(Rect{0, 0, W - 1, H - 1});
    c.brush().setColor(s.buttonColor);
    c.fillRect(Rect{2, 2, W - 1, H - 1});
    // The edges are one-pixel copy lines whatever pen the user has set.
    const Pen saved = c.pen();
    c.pen().width = 1;
    c.pen().style = PenStyle::psSolid;
    c.pen().mode = PenMode::pmCopy;
    c.pen().color = clBlack;
    c.moveTo(0, 0);
    c.lineTo(W - 1, 0);
    c.lineTo(W - 1, H - 1);
    c.lineTo(0, H - 1);
    c.lineTo(0, 0);
    c.moveTo(W - 2, 0);
    c.lineTo(W - 2, H - 2);
    c.lineTo(0, H - 2);
    c.pen().color = clWhite;
    c.moveTo(W - 3, 1);
    c.lineTo(1, 1);
    c.lineTo(1, H - 2);
    c.pen() = saved;
    c.pen().color = clBlack;
    w.repaintWorkspace();
}

void Default1Click(F& w) {
    WorkspaceSettings& s = w.settings();
    s.buttonWidth = 88;
    s.buttonHeight = 31;
    s.buttonColor = clSilver;
}

std::vector<MenuEntry> starPointsMenu() {
    std::vector<MenuEntry> v;
    for (int n = 3; n <= 12; ++n) {
        MenuEntry e = choice("", &WorkspaceSettings::starPoints, n);
        e.caption = QString::number(n);
        v.push_back(std::move(e));
    }
    return v;
}

}  // namespace

MenuEntry optionsMenu() {
    using S = WorkspaceSettings;
    return sub("&Options", {
        prompt("&Blocks...", numberInto(kBlocksPrompt, &S::blocks)),
        prompt("Line Tolerance...", numberInto(kLineTolerancePrompt, &S::lineTolerance)).showing([](const F& w) {
            return QString::number(w.settings().lineTolerance);
        }),
        toggle("Polygon", &S::polygon),
        prompt("&Rounding...", numberInto(kRoundingPrompt, &S::rounding)),
        prompt("Shapes...", numberInto(kShapesPrompt, &S::shapesCount)),
        // Direction and turns are two radio sets in one menu.
        sub("Spirals", {choice("Right", &S::spiralDirection, 1, 0), choice("Left", &S::spiralDirection, -1, 0),
                        choice("1", &S::spiralTurns, 1, 1), choice("2", &S::spiralTurns, 2, 1),
                        choice("3", &S::spiralTurns, 3, 1), otherChoice(kSpiralsPrompt, &S::spiralTurns, {1, 2, 3}, 1)}),
        sub("Spiralfactor", {choice("0.99", &S::spiralFactor, 0.99), choice("0.97", &S::spiralFactor, 0.97),
                             choice("0.95", &S::spiralFactor, 0.95),
                             otherChoice(kSpiralFactorPrompt, &S::spiralFactor, {0.99, 0.97, 0.95})}),
        sub("&Starpoints", starPointsMenu()),
        sub("SpiroGraph", {prompt("&Turns...", numberInto(kSpiroTurnsPrompt, &S::spiroTurns))}),
        sub("&GIF Image", {toggle("Transparent", &S::gifTransparent).named("GifTrans")}),
    });
}

MenuEntry textMenu() {
    return sub("&Text", {
        item("&Font...", &Font1Click).named("Font1").key("Ctrl+F"),
        item("&Text...", &Text1Click).named("Text1").key("Ctrl+T"),
        tool("&Shadow", "shadowtext", icoText, false).named("Shadow1"),
        item("&Default Shadow", &ShadowDefault1Click).named("ShadowDefault1"),
        tool("&Rotate Text", "rotatetext", icoText, false).named("RotateText1"),
    });
}

std::vector<MenuEntry> shapesMenu() {
    return {
        sub("Lines", {tool("Line", "line", icoLine), tool("Line Straight", "sline", icoSLine),
                      tool("Bezier", "bezier", icoBezier), tool("Freehand", "freehand", icoFreehand),
                      tool("Arc", "arc", icoArc), tool("Spiral", "spiral", icoSpiral),
                      tool("SpiroGraph", "spiro", icoSpiro)}),
        sub("2D Shapes", {tool("Rectangle", "rectangle", icoRectangle), tool("Skew Rectangle", "skewrect", icoSkewRect),
                          tool("Round Rect", "roundrect", icoRoundRect), tool("Triangle", "triangle", icoTriangle),
                          tool("Ellipse", "ellipse", icoEllipse), tool("Chord", "chord", icoChord),
                          tool("Pie", "pie", icoPie), tool("Star", "star", icoStar), tool("Maze", "maze", icoMaze)}),
        sub("3D Shapes", {tool("Cube", "cube", icoCube), tool("Globe", "globe", icoGlobe), tool("Cone", "cone", icoCone)}),
        sub("Mirrors", {tool("hMirror", "hmirror", icoHMirror), tool("vMirror", "vmirror", icoVMirror),
                        tool("cMirror", "cmirror", icoCMirror), tool("Mirror4", "mirror4", icoMirror4),
                        tool("Symmetric", "sym", icoSym)}),
        tool("Spray", "spray", icoSpray),
        tool("Blocks", "blocks", icoBlocks),
        sub("Clone", {tool("All Colors", "cloneall", icoClone, false), tool("Not Target Color", "clonenottarget", icoClone, false)}),
    };
}

std::vector<MenuEntry> paintTextMenu() {
    using S = WorkspaceSettings;
    return {
        item("Font...", &Font1Click).named("Font2"),
        item("Text...", &Text1Click).named("Text2"),
        tool("Shadow", "shadowtext", icoText, false).named("Shadow2"),
        prompt("Shadow dx...", numberInto(shadowPrompt("Enter shadow x offset"), &S::shadowDx)),
        prompt("Shadow dy...", numberInto(shadowPrompt("Enter shadow y offset"), &S::shadowDy)),
        prompt("Shadow Color...", colorInto(&S::shadowColor)),
        item("Shadow Default", &ShadowDefault1Click).named("ShadowDefault2"),
    };
}

std::vector<MenuEntry> makeButtonMenu() {
    using S = WorkspaceSettings;
    return {item("&Make", &Make1Click).named("Make1"),
            prompt("&Width...", numberInto(buttonSizePrompt("Enter button width", 88), &S::buttonWidth)).named("Width1"),
            prompt("&Height...", numberInto(buttonSizePrompt("Enter button height", 31), &S::buttonHeight)).named("Height1"),
            prompt("&Color...", colorInto(&S::buttonColor)).named("Color1"),
            item("&Default", &Default1Click).named("Default1")};
}

std::vector<MenuEntry> brushStyleMenu() {
    return {brushItem("Solid", BrushStyle::bsSolid, icoBrushSolid),
            brushItem("Clear", BrushStyle::bsClear, icoBrushClear),
            brushItem("Horizontal", BrushStyle::bsHorizontal, icoBrushHorizontal),
            brushItem("Vertical", BrushStyle::bsVertical, icoBrushVertical),
            brushItem("FDiagonal", BrushStyle::bsFDiagonal, icoBrushFDiagonal),
            brushItem("BDiagonal", BrushStyle::bsBDiagonal, icoBrushBDiagonal),
            brushItem("Cross", BrushStyle::bsCross, icoBrushCross),
            brushItem("DiagCross", BrushStyle::bsDiagCross, icoBrushDiagCross)};
}

std::vector<MenuEntry> lineWidthMenu() {
    std::vector<MenuEntry> v;
    const char* widths[] = {"1 pixel", "2 pixels", "3 pixels", "4 pixels", "5 pixels"};
    for (int i = 0; i < 5; ++i) {
        const int icon = icoWidth1 + i;
        v.push_back(item(widths[i], [i, icon](F& w) {
                        w.canvas().pen().width = i + 1;
                        w.setButtonIcon(QStringLiteral("setwidth"), icon);
                    }).image(icon));
    }
    PromptRow other;
    other.number = kLineWidthPrompt;
    other.get = [](F& w) { return w.canvas().pen().width; };
    other.set = [](F& w, double v) { w.canvas().pen().width = static_cast<int>(v); };
    other.upperBound = [](F& w) { return std::max(w.workspace().height(), 1); };
    v.push_back(prompt("Other Size...", std::move(other)));
    v.push_back(sep());
    v.push_back(penStyle("Solid", PenStyle::psSolid));
    v.push_back(penStyle("Dash", PenStyle::psDash));
    v.push_back(penStyle("Dot", PenStyle::psDot));
    v.push_back(penStyle("Dash Dot", PenStyle::psDashDot));
    v.push_back(penStyle("Dash Dot Dot", PenStyle::psDashDotDot));
    v.push_back(penStyle("Clear", PenStyle::psClear));
    v.push_back(penStyle("Inside Frame", PenStyle::psInsideFrame));
    return v;
}

std::vector<MenuEntry> penModeMenu() {
    using P = PenMode;
    return {penMode("Copy", P::pmCopy),           penMode("Xor", P::pmXor),
            penMode("Not Xor", P::pmNotXor),      penMode("Black", P::pmBlack),
            penMode("White", P::pmWhite),         penMode("Not", P::pmNot),
            penMode("Not Copy", P::pmNotCopy),    penMode("Merge Pen Not", P::pmMergePenNot),
            penMode("Mask Pen Not", P::pmMaskPenNot), penMode("Merge Not Pen", P::pmMergeNotPen),
            penMode("Mask Not Pen", P::pmMaskNotPen), penMode("Merge", P::pmMerge),
            penMode("Not Merge", P::pmNotMerge),  penMode("Mask", P::pmMask),
            penMode("Not Mask", P::pmNotMask)};
}

std::vector<MenuEntry> copyModesMenu() {
    return {copyMode("Copy", cmSrcCopy).named("Copy3"),
            copyMode("Black", cmBlackness),
            copyMode("Destination Invert", cmDstInvert),
            copyMode("Merge Copy", cmMergeCopy).named("MergeCopy2"),
            copyMode("Merge Paint", cmMergePaint).named("MergePaint2"),
            copyMode("Not Source Copy", cmNotSrcCopy).named("NotSrcCopy1"),
            copyMode("Not Source Erase", cmNotSrcErase).named("NotSrcErase1"),
            copyMode("Source And", cmSrcAnd).named("SrcAnd1"),
            copyMode("Source Erase", cmSrcErase).named("SrcErase1"),
            copyMode("Source Invert", cmSrcInvert).named("SrcInvert1"),
            copyMode("Source Paint", cmSrcPaint).named("SrcPaint1"),
            copyMode("White", cmWhiteness),
            copySelection("Paste Mask", "pastemask", icoPasteMask),
            copySelection("Paste", "paste", icoPaste).named("Paste2")};
}

}  // namespace pixoral
