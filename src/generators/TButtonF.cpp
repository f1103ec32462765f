#include "generators/TButtonF.h"

#include <QCheckBox>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "files/Clipboard.h"
#include "files/ImageFile.h"
#include "ui/ColorGrid.h"
#include "ui/WorkspaceHost.h"

namespace pixoral::generators {

namespace {

// The scroll box behind the button: the pale yellow 0x00E0FFFF.
const QColor kScrollBoxColor(0xFF, 0xFF, 0xE0);
// Room round the largest button, which then needs no scrolling.
constexpr int kScrollMargin = 8;

const QString kBackdropFilter = QStringLiteral("Graphic Files|*.bmp;*.gif;*jpg");
const QString kSaveFilter = QStringLiteral("Graphic Files|*.bmp;*.gif;*.jpg");
const QString kInvalidExtension = QStringLiteral("Invalid Extension!");

const char* const kStyleItems[3] = {"Shadow", "Raised", "Inset"};

QSlider* slider(QWidget* parent, const char* name, const ButtonRange& r, const QString& hint) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(r.lo, r.hi);
    s->setValue(r.initial);
    s->setToolTip(hint);
    return s;
}

QSpinBox* spin(QWidget* parent, const char* name, const ButtonRange& r, const QString& hint) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(r.lo, r.hi);
    s->setValue(r.initial);
    s->setToolTip(hint);
    return s;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

}  // namespace

// The picture at its own size.
class ButtonPicture : public QWidget {
public:
    explicit ButtonPicture(const Bitmap& picture, QWidget* parent) : QWidget(parent), picture_(picture) {}
    void pictureChanged() {
        setFixedSize(picture_.width(), picture_.height());
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, picture_.toImage());
    }

private:
    const Bitmap& picture_;
};

TButtonF::TButtonF(WorkspaceHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), host_(host) {
    setObjectName(QStringLiteral("TButtonF"));
    setWindowTitle(QStringLiteral("Quick Button"));
    buildControls();
    building_ = false;
    goEdgeClick();
    adjustSize();  // its one size from the start, so it can be placed before it is first shown
}

