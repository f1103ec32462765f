#pragma once
// Backdrop presets of Quick Background: lines "name=f1,f2,f3,R,G,B,m" in "PixoralQB.txt"
// beside the executable, kept sorted by name (case-insensitive). The list is the only copy
// in memory; every change rewrites the whole file atomically.
#include <QString>
#include <QStringList>
#include <utility>

#include "generators/QuickBackground.h"

namespace pixoral::generators {

inline const QString kQBPresetsFileName = QStringLiteral("PixoralQB.txt");
inline const QString kErrorInPresets = QStringLiteral("Error in Presets");
inline const QString kNoItemSelected = QStringLiteral("No item selected!");

// The presets file inside a program folder (with or without its trailing separator).
QString qbPresetsPath(const QString& programFolder);

enum class PresetApply {
    Applied,   // the settings hold the seven values; render now
    Ignored,   // no "=" in the line, or no preset of that name: nothing happened, no message
    Error,     // report kErrorInPresets and do not render
    NotRendered,  // well formed, but the machine could not hold the new image: nothing drawn
};

// Takes the values after the first "=" into s, in field order. On an error the fields taken
// before the bad one keep their new values; a bad function index is not kept. Offsets keep
// their low 8 bits, the factor is brought into 16..255.
PresetApply applyPresetLine(const QString& line, QBSettings& s);
// The part before the first "=" (what the drop-down shows); the whole line when there is none.
QString presetName(const QString& line);
QString formatPresetLine(const QString& name, const QBSettings& s);
// A name can be stored when it is not empty and holds no "=" and no line break.
bool isValidPresetName(const QString& name);

// The outcome of an edit: whether the list changed, where the entry now is, and a message
// for the user when something went wrong (an unusable name, a file that could not be written;
// in the latter case the list keeps the change).
struct PresetEdit {
    bool changed = false;
    int index = -1;
    QString message;
};

class QBPresets {
public:
    QBPresets() = default;
    explicit QBPresets(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    void setPath(const QString& path) { path_ = path; }

    // A missing file is an empty list, not an error. Blank lines are dropped.
    bool load(QString* error = nullptr);
    bool save(QString* error = nullptr) const;

    const QStringList& lines() const { return lines_; }
    QStringList names() const;
    int count() const { return static_cast<int>(lines_.size()); }

    // First preset whose name equals `name`, letter case ignored; -1 when there is none.
    int find(const QString& name) const;
    // Applies the preset at index (Ignored when out of range).
    PresetApply apply(int index, QBSettings& s) const;
    // The script's "background" request: an unknown name does nothing.
    PresetApply applyByName(const QString& name, QBSettings& s) const;

    // Name answers are trimmed; an empty one does nothing. Each change saves the file.
    PresetEdit add(const QString& name, const QBSettings& s);
    PresetEdit remove(int index);
    PresetEdit update(int index, const QString& name, const QBSettings& s);

    // For callers that fill the list themselves (tests, seeding): sorts like load does.
    void setLines(const QStringList& lines);

private:
    int insertSorted(const QString& line);
    PresetEdit saved(PresetEdit e) const;

    QString path_;
    QStringList lines_;
};

// The script's background request without the window: applies the named preset and, when it
// is well formed, renders it into the target (which keeps its size and becomes 24-bit).
// Every result but Applied leaves the target as it was.
PresetApply renderPresetByName(const QBPresets& presets, const QString& name, QBSettings& s, Bitmap& target);

}  // namespace pixoral::generators
