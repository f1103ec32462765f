// Runs arbitrary text as a turtle script on a small image; the first byte picks the image's
// pixel format. The step limit ends endless loops, so a run that does not end is a fault.
// Every outcome must be a message ("ready" or the reason), never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "canvas/Bitmap.h"
#include "script/Turtle.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pixoral::fuzz::startGui();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pixoral;
    if (size == 0) return 0;
    constexpr PixelFormat kFormats[] = {PixelFormat::Device, PixelFormat::pf1bit, PixelFormat::pf4bit,
                                        PixelFormat::pf8bit, PixelFormat::pf24bit};
    Bitmap image(23, 17, kFormats[data[0] % std::size(kFormats)]);
    TTurtle turtle;
    turtle.setCanvas(&image.canvas());
    turtle.setMaxSteps(4000);
    turtle.OnRequestImageSize = [&](Rect& r) { r = Rect{0, 0, image.width() - 1, image.height() - 1}; };
    turtle.OnRepaintRequest = [] {};
    turtle.OnRequestBackGround = [](const QString&) {};
    turtle.OnRequestFilter = [](const QString&) {};
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const TTurtle::RunResult r = turtle.RunScript(text);
    if (r.message.isEmpty() || r.cursor < 0) std::abort();
    // The state a run leaves must carry the next run.
    (void)turtle.RunScript(QStringLiteral("go 3 right 45 go 2"));
    return 0;
}