TButtonF::~TButtonF() {
    // Nothing may reach the owner while the window's own parts go away.
    building_ = true;
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TButtonF::buildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);
    outer->setSizeConstraint(QLayout::SetFixedSize);  // a single border: the window keeps its size

    auto redraw = [this] {
        if (!building_) goEdgeClick();
    };

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const char* caption, const QString& hint, void (TButtonF::*handler)()) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty()) b->setToolTip(hint);
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        buttons->addWidget(b);
    };
    button("goEdge", "Show", QStringLiteral("Show Button"), &TButtonF::goEdgeClick);
    button("gobg", "BackDrop", QStringLiteral("Load a backdrop image\n(bmp, gif or jpg)\nfor the button face"),
           &TButtonF::gobgClick);
    button("goSave", "Save", QStringLiteral("Save Button as\nbmp, gif or jpg"), &TButtonF::goSaveClick);
    button("goCopy", "Copy", QString(), &TButtonF::goCopyClick);
    button("goUse", "Use", QStringLiteral("Make the button the image"), &TButtonF::goUseClick);
    buttons->addStretch(1);
    outer->addLayout(buttons);

    auto* body = new QHBoxLayout;
    body->setSpacing(10);
    outer->addLayout(body);

    // ---- left: the picture and its sizes
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    body->addLayout(left);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    QPalette pal = scroll->palette();
    pal.setColor(QPalette::Window, kScrollBoxColor);
    scroll->setPalette(pal);
    scroll->setBackgroundRole(QPalette::Window);
    scroll->setAutoFillBackground(true);
    scroll->viewport()->setPalette(pal);
    scroll->viewport()->setAutoFillBackground(true);
    scroll->setFixedSize(kButtonWidthRange.hi + kScrollMargin, kButtonHeightRange.hi + kScrollMargin);
    scroll->setAlignment(Qt::AlignCenter);
    but = new ButtonPicture(but_, scroll);
    but->setObjectName(QStringLiteral("but"));
    scroll->setWidget(but);
    left->addWidget(scroll);

    auto* sizes = new QGridLayout;
    sizes->setHorizontalSpacing(6);
    butwidth = slider(this, "butwidth", kButtonWidthRange, QStringLiteral("Button Width"));
    butheight = slider(this, "butheight", kButtonHeightRange, QStringLiteral("Button Height"));
    widthcap = new QLabel(this);
    widthcap->setObjectName(QStringLiteral("widthcap"));
    heightcap = new QLabel(this);
    heightcap->setObjectName(QStringLiteral("heightcap"));
    for (QLabel* l : {widthcap, heightcap}) l->setMinimumWidth(28);
    EdgeWidth = spin(this, "EdgeWidth", kButtonEdgeRange, QStringLiteral("Edge Size"));
    sizes->addWidget(new QLabel(QStringLiteral("Width"), this), 0, 0);
    sizes->addWidget(butwidth, 0, 1);
    sizes->addWidget(widthcap, 0, 2);
    sizes->addWidget(new QLabel(QStringLiteral("Height"), this), 1, 0);
    sizes->addWidget(butheight, 1, 1);
    sizes->addWidget(heightcap, 1, 2);
    sizes->addWidget(new QLabel(QStringLiteral("Edge"), this), 2, 0);
    sizes->addWidget(EdgeWidth, 2, 1, Qt::AlignLeft);
    left->addLayout(sizes);
    left->addStretch(1);
    for (QSlider* s : {butwidth, butheight}) connect(s, &QSlider::valueChanged, this, redraw);
    connect(EdgeWidth, &QSpinBox::valueChanged, this, redraw);

    // ---- right: colours, caption, font, effects
    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    body->addLayout(right);

    auto* colors = new QGridLayout;
    colors->setHorizontalSpacing(10);
    colors->setVerticalSpacing(2);
    struct GridRow {
        ColorGrid*& grid;
        const char* name;
        const char* caption;
        const char* hint;
        int index;
    };
    const GridRow grids[] = {
        {topcolor, "topcolor", "Top", "Top Edge Color", kButtonTopColorIndex},
        {rightcolor, "rightcolor", "Right", "Righ Edge Color", kButtonRightColorIndex},
        {bottomcolor, "bottomcolor", "Bottom", "Bottom Edge Color", kButtonBottomColorIndex},
        {leftcolor, "leftcolor", "Left", "Left Edge Color", kButtonLeftColorIndex},
        {facecolor, "facecolor", "Face", "Face Color", kButtonFaceColorIndex},
        {fontcolor, "fontcolor", "Text", "Text Color", kButtonFontColorIndex},
        {shadowcolor, "shadowcolor", "Shadow", "Shadow Color", kButtonShadowColorIndex},
    };
    int cell = 0;
    for (const GridRow& g : grids) {
        g.grid = new ColorGrid(this);
        g.grid->setObjectName(QString::fromLatin1(g.name));
        g.grid->setToolTip(QString::fromLatin1(g.hint));
        g.grid->setSinglePick(true);
        g.grid->setForegroundIndex(g.index);
        connect(g.grid, &ColorGrid::changed, this, redraw);
        const int row = cell / 2 * 2, col = cell % 2;
        colors->addWidget(new QLabel(QString::fromLatin1(g.caption), this), row, col);
        colors->addWidget(g.grid, row + 1, col);
        ++cell;
    }
    right->addLayout(colors);

    auto* text = new QGridLayout;
    text->setHorizontalSpacing(6);
    buttext = new QLineEdit(kButtonSampleCaption, this);
    buttext->setObjectName(QStringLiteral("buttext"));
    buttext->setToolTip(QStringLiteral("Button Text"));
    connect(buttext, &QLineEdit::textChanged, this, redraw);
    butfont = new QFontComboBox(this);
    butfont->setObjectName(QStringLiteral("butfont"));
    butfont->setToolTip(QStringLiteral("Font Face"));
    butfont->setCurrentFont(QFont(kButtonFontName));
    // Where the screen has no font of that name the box still says it; the text then takes the
    // font the system puts in its place.
    butfont->setEditText(kButtonFontName);
    connect(butfont, &QComboBox::currentTextChanged, this, redraw);
    fontsize = slider(this, "fontsize", kButtonFontSizeRange, QStringLiteral("Font Size"));
    fontsizecap = new QLabel(this);
    fontsizecap->setObjectName(QStringLiteral("fontsizecap"));
    fontsizecap->setMinimumWidth(28);
    connect(fontsize, &QSlider::valueChanged, this, redraw);
    text->addWidget(new QLabel(QStringLiteral("Text"), this), 0, 0);
    text->addWidget(buttext, 0, 1, 1, 2);
    text->addWidget(new QLabel(QStringLiteral("Font"), this), 1, 0);
    text->addWidget(butfont, 1, 1, 1, 2);
    text->addWidget(new QLabel(QStringLiteral("Size"), this), 2, 0);
    text->addWidget(fontsize, 2, 1);
    text->addWidget(fontsizecap, 2, 2);
    right->addLayout(text);

    auto* fontStyles = new QHBoxLayout;
    fontbold = check(this, "fontbold", QStringLiteral("Bold"));
    fontitalic = check(this, "fontitalic", QStringLiteral("Italic"));
    fontunderline = check(this, "fontunderline", QStringLiteral("Underline"));
    for (QCheckBox* c : {fontbold, fontitalic, fontunderline}) {
        connect(c, &QCheckBox::toggled, this, redraw);
        fontStyles->addWidget(c);
    }
    fontStyles->addStretch(1);
    right->addLayout(fontStyles);

    auto* effects = new QHBoxLayout;
    auto* styleoptions = new QGroupBox(QStringLiteral("style options"), this);
    styleoptions->setObjectName(QStringLiteral("styleoptions"));
    auto* styleLayout = new QVBoxLayout(styleoptions);
    styleLayout->setContentsMargins(6, 2, 6, 2);
    styleLayout->setSpacing(1);
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(QString::fromLatin1(kStyleItems[i]), styleoptions);
        r->setObjectName(QStringLiteral("styleoptions%1").arg(i));
        // Only the newly checked item redraws, so a change draws once.
        connect(r, &QRadioButton::toggled, this, [redraw](bool on) {
            if (on) redraw();
        });
        styleLayout->addWidget(r);
        styleItems_[i] = r;
    }
    styleItems_[0]->setChecked(true);
    effects->addWidget(styleoptions);

    auto* effectBoxes = new QGridLayout;
    effectBoxes->setHorizontalSpacing(4);
    styled = check(this, "styled", QStringLiteral("styled"));
    hasbackdrop = check(this, "hasbackdrop", QStringLiteral("BackDrop"));
    BackEdges = check(this, "BackEdges", QStringLiteral("Edges"));
    for (QCheckBox* c : {styled, hasbackdrop, BackEdges}) connect(c, &QCheckBox::toggled, this, redraw);
    shadowdx = spin(this, "shadowdx", kButtonShadowRange, QStringLiteral("Shadow dx"));
    shadowdy = spin(this, "shadowdy", kButtonShadowRange, QStringLiteral("Shadow dy"));
    for (QSpinBox* s : {shadowdx, shadowdy}) connect(s, &QSpinBox::valueChanged, this, redraw);
    effectBoxes->addWidget(styled, 0, 0, 1, 2);
    effectBoxes->addWidget(new QLabel(QStringLiteral("dx"), this), 1, 0);
    effectBoxes->addWidget(shadowdx, 1, 1);
    effectBoxes->addWidget(new QLabel(QStringLiteral("dy"), this), 2, 0);
    effectBoxes->addWidget(shadowdy, 2, 1);
    effectBoxes->addWidget(hasbackdrop, 0, 2);
    effectBoxes->addWidget(BackEdges, 1, 2);
    effects->addLayout(effectBoxes);
    effects->addStretch(1);
    right->addLayout(effects);
    right->addStretch(1);
}

