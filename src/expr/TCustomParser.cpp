#include "expr/TCustomParser.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <unordered_map>

namespace pixoral {

namespace {

// Guards that keep hostile text from exhausting time, memory or the stack. No expression
// within the row limits comes near them; text beyond them is "too complex".
constexpr std::size_t MaxLength = 100000;
constexpr int MaxAnalysisDepth = 3000;
constexpr long MaxWork = 4000000;
constexpr std::size_t MaxAnalysedTerms = 300000;

// The form of a term. The bracketed form is only ever an operand: terms themselves are
// stripped of their outer brackets before they are classified.
enum Form : std::uint8_t {
    Invalid, Var, Num, Neg, Add, Sub, Mul, Div, Mod, RDiv, Pow, Fn1, Fn2, Brk,
};
using FormSet = std::uint16_t;
constexpr FormSet bit(Form f) { return static_cast<FormSet>(1u << f); }
constexpr bool in(Form f, FormSet set) { return (set & bit(f)) != 0; }

constexpr FormSet Atoms = bit(Var) | bit(Num) | bit(Brk) | bit(Fn1) | bit(Fn2);
constexpr FormSet Products = bit(Mul) | bit(Div) | bit(Mod) | bit(RDiv) | bit(Pow);
constexpr FormSet Quotients = bit(Div) | bit(Mod) | bit(RDiv) | bit(Pow);
// The operand kinds each form allows (addition nests to the right, subtraction to the left).
constexpr FormSet AddLeft = Atoms | bit(Neg) | bit(Sub) | Products;
constexpr FormSet AddRight = Atoms | bit(Add) | bit(Sub) | Products;
constexpr FormSet SubLeft = AddLeft;
constexpr FormSet SubRight = Atoms | Products;
constexpr FormSet MulLeft = Atoms | bit(Neg) | Quotients;
constexpr FormSet MulRight = Atoms | Products;
constexpr FormSet QuotLeft = MulLeft;
constexpr FormSet QuotRight = Atoms | bit(Pow);
constexpr FormSet PowSide = Atoms;
constexpr FormSet NegRest = bit(Brk) | bit(Var) | bit(Pow) | bit(Fn1) | bit(Fn2);

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool validName(std::string_view name) {
    if (name.empty() || isDigit(name[0])) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isDigit(c) || c == '_';
    });
}

