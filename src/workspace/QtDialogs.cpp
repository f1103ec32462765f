#include "workspace/QtDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>

#include "canvas/Fonts.h"
#include "workspace/PictureDialogs.h"

namespace pixoral {

namespace {

QColor toQColor(TColor c) {
    const TColor rgbValue = colorToRGB(c);
    return QColor(getRValue(rgbValue), getGValue(rgbValue), getBValue(rgbValue));
}

QFont toQFont(const Font& f) {
    QFont q(screenFace(f.name));
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

std::optional<QString> QtDialogs::openPicture(const QString& caption, const QString& filter, int filterIndex) {
    return runOpenPictureDialog(parent_, caption, filter, filterIndex);
}

std::optional<QString> QtDialogs::savePicture(const QString& caption, const QString& filter, int filterIndex) {
    return runSaveDialog(parent_, caption, filter, filterIndex);
}

bool QtDialogs::printerSetup(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    return dialog.exec() == QDialog::Accepted;
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

bool QtDialogs::pickSymbol(QString& fontName, QString& text) {
    if (!fonts_) fonts_ = new TPixoralFontsF(parent_);
    if (fonts_->exec() != QDialog::Accepted) return false;
    fontName = fonts_->previewFontName();
    text = fonts_->previewCaption();
    return true;
}

std::optional<QString> QtDialogs::openFile(const QString& caption, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent_, caption, QString(), qtNameFilters(filter).join(QStringLiteral(";;")));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtDialogs::saveFile(const QString& caption, const QString& filter) {
    const QString path = QFileDialog::getSaveFileName(parent_, caption, QString(), qtNameFilters(filter).join(QStringLiteral(";;")));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

}  // namespace pixoral
