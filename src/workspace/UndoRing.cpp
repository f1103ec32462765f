#include "workspace/UndoRing.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <unordered_set>

namespace pixoral {

namespace {

// A tile is a block of row bytes (whatever the pixel format): 512 bytes of 128 rows, 64 KiB.
// Small enough that a stroke touches few of them, large enough that a 1 GiB image has only
// 16384 to compare and count.
constexpr int kTileRowBytes = 512;
constexpr int kTileRows = 128;

int tilesAcross(int rowBytes) { return (rowBytes + kTileRowBytes - 1) / kTileRowBytes; }
int tilesDown(int height) { return (height + kTileRows - 1) / kTileRows; }

}  // namespace

UndoRing::UndoRing() = default;

QString UndoRing::keptMessage(const Kept& kept) {
    if (!kept.stored) return QStringLiteral("Too large to undo");
    if (kept.droppedSteps > 0) return QStringLiteral("Oldest undo steps dropped");
    return {};
}

bool UndoRing::Step::sameLayout(const Bitmap& b) const {
    return live && !pending && storedWidth == b.width() && storedHeight == b.height() && format == b.pixelFormat();
}

void UndoRing::Step::resize(int w, int h) {
    if (!live) return;
    if (!pending) {
        pending = true;
        keepWidth = storedWidth;
        keepHeight = storedHeight;
    }
    keepWidth = std::min(keepWidth, w);
    keepHeight = std::min(keepHeight, h);
    width = w;
    height = h;
}

UndoRing::Step UndoRing::capture(const Bitmap& picture, const Step* like,
                                 const std::function<bool(std::size_t)>& room) {
    Step s;
    s.live = true;
    s.storedWidth = picture.width();
    s.storedHeight = picture.height();
    s.format = picture.pixelFormat();
    s.transparent = picture.transparent;
    s.transparentColor = picture.transparentColor;
    if (picture.isEmpty()) return room(0) ? s : Step();
    s.rowBytes = picture.rowDataBytes();
    if (like && !like->sameLayout(picture)) like = nullptr;
    const int across = tilesAcross(s.rowBytes), down = tilesDown(s.storedHeight);
    const std::size_t count = std::size_t(across) * std::size_t(down);
    auto tileAt = [&](std::size_t i, int* y0, int* x0, int* rows, int* bytes) {
        *y0 = int(i / std::size_t(across)) * kTileRows;
        *x0 = int(i % std::size_t(across)) * kTileRowBytes;
        *rows = std::min(kTileRows, s.storedHeight - *y0);
        *bytes = std::min(kTileRowBytes, s.rowBytes - *x0);
    };
    // First which tiles changed, so room is made before anything is copied.
    std::vector<char> changed(count, 1);
    std::size_t added = 0;
    for (std::size_t i = 0; i < count; ++i) {
        int y0, x0, rows, bytes;
        tileAt(i, &y0, &x0, &rows, &bytes);
        if (like) {
            const std::uint8_t* old = like->tiles[i]->data();
            bool same = true;
            for (int r = 0; r < rows && same; ++r)
                same = std::memcmp(old + std::size_t(r) * std::size_t(bytes), picture.scanLine(y0 + r) + x0,
                                   std::size_t(bytes)) == 0;
            changed[i] = !same;
        }
        if (changed[i]) added += std::size_t(rows) * std::size_t(bytes);
    }
    if (!room(added)) return Step();
    s.tiles.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (!changed[i]) {
            s.tiles.push_back(like->tiles[i]);
            continue;
        }
        int y0, x0, rows, bytes;
        tileAt(i, &y0, &x0, &rows, &bytes);
        auto tile = std::make_shared<std::vector<std::uint8_t>>(std::size_t(rows) * std::size_t(bytes));
        for (int r = 0; r < rows; ++r)
            std::memcpy(tile->data() + std::size_t(r) * std::size_t(bytes), picture.scanLine(y0 + r) + x0,
                        std::size_t(bytes));
        s.tiles.push_back(std::move(tile));
    }
    return s;
}