std::string upperCase(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The decimal point numbers use when they follow the locale: the C library's, as long as it
// is one character that cannot be mistaken for anything else in an expression.
char localeDecimalPoint() {
    const char* dp = std::localeconv()->decimal_point;
    if (dp && dp[0] && !dp[1] && !std::strchr("+-*/^()E0123456789 ", dp[0])) return dp[0];
    return '.';
}

// Reads text as a number: "PI", "-PI", or an optional sign, digits, optionally the decimal
// point and digits, optionally "E", an optional sign and at least one digit. Either digit run
// may be empty, so "." and "E5" are 0. Needs something after the sign, and an exponent sign
// straight after a leading "E" means the variable E ("E-1" is E minus 1, not 0).
// scanned receives how many characters were looked at.
bool readNumber(std::string_view x, char point, double* value, std::size_t* scanned) {
    const std::size_t n = x.size();
    std::size_t i = 0;
    auto done = [&](bool ok) {
        if (scanned) *scanned = i + 1;
        return ok;
    };
    if (x == "PI" || x == "-PI") {
        if (value) *value = x[0] == '-' ? -std::numbers::pi : std::numbers::pi;
        return done(true);
    }
    bool negative = false;
    if (i < n && (x[i] == '+' || x[i] == '-')) negative = x[i++] == '-';
    const std::size_t intStart = i;
    while (i < n && isDigit(x[i])) ++i;
    const std::size_t intEnd = i;
    bool hasPoint = false;
    std::size_t fracStart = i, fracEnd = i;
    if (i < n && x[i] == point) {
        hasPoint = true;
        fracStart = ++i;
        while (i < n && isDigit(x[i])) ++i;
        fracEnd = i;
    }
    const bool emptyMantissa = intEnd == intStart && !hasPoint;
    bool hasExponent = false, negativeExponent = false;
    long exponent = 0;
    if (i < n && x[i] == 'E') {
        hasExponent = true;
        ++i;
        if (i < n && (x[i] == '+' || x[i] == '-')) {
            if (emptyMantissa) return done(false);
            negativeExponent = x[i++] == '-';
        }
        const std::size_t expStart = i;
        while (i < n && isDigit(x[i])) {
            if (exponent < 1000000) exponent = exponent * 10 + (x[i] - '0');
            ++i;
        }
        if (i == expStart) return done(false);
    }
    if (i != n || (emptyMantissa && !hasExponent)) return done(false);
    if (!value) return done(true);

    // Digits without leading zeros, and the decimal exponent of the digit string's end.
    std::string digits;
    digits.reserve(intEnd - intStart + fracEnd - fracStart);
    digits.append(x.substr(intStart, intEnd - intStart));
    digits.append(x.substr(fracStart, fracEnd - fracStart));
    const std::size_t lead = std::min(digits.find_first_not_of('0'), digits.size());
    digits.erase(0, lead);
    if (negativeExponent) exponent = -exponent;
    long scale = exponent - static_cast<long>(fracEnd - fracStart);
    double v = 0.0;
    if (!digits.empty()) {
        // Cap the digit string; digits beyond 800 cannot change a double.
        if (digits.size() > 800) {
            scale += static_cast<long>(digits.size() - 800);
            digits.resize(800);
        }
        std::string text = digits + "e" + std::to_string(scale);
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec == std::errc::result_out_of_range) {
            // Too large gives infinity, too small gives zero.
            const long magnitude = scale + static_cast<long>(digits.size());
            v = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        } else if (ec != std::errc()) {
            v = 0.0;
        }
    }
    *value = negative ? -v : v;
    return done(true);
}

[[noreturn]] void raiseOverflow() { throw EIntegerOverflow(); }
[[noreturn]] void raiseDivisionByZero() { throw EIntegerDivisionByZero(); }

inline std::int64_t truncate64(double v) {
    // Written so that NaN fails the test too.
    if (!(v >= -9223372036854775808.0 && v < 9223372036854775808.0)) raiseOverflow();
    return static_cast<std::int64_t>(v);
}

}  // namespace

// Integer and real powers, shared by the operator "^" and the functions INTPOWER and POWER.
double integerPower(double a, double b) {
    const std::int64_t n = truncate64(b);
    std::uint64_t m = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    double result = 1.0, x = a;
    // Repeated multiplication, rounding step by step as the power has always been computed;
    // beyond a thousand steps squaring keeps huge exponents from taking seconds.
    if (m <= 1024) {
        for (; m; --m) result *= a;
    } else {
        for (; m; m >>= 1) {
            if (m & 1) result *= x;
            if (m > 1) x *= x;
        }
    }
    return n < 0 ? 1.0 / result : result;
}

double realPower(double a, double b) {
    if (b == 0.0) return 1.0;
    if (a == 0.0 && b > 0.0) return 0.0;
    if (b >= -2147483648.0 && b <= 2147483647.0 && static_cast<double>(static_cast<std::int32_t>(b)) == b)
        return integerPower(a, b);
    return std::exp(b * std::log(a));
}

// ---------------------------------------------------------------------------------------------
// Parsing. The forms are found by splitting the text, as the classification rules describe;
// the search is memoised over (start, end) pairs so each piece of text is judged once. A valid
// term always has its brackets properly nested, so only operators outside every bracket of the
// term can split it, and the pieces of such a split are properly nested again.

struct TCustomParser::Analysis {
    struct Entry {
        Form form = Invalid;
        int split = -1;  // operator, comma or "(" position the form was found at
    };

