#include "script/Turtle.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "canvas/Bitmap.h"
#include "canvas/Color.h"
#include "script/TurtleWords.h"

namespace pixoral {

using namespace turtle;

namespace {

// Script arithmetic wraps around at 32 bits; these keep it free of signed overflow.
inline std::int32_t wadd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t wsub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline std::int32_t wmul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
inline std::int32_t wneg(std::int32_t a) { return wsub(0, a); }

constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

// Texts this large are run without the per-position word cache (it costs 8 bytes a character).
constexpr int kMaxCachedText = 1 << 20;

// Rotated text uses at most this many characters of the face name.
constexpr int kMaxFaceName = 31;

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

std::optional<std::int32_t> parseHex(QStringView digits) {
    if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    for (QChar c : digits) {
        const int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(v);
}

}  // namespace

TTurtle::TTurtle() = default;

std::vector<int> TTurtle::numberStack() const {
    return std::vector<int>(numStack_.begin(), numStack_.begin() + numCount_);
}

std::int32_t TTurtle::roundToInt(double v) {
    const double r = std::nearbyint(v);  // the default rounding mode sends halves to even
    if (!std::isfinite(r)) return 0;
    constexpr double kTwo32 = 4294967296.0;
    double m = std::fmod(r, kTwo32);  // exact for doubles
    if (m < 0) m += kTwo32;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(m));
}

std::optional<std::int32_t> TTurtle::parseInteger(QStringView w) {
    const qsizetype n = w.size();
    if (n == 0) return std::nullopt;
    const QChar c0 = w[0];
    if (c0 == u'$' || c0 == u'x' || c0 == u'X') return parseHex(w.mid(1));
    if (c0 == u'0' && n >= 2 && (w[1] == u'x' || w[1] == u'X')) return parseHex(w.mid(2));
    qsizetype i = 0;
    bool negative = false;
    if (c0 == u'+' || c0 == u'-') {
        negative = c0 == u'-';
        i = 1;
    }
    if (i >= n) return std::nullopt;
    std::int64_t v = 0;
    for (; i < n; ++i) {
        const char16_t u = w[i].unicode();
        if (u < '0' || u > '9') return std::nullopt;
        v = v * 10 + (u - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(v);
}

// ---------------------------------------------------------------------------------------
// Text, words and the caches of one run

void TTurtle::prepare(const QString& text) {
    words_.clear();
    wordIds_.clear();
    foldIds_.clear();
    varValues_.clear();
    varSet_.clear();
    tokWord_.clear();
    tokEnd_.clear();

    // Tabs and line breaks become spaces one for one, so every cursor value is also an
    // offset into the text as the editor shows it. CR LF gives two spaces; a lone LF (the
    // line break of this platform) or CR gives one.
    text_ = text;
    QChar* d = text_.data();
    for (qsizetype i = 0, n = text_.size(); i < n; ++i) {
        const char16_t u = d[i].unicode();
        if (u == u'\t' || u == u'\r' || u == u'\n') d[i] = QChar(u' ');
    }
    chars_ = text_.constData();
    len_ = static_cast<int>(std::min<qsizetype>(text_.size(), std::numeric_limits<int>::max() - 2));
    if (len_ <= kMaxCachedText) {
        tokWord_.assign(static_cast<std::size_t>(len_) + 2, -2);
        tokEnd_.assign(static_cast<std::size_t>(len_) + 2, 0);
    }
}

int TTurtle::intern(QStringView w) {
    auto it = wordIds_.constFind(w);
    if (it != wordIds_.constEnd()) return it.value();
    Word info;
    info.text = w;
    info.keyword = keywordIndex(w);
    if (auto v = parseInteger(w)) {
        info.isInt = true;
        info.intValue = *v;
    }
    if (w.size() > 2 && w.size() < 40 && (w[0] == u'c' || w[0] == u'C')) {
        const std::string ascii = w.toString().toStdString();
        if (auto c = identToColor(ascii)) {
            info.isColor = true;
            info.colorValue = *c;
        }
    }
    const QString folded = w.toString().toCaseFolded();
    auto fit = foldIds_.constFind(folded);
    if (fit == foldIds_.constEnd()) {
        fit = foldIds_.insert(folded, static_cast<int>(varValues_.size()));
        varValues_.push_back(0);
        varSet_.push_back(0);
    }
    info.fold = fit.value();
    const int id = static_cast<int>(words_.size());
    words_.push_back(info);
    wordIds_.insert(w, id);
    return id;
}

int TTurtle::readWord() {
    int p = cursor_ < 1 ? 1 : cursor_;
    if (p > len_) {
        cursor_ = len_ + 1;
        return -1;
    }
    const bool cached = !tokWord_.empty();
    if (cached && tokWord_[p] != -2) {
        cursor_ = tokEnd_[p];
        return tokWord_[p];
    }
    int i = p - 1;
    while (i < len_ && chars_[i] == u' ') ++i;
    int id = -1;
    int end = len_ + 1;
    if (i < len_) {
        const int start = i;
        while (i < len_ && chars_[i] != u' ') ++i;
        id = intern(QStringView(chars_ + start, i - start));
        end = i + 1;
    }
    if (cached) {
        tokWord_[p] = id;
        tokEnd_[p] = end;
    }
    cursor_ = end;
    return id;
}

int TTurtle::firstOccurrenceEnd(int id) {
    Word& w = words_[static_cast<std::size_t>(id)];
    if (w.firstEnd < 0) {
        // A plain substring search: occurrences inside comments, texts and longer words count.
        const qsizetype at = QStringView(chars_, len_).indexOf(w.text);
        w.firstEnd = static_cast<int>(at) + static_cast<int>(w.text.size()) + 1;
    }
    return w.firstEnd;
}

std::int32_t* TTurtle::variable(int id) {
    const int slot = words_[static_cast<std::size_t>(id)].fold;
    return varSet_[static_cast<std::size_t>(slot)] ? &varValues_[static_cast<std::size_t>(slot)] : nullptr;
}

void TTurtle::setVariable(int id, std::int32_t v) {
    const auto slot = static_cast<std::size_t>(words_[static_cast<std::size_t>(id)].fold);
    varValues_[slot] = v;
    varSet_[slot] = 1;
}

// ---------------------------------------------------------------------------------------
// Stacks and argument readers

bool TTurtle::push(std::int32_t v) {
    if (numCount_ >= kStackSize) return fail("number stack overflow");
    numStack_[static_cast<std::size_t>(numCount_++)] = v;
    return true;
}

bool TTurtle::pop(std::int32_t& v) {
    if (numCount_ <= 0) return fail("number stack underflow");
    v = numStack_[static_cast<std::size_t>(--numCount_)];
    return true;
}

bool TTurtle::pop2(std::int32_t& a, std::int32_t& b) { return pop(b) && pop(a); }

bool TTurtle::retPush(std::int32_t v) {
    if (retCount_ >= kStackSize) return false;
    retStack_[static_cast<std::size_t>(retCount_++)] = v;
    return true;
}

bool TTurtle::retPop(std::int32_t& v) {
    if (retCount_ <= 0) return false;
    v = retStack_[static_cast<std::size_t>(--retCount_)];
    return true;
}

bool TTurtle::intArg(std::int32_t& v) {
    const int id = readWord();
    if (id < 0) return false;
    const Word& w = words_[static_cast<std::size_t>(id)];
    if (w.text.size() == 1 && w.text[0] == u'=') {
        if (numCount_ <= 0) return false;
        v = numStack_[static_cast<std::size_t>(--numCount_)];
        return true;
    }
    if (const std::int32_t* var = variable(id)) {
        v = *var;
        return true;
    }
    if (!w.isInt) return false;
    v = w.intValue;
    return true;
}

bool TTurtle::colorArg(std::int32_t& v) {
    const int id = readWord();
    if (id < 0) return false;
    const Word& w = words_[static_cast<std::size_t>(id)];
    if (w.text.size() == 1 && w.text[0] == u'=') {
        if (numCount_ <= 0) return false;
        v = numStack_[static_cast<std::size_t>(--numCount_)];
        return true;
    }
    if (w.isColor) {
        v = w.colorValue;
        return true;
    }
    if (!w.isInt) return false;
    v = w.intValue;
    return true;
}

bool TTurtle::textArg(QString& s) {
    int i = cursor_ < 1 ? 0 : cursor_ - 1;
    while (i < len_ && chars_[i] != u'"') ++i;
    if (i >= len_) {
        cursor_ = len_ + 1;
        return false;
    }
    const int start = i + 1;
    int j = start;
    while (j < len_ && chars_[j] != u'"') ++j;
    if (j >= len_) {
        cursor_ = len_ + 1;
        return false;
    }
    cursor_ = j + 2;
    if (j == start) return false;
    s = QString(chars_ + start, j - start);
    return true;
}

bool TTurtle::wordArg(int& id) {
    id = readWord();
    return id >= 0;
}

// ---------------------------------------------------------------------------------------
// The run

bool TTurtle::checkInterrupt() {
    if (maxSteps_ > 0 && steps_ >= maxSteps_) return false;
    if (steps_ % 256 == 0 && interruptCheck && interruptCheck()) return false;
    std::int64_t next = (steps_ / 256 + 1) * 256;
    if (maxSteps_ > 0 && maxSteps_ < next) next = maxSteps_;
    nextCheck_ = next;
    return true;
}

bool TTurtle::countStep() {
    if (steps_ >= nextCheck_ && !checkInterrupt()) return fail("script interrupted");
    ++steps_;
    return true;
}

TTurtle::RunResult TTurtle::RunScript(const QString& text) {
    RunResult result;
    result.message = QStringLiteral("#Error: Canvas not assigned");
    if (!canvas_) return result;
    // A host handler that starts a run from inside a run would pull the text out from
    // under the outer one.
    if (running_) {
        result.message = QStringLiteral("script already running");
        return result;
    }
    running_ = true;
    prepare(text);
    cursor_ = 1;
    retCount_ = 0;
    steps_ = 0;
    nextCheck_ = 0;
    if (len_ == 0) {
        running_ = false;
        result.message = QStringLiteral("empty script");
        return result;
    }

    message_.clear();
    for (;;) {
        const int before = cursor_;
        const int id = readWord();
        if (id < 0) {
            message_ = QStringLiteral("ready");
            break;
        }
        if (steps_ >= nextCheck_ && !checkInterrupt()) {
            cursor_ = before;  // the word just read has not run
            message_ = QStringLiteral("script interrupted");
            break;
        }
        ++steps_;
        const Word& w = words_[static_cast<std::size_t>(id)];
        if (w.keyword >= 0) {
            if (!execKeyword(w.keyword)) break;
        } else if (w.isInt) {
            if (!push(w.intValue)) break;
        } else if (w.isColor) {
            if (!push(w.colorValue)) break;
        } else if (const std::int32_t* var = variable(id)) {
            if (!push(*var)) break;
        } else {
            // A procedure call: jump just past the first occurrence of the word.
            const int target = firstOccurrenceEnd(id);
            if (!retPush(cursor_)) {
                message_ = QStringLiteral("stack overflow");
                break;
            }
            cursor_ = target;
        }
    }
    if (message_.isEmpty()) message_ = QStringLiteral("ready");
    // Return cursors popped from a disordered return stack may point past the text.
    result.cursor = std::min(cursor_, len_ + 1);
    result.message = message_;
    running_ = false;
    // The variable table lives for one run; the word views point into this run's text.
    wordIds_.clear();
    words_.clear();
    foldIds_.clear();
    varValues_.clear();
    varSet_.clear();
    tokWord_.clear();
    tokWord_.shrink_to_fit();
    tokEnd_.clear();
    tokEnd_.shrink_to_fit();
    return result;
}

// ---------------------------------------------------------------------------------------
// Drawing helpers

bool TTurtle::requestImageSize() {
    if (!OnRequestImageSize) return false;
    Rect r = imageRect_;
    OnRequestImageSize(r);
    imageRect_ = r;
    return canvas_ != nullptr;
}

void TTurtle::forward(std::int32_t d) {
    const double r = heading_ * 2.0 * std::numbers::pi / 360.0;
    const std::int32_t tx = roundToInt(x_ + std::cos(r) * d);
    const std::int32_t ty = roundToInt(y_ - std::sin(r) * d);
    canvas_->moveTo(x_, y_);
    if (penDown_)
        canvas_->lineTo(tx, ty);
    else
        canvas_->moveTo(tx, ty);
    x_ = tx;
    y_ = ty;
}

void TTurtle::travelTo(std::int32_t px, std::int32_t py) {
    canvas_->moveTo(x_, y_);
    if (penDown_)
        canvas_->lineTo(px, py);
    else
        canvas_->moveTo(px, py);
    x_ = px;
    y_ = py;
}

bool TTurtle::regularFigure(std::int32_t n, std::int32_t s, int multiplier) {
    const double savedHeading = heading_;
    const std::int32_t sx = x_, sy = y_;
    const bool savedPen = penDown_;
    penDown_ = true;
    const double step = static_cast<double>(multiplier) * 360.0 / static_cast<double>(n);
    bool ok = true;
    for (std::int32_t i = 1; i < n; ++i) {
        // Each side counts as a step, so a polygon of a billion sides can be interrupted.
        if (!countStep()) {
            ok = false;
            break;
        }
        forward(s);
        heading_ += step;
    }
    if (ok) canvas_->lineTo(sx, sy);
    penDown_ = savedPen;
    heading_ = savedHeading;
    x_ = sx;
    y_ = sy;
    return ok;
}

void TTurtle::rotatedText(const QString& s) {
    Canvas& c = *canvas_;
    const Font saved = c.font();
    const Brush savedBrush = c.brush();
    Font f;
    f.name = saved.name.left(kMaxFaceName);
    f.setHeight(std::abs(saved.height()));  // positive: the height of the whole cell
    f.style = saved.style & (fsBold | fsItalic | fsUnderline);
    f.color = saved.color;
    f.escapement = wmul(roundToInt(heading_), 10);
    c.font() = f;
    // Rotated text is drawn with a transparent background.
    c.brush() = Brush();
    c.brush().setStyle(BrushStyle::bsClear);
    c.textOut(x_, y_, s);
    c.brush() = savedBrush;
    c.font() = saved;
    if (OnRepaintRequest) OnRepaintRequest();
}

void TTurtle::plainText(const QString& s) {
    Canvas& c = *canvas_;
    // "textout" is never rotated, whatever escapement the canvas font was left with.
    const int savedEscapement = c.font().escapement;
    c.font().escapement = 0;
    c.textOut(x_, y_, s);
    c.font().escapement = savedEscapement;
}

// ---------------------------------------------------------------------------------------
// The commands

bool TTurtle::execKeyword(int kw) {
    Canvas& c = *canvas_;
    std::int32_t a = 0, b = 0;
    switch (static_cast<Keyword>(kw)) {
    // --- variables
    case kIn: {
        if (!pop(a)) return false;
        int id;
        if (!wordArg(id)) return fail("token expected");
        setVariable(id, a);
        return true;
    }
    case kInadd:
    case kIndiv:
    case kInmul:
    case kInsub: {
        if (!pop(a)) return false;
        if (kw == kInsub && a == 0) return fail("division by zero not allowed in in-");
        int id;
        if (!wordArg(id)) return fail("token expected");
        std::int32_t* var = variable(id);
        if (!var) return fail(words_[static_cast<std::size_t>(id)].text.toString() + QStringLiteral(" does not exist"));
        switch (kw) {
        case kInadd: *var = wadd(*var, a); break;
        case kIndiv: *var = wsub(*var, a); break;  // subtraction, under this keyword
        case kInmul: *var = wmul(*var, a); break;
        default:  // division, under "insub"
            if (*var == kIntMin && a == -1) return fail("integer overflow in division");
            *var /= a;
            break;
        }
        return true;
    }
    case kIninc:
    case kIndec: {
        int id;
        if (!wordArg(id)) return fail("token expected");
        std::int32_t* var = variable(id);
        if (!var) return fail(words_[static_cast<std::size_t>(id)].text.toString() + QStringLiteral(" does not exist"));
        *var = kw == kIninc ? wadd(*var, 1) : wsub(*var, 1);
        return true;
    }

    // --- control
    case kDo: {
        if (!intArg(a)) return fail("number expected in do");
        // A count below 1 runs the body once, as 1 does, instead of counting away from 0.
        if (a < 1) a = 1;
        if (!retPush(cursor_) || !retPush(a)) return fail("stack overflow");
        return true;
    }
    case kLoop: {
        std::int32_t start = 0;
        if (!retPop(a) || !retPop(start)) return fail("stack underflow");
        a = wsub(a, 1);
        if (a != 0) {
            retPush(start);
            retPush(a);
            cursor_ = start;
        }
        return true;
    }
    case kQLoop:
        if (retCount_ <= 0) return fail("stack underflow in =loop");
        return push(retStack_[static_cast<std::size_t>(retCount_ - 1)]);
    case kIf: {
        if (!pop(a)) return false;
        if (a == 0 && readWord() < 0) return fail("symbol expected after if");
        return true;
    }
    case kLBrace: {
        const int from = cursor_ < 1 ? 0 : cursor_ - 1;
        const qsizetype at = from >= len_ ? -1 : QStringView(chars_, len_).indexOf(u'}', from);
        if (at < 0) return fail("missing } after comment");
        cursor_ = static_cast<int>(at) + 2;
        return true;
    }
    case kLBracket: {
        const int from = cursor_ < 1 ? 0 : cursor_ - 1;
        const qsizetype at = from >= len_ ? -1 : QStringView(chars_, len_).indexOf(u']', from);
        if (at < 0) return fail("missing ] after block");
        cursor_ = static_cast<int>(at) + 2;
        return true;
    }
    case kRBracket:
        if (!retPop(a)) return fail("stack underflow");
        cursor_ = a;
        return true;

    // --- arithmetic, comparison and logic
    case kPlus: return pop2(a, b) && push(wadd(a, b));
    case kMinus: return pop2(a, b) && push(wsub(a, b));
    case kTimes: return pop2(a, b) && push(wmul(a, b));
    case kDivide:
        if (!pop2(a, b)) return false;
        if (b == 0) return fail("division by zero");
        if (a == kIntMin && b == -1) return fail("integer overflow in division");
        return push(a / b);
    case kDotGt: return pop2(a, b) && push(a > b ? 1 : 0);
    case kDotGe: return pop2(a, b) && push(a >= b ? 1 : 0);
    case kDotLt: return pop2(a, b) && push(a < b ? 1 : 0);
    case kDotLe: return pop2(a, b) && push(a <= b ? 1 : 0);
    case kDotEq: return pop2(a, b) && push(a == b ? 1 : 0);
    case kDotNe: return pop2(a, b) && push(a != b ? 1 : 0);
    case kDotAnd: return pop2(a, b) && push(a != 0 && b != 0 ? 1 : 0);
    case kDotOr: return pop2(a, b) && push(a != 0 || b != 0 ? 1 : 0);
    case kDotNot: return pop(a) && push(a == 0 ? 1 : 0);
    case kMax: return pop2(a, b) && push(a > b ? a : b);
    case kMin: return pop2(a, b) && push(a < b ? a : b);
    case kSwap: return pop2(a, b) && push(b) && push(a);
    case kNeg: return pop(a) && push(a < 0 ? wneg(a) : a);  // "neg" is the absolute value; scripts rely on it
    case kAbs: return pop(a) && push(wneg(a));             // and "abs" the negation
    case kSqr: return pop(a) && push(wmul(a, a));
    case kSqrt:
        if (!pop(a)) return false;
        if (a == 0) return fail("can not take sqrt of 0");
        if (a < 0) return fail("can not take sqrt of negative number");
        return push(roundToInt(std::sqrt(static_cast<double>(a))));
    case kInc: return pop(a) && push(wadd(a, 1));
    case kDec: return pop(a) && push(wsub(a, 1));
    case kDrop: return pop(a);
    case kDup: return pop(a) && push(a) && push(a);

    // --- turtle motion
    case kPos:
        if (!intArg(a) || !intArg(b)) return fail("invalid integer in pos");
        x_ = a;
        y_ = b;
        return true;
    case kMove:
        if (!intArg(a) || !intArg(b)) return fail("invalid integer in move");
        x_ = wadd(x_, a);
        y_ = wadd(y_, b);
        return true;
    case kGo:
        if (!intArg(a)) return fail("invalid integer in go");
        forward(a);
        return true;
    case kLineto:
        if (!intArg(a) || !intArg(b)) return fail("invalid integer in lineto");
        c.moveTo(x_, y_);
        x_ = wadd(x_, a);
        y_ = wadd(y_, b);
        c.lineTo(x_, y_);
        return true;
    case kAngle:
        if (!intArg(a)) return fail("invalid integer in angle");
        heading_ = a;
        return true;
    case kTurn:
        if (!intArg(a)) return fail("invalid integer in turn");
        heading_ += a;
        return true;
    case kLeft:
        if (!intArg(a)) return fail("invalid integer in left");
        heading_ += a;
        return true;
    case kRight:
        if (!intArg(a)) return fail("invalid integer in right");
        heading_ -= a;
        return true;
    case kDown: penDown_ = true; return true;
    case kUp: penDown_ = false; return true;
    case kMark:
        markX_ = x_;
        markY_ = y_;
        return true;
    case kGomark: travelTo(markX_, markY_); return true;
    case kMarkangle: markAngle_ = roundToInt(heading_); return true;
    case kGomarkangle: heading_ = markAngle_; return true;
    case kGoleft:
        if (!requestImageSize()) return fail("error in goleft");
        travelTo(imageRect_.left, y_);
        return true;
    case kGoright:
        if (!requestImageSize()) return fail("error in goright");
        travelTo(imageRect_.right, y_);
        return true;
    case kGotop:
        if (!requestImageSize()) return fail("error in gotop");
        travelTo(x_, imageRect_.top);
        return true;
    case kGobottom:
        if (!requestImageSize()) return fail("error in gobottom");
        travelTo(x_, imageRect_.bottom);
        return true;
    case kGocenter:
        if (!requestImageSize()) return fail("error in gocenter");
        travelTo(wsub(imageRect_.right, imageRect_.left) / 2, wsub(imageRect_.bottom, imageRect_.top) / 2);
        return true;

    // --- pen, brush and copy mode
    case kPensize:
        if (!intArg(a)) return fail("invalid integer in pensize");
        c.pen().width = a;
        return true;
    case kPencolor:
        if (!colorArg(a)) return fail("invalid color in pencolor");
        c.pen().color = a;
        return true;
    case kAddpencolor:
        if (!colorArg(a)) return fail("invalid color in addpencolor");
        c.pen().color = wadd(c.pen().color, a);
        return true;
    case kPenmode: {
        int id;
        if (!wordArg(id)) return fail("invalid pen mode");
        const auto m = penModeWord(words_[static_cast<std::size_t>(id)].text);
        if (!m) return fail("invalid pen mode");
        c.pen().mode = *m;
        return true;
    }
    case kBrushcolor:
        if (!colorArg(a)) return fail("invalid color in brushcolor");
        c.brush().setColor(a);
        return true;
    case kAddbrushcolor:
        if (!colorArg(a)) return fail("invalid color in addbrushcolor");
        c.brush().setColor(wadd(c.brush().color(), a));
        return true;
    case kBssolid: c.brush().setStyle(BrushStyle::bsSolid); return true;
    case kBsclear: c.brush().setStyle(BrushStyle::bsClear); return true;
    case kCopymode: {
        int id;
        if (!wordArg(id)) return fail("invalid copy mode");
        const auto m = copyModeWord(words_[static_cast<std::size_t>(id)].text);
        if (!m) return fail("invalid copy mode");
        c.setCopyMode(*m);
        return true;
    }

    // --- font and text
    case kTextfont: {
        QString name;
        if (!textArg(name)) return fail("missing fontname");
        c.font().name = name;
        return true;
    }
    case kTextsize:
        if (!intArg(a)) return fail("invalid integer in fontsize");
        c.font().size = a;
        return true;
    case kTextcolor:
        if (!colorArg(a)) return fail("invalid color in textcolor");
        c.font().color = a;
        return true;
    case kBold: c.font().style |= fsBold; return true;
    case kItalic: c.font().style |= fsItalic; return true;
    case kUnderline: c.font().style |= fsUnderline; return true;
    case kNormal: c.font().style = 0; return true;
    case kText: {
        QString s;
        if (!textArg(s)) return fail("invalid text in text");
        rotatedText(s);
        if (!canvas_) return fail("#Error: Canvas not assigned");
        return true;
    }
    case kTextout: {
        QString s;
        if (!textArg(s)) return fail("invalid text in textout");
        plainText(s);
        return true;
    }

    // --- shapes and fills
    case kRectangle:
        if (!intArg(a) || !intArg(b)) return fail("invalid integer in rectangle");
        c.rectangle(x_, y_, wadd(x_, a), wadd(y_, b));
        return true;
    case kRoundrect: {
        std::int32_t cw = 0, ch = 0;
        if (!intArg(a) || !intArg(b) || !intArg(cw) || !intArg(ch)) return fail("invalid integer in roundrect");
        c.roundRect(x_, y_, wadd(x_, a), wadd(y_, b), cw, ch);
        return true;
    }
    case kEllipse:
        if (!intArg(a) || !intArg(b)) return fail("invalid integer in ellipse");
        c.ellipse(x_, y_, wadd(x_, a), wadd(y_, b));
        return true;
    case kDiamond: {
        if (!intArg(a)) return fail("invalid integer in diamond");
        const bool savedPen = penDown_;
        penDown_ = true;
        heading_ += 45;
        for (int i = 0; i < 4; ++i) {
            forward(a);
            heading_ -= 90;
        }
        heading_ -= 45;
        penDown_ = savedPen;
        return true;
    }
    case kPolygon:
        if (!intArg(a) || !intArg(b)) return fail("invalid integer in polygon");
        if (a == 0 || b == 0) return fail("0 not allowed in polygon");
        if (a < 3) return fail("need minimum of 3 sides in polygon");
        return regularFigure(a, b, 1);
    case kStar: {
        if (!intArg(a) || !intArg(b)) return fail("invalid integer in star");
        if (a == 0 || b == 0) return fail("0 not allowed in star");
        if (a < 3) return fail("need minimum of 3 sides in star");
        if (a > 12) return fail("maximum 12 sides exceeded in star");
        const int k = a == 5 ? 2 : a == 7 ? 3 : a == 9 ? 4 : a == 11 ? 5 : 1;
        return regularFigure(a, b, k);
    }
    case kCurve: {
        std::int32_t d[6];
        for (auto& v : d)
            if (!intArg(v)) return fail("invalid parameter in curve");
        const std::vector<Point> pts = {{x_, y_},
                                        {wadd(x_, d[0]), wadd(y_, d[1])},
                                        {wadd(x_, d[2]), wadd(y_, d[3])},
                                        {wadd(x_, d[4]), wadd(y_, d[5])}};
        c.polyBezier(pts);
        x_ = pts[3].x;
        y_ = pts[3].y;
        return true;
    }
    case kFlood: {
        if (!intArg(a) || !intArg(b)) return fail("invalid integer in flood");
        const std::int32_t fx = wadd(x_, a), fy = wadd(y_, b);
        const TColor under = c.pixel(fx, fy);
        // Outside the image there is no region to fill.
        if (under != -1) c.floodFill(fx, fy, under, FillStyle::fsSurface);
        return true;
    }

    // --- area copy
    case kArea: {
        std::int32_t r = 0, bt = 0;
        if (!intArg(a) || !intArg(b) || !intArg(r) || !intArg(bt)) return fail("invalid integer in area");
        area_ = Rect{a, b, r, bt};
        return true;
    }
    case kCopy: {
        const Rect dest{x_, y_, wadd(x_, wsub(area_.right, area_.left)), wadd(y_, wsub(area_.bottom, area_.top))};
        c.copyRect(dest, c, area_);
        return true;
    }

    // --- host requests and reset
    case kBackground: {
        QString name;
        if (!textArg(name)) return fail("invalid text in background");
        lastBackground_ = name;
        if (OnRequestBackGround) OnRequestBackGround(lastBackground_);
        if (!canvas_) return fail("#Error: Canvas not assigned");
        return true;
    }
    case kFilter: {
        QString name;
        if (!textArg(name)) return fail("invalid text in filter");
        lastFilter_ = name;
        if (OnRequestFilter) OnRequestFilter(lastFilter_);
        if (!canvas_) return fail("#Error: Canvas not assigned");
        return true;
    }
    case kDefault: {
        heading_ = 0;
        x_ = y_ = 0;
        penDown_ = false;
        c.pen().color = clBlack;
        // Only the colour is reset: the brush keeps its style.
        const BrushStyle style = c.brush().style();
        c.brush().setColor(clWhite);
        c.brush().setStyle(style);
        c.setCopyMode(cmSrcCopy);
        markX_ = markY_ = 0;
        area_ = Rect{};
        return true;
    }

    // --- queries
    case kQPosx: return push(x_);
    case kQPosy: return push(y_);
    case kQPencolor: return push(c.pen().color);
    case kQPensize: return push(c.pen().width);
    case kQBrushcolor: return push(c.brush().color());
    case kQTextcolor: return push(c.font().color);
    case kQTextsize: return push(c.font().size);
    case kQAngle: return push(roundToInt(heading_));
    case kQMarkx: return push(markX_);
    case kQMarky: return push(markY_);
    case kQLeft:
        if (!requestImageSize()) return fail("error in =left");
        return push(imageRect_.left);
    case kQRight:
        if (!requestImageSize()) return fail("error in =right");
        return push(imageRect_.right);
    case kQTop:
        if (!requestImageSize()) return fail("error in =top");
        return push(imageRect_.top);
    case kQBottom:
        if (!requestImageSize()) return fail("error in =bottom");
        return push(imageRect_.bottom);

    case kKeywordCount: break;
    }
    return fail("unknown keyword");
}

}  // namespace pixoral
