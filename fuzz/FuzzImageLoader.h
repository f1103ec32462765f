#pragma once
// Shared body of the image-loader fuzz targets: the bytes are handed to one loader as if
// they were a file of its type, over a small workspace that must survive whatever happens.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "canvas/Bitmap.h"
#include "files/ImageFile.h"
#include "FuzzSupport.h"

namespace pixoral::fuzz {

inline int loadOnce(ImageFileType type, const std::uint8_t* data, std::size_t size) {
    Bitmap workspace;
    workspace.setSize(16, 16);
    QString reason;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const FileResult r = loadImageData(type, bytes, workspace, &reason);
    // A failed load must leave the workspace as it was.
    if (r == FileResult::Failed && (workspace.width() != 16 || workspace.height() != 16)) std::abort();
    return 0;
}

}  // namespace pixoral::fuzz

#define PIXORAL_IMAGE_FUZZER(TYPE)                                                        \
    extern "C" int LLVMFuzzerInitialize(int*, char***) {                                  \
        pixoral::fuzz::startGui();                                                        \
        return 0;                                                                         \
    }                                                                                     \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {   \
        return pixoral::fuzz::loadOnce(pixoral::ImageFileType::TYPE, data, size);         \
    }
