// Feeds arbitrary bytes to the pattern strip reader as patterns.bmp, then takes every
// pattern out of what it read and samples and reduces the strip as the pattern menus do.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "workspace/PatternLibrary.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pixoral::fuzz::startGui();
    return 0;
}

// The picture's size as a BMP header gives it (a core header has 16-bit sides), 0 when the
// bytes are too few to tell.
long long claimedPixels(const std::uint8_t* d, std::size_t size) {
    if (size < 26) return 0;
    auto le = [d](std::size_t at, int n) {
        long long v = 0;
        for (int i = n - 1; i >= 0; --i) v = (v << 8) | d[at + static_cast<std::size_t>(i)];
        return v;
    };
    const bool core = le(14, 4) == 12;
    const long long w = core ? le(18, 2) : static_cast<std::int32_t>(le(18, 4));
    const long long h = core ? le(20, 2) : static_cast<std::int32_t>(le(22, 4));
    return std::llabs(w) * std::llabs(h);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pixoral;
    // A run-length coded strip may claim any size in a few bytes; past a million pixels an
    // input only takes longer through the same code, so the fuzzer spends its time elsewhere.
    if (claimedPixels(data, size) > (1LL << 20)) return 0;
    const QString path = fuzz::scratchFile(QStringLiteral("patterns.bmp"), fuzz::bytesOf(data, size));
    Bitmap strip = emptyPatternStrip();
    QString error;
    if (!loadPatternStrip(path, &strip, &error)) {
        // A refused file leaves the strip as it was and says why.
        if (error.isEmpty() || strip.width() != kStripWidth || strip.height() != kPatternSide) std::abort();
        return 0;
    }
    if (strip.width() < kStripWidth || strip.height() < kPatternSide) std::abort();
    for (int n = 0; n < kPatternCount; ++n) {
        const Bitmap p = patternFromStrip(strip, n);
        putPatternInStrip(strip, (n + 1) % kPatternCount, p);
    }
    const Bitmap sampled = samplePattern(strip);
    const Bitmap reduced = reduceToPattern(strip);
    if (sampled.width() != kPatternSide || reduced.height() != kPatternSide) std::abort();
    return 0;
}
