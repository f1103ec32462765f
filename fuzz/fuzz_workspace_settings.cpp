// Feeds arbitrary bytes to the settings file reader as pixoral.ini. Whatever it reads must
// survive a rewrite: writing the window state and the recent files back and reading them
// again gives the same values, so a start after a damaged file settles at once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "workspace/WindowSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pixoral;
    const QString ini = fuzz::scratchFile(QStringLiteral("pixoral.ini"), fuzz::bytesOf(data, size));
    const WindowSettings window = readWindowSettings(ini);
    const QStringList recent = readRecentFiles(ini);
    if (recent.size() > kMaxRecentFiles) std::abort();

    if (!writeWindowSettings(ini, window) || !writeRecentFiles(ini, recent)) std::abort();
    if (!(readWindowSettings(ini) == window) || readRecentFiles(ini) != recent) std::abort();
    return 0;
}
