#pragma once
// Text for the script editor's caret: recorded strokes and Ctrl-clicked coordinates and
// colours. It is taken only while the editor's text area is visible; until the editor
// exists the last texts are kept here.
#include <QString>
#include <QStringList>

namespace pixoral {

class ScriptRecorder {
public:
    bool visible() const { return visible_; }
    void setVisible(bool on) { visible_ = on; }
    void record(const QString& text) {
        if (!visible_) return;
        texts_ << text;
        while (texts_.size() > kKept) texts_.removeFirst();
    }
    const QStringList& texts() const { return texts_; }

private:
    static constexpr int kKept = 100;
    bool visible_ = false;
    QStringList texts_;
};

}  // namespace pixoral