    const TCustomParser& parser;
    std::string_view t;
    char point;
    std::vector<int> depth;      // bracket depth before each character (size n + 1)
    std::vector<int> match;      // for "(": the position of its ")"
    std::vector<int> nextParen;  // the first "(" at or after each position
    // Per operator: (depth << 32 | position) of every occurrence, sorted.
    enum Op { Plus, Minus, Times, Slash, Caret, DivWord, ModWord, Comma, OpCount };
    std::array<std::vector<std::uint64_t>, OpCount> occurrences;
    std::unordered_map<std::uint64_t, Entry> memo;
    long work = 0;
    int level = 0;
    bool properlyNested = true;

    Analysis(const TCustomParser& p, std::string_view text, char decimalPoint)
        : parser(p), t(text), point(decimalPoint) {
        const int n = static_cast<int>(t.size());
        depth.assign(n + 1, 0);
        match.assign(n, -1);
        nextParen.assign(n + 1, n);
        std::vector<int> open;
        for (int i = 0; i < n; ++i) {
            depth[i + 1] = depth[i];
            const char c = t[i];
            if (c == '(') {
                open.push_back(i);
                ++depth[i + 1];
            } else if (c == ')') {
                if (open.empty()) {
                    properlyNested = false;
                    break;
                }
                match[open.back()] = i;
                open.pop_back();
                --depth[i + 1];
            }
            Op op = OpCount;
            switch (c) {
            case '+': op = Plus; break;
            case '-': op = Minus; break;
            case '*': op = Times; break;
            case '/': op = Slash; break;
            case '^': op = Caret; break;
            case ',': op = Comma; break;
            case 'D': if (t.substr(i, 3) == "DIV") op = DivWord; break;
            case 'M': if (t.substr(i, 3) == "MOD") op = ModWord; break;
            default: break;
            }
            if (op != OpCount)
                occurrences[op].push_back(static_cast<std::uint64_t>(depth[i]) << 32 | static_cast<std::uint32_t>(i));
        }
        if (!open.empty()) properlyNested = false;
        if (!properlyNested) return;
        for (int i = n - 1; i >= 0; --i) nextParen[i] = t[i] == '(' ? i : nextParen[i + 1];
        for (auto& list : occurrences) std::sort(list.begin(), list.end());
        memo.reserve(256);
    }

    void spend(long units) {
        work += units;
        if (work > MaxWork) throw EExpressionTooComplex();
    }

    const Entry& entry(int s, int e) {
        static const Entry invalid;
        if (s >= e) return invalid;
        const std::uint64_t key = static_cast<std::uint64_t>(s) << 32 | static_cast<std::uint32_t>(e);
        if (auto it = memo.find(key); it != memo.end()) return it->second;
        spend(1);
        if (++level > MaxAnalysisDepth || memo.size() >= MaxAnalysedTerms) throw EExpressionTooComplex();
        const Entry found = classify(s, e);
        --level;
        return memo.emplace(key, found).first->second;
    }
    Form form(int s, int e) { return entry(s, e).form; }

    // Calls f(position) for each occurrence of op in [lo, hi) outside the brackets of a term
    // whose depth is d, in order, until f returns true; returns that position or -1.
    template <class F>
    int scan(Op op, int d, int lo, int hi, F f) {
        const auto& list = occurrences[op];
        const std::uint64_t base = static_cast<std::uint64_t>(d) << 32;
        for (auto it = std::lower_bound(list.begin(), list.end(), base | static_cast<std::uint32_t>(lo));
             it != list.end() && *it < (base | static_cast<std::uint32_t>(hi)); ++it) {
            spend(1);
            const int p = static_cast<int>(*it & 0xffffffffu);
            if (f(p)) return p;
        }
        return -1;
    }

    // "+", "-", "*", "/", "^": an operator in the first place means the form does not fit, one in
    // the last place is never a split.
    int splitChar(Op op, char c, int s, int e, FormSet left, FormSet right) {
        if (t[s] == c) return -1;
        return scan(op, depth[s], s + 1, e - 1,
                    [&](int p) { return in(form(s, p), left) && in(form(p + 1, e), right); });
    }
    // "DIV", "MOD": an occurrence at the very start is skipped.
    int splitWord(Op op, int s, int e, FormSet left, FormSet right) {
        return scan(op, depth[s], s + 1, e - 2,
                    [&](int p) { return in(form(s, p), left) && in(form(p + 3, e), right); });
    }

