#include "ui/HelpViewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace pixoral {

namespace {

struct Topic {
    const char* name;
    const char* page;
};
// The named places the program opens the help at.
constexpr Topic kTopics[] = {
    {"Pixoral", "index.html"},
    {"Graph", "quick-graph.html"},
};

QString readText(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

QString titleOf(const QString& html, const QString& fallback) {
    static const QRegularExpression re(QStringLiteral("<title>(.*?)</title>"),
                                       QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(html);
    const QString t = m.hasMatch() ? m.captured(1).simplified() : QString();
    return t.isEmpty() ? fallback : t;
}

// The pages a page links to, in the order of its links, each once.
QStringList linkedPages(const QString& html) {
    static const QRegularExpression re(QStringLiteral("href=\"([^\"#:]+\\.html)"));
    QStringList files;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const QString f = it.next().captured(1);
        if (!files.contains(f)) files << f;
    }
    return files;
}

QString plainText(const QString& html) {
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText();
}

}  // namespace

// ---------------------------------------------------------------- pages

HelpPages::HelpPages(const QString& folder) : folder_(QDir::cleanPath(folder) + QLatin1Char('/')) {
    const QString contents = readText(folder_ + QLatin1String(kContentsFile));
    if (contents.isEmpty()) return;
    QStringList order{QLatin1String(kContentsFile)};
    for (const QString& f : linkedPages(contents))
        if (!order.contains(f)) order << f;
    for (const QString& f : QDir(folder_).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name))
        if (!order.contains(f)) order << f;
    for (const QString& f : order) {
        const QString html = readText(folder_ + f);
        if (html.isEmpty()) continue;  // linked but missing: the viewer says so when it is opened
        pages_.append({f, titleOf(html, f), plainText(html)});
    }
}

QString HelpPages::missingMessage() const {
    return QStringLiteral("The help pages were not found (%1 is missing).").arg(folder_ + QLatin1String(kContentsFile));
}

QUrl HelpPages::urlOf(const QString& topic) const {
    QString page = topic;
    for (const Topic& t : kTopics)
        if (topic.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0) page = QLatin1String(t.page);
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    const QString anchor = page.section(QLatin1Char('#'), 1);
    const bool known = std::any_of(pages_.begin(), pages_.end(), [&](const HelpPage& p) { return p.file == file; });
    QUrl url = QUrl::fromLocalFile(folder_ + (known ? file : QLatin1String(kContentsFile)));
    if (known && !anchor.isEmpty()) url.setFragment(anchor);
    return url;
}

QStringList HelpPages::searchWords(const QString& words) { return words.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts); }

QList<HelpHit> HelpPages::search(const QString& words) const {
    const QStringList wanted = searchWords(words);
    QList<HelpHit> hits;
    if (wanted.isEmpty()) return hits;
    for (const HelpPage& p : pages_) {
        const QString lower = p.text.toLower();
        HelpHit h{p.file, p.title, {}, 0, 0};
        bool all = true;
        for (const QString& w : wanted) {
            const int n = static_cast<int>(lower.count(w));
            if (n == 0) {
                all = false;
                break;
            }
            h.count += n;
        }
        if (!all) continue;
        const QString phrase = wanted.join(QLatin1Char(' '));
        h.phraseCount = static_cast<int>(lower.count(phrase));
        const qsizetype at = h.phraseCount > 0 ? lower.indexOf(phrase) : lower.indexOf(wanted.first());
        const qsizetype from = std::max<qsizetype>(0, at - 40);
        h.excerpt = p.text.mid(from, 100).simplified();
        if (from > 0) h.excerpt.prepend(QStringLiteral("..."));
        if (from + 100 < p.text.size()) h.excerpt.append(QStringLiteral("..."));
        hits.append(h);
    }
    // The words as typed, side by side, say more than the same words scattered over a page.
    std::stable_sort(hits.begin(), hits.end(), [](const HelpHit& a, const HelpHit& b) {
        return a.phraseCount != b.phraseCount ? a.phraseCount > b.phraseCount : a.count > b.count;
    });
    return hits;
}

// ---------------------------------------------------------------- viewer

