#include "ui/PresetFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace pixoral {

namespace {

// A preset file is a few kilobytes; anything this large is not one, and reading it whole
// would only tie up memory.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

const QLatin1StringView kFieldSeparator("~~");

bool nameLess(const QString& a, const QString& b) {
    return QString::compare(PresetFile::nameOf(a), PresetFile::nameOf(b), Qt::CaseInsensitive) < 0;
}

bool hasLineBreak(const QString& s) { return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r')); }

}  // namespace

QString PresetFile::nameOf(const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? line : line.left(eq);
}

QString PresetFile::valueOf(const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.mid(eq + 1);
}

bool PresetFile::isEntryLine(const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq > 0 && !QStringView(line).left(eq).trimmed().isEmpty();
}

PresetFile::Outcome PresetFile::checkName(const QString& name) {
    if (name.trimmed().isEmpty()) return Outcome::EmptyName;
    if (name.contains(QLatin1Char('='))) return Outcome::NameHasEquals;
    if (hasLineBreak(name)) return Outcome::NameNotOneLine;
    return Outcome::Done;
}

QStringList PresetFile::splitFields(const QString& value) { return value.split(kFieldSeparator); }

std::optional<QString> PresetFile::joinFields(const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString& f = fields[i];
        if (f.contains(kFieldSeparator) || hasLineBreak(f)) return std::nullopt;
        if (i + 1 < fields.size() && f.endsWith(QLatin1Char('~'))) return std::nullopt;
    }
    return fields.join(kFieldSeparator);
}

void PresetFile::setPath(const QString& path) {
    path_ = path;
    readFailed_ = false;
    keptApart_.clear();
    keptCutLine_ = false;
}

bool PresetFile::load(QString* error) {
    lines_.clear();
    problems_.clear();
    keptApart_.clear();
    keptCutLine_ = false;
    readFailed_ = false;
    QFile f(path_);
    if (!f.exists()) return true;
    auto failed = [&](const QString& why) {
        readFailed_ = true;
        if (error) *error = QStringLiteral("Cannot read %1: %2").arg(path_, why);
        return false;
    };
    if (!f.open(QIODevice::ReadOnly)) return failed(f.errorString());
    if (f.size() > kMaxFileBytes) return failed(QStringLiteral("the file is too large"));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) return failed(f.errorString());
    if (kind_.strict) {
        loadStrict(bytes);
        return true;
    }
    // UTF-8 as this program writes it; an older file in a single-byte encoding still loads.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);

    QStringList lines;
    int number = 0;
    for (QString line : text.split(QLatin1Char('\n'))) {
        ++number;
        while (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        if (!isEntryLine(line)) problems_.append({number, line, !line.contains(QLatin1Char('='))});
        lines.append(line);
    }
    setLines(lines);
    return true;
}

void PresetFile::loadStrict(const QByteArray& bytes) {
    QStringList lines;
    const QList<QByteArray> raw = bytes.split('\n');
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        QByteArray line = raw[i];
        const bool last = i + 1 == raw.size();  // after the last line end: a line only if cut short
        while (line.endsWith('\r')) line.chop(1);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(line);
        const bool isText = !utf8.hasError() && std::none_of(text.begin(), text.end(), [](QChar c) {
            return (c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7F;
        });
        if (isText && text.trimmed().isEmpty()) continue;
        if (!isText || last) {
            const auto why = isText ? LineProblem::Kept::NoLineEnd : LineProblem::Kept::NotText;
            problems_.append({number, isText ? text : QString::fromLatin1(line), false, why});
            keptApart_.append(raw[i]);
            keptCutLine_ = last;
            continue;
        }
        if (!isEntryLine(text)) problems_.append({number, text, !text.contains(QLatin1Char('='))});
        lines.append(text);
    }
    setLines(lines);
}

