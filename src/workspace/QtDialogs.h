#pragma once
// The real dialogs behind the Dialogs interface: Qt's modal dialogs, and the picture dialogs
// with a preview of the file under the cursor.
#include <QPointer>

#include "ui/Dialogs.h"
#include "ui/TPixoralFontsF.h"

class QWidget;

namespace pixoral {

// The modal Qt dialogs.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText) override;
    void message(const QString& text) override;
    Button question(const QString& text, int buttons) override;
    std::optional<TColor> color(TColor initial) override;
    std::optional<Font> font(const Font& initial) override;
    // The symbol picker window, made at the first call and kept, so it opens again on the
    // font and character chosen last.
    bool pickSymbol(QString& fontName, QString& text) override;
    std::optional<QString> openFile(const QString& caption, const QString& filter) override;
    std::optional<QString> saveFile(const QString& caption, const QString& filter) override;
    std::optional<QString> openPicture(const QString& caption, const QString& filter, int filterIndex) override;
    std::optional<QString> savePicture(const QString& caption, const QString& filter, int filterIndex) override;
    bool printerSetup(QPrinter& printer) override;

private:
    QWidget* parent_;
    QPointer<TPixoralFontsF> fonts_;
};

}  // namespace pixoral
