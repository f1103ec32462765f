#include "workspace/Gadgets.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>
#include <cstdlib>

#include "workspace/TPixoralF.h"
#include "workspace/WorkspaceControls.h"

namespace pixoral {

namespace {

constexpr int kButtonWidth = 73, kButtonHeight = 24;
constexpr int kLabelPixelHeight = 23, kButtonPixelHeight = 15;

Font fontOf(const char* name, int pixelHeight) {
    Font f;
    f.name = QString::fromLatin1(name);
    f.setHeight(-pixelHeight);
    f.color = clWindowText;
    return f;
}

// The image gadgets' picture until another is loaded: a small yellow ball on white, so
// the white corner makes its surroundings transparent when painted.
Bitmap builtInPicture() {
    Bitmap b(24, 24);
    Canvas& c = b.canvas();
    c.brush().setColor(clYellow);
    c.pen().color = clBlack;
    c.ellipse(2, 2, 22, 22);
    c.brush().setColor(clWhite);
    c.pen().color = clWhite;
    c.ellipse(7, 6, 11, 10);
    return b;
}

}  // namespace

QFont screenFontOf(const Font& f) {
    QFont q(f.name);
    q.setPixelSize(std::max(1, std::abs(f.height())));
    q.setBold(f.style & fsBold);
    q.setItalic(f.style & fsItalic);
    q.setUnderline(f.style & fsUnderline);
    q.setStrikeOut(f.style & fsStrikeOut);
    // Crisp, as the canvas paints it, so what the gadget shows is what painting leaves.
    q.setStyleStrategy(QFont::NoAntialias);
    return q;
}

// ---------------------------------------------------------------- labels

GadgetLabel::GadgetLabel(GadgetSet& set, QWidget* parent) : QLabel(parent), Gadget(set) {}

void GadgetLabel::setCaption(const QString& caption) {
    caption_ = caption;
    refresh();
}

void GadgetLabel::setGadgetFont(const Font& f) {
    font_ = f;
    refresh();
}

void GadgetLabel::refresh() {
    setText(caption_);
    setFont(screenFontOf(font_));
    QPalette p = palette();
    p.setColor(QPalette::WindowText, toQColor(font_.color));
    setPalette(p);
    adjustSize();
}

void GadgetLabel::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        dragFlag = 1;
        set_.notePress(*this, e->position().toPoint());
    } else if (e->button() == Qt::RightButton) {
        set_.openPopup(*this, e->globalPosition().toPoint());
    }
}

void GadgetLabel::mouseMoveEvent(QMouseEvent* e) { dragTo(e->position().toPoint()); }

void GadgetLabel::mouseReleaseEvent(QMouseEvent*) { dragFlag = 0; }

void GadgetLabel::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) paintLabel(set_.window(), *this);
}

// ---------------------------------------------------------------- images

GadgetImage::GadgetImage(GadgetSet& set, QWidget* parent) : QWidget(parent), Gadget(set) {
    picture_ = builtInPicture();
    pictureChanged();
}

void GadgetImage::pictureChanged() {
    setFixedSize(std::max(1, picture_.width()), std::max(1, picture_.height()));
    update();
}

void GadgetImage::setShowsTransparent(bool on) {
    showTransparent_ = on;
    update();
}

void GadgetImage::paintEvent(QPaintEvent*) {
    if (picture_.isEmpty()) return;
    QImage img = picture_.toImage();
    if (showTransparent_) {
        const TColor key = colorToRGB(picture_.effectiveTransparentColor());
        img = img.convertToFormat(QImage::Format_ARGB32);
        const QRgb clear = qRgb(getRValue(key), getGValue(key), getBValue(key));
        for (int y = 0; y < img.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((row[x] & 0xFFFFFF) == (clear & 0xFFFFFF)) row[x] = 0;
        }
    }
    QPainter(this).drawImage(0, 0, img);
}

void GadgetImage::mousePressEvent(QMouseEvent* e) {
    set_.notePress(*this, e->position().toPoint());
    if (e->button() == Qt::LeftButton) dragFlag = 1;
    else if (e->button() == Qt::RightButton) set_.openPopup(*this, e->globalPosition().toPoint());
}

void GadgetImage::mouseMoveEvent(QMouseEvent* e) { dragTo(e->position().toPoint()); }

