#pragma once
// The window state kept in the settings file (INI), section "Window".
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

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

// Rewrites one section of the INI file atomically, keeping every other line as it was.
bool writeIniSection(const QString& iniPath, const QString& section,
                     const std::vector<std::pair<QString, QString>>& keys, QString* error = nullptr);

// File > Open Recent: the last files opened or saved, newest first, in section
// "Recent Files" (File1 .. File8).
inline constexpr int kMaxRecentFiles = 8;
QStringList readRecentFiles(const QString& iniPath);
bool writeRecentFiles(const QString& iniPath, const QStringList& files, QString* error = nullptr);
// The list with path added (at the front, or at the end while reading), each name once,
// at most kMaxRecentFiles long.
QStringList addRecentFile(const QStringList& files, const QString& path, bool toFront = true);

}  // namespace pixoral
