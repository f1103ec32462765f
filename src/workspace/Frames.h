#pragma once
// Frames: the workspace seen as a strip of equally wide pictures side by side (the frames of
// an animation). With n frames on an image W wide, every frame is fw = W div n wide and frame
// k (counted from 1) covers the columns fw·(k − 1) .. fw·k − 1 over the full height; columns
// from n·fw on belong to no frame. Frame numbers below 1 choose no frame.
#include <QString>
#include <optional>

#include "canvas/Bitmap.h"
#include "canvas/Geometry.h"
#include "ui/Prompt.h"

namespace pixoral {

inline constexpr int kFrameCountMin = 1;
inline constexpr int kFrameCountMax = 50;

// Image > Frames > Set: opens with the current count; an answer that is not a number gives 1,
// a number outside 1..50 changes nothing.
inline const NumberPrompt kFrameCountPrompt = [] {
    NumberPrompt p;
    p.caption = QStringLiteral("Pixoral Frames");
    p.text = QStringLiteral("Enter number of Frames (1-50):");
    p.lo = kFrameCountMin;
    p.hi = kFrameCountMax;
    p.notNumber = NumberPrompt::Refused::Fallback;
    p.fallback = 1;
    return p;
}();

// Image > Frames > Go: any integer is read (not a number gives 1); goToFrame() decides.
inline const NumberPrompt kGoFramePrompt = [] {
    NumberPrompt p;
    p.caption = QStringLiteral("Pixoral Frames");
    p.text = QStringLiteral("Goto Frame Nr:");
    p.defaultText = QStringLiteral("1");
    p.notNumber = NumberPrompt::Refused::Fallback;
    p.fallback = 1;
    return p;
}();

// fw; 0 for an image narrower than its frame count (or a count below 1).
int frameWidth(int imageWidth, int count);
// Frame k's rectangle (right and bottom exclusive). For k below 1 it lies left of the image.
Rect frameRect(int imageWidth, int imageHeight, int count, int frame);

// The frame "Go" makes current: the answer, or nothing (the current frame stays) when it is 0
// or above the count. A negative answer is taken: it chooses no frame.
std::optional<int> goToFrame(int answer, int count);

// Paste Clip: the range's pixels of the workspace copied onto frame k's rectangle with the
// workspace canvas's copy mode, stretched when the sizes differ. Nothing happens while no
// frame is chosen or the range is empty.
void pasteIntoFrame(Bitmap& workspace, const Rect& range, int count, int frame);

// Save As BMP's: every frame as its own BMP file named from `chosen` without its extension,
// followed by the frame number and ".bmp" (anim.bmp gives anim1.bmp, anim2.bmp, ...). Each file
// is replaced atomically; the first that cannot be written stops the rest, with a message
// naming it. An image narrower than its frame count has no frames to save (a message too).
bool saveFrames(const Bitmap& workspace, int count, const QString& chosen, QString* error);

}  // namespace pixoral
