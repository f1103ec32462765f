#pragma once
// Memory for the large pixel stores and tables. A block is aligned to and advised into 2 MiB
// pages, so its first writes take a few dozen page faults instead of one every 4 KiB (on
// some machines the difference between 7 and 200 milliseconds for a 64 MiB picture). Every
// whole-picture command makes a new store and lets the old one go, so the last few blocks
// let go are kept and handed out again: their pages are already there, and the command
// pays no faults at all.
#include <algorithm>
#include <array>
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
    // At most this many blocks, and this many bytes in all, wait for reuse: enough for the
    // stores a command on a 4096 by 4096 picture goes through (its source, its result, a
    // converted copy), while a larger block goes straight back to the system, so a picture of
    // a gigabyte never leaves another gigabyte idle.
    static constexpr std::size_t kKept = 4;
    static constexpr std::size_t kKeptBytes = std::size_t(256) << 20;

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
                    keptBytes_ -= it->capacity;
                    kept_.erase(it);
                    return p;
                }
        }
        if (void* p = allocateFresh(bytes, capacity)) return p;
        release();
        return allocateFresh(bytes, capacity);
    }

    // Keeps the block for reuse, freeing the oldest kept ones as the limits require.
    void give(void* data, std::size_t capacity) {
        if (capacity > kKeptBytes) {
            std::free(data);
            return;
        }
        std::array<void*, kKept + 1> dropped{};
        std::size_t count = 0;
        {
            std::lock_guard lock(mutex_);
            kept_.push_back({data, capacity});  // never grows: room was reserved
            keptBytes_ += capacity;
            while (kept_.size() > kKept || keptBytes_ > kKeptBytes) {
                dropped[count++] = kept_.front().data;
                keptBytes_ -= kept_.front().capacity;
                kept_.erase(kept_.begin());
            }
        }
        for (std::size_t i = 0; i < count; ++i) std::free(dropped[i]);
    }

    void release() {
        std::vector<Block> all;
        {
            std::lock_guard lock(mutex_);
            all.swap(kept_);
            keptBytes_ = 0;
        }
        for (const Block& b : all) std::free(b.data);
    }

private:
    Pool() { kept_.reserve(kKept + 1); }
    struct Block {
        void* data;
        std::size_t capacity;
    };
    std::mutex mutex_;
    std::vector<Block> kept_;
    std::size_t keptBytes_ = 0;
};

}  // namespace pixoral::large
