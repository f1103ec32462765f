#include "effects/TPixoralEffectsF.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "effects/Range.h"
#include "ui/WorkspaceHost.h"

namespace pixoral::effects {

namespace {

// Which handler each bar calls.
struct BarHandler {
    SliderEffect effect;
    void (TPixoralEffectsF::*handler)();
};
constexpr BarHandler kBarHandlers[] = {
    {SliderEffect::Contrast, &TPixoralEffectsF::contrastbarChange},
    {SliderEffect::Saturation, &TPixoralEffectsF::saturationbarChange},
    {SliderEffect::Brightness, &TPixoralEffectsF::lightnessbarChange},
    {SliderEffect::GaussianBlur, &TPixoralEffectsF::blurbarChange},
    {SliderEffect::ColorNoise, &TPixoralEffectsF::colornoisebarChange},
    {SliderEffect::MonoNoise, &TPixoralEffectsF::mononoisebarChange},
    {SliderEffect::SplitBlur, &TPixoralEffectsF::splitblurbarChange},
    {SliderEffect::Smooth, &TPixoralEffectsF::smoothbarChange},
};
static_assert(std::size(kBarHandlers) == std::tuple_size_v<decltype(kSliders)>);

void (TPixoralEffectsF::*handlerOf(SliderEffect e))() {
    for (const BarHandler& h : kBarHandlers)
        if (h.effect == e) return h.handler;
    return nullptr;
}

// Grid cells: the first six bars in one row; "Split Blur" and "Smooth" below "Gaussian Blur"
// and "Color Noise".
struct Cell {
    int row, column;
};
Cell cellOf(std::size_t i) {
    if (i < 6) return {0, static_cast<int>(i)};
    return {1, static_cast<int>(i) - 3};
}

}  // namespace

TPixoralEffectsF::TPixoralEffectsF(WorkspaceHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), host_(host) {
    setObjectName(QStringLiteral("TPixoralEffectsF"));
    setWindowTitle(QStringLiteral("Pixoral Effects"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    effectspanel = new QWidget(this);
    effectspanel->setObjectName(QStringLiteral("effectspanel"));
    outer->addWidget(effectspanel);

    auto* grid = new QGridLayout(effectspanel);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    for (std::size_t i = 0; i < kSliders.size(); ++i) {
        const SliderInfo& info = kSliders[i];
        const Cell c = cellOf(i);
        auto* label = new QLabel(QString::fromLatin1(info.label), effectspanel);
        auto* value = new QLabel(QStringLiteral("0"), effectspanel);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* head = new QHBoxLayout;
        head->setContentsMargins(0, 0, 0, 0);
        head->addWidget(label);
        head->addStretch(1);
        head->addWidget(value);

        auto* bar = new QScrollBar(Qt::Horizontal, effectspanel);
        bar->setObjectName(QString::fromLatin1(info.barName));
        bar->setRange(0, info.range.max);
        bar->setValue(0);
        // Page clicks move a tenth of the range; the thumb stays small.
        bar->setPageStep(std::max(1, info.range.max / 10));
        bar->setMinimumWidth(100);
        const auto handler = handlerOf(info.effect);
        connect(bar, &QScrollBar::valueChanged, this, [this, value, handler](int v) {
            value->setNum(v);
            if (handler) (this->*handler)();
        });
        bars_[i] = bar;
        grid->addLayout(head, c.row * 3, c.column);
        grid->addWidget(bar, c.row * 3 + 1, c.column);
    }
    for (int col = 0; col < 6; ++col) grid->setColumnStretch(col, 1);
    grid->setRowMinimumHeight(2, 8);  // between the two rows of bars
    grid->setRowStretch(5, 1);
    resize(729, 104);
}

TPixoralEffectsF::~TPixoralEffectsF() {
    // Nothing may reach the owner while the window's own parts go away.
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

QScrollBar* TPixoralEffectsF::bar(SliderEffect e) const {
    for (std::size_t i = 0; i < kSliders.size(); ++i)
        if (kSliders[i].effect == e) return bars_[i];
    return nullptr;
}

int TPixoralEffectsF::position(SliderEffect e) const {
    const QScrollBar* b = bar(e);
    return b ? b->value() : 0;
}

void TPixoralEffectsF::contrastbarChange() { previewBar(SliderEffect::Contrast); }
void TPixoralEffectsF::saturationbarChange() { previewBar(SliderEffect::Saturation); }
void TPixoralEffectsF::lightnessbarChange() { previewBar(SliderEffect::Brightness); }
void TPixoralEffectsF::blurbarChange() { previewBar(SliderEffect::GaussianBlur); }
void TPixoralEffectsF::colornoisebarChange() { previewBar(SliderEffect::ColorNoise); }
void TPixoralEffectsF::mononoisebarChange() { previewBar(SliderEffect::MonoNoise); }
void TPixoralEffectsF::splitblurbarChange() { previewBar(SliderEffect::SplitBlur); }
void TPixoralEffectsF::smoothbarChange() { previewBar(SliderEffect::Smooth); }

bool TPixoralEffectsF::previewBar(SliderEffect e) {
    RangeState& range = host_.rangeState();
    // Each bar starts again from the workspace, so the preview shows one effect alone; the
    // loaded buffer is already 24-bit, as the effects want it.
    if (!loadWholeWorkspace(host_.workspace(), range) || !applySlider(e, range.buffer, position(e))) {
        host_.fail(noMemoryFor(host_.workspace()));
        return false;
    }
    host_.showPreview(range.buffer);
    return true;
}

}  // namespace pixoral::effects
