#pragma once
// Font faces on this machine. Captions, gadgets and saved settings name the classic faces
// ("Arial", "Times New Roman", "Courier New", "MS Sans Serif"); they are drawn with the
// metric-compatible faces a Linux desktop has, so every caption takes the room it was laid
// out for. The symbol faces ("Symbol", "Wingdings") keep pictures at the character codes
// 32..255; text in them is drawn as the matching Unicode symbols from a symbol-rich face.
#include <QString>
#include <QStringList>

namespace pixoral {

// The face `name` is drawn with (the name itself when it needs no stand-in).
QString screenFace(const QString& name);

// True for a face whose codes 32..255 stand for pictures rather than letters.
bool isSymbolFace(const QString& name);
// The Unicode character that code (32..255) of a symbol face shows; 0 when the face has
// no picture there (or `name` is no symbol face).
char32_t symbolFaceChar(const QString& name, int code);
// `text` as the characters to draw: in a symbol face each code 32..255 becomes its
// picture (codes without one stay as they are); other faces leave the text alone.
QString screenText(const QString& name, const QString& text);

// The font names a user can choose: the families installed plus the symbol faces,
// sorted, letter case ignored. Needs a QGuiApplication.
QStringList screenFontNames();

}  // namespace pixoral
