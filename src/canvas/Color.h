#pragma once
// Colours as the program stores them: 0x00BBGGRR, red in the low byte.
// System colours are 0x80000000 + index and resolve to fixed values when drawn.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pixoral {

using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
// System colour indexes 0..24 in the classic order (clScrollBar .. clInfoBk).
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr int kSystemColorCount = 25;

constexpr TColor rgb(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int getRValue(TColor c) { return c & 0xFF; }
constexpr int getGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int getBValue(TColor c) { return (c >> 16) & 0xFF; }
constexpr bool isSystemColor(TColor c) { return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0x80000000u; }

// The fixed value a system colour draws as (a classic light-grey desktop scheme); plain
// colours come back with the top byte cleared. Check for clNone before resolving.
TColor colorToRGB(TColor c);

// "clRed" -> 0x0000FF; system colour names and "clNone" too; letter case ignored.
std::optional<TColor> identToColor(std::string_view ident);
// The identifier of a colour that has one ("clRed"), else nothing.
std::optional<std::string> colorToIdent(TColor c);
// An identifier when there is one, else "$" and eight hex digits ("$00A6CAF0").
std::string colorToString(TColor c);
// A colour word: an identifier, a decimal integer (optional sign, 32-bit range), or "$"
// (also "0x") followed by one to eight hexadecimal digits; eight digits may set the top bit.
std::optional<TColor> stringToColor(std::string_view word);

// The sixteen colours of the default palette (indexes 0..15): black, maroon, green, olive,
// navy, purple, teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua, white.
extern const TColor kStandardColors[16];

}  // namespace pixoral
