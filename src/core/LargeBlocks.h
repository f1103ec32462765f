#pragma once
// Memory for the large pixel stores and tables. A block is aligned to and advised into 2 MiB
// pages, so its first writes take a few dozen page faults instead of one every 4 KiB (on
// some machines the difference between 7 and 200 milliseconds for a 64 MiB picture). Every
// whole-picture command makes a new store and lets the old one go, so the last few blocks
// let go are kept and handed out again: their pages are already there, and the command
// pays no faults at all.
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <vector>

#include <sys/mman.h>

namespace pixoral::large {

constexpr std::size_t kPage = std::size_t(2) << 20;

// A fresh block of at least `bytes` (rounded up to whole large pages; the rounded size is
// stored in *capacity), or nullptr when memory cannot hold it. Its contents are undefined.
inline void* allocateFresh(std::size_t bytes, std::size_t* capacity) {
    const std::size_t cap = (bytes + kPage - 1) / kPage * kPage;
    void* p = cap ? std::aligned_alloc(kPage, cap) : nullptr;
    if (!p) return nullptr;
#ifdef MADV_HUGEPAGE
    madvise(p, cap, MADV_HUGEPAGE);  // advice only: where not followed the pages are small
#endif
    *capacity = cap;
    return p;
}

// The blocks let go most recently, for reuse by a store of about the same size.
class Pool {
public:
    // At most this many blocks wait for reuse: a command's result and its source, so the
    // memory kept idle is at most two pictures.
    static constexpr std::size_t kKept = 2;

    static Pool& instance() {
        static Pool* pool = new Pool;  // never destroyed: stores may outlive static destruction
        return *pool;
    }

    // A kept block that `bytes` fills to at least two thirds, or a fresh one (when memory runs
    // short, after freeing the kept ones); nullptr when memory cannot hold it.
    void* take(std::size_t bytes, std::size_t* capacity) {
        {
            std::lock_guard lock(mutex_);
            for (auto it = kept_.begin(); it != kept_.end(); ++it)
                if (it->capacity >= bytes && it->capacity - bytes <= it->capacity / 3) {
                    void* p = it->data;
                    *capacity = it->capacity;
                    kept_.erase(it);
                    return p;
                }
        }
        if (void* p = allocateFresh(bytes, capacity)) return p;
        release();
        return allocateFresh(bytes, capacity);
    }

    // Keeps the block for reuse, freeing the oldest kept one when the pool is full.
    void give(void* data, std::size_t capacity) {
        void* dropped = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (kept_.size() == kKept) {
                dropped = kept_.front().data;
                kept_.erase(kept_.begin());
            }
            kept_.push_back({data, capacity});
        }
        std::free(dropped);
    }

    void release() {
        std::vector<Block> all;
        {
            std::lock_guard lock(mutex_);
            all.swap(kept_);
        }
        for (const Block& b : all) std::free(b.data);
    }

private:
    struct Block {
        void* data;
        std::size_t capacity;
    };
    std::mutex mutex_;
    std::vector<Block> kept_;
};

}  // namespace pixoral::large
