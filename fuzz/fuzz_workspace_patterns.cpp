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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pixoral;
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