void UndoRing::Step::materialiseInto(Bitmap& workspace) const {
    const bool inPlace = workspace.width() == storedWidth && workspace.height() == storedHeight &&
                         workspace.pixelFormat() == format;
    if (!inPlace) {
        workspace = Bitmap();  // the old picture goes before the new one is made
        workspace = Bitmap(storedWidth, storedHeight, format);
    }
    if (!workspace.isEmpty() && workspace.width() == storedWidth && workspace.height() == storedHeight) {
        const int across = tilesAcross(rowBytes);
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            const int y0 = int(i) / across * kTileRows, x0 = int(i) % across * kTileRowBytes;
            const int bytes = std::min(kTileRowBytes, rowBytes - x0);
            const int rows = std::min(kTileRows, storedHeight - y0);
            for (int r = 0; r < rows; ++r)
                std::memcpy(workspace.scanLine(y0 + r) + x0, tiles[i]->data() + std::size_t(r) * std::size_t(bytes),
                            std::size_t(bytes));
        }
    }
    if (pending) {
        // Sizes taken one after the other keep only what every intermediate size kept.
        workspace.setSize(keepWidth, keepHeight);
        workspace.setSize(width, height);
    }
    workspace.transparent = transparent;
    workspace.transparentColor = transparentColor;
}

std::size_t UndoRing::bytesHeld() const {
    std::unordered_set<const void*> seen;
    std::size_t bytes = 0;
    auto count = [&](const Step& s) {
        for (const Tile& t : s.tiles)
            if (seen.insert(t.get()).second) bytes += t->size();
    };
    for (const Step& s : slots_) count(s);
    for (const Step& s : redo_) count(s);
    return bytes;
}

const UndoRing::Step* UndoRing::closestToWorkspace() const {
    // After an undo the shown step is the one at the index; otherwise the newest stored one.
    if (!redo_.empty() && slot(index_).live) return &slot(index_);
    if (undoable_ > 0) return &slot(index_ - 1);
    return nullptr;
}

bool UndoRing::makeRoom(std::size_t extra, int keepUndoable, Kept* kept) {
    while (bytesHeld() + extra > budget_) {
        if (undoable_ <= keepUndoable) return false;
        slot(index_ - undoable_).clear();
        --undoable_;
        ++kept->droppedSteps;
    }
    return true;
}

bool UndoRing::store(const Bitmap& picture, const Step* like, int keepUndoable, Step* into, Kept* kept) {
    const std::size_t full = std::size_t(std::max(0, picture.rowDataBytes())) * std::size_t(picture.height());
    if (full > budget_) {
        kept->stored = false;
        return false;
    }
    // The step it shares with is kept while room is made for the tiles that changed; when
    // that is not enough, the step is taken whole, with every older step free to go.
    const bool likeIsUndoable = undoable_ > 0 && like == &slot(index_ - 1);
    struct Try {
        const Step* like;
        int keep;
    };
    const Try tries[] = {{like, likeIsUndoable ? std::max(keepUndoable, 1) : keepUndoable},
                         {nullptr, keepUndoable}};
    for (const Try& t : tries) {
        try {
            Step s = capture(picture, t.like, [&](std::size_t added) { return makeRoom(added, t.keep, kept); });
            if (s.live) {
                *into = std::move(s);
                return true;
            }
        } catch (const std::bad_alloc&) {
            // Memory ran out before the budget did: let the older steps go and try whole.
            makeRoom(budget_, keepUndoable, kept);
        }
    }
    kept->stored = false;
    return false;
}

UndoRing::Kept UndoRing::push(const Bitmap& workspace) {
    Kept kept;
    // Redo steps end here; the slots only they would reach hold nothing any more (the one at
    // the index is overwritten below).
    const Step* like = closestToWorkspace();
    for (int i = 1; i < int(redo_.size()); ++i) slot(index_ + i).clear();
    redo_.clear();
    Step s;
    if (store(workspace, like, 0, &s, &kept)) {
        slot(index_) = std::move(s);
        index_ = index_ % kSlots + 1;
        undoable_ = std::min(undoable_ + 1, kSlots);
    } else {
        slot(index_).clear();
    }
    return kept;
}

bool UndoRing::undo(Bitmap& workspace, Kept* keptOut) {
    if (undoable_ == 0) return false;
    Kept kept;
    Step current;
    // The step shown next stays whatever happens; the current picture is kept for redo when
    // the budget allows.
    if (store(workspace, closestToWorkspace(), 1, &current, &kept)) {
        redo_.push_back(std::move(current));
    } else {
        for (int i = 0; i < int(redo_.size()); ++i) slot(index_ + i).clear();
        redo_.clear();
    }
    index_ = index_ == 1 ? kSlots : index_ - 1;
    --undoable_;
    slot(index_).materialiseInto(workspace);
    if (keptOut) *keptOut = kept;
    return true;
}

bool UndoRing::redo(Bitmap& workspace) {
    if (redo_.empty()) return false;
    redo_.back().materialiseInto(workspace);
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