void GadgetImage::mouseReleaseEvent(QMouseEvent*) { dragFlag = 0; }

// ---------------------------------------------------------------- buttons

GadgetButton::GadgetButton(GadgetSet& set, QWidget* parent) : QPushButton(parent), Gadget(set) {
    setFocusPolicy(Qt::NoFocus);
}

void GadgetButton::setGadgetFont(const Font& f) {
    font_ = f;
    setFont(screenFontOf(f));
}

void GadgetButton::setDragCursor(ButtonDrag::Cursor c) {
    switch (c) {
        case ButtonDrag::Cursor::Default: unsetCursor(); break;
        case ButtonDrag::Cursor::Sizing: setCursor(Qt::SizeFDiagCursor); break;
        case ButtonDrag::Cursor::Dragging: setCursor(Qt::ClosedHandCursor); break;
    }
}

// The press never clicks the button: a gadget button is moved and resized, not pushed.
void GadgetButton::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton) {
        dragFlag = 1;
        setDragCursor(drag_.press(p.x(), p.y(), ButtonDrag::Box{x(), y(), width(), height()}));
    } else if (e->button() == Qt::RightButton) {
        set_.openPopup(*this, e->globalPosition().toPoint());
    }
}

void GadgetButton::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    ButtonDrag::Box box{x(), y(), width(), height()};
    setDragCursor(drag_.move(p.x(), p.y(), box));
    if (box.width != width() || box.height != height()) resize(box.width, box.height);
    if (box.left != x() || box.top != y()) set_.moveTo(*this, set_.toImage(QPoint(box.left, box.top)));
}

void GadgetButton::mouseReleaseEvent(QMouseEvent*) {
    dragFlag = 0;
    setDragCursor(drag_.release());
}

// ---------------------------------------------------------------- the set

GadgetSet::GadgetSet(TPixoralF& window, QScrollArea* box, PaintBox* paintBox, CommandBar& commands)
    : QObject(&window), w_(window), box_(box), paintBox_(paintBox), commands_(commands) {
    QWidget* view = box_->viewport();
    auto add = [&](Gadget* g, const char* name, Point at) {
        g->widget()->setObjectName(QString::fromLatin1(name));
        g->widget()->hide();
        gadgets_.push_back(g);
        moveTo(*g, at);
    };
    const Font labelFont = fontOf("Times New Roman", kLabelPixelHeight);
    const struct {
        const char* name;
        Point at;
        const char* caption;
    } labelRows[] = {{"GadLabel1", {281, 121}, "Text A"}, {"GadLabel2", {336, 153}, "Text B"}, {"GadLabel3", {368, 192}, "Text C"}};
    for (const auto& row : labelRows) {
        auto* l = new GadgetLabel(*this, view);
        // The first label lets the picture show through; the others stand on their own ground.
        l->setAutoFillBackground(gadgets_.size() > 0);
        l->setGadgetFont(labelFont);
        l->setCaption(QString::fromLatin1(row.caption));
        add(l, row.name, row.at);
    }
    const Font buttonFont = fontOf("Arial", kButtonPixelHeight);
    const char* buttonNames[] = {"GadBut1", "GadBut2", "GadBut3", "GadBut4", "GadBut5", "Gadbut6", "GadBut7", "Gadbut8"};
    for (int i = 0; i < 8; ++i) {
        auto* b = new GadgetButton(*this, view);
        b->setGadgetFont(buttonFont);
        b->setText(i == 0 ? QStringLiteral("GadBut1") : QStringLiteral("GadBut"));
        b->resize(kButtonWidth, kButtonHeight);
        add(b, buttonNames[i], Point{441, 25 + 32 * i});
    }
    for (int i = 0; i < 3; ++i) add(new GadgetImage(*this, view), i == 0 ? "GadImage1" : i == 1 ? "GadImage2" : "GadImage3",
                                    Point{320, 176 + 32 * i});

    labelPop_ = commands_.buildPopup(labelPopup(), &w_);
    imgPop_ = commands_.buildPopup(imagePopup(), &w_);
    butPop_ = commands_.buildPopup(buttonPopup(), &w_);

    connect(box_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &GadgetSet::placeAll);
    connect(box_->verticalScrollBar(), &QScrollBar::valueChanged, this, &GadgetSet::placeAll);
    connect(paintBox_, &PaintBox::zoomChanged, this, &GadgetSet::placeAll);
}

