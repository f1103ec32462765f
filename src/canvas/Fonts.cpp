#include "canvas/Fonts.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <array>
#include <initializer_list>

namespace pixoral {

namespace {

// Where a symbol face's pictures come from: Symbola covers both tables below.
const QString kSymbolScreenFace = QStringLiteral("Symbola");

struct FaceAlias {
    const char* name;
    const char* face;
};
// Each classic face and its metric-compatible stand-in.
constexpr FaceAlias kAliases[] = {
    {"Arial", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};

// A run of `count` codes from `code` showing consecutive characters from `first`.
struct Run {
    int code;
    char32_t first;
    int count = 1;
};

using Table = std::array<char32_t, 224>;  // codes 32..255; 0 where there is no picture

Table tableOf(std::initializer_list<Run> runs) {
    Table t{};
    for (const Run& r : runs)
        for (int i = 0; i < r.count; ++i) t[r.code - 32 + i] = r.first + i;
    return t;
}

// Codes not listed are the same as ASCII (digits, brackets, punctuation) where the
// face keeps them, or have no picture.
const Table& symbolTable() {
    static const Table t = tableOf({
        {0x20, U' ', 2}, {0x22, U'\u2200'}, {0x23, U'#'}, {0x24, U'\u2203'}, {0x25, U'%', 2}, {0x27, U'\u220B'},
        {0x28, U'(', 2}, {0x2A, U'\u2217'}, {0x2B, U'+', 2}, {0x2D, U'\u2212'}, {0x2E, U'.', 18},
        {0x40, U'\u2245'}, {0x41, U'\u0391', 2}, {0x43, U'\u03A7'}, {0x44, U'\u0394'}, {0x45, U'\u0395'},
        {0x46, U'\u03A6'}, {0x47, U'\u0393'}, {0x48, U'\u0397'}, {0x49, U'\u0399'}, {0x4A, U'\u03D1'},
        {0x4B, U'\u039A', 4}, {0x4F, U'\u039F'}, {0x50, U'\u03A0'}, {0x51, U'\u0398'}, {0x52, U'\u03A1'},
        {0x53, U'\u03A3', 3}, {0x56, U'\u03C2'}, {0x57, U'\u03A9'}, {0x58, U'\u039E'}, {0x59, U'\u03A8'},
        {0x5A, U'\u0396'}, {0x5B, U'['}, {0x5C, U'\u2234'}, {0x5D, U']'}, {0x5E, U'\u22A5'}, {0x5F, U'_'},
        {0x60, U'\u203E'}, {0x61, U'\u03B1', 2}, {0x63, U'\u03C7'}, {0x64, U'\u03B4', 2}, {0x66, U'\u03C6'},
        {0x67, U'\u03B3'}, {0x68, U'\u03B7'}, {0x69, U'\u03B9'}, {0x6A, U'\u03D5'}, {0x6B, U'\u03BA', 4},
        {0x6F, U'\u03BF'}, {0x70, U'\u03C0'}, {0x71, U'\u03B8'}, {0x72, U'\u03C1'}, {0x73, U'\u03C3', 3},
        {0x76, U'\u03D6'}, {0x77, U'\u03C9'}, {0x78, U'\u03BE'}, {0x79, U'\u03C8'}, {0x7A, U'\u03B6'},
        {0x7B, U'{', 3}, {0x7E, U'\u223C'},
        {0xA0, U'\u20AC'}, {0xA1, U'\u03D2'}, {0xA2, U'\u2032'}, {0xA3, U'\u2264'}, {0xA4, U'\u2044'},
        {0xA5, U'\u221E'}, {0xA6, U'\u0192'}, {0xA7, U'\u2663'}, {0xA8, U'\u2666'}, {0xA9, U'\u2665'},
        {0xAA, U'\u2660'}, {0xAB, U'\u2194'}, {0xAC, U'\u2190', 4}, {0xB0, U'\u00B0'}, {0xB1, U'\u00B1'},
        {0xB2, U'\u2033'}, {0xB3, U'\u2265'}, {0xB4, U'\u00D7'}, {0xB5, U'\u221D'}, {0xB6, U'\u2202'},
        {0xB7, U'\u2022'}, {0xB8, U'\u00F7'}, {0xB9, U'\u2260'}, {0xBA, U'\u2261'}, {0xBB, U'\u2248'},
        {0xBC, U'\u2026'}, {0xBD, U'\u23D0'}, {0xBE, U'\u23AF'}, {0xBF, U'\u21B5'}, {0xC0, U'\u2135'},
        {0xC1, U'\u2111'}, {0xC2, U'\u211C'}, {0xC3, U'\u2118'}, {0xC4, U'\u2297'}, {0xC5, U'\u2295'},
        {0xC6, U'\u2205'}, {0xC7, U'\u2229'}, {0xC8, U'\u222A'}, {0xC9, U'\u2283'}, {0xCA, U'\u2287'},
        {0xCB, U'\u2284'}, {0xCC, U'\u2282'}, {0xCD, U'\u2286'}, {0xCE, U'\u2208'}, {0xCF, U'\u2209'},
        {0xD0, U'\u2220'}, {0xD1, U'\u2207'}, {0xD2, U'\u00AE'}, {0xD3, U'\u00A9'}, {0xD4, U'\u2122'},
        {0xD5, U'\u220F'}, {0xD6, U'\u221A'}, {0xD7, U'\u22C5'}, {0xD8, U'\u00AC'}, {0xD9, U'\u2227'},
        {0xDA, U'\u2228'}, {0xDB, U'\u21D4'}, {0xDC, U'\u21D0', 4}, {0xE0, U'\u25CA'}, {0xE1, U'\u2329'},
        {0xE2, U'\u00AE'}, {0xE3, U'\u00A9'}, {0xE4, U'\u2122'}, {0xE5, U'\u2211'}, {0xE6, U'\u239B', 3},
        {0xE9, U'\u23A1', 3}, {0xEC, U'\u23A7', 4}, {0xF1, U'\u232A'}, {0xF2, U'\u222B'}, {0xF3, U'\u2320'},
        {0xF4, U'\u23AE'}, {0xF5, U'\u2321'}, {0xF6, U'\u239E', 3}, {0xF9, U'\u23A4', 3}, {0xFC, U'\u23AB', 3},
    });
    return t;
}

const Table& wingdingsTable() {
    static const Table t = tableOf({
        {0x20, U' '}, {0x21, U'\U0001F589'}, {0x22, U'\u2702'}, {0x23, U'\u2701'}, {0x24, U'\U0001F453'},
        {0x25, U'\U0001F56D', 3}, {0x28, U'\U0001F57F'}, {0x29, U'\u2706'}, {0x2A, U'\U0001F582', 2},
        {0x2C, U'\U0001F4EA', 4}, {0x30, U'\U0001F5C0', 2}, {0x32, U'\U0001F5CE', 3}, {0x35, U'\U0001F5C4'},
        {0x36, U'\u231B'}, {0x37, U'\U0001F5AE'}, {0x38, U'\U0001F5B0'}, {0x39, U'\U0001F5B2', 3},
        {0x3C, U'\U0001F5AB', 2}, {0x3E, U'\u2707'}, {0x3F, U'\u270D'}, {0x40, U'\U0001F58E'}, {0x41, U'\u270C'},
        {0x42, U'\U0001F44C', 3}, {0x45, U'\u261C'}, {0x46, U'\u261E'}, {0x47, U'\u261D'}, {0x48, U'\u261F'},
        {0x49, U'\U0001F590'}, {0x4A, U'\u263A'}, {0x4B, U'\U0001F610'}, {0x4C, U'\u2639'}, {0x4D, U'\U0001F4A3'},
        {0x4E, U'\u2620'}, {0x4F, U'\U0001F3F3'}, {0x50, U'\U0001F3F1'}, {0x51, U'\u2708'}, {0x52, U'\u263C'},
        {0x53, U'\U0001F4A7'}, {0x54, U'\u2744'}, {0x55, U'\U0001F546'}, {0x56, U'\u271E'}, {0x57, U'\U0001F548'},
        {0x58, U'\u2720', 2}, {0x5A, U'\u262A'}, {0x5B, U'\u262F'}, {0x5C, U'\u0950'}, {0x5D, U'\u2638'},
        {0x5E, U'\u2648', 12}, {0x6A, U'\U0001F670'}, {0x6B, U'\U0001F675'}, {0x6C, U'\u25CF'}, {0x6D, U'\U0001F53E'},
        {0x6E, U'\u25A0', 2}, {0x70, U'\U0001F790'}, {0x71, U'\u2751', 2}, {0x73, U'\u2B27'}, {0x74, U'\u29EB'},
        {0x75, U'\u25C6'}, {0x76, U'\u2756'}, {0x77, U'\u2B25'}, {0x78, U'\u2327'}, {0x79, U'\u2BB9'},
        {0x7A, U'\u2318'}, {0x7B, U'\U0001F3F5', 2}, {0x7D, U'\U0001F676', 2},
        {0x80, U'\u24EA'}, {0x81, U'\u2460', 10}, {0x8B, U'\u24FF'}, {0x8C, U'\u2776', 10}, {0x96, U'\U0001F662'},
        {0x97, U'\U0001F660', 2}, {0x99, U'\U0001F663'}, {0x9A, U'\U0001F65E'}, {0x9B, U'\U0001F65C', 2},
        {0x9D, U'\U0001F65F'}, {0x9E, U'\u00B7'}, {0x9F, U'\u2022'}, {0xA0, U'\u25AA'}, {0xA1, U'\u26AA'},
        {0xA2, U'\U0001F786'}, {0xA3, U'\U0001F788'}, {0xA4, U'\u25C9'}, {0xA5, U'\u25CE'}, {0xA6, U'\U0001F53F'},
        {0xA7, U'\u25AA'}, {0xA8, U'\u25FB'}, {0xA9, U'\U0001F7C2'}, {0xAA, U'\u2726'}, {0xAB, U'\u2605'},
        {0xAC, U'\u2736'}, {0xAD, U'\u2734'}, {0xAE, U'\u2739'}, {0xAF, U'\u2735'}, {0xB0, U'\u2BD0'},
        {0xB1, U'\u2316'}, {0xB2, U'\u27E1'}, {0xB3, U'\u2311'}, {0xB4, U'\u2BD1'}, {0xB5, U'\u272A'},
        {0xB6, U'\u2730'}, {0xB7, U'\U0001F550', 12}, {0xC3, U'\u2BB0', 8}, {0xCB, U'\U0001F66A', 2},
        {0xCD, U'\U0001F655'}, {0xCE, U'\U0001F654'}, {0xCF, U'\U0001F657'}, {0xD0, U'\U0001F656'},
        {0xD1, U'\U0001F650', 4}, {0xD5, U'\u232B'}, {0xD6, U'\u2326'}, {0xD7, U'\u2B98'}, {0xD8, U'\u2B9A'},
        {0xD9, U'\u2B99'}, {0xDA, U'\u2B9B'}, {0xDB, U'\u2B88'}, {0xDC, U'\u2B8A'}, {0xDD, U'\u2B89'},
        {0xDE, U'\u2B8B'}, {0xDF, U'\U0001F868'}, {0xE0, U'\U0001F86A'}, {0xE1, U'\U0001F869'},
        {0xE2, U'\U0001F86B', 3}, {0xE5, U'\U0001F86F'}, {0xE6, U'\U0001F86E'}, {0xE7, U'\U0001F878'},
        {0xE8, U'\U0001F87A'}, {0xE9, U'\U0001F879'}, {0xEA, U'\U0001F87B', 3}, {0xED, U'\U0001F87F'},
        {0xEE, U'\U0001F87E'}, {0xEF, U'\u21E6'}, {0xF0, U'\u21E8'}, {0xF1, U'\u21E7'}, {0xF2, U'\u21E9'},
        {0xF3, U'\u2B04'}, {0xF4, U'\u21F3'}, {0xF5, U'\u2B00', 2}, {0xF7, U'\u2B03'}, {0xF8, U'\u2B02'},
        {0xF9, U'\U0001F8AC', 2}, {0xFB, U'\U0001F5F6'}, {0xFC, U'\u2714'}, {0xFD, U'\U0001F5F7'},
        {0xFE, U'\U0001F5F9'},
    });
    return t;
}

const Table* tableFor(const QString& name) {
    if (name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0) return &symbolTable();
    if (name.compare(QLatin1String("Wingdings"), Qt::CaseInsensitive) == 0) return &wingdingsTable();
    return nullptr;
}

}  // namespace

QString screenFace(const QString& name) {
    if (tableFor(name)) return kSymbolScreenFace;
    for (const FaceAlias& a : kAliases)
        if (name.compare(QLatin1String(a.name), Qt::CaseInsensitive) == 0) return QString::fromLatin1(a.face);
    return name;
}

bool isSymbolFace(const QString& name) { return tableFor(name) != nullptr; }

char32_t symbolFaceChar(const QString& name, int code) {
    const Table* t = tableFor(name);
    if (!t || code < 32 || code > 255) return 0;
    return (*t)[code - 32];
}

QString screenText(const QString& name, const QString& text) {
    const Table* t = tableFor(name);
    if (!t) return text;
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const int code = c.unicode();
        const char32_t u = code >= 32 && code <= 255 ? (*t)[code - 32] : 0;
        if (u) out += QString::fromUcs4(&u, 1);
        else out += c;
    }
    return out;
}

QStringList screenFontNames() {
    QStringList names;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) names = QFontDatabase::families();
    for (const char* s : {"Symbol", "Wingdings"})
        if (!names.contains(QLatin1String(s), Qt::CaseInsensitive)) names << QString::fromLatin1(s);
    names.sort(Qt::CaseInsensitive);
    return names;
}

}  // namespace pixoral
