#pragma once
// The window state kept in the settings file (INI), section "Window".
#include <QString>

namespace pixoral {

struct WindowSettings {
    QString state = QStringLiteral("maximized");  // "normal" or "maximized"; anything else is ignored
    int left = 0;
    int top = 0;
    int width = 500;
    int height = 400;
    friend bool operator==(const WindowSettings&, const WindowSettings&) = default;
};

// Reads the section; missing keys, a missing file or a malformed number give the defaults.
WindowSettings readWindowSettings(const QString& iniPath);
// Rewrites the file atomically with the section replaced; other sections are kept.
bool writeWindowSettings(const QString& iniPath, const WindowSettings& s, QString* error = nullptr);

}  // namespace pixoral