    bool isVariable(int s, int e) const {
        if (static_cast<std::size_t>(e - s) > parser.longestVariable_) return false;
        return parser.variables_.find(t.substr(s, e - s)) != parser.variables_.end();
    }
    bool isNumber(int s, int e) {
        std::size_t scanned = 0;
        const bool ok = readNumber(t.substr(s, e - s), point, nullptr, &scanned);
        spend(static_cast<long>(scanned));
        return ok;
    }

    Entry classify(int s, int e) {
        if (t[s] == '(' && match[s] == e - 1) return {form(s + 1, e - 1) != Invalid ? Brk : Invalid, -1};
        if (isVariable(s, e)) return {Var, -1};
        if (isNumber(s, e)) return {Num, -1};
        if (t[s] == '-' && in(form(s + 1, e), NegRest)) return {Neg, -1};
        int p;
        if ((p = splitChar(Plus, '+', s, e, AddLeft, AddRight)) >= 0) return {Add, p};
        if ((p = splitChar(Minus, '-', s, e, SubLeft, SubRight)) >= 0) return {Sub, p};
        if ((p = splitChar(Times, '*', s, e, MulLeft, MulRight)) >= 0) return {Mul, p};
        if ((p = splitWord(DivWord, s, e, QuotLeft, QuotRight)) >= 0) return {Div, p};
        if ((p = splitWord(ModWord, s, e, QuotLeft, QuotRight)) >= 0) return {Mod, p};
        if ((p = splitChar(Slash, '/', s, e, QuotLeft, QuotRight)) >= 0) return {RDiv, p};
        if ((p = splitChar(Caret, '^', s, e, PowSide, PowSide)) >= 0) return {Pow, p};
        // Functions: a name before the first "(", the bracket closing at the end.
        const int paren = nextParen[s];
        if (paren <= s || paren >= e || t[e - 1] != ')' || match[paren] != e - 1) return {};
        spend(1);
        const std::string_view name = t.substr(s, paren - s);
        if (parser.functions1_.count(name) && form(paren + 1, e - 1) != Invalid) return {Fn1, paren};
        if (parser.functions2_.count(name)) {
            const int c = scan(Comma, depth[paren + 1], paren + 1, e - 1, [&](int q) {
                if (q == paren + 1 || q == e - 2) return true;  // ends the search
                return form(paren + 1, q) != Invalid && form(q + 1, e - 1) != Invalid;
            });
            if (c > paren + 1 && c < e - 2) return {Fn2, c};
        }
        return {};
    }

    // The message of a whole expression that fits no form: the sides of the last split tried.
    std::string syntaxMessage(std::string_view x) const {
        const std::size_t n = x.size();
        std::string_view left = " ", right = " ";
        bool wrote = false;
        auto write = [&](std::string_view l, std::string_view r) {
            left = l;
            right = r;
            wrote = true;
        };
        auto chars = [&](char c) {
            for (std::size_t p = x.find(c); p != std::string_view::npos; p = x.find(c, p + 1)) {
                if (p == 0 || p == n - 1) break;
                write(x.substr(0, p), x.substr(p + 1));
            }
        };
        auto word = [&](std::string_view w) {
            for (std::size_t p = x.find(w); p != std::string_view::npos; p = x.find(w, p + 1))
                if (p != 0) write(x.substr(0, p), x.substr(p + 3));
        };
        chars('+');
        chars('-');
        chars('*');
        word("DIV");
        word("MOD");
        chars('/');
        chars('^');
        const std::size_t paren = x.find('(');
        if (paren != std::string_view::npos && paren > 0 && x.back() == ')' &&
            parser.functions2_.count(x.substr(0, paren))) {
            const std::string_view inside = x.substr(paren + 1, n - paren - 2);
            for (std::size_t c = inside.find(','); c != std::string_view::npos; c = inside.find(',', c + 1)) {
                if (c == 0 || c == inside.size() - 1) break;
                write(inside.substr(0, c), inside.substr(c + 1));
            }
        }
        std::string message = "Error parsing expression:\r";
        if (!wrote) return message.append(x);
        return message.append(left).append("\r").append(right);
    }
};

