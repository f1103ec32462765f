#include "workspace/Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "workspace/PictureDialogs.h"

namespace pixoral {

namespace {

const QString kCancel = QStringLiteral(":cancel");

QColor toQColor(TColor c) {
    const TColor rgbValue = colorToRGB(c);
    return QColor(getRValue(rgbValue), getGValue(rgbValue), getBValue(rgbValue));
}

QFont toQFont(const Font& f) {
    QFont q(f.name);
    q.setPointSize(f.size > 0 ? f.size : 8);
    q.setBold(f.style & fsBold);
    q.setItalic(f.style & fsItalic);
    q.setUnderline(f.style & fsUnderline);
    q.setStrikeOut(f.style & fsStrikeOut);
    return q;
}

Font fromQFont(const QFont& q, const Font& base) {
    Font f = base;
    f.name = q.family();
    f.size = q.pointSize() > 0 ? q.pointSize() : base.size;
    f.style = (q.bold() ? fsBold : 0u) | (q.italic() ? fsItalic : 0u) | (q.underline() ? fsUnderline : 0u) |
              (q.strikeOut() ? fsStrikeOut : 0u);
    return f;
}

}  // namespace

// Implementations without picture dialogs of their own get the plain file dialogs.
std::optional<QString> Dialogs::openPicture(const QString& caption, const QString& filter, int filterIndex) {
    Q_UNUSED(filterIndex);
    return openFile(caption, qtNameFilters(filter).join(QStringLiteral(";;")));
}

std::optional<QString> Dialogs::savePicture(const QString& caption, const QString& filter, int filterIndex) {
    Q_UNUSED(filterIndex);
    return saveFile(caption, qtNameFilters(filter).join(QStringLiteral(";;")));
}

// ---- Qt dialogs ----

std::optional<QString> QtDialogs::openPicture(const QString& caption, const QString& filter, int filterIndex) {
    return runOpenPictureDialog(parent_, caption, filter, filterIndex);
}

std::optional<QString> QtDialogs::savePicture(const QString& caption, const QString& filter, int filterIndex) {
    return runSaveDialog(parent_, caption, filter, filterIndex);
}

QString QtDialogs::inputBox(const QString& caption, const QString& prompt, const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : defaultText;
}

void QtDialogs::message(const QString& text) { QMessageBox::information(parent_, QStringLiteral("Pixoral"), text); }

Dialogs::Button QtDialogs::question(const QString& text, int buttons) {
    QMessageBox::StandardButtons std;
    if (buttons & Yes) std |= QMessageBox::Yes;
    if (buttons & No) std |= QMessageBox::No;
    if (buttons & Cancel) std |= QMessageBox::Cancel;
    if (buttons & Ok) std |= QMessageBox::Ok;
    switch (QMessageBox::question(parent_, QStringLiteral("Pixoral"), text, std)) {
        case QMessageBox::Yes: return Yes;
        case QMessageBox::No: return No;
        case QMessageBox::Ok: return Ok;
        default: return (buttons & Cancel) ? Cancel : No;
    }
}

std::optional<TColor> QtDialogs::color(TColor initial) {
    const QColor c = QColorDialog::getColor(toQColor(initial), parent_);
    if (!c.isValid()) return std::nullopt;
    return rgb(c.red(), c.green(), c.blue());
}

std::optional<Font> QtDialogs::font(const Font& initial) {
    bool ok = false;
    const QFont q = QFontDialog::getFont(&ok, toQFont(initial), parent_);
    if (!ok) return std::nullopt;
    return fromQFont(q, initial);
}

std::optional<QString> QtDialogs::openFile(const QString& caption, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent_, caption, QString(), filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtDialogs::saveFile(const QString& caption, const QString& filter) {
    const QString path = QFileDialog::getSaveFileName(parent_, caption, QString(), filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
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

}  // namespace pixoral
