// Gadgets: where styled captions, label lines and the Rect face put their pixels, and the
// popup rules of the window (prompts, shared sizes, saving).
#include <QAction>
#include <QFile>
#include <array>

#include "WindowFixture.h"
#include "workspace/ButtonFaces.h"
#include "workspace/GadgetPaint.h"
#include "workspace/Gadgets.h"

using namespace pixoral;

namespace {

Font testFont(int size) {
    Font f;
    f.name = QStringLiteral("DejaVu Sans");
    f.size = size;
    f.color = clBlack;
    return f;
}

// The caption "Hg" styled on white; the canvas font is `font`.
Bitmap styled(int style, const StyledTextColors& colors, const Font& font) {
    Bitmap b = filled(160, 120, clWhite);
    b.canvas().font() = font;
    paintStyledText(b.canvas(), 40, 30, QStringLiteral("Hg"), style, colors);
    return b;
}

}  // namespace

TEST(GadgetText, ShadowFallsByTheOffsetAndBackdropIsLargerAndCentred) {
    const Font font = testFont(20);
    const PixelBox text = boundsOf(styled(tsNormal, {}, font), clBlack);
    ASSERT_FALSE(text.empty());
    for (int offset : {1, 5}) {
        const Bitmap b = styled(tsDropShadow, StyledTextColors{clWhite, clGray, offset}, font);
        EXPECT_EQ(boundsOf(b, clBlack), text) << offset;
        const PixelBox shadow = boundsOf(b, clGray);
        EXPECT_EQ(shadow.right, text.right + offset);
        EXPECT_EQ(shadow.bottom, text.bottom + offset);
    }
    // A red highlight drawn first, 26 points against 20, centred on the text.
    const PixelBox back = boundsOf(styled(tsBackdrop, StyledTextColors{clRed, clGray, 1}, font), clRed);
    const double scale = double(back.bottom - back.top) / (text.bottom - text.top);
    EXPECT_NEAR(scale, 1.3, 0.12);
    EXPECT_NEAR((back.left + back.right) / 2.0, (text.left + text.right) / 2.0, 2.0);
    EXPECT_NEAR((back.top + back.bottom) / 2.0, (text.top + text.bottom) / 2.0, 2.0);
}

TEST(GadgetText, LabelLinesAreSpacedByTheHeightOfXj) {
    const Font font = testFont(14);
    Bitmap one = filled(120, 200, clWhite), three = filled(120, 200, clWhite);
    paintLabelText(one.canvas(), Point{10, 10}, QStringLiteral("A"), font, tsNormal, {});
    paintLabelText(three.canvas(), Point{10, 10}, QStringLiteral("A\nA\nA"), font, tsNormal, {});
    three.canvas().font() = font;
    const int line = three.canvas().textHeight(QStringLiteral("Xj"));
    const PixelBox a = boundsOf(one, clBlack), all = boundsOf(three, clBlack);
    EXPECT_EQ(all.top, a.top);
    EXPECT_EQ(all.bottom, a.bottom + 2 * line);
    EXPECT_EQ(all.count, 3 * a.count);
    // The caller's font is left alone.
    EXPECT_EQ(one.canvas().font().name, Font().name);
}

TEST(GadgetButtonFace, RectOfSeventyThreeByTwentyFourAtTenTen) {
    Bitmap b = filled(100, 50, clWhite);
    Font f = testFont(11);
    paintButtonFace(b.canvas(), ButtonFace::Rect, 10, 10, 73, 24, QStringLiteral("Go"), f, ButtonStyle{},
                    kButtonFaceColor, true);
    struct Case {
        int x, y;
        TColor c;
    };
    const Case cases[] = {
        {10, 10, clBlack}, {10, 33, clBlack}, {82, 10, clBlack},  // outline (10, 10)-(83, 34)
        {83, 20, clWhite}, {40, 34, clWhite}, {9, 9, clWhite},    // nothing outside
        {11, 20, clWhite}, {40, 11, clWhite},                     // light left and top inside edges
        {81, 20, clBlack}, {82, 20, clBlack}, {40, 32, clBlack}, {40, 33, clBlack},  // two-pixel dark edges
        {14, 20, clSilver}, {78, 20, clSilver}, {40, 12, clSilver},                  // face
    };
    for (const Case& c : cases) EXPECT_EQ(b.pixel(c.x, c.y), c.c) << c.x << "," << c.y;
    // The caption sits inside the face.
    int ink = 0;
    for (int y = 13; y < 31; ++y)
        for (int x = 14; x < 79; ++x) ink += b.pixel(x, y) == clBlack;
    EXPECT_GT(ink, 10);
}