HelpViewer::HelpViewer(const QString& folder, QWidget* parent) : QWidget(parent, Qt::Window), pages_(folder) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Pixoral Help"));
    resize(900, 620);

    auto* top = new QHBoxLayout;
    auto button = [this, top](const char* name, const QString& text, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolTip(tip);
        top->addWidget(b);
        return b;
    };
    back_ = button("HelpBack", QStringLiteral("< Back"), QStringLiteral("The page shown before (Alt+Left)"));
    forward_ = button("HelpForward", QStringLiteral("Forward >"), QStringLiteral("The next page again (Alt+Right)"));
    QToolButton* home = button("HelpHome", QStringLiteral("Contents"), QStringLiteral("The contents page"));
    back_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    forward_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    top->addStretch();

    contents_ = new QListWidget(this);
    contents_->setObjectName(QStringLiteral("HelpContents"));
    contents_->setWordWrap(true);
    contents_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const HelpPage& p : pages_.pages()) contents_->addItem(p.title);

    auto* searchTab = new QWidget(this);
    auto* searchLayout = new QVBoxLayout(searchTab);
    auto* searchRow = new QHBoxLayout;
    searchBox_ = new QLineEdit(searchTab);
    searchBox_->setObjectName(QStringLiteral("HelpSearch"));
    searchBox_->setPlaceholderText(QStringLiteral("Words to find"));
    auto* go = new QPushButton(QStringLiteral("Search"), searchTab);
    go->setObjectName(QStringLiteral("HelpSearchGo"));
    searchRow->addWidget(searchBox_);
    searchRow->addWidget(go);
    results_ = new QListWidget(searchTab);
    results_->setObjectName(QStringLiteral("HelpResults"));
    results_->setWordWrap(true);
    results_->setSpacing(3);
    results_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    searchLayout->addLayout(searchRow);
    searchLayout->addWidget(results_);
    searchLayout->setContentsMargins(2, 2, 2, 2);

    tabs_ = new QTabWidget(this);
    tabs_->addTab(contents_, QStringLiteral("Contents"));
    tabs_->addTab(searchTab, QStringLiteral("Search"));

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(false);  // links go through linkClicked, which refuses what is not a page here
    browser_->setSearchPaths({pages_.folder()});

    auto* split = new QSplitter(this);
    split->addWidget(tabs_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 640});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home, &QToolButton::clicked, this, [this] { open(pages_.urlOf(kHelpContentsTopic)); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpViewer::linkClicked);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpViewer::pageChanged);
    connect(contents_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < pages_.pages().size() && pages_.pages()[row].file != currentFile())
            open(QUrl::fromLocalFile(pages_.folder() + pages_.pages()[row].file));
    });
    connect(searchBox_, &QLineEdit::returnPressed, this, [this] { search(searchBox_->text()); });
    connect(go, &QPushButton::clicked, this, [this] { search(searchBox_->text()); });
    connect(results_, &QListWidget::currentRowChanged, this, &HelpViewer::resultClicked);
    back_->setEnabled(false);
    forward_->setEnabled(false);
}

void HelpViewer::showTopic(const QString& topic) {
    open(pages_.urlOf(topic));
    show();
    raise();
    activateWindow();
}

void HelpViewer::open(const QUrl& url) {
    if (!QFileInfo::exists(url.toLocalFile())) {
        browser_->setHtml(QStringLiteral("<h1>Page not found</h1><p>The help has no page %1.</p>")
                              .arg(QFileInfo(url.toLocalFile()).fileName().toHtmlEscaped()));
        return;
    }
    if (url.adjusted(QUrl::RemoveFragment) == browser_->source().adjusted(QUrl::RemoveFragment) && !url.hasFragment()) {
        pageChanged();  // the same page again: only the marks change
        return;
    }
    browser_->setSource(url);
}

void HelpViewer::linkClicked(const QUrl& url) {
    // Only the pages of this folder; the help has no links to the outside.
    if (!url.isRelative() && !url.isLocalFile()) return;
    open(url.isRelative() ? browser_->source().resolved(url) : url);
}

void HelpViewer::pageChanged() {
    const QString file = currentFile();
    for (int i = 0; i < pages_.pages().size(); ++i) {
        if (pages_.pages()[i].file != file) continue;
        const QSignalBlocker quiet(contents_);
        contents_->setCurrentRow(i);
    }
    markHits(markWords_);
    markWords_.clear();
}

QString HelpViewer::currentFile() const { return QFileInfo(browser_->source().toLocalFile()).fileName(); }

int HelpViewer::search(const QString& words) {
    if (searchBox_->text() != words) searchBox_->setText(words);
    tabs_->setCurrentIndex(1);
    hits_ = pages_.search(words);
    {
        const QSignalBlocker quiet(results_);
        results_->clear();
        for (const HelpHit& h : hits_) results_->addItem(h.title + QLatin1Char('\n') + h.excerpt);
        if (hits_.isEmpty()) results_->addItem(QStringLiteral("Nothing found."));
    }
    if (!hits_.isEmpty()) results_->setCurrentRow(0);
    return static_cast<int>(hits_.size());
}

void HelpViewer::resultClicked(int row) {
    if (row < 0 || row >= hits_.size()) return;
    markWords_ = HelpPages::searchWords(searchBox_->text());
    open(QUrl::fromLocalFile(pages_.folder() + hits_[row].file));
}

void HelpViewer::markHits(const QStringList& words) {
    QList<QTextEdit::ExtraSelection> marks;
    QTextDocument* doc = browser_->document();
    for (const QString& w : words) {
        for (QTextCursor c = doc->find(w); !c.isNull(); c = doc->find(w, c)) {
            QTextEdit::ExtraSelection s;
            s.cursor = c;
            s.format.setBackground(QColor(255, 230, 80));
            marks.append(s);
        }
    }
    browser_->setExtraSelections(marks);
    if (!marks.isEmpty()) {
        QTextCursor first = marks.first().cursor;
        for (const auto& m : marks)
            if (m.cursor.position() < first.position()) first = m.cursor;
        browser_->setTextCursor(first);
        browser_->ensureCursorVisible();
    }
}

QStringList HelpViewer::highlighted() const {
    QStringList texts;
    for (const auto& s : browser_->extraSelections()) texts << s.cursor.selectedText();
    return texts;
}

}  // namespace pixoral