Gadget* GadgetSet::find(const QString& name) const {
    for (Gadget* g : gadgets_)
        if (g->widget()->objectName().compare(name, Qt::CaseInsensitive) == 0) return g;
    return nullptr;
}

QPoint GadgetSet::toView(Point p) const { return paintBox_->pos() + paintBox_->toView(QPointF(p.x, p.y)).toPoint(); }

Point GadgetSet::toImage(QPoint view) const {
    const QPointF p = paintBox_->toImage(QPointF(view - paintBox_->pos()));
    return Point{static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

void GadgetSet::moveTo(Gadget& g, Point at) {
    g.at_ = at;
    g.widget()->move(toView(at));
    g.widget()->raise();
}

void GadgetSet::placeAll() {
    for (Gadget* g : gadgets_) g->widget()->move(toView(g->at_));
}

void Gadget::dragTo(QPoint pointer) {
    if (dragFlag == 1) set_.moveTo(*this, set_.toImage(widget()->mapToParent(pointer) - set_.lastPress()));
}

void GadgetSet::notePress(Gadget& g, QPoint at) {
    target_ = &g;
    lastPress_ = at;
}

void GadgetSet::openPopup(Gadget& g, QPoint screenPos) {
    target_ = &g;
    QMenu* menu = dynamic_cast<GadgetLabel*>(&g) ? labelPop_ : dynamic_cast<GadgetImage*>(&g) ? imgPop_ : butPop_;
    if (!w_.isBatch()) menu->popup(screenPos);
}

QAction* GadgetSet::popupAction(const QString& path, bool* isMenu) {
    const QStringList parts = path.split(QLatin1Char('>'));
    if (parts.size() < 3 || parts[0].trimmed().compare(QLatin1String("gadget"), Qt::CaseInsensitive) != 0) return nullptr;
    Gadget* g = find(parts[1].trimmed());
    if (!g) return nullptr;
    QMenu* menu = dynamic_cast<GadgetLabel*>(g) ? labelPop_ : dynamic_cast<GadgetImage*>(g) ? imgPop_ : butPop_;
    QStringList inMenu = parts.mid(2);
    inMenu.prepend(menu->objectName());
    QAction* a = commands_.actionForPath(inMenu.join(QLatin1Char('>')), isMenu);
    if (a) target_ = g;
    return a;
}

void GadgetSet::colorFirstLabel(TColor c) {
    if (auto* l = dynamic_cast<GadgetLabel*>(find(QStringLiteral("GadLabel1")))) {
        Font f = l->gadgetFont();
        f.color = c;
        l->setGadgetFont(f);
    }
}

bool GadgetSet::setContent(Gadget& g, const QString& value, QString& error) {
    if (auto* l = dynamic_cast<GadgetLabel*>(&g)) {
        l->setCaption(QString(value).replace(QLatin1Char('|'), QLatin1Char('\n')));
    } else if (auto* b = dynamic_cast<GadgetButton*>(&g)) {
        b->setText(value);
    } else if (auto* i = dynamic_cast<GadgetImage*>(&g)) {
        if (!loadGadgetPicture(w_, *i, value)) {
            error = w_.takeFailure();
            if (error.isEmpty()) error = QStringLiteral("no picture loaded from %1").arg(value);
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------- the Gadgets menu

MenuEntry gadgetsMenu() {
    using namespace rows;
    auto toggles = [](std::initializer_list<const char*> names) {
        std::vector<MenuEntry> v;
        for (const char* n : names) {
            // The check mark and the gadget start hidden together and each click turns both.
            v.push_back(item(n, [name = QString::fromLatin1(n)](TPixoralF& w) {
                            if (Gadget* g = w.gadgets().find(name)) g->widget()->setVisible(g->widget()->isHidden());
                        }).flag(MenuEntry::Checkable));
        }
        return v;
    };
    return sub("&Gadgets", {
        sub("Image", toggles({"GadImage1", "GadImage2", "GadImage3"})),
        sub("Labels", toggles({"GadLabel1", "GadLabel2", "GadLabel3"})),
        sub("Buttons", toggles({"GadBut1", "GadBut2", "GadBut3", "GadBut4", "GadBut5", "GadBut6", "GadBut7", "GadBut8"})),
    });
}

}  // namespace pixoral