TEST(GadgetsWindow, MenuFindsGadgetsByNameAndPopupsKeepTheirRules) {
    TestWindow t;
    GadgetSet& g = t.w->gadgets();
    Gadget* six = g.find(QStringLiteral("GadBut6"));
    ASSERT_NE(six, nullptr);
    EXPECT_EQ(six->widget()->objectName(), QStringLiteral("Gadbut6"));
    EXPECT_TRUE(six->widget()->isHidden());
    t.run("Gadgets>Buttons>GadBut6");
    EXPECT_FALSE(six->widget()->isHidden());
    EXPECT_TRUE(t.w->actionForPath(QStringLiteral("Gadgets>Buttons>GadBut6"))->isChecked());

    t.run("Gadget>GadLabel2>Text Style>Shadow Offset...", {"5"});
    EXPECT_EQ(g.labels.colors.shadowOffset, 5);
    t.run("Gadget>GadLabel2>Text Style>Shadow Offset...", {"abc"});
    EXPECT_EQ(g.labels.colors.shadowOffset, 1);

    // Get Symbol: the picked face and character, at least 36 points.
    auto* label = dynamic_cast<GadgetLabel*>(g.find(QStringLiteral("GadLabel3")));
    ASSERT_NE(label, nullptr);
    t.run("Gadget>GadLabel3>Get Symbol", {"Wingdings,J"});
    EXPECT_EQ(label->caption(), QStringLiteral("J"));
    EXPECT_EQ(label->gadgetFont().name, QStringLiteral("Wingdings"));
    EXPECT_EQ(label->gadgetFont().size, 36);

    t.run("Gadget>GadBut1>Oval>Pen=1...", {"7"});
    EXPECT_EQ(g.buttons.ovalPenWidth, 1);
    t.run("Gadget>GadBut1>Oval>Pen=1...", {"3"});
    EXPECT_EQ(g.buttons.ovalPenWidth, 3);
    EXPECT_EQ(t.w->findChild<QAction*>(QStringLiteral("OvalPen1"))->text(), QStringLiteral("Pen=3..."));

    const TColor high = g.buttons.ovalHighlight, low = g.buttons.ovalShadow;
    t.run("Gadget>GadBut1>Oval>Swap High-Low");
    EXPECT_EQ(g.buttons.ovalHighlight, low);
    t.run("Gadget>GadBut1>Oval>Swap High-Low");
    EXPECT_EQ(g.buttons.ovalHighlight, high);
    EXPECT_EQ(g.buttons.ovalShadow, low);

    t.run("Gadget>gadbut2>Size>Width...", {"100"});
    t.run("Gadget>GadBut2>Size>Height...", {"40"});
    t.run("Gadget>GadBut2>Size>Width...", {"wide"});
    EXPECT_TRUE(t.dialogs->messages().contains(QStringLiteral("invalid integer")));
    t.w->takeFailure();
    t.run("Gadget>GadBut2>Size>Equal Width and Height");
    for (GadgetButton* b : g.allOf<GadgetButton>()) EXPECT_EQ(b->size(), QSize(100, 40)) << b->objectName().toStdString();
}

TEST(GadgetsWindow, ImageSavedByItsExtensionAndAltClickColoursTheFirstLabel) {
    TestWindow t;
    const QString path = t.dir.filePath(QStringLiteral("gadget.jpeg"));
    t.run("Gadget>GadImage2>Save As...", {path});
    EXPECT_TRUE(readAll(path).startsWith("\xFF\xD8"));
    EXPECT_EQ(t.w->statusText(0), QStringLiteral("gadget.jpeg"));

    // Row 9 of the colour list is red.
    t.w->LineColorMouseUp(9, Qt::LeftButton, Qt::AltModifier);
    auto* first = dynamic_cast<GadgetLabel*>(t.w->gadgets().find(QStringLiteral("GadLabel1")));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->gadgetFont().color, clRed);
    EXPECT_EQ(t.w->canvas().pen().color, clBlack);
}

