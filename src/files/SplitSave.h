#pragma once
// Split save: the workspace cut into a row, a column or a square grid of tiles, each written
// as its own GIF or JPEG file; the row and the column also get an HTML page that shows the
// tiles put back together, for a web page.
//
// Tiles are exactly their share of the image, and the last row and column of tiles take what
// the integer division leaves over, so the tiles cover every pixel once and the page shows the
// whole image. The chosen name F (say /web/pic.gif) gives the tile names: a row or column
// tile k is F + k + E (pic.gif0.gif), a grid tile in row r and column q is F without its
// extension + r + q + E (pic00.gif), E being F's extension in lower case.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Geometry.h"
#include "ui/Prompt.h"

namespace pixoral {

enum class SplitKind { Vertical, Horizontal, Puzzle };

inline constexpr int kSplitCountMin = 2;
inline constexpr int kSplitCountMax = 10;

// File > Split Save > Image Count: a number that is not an integer counts as 2, other numbers
// outside 2..10 change nothing.
inline const NumberPrompt kImageCountPrompt = [] {
    NumberPrompt p;
    p.caption = QStringLiteral("Pixoral Split Save");
    p.text = QStringLiteral("Enter Image Count (2..10)");
    p.defaultText = QStringLiteral("2");
    p.lo = kSplitCountMin;
    p.hi = kSplitCountMax;
    p.notNumber = NumberPrompt::Refused::Fallback;
    p.fallback = 2;
    return p;
}();

inline const QString kInvalidExtensionMessage = QStringLiteral("Invalid Extension!");

// ".gif" or ".jpg" for a name whose extension is one of them in any letter case; nothing
// for any other name.
std::optional<QString> splitExtension(const QString& path);

struct SplitTile {
    Rect rect;       // on the image, right and bottom exclusive
    QString path;    // the tile file
};

// The tiles of a split of a width by height image into `count` parts per direction, in the
// order they are written (a grid row by row). Empty when the image is smaller than `count`
// pixels in a direction that is cut, or when `path` has no split extension.
std::vector<SplitTile> splitTiles(SplitKind kind, int width, int height, int count, const QString& path);

// The page of a vertical or horizontal split: its file (F with its extension replaced by
// ".htm") and its text, lines ended by CR LF. The tiles are referred to by their file names
// without folder, so the page stays beside them.
QString splitPagePath(const QString& path);
QString splitPageText(SplitKind kind, const std::vector<SplitTile>& tiles);

// The whole split: every tile, then the page (vertical and horizontal only), each file
// replaced atomically. Stops at the first file that cannot be written, with a message naming
// it in *error; files already written stay. The extension must have been checked.
bool writeSplit(const Bitmap& image, SplitKind kind, int count, const QString& path, QString* error);

}  // namespace pixoral
