#include "script/ScriptLibrary.h"

#include <QStringList>
#include <algorithm>

namespace pixoral::script {

QString libraryPath(const QString& programFolder) { return programFolder + kLibraryFileName; }

QString scriptOfEntry(const QString& value, const QString& lineBreak) {
    return PresetFile::splitFields(value).join(lineBreak);
}

std::optional<QString> entryOfScript(const QString& editorText) {
    return PresetFile::joinFields(editorText.split(QLatin1Char('\n')));
}

QString runTextOf(const QString& editorText) {
    QString out = editorText;
    out.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return out;
}

RunCaret runErrorCaret(const QString& editorText, const TTurtle::RunResult& result) {
    // The editor position of a 0-based offset into the run text, where '\n' counts twice; an
    // offset inside a line break lands after it, one past the end lands at the end.
    auto editorPos = [&editorText](int runOffset) {
        int run = 0;
        for (int i = 0; i < editorText.size(); ++i) {
            if (run >= runOffset) return i;
            run += editorText[i] == QLatin1Char('\n') ? 2 : 1;
        }
        return static_cast<int>(editorText.size());
    };
    RunCaret c;
    c.position = editorPos(std::max(result.cursor, 0));
    // The cursor is 1-based just past the failing word, so the word ends before cursor - 1.
    int start = editorPos(std::max(result.cursor - 1, 0));
    while (start > 0 && !editorText[start - 1].isSpace()) --start;
    c.anchor = std::min(start, c.position);
    return c;
}

}  // namespace pixoral::script
