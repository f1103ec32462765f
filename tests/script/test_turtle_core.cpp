// The language core: reading, messages and cursors, stacks, variables, procedures, loops,
// conditions, arithmetic, persistence between runs and interruption.
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>

#include "TurtleEnv.h"
#include "script/TurtleWords.h"

using namespace pixoral;
using pixoral::test::makeEnv;

namespace {

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

std::string repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

}  // namespace

TEST(TurtleWords, IntegerWords) {
    struct Case {
        const char* word;
        std::optional<int> value;
    } cases[] = {
        {"0", 0},          {"+5", 5},          {"-5", -5},           {"007", 7},
        {"2147483647", kMax}, {"-2147483648", kMin}, {"2147483648", {}}, {"-2147483649", {}},
        {"99999999999999999999", {}},
        {"x1F", 31},       {"X1f", 31},        {"$ff", 255},         {"0x10", 16},
        {"0X10", 16},      {"$FFFFFFFF", -1},  {"$80000000", kMin},  {"x7FFFFFFF", kMax},
        {"$123456789", {}}, {"$000000001", {}}, {"x", {}},            {"xy", {}},
        {"$", {}},         {"0x", {}},         {"-$10", {}},         {"+0x10", {}},
        {"1.5", {}},       {"12a", {}},        {"", {}},             {"-", {}},
        {"+", {}},         {"00x10", {}},      {"$1g", {}},          {"\xd9\xa3", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TTurtle::parseInteger(QString::fromUtf8(c.word)), c.value) << c.word;
}

TEST(TurtleWords, RoundingHalvesToEvenAndWraps) {
    struct Case {
        double v;
        int expected;
    } cases[] = {
        {0.5, 0},  {1.5, 2},   {2.5, 2},   {-0.5, 0}, {-1.5, -2}, {0.7071, 1},
        {-0.7071, -1}, {2147483647.0, kMax}, {2147483648.0, kMin}, {4294967301.0, 5},
        {-2147483649.0, kMax}, {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0}, {1e300, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(TTurtle::roundToInt(c.v), c.expected) << c.v;
}

// Every failure message with the cursor it leaves (1-based, just past the failing word).
TEST(TurtleRun, MessagesAndCursors) {
    struct Case {
        const char* script;
        const char* message;
        int cursor;
    } cases[] = {
        {"", "empty script", 0},
        {"   ", "ready", 4},
        {"1 2 3", "ready", 6},
        {"1 2 3  ", "ready", 8},
        {"go abc go 5", "invalid integer in go", 7},
        {"go 10\r\ngo abc", "invalid integer in go", 14},
        {"go 10\ngo abc", "invalid integer in go", 13},
        {"\tgo\tabc\t", "invalid integer in go", 8},
        {"go", "invalid integer in go", 3},
        {"go =", "invalid integer in go", 5},
        {"foo foo", "stack overflow", 8},
        {"7 0 /", "division by zero", 6},
        {"-2147483648 -1 /", "integer overflow in division", 17},
        {"0 sqrt", "can not take sqrt of 0", 7},
        {"-4 sqrt", "can not take sqrt of negative number", 8},
        {"3 inadd y", "y does not exist", 10},
        {"3 inmul Yy", "Yy does not exist", 11},
        {"ininc q", "q does not exist", 8},
        {"inadd y", "number stack underflow", 6},
        {"5 in", "token expected", 5},
        {"indec", "token expected", 6},
        {"0 insub x", "division by zero not allowed in in-", 8},
        {"-2147483648 in x -1 insub x", "integer overflow in division", 28},
        {"]", "stack underflow", 2},
        {"loop", "stack underflow", 5},
        {"=loop", "stack underflow in =loop", 6},
        {"do", "number expected in do", 3},
        {"do x", "number expected in do", 5},
        {"{ comment", "missing } after comment", 2},
        {"[ block", "missing ] after block", 2},
        {"1 [ p ", "missing ] after block", 4},
        {"0 if", "symbol expected after if", 5},
        {"if", "number stack underflow", 3},
        {"1 +", "number stack underflow", 4},
        {"drop", "number stack underflow", 5},
        {"text", "invalid text in text", 5},
        {"text go 10", "invalid text in text", 11},
        {"text \"\" go 1", "invalid text in text", 8},
        {"text \"abc", "invalid text in text", 10},
        {"textout", "invalid text in textout", 8},
        {"textfont 12", "missing fontname", 12},
        {"background", "invalid text in background", 11},
        {"filter \"\"", "invalid text in filter", 10},
        {"penmode", "invalid pen mode", 8},
        {"penmode foo", "invalid pen mode", 12},
        {"copymode srcpaint", "invalid copy mode", 18},
        {"copymode", "invalid copy mode", 9},
        {"polygon 2 10", "need minimum of 3 sides in polygon", 13},
        {"polygon -3 10", "need minimum of 3 sides in polygon", 14},
        {"polygon 0 10", "0 not allowed in polygon", 13},
        {"polygon 5 0", "0 not allowed in polygon", 12},
        {"polygon 5", "invalid integer in polygon", 10},
        {"star 13 10", "maximum 12 sides exceeded in star", 11},
        {"star 2 5", "need minimum of 3 sides in star", 9},
        {"star 0 1", "0 not allowed in star", 9},
        {"star x 1", "invalid integer in star", 7},
        {"curve 1 2 3", "invalid parameter in curve", 12},
        {"textsize x", "invalid integer in fontsize", 11},
        {"pencolor foo", "invalid color in pencolor", 13},
        {"addpencolor", "invalid color in addpencolor", 12},
        {"brushcolor 1.5", "invalid color in brushcolor", 15},
        {"addbrushcolor x", "invalid color in addbrushcolor", 16},
        {"textcolor =", "invalid color in textcolor", 12},
        {"pos 1", "invalid integer in pos", 6},
        {"move 1 x", "invalid integer in move", 9},
        {"lineto 1", "invalid integer in lineto", 9},
        {"angle clred", "invalid integer in angle", 12},
        {"turn", "invalid integer in turn", 5},
        {"left", "invalid integer in left", 5},
        {"right", "invalid integer in right", 6},
        {"pensize", "invalid integer in pensize", 8},
        {"rectangle 1", "invalid integer in rectangle", 12},
        {"roundrect 1 2 3", "invalid integer in roundrect", 16},
        {"ellipse 1", "invalid integer in ellipse", 10},
        {"diamond", "invalid integer in diamond", 8},
        {"flood 1", "invalid integer in flood", 8},
        {"area 1 2 3", "invalid integer in area", 11},
        {"1 2 3 go abc", "invalid integer in go", 13},
    };
    for (const auto& c : cases) {
        auto e = makeEnv();
        const auto r = e->run(c.script);
        EXPECT_EQ(r.message.toStdString(), c.message) << c.script;
        EXPECT_EQ(r.cursor, c.cursor) << c.script;
    }
}

TEST(TurtleRun, CanvasNotAssigned) {
    TTurtle t;
    const auto r = t.RunScript("1 2");
    EXPECT_EQ(r.message, "#Error: Canvas not assigned");
    EXPECT_EQ(r.cursor, 0);
    EXPECT_TRUE(t.numberStack().empty());
}

TEST(TurtleRun, EdgeQueriesFailWithoutAHost) {
    const char* words[] = {"goleft", "gotop", "goright", "gobottom", "gocenter", "=left", "=right", "=top", "=bottom"};
    for (const char* w : words) {
        auto e = makeEnv();
        e->t.OnRequestImageSize = nullptr;
        const auto r = e->run(w);
        EXPECT_EQ(r.message.toStdString(), std::string("error in ") + w);
        EXPECT_TRUE(e->t.numberStack().empty()) << w;
    }
}

// What each script leaves on the number stack (bottom first); every run ends with "ready".
TEST(TurtleRun, StackResults) {
    struct Case {
        const char* script;
        std::vector<int> stack;
    } cases[] = {
        {"5 6 +", {11}},
        {"0 if 7 8", {8}},
        {"1 if 7 8", {7, 8}},
        {"1 if", {}},
        {"-5 neg", {5}},
        {"5 neg", {5}},
        {"5 abs", {-5}},
        {"-2147483648 neg", {kMin}},
        {"-2147483648 abs", {kMin}},
        {"2147483647 1 +", {kMin}},
        {"-2147483648 1 -", {kMax}},
        {"65536 65536 *", {0}},
        {"65536 sqr", {0}},
        {"-7 sqr", {49}},
        {"7 2 /", {3}},
        {"-7 2 /", {-3}},
        {"7 -2 /", {-3}},
        {"2 sqrt", {1}},
        {"3 sqrt", {2}},
        {"6 sqrt", {2}},
        {"2147483647 sqrt", {46341}},
        {"1 2 .gt 2 1 .gt 2 2 .ge 1 2 .ge", {0, 1, 1, 0}},
        {"1 2 .lt 2 1 .lt 2 2 .le 3 2 .le", {1, 0, 1, 0}},
        {"2 2 .eq 2 3 .eq 2 2 .ne 2 3 .ne", {1, 0, 0, 1}},
        {"1 5 .and 0 5 .and 0 5 .or 0 0 .or", {1, 0, 1, 0}},
        {"0 .not 7 .not", {1, 0}},
        {"3 5 max 3 5 min -1 -2 max", {5, 3, -1}},
        {"1 2 swap", {2, 1}},
        {"1 dup", {1, 1}},
        {"1 2 drop", {1}},
        {"4 inc 4 dec", {5, 3}},
        {"x10", {16}},
        {"$FF", {255}},
        {"clred", {255}},
        {"CLRED clWhite clnone", {255, 0xFFFFFF, 0x1FFFFFFF}},
        {"clScrollBar clInfoBk", {kMin, static_cast<int>(0x80000018u)}},
        {"10 in x 3 insub x x", {3}},
        {"10 in x 3 indiv x x", {7}},
        {"10 in x 3 inmul x x", {30}},
        {"10 in x 3 inadd x x", {13}},
        {"10 in x ininc x x", {11}},
        {"10 in x indec x x", {9}},
        {"-7 in x 2 insub x x", {-3}},
        {"2147483647 in x ininc x x", {kMin}},
        {"5 in a a A", {5, 5}},         // names ignore letter case
        {"5 in a 6 in A a", {6}},       // ... and the second "in" replaces the first value
        {"5 in 3 3", {3}},              // a bare word is a number before it is a variable
        {"5 in 3 pos 3 0 =posx", {5}},  // an argument is a variable before it is a number
        {"5 in clred clred", {255}},    // a bare word is a colour before it is a variable
        {"5 in go pos go go =posx =posy", {5, 5}},
        {"0 in n do 3 ininc n loop n", {3}},
        {"do 3 =loop loop", {3, 2, 1}},
        {"do 0 =loop loop", {1}},
        {"do -5 =loop loop", {1}},
        {"do -2147483648 1 loop", {1}},
        {"do 3 1 loop", {1, 1, 1}},
        {"0 in n do 3 do 4 ininc n loop loop n", {12}},
        {"2 in k do k =loop loop", {2, 1}},
        {"2 do = =loop loop", {2, 1}},
        {"{ 1 2 } 3", {3}},
        {"{1 2} 3", {3}},  // "{1" is no comment; as unknown words "{1" and "2}" jump to themselves
        {"{ a}7 5", {7, 5}},
        {"[ p 1 ] 2 p 3", {2, 1, 3}},
        {"[ twice dup + ] 3 twice twice", {12}},
        {"[ cd dup 1 - dup if cd ] 3 cd", {3, 2, 1, 0}},
        {"0 if foo 4", {4}},
        {"[ seven 7 ] 1 if seven 0 if seven", {7}},
    };
    for (const auto& c : cases) {
        auto e = makeEnv();
        const auto r = e->run(c.script);
        EXPECT_EQ(r.message.toStdString(), "ready") << c.script;
        EXPECT_EQ(e->t.numberStack(), c.stack) << c.script;
    }
}

TEST(TurtleRun, OperandsPoppedBeforeAFailureAreGone) {
    struct Case {
        const char* script;
        const char* message;
        std::vector<int> stack;
    } cases[] = {
        {"9 7 0 /", "division by zero", {9}},
        {"9 5 +", "ready", {14}},
        {"5 +", "number stack underflow", {}},
        {"1 2 pos = go", "invalid integer in pos", {1}},
        {"4 0 insub x", "division by zero not allowed in in-", {4}},
        {"5 ininc nothing", "nothing does not exist", {5}},
        {"8 0 sqrt", "can not take sqrt of 0", {8}},
    };
    for (const auto& c : cases) {
        auto e = makeEnv();
        EXPECT_EQ(e->run(c.script).message.toStdString(), c.message) << c.script;
        EXPECT_EQ(e->t.numberStack(), c.stack) << c.script;
    }
}

TEST(TurtleRun, StackLimits) {
    {
        auto e = makeEnv();
        const std::string s = repeat("1 ", 255);
        EXPECT_EQ(e->run(s.c_str()).message, "ready");
        EXPECT_EQ(e->t.numberStack().size(), 255u);
        const auto r = e->run("2");  // kept from the run before, so this is the 256th
        EXPECT_EQ(r.message, "number stack overflow");
        EXPECT_EQ(r.cursor, 2);
        EXPECT_EQ(e->t.numberStack().size(), 255u);
        EXPECT_EQ(e->run("dup").message, "number stack overflow");
        EXPECT_EQ(e->t.numberStack().size(), 255u);
        EXPECT_EQ(e->run("=posx").message, "number stack overflow");
    }
    {
        // 127 loops hold 254 return entries; the 128th "do" fits its cursor but not its count.
        auto e = makeEnv();
        std::string s = repeat("do 1 ", 127);
        EXPECT_EQ(e->run(s.c_str()).message, "ready");
        EXPECT_EQ(e->t.returnStackDepth(), 254);
        s += "do 1";
        const auto r = e->run(s.c_str());
        EXPECT_EQ(r.message, "stack overflow");
        EXPECT_EQ(r.cursor, static_cast<int>(s.size()) + 1);
    }
    {
        auto e = makeEnv();
        EXPECT_EQ(e->run("foo").message, "ready");  // an unknown word leaves a return entry
        EXPECT_EQ(e->t.returnStackDepth(), 1);
        EXPECT_EQ(e->run("foo foo").message, "stack overflow");
        EXPECT_EQ(e->t.returnStackDepth(), 255);
        EXPECT_EQ(e->run("]").message, "stack underflow");  // emptied at the start of a run
    }
}

TEST(TurtleRun, StateBetweenRuns) {
    auto e = makeEnv();
    EXPECT_EQ(e->run("1 2").message, "ready");
    EXPECT_EQ(e->run("pos = =").message, "ready");
    EXPECT_EQ(e->t.posX(), 2);
    EXPECT_EQ(e->t.posY(), 1);
    EXPECT_TRUE(e->t.numberStack().empty());

    EXPECT_EQ(e->run("5 in v").message, "ready");
    EXPECT_EQ(e->run("v").message, "ready");  // variables die with their run
    EXPECT_TRUE(e->t.numberStack().empty());
    EXPECT_EQ(e->run("ininc v").message, "v does not exist");

    EXPECT_EQ(e->run("5").message, "ready");
    EXPECT_EQ(e->run("6 +").message, "ready");
    EXPECT_EQ(e->t.numberStack(), std::vector<int>{11});
    EXPECT_EQ(e->run("").message, "empty script");
    EXPECT_EQ(e->t.numberStack(), std::vector<int>{11});
}

// Procedures are found by a plain substring search of the whole text.
TEST(TurtleRun, ProcedureLookupIsASubstringSearch) {
    struct Case {
        const char* script;
        std::vector<int> stack;
        int returnDepth;
    } cases[] = {
        // "sq" first occurs inside "xsq", so the call continues after "xsq": 1, then "]"
        // returns to just past the call.
        {"[ xsq 1 ] [ sq 2 ] sq", {1}, 0},
        {"[ p 5 ] 3 p", {3, 5}, 0},
        {"nothing 4", {4}, 1},
    };
    for (const auto& c : cases) {
        auto e = makeEnv();
        const auto r = e->run(c.script);
        EXPECT_EQ(e->t.numberStack(), c.stack) << c.script << " -> " << r.message.toStdString();
        EXPECT_EQ(e->t.returnStackDepth(), c.returnDepth) << c.script;
    }
    // A comment that names the procedure before its definition captures the call: it lands
    // in the comment's tail, whose "}" jumps back to itself, and so on until the return
    // stack is full.
    auto e = makeEnv();
    EXPECT_EQ(e->run("{ p } [ p 5 ] 3 p").message, "stack overflow");
}

TEST(TurtleRun, LongTextsRunWithoutTheWordCache) {
    // Beyond the cached size the interpreter reads the text directly; results are the same.
    std::string s = "0 in n do 3 ininc n loop n ";
    s += std::string(1'500'000, ' ');
    s += "1 +";
    auto e = makeEnv();
    const auto r = e->run(s.c_str());
    EXPECT_EQ(r.message, "ready");
    EXPECT_EQ(r.cursor, static_cast<int>(s.size()) + 1);
    EXPECT_EQ(e->t.numberStack(), std::vector<int>{4});
}

TEST(TurtleRun, Interruption) {
    {
        auto e = makeEnv();
        e->t.setMaxSteps(10);
        const auto r = e->run("do 1000000 loop");
        EXPECT_EQ(r.message, "script interrupted");
        EXPECT_EQ(e->t.stepsRun(), 10);
    }
    {
        // Exactly as many steps as the script has words: it ends normally.
        auto e = makeEnv();
        e->t.setMaxSteps(3);
        EXPECT_EQ(e->run("1 2 3").message, "ready");
        e->t.setMaxSteps(2);
        const auto r = e->run("4 5 6");
        EXPECT_EQ(r.message, "script interrupted");
        EXPECT_EQ(r.cursor, 4);  // just past the last word that ran
        EXPECT_EQ(e->t.numberStack(), (std::vector<int>{1, 2, 3, 4, 5}));
    }
    {
        auto e = makeEnv();
        int calls = 0;
        e->t.interruptCheck = [&] { return ++calls == 3; };
        const auto r = e->run("down do 2147483647 go 1 right 1 loop");
        EXPECT_EQ(r.message, "script interrupted");
        EXPECT_EQ(calls, 3);
        EXPECT_EQ(e->t.stepsRun(), 512);
        EXPECT_GT(e->countNot(clWhite), 0);  // what was drawn stays
    }
    {
        // One polygon of two billion sides counts each side, so it stops too.
        auto e = makeEnv();
        e->t.setMaxSteps(1000);
        const auto r = e->run("pos 100 100 angle 30 polygon 2000000000 1");
        EXPECT_EQ(r.message, "script interrupted");
        EXPECT_EQ(e->t.posX(), 100);
        EXPECT_EQ(e->t.posY(), 100);
        EXPECT_EQ(e->t.heading(), 30.0);
        EXPECT_FALSE(e->t.penDown());
    }
}

TEST(TurtleRun, ARunStartedByAHandlerIsRefused) {
    auto e = makeEnv();
    QString inner;
    e->t.OnRequestFilter = [&](const QString&) { inner = e->t.RunScript("1 2 3").message; };
    EXPECT_EQ(e->run("7 filter \"x\" 8").message, "ready");
    EXPECT_EQ(inner, "script already running");
    EXPECT_EQ(e->t.numberStack(), (std::vector<int>{7, 8}));
}

TEST(TurtleRun, ReturnCursorsPastTheTextEndTheRun) {
    // "]" pops a loop count as a cursor, far beyond the end of the text.
    auto e = makeEnv();
    const auto r = e->run("do 5000 ]");
    EXPECT_EQ(r.message, "ready");
    EXPECT_EQ(r.cursor, 10);
}

// Scripts of random words (keywords, numbers, names, quotes, brackets, braces) must end,
// with a message and a cursor inside the text, and never touch memory they should not.
TEST(TurtleRun, RandomScriptsEndCleanly) {
    std::mt19937 rng(20240601);
    std::vector<std::string> vocab;
    for (const char* k : turtle::kKeywordNames) vocab.emplace_back(k);
    for (const char* w : {"0", "1", "-1", "3", "255", "2147483647", "-2147483648", "x1F", "$FFFFFFFF", "=", "n", "N",
                          "clred", "\"", "\"hi\"", "}", "\t", "\r\n", "\n", "p", "[ p", "1.5", "abc"})
        vocab.emplace_back(w);
    auto e = makeEnv();
    e->t.setMaxSteps(3000);
    for (int i = 0; i < 1500; ++i) {
        std::string s;
        const int n = 1 + static_cast<int>(rng() % 40);
        for (int k = 0; k < n; ++k) {
            s += vocab[rng() % vocab.size()];
            if (rng() % 8) s += ' ';
        }
        const auto r = e->t.RunScript(QString::fromStdString(s));
        EXPECT_FALSE(r.message.isEmpty()) << s;
        EXPECT_GE(r.cursor, 1) << s;
        EXPECT_LE(r.cursor, static_cast<int>(s.size()) + 1) << s;
        EXPECT_LE(e->t.numberStack().size(), 255u);
    }
}