TEST(GadgetsWindow, ImageTakesTheRangeOneToOneInvertsAndPaintsThroughARasterOperation) {
    TestWindow t;
    Bitmap& ws = t.w->workspace();
    for (int y = 0; y < ws.height(); ++y)
        for (int x = 0; x < ws.width(); ++x) ws.setPixel(x, y, rgb(x, y, 77));
    t.w->rangeState().range = Rect{10, 10, 30, 25};
    t.run("Gadget>GadImage1>Load Range");
    GadgetSet& g = t.w->gadgets();
    auto* image = dynamic_cast<GadgetImage*>(g.find(QStringLiteral("GadImage1")));
    ASSERT_NE(image, nullptr);
    const Bitmap& p = image->picture();
    ASSERT_EQ(p.width(), 20);
    ASSERT_EQ(p.height(), 15);
    EXPECT_EQ(p.pixel(0, 0), rgb(10, 10, 77));
    EXPECT_EQ(p.pixel(19, 14), rgb(29, 24, 77));
    EXPECT_EQ(image->size(), QSize(20, 15));

    t.run("Gadget>GadImage1>Invert");
    EXPECT_EQ(p.pixel(0, 0), rgb(255 - 10, 255 - 10, 255 - 77));

    // Painted at (5, 5) on white through source invert; the copy mode is the user's again.
    t.fill(clWhite);
    g.moveTo(*image, Point{5, 5});
    t.run("Gadget>GadImage1>Paint Special>SrcInvert");
    EXPECT_EQ(ws.pixel(5, 5), rgb(10, 10, 77));
    EXPECT_EQ(ws.pixel(4, 4), clWhite);
    EXPECT_EQ(t.w->canvas().copyMode(), cmSrcCopy);

    // The colour under the press that opened the popup becomes the transparent one.
    g.notePress(*image, QPoint(3, 2));
    t.run("Gadget>GadImage1>Capture Transparent Color");
    EXPECT_TRUE(p.transparent);
    EXPECT_EQ(p.transparentColor, p.pixel(3, 2));
}

TEST(GadgetsWindow, ButtonPaintSaveWritesAGifAndAutosizeTextFitsTheCaption) {
    TestWindow t;
    GadgetSet& g = t.w->gadgets();
    auto* b = dynamic_cast<GadgetButton*>(g.find(QStringLiteral("GadBut1")));
    ASSERT_NE(b, nullptr);
    g.moveTo(*b, Point{10, 10});
    t.run("Gadget>GadBut1>Paint Style>PaintSave");
    const QString asked = t.dir.filePath(QStringLiteral("face.bmp"));
    t.run("Gadget>GadBut1>Paint Rect", {asked});
    EXPECT_TRUE(readAll(t.dir.filePath(QStringLiteral("face.gif"))).startsWith("GIF8"));
    EXPECT_FALSE(QFile::exists(asked));
    const Rect r = t.w->rangeState().range;
    EXPECT_EQ((std::array{r.left, r.top, r.right, r.bottom}), (std::array{10, 10, 83, 34}));

    // Too small for any size: nothing changes. Roomy: the largest size that fits, plus margins.
    t.run("Gadget>GadBut1>Size>Height...", {"12"});
    const Font before = b->gadgetFont();
    t.run("Gadget>GadBut1>Size>Autosize Text");
    EXPECT_EQ(b->gadgetFont().size, before.size);
    EXPECT_EQ(b->size(), QSize(73, 12));
    t.run("Gadget>GadBut1>Size>Height...", {"80"});
    t.run("Gadget>GadBut1>Size>Width...", {"300"});
    t.run("Gadget>GadBut1>Size>Autosize Text");
    EXPECT_GT(b->gadgetFont().size, before.size);
    EXPECT_LT(b->height(), 80);
    EXPECT_LT(b->width(), 300);
    EXPECT_EQ(t.w->canvas().font().size, 24);  // the workspace font is left alone
}
