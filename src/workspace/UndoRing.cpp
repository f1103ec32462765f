#include "workspace/UndoRing.h"

#include <algorithm>

namespace pixoral {

// The ring's slots start empty: undo never shows one that was not written, so blank bitmaps
// there would only cost their memory, and every new window (each file of a batch run) would
// pay for them.
UndoRing::UndoRing() = default;

void UndoRing::Step::resize(int w, int h) {
    if (!pending) {
        pending = true;
        keepWidth = bitmap.width();
        keepHeight = bitmap.height();
    }
    keepWidth = std::min(keepWidth, w);
    keepHeight = std::min(keepHeight, h);
    width = w;
    height = h;
}

Bitmap UndoRing::Step::materialise() const {
    Bitmap b(bitmap);
    if (pending) {
        // Sizes taken one after the other keep only what every intermediate size kept.
        b.setSize(keepWidth, keepHeight);
        b.setSize(width, height);
    }
    return b;
}

void UndoRing::push(const Bitmap& workspace) {
    Step& s = slots_[index_ - 1];
    s.bitmap = workspace;
    s.pending = false;
    index_ = index_ % kSlots + 1;
    undoable_ = std::min(undoable_ + 1, kSlots);
    redo_.clear();
}

bool UndoRing::undo(Bitmap& workspace) {
    if (undoable_ == 0) return false;
    Step current;
    current.bitmap = workspace;
    redo_.push_back(std::move(current));
    index_ = index_ == 1 ? kSlots : index_ - 1;
    --undoable_;
    workspace = slots_[index_ - 1].materialise();
    return true;
}

bool UndoRing::redo(Bitmap& workspace) {
    if (redo_.empty()) return false;
    workspace = redo_.back().materialise();
    redo_.pop_back();
    index_ = index_ % kSlots + 1;
    ++undoable_;
    return true;
}

void UndoRing::resizeAll(int width, int height) {
    for (Step& s : slots_) s.resize(width, height);
    for (Step& s : redo_) s.resize(width, height);
}

}  // namespace pixoral
