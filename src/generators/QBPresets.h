#pragma once
// Backdrop presets of Quick Background: lines "name=f1,f2,f3,R,G,B,m" in "PixoralQB.txt"
// beside the executable, a preset file sorted by name (case-insensitive) that allows the same
// name twice. The file's rules (lenient loading, atomic rewrites) are PresetFile's; this adds
// what the seven values mean.
#include <QString>
#include <QStringList>
#include <utility>

#include "generators/QuickBackground.h"
#include "ui/PresetFile.h"

namespace pixoral::generators {

inline const QString kQBPresetsFileName = QStringLiteral("PixoralQB.txt");
inline const QString kErrorInPresets = QStringLiteral("Error in Presets");
inline const QString kNoItemSelected = QStringLiteral("No item selected!");
inline const QString kBackdropNameHasEquals = QStringLiteral("A backdrop name cannot contain \"=\"");
inline const QString kBackdropNameNotOneLine = QStringLiteral("A backdrop name must be one line of text");

// How the backdrops file is kept.
inline constexpr PresetFile::Kind kQBPresetsKind{PresetFile::Order::ByName, PresetFile::Duplicates::Allowed};

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
// The values part of that line: what an Add or Update stores.
QString formatPresetValues(const QBSettings& s);
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
    QBPresets() : file_(QString(), kQBPresetsKind) {}
    explicit QBPresets(QString path) : file_(std::move(path), kQBPresetsKind) {}

    const QString& path() const { return file_.path(); }
    void setPath(const QString& path) { file_.setPath(path); }

    // A missing file is an empty list, not an error. Blank lines are dropped; a line without
    // "=" stays in the list (the drop-down shows it whole, and picking it does nothing).
    bool load(QString* error = nullptr) { return file_.load(error); }
    bool save(QString* error = nullptr) const { return file_.save(error); }

    // The file itself, for the preset list of the window.
    PresetFile& file() { return file_; }
    const PresetFile& file() const { return file_; }

    const QStringList& lines() const { return file_.lines(); }
    QStringList names() const { return file_.names(); }
    int count() const { return file_.count(); }

    // First preset whose name equals `name`, letter case ignored; -1 when there is none.
    int find(const QString& name) const { return file_.find(name); }
    // Applies the preset at index (Ignored when out of range).
    PresetApply apply(int index, QBSettings& s) const;
    // The script's "background" request: an unknown name does nothing.
    PresetApply applyByName(const QString& name, QBSettings& s) const;

    // Name answers are trimmed; an empty one does nothing. Each change saves the file.
    PresetEdit add(const QString& name, const QBSettings& s);
    PresetEdit remove(int index);
    PresetEdit update(int index, const QString& name, const QBSettings& s);

    // For callers that fill the list themselves (tests, seeding): sorts like load does.
    void setLines(const QStringList& lines) { file_.setLines(lines); }

private:
    PresetFile file_;
};

// The script's background request without the window: applies the named preset and, when it
// is well formed, renders it into the target (which keeps its size and becomes 24-bit).
// Every result but Applied leaves the target as it was.
PresetApply renderPresetByName(const QBPresets& presets, const QString& name, QBSettings& s, Bitmap& target);

}  // namespace pixoral::generators
