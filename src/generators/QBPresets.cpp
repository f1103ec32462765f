#include "generators/QBPresets.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace pixoral::generators {

namespace {

// A presets file is a few hundred bytes; anything this large is not one.
constexpr qint64 kMaxPresetsFileBytes = 16 * 1024 * 1024;

bool nameLess(const QString& a, const QString& b) {
    return QString::compare(presetName(a), presetName(b), Qt::CaseInsensitive) < 0;
}

}  // namespace

QString qbPresetsPath(const QString& programFolder) {
    if (programFolder.isEmpty()) return kQBPresetsFileName;
    QString dir = programFolder;
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QDir::separator())) dir += QLatin1Char('/');
    return dir + kQBPresetsFileName;
}

PresetApply applyPresetLine(const QString& line, QBSettings& s) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) return PresetApply::Ignored;
    const QStringList fields = line.mid(eq + 1).trimmed().split(QLatin1Char(','));
    for (int i = 0; i < 7; ++i) {
        if (i >= fields.size()) return PresetApply::Error;
        bool ok = false;
        const int v = fields[i].trimmed().toInt(&ok, 10);
        if (!ok) return PresetApply::Error;
        if (i < 3) {
            if (v < 0 || v >= kQBFunctionCount) return PresetApply::Error;
            s.function[static_cast<std::size_t>(i)] = v;
        } else if (i < 6) {
            s.offset[static_cast<std::size_t>(i - 3)] = static_cast<std::uint8_t>(v & 0xFF);
        } else {
            s.setFactor(v);
        }
    }
    // Trailing fields mean the line is not what it claims to be.
    return fields.size() == 7 ? PresetApply::Applied : PresetApply::Error;
}

QString presetName(const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? line : line.left(eq);
}

QString formatPresetLine(const QString& name, const QBSettings& s) {
    return QStringLiteral("%1=%2,%3,%4,%5,%6,%7,%8")
        .arg(name)
        .arg(s.function[0])
        .arg(s.function[1])
        .arg(s.function[2])
        .arg(s.offset[0])
        .arg(s.offset[1])
        .arg(s.offset[2])
        .arg(s.factor);
}

bool isValidPresetName(const QString& name) {
    return !name.trimmed().isEmpty() && !name.contains(QLatin1Char('=')) && !name.contains(QLatin1Char('\n')) &&
           !name.contains(QLatin1Char('\r'));
}

bool QBPresets::load(QString* error) {
    lines_.clear();
    QFile f(path_);
    if (!f.exists()) return true;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("Cannot read %1: %2").arg(path_, f.errorString());
        return false;
    }
    if (f.size() > kMaxPresetsFileBytes) {
        if (error) *error = QStringLiteral("Cannot read %1: the file is too large").arg(path_);
        return false;
    }
    const QByteArray bytes = f.readAll();
    // UTF-8 as written by this program; an older file in a single-byte encoding still loads.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        while (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (!line.trimmed().isEmpty()) lines.append(line);
    }
    setLines(lines);
    return true;
}

bool QBPresets::save(QString* error) const {
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = QStringLiteral("Cannot write %1: %2").arg(path_, f.errorString());
        return false;
    }
    QByteArray out;
    for (const QString& line : lines_) out += line.toUtf8() + '\n';
    if (f.write(out) != out.size() || !f.commit()) {
        if (error) *error = QStringLiteral("Cannot write %1: %2").arg(path_, f.errorString());
        return false;
    }
    return true;
}

void QBPresets::setLines(const QStringList& lines) {
    lines_ = lines;
    std::stable_sort(lines_.begin(), lines_.end(), nameLess);
}

QStringList QBPresets::names() const {
    QStringList out;
    out.reserve(lines_.size());
    for (const QString& line : lines_) out.append(presetName(line));
    return out;
}

int QBPresets::find(const QString& name) const {
    for (int i = 0; i < count(); ++i)
        if (QString::compare(presetName(lines_[i]), name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

PresetApply QBPresets::apply(int index, QBSettings& s) const {
    if (index < 0 || index >= count()) return PresetApply::Ignored;
    return applyPresetLine(lines_[index], s);
}

PresetApply QBPresets::applyByName(const QString& name, QBSettings& s) const { return apply(find(name), s); }

int QBPresets::insertSorted(const QString& line) {
    // After any entries of the same name, so the first match of a lookup stays the older one.
    const auto it = std::upper_bound(lines_.begin(), lines_.end(), line, nameLess);
    const int index = static_cast<int>(it - lines_.begin());
    lines_.insert(index, line);
    return index;
}

PresetEdit QBPresets::saved(PresetEdit e) const {
    QString error;
    if (!save(&error)) e.message = error;
    return e;
}

namespace {
QString nameProblem(const QString& name) {
    if (name.contains(QLatin1Char('='))) return QStringLiteral("A backdrop name cannot contain \"=\"");
    return QStringLiteral("A backdrop name must be one line of text");
}
}  // namespace

PresetEdit QBPresets::add(const QString& name, const QBSettings& s) {
    const QString n = name.trimmed();
    if (n.isEmpty()) return {};
    if (!isValidPresetName(n)) return {false, -1, nameProblem(n)};
    return saved({true, insertSorted(formatPresetLine(n, s)), {}});
}

PresetEdit QBPresets::remove(int index) {
    if (index < 0 || index >= count()) return {};
    lines_.removeAt(index);
    return saved({true, -1, {}});
}

PresetEdit QBPresets::update(int index, const QString& name, const QBSettings& s) {
    if (index < 0 || index >= count()) return {false, -1, kNoItemSelected};
    const QString n = name.trimmed();
    if (n.isEmpty()) return {};
    if (!isValidPresetName(n)) return {false, index, nameProblem(n)};
    // Replaced where it stands; a new name may move it to keep the list sorted.
    lines_.removeAt(index);
    return saved({true, insertSorted(formatPresetLine(n, s)), {}});
}

PresetApply renderPresetByName(const QBPresets& presets, const QString& name, QBSettings& s, Bitmap& target) {
    const PresetApply r = presets.applyByName(name, s);
    if (r != PresetApply::Applied) return r;
    return renderBackground(s, target) ? r : PresetApply::NotRendered;
}

}  // namespace pixoral::generators