QString PresetFile::problemsMessage() const {
    if (problems_.isEmpty()) return {};
    QStringList out;
    out << QStringLiteral("%1 has lines that are not \"name=values\"; they are kept as they are:").arg(path_);
    for (const LineProblem& p : problems_) {
        QString why;
        switch (p.kept) {
            case LineProblem::Kept::InList: why = p.noEquals ? QStringLiteral("no \"=\"") : QStringLiteral("no name"); break;
            case LineProblem::Kept::NotText: why = QStringLiteral("not text"); break;
            case LineProblem::Kept::NoLineEnd: why = QStringLiteral("no line end, the file may be cut short"); break;
        }
        // A line of binary bytes would make the message unreadable; its number says enough.
        const QString shown = p.kept == LineProblem::Kept::NotText ? QString() : QStringLiteral(": ") + p.text.left(80);
        out << QStringLiteral("line %1 (%2)%3").arg(p.lineNumber).arg(why, shown);
    }
    return out.join(QLatin1Char('\n'));
}

bool PresetFile::save(QString* error) const {
    auto failed = [&](const QString& why) {
        if (error) *error = QStringLiteral("Cannot write %1: %2").arg(path_, why);
        return false;
    };
    if (readFailed_) return failed(QStringLiteral("it could not be read, and writing it would lose what it holds"));
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly)) return failed(f.errorString());
    const QByteArray end = kind_.lineEnd == LineEnd::CrLf ? QByteArray("\r\n") : QByteArray("\n");
    QByteArray out;
    for (const QString& line : lines_) out += line.toUtf8() + end;
    for (qsizetype i = 0; i < keptApart_.size(); ++i) {
        out += keptApart_[i];
        if (!(keptCutLine_ && i + 1 == keptApart_.size())) out += '\n';  // the line end it was read with
    }
    if (f.write(out) != out.size() || !f.commit()) return failed(f.errorString());
    return true;
}

void PresetFile::setLines(const QStringList& lines) {
    lines_ = lines;
    if (kind_.order == Order::ByName) std::stable_sort(lines_.begin(), lines_.end(), nameLess);
}

QStringList PresetFile::names() const {
    QStringList out;
    out.reserve(lines_.size());
    for (const QString& line : lines_) out.append(nameOf(line));
    return out;
}

int PresetFile::find(const QString& name) const {
    for (int i = 0; i < count(); ++i)
        if (isEntryLine(lines_[i]) && QString::compare(nameOf(lines_[i]), name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

bool PresetFile::isDuplicate(const QString& name, int except) const {
    for (int i = 0; i < count(); ++i)
        if (i != except && isEntryLine(lines_[i]) &&
            QString::compare(nameOf(lines_[i]), name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

int PresetFile::insert(const QString& line) {
    if (kind_.order == Order::AsEntered) {
        lines_.append(line);
        return count() - 1;
    }
    // After any entries of the same name, so the first match of a lookup stays the older one.
    const auto it = std::upper_bound(lines_.begin(), lines_.end(), line, nameLess);
    const int index = static_cast<int>(it - lines_.begin());
    lines_.insert(index, line);
    return index;
}

PresetFile::Edit PresetFile::written(Edit e) const {
    save(&e.writeError);
    return e;
}

PresetFile::Edit PresetFile::add(const QString& name, const QString& values) {
    const QString n = name.trimmed();
    if (const Outcome check = checkName(n); check != Outcome::Done) return {check, -1, {}};
    if (hasLineBreak(values)) return {Outcome::ValueNotOneLine, -1, {}};
    if (kind_.duplicates == Duplicates::Refused && isDuplicate(n)) return {Outcome::Duplicate, -1, {}};
    return written({Outcome::Done, insert(n + QLatin1Char('=') + values), {}});
}

PresetFile::Edit PresetFile::remove(int index) {
    if (index < 0 || index >= count()) return {};
    lines_.removeAt(index);
    return written({Outcome::Done, -1, {}});
}

PresetFile::Edit PresetFile::update(int index, const QString& name, const QString& values) {
    if (index < 0 || index >= count()) return {};
    const QString n = name.trimmed();
    if (const Outcome check = checkName(n); check != Outcome::Done) return {check, index, {}};
    if (hasLineBreak(values)) return {Outcome::ValueNotOneLine, index, {}};
    if (kind_.duplicates == Duplicates::Refused && isDuplicate(n, index)) return {Outcome::Duplicate, index, {}};
    const QString line = n + QLatin1Char('=') + values;
    if (kind_.order == Order::AsEntered) {
        lines_[index] = line;
        return written({Outcome::Done, index, {}});
    }
    lines_.removeAt(index);
    return written({Outcome::Done, insert(line), {}});
}

}  // namespace pixoral
