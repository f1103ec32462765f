#include "workspace/WindowSettings.h"

#include <QFile>
#include <QStringList>
#include <vector>

#include "workspace/ProgramFolder.h"

namespace pixoral {

namespace {

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

}  // namespace

WindowSettings readWindowSettings(const QString& iniPath) {
    WindowSettings s;
    QFile f(iniPath);
    if (!f.open(QIODevice::ReadOnly)) return s;
    // A settings file is a few lines; refuse to slurp something huge by mistake.
    const QByteArray bytes = f.read(1 << 20);
    const auto lines = parseIni(bytes);
    if (const IniLine* l = findKey(lines, QStringLiteral("window"), QStringLiteral("state"))) s.state = l->value;
    s.left = readInt(lines, "Left", s.left);
    s.top = readInt(lines, "Top", s.top);
    s.width = readInt(lines, "Width", s.width);
    s.height = readInt(lines, "Height", s.height);
    return s;
}

bool writeWindowSettings(const QString& iniPath, const WindowSettings& s, QString* error) {
    std::vector<IniLine> lines;
    QFile f(iniPath);
    if (f.open(QIODevice::ReadOnly)) lines = parseIni(f.read(1 << 20));
    f.close();

    const std::pair<QString, QString> keys[] = {{QStringLiteral("State"), s.state},
                                                {QStringLiteral("Left"), QString::number(s.left)},
                                                {QStringLiteral("Top"), QString::number(s.top)},
                                                {QStringLiteral("Width"), QString::number(s.width)},
                                                {QStringLiteral("Height"), QString::number(s.height)}};
    QStringList out;
    bool written = false;
    auto emitSection = [&] {
        for (const auto& [k, v] : keys) out << k + QLatin1Char('=') + v;
        written = true;
    };
    for (const IniLine& l : lines) {
        if (l.section == QLatin1String("window")) {
            if (!l.key.isEmpty()) continue;  // replaced below
            out << l.text;
            if (!written && l.text.trimmed().startsWith(QLatin1Char('['))) emitSection();
            continue;
        }
        out << l.text;
    }
    if (!written) {
        if (!out.isEmpty() && !out.last().trimmed().isEmpty()) out << QString();
        out << QStringLiteral("[Window]");
        emitSection();
    }
    return writeFileAtomically(iniPath, (out.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(), error);
}

}  // namespace pixoral
