#pragma once
// Ten undo steps in a ring, with a redo list. Undo stops at the oldest stored step instead of
// showing slots that were never written; redo re-applies undone steps until a new step is
// stored.
//
// Steps are kept as tiles of the image's row bytes, and a step shares every tile that equals
// the tile of the step stored or shown just before it: ten small strokes on a large image
// cost one copy of the image plus the tiles the strokes touched. All steps together stay
// within a byte budget: a step that would pass it drops the oldest steps first (the push
// says how many), and a step that cannot be held even alone, or that memory refuses, is not
// stored at all. Neither is ever a failure of the stroke.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QString>

#include "canvas/Bitmap.h"

namespace pixoral {

class UndoRing {
public:
    static constexpr int kSlots = 10;
    // Room for the largest image the program makes (2^28 device pixels, 1 GiB) and half as
    // much again for the steps drawn on it.
    static constexpr std::size_t kDefaultBudget = std::size_t(1536) << 20;

    UndoRing();

    // What a push or undo had to give up to stay within the budget.
    struct Kept {
        int droppedSteps = 0;  // oldest undo or redo steps let go
        bool stored = true;    // false: this step itself could not be kept
        bool lostSomething() const { return droppedSteps > 0 || !stored; }
    };
    // The status text for a Kept that lost something (empty when nothing was lost).
    static QString keptMessage(const Kept& kept);

    // Stores a copy of the workspace as the newest step (drops every redo step).
    Kept push(const Bitmap& workspace);
    // Steps back: `workspace` receives the previous step. False (nothing changed) when the
    // oldest stored step is already shown. `kept`, when given, tells whether the redo step of
    // the current picture had to give anything up.
    bool undo(Bitmap& workspace, Kept* kept = nullptr);
    // Re-applies the last undone step. False when there is none.
    bool redo(Bitmap& workspace);

    // 1-based index of the slot the next push writes.
    int index() const { return index_; }
    int storedSteps() const { return undoable_; }
    int redoSteps() const { return int(redo_.size()); }

    // The workspace size changed: every stored step and redo step takes the new size,
    // keeping its top-left content (applied when the step is shown, so large sizes cost
    // nothing until then).
    void resizeAll(int width, int height);

    std::size_t budget() const { return budget_; }
    void setBudget(std::size_t bytes) { budget_ = bytes; }
    // The bytes all steps hold together, each shared tile counted once.
    std::size_t bytesHeld() const;

private:
    using Tile = std::shared_ptr<const std::vector<std::uint8_t>>;

    struct Step {
        // The picture as stored: geometry, format, transparency and its tiles, row-major.
        int storedWidth = 0, storedHeight = 0;
        PixelFormat format = PixelFormat::Device;
        bool transparent = false;
        TColor transparentColor = clDefault;
        int rowBytes = 0;
        std::vector<Tile> tiles;
        bool live = false;  // holds a step (an empty slot holds nothing)

        bool pending = false;  // a resize waits
        int width = 0, height = 0, keepWidth = 0, keepHeight = 0;

        bool sameLayout(const Bitmap& b) const;
        void resize(int w, int h);
        void clear() { *this = Step(); }
        void materialiseInto(Bitmap& workspace) const;
    };

    // A step of `picture`, sharing the tiles that equal those of `like`. `room` is asked for
    // the bytes of the changed tiles before they are copied; when it says no, the step is
    // empty (not live). Throws bad_alloc.
    static Step capture(const Bitmap& picture, const Step* like, const std::function<bool(std::size_t)>& room);
    // The step the workspace was last stored as or set from: the best one to share with.
    const Step* closestToWorkspace() const;
    Step& slot(int oneBased) { return slots_[std::size_t((oneBased + 2 * kSlots - 1) % kSlots)]; }
    const Step& slot(int oneBased) const { return slots_[std::size_t((oneBased + 2 * kSlots - 1) % kSlots)]; }
    // Drops the oldest undo steps (keeping the newest `keepUndoable`) until `extra` more
    // bytes fit the budget. False when they still do not.
    bool makeRoom(std::size_t extra, int keepUndoable, Kept* kept);
    // Captures `picture` within the budget, sharing with `like` where it can. False when it
    // cannot be kept (too large for the budget, or memory refused it).
    bool store(const Bitmap& picture, const Step* like, int keepUndoable, Step* into, Kept* kept);

    std::array<Step, kSlots> slots_;
    std::vector<Step> redo_;
    int index_ = 1;
    int undoable_ = 0;  // stored steps that undo can still reach
    std::size_t budget_ = kDefaultBudget;
};

}  // namespace pixoral
