#include "canvas/Color.h"

#include <array>
#include <cctype>
#include <cstdio>

namespace pixoral {

const TColor kStandardColors[16] = {
    clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver,
    clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite,
};

namespace {

struct NamedColor {
    const char* name;
    TColor value;
};

// Order matters for colorToIdent: the first name of a value wins.
constexpr NamedColor kNamedColors[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy},   {"clPurple", clPurple}, {"clTeal", clTeal},   {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed},     {"clLime", clLime},   {"clYellow", clYellow},
    {"clBlue", clBlue},   {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clScrollBar", clScrollBar}, {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption}, {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu}, {"clWindow", clWindow}, {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText}, {"clWindowText", clWindowText}, {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder}, {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText}, {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText}, {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText}, {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight}, {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk}, {"clNone", clNone},
};

// A classic light-grey desktop: grey buttons and menus, navy captions, white windows.
constexpr std::array<TColor, kSystemColorCount> kSystemValues = {
    0xC0C0C0,  // scroll bar
    0x808000,  // desktop background (teal)
    0x800000,  // active caption (navy)
    0x808080,  // inactive caption
    0xC0C0C0,  // menu
    0xFFFFFF,  // window
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // caption text
    0xC0C0C0,  // active border
    0xC0C0C0,  // inactive border
    0x808080,  // application workspace
    0x800000,  // highlight (navy)
    0xFFFFFF,  // highlight text
    0xC0C0C0,  // button face
    0x808080,  // button shadow
    0x808080,  // grey text
    0x000000,  // button text
    0xC0C0C0,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x000000,  // 3-D dark shadow
    0xC0C0C0,  // 3-D light
    0x000000,  // info text
    0xE1FFFF,  // info background (pale yellow)
};

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

int hexDigit(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

}  // namespace

TColor colorToRGB(TColor c) {
    if (isSystemColor(c)) {
        const int index = c & 0xFF;
        return index < kSystemColorCount ? kSystemValues[static_cast<std::size_t>(index)] : clBlack;
    }
    return c & 0xFFFFFF;
}

std::optional<TColor> identToColor(std::string_view ident) {
    for (const auto& nc : kNamedColors) {
        if (equalsIgnoreCase(ident, nc.name)) return nc.value;
    }
    return std::nullopt;
}

std::optional<std::string> colorToIdent(TColor c) {
    for (const auto& nc : kNamedColors) {
        if (nc.value == c) return std::string(nc.name);
    }
    return std::nullopt;
}

std::string colorToString(TColor c) {
    if (auto ident = colorToIdent(c)) return *ident;
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(static_cast<std::uint32_t>(c)));
    return buf;
}

std::optional<TColor> stringToColor(std::string_view word) {
    if (word.empty()) return std::nullopt;
    if (auto ident = identToColor(word)) return ident;

    std::string_view hex;
    if (word[0] == '$') {
        hex = word.substr(1);
    } else if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        hex = word.substr(2);
    }
    if (!hex.empty() || word[0] == '$') {
        if (hex.empty() || hex.size() > 8) return std::nullopt;
        std::uint32_t v = 0;
        for (char ch : hex) {
            const int d = hexDigit(ch);
            if (d < 0) return std::nullopt;
            v = (v << 4) | static_cast<std::uint32_t>(d);
        }
        return static_cast<TColor>(v);
    }

    std::size_t i = 0;
    bool negative = false;
    if (word[0] == '+' || word[0] == '-') {
        negative = word[0] == '-';
        i = 1;
    }
    if (i >= word.size()) return std::nullopt;
    std::int64_t v = 0;
    for (; i < word.size(); ++i) {
        const char ch = word[i];
        if (ch < '0' || ch > '9') return std::nullopt;
        v = v * 10 + (ch - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return std::nullopt;
    return static_cast<TColor>(v);
}

}  // namespace pixoral
