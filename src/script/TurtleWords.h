#pragma once
// The keywords of the turtle language in their fixed order, and the word tables of
// "penmode" and "copymode". The script editor colours the same keywords.
#include <QStringView>
#include <optional>

#include "canvas/Canvas.h"

namespace pixoral::turtle {

enum Keyword : int {
    kPos,  // "pos"
    kIn,  // "in"
    kInadd,  // "inadd"
    kInsub,  // "insub"
    kInmul,  // "inmul"
    kIndiv,  // "indiv"
    kIninc,  // "ininc"
    kIndec,  // "indec"
    kDefault,  // "default"
    kAngle,  // "angle"
    kDown,  // "down"
    kUp,  // "up"
    kPensize,  // "pensize"
    kPencolor,  // "pencolor"
    kTurn,  // "turn"
    kRight,  // "right"
    kLeft,  // "left"
    kGo,  // "go"
    kMove,  // "move"
    kLineto,  // "lineto"
    kTextfont,  // "textfont"
    kTextsize,  // "textsize"
    kTextcolor,  // "textcolor"
    kAddbrushcolor,  // "addbrushcolor"
    kAddpencolor,  // "addpencolor"
    kText,  // "text"
    kBold,  // "bold"
    kItalic,  // "italic"
    kUnderline,  // "underline"
    kNormal,  // "normal"
    kTextout,  // "textout"
    kBssolid,  // "bssolid"
    kBsclear,  // "bsclear"
    kBrushcolor,  // "brushcolor"
    kRectangle,  // "rectangle"
    kRoundrect,  // "roundrect"
    kEllipse,  // "ellipse"
    kDiamond,  // "diamond"
    kPolygon,  // "polygon"
    kStar,  // "star"
    kCurve,  // "curve"
    kMark,  // "mark"
    kGomark,  // "gomark"
    kMarkangle,  // "markangle"
    kGomarkangle,  // "gomarkangle"
    kPenmode,  // "penmode"
    kCopymode,  // "copymode"
    kArea,  // "area"
    kCopy,  // "copy"
    kDo,  // "do"
    kLoop,  // "loop"
    kFlood,  // "flood"
    kBackground,  // "background"
    kFilter,  // "filter"
    kLBrace,  // "{"
    kLBracket,  // "["
    kRBracket,  // "]"
    kGoleft,  // "goleft"
    kGotop,  // "gotop"
    kGoright,  // "goright"
    kGobottom,  // "gobottom"
    kGocenter,  // "gocenter"
    kPlus,  // "+"
    kMinus,  // "-"
    kTimes,  // "*"
    kDivide,  // "/"
    kDotGt,  // ".gt"
    kDotGe,  // ".ge"
    kDotLt,  // ".lt"
    kDotLe,  // ".le"
    kDotEq,  // ".eq"
    kDotNe,  // ".ne"
    kDotNot,  // ".not"
    kDotAnd,  // ".and"
    kDotOr,  // ".or"
    kNeg,  // "neg"
    kAbs,  // "abs"
    kSwap,  // "swap"
    kMax,  // "max"
    kMin,  // "min"
    kSqr,  // "sqr"
    kSqrt,  // "sqrt"
    kInc,  // "inc"
    kDec,  // "dec"
    kIf,  // "if"
    kDrop,  // "drop"
    kDup,  // "dup"
    kQPosx,  // "=posx"
    kQPosy,  // "=posy"
    kQPencolor,  // "=pencolor"
    kQPensize,  // "=pensize"
    kQBrushcolor,  // "=brushcolor"
    kQTextcolor,  // "=textcolor"
    kQTextsize,  // "=textsize"
    kQAngle,  // "=angle"
    kQMarkx,  // "=markx"
    kQMarky,  // "=marky"
    kQLoop,  // "=loop"
    kQRight,  // "=right"
    kQLeft,  // "=left"
    kQTop,  // "=top"
    kQBottom,  // "=bottom"
    kKeywordCount
};

inline constexpr const char* kKeywordNames[kKeywordCount] = {
    "pos", "in", "inadd", "insub", "inmul", "indiv", "ininc", "indec", "default", "angle",
    "down", "up", "pensize", "pencolor", "turn", "right", "left", "go", "move", "lineto",
    "textfont", "textsize", "textcolor", "addbrushcolor", "addpencolor", "text", "bold",
    "italic", "underline", "normal", "textout", "bssolid", "bsclear", "brushcolor", "rectangle",
    "roundrect", "ellipse", "diamond", "polygon", "star", "curve", "mark", "gomark",
    "markangle", "gomarkangle", "penmode", "copymode", "area", "copy", "do", "loop", "flood",
    "background", "filter", "{", "[", "]", "goleft", "gotop", "goright", "gobottom", "gocenter",
    "+", "-", "*", "/", ".gt", ".ge", ".lt", ".le", ".eq", ".ne", ".not", ".and", ".or", "neg",
    "abs", "swap", "max", "min", "sqr", "sqrt", "inc", "dec", "if", "drop", "dup", "=posx",
    "=posy", "=pencolor", "=pensize", "=brushcolor", "=textcolor", "=textsize", "=angle",
    "=markx", "=marky", "=loop", "=right", "=left", "=top", "=bottom",
};

// The keyword number of a word, exact and case-sensitive; -1 for none.
int keywordIndex(QStringView word);
// The pen mode and raster operation of a "penmode" / "copymode" word, any letter case.
std::optional<PenMode> penModeWord(QStringView word);
std::optional<CopyMode> copyModeWord(QStringView word);

}  // namespace pixoral::turtle
