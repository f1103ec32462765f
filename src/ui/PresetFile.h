#pragma once
// A preset or library file: one entry a line, "name=values", in the program folder. Quick
// Background's backdrops, the script library and the other preset windows keep their lists in
// files of this kind, so the rules for reading, editing and rewriting them live here once.
//
// The contract:
// - The list in memory is the only copy; every change rewrites the whole file at once through
//   QSaveFile, so a crash or a full disk never leaves half a file behind.
// - A file kind decides the order: sorted by name (letter case ignored, entries of the same
//   name in the order they came) or in the order the entries were made.
// - Loading is lenient: a missing file is an empty list, blank lines are dropped. A line with
//   no "=" or an empty name is not an entry, but it stays in the list as it was and is written
//   back with the rest, so nothing the user wrote by hand is lost by a later change; the load
//   lists those lines in problems() and the caller decides whether to say so.
// - A strict kind reads only text: a line whose bytes are not UTF-8 or hold control
//   characters, and a last line without its line end (a file cut short), are problems too.
//   They stay out of the list but are kept byte for byte and written back after it, the cut
//   line last and still without its end, so a later change loses nothing of them either.
// - Loading never writes: a file with problems stays as it is until the user changes the list.
// - The name is the text before the first "=", the values everything after it, untouched; a
//   kind with several fields separates them by "~~" (splitFields / joinFields).
// - Names are compared with letter case ignored: find() returns the first match.
// - An edit that cannot be written keeps the change in the list (the user loses nothing for
//   this session, and the next change writes it all) and says why in writeError.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace pixoral {

class PresetFile {
public:
    enum class Order {
        ByName,     // what a drop-down of names wants: found by eye
        AsEntered,  // where the order is the user's (a library in the order it was built)
    };
    enum class Duplicates {
        Allowed,  // a lookup takes the first; the older entry wins
        Refused,  // add and update answer Duplicate and change nothing (a file edited by
                  // hand may still hold some: they load, and find() takes the first)
    };
    enum class LineEnd { Lf, CrLf };
    struct Kind {
        Order order = Order::ByName;
        Duplicates duplicates = Duplicates::Allowed;
        LineEnd lineEnd = LineEnd::Lf;  // what each written line ends with
        bool strict = false;            // see the contract above
    };

    // What an edit did. Everything but Done leaves the list and the file as they were; the
    // caller turns the outcome into its own message (or none, for EmptyName).
    enum class Outcome {
        Done,
        EmptyName,        // a blank answer: the user changed their mind
        NameHasEquals,    // the first "=" ends the name, so a name cannot hold one
        NameNotOneLine,   // a line break would split the entry
        ValueNotOneLine,
        Duplicate,        // another entry has this name (kinds that refuse duplicates)
        NoSuchEntry,      // the index is not in the list
    };
    struct Edit {
        Outcome outcome = Outcome::NoSuchEntry;
        int index = -1;      // where the entry is now (a refused update: where it stayed);
                             // -1 after a removal or a refused add
        QString writeError;  // Done, but the file could not be written: the message for the user
        bool changed() const { return outcome == Outcome::Done; }
    };

    // A line of the file that is not an entry (it is kept; see above).
    struct LineProblem {
        int lineNumber = 0;  // 1-based, counting blank lines, as an editor shows it
        QString text;
        bool noEquals = false;  // else: the name before the "=" is empty or blank
        enum class Kept {
            InList,      // not an entry, listed as it stands
            NotText,     // strict kinds: kept apart byte for byte
            NoLineEnd,   // strict kinds: the last line, cut short; kept apart
        } kept = Kept::InList;
    };

    PresetFile() = default;
    explicit PresetFile(QString path) : PresetFile(std::move(path), Kind{}) {}
    PresetFile(QString path, Kind kind) : path_(std::move(path)), kind_(kind) {}

    const QString& path() const { return path_; }
    void setPath(const QString& path);
    const Kind& kind() const { return kind_; }

    // False, with a message and an empty list, when the file exists but cannot be read
    // (unreadable, a folder, or far too large to be a preset file). After such a failure edits
    // still change the list but are not written, since the rewrite would replace what could
    // not be read; a later successful load or another path lifts that.
    bool load(QString* error = nullptr);
    // Writes the list as it stands. False with a message when it could not; the old file is
    // then untouched.
    bool save(QString* error = nullptr) const;

    // The lines of the last load that are not entries, in file order.
    const QList<LineProblem>& problems() const { return problems_; }
    // All problems in one message for the user; empty when there are none.
    QString problemsMessage() const;

    // Every line, entries and not, in the kind's order.
    const QStringList& lines() const { return lines_; }
    int count() const { return static_cast<int>(lines_.size()); }
    QString name(int index) const { return nameOf(lines_.value(index)); }
    QString value(int index) const { return valueOf(lines_.value(index)); }
    bool isEntry(int index) const { return index >= 0 && index < count() && isEntryLine(lines_[index]); }
    QStringList names() const;

    // The first line whose name equals `name`, letter case ignored; -1 when there is none.
    int find(const QString& name) const;
    // Whether an entry other than `except` has this name (letter case ignored), for a caller
    // that wants to ask before an edit.
    bool isDuplicate(const QString& name, int except = -1) const;

    // Names are trimmed first; values are kept as given. Each change rewrites the file.
    Edit add(const QString& name, const QString& values);
    Edit remove(int index);
    // Replaces the entry's name and values; in a sorted kind a new name may move it.
    Edit update(int index, const QString& name, const QString& values);

    // For callers that fill the list themselves (tests, seeding): ordered as a load orders
    // them; nothing is written and problems() is not touched.
    void setLines(const QStringList& lines);

    // The part before the first "=", the whole line when there is none.
    static QString nameOf(const QString& line);
    // The part after the first "=", as it stands; empty when there is none.
    static QString valueOf(const QString& line);
    static bool isEntryLine(const QString& line);
    // Done when the (already trimmed) name can be stored, else what is wrong with it.
    static Outcome checkName(const QString& name);

    // Fields of a value separated by "~~". Splitting is left to right, so a field may start
    // with "~" but no field but the last may end with one.
    static QStringList splitFields(const QString& value);
    // Nothing when a field holds "~~" or a line break, or one before the last ends with "~":
    // those could not be read back as they were.
    static std::optional<QString> joinFields(const QStringList& fields);

private:
    void loadStrict(const QByteArray& bytes);
    int insert(const QString& line);
    Edit written(Edit e) const;

    QString path_;
    Kind kind_;
    QStringList lines_;
    QList<LineProblem> problems_;
    QList<QByteArray> keptApart_;  // strict kinds: the lines that are not text, as read
    bool keptCutLine_ = false;     // the last of keptApart_ had no line end
    bool readFailed_ = false;
};

}  // namespace pixoral
