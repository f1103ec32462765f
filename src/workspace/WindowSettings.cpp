#include "workspace/WindowSettings.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <utility>
#include <vector>

#include "workspace/ProgramFolder.h"

namespace pixoral {

namespace {

// A settings file is a few lines; nothing larger is read (or rewritten, since a rewrite of
// part of a file would lose the rest).
constexpr qint64 kMaxIniBytes = 1 << 20;

// A small INI model that keeps the order and text of everything it does not touch, so a
// rewrite changes only the window keys. QSettings would reformat the whole file and write it
// in place.
struct IniLine {
    QString section;  // the section this line belongs to (lower case)
    QString key;      // lower case key, empty for comments, blanks and headers
    QString value;
    QString text;     // the original line
};

std::vector<IniLine> parseIni(const QByteArray& bytes) {
    std::vector<IniLine> lines;
    QString section;
    const QStringList raw = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (int i = 0; i < raw.size(); ++i) {
        QString text = raw[i];
        if (text.endsWith(QLatin1Char('\r'))) text.chop(1);
        if (i == raw.size() - 1 && text.isEmpty()) break;  // the final newline
        IniLine l{section, {}, {}, text};
        const QString t = text.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            section = t.mid(1, t.size() - 2).trimmed().toLower();
            l.section = section;
        } else if (!t.startsWith(QLatin1Char(';')) && !t.startsWith(QLatin1Char('#'))) {
            const int eq = t.indexOf(QLatin1Char('='));
            if (eq > 0) {
                l.key = t.left(eq).trimmed().toLower();
                l.value = t.mid(eq + 1).trimmed();
            }
        }
        lines.push_back(l);
    }
    return lines;
}

const IniLine* findKey(const std::vector<IniLine>& lines, const QString& section, const QString& key) {
    for (const IniLine& l : lines)
        if (l.section == section && l.key == key) return &l;
    return nullptr;
}

int readInt(const std::vector<IniLine>& lines, const char* key, int fallback) {
    const IniLine* l = findKey(lines, QStringLiteral("window"), QString::fromLatin1(key).toLower());
    if (!l) return fallback;
    bool ok = false;
    const int v = l->value.toInt(&ok);
    return ok ? v : fallback;
}

// The file's bytes up to the limit, in a buffer of the file's size (not of the limit).
QByteArray readIniBytes(QFile& f) { return f.read(std::clamp<qint64>(f.size(), 0, kMaxIniBytes)); }

}  // namespace

WindowSettings readWindowSettings(const QString& iniPath) {
    WindowSettings s;
    QFile f(iniPath);
    if (!f.open(QIODevice::ReadOnly)) return s;
    const auto lines = parseIni(readIniBytes(f));
    if (const IniLine* l = findKey(lines, QStringLiteral("window"), QStringLiteral("state"))) s.state = l->value;
    s.left = readInt(lines, "Left", s.left);
    s.top = readInt(lines, "Top", s.top);
    s.width = readInt(lines, "Width", s.width);
    s.height = readInt(lines, "Height", s.height);
    return s;
}

bool writeIniSection(const QString& iniPath, const QString& section,
                     const std::vector<std::pair<QString, QString>>& keys, QString* error) {
    std::vector<IniLine> lines;
    QFile f(iniPath);
    if (f.open(QIODevice::ReadOnly)) {
        if (f.size() > kMaxIniBytes) {
            if (error) *error = QStringLiteral("\"%1\" is too large for a settings file; it was left as it is").arg(iniPath);
            return false;
        }
        lines = parseIni(readIniBytes(f));
    }
    f.close();

    const QString lower = section.toLower();
    QStringList out;
    bool written = false;
    auto emitSection = [&] {
        for (const auto& [k, v] : keys) out << k + QLatin1Char('=') + v;
        written = true;
    };
    for (const IniLine& l : lines) {
        if (l.section == lower) {
            if (!l.key.isEmpty()) continue;  // replaced below
            out << l.text;
            if (!written && l.text.trimmed().startsWith(QLatin1Char('['))) emitSection();
            continue;
        }
        out << l.text;
    }
    if (!written) {
        if (!out.isEmpty() && !out.last().trimmed().isEmpty()) out << QString();
        out << QLatin1Char('[') + section + QLatin1Char(']');
        emitSection();
    }
    return writeFileAtomically(iniPath, (out.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(), error);
}

bool writeWindowSettings(const QString& iniPath, const WindowSettings& s, QString* error) {
    return writeIniSection(iniPath, QStringLiteral("Window"),
                           {{QStringLiteral("State"), s.state},
                            {QStringLiteral("Left"), QString::number(s.left)},
                            {QStringLiteral("Top"), QString::number(s.top)},
                            {QStringLiteral("Width"), QString::number(s.width)},
                            {QStringLiteral("Height"), QString::number(s.height)}},
                           error);
}

QStringList readRecentFiles(const QString& iniPath) {
    QStringList files;
    QFile f(iniPath);
    if (!f.open(QIODevice::ReadOnly)) return files;
    const auto lines = parseIni(readIniBytes(f));
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        const IniLine* l = findKey(lines, QStringLiteral("recent files"), QStringLiteral("file%1").arg(i));
        if (l && !l->value.isEmpty()) files = addRecentFile(files, l->value, /*toFront=*/false);
    }
    return files;
}

bool writeRecentFiles(const QString& iniPath, const QStringList& files, QString* error) {
    std::vector<std::pair<QString, QString>> keys;
    for (int i = 0; i < files.size() && i < kMaxRecentFiles; ++i)
        keys.emplace_back(QStringLiteral("File%1").arg(i + 1), files[i]);
    return writeIniSection(iniPath, QStringLiteral("Recent Files"), keys, error);
}

QStringList addRecentFile(const QStringList& files, const QString& path, bool toFront) {
    QStringList out = files;
    // A name can stand only once; the newest use wins its place.
    for (int i = out.size() - 1; i >= 0; --i)
        if (out[i] == path) out.removeAt(i);
    if (toFront) out.prepend(path);
    else out.append(path);
    while (out.size() > kMaxRecentFiles) out.removeLast();
    return out;
}

}  // namespace pixoral
