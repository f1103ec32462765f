// The help pages and the viewer: every link leads to a page and anchor that exist, a search
// lists the page that holds the words first and marks them there, and a folder without the
// pages is reported rather than shown empty.
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "../common/TestSupport.h"
#include "ui/HelpViewer.h"

using namespace pixoral;

namespace {

const QString kHelp = QStringLiteral(PIXORAL_DATA_DIR "/help");

QString page(const QString& file) { return QString::fromUtf8(readAll(kHelp + QLatin1Char('/') + file)); }

}  // namespace

TEST(HelpPages, EveryLinkLeadsToAPageAndAnchorThatExist) {
    const HelpPages pages(kHelp);
    ASSERT_TRUE(pages.found());
    const QStringList files = QDir(kHelp).entryList({QStringLiteral("*.html")}, QDir::Files);
    EXPECT_EQ(pages.pages().size(), files.size());
    // The contents page links every other page, so none is found only by searching.
    const QString contents = page(QStringLiteral("index.html"));
    for (const QString& file : files) {
        if (file != QLatin1String("index.html")) {
            EXPECT_TRUE(contents.contains(QStringLiteral("href=\"%1\"").arg(file))) << file.toStdString();
        }
    }
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    int links = 0;
    for (const QString& file : files) {
        const QString html = page(file);
        EXPECT_TRUE(html.contains(QStringLiteral("href=\"help.css\""))) << file.toStdString();
        for (auto it = href.globalMatch(html); it.hasNext(); ++links) {
            const QString target = it.next().captured(1);
            EXPECT_FALSE(target.contains(QLatin1Char(':'))) << file.toStdString() << " links outside: " << target.toStdString();
            const QString targetFile = target.section(QLatin1Char('#'), 0, 0);
            const QString anchor = target.section(QLatin1Char('#'), 1);
            const QString where = targetFile.isEmpty() ? file : targetFile;
            ASSERT_TRUE(QFile::exists(kHelp + QLatin1Char('/') + where)) << file.toStdString() << " -> " << target.toStdString();
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(page(where).contains(QStringLiteral("name=\"%1\"").arg(anchor)))
                    << file.toStdString() << " -> " << target.toStdString();
            }
        }
    }
    EXPECT_GT(links, 50);
}

TEST(HelpViewer, SearchListsThePageWithTheWordsFirstAndMarksThem) {
    struct Case {
        const char* words;
        const char* page;
    };
    const Case cases[] = {
        {"scrpaint", "turtle.html"},
        {"Wirl Wave", "image.html"},
        {"Divisor must be", "quick-filter.html"},
        {"--max-steps", "batch.html"},
    };
    HelpViewer viewer(kHelp);
    for (const Case& c : cases) {
        EXPECT_GE(viewer.search(QString::fromLatin1(c.words)), 1) << c.words;
        EXPECT_EQ(viewer.currentFile(), QString::fromLatin1(c.page)) << c.words;
        const QStringList marked = viewer.highlighted();
        ASSERT_FALSE(marked.isEmpty()) << c.words;
        for (const QString& m : marked)
            EXPECT_TRUE(HelpPages::searchWords(QString::fromLatin1(c.words)).contains(m.toLower())) << m.toStdString();
    }
    EXPECT_EQ(viewer.search(QStringLiteral("xyzzy")), 0);
    EXPECT_EQ(viewer.search(QStringLiteral("   ")), 0);
}

TEST(HelpViewer, TopicsOpenTheirPageAndAMissingFolderIsReported) {
    HelpViewer viewer(kHelp);
    const struct {
        QString topic;
        const char* file;
    } topics[] = {{kHelpContentsTopic, "index.html"}, {kHelpGraphTopic, "quick-graph.html"},
                  {QStringLiteral("range.html#nothing"), "range.html"}, {QStringLiteral("no-such-topic"), "index.html"}};
    for (const auto& t : topics) {
        viewer.showTopic(t.topic);
        EXPECT_EQ(viewer.currentFile(), QString::fromLatin1(t.file)) << t.topic.toStdString();
    }
    viewer.close();

    QTemporaryDir empty;
    const HelpPages none(empty.path());
    EXPECT_FALSE(none.found());
    EXPECT_TRUE(none.missingMessage().contains(empty.path() + QStringLiteral("/index.html")));
}
