// Feeds arbitrary bytes to the PNG loader. Every chunk's checksum is set right first, as a
// file written by a program would have it: otherwise nearly every changed byte ends in the
// checksum test and the decoder and our alpha-over-white step are never reached.
#include <QtGlobal>
#include <array>
#include <vector>

#include "FuzzImageLoader.h"

namespace {

std::uint32_t crc32(const std::uint8_t* p, std::size_t n) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void dropMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pixoral::fuzz::startGui();
    qInstallMessageHandler(dropMessages);  // the decoder's complaints, thousands a second
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> png(data, data + size);
    // The signature, then chunks: length (big-endian), type, data, checksum of type and data.
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::size_t length = std::size_t(png[at]) << 24 | std::size_t(png[at + 1]) << 16 |
                                   std::size_t(png[at + 2]) << 8 | png[at + 3];
        if (length > png.size() - at - 12) break;
        const std::uint32_t c = crc32(png.data() + at + 4, length + 4);
        std::uint8_t* out = png.data() + at + 8 + length;
        out[0] = std::uint8_t(c >> 24);
        out[1] = std::uint8_t(c >> 16);
        out[2] = std::uint8_t(c >> 8);
        out[3] = std::uint8_t(c);
        at += length + 12;
    }
    return pixoral::fuzz::loadOnce(pixoral::ImageFileType::Png, png.data(), png.size());
}
