#pragma once
// The keywords of the turtle language in their fixed order, and the word tables of
// "penmode" and "copymode". The script editor colours the same keywords.
#include <QStringView>
#include <optional>

#include "canvas/Canvas.h"

namespace pixoral::turtle {

// Each keyword once, with its enumerator: the enum and the names table both expand this list,
// so they cannot fall out of step. The order is the language's fixed keyword numbering.
#define PIXORAL_TURTLE_KEYWORDS(X) \
    X(kPos, "pos")                     \
    X(kIn, "in")                       \
    X(kInadd, "inadd")                 \
    X(kInsub, "insub")                 \
    X(kInmul, "inmul")                 \
    X(kIndiv, "indiv")                 \
    X(kIninc, "ininc")                 \
    X(kIndec, "indec")                 \
    X(kDefault, "default")             \
    X(kAngle, "angle")                 \
    X(kDown, "down")                   \
    X(kUp, "up")                       \
    X(kPensize, "pensize")             \
    X(kPencolor, "pencolor")           \
    X(kTurn, "turn")                   \
    X(kRight, "right")                 \
    X(kLeft, "left")                   \
    X(kGo, "go")                       \
    X(kMove, "move")                   \
    X(kLineto, "lineto")               \
    X(kTextfont, "textfont")           \
    X(kTextsize, "textsize")           \
    X(kTextcolor, "textcolor")         \
    X(kAddbrushcolor, "addbrushcolor") \
    X(kAddpencolor, "addpencolor")     \
    X(kText, "text")                   \
    X(kBold, "bold")                   \
    X(kItalic, "italic")               \
    X(kUnderline, "underline")         \
    X(kNormal, "normal")               \
    X(kTextout, "textout")             \
    X(kBssolid, "bssolid")             \
    X(kBsclear, "bsclear")             \
    X(kBrushcolor, "brushcolor")       \
    X(kRectangle, "rectangle")         \
    X(kRoundrect, "roundrect")         \
    X(kEllipse, "ellipse")             \
    X(kDiamond, "diamond")             \
    X(kPolygon, "polygon")             \
    X(kStar, "star")                   \
    X(kCurve, "curve")                 \
    X(kMark, "mark")                   \
    X(kGomark, "gomark")               \
    X(kMarkangle, "markangle")         \
    X(kGomarkangle, "gomarkangle")     \
    X(kPenmode, "penmode")             \
    X(kCopymode, "copymode")           \
    X(kArea, "area")                   \
    X(kCopy, "copy")                   \
    X(kDo, "do")                       \
    X(kLoop, "loop")                   \
    X(kFlood, "flood")                 \
    X(kBackground, "background")       \
    X(kFilter, "filter")               \
    X(kLBrace, "{")                    \
    X(kLBracket, "[")                  \
    X(kRBracket, "]")                  \
    X(kGoleft, "goleft")               \
    X(kGotop, "gotop")                 \
    X(kGoright, "goright")             \
    X(kGobottom, "gobottom")           \
    X(kGocenter, "gocenter")           \
    X(kPlus, "+")                      \
    X(kMinus, "-")                     \
    X(kTimes, "*")                     \
    X(kDivide, "/")                    \
    X(kDotGt, ".gt")                   \
    X(kDotGe, ".ge")                   \
    X(kDotLt, ".lt")                   \
    X(kDotLe, ".le")                   \
    X(kDotEq, ".eq")                   \
    X(kDotNe, ".ne")                   \
    X(kDotNot, ".not")                 \
    X(kDotAnd, ".and")                 \
    X(kDotOr, ".or")                   \
    X(kNeg, "neg")                     \
    X(kAbs, "abs")                     \
    X(kSwap, "swap")                   \
    X(kMax, "max")                     \
    X(kMin, "min")                     \
    X(kSqr, "sqr")                     \
    X(kSqrt, "sqrt")                   \
    X(kInc, "inc")                     \
    X(kDec, "dec")                     \
    X(kIf, "if")                       \
    X(kDrop, "drop")                   \
    X(kDup, "dup")                     \
    X(kQPosx, "=posx")                 \
    X(kQPosy, "=posy")                 \
    X(kQPencolor, "=pencolor")         \
    X(kQPensize, "=pensize")           \
    X(kQBrushcolor, "=brushcolor")     \
    X(kQTextcolor, "=textcolor")       \
    X(kQTextsize, "=textsize")         \
    X(kQAngle, "=angle")               \
    X(kQMarkx, "=markx")               \
    X(kQMarky, "=marky")               \
    X(kQLoop, "=loop")                 \
    X(kQRight, "=right")               \
    X(kQLeft, "=left")                 \
    X(kQTop, "=top")                   \
    X(kQBottom, "=bottom")

enum Keyword : int {
#define PIXORAL_TURTLE_ENUMERATOR(id, word) id,
    PIXORAL_TURTLE_KEYWORDS(PIXORAL_TURTLE_ENUMERATOR)
#undef PIXORAL_TURTLE_ENUMERATOR
    kKeywordCount
};

inline constexpr const char* kKeywordNames[kKeywordCount] = {
#define PIXORAL_TURTLE_NAME(id, word) word,
    PIXORAL_TURTLE_KEYWORDS(PIXORAL_TURTLE_NAME)
#undef PIXORAL_TURTLE_NAME
};

// The keyword number of a word, exact and case-sensitive; -1 for none.
int keywordIndex(QStringView word);
// The pen mode and raster operation of a "penmode" / "copymode" word, any letter case.
std::optional<PenMode> penModeWord(QStringView word);
std::optional<CopyMode> copyModeWord(QStringView word);

}  // namespace pixoral::turtle
