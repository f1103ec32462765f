#pragma once
// Opening and saving image files, chosen by the upper-cased extension of the name alone.
//
// Loading: .BMP .JPG .JPEG .GIF .ICO .WMF .EMF .PNG. Saving: .BMP .JPG .JPEG .GIF .PNG.
// Any other extension does nothing and says nothing (FileResult::Skipped). A file that
// cannot be read gives FileResult::Failed with a message naming it, and the target bitmap is
// left exactly as it was: every loader decodes completely before the bitmap is touched.
#include <QByteArray>
#include <QString>

#include "files/JpegCodec.h"

namespace pixoral {

class Bitmap;

enum class ImageFileType { Unknown, Bmp, Jpeg, Gif, Ico, Wmf, Emf, Png };

ImageFileType imageFileTypeOf(const QString& path);
bool canLoadImageType(ImageFileType t);
bool canSaveImageType(ImageFileType t);

enum class FileResult { Done, Skipped, Failed };

struct ImageSaveOptions {
    bool gifTransparent = false;  // Options > GIF Image > Transparent (also PNG: bottom-left colour clear)
    bool gifOptimizeColorMap = true;
    int jpegQuality = kDefaultJpegQuality;
    bool jpegGrayscale = false;
};

// File > Open into the workspace. GIF, JPEG, BMP and PNG replace it (size, format and
// pixels; PNG alpha over white); an icon or metafile resizes it, keeping the overlapping old
// content (new area white), and is drawn over it, an icon's transparent parts leaving the
// old content visible. The workspace's pen, brush and font are never changed.
FileResult loadImageFile(const QString& path, Bitmap& workspace, QString* error);
// The same from bytes already in memory (previews, fuzzing); the reason names no file.
FileResult loadImageData(ImageFileType type, const QByteArray& data, Bitmap& workspace, QString* reason);

// Reads any loadable file into a bitmap of its own (icons and metafiles over white): for
// masks, patterns and gadget images.
FileResult readImageFile(const QString& path, Bitmap* out, QString* error);

// File > Save As: writes through a temporary file renamed over the target, so a failed save
// leaves any old file intact.
FileResult saveImageFile(const QString& path, const Bitmap& source, const ImageSaveOptions& options, QString* error);
// Save As from a name the user gave: a bare name gets ".bmp" (a picture rather than nothing),
// and a name of a type the program cannot write is refused (Failed, with a message listing the
// types it can) instead of skipped. *path becomes the name written.
FileResult savePictureAs(QString* path, const Bitmap& source, const ImageSaveOptions& options, QString* error);
// The bytes saveImageFile would write.
FileResult encodeImageData(ImageFileType type, const Bitmap& source, const ImageSaveOptions& options,
                           QByteArray* out, QString* reason);

// The path without its last extension ("/a/pic.gif" gives "/a/pic"); a name without one as
// it stands.
QString pathWithoutExtension(const QString& path);

// Writes bytes atomically (QSaveFile); false with the system's reason on failure.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason);

// The picture dialogs' filters, "Description|patterns|..." (see qtNameFilters): the classic
// entries in their classic order (entry 1 "All", entry 5 "Bitmaps" when opening), PNG added.
QString openPictureFilter();
QString savePictureFilter();

}  // namespace pixoral
