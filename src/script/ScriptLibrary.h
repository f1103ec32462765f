#pragma once
// The script library and the editor's side of a run, without widgets: the library file
// "PixoralLib.tip", how a script becomes a one-line entry and back, and where the caret goes
// when a run fails.
//
// An entry is a line "name=script" with each line break of the script written as "~~". The
// file ends its lines in CR LF and is read strictly (see PresetFile): a line that is not text
// or a last line cut short is reported, kept in the file and left out of the list.
//
// The editor holds lines broken by single '\n' characters; the interpreter counts every line
// break as the two characters CR LF, and so do its cursor values.
#include <QString>
#include <optional>

#include "script/Turtle.h"
#include "ui/PresetFile.h"

namespace pixoral::script {

inline const QString kLibraryFileName = QStringLiteral("PixoralLib.tip");
inline constexpr PresetFile::Kind kLibraryKind{PresetFile::Order::ByName, PresetFile::Duplicates::Allowed,
                                               PresetFile::LineEnd::CrLf, true};

// The library file of a program folder (given with its trailing separator).
QString libraryPath(const QString& programFolder);

// The script of an entry's value, its lines joined by `lineBreak`.
QString scriptOfEntry(const QString& value, const QString& lineBreak = QStringLiteral("\n"));
// The entry value of an editor text; nothing when it could not be read back as it is (it
// holds "~~" itself, or a line before the last ends in "~").
std::optional<QString> entryOfScript(const QString& editorText);

// The text the interpreter runs for an editor text: every line break as CR LF.
QString runTextOf(const QString& editorText);

// Where the editor's caret and selection go after a failed run: the caret at the run's
// cursor taken as an offset into the run text (one past the failing word and the space after
// it, or the end of the text; 0 when the cursor was not written), the selection back to the
// start of the failing word. Positions are in the editor text.
struct RunCaret {
    int anchor = 0;
    int position = 0;
};
RunCaret runErrorCaret(const QString& editorText, const TTurtle::RunResult& result);

// Whether a run's message reports a failure the user must see.
inline bool runFailed(const TTurtle::RunResult& r) { return !r.message.isEmpty() && r.message != QLatin1String("ready"); }

}  // namespace pixoral::script
