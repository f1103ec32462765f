#pragma once
// Rows split over the cores, for effects whose result rows do not depend on each other (each
// result row is written by one band only, and reads only the unchanged source), so the
// picture is the same byte for byte whatever the number of cores.
#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace pixoral::parallel {

// How many bands a job may be split into: 0 means one per core. The benchmarks compare one
// band with many, and the tests split small pictures finely to show the result is the same.
inline std::atomic<int>& bandLimit() {
    static std::atomic<int> limit{0};
    return limit;
}

// Calls band(first, last) on contiguous row ranges that together cover 0 .. n - 1 exactly
// once, one range per core, and returns when every range is done. Jobs under minRows rows a
// core stay on the calling thread (a band limit splits even those). If the system refuses a
// thread, its range runs on the calling thread instead, so the work is always complete.
//
// band must not touch shared state other than its own rows; in particular it must not call
// Bitmap::scanLine() on a non-const bitmap (that may detach the pixels): take the row
// pointers before the call.
// The cores, asked once: the system reads a file to answer, which costs more than a small
// figure's whole drawing.
inline int coreCount() {
    static const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return cores;
}

template <class Band>
void forRows(int n, Band band, int minRows = 32) {
    if (n <= 0) return;
    const int limit = bandLimit().load();
    const int bands = std::clamp(limit > 0 ? n : n / std::max(1, minRows), 1, limit > 0 ? limit : coreCount());
    if (bands == 1) {
        band(0, n);
        return;
    }
    const auto first = [&](int i) { return static_cast<int>(static_cast<long long>(n) * i / bands); };
    std::vector<std::jthread> threads;
    std::vector<int> refused;
    for (int i = 1; i < bands; ++i) {
        try {
            threads.emplace_back([&band, a = first(i), b = first(i + 1)] { band(a, b); });
        } catch (const std::system_error&) {
            refused.push_back(i);
        }
    }
    band(0, first(1));
    for (int i : refused) band(first(i), first(i + 1));
}

}  // namespace pixoral::parallel
