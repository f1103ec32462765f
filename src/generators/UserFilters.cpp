#include "generators/UserFilters.h"

#include <QDir>
#include <QStringList>

namespace pixoral::generators {

namespace {

QStringList fieldsOf(const QString& line) { return PresetFile::valueOf(line).split(QLatin1Char(',')); }

bool toInt32(const QString& text, std::int32_t& out) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (ok) out = v;
    return ok;
}

}  // namespace

MatrixTexts matrixTexts(const UserMatrix& m) {
    MatrixTexts t;
    for (int i = 0; i < 9; ++i) t[i] = QString::number(m.c[i]);
    t[9] = QString::number(m.divisor);
    t[10] = QString::number(m.bias);
    return t;
}

QString userFiltersPath(const QString& programFolder) {
    if (programFolder.isEmpty()) return kUserFiltersFileName;
    QString dir = programFolder;
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QDir::separator())) dir += QLatin1Char('/');
    return dir + kUserFiltersFileName;
}

QString formatUserFilterValues(const MatrixTexts& texts) {
    QStringList fields;
    for (QString t : texts) {
        t.remove(QLatin1Char(','));
        t.remove(QLatin1Char('\n'));
        t.remove(QLatin1Char('\r'));
        fields << t;
    }
    return fields.join(QLatin1Char(','));
}

bool readUserFilterValues(const QString& line, MatrixTexts& texts) {
    if (!line.contains(QLatin1Char('='))) return false;
    const QStringList fields = fieldsOf(line);
    for (int i = 0; i < kUserFilterFields && i < fields.size(); ++i) texts[i] = fields[i];
    return fields.size() == kUserFilterFields;
}

bool parseUserMatrix(const MatrixTexts& texts, UserMatrix& m) {
    UserMatrix read;
    for (int i = 0; i < 9; ++i)
        if (!toInt32(texts[i], read.c[i])) return false;
    if (!toInt32(texts[9], read.divisor) || !toInt32(texts[10], read.bias)) return false;
    m = read;
    return true;
}

QString userFiltersProblems(const PresetFile& file) {
    QStringList bad;
    for (const QString& line : file.lines())
        if (!PresetFile::isEntryLine(line) || fieldsOf(line).size() != kUserFilterFields) bad << line;
    if (bad.isEmpty()) return {};
    bad.prepend(QStringLiteral("%1 has lines that are not \"name=\" and eleven values; they are kept as they are:")
                    .arg(file.path()));
    return bad.join(QLatin1Char('\n'));
}

}  // namespace pixoral::generators
