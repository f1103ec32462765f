#pragma once
// The gadgets: three labels, eight buttons and three small images floating over the workspace
// picture in its scroll box, hidden at start, shown from the Gadgets menu, dragged into place
// and painted into the image through their popup menus.
//
// A gadget's Left and Top are workspace image coordinates; where that is on screen is worked
// out in one place (GadgetSet::toView and its inverse), so a scaled or scrolled view of the
// picture changes only that.
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QWidget>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "workspace/ButtonFaces.h"
#include "workspace/GadgetPaint.h"
#include "workspace/Commands.h"

class QMenu;
class QScrollArea;

namespace pixoral {

class GadgetSet;
class PaintBox;
class TPixoralF;

// What the three kinds share: the position in image coordinates and the drag flag (1 while
// the left button is held on the gadget).
class Gadget {
public:
    explicit Gadget(GadgetSet& set) : set_(set) {}
    virtual ~Gadget() = default;
    virtual QWidget* widget() = 0;
    Point at() const { return at_; }
    int dragFlag = 0;

protected:
    friend class GadgetSet;
    // While the drag flag is 1, moves the gadget so the point it was pressed at (the set's
    // last press) stays under `pointer` (a point of the gadget's own widget).
    void dragTo(QPoint pointer);
    GadgetSet& set_;
    Point at_{0, 0};
};

class GadgetLabel : public QLabel, public Gadget {
    Q_OBJECT
public:
    GadgetLabel(GadgetSet& set, QWidget* parent);
    QWidget* widget() override { return this; }
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);  // line breaks as '\n'
    const Font& gadgetFont() const { return font_; }
    void setGadgetFont(const Font& f);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void refresh();
    QString caption_;
    Font font_;
};

class GadgetImage : public QWidget, public Gadget {
    Q_OBJECT
public:
    GadgetImage(GadgetSet& set, QWidget* parent);
    QWidget* widget() override { return this; }
    Bitmap& picture() { return picture_; }
    // The picture changed (or was replaced): the gadget takes its size and shows it again.
    void pictureChanged();
    // The control's own transparency: the picture's transparent colour shows what lies below.
    bool showsTransparent() const { return showTransparent_; }
    void setShowsTransparent(bool on);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    Bitmap picture_;
    bool showTransparent_ = false;
};

class GadgetButton : public QPushButton, public Gadget {
    Q_OBJECT
public:
    GadgetButton(GadgetSet& set, QWidget* parent);
    QWidget* widget() override { return this; }
    const Font& gadgetFont() const { return font_; }
    void setGadgetFont(const Font& f);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void setDragCursor(ButtonDrag::Cursor c);
    Font font_;
    ButtonDrag drag_;
};

// The label settings shared by the three labels.
struct LabelStyle {
    int textStyle = tsNormal;
    StyledTextColors colors;  // highlight, shadow, shadow offset
    bool select = false;      // painting makes the label's bounds the current range
};

class GadgetSet : public QObject {
    Q_OBJECT
public:
    // Builds the fourteen gadgets, hidden, over the scroll box's picture `paintBox`, and their
    // popup menus through `commands`.
    GadgetSet(TPixoralF& window, QScrollArea* box, PaintBox* paintBox, CommandBar& commands);

    // The one lookup: by name, letter case ignored ("GadBut6" finds Gadbut6). Null for none.
    Gadget* find(const QString& name) const;
    const std::vector<Gadget*>& all() const { return gadgets_; }
    template <typename T>
    std::vector<T*> allOf() const {
        std::vector<T*> out;
        for (Gadget* g : gadgets_)
            if (auto* t = dynamic_cast<T*>(g)) out.push_back(t);
        return out;
    }

    // Image coordinates to the scroll box's viewport and back.
    QPoint toView(Point p) const;
    Point toImage(QPoint view) const;
    // Moves a gadget to image position `at`.
    void moveTo(Gadget& g, Point at);
    void placeAll();

    // The gadget the last popup was opened on, and the pointer position (in its own
    // coordinates) of the press that opened it or last pressed it.
    Gadget* target() const { return target_; }
    template <typename T>
    T* targetAs() const { return dynamic_cast<T*>(target_); }
    QPoint lastPress() const { return lastPress_; }
    void notePress(Gadget& g, QPoint at);
    // Opens the gadget's popup at a screen position (not in batch runs, where only the target
    // and press point are taken).
    void openPopup(Gadget& g, QPoint screenPos);
    // "Gadget>NAME>ITEM...": the popup item ITEM of gadget NAME, which becomes the target as
    // if its popup had been opened. Null for an unknown gadget or item.
    QAction* popupAction(const QString& path, bool* isMenu);
    // Batch --set: a label's or button's caption ('|' for line breaks), an image's picture file.
    bool setContent(Gadget& g, const QString& value, QString& error);

    TPixoralF& window() { return w_; }
    // The colour list's Alt click: the first label's text takes the colour.
    void colorFirstLabel(TColor c);
    LabelStyle labels;
    ButtonStyle buttons;
    bool imageTransparent = false;  // the image popup's "TransParent"

private:
    TPixoralF& w_;
    QScrollArea* box_;
    PaintBox* paintBox_;
    CommandBar& commands_;
    std::vector<Gadget*> gadgets_;
    Gadget* target_ = nullptr;
    QPoint lastPress_;
    QMenu* labelPop_ = nullptr;
    QMenu* imgPop_ = nullptr;
    QMenu* butPop_ = nullptr;
};

// The popup tables (GadgetLabels.cpp, GadgetImages.cpp, GadgetButtons.cpp).
MenuEntry labelPopup();
MenuEntry imagePopup();
MenuEntry buttonPopup();
// The Gadgets menu of the menu bar: one check item per gadget that shows or hides it.
MenuEntry gadgetsMenu();
// "&Paint" of a label (also its double-click).
void paintLabel(TPixoralF& w, GadgetLabel& label);
// Reads a picture file into an image gadget; false, with a message, when it cannot be read or
// is larger than the program holds. An extension it does not read loads nothing, silently.
bool loadGadgetPicture(TPixoralF& w, GadgetImage& image, const QString& path);
// The screen font of a canvas font, for showing gadgets as they will paint.
QFont screenFontOf(const Font& f);

}  // namespace pixoral
