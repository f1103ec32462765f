#include "ui/Dialogs.h"



namespace pixoral {

namespace {

const QString kCancel = QStringLiteral(":cancel");

}  // namespace

QStringList qtNameFilters(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        if (description.isEmpty()) continue;
        QStringList patterns;
        if (i + 1 < parts.size())
            for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) patterns << p.trimmed();
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        const QString spaced = patterns.join(QLatin1Char(' '));
        QString entry = description;
        const QString shown = QLatin1Char('(') + patterns.join(QLatin1Char(';')) + QLatin1Char(')');
        if (entry.endsWith(shown)) entry.chop(shown.size());
        else entry += QLatin1Char(' ');
        out << entry.trimmed() + QStringLiteral(" (") + spaced + QLatin1Char(')');
    }
    return out;
}

// Implementations without picture dialogs of their own get the plain file dialogs.
std::optional<QString> Dialogs::openPicture(const QString& caption, const QString& filter, int filterIndex) {
    Q_UNUSED(filterIndex);
    return openFile(caption, qtNameFilters(filter).join(QStringLiteral(";;")));
}

std::optional<QString> Dialogs::savePicture(const QString& caption, const QString& filter, int filterIndex) {
    Q_UNUSED(filterIndex);
    return saveFile(caption, qtNameFilters(filter).join(QStringLiteral(";;")));
}


// ---- Scripted dialogs ----

void ScriptedDialogs::fail(const QString& reason) {
    if (failure_.isEmpty()) failure_ = reason;
}

std::optional<QString> ScriptedDialogs::take(const QString& prompt) {
    if (answers_.empty()) {
        fail(QStringLiteral("no answer for dialog: %1").arg(prompt));
        return std::nullopt;
    }
    QString a = answers_.front();
    answers_.pop_front();
    return a;
}

QString ScriptedDialogs::inputBox(const QString& caption, const QString& prompt, const QString& defaultText) {
    Q_UNUSED(caption);
    const auto a = take(prompt);
    if (!a || *a == kCancel) return defaultText;
    return *a;
}

void ScriptedDialogs::message(const QString& text) {
    messages_.push_back(text);
    if (onMessage) onMessage(text);
}

Dialogs::Button ScriptedDialogs::question(const QString& text, int buttons) {
    const Button fallback = (buttons & Cancel) ? Cancel : No;
    const auto a = take(text);
    if (!a) return fallback;
    const QString w = a->trimmed().toLower();
    const std::pair<const char*, Button> words[] = {{"yes", Yes}, {"no", No}, {"cancel", Cancel}, {":cancel", Cancel}, {"ok", Ok}};
    for (const auto& [word, button] : words)
        if (w == QLatin1String(word) && (buttons & button)) return button;
    fail(QStringLiteral("answer \"%1\" does not fit the question: %2").arg(*a, text));
    return fallback;
}

std::optional<TColor> ScriptedDialogs::color(TColor initial) {
    Q_UNUSED(initial);
    const auto a = take(QStringLiteral("colour dialog"));
    if (!a || *a == kCancel) return std::nullopt;
    const auto c = stringToColor(a->trimmed().toStdString());
    if (!c) {
        fail(QStringLiteral("not a colour for the colour dialog: %1").arg(*a));
        return std::nullopt;
    }
    return *c;
}

std::optional<Font> ScriptedDialogs::parseFont(const QString& answer, const Font& base) {
    const QStringList parts = answer.split(QLatin1Char(','));
    if (parts.size() < 2 || parts[0].trimmed().isEmpty()) return std::nullopt;
    bool ok = false;
    const int size = parts[1].trimmed().toInt(&ok);
    if (!ok || size <= 0 || size > 1000) return std::nullopt;
    Font f = base;
    f.name = parts[0].trimmed();
    f.size = size;
    f.style = 0;
    for (int i = 2; i < parts.size(); ++i) {
        const QString w = parts[i].trimmed().toLower();
        if (w == QLatin1String("bold")) f.style |= fsBold;
        else if (w == QLatin1String("italic")) f.style |= fsItalic;
        else if (w == QLatin1String("underline")) f.style |= fsUnderline;
        else return std::nullopt;
    }
    return f;
}

std::optional<Font> ScriptedDialogs::font(const Font& initial) {
    const auto a = take(QStringLiteral("font dialog"));
    if (!a || *a == kCancel) return std::nullopt;
    auto f = parseFont(*a, initial);
    if (!f) fail(QStringLiteral("not a font for the font dialog (Name,size[,bold][,italic][,underline]): %1").arg(*a));
    return f;
}

bool ScriptedDialogs::pickSymbol(QString& fontName, QString& text) {
    const auto a = take(QStringLiteral("symbol picker"));
    if (!a || *a == kCancel) return false;
    const qsizetype comma = a->indexOf(QLatin1Char(','));
    const QString name = comma < 0 ? QString() : a->left(comma).trimmed();
    if (name.isEmpty()) {
        fail(QStringLiteral("not a symbol for the symbol picker (FontName,text): %1").arg(*a));
        return false;
    }
    fontName = name;
    text = a->mid(comma + 1);
    return true;
}

std::optional<QString> ScriptedDialogs::openFile(const QString& caption, const QString& filter) {
    Q_UNUSED(filter);
    const auto a = take(caption);
    if (!a || *a == kCancel) return std::nullopt;
    return a;
}

std::optional<QString> ScriptedDialogs::saveFile(const QString& caption, const QString& filter) {
    Q_UNUSED(filter);
    const auto a = take(caption);
    if (!a || *a == kCancel) return std::nullopt;
    return a;
}

std::optional<QString> ScriptedDialogs::openPicture(const QString& caption, const QString& filter, int filterIndex) {
    pictureRequests_.push_back({false, caption, filter, filterIndex});
    return openFile(caption, filter);
}

std::optional<QString> ScriptedDialogs::savePicture(const QString& caption, const QString& filter, int filterIndex) {
    pictureRequests_.push_back({true, caption, filter, filterIndex});
    return saveFile(caption, filter);
}

bool ScriptedDialogs::printerSetup(QPrinter& printer) {
    Q_UNUSED(printer);
    const auto a = take(QStringLiteral("printer setup"));
    return a && *a != kCancel;
}

}  // namespace pixoral
