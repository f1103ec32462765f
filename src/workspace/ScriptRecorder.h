#pragma once
// Text for the script editor's caret: recorded strokes and Ctrl-clicked coordinates and
// colours. The editor attaches itself when it is created; text is taken only while its text
// area has its visibility flag, which stays set while the editor window is closed, so
// recording also works with the editor hidden.
#include <QString>
#include <functional>

namespace pixoral {

class ScriptRecorder {
public:
    struct Editor {
        std::function<bool()> textAreaVisible;
        // Inserts at the caret, replacing any selection; `focus`: the editor is shown and
        // takes the keyboard focus.
        std::function<void(const QString& text, bool focus)> insertAtCaret;
    };
    void attach(Editor editor) { editor_ = std::move(editor); }

    bool visible() const { return editor_.textAreaVisible && editor_.textAreaVisible(); }
    // A finished stroke: the focus stays on the image, where the user goes on drawing.
    void record(const QString& text) { insert(text, false); }
    // Coordinates or a colour the user asked for by a Ctrl-click: the editor takes the focus.
    void recordInput(const QString& text) { insert(text, true); }

private:
    void insert(const QString& text, bool focus) {
        if (visible() && editor_.insertAtCaret) editor_.insertAtCaret(text, focus);
    }
    Editor editor_;
};

}  // namespace pixoral
