#pragma once
// Every question the program asks the user goes through this interface, so that tests and
// batch runs can answer from a queue instead of a modal dialog.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "canvas/Canvas.h"
#include "canvas/Color.h"

class QPrinter;

namespace pixoral {

// Filters are written as pairs "Description|patterns|Description|patterns", patterns
// separated by ';', and an entry is chosen by its 1-based index. These are the pairs as Qt
// name filters: "All (*.gif *.jpg)" for "All (*.gif;*.jpg)|*.gif;*.jpg". A description that
// does not already show its patterns gets them appended in brackets, so Qt can read them. A
// trailing description without patterns matches everything.
QStringList qtNameFilters(const QString& pipeFilter);

class Dialogs {
public:
    enum Button { Yes = 1, No = 2, Cancel = 4, Ok = 8 };

    virtual ~Dialogs() = default;
    // A cancelled input box answers its default text.
    virtual QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText) = 0;
    virtual void message(const QString& text) = 0;
    // `buttons` is an or of Button values; the answer is one of them.
    virtual Button question(const QString& text, int buttons) = 0;
    virtual std::optional<TColor> color(TColor initial) = 0;
    virtual std::optional<Font> font(const Font& initial) = 0;
    // The symbol picker, modal: on Use, the chosen font name and the character picked (in
    // that font's codes) are written back and the answer is true; on Cancel nothing changes.
    virtual bool pickSymbol(QString& fontName, QString& text) = 0;
    virtual std::optional<QString> openFile(const QString& caption, const QString& filter) = 0;
    virtual std::optional<QString> saveFile(const QString& caption, const QString& filter) = 0;
    // Image files: `filter` is "Description|patterns|..." (patterns joined by ';') with entry
    // `filterIndex` (1-based) chosen. The open dialog previews the picture under the cursor.
    virtual std::optional<QString> openPicture(const QString& caption, const QString& filter, int filterIndex);
    virtual std::optional<QString> savePicture(const QString& caption, const QString& filter, int filterIndex);
    // The printer set-up dialog, changing `printer`'s settings; false when cancelled.
    virtual bool printerSetup(QPrinter& printer) = 0;
};

// Answers from a queue and records every message; used by tests and batch mode.
// A dialog that finds the queue empty (or an answer it cannot use) is cancelled and the
// problem is kept in failure(), so the caller can stop with a reason.
class ScriptedDialogs : public Dialogs {
public:
    void pushAnswer(const QString& answer) { answers_.push_back(answer); }
    void pushFrontAnswer(const QString& answer) { answers_.push_front(answer); }
    const std::deque<QString>& pendingAnswers() const { return answers_; }
    void clearAnswers() { answers_.clear(); }

    const QStringList& messages() const { return messages_; }
    void clearMessages() { messages_.clear(); }
    // Called with each message text as it is shown (batch mode prints it).
    std::function<void(const QString&)> onMessage;

    // Empty while every dialog found a usable answer.
    const QString& failure() const { return failure_; }
    void clearFailure() { failure_.clear(); }

    QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText) override;
    void message(const QString& text) override;
    Button question(const QString& text, int buttons) override;
    std::optional<TColor> color(TColor initial) override;
    std::optional<Font> font(const Font& initial) override;
    // The answer "FontName,text" (the text is everything after the first comma).
    bool pickSymbol(QString& fontName, QString& text) override;
    std::optional<QString> openFile(const QString& caption, const QString& filter) override;
    std::optional<QString> saveFile(const QString& caption, const QString& filter) override;
    std::optional<QString> openPicture(const QString& caption, const QString& filter, int filterIndex) override;
    std::optional<QString> savePicture(const QString& caption, const QString& filter, int filterIndex) override;
    // Any answer but ":cancel" accepts the printer's settings as they are.
    bool printerSetup(QPrinter& printer) override;

    // Every picture dialog asked for, oldest first (the answer is the queued path).
    struct PictureRequest {
        bool save = false;
        QString caption, filter;
        int filterIndex = 0;
    };
    const std::vector<PictureRequest>& pictureRequests() const { return pictureRequests_; }

    // The font answer "Name,size[,bold][,italic][,underline]"; nothing when malformed.
    static std::optional<Font> parseFont(const QString& answer, const Font& base);

private:
    // The next answer, or nothing (and a failure naming the prompt) when none is queued.
    std::optional<QString> take(const QString& prompt);
    void fail(const QString& reason);

    std::deque<QString> answers_;
    std::vector<PictureRequest> pictureRequests_;
    QStringList messages_;
    QString failure_;
};

}  // namespace pixoral
