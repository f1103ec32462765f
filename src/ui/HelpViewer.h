#pragma once
// The help: HTML pages in one folder beside the executable, read by a small viewer of our own
// (a contents list, back and forward, a full-text search whose hits are highlighted). The
// program opens it at a topic; a topic is a name of the table in HelpViewer.cpp ("Pixoral"
// is the contents) or a page name with an optional "#anchor".
#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QToolButton;

namespace pixoral {

// The topics the program's windows open the help at.
inline const QString kHelpContentsTopic = QStringLiteral("Pixoral");
inline const QString kHelpGraphTopic = QStringLiteral("Graph");

struct HelpPage {
    QString file;   // the file name inside the folder, "index.html"
    QString title;  // its <title>
    QString text;   // its words as plain text, for searching
};

struct HelpHit {
    QString file;
    QString title;
    QString excerpt;  // the words around the first hit
    int count = 0;        // how often the search words occur on the page
    int phraseCount = 0;  // how often they occur together, in the order typed
};

// The pages of a help folder, read once. No widgets, so searching is testable on its own.
class HelpPages {
public:
    static constexpr const char* kContentsFile = "index.html";

    // `folder` with or without a trailing separator.
    explicit HelpPages(const QString& folder);

    const QString& folder() const { return folder_; }  // with a trailing separator
    // False when the folder has no contents page: the help was not installed.
    bool found() const { return !pages_.isEmpty(); }
    // What the program says when the help is not there.
    QString missingMessage() const;
    // The contents page first, then the pages in the order the contents page links them, then
    // any page it does not link.
    const QList<HelpPage>& pages() const { return pages_; }
    // The page URL of a topic; the contents for an unknown one.
    QUrl urlOf(const QString& topic) const;
    // Pages holding every word of `words` (letter case ignored): those with the words side by
    // side in the order typed first, then the most hits. Empty for a search without words.
    QList<HelpHit> search(const QString& words) const;
    // The words a search looks for.
    static QStringList searchWords(const QString& words);

private:
    QString folder_;
    QList<HelpPage> pages_;
};

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // The pages are read now; the folder must hold them (see HelpPages::found()).
    explicit HelpViewer(const QString& folder, QWidget* parent = nullptr);

    const HelpPages& pages() const { return pages_; }
    // Shows the window at a topic.
    void showTopic(const QString& topic);
    // Runs a search as the search box does and opens the best page with its hits marked.
    // The number of pages found.
    int search(const QString& words);
    // The page on show, "index.html", and the text of its marked hits.
    QString currentFile() const;
    QStringList highlighted() const;

private:
    void open(const QUrl& url);
    void linkClicked(const QUrl& url);
    void pageChanged();
    void resultClicked(int row);
    void markHits(const QStringList& words);

    HelpPages pages_;
    QTextBrowser* browser_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QListWidget* contents_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    QListWidget* results_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QList<HelpHit> hits_;
    QStringList markWords_;  // marked on the next page shown, then forgotten
};

}  // namespace pixoral
