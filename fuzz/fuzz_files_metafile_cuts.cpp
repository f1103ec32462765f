// Takes a metafile (WMF, placeable or not, or EMF) and plays every prefix of it cut at a
// record boundary, each closed with an end-of-file record, so the player meets its state at
// every point of a picture: objects made but not selected, selected but not deleted, saved
// device contexts never restored, a path begun and never ended.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FuzzSupport.h"
#include "canvas/Bitmap.h"
#include "files/Metafile.h"

namespace {

std::uint32_t u32(const QByteArray& b, qsizetype at) {
    std::uint32_t v = 0;
    if (at >= 0 && at + 4 <= b.size()) std::memcpy(&v, b.constData() + at, 4);
    return v;
}

void playOnce(const QByteArray& bytes, pixoral::PixelFormat format) {
    pixoral::Metafile m;
    if (!m.load(bytes, nullptr)) return;
    pixoral::Bitmap target(19, 13, format);
    m.play(target.canvas(), 19, 13);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pixoral::fuzz::startGui();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using pixoral::PixelFormat;
    const QByteArray bytes = pixoral::fuzz::bytesOf(data, size);
    const bool enhanced = u32(bytes, 0) == 1 && u32(bytes, 40) == 0x464D4520;
    qsizetype start = 0;
    if (enhanced) {
        start = u32(bytes, 4);  // the header record comes first and stays
    } else {
        start = u32(bytes, 0) == 0x9AC6CDD7u ? 22 : 0;  // the placeable header
        start += 18;                                     // the metafile header
    }
    QByteArray end;
    if (enhanced) {
        // EMR_EOF: type 14, 20 bytes, no palette, the size repeated at its end.
        const std::uint32_t eof[] = {14, 20, 0, 0, 20};
        end = QByteArray(reinterpret_cast<const char*>(eof), sizeof eof);
    } else {
        end = QByteArray("\x03\x00\x00\x00\x00\x00", 6);  // three words, function 0
    }
    // The cuts alternate between formats so every depth meets every state now and then.
    constexpr PixelFormat kFormats[] = {PixelFormat::pf24bit, PixelFormat::Device, PixelFormat::pf8bit,
                                        PixelFormat::pf4bit, PixelFormat::pf1bit};
    int cuts = 0;
    for (qsizetype at = start; at > 0 && at <= bytes.size() && cuts < 256; ++cuts) {
        playOnce(bytes.left(at) + end, kFormats[cuts % std::size(kFormats)]);
        const qsizetype recordSize = enhanced ? qsizetype(u32(bytes, at + 4)) : qsizetype(u32(bytes, at)) * 2;
        if (recordSize <= 0 || at + 8 > bytes.size()) break;
        at += recordSize;
    }
    playOnce(bytes, PixelFormat::pf24bit);
    return 0;
}
