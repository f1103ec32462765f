#pragma once
// Ten undo steps in a ring, with a redo list. Undo stops at the oldest stored step instead of
// showing slots that were never written; redo re-applies undone steps until a new step is
// stored.
#include <array>
#include <vector>

#include "canvas/Bitmap.h"

namespace pixoral {

class UndoRing {
public:
    static constexpr int kSlots = 10;

    UndoRing();

    // Stores a copy of the workspace as the newest step (drops every redo step).
    void push(const Bitmap& workspace);
    // Steps back: `workspace` receives the previous step. False (nothing changed) when the
    // oldest stored step is already shown.
    bool undo(Bitmap& workspace);
    // Re-applies the last undone step. False when there is none.
    bool redo(Bitmap& workspace);

    // 1-based index of the slot the next push writes.
    int index() const { return index_; }
    int storedSteps() const { return undoable_; }

    // The workspace size changed: every stored step and redo step takes the new size,
    // keeping its top-left content (applied when the step is shown, so large sizes cost
    // nothing until then).
    void resizeAll(int width, int height);

private:
    struct Step {
        Bitmap bitmap;
        bool pending = false;  // a resize waits
        int width = 0, height = 0, keepWidth = 0, keepHeight = 0;
        void resize(int w, int h);
        Bitmap materialise() const;
    };

    std::array<Step, kSlots> slots_;
    std::vector<Step> redo_;
    int index_ = 1;
    int undoable_ = 0;  // stored steps that undo can still reach
};

}  // namespace pixoral