// ---------------------------------------------------------------------------------------------

TCustomParser::TCustomParser() = default;
TCustomParser::~TCustomParser() = default;

void TCustomParser::addVariable(std::string_view name, double& field) {
    if (!validName(name)) throw EMathParserError("Invalid variable name: " + std::string(name));
    const std::string key = upperCase(name);
    if (variables_.emplace(key, &field).second) longestVariable_ = std::max(longestVariable_, key.size());
}

namespace {
template <class Table, class F>
void addFunction(Table& table, std::string_view name, F routine, bool pure) {
    if (!validName(name) || !routine) throw EMathParserError("Invalid function: " + std::string(name));
    const std::string key = upperCase(name);
    if (!table.emplace(key, typename Table::mapped_type{routine, pure}).second)
        throw EMathParserError("Function already defined: " + key);
}
}  // namespace

void TCustomParser::addFunctionOneParam(std::string_view name, Function1 routine, bool pure) {
    addFunction(functions1_, name, routine, pure);
}

void TCustomParser::addFunctionTwoParam(std::string_view name, Function2 routine, bool pure) {
    addFunction(functions2_, name, routine, pure);
}

double* TCustomParser::variable(std::string_view name) const {
    auto it = variables_.find(upperCase(name));
    return it == variables_.end() ? nullptr : it->second;
}

std::vector<OperationKind> TCustomParser::operationKinds() const {
    std::vector<OperationKind> kinds;
    kinds.reserve(records_.size());
    for (const OpRecord& r : records_) kinds.push_back(r.kind);
    return kinds;
}

void TCustomParser::clearList() {
    first_ = nullptr;
    last_ = nullptr;
    records_.clear();
    records_.shrink_to_fit();
}

bool TCustomParser::parseExpression(std::string_view text) {
    clearList();
    expression_.assign(text);
    if (text.empty()) return false;
    try {
        std::string upper = upperCase(text);
        const auto begin = std::find_if_not(upper.begin(), upper.end(), isBlank);
        const auto end = std::find_if_not(upper.rbegin(), upper.rend(), isBlank).base();
        upper = begin < end ? std::string(begin, end) : std::string();
        if (std::any_of(upper.begin(), upper.end(), isBlank)) throw EExpressionHasBlanks();
        if (std::count(upper.begin(), upper.end(), '(') != std::count(upper.begin(), upper.end(), ')'))
            throw EMissMatchingBracket();
        if (upper.size() > MaxLength) throw EExpressionTooComplex();
        build(upper);
    } catch (const EMathParserError& e) {
        clearList();
        parserError_ = true;
        if (!onParserError_) throw;
        // A copy, so a handler that replaces itself does not destroy the one running.
        const TParserExceptionEvent handler = onParserError_;
        handler(*this, e);
        return false;
    } catch (...) {
        clearList();
        parserError_ = true;
        throw;
    }
    parserError_ = false;
    return true;
}

