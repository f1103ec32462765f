#include "generators/QBPresets.h"

#include <QDir>

namespace pixoral::generators {

QString qbPresetsPath(const QString& programFolder) {
    if (programFolder.isEmpty()) return kQBPresetsFileName;
    QString dir = programFolder;
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QDir::separator())) dir += QLatin1Char('/');
    return dir + kQBPresetsFileName;
}

PresetApply applyPresetLine(const QString& line, QBSettings& s) {
    if (!line.contains(QLatin1Char('='))) return PresetApply::Ignored;
    const QStringList fields = PresetFile::valueOf(line).trimmed().split(QLatin1Char(','));
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

QString presetName(const QString& line) { return PresetFile::nameOf(line); }

QString formatPresetValues(const QBSettings& s) {
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7")
        .arg(s.function[0])
        .arg(s.function[1])
        .arg(s.function[2])
        .arg(s.offset[0])
        .arg(s.offset[1])
        .arg(s.offset[2])
        .arg(s.factor);
}

QString formatPresetLine(const QString& name, const QBSettings& s) {
    return name + QLatin1Char('=') + formatPresetValues(s);
}

bool isValidPresetName(const QString& name) { return PresetFile::checkName(name) == PresetFile::Outcome::Done; }

PresetApply QBPresets::apply(int index, QBSettings& s) const {
    if (index < 0 || index >= count()) return PresetApply::Ignored;
    return applyPresetLine(lines()[index], s);
}

PresetApply QBPresets::applyByName(const QString& name, QBSettings& s) const { return apply(find(name), s); }

namespace {

// A refused edit as the user hears of it: an empty answer is a change of mind and says nothing.
QString refusal(PresetFile::Outcome outcome) {
    switch (outcome) {
        case PresetFile::Outcome::NameHasEquals: return kBackdropNameHasEquals;
        case PresetFile::Outcome::NameNotOneLine: return kBackdropNameNotOneLine;
        default: return {};
    }
}

PresetEdit fromFile(const PresetFile::Edit& e) {
    if (e.changed()) return {true, e.index, e.writeError};
    if (e.outcome == PresetFile::Outcome::EmptyName || e.outcome == PresetFile::Outcome::NoSuchEntry) return {};
    return {false, e.index, refusal(e.outcome)};
}

}  // namespace

PresetEdit QBPresets::add(const QString& name, const QBSettings& s) {
    return fromFile(file_.add(name, formatPresetValues(s)));
}

PresetEdit QBPresets::remove(int index) { return fromFile(file_.remove(index)); }

PresetEdit QBPresets::update(int index, const QString& name, const QBSettings& s) {
    if (index < 0 || index >= count()) return {false, -1, kNoItemSelected};
    return fromFile(file_.update(index, name, formatPresetValues(s)));
}

PresetApply renderPresetByName(const QBPresets& presets, const QString& name, QBSettings& s, Bitmap& target) {
    const PresetApply r = presets.applyByName(name, s);
    if (r != PresetApply::Applied) return r;
    return renderBackground(s, target) ? r : PresetApply::NotRendered;
}

}  // namespace pixoral::generators