// ---------------------------------------------------------------- state

ButtonDesign TButtonF::design() const {
    ButtonDesign d;
    d.width = butwidth->value();
    d.height = butheight->value();
    d.edge = EdgeWidth->value();
    d.topColor = topcolor->foregroundColor();
    d.rightColor = rightcolor->foregroundColor();
    d.bottomColor = bottomcolor->foregroundColor();
    d.leftColor = leftcolor->foregroundColor();
    d.faceColor = facecolor->foregroundColor();
    d.shadowColor = shadowcolor->foregroundColor();
    d.caption = buttext->text();
    d.font.name = butfont->currentText();
    d.font.size = fontsize->value();
    d.font.style = (fontbold->isChecked() ? fsBold : 0u) | (fontitalic->isChecked() ? fsItalic : 0u) |
                   (fontunderline->isChecked() ? fsUnderline : 0u);
    d.font.color = fontcolor->foregroundColor();
    d.shadowDx = shadowdx->value();
    d.shadowDy = shadowdy->value();
    d.styled = styled->isChecked();
    for (int i = 0; i < 3; ++i)
        if (styleItems_[i]->isChecked()) d.style = static_cast<CaptionStyle>(i);
    d.useBackdrop = hasbackdrop->isChecked();
    d.notXorEdges = BackEdges->isChecked();
    return d;
}

void TButtonF::assignBackdrop(const Bitmap& picture) { backdrop_ = picture; }

void TButtonF::say(const QString& text) const { host_.dialogs().message(text); }

// ---------------------------------------------------------------- handlers

void TButtonF::goEdgeClick() {
    const ButtonDesign d = design();
    widthcap->setText(QString::number(d.width));
    heightcap->setText(QString::number(d.height));
    fontsizecap->setText(QString::number(d.font.size));
    QString error;
    if (!drawButton(but_, d, backdrop_, &error)) {
        say(error);
        return;
    }
    but->pictureChanged();
}

void TButtonF::gobgClick() {
    const auto path = host_.dialogs().openPicture(QStringLiteral("Load BackDrop"), kBackdropFilter, 1);
    if (!path) return;
    Bitmap picture;
    QString error;
    switch (readImageFile(*path, &picture, &error)) {
        case FileResult::Done: backdrop_ = picture; break;
        case FileResult::Skipped: host_.fail(kInvalidExtension); break;
        case FileResult::Failed: host_.fail(error); break;
    }
}

void TButtonF::goSaveClick() {
    const auto path = host_.dialogs().savePicture(QStringLiteral("Save Button as"), kSaveFilter, 1);
    if (!path) return;
    QString target = *path, error;
    if (savePictureAs(&target, but_, ImageSaveOptions{}, &error) != FileResult::Done)
        host_.fail(error.isEmpty() ? QStringLiteral("Cannot save the button.") : error);
}

void TButtonF::goCopyClick() { copyToClipboard(but_); }

void TButtonF::goUseClick() { host_.replaceWorkspace(but_); }

}  // namespace pixoral::generators
