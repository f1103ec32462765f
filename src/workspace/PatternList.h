#pragma once
// The pattern list beside the workspace: the strip of sixteen brush patterns, kept in
// "patterns.bmp" in the program folder, its owner-drawn list with the Update/Edit popup, and
// File > Open/Save Pattern.
#include <QString>

#include "canvas/Bitmap.h"

class QListWidget;
class QPainter;
class QRect;

namespace pixoral {

class TPixoralF;
struct MenuEntry;

class PatternList {
public:
    // Sets up the list control (owned by the window) and reads the strip.
    PatternList(TPixoralF& window, QListWidget* list);

    const Bitmap& strip() const { return strip_; }
    const Bitmap& brushPattern() const { return brushPattern_; }
    // Writes the strip back when something changed it.
    void store();

    // The list's handlers.
    void PatListDrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const;
    void PatListClick();
    void UpdatePattern1Click();
    void EditPattern1Click();

private:
    void load();
    void select(int n);

    TPixoralF& w_;
    QListWidget* PatList;
    Bitmap strip_;
    Bitmap brushPattern_;
    bool changed_ = false;
    bool fileUnreadable_ = false;
};

// File > Open Pattern... and Save Pattern...
MenuEntry openPatternRow();
MenuEntry savePatternRow();

}  // namespace pixoral
