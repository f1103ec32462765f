// The label popup: font, text, text style and its colours, the Select flag and painting.
#include "effects/Range.h"
#include "ui/Prompt.h"
#include "workspace/Gadgets.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

using F = TPixoralF;

// The label the popup was opened on; a popup item reached without one says so.
GadgetLabel* label(F& w) {
    auto* l = w.gadgets().targetAs<GadgetLabel>();
    if (!l) w.fail(QStringLiteral("Open the popup menu on a label first."));
    return l;
}

LabelStyle& style(F& w) { return w.gadgets().labels; }

void LabelFontClick(F& w) {
    if (GadgetLabel* l = label(w))
        if (const auto f = w.dialogs().font(l->gadgetFont())) l->setGadgetFont(*f);
}

void LabelTextClick(F& w) {
    GadgetLabel* l = label(w);
    if (!l) return;
    const QString shown = QString(l->caption()).replace(QLatin1Char('\n'), QLatin1Char('|'));
    const QString answer = w.dialogs().inputBox(QStringLiteral("Pixoral Gadgets"), QStringLiteral("Enter Text"), shown);
    if (!answer.isEmpty()) l->setCaption(QString(answer).replace(QLatin1Char('|'), QLatin1Char('\n')));
}

// The symbol picker's choice becomes the label: its face, its character(s), and a size of at
// least 36 so the symbol reads.
void GetSymbol1Click(F& w) {
    GadgetLabel* l = label(w);
    if (!l) return;
    QString face, text;
    if (!w.dialogs().pickSymbol(face, text)) return;
    Font f = l->gadgetFont();
    f.name = face;
    if (f.size < 36) f.size = 36;
    l->setGadgetFont(f);
    l->setCaption(text);
}

NumberPrompt shadowOffsetPrompt() {
    NumberPrompt p;
    p.caption = QStringLiteral("Label Gadget Shadow");
    p.text = QStringLiteral("Enter Offset:");
    p.notNumber = NumberPrompt::Refused::Fallback;
    p.fallback = 1;
    return p;
}

void PaintExtrude1Click(F& w) {
    GadgetLabel* l = label(w);
    if (!l) return;
    paintExtrudedText(w.canvas(), l->at(), l->caption(), l->gadgetFont());
    w.repaintWorkspace();
}

std::vector<MenuEntry> textStyleItems() {
    using namespace rows;
    std::vector<MenuEntry> v;
    for (int s = 1; s <= kLabelTextStyles; ++s) {
        MenuEntry e = item("", [s](F& w) { style(w).textStyle = s; }).flag(MenuEntry::Checkable | MenuEntry::Radio);
        e.caption = textStyleCaption(s);
        if (s == tsNormal) e.flag(MenuEntry::Checked);
        v.push_back(std::move(e));
    }
    v.push_back(sep());
    v.push_back(item("Highligh Color...", [](F& w) {
        if (const auto c = w.dialogs().color(style(w).colors.highlight)) style(w).colors.highlight = *c;
    }));
    v.push_back(item("Shadow Color...", [](F& w) {
        if (const auto c = w.dialogs().color(style(w).colors.shadow)) style(w).colors.shadow = *c;
    }));
    v.push_back(item("Shadow Offset...", [](F& w) {
        int& d = style(w).colors.shadowOffset;
        d = askInt(w.dialogs(), shadowOffsetPrompt(), d);
    }));
    return v;
}

}  // namespace

void paintLabel(TPixoralF& w, GadgetLabel& l) {
    const Point at = l.at();
    if (w.gadgets().labels.select)
        w.rangeState().range = Rect{at.x, at.y, at.x + l.width() + 1, at.y + l.height() + 1};
    const LabelStyle& s = w.gadgets().labels;
    paintLabelText(w.canvas(), at, l.caption(), l.gadgetFont(), s.textStyle, s.colors);
    w.repaintWorkspace();
}

MenuEntry labelPopup() {
    using namespace rows;
    return sub("Labelpop", {
        item("&Font...", &LabelFontClick),
        item("&Text...", &LabelTextClick),
        sub("Text Style", textStyleItems()),
        sub("Paint Style", {item("Select", [](F& w) { style(w).select = !style(w).select; }).flag(MenuEntry::Checkable)}),
        item("Get Symbol", &GetSymbol1Click).named("GetSymbol1"),
        sep(),
        item("&Paint", [](F& w) {
            if (GadgetLabel* l = label(w)) paintLabel(w, *l);
        }),
        item("Paint &Extrude", &PaintExtrude1Click).named("PaintExtrude1"),
    }).named("Labelpop");
}

}  // namespace pixoral
