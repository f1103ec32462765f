// The language page of the help documents every keyword of the interpreter's table, so a word
// added to the language cannot be left out of the help.
#include <QString>
#include <gtest/gtest.h>

#include "../common/TestSupport.h"
#include "script/TurtleWords.h"

using namespace pixoral;

TEST(HelpKeywords, TheLanguagePageDocumentsEveryKeyword) {
    const QString page = QString::fromUtf8(readAll(QStringLiteral(PIXORAL_DATA_DIR "/help/turtle.html")));
    ASSERT_FALSE(page.isEmpty());
    for (const char* word : turtle::kKeywordNames) {
        const QString entry = QStringLiteral("<code class=\"kw\">%1</code>").arg(QString::fromLatin1(word).toHtmlEscaped());
        EXPECT_TRUE(page.contains(entry)) << word;
    }
}