void TCustomParser::build(std::string_view upper) {
    Analysis an(*this, upper, dotNumberformat_ ? '.' : localeDecimalPoint());
    const std::string_view t = an.t;
    int s = 0, e = static_cast<int>(t.size());
    if (!an.properlyNested) throw ESyntaxError(an.syntaxMessage(t));
    // Outer brackets around the whole text go.
    while (e - s >= 2 && t[s] == '(' && an.match[s] == e - 1 && an.form(s, e) == Brk) ++s, --e;
    if (an.form(s, e) == Invalid) throw ESyntaxError(an.syntaxMessage(t.substr(s, e - s)));

    // The tree of terms, depth first, left operand before right operand.
    struct TermRecord {
        int start, end;
        Form form;
        int split;
        int depth;
        int row = 0, position = 0;  // of this term's operation record
        int child[2] = {-1, -1};
        OperationKind kind = OperationKind::Constant;
    };
    std::vector<TermRecord> terms;
    terms.reserve(64);
    std::array<int, MaxRows + 1> rowCount{};

    auto addTerm = [&](int ts, int te, int depth) {
        Form f = an.form(ts, te);
        while (f == Brk) f = an.form(++ts, --te);  // an accepted bracketed operand is its inside
        terms.push_back({ts, te, f, an.entry(ts, te).split, depth});
        return static_cast<int>(terms.size()) - 1;
    };
    // Iterative walk; the stack holds terms whose children are still to be made.
    std::vector<int> pending{addTerm(s, e, 0)};
    while (!pending.empty()) {
        const int id = pending.back();
        pending.pop_back();
        const TermRecord term = terms[id];
        if (term.form == Var || term.form == Num) continue;
        const int m = term.depth + 1;
        if (m > MaxRows) throw ETooManyNestings();
        if (rowCount[m] >= MaxRecordsPerRow) throw EExpressionTooComplex();
        terms[id].row = m;
        terms[id].position = ++rowCount[m];
        int children[2] = {-1, -1};
        OperationKind kind = OperationKind::Constant;
        switch (term.form) {
        case Neg:
            kind = OperationKind::Negate;
            children[0] = addTerm(term.start + 1, term.end, m);
            break;
        case Add: case Sub: case Mul: case RDiv: case Div: case Mod: {
            const int width = (term.form == Div || term.form == Mod) ? 3 : 1;
            kind = term.form == Add   ? OperationKind::Add
                   : term.form == Sub ? OperationKind::Subtract
                   : term.form == Mul ? OperationKind::Multiply
                   : term.form == RDiv ? OperationKind::Divide
                   : term.form == Div ? OperationKind::Div
                                      : OperationKind::Mod;
            children[0] = addTerm(term.start, term.split, m);
            children[1] = addTerm(term.split + width, term.end, m);
            break;
        }
        case Pow: {
            children[0] = addTerm(term.start, term.split, m);
            // Only an exponent written as a plain number picks a special kind; "X^(2)" is a
            // real power like any other bracketed exponent.
            const int es = term.split + 1, ee = term.end;
            kind = OperationKind::RealPower;
            if (an.form(es, ee) == Num) {
                double v = 0.0;
                readNumber(t.substr(es, ee - es), an.point, &v, nullptr);
                if (v == 2.0) kind = OperationKind::Square;
                else if (v == 3.0) kind = OperationKind::Cube;
                else if (v == 4.0) kind = OperationKind::FourthPower;
                else if (std::isfinite(v) && v == std::trunc(v)) kind = OperationKind::IntPower;
            }
            if (kind == OperationKind::IntPower || kind == OperationKind::RealPower)
                children[1] = addTerm(term.split + 1, term.end, m);
            break;
        }
        case Fn1:
            kind = OperationKind::Function1;
            children[0] = addTerm(term.split + 1, term.end - 1, m);
            break;
        case Fn2:
            kind = OperationKind::Function2;
            children[0] = addTerm(an.nextParen[term.start] + 1, term.split, m);
            children[1] = addTerm(term.split + 1, term.end - 1, m);
            break;
        default:
            throw EParserInternalError();
        }
        terms[id].kind = kind;
        terms[id].child[0] = children[0];
        terms[id].child[1] = children[1];
        // Right pushed first so the left subtree is walked first.
        for (int i = 1; i >= 0; --i)
            if (children[i] >= 0) pending.push_back(children[i]);
    }

    // Link: the deepest row first, each row in position order; the root operation comes last.
    std::vector<int> order;
    for (int i = 0; i < static_cast<int>(terms.size()); ++i)
        if (terms[i].row > 0) order.push_back(i);
    std::sort(order.begin(), order.end(), [&](int x, int y) {
        if (terms[x].row != terms[y].row) return terms[x].row > terms[y].row;
        return terms[x].position < terms[y].position;
    });
    std::vector<int> recordOf(terms.size(), -1);
    // Sized once: the records point at each other.
    std::vector<OpRecord> records(order.empty() ? 1 : order.size());

    // A variable's field, the number stored in constant, or the child operation's result.
    auto operandOf = [&](int child, double& constant) -> const double* {
        const TermRecord& c = terms[child];
        if (c.form == Var) return variables_.find(t.substr(c.start, c.end - c.start))->second;
        if (c.form == Num) {
            readNumber(t.substr(c.start, c.end - c.start), an.point, &constant, nullptr);
            return &constant;
        }
        if (recordOf[child] < 0) throw EParserInternalError();
        return &records[recordOf[child]].result;
    };

    if (order.empty()) {
        // A lone variable or number: one record that passes its operand through.
        OpRecord& r = records[0];
        const TermRecord& root = terms[0];
        r.kind = root.form == Var ? OperationKind::Variable : OperationKind::Constant;
        r.a = operandOf(0, r.constantA);
    } else {
        for (std::size_t i = 0; i < order.size(); ++i) recordOf[order[i]] = static_cast<int>(i);
        for (std::size_t i = 0; i < order.size(); ++i) {
            const TermRecord& term = terms[order[i]];
            OpRecord& r = records[i];
            r.kind = term.kind;
            r.a = operandOf(term.child[0], r.constantA);
            if (term.child[1] >= 0) {
                const int k = static_cast<int>(term.kind);
                if (!((k >= 3 && k <= 10) || k == 15)) throw EParserInternalError();
                r.b = operandOf(term.child[1], r.constantB);
            }
            switch (term.kind) {
            case OperationKind::Negate: r.step = Step::Negate; break;
            case OperationKind::Add: r.step = Step::Add; break;
            case OperationKind::Subtract: r.step = Step::Subtract; break;
            case OperationKind::Multiply: r.step = Step::Multiply; break;
            case OperationKind::Divide: r.step = Step::Divide; break;
            case OperationKind::Mod: r.step = Step::Mod; break;
            case OperationKind::Div: r.step = Step::Div; break;
            case OperationKind::IntPower: r.step = Step::IntPower; break;
            case OperationKind::RealPower: {
                // A finite constant exponent that is not whole never takes the integer paths.
                const TermRecord& e = terms[term.child[1]];
                const double b = r.constantB;
                r.step = e.form == Num && std::isfinite(b) && b != std::trunc(b) ? Step::FractionPower
                                                                                 : Step::RealPower;
                break;
            }
            case OperationKind::Square: r.step = Step::Square; break;
            case OperationKind::Cube: r.step = Step::Cube; break;
            case OperationKind::FourthPower: r.step = Step::FourthPower; break;
            case OperationKind::Function1: {
                const auto& f = functions1_.find(t.substr(term.start, term.split - term.start))->second;
                r.function1 = f.routine;
                r.step = f.pure ? Step::PureFunction1 : Step::Function1;
                break;
            }
            case OperationKind::Function2: {
                const int paren = an.nextParen[term.start];
                const auto& f = functions2_.find(t.substr(term.start, paren - term.start))->second;
                r.function2 = f.routine;
                r.step = f.pure ? Step::PureFunction2 : Step::Function2;
                break;
            }
            default: throw EParserInternalError();
            }
        }
    }
    // Moving the vector keeps the elements where they are, so the operand pointers stay valid.
    records_ = std::move(records);
    first_ = records_.data();
    last_ = &records_.back();
}

