// The button popup: caption, fonts, text and paint styles, alignment and sizes shared by the
// eight buttons, the oval colours and pen, and painting a face into the workspace.
#include <QAction>
#include <QFileInfo>
#include <functional>
#include <utility>

#include "canvas/Text.h"
#include "effects/Range.h"
#include "files/ImageFile.h"
#include "ui/Prompt.h"
#include "workspace/Gadgets.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

using F = TPixoralF;

GadgetButton* button(F& w) {
    auto* b = w.gadgets().targetAs<GadgetButton>();
    if (!b) w.fail(QStringLiteral("Open the popup menu on a button first."));
    return b;
}

ButtonStyle& style(F& w) { return w.gadgets().buttons; }

// Every button, hidden ones included, gets the change.
template <typename Change>
void allButtons(F& w, Change change) {
    for (GadgetButton* b : w.gadgets().allOf<GadgetButton>()) change(*b);
}

void moveButton(F& w, GadgetButton& b, int left, int top) { w.gadgets().moveTo(b, Point{left, top}); }

NumberPrompt sizePrompt(const char* text) {
    NumberPrompt p;
    p.caption = QStringLiteral("Pixoral Gadgets");
    p.text = QString::fromLatin1(text);
    p.lo = 1;  // a button of no size could not be found again to undo it
    p.hi = kMaxBitmapSide;
    p.message = QStringLiteral("invalid integer");
    return p;
}

NumberPrompt penPrompt() {
    NumberPrompt p;
    p.caption = QStringLiteral("Pixoral Oval Buttons");
    p.text = QStringLiteral("Enter Pen width (1-4):");
    p.lo = 1;
    p.hi = 4;
    return p;
}

void CaptionClick(F& w) {
    if (GadgetButton* b = button(w))
        b->setText(w.dialogs().inputBox(QStringLiteral("Pixoral Gadgets"), QStringLiteral("Enter button Caption:"), b->text()));
}

void FontClick(F& w) {
    if (GadgetButton* b = button(w))
        if (const auto f = w.dialogs().font(b->gadgetFont())) b->setGadgetFont(*f);
}

void FontAll1Click(F& w) {
    GadgetButton* b = button(w);
    if (!b) return;
    if (const auto f = w.dialogs().font(b->gadgetFont())) allButtons(w, [&](GadgetButton& o) { o.setGadgetFont(*f); });
}

void AutosizeButton1Click(F& w) {
    GadgetButton* b = button(w);
    if (!b) return;
    Canvas& c = w.canvas();
    KeepDrawingState keep(c);
    c.font() = b->gadgetFont();
    b->resize(c.textWidth(b->text()) + kButtonMargin, c.textHeight(b->text()) + kButtonMargin);
}

void AutosizeText1Click(F& w) {
    GadgetButton* b = button(w);
    if (!b) return;
    const auto fit = fitTextSize(w.canvas(), b->gadgetFont(), b->text(), b->width(), b->height());
    if (!fit) return;
    Font f = b->gadgetFont();
    f.size = fit->size;
    b->setGadgetFont(f);
    b->resize(fit->width + kButtonMargin, fit->height + kButtonMargin);
}

void SizeClick(F& w, bool height) {
    GadgetButton* b = button(w);
    if (!b) return;
    const int now = height ? b->height() : b->width();
    const PromptResult r =
        askNumber(w.dialogs(), sizePrompt(height ? "Enter button Height:" : "Enter button Width:"), now);
    if (r.refused) return;
    const int v = static_cast<int>(r.value);
    b->resize(height ? b->width() : v, height ? v : b->height());
}

void OvalPenClick(F& w) {
    int& pen = style(w).ovalPenWidth;
    pen = askInt(w.dialogs(), penPrompt(), pen);
    if (auto* a = w.findChild<QAction*>(QStringLiteral("OvalPen1"))) a->setText(QStringLiteral("Pen=%1...").arg(pen));
}

void paintButton(F& w, ButtonFace kind) {
    GadgetButton* b = button(w);
    if (!b) return;
    ButtonStyle& s = style(w);
    TColor face = kButtonFaceColor;
    bool painted = true;
    if (s.paintStyle == psColored) {
        const auto c = w.dialogs().color(face);
        painted = c.has_value();
        if (c) face = *c;
    }
    const int L = b->at().x, T = b->at().y, W = b->width(), H = b->height();
    if (painted) {
        if (s.select) w.rangeState().range = Rect{L, T, L + W + 1, T + H + 1};
        paintButtonFace(w.canvas(), kind, L, T, W, H, b->text(), b->gadgetFont(), s, face, s.paintStyle != psTransparent);
        w.repaintWorkspace();
    }
    if (!s.paintSave) return;
    effects::RangeState& range = w.rangeState();
    range.range = Rect{L, T, L + W, T + H};
    const auto chosen = w.dialogs().savePicture(QStringLiteral("Save As"), savePictureFilter(), 1);
    if (!chosen) return;
    const QFileInfo info(*chosen);
    const QString path = info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".gif");
    if (!effects::loadRange(w.workspace(), range)) return;
    ImageSaveOptions options;
    options.gifTransparent = w.settings().gifTransparent;
    QString err;
    if (saveImageFile(path, range.buffer, options, &err) != FileResult::Done)
        w.fail(err.isEmpty() ? QStringLiteral("Cannot save %1.").arg(info.fileName()) : err);
}

