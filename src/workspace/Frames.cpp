#include "workspace/Frames.h"

#include "effects/Range.h"
#include "files/ImageFile.h"

namespace pixoral {

int frameWidth(int imageWidth, int count) { return count >= 1 && imageWidth > 0 ? imageWidth / count : 0; }

Rect frameRect(int imageWidth, int imageHeight, int count, int frame) {
    // "Go" takes any negative frame, so the columns are worked out wide and kept in range.
    const long long fw = frameWidth(imageWidth, count);
    return Rect{effects::clampRangeCoord(fw * (frame - 1LL)), 0, effects::clampRangeCoord(fw * frame), imageHeight};
}

std::optional<int> goToFrame(int answer, int count) {
    if (answer == 0 || answer > count) return std::nullopt;
    return answer;
}

void pasteIntoFrame(Bitmap& workspace, const Rect& range, int count, int frame) {
    if (frame < 1 || effects::rangeIsEmpty(range)) return;
    Canvas& c = workspace.canvas();
    // The source and the frame may overlap: the canvas reads the source before writing.
    c.copyRect(frameRect(workspace.width(), workspace.height(), count, frame), c, effects::rangePixels(range));
}

bool saveFrames(const Bitmap& workspace, int count, const QString& chosen, QString* error) {
    const int fw = frameWidth(workspace.width(), count);
    if (fw < 1) {
        if (error)
            *error = QStringLiteral("The image (%1 pixels wide) is too narrow for %2 frames.").arg(workspace.width()).arg(count);
        return false;
    }
    const QString base = pathWithoutExtension(chosen);
    Bitmap frame(fw, workspace.height());
    for (int k = 1; k <= count; ++k) {
        frame.canvas().copyRect(Rect{0, 0, fw, workspace.height()}, workspace.canvas(),
                                frameRect(workspace.width(), workspace.height(), count, k));
        const QString path = base + QString::number(k) + QStringLiteral(".bmp");
        if (saveImageFile(path, frame, ImageSaveOptions{}, error) != FileResult::Done) return false;
    }
    return true;
}

}  // namespace pixoral
