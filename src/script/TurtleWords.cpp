#include "script/TurtleWords.h"

#include <QHash>
#include <QString>

namespace pixoral::turtle {

namespace {

const QHash<QString, int>& keywordTable() {
    static const QHash<QString, int> table = [] {
        QHash<QString, int> t;
        for (int i = 0; i < kKeywordCount; ++i) t.insert(QString::fromLatin1(kKeywordNames[i]), i);
        return t;
    }();
    return table;
}

struct PenModeEntry {
    const char* word;
    PenMode mode;
};
constexpr PenModeEntry kPenModes[] = {
    {"black", PenMode::pmBlack},
    {"white", PenMode::pmWhite},
    {"nop", PenMode::pmNop},
    {"not", PenMode::pmNot},
    {"copy", PenMode::pmCopy},
    {"notcopy", PenMode::pmNotCopy},
    {"mergepennot", PenMode::pmMergePenNot},
    {"maskpennot", PenMode::pmMaskPenNot},
    {"mergenotpen", PenMode::pmMergeNotPen},
    {"masknotpen", PenMode::pmMaskNotPen},
    {"merge", PenMode::pmMerge},
    {"notmerge", PenMode::pmNotMerge},
    {"mask", PenMode::pmMask},
    {"notmask", PenMode::pmNotMask},
    {"xor", PenMode::pmXor},
    {"notxor", PenMode::pmNotXor},
};

struct CopyModeEntry {
    const char* word;
    CopyMode mode;
};
// "scrpaint" is the word users have always typed for source paint; "srcpaint" is not one.
constexpr CopyModeEntry kCopyModes[] = {
    {"blackness", cmBlackness},   {"dstinvert", cmDstInvert},     {"mergecopy", cmMergeCopy},
    {"mergepaint", cmMergePaint}, {"notsrccopy", cmNotSrcCopy},   {"notsrcerase", cmNotSrcErase},
    {"patcopy", cmPatCopy},       {"patinvert", cmPatInvert},     {"patpaint", cmPatPaint},
    {"srcand", cmSrcAnd},         {"srccopy", cmSrcCopy},         {"srcerase", cmSrcErase},
    {"srcinvert", cmSrcInvert},   {"scrpaint", cmSrcPaint},       {"whiteness", cmWhiteness},
};

}  // namespace

int keywordIndex(QStringView word) {
    const auto& t = keywordTable();
    auto it = t.constFind(word.toString());
    return it == t.constEnd() ? -1 : it.value();
}

std::optional<PenMode> penModeWord(QStringView word) {
    const QString lower = word.toString().toLower();
    for (const auto& e : kPenModes)
        if (lower == QLatin1String(e.word)) return e.mode;
    return std::nullopt;
}

std::optional<CopyMode> copyModeWord(QStringView word) {
    const QString lower = word.toString().toLower();
    for (const auto& e : kCopyModes)
        if (lower == QLatin1String(e.word)) return e.mode;
    return std::nullopt;
}

}  // namespace pixoral::turtle