MenuEntry radio(const char* caption, std::function<void(F&)> set, bool checked = false) {
    MenuEntry e = rows::item(caption, std::move(set)).flag(MenuEntry::Checkable | MenuEntry::Radio);
    if (checked) e.flag(MenuEntry::Checked);
    return e;
}

MenuEntry checkItem(const char* caption, bool ButtonStyle::*flag, bool checked = false) {
    MenuEntry e = rows::item(caption, [flag](F& w) { style(w).*flag = !(style(w).*flag); }).flag(MenuEntry::Checkable);
    if (checked) e.flag(MenuEntry::Checked);
    return e;
}

std::vector<MenuEntry> textStyleItems() {
    using namespace rows;
    std::vector<MenuEntry> v;
    for (int s = 1; s <= kButtonTextStyles; ++s) {
        MenuEntry e = radio("", [s](F& w) { style(w).textStyle = s; }, s == tsNormal);
        e.caption = textStyleCaption(s);
        v.push_back(std::move(e));
    }
    v.push_back(sep());
    v.push_back(item("Highlight Color...", [](F& w) {
        if (const auto c = w.dialogs().color(style(w).highlight)) style(w).highlight = *c;
    }));
    v.push_back(item("Shadow Color...", [](F& w) {
        if (const auto c = w.dialogs().color(style(w).shadow)) style(w).shadow = *c;
    }));
    return v;
}

}  // namespace

MenuEntry buttonPopup() {
    using namespace rows;
    auto paintStyle = [](const char* caption, int s) {
        return radio(caption, [s](F& w) { style(w).paintStyle = s; }, s == psSilver);
    };
    auto equal = [](const char* caption, bool width, bool height) {
        return item(caption, [width, height](F& w) {
            GadgetButton* b = button(w);
            if (!b) return;
            const QSize size = b->size();
            allButtons(w, [&](GadgetButton& o) {
                o.resize(width ? size.width() : o.width(), height ? size.height() : o.height());
            });
        });
    };
    return sub("butpop", {
        item("&Caption...", &CaptionClick).named("Caption1"),
        item("&Font...", &FontClick),
        sub("Text Style", textStyleItems()),
        sub("Paint Style", {paintStyle("Silver", psSilver), paintStyle("Colored", psColored),
                            paintStyle("Transparent", psTransparent), sep(),
                            checkItem("PaintSave", &ButtonStyle::paintSave), checkItem("Border", &ButtonStyle::border, true),
                            checkItem("Select", &ButtonStyle::select)}),
        item("Font All...", &FontAll1Click).named("FontAll1"),
        sub("Align", {item("Align Left", [](F& w) {
                          if (GadgetButton* b = button(w))
                              allButtons(w, [&](GadgetButton& o) { moveButton(w, o, b->at().x, o.at().y); });
                      }),
                      item("Align Top", [](F& w) {
                          if (GadgetButton* b = button(w))
                              allButtons(w, [&](GadgetButton& o) { moveButton(w, o, o.at().x, b->at().y); });
                      })}),
        sub("Size", {item("&Autosize Button", &AutosizeButton1Click).named("AutosizeButton1"),
                     item("Autosize Text", &AutosizeText1Click).named("AutosizeText1"),
                     item("&Height...", [](F& w) { SizeClick(w, true); }),
                     item("&Width...", [](F& w) { SizeClick(w, false); }), sep(),
                     equal("Equal Width", true, false), equal("Equal Height", false, true),
                     equal("Equal Width and Height", true, true)}),
        sub("Oval", {item("&HighLight...", [](F& w) {
                         if (const auto c = w.dialogs().color(style(w).ovalHighlight)) style(w).ovalHighlight = *c;
                     }),
                     item("&Shadow...", [](F& w) {
                         if (const auto c = w.dialogs().color(style(w).ovalShadow)) style(w).ovalShadow = *c;
                     }),
                     item("Swap High-Low", [](F& w) { std::swap(style(w).ovalHighlight, style(w).ovalShadow); }),
                     item("Pen=1...", &OvalPenClick).named("OvalPen1")}),
        sep(),
        item("&Paint Rect", [](F& w) { paintButton(w, ButtonFace::Rect); }).named("PaintRect1"),
        item("Paint Oval", [](F& w) { paintButton(w, ButtonFace::Oval); }).named("PaintOval1"),
        item("Paint Rounded", [](F& w) { paintButton(w, ButtonFace::Rounded); }).named("PaintRounded1"),
    }).named("butpop");
}

}  // namespace pixoral