// ---------------------------------------------------------------------------------------------

// Each routine ends by jumping straight to the next record's routine where the compiler allows
// it (one indirect jump per routine predicts far better than the single one of a switch).
#if defined(__GNUC__)
#define PIXORAL_THREADED_VALUE 1
#endif

double TCustomParser::value() {
    OpRecord* r = first_;
    if (!r) return 0.0;
    const OpRecord* const last = last_;
    double a;
#ifdef PIXORAL_THREADED_VALUE
    // In the order of Step.
    static constexpr void* Routines[] = {
        &&Copy, &&Negate, &&Add, &&Subtract, &&Multiply, &&Divide, &&Mod, &&Div, &&IntPower,
        &&RealPower, &&FractionPower, &&Square, &&Cube, &&FourthPower, &&Function1,
        &&PureFunction1, &&Function2, &&PureFunction2,
    };
    static_assert(std::size(Routines) == static_cast<std::size_t>(Step::PureFunction2) + 1);
#define STEP(name) name:
#define NEXT()                                            \
    if (r == last) return r->result;                      \
    ++r;                                                  \
    a = *r->a;                                            \
    goto* Routines[static_cast<std::size_t>(r->step)]
    a = *r->a;
    goto* Routines[static_cast<std::size_t>(r->step)];
    {
#else
#define STEP(name) case Step::name:
#define NEXT()                       \
    if (r == last) return r->result; \
    ++r;                             \
    continue
    // The list lies in records_ in its own order, so the walk steps through memory.
    for (;;) {
        a = *r->a;
        switch (r->step) {
#endif
        STEP(Copy) r->result = a; NEXT();
        STEP(Negate) r->result = -a; NEXT();
        STEP(Add) r->result = a + *r->b; NEXT();
        STEP(Subtract) r->result = a - *r->b; NEXT();
        STEP(Multiply) r->result = a * *r->b; NEXT();
        STEP(Divide) r->result = a / *r->b; NEXT();
        STEP(Mod) {
            const std::int64_t x = truncate64(a), y = truncate64(*r->b);
            if (y == 0) raiseDivisionByZero();
            r->result = y == -1 ? 0.0 : static_cast<double>(x % y);
        }
        NEXT();
        STEP(Div) {
            const std::int64_t x = truncate64(a), y = truncate64(*r->b);
            if (y == 0) raiseDivisionByZero();
            // -2^63 DIV -1 is 2^63, which a double holds exactly.
            r->result = y == -1 ? -static_cast<double>(x) : static_cast<double>(x / y);
        }
        NEXT();
        STEP(IntPower) r->result = integerPower(a, *r->b); NEXT();
        STEP(RealPower) r->result = realPower(a, *r->b); NEXT();
        STEP(FractionPower) {
            // realPower() for an exponent known to be neither 0 nor whole.
            const double b = *r->b;
            r->result = a == 0.0 && b > 0.0 ? 0.0 : std::exp(b * std::log(a));
        }
        NEXT();
        STEP(Square) r->result = a * a; NEXT();
        STEP(Cube) r->result = a * (a * a); NEXT();
        STEP(FourthPower) r->result = (a * a) * (a * a); NEXT();
        STEP(Function1) r->result = r->function1(a); NEXT();
        STEP(PureFunction1) {
            const std::uint64_t bits = std::bit_cast<std::uint64_t>(a);
            if (!r->evaluated || bits != r->lastA) {
                // Cleared first, so a routine that raises leaves no stale result behind.
                r->evaluated = false;
                r->result = r->function1(a);
                r->lastA = bits;
                r->evaluated = true;
            }
        }
        NEXT();
        STEP(Function2) r->result = r->function2(a, *r->b); NEXT();
        STEP(PureFunction2) {
            const double b = *r->b;
            const std::uint64_t bitsA = std::bit_cast<std::uint64_t>(a), bitsB = std::bit_cast<std::uint64_t>(b);
            if (!r->evaluated || bitsA != r->lastA || bitsB != r->lastB) {
                r->evaluated = false;
                r->result = r->function2(a, b);
                r->lastA = bitsA;
                r->lastB = bitsB;
                r->evaluated = true;
            }
        }
        NEXT();
#ifndef PIXORAL_THREADED_VALUE
        }
#endif
    }
#undef STEP
#undef NEXT
}

}  // namespace pixoral
