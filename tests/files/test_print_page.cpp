// The print layout: the scale steps of "+" and "-", and the preview page at one fifth.
#include <QImage>
#include <gtest/gtest.h>

#include "files/PrintPage.h"

using namespace pixoral;

namespace {

TEST(PrintPage, ScaleStepsArePowersOfTwo) {
    const struct {
        int scale, plus, minus;
    } cases[] = {{1, 2, 1}, {2, 4, 1}, {8, 16, 4}, {kPrintScaleMax, kPrintScaleMax, kPrintScaleMax / 2}};
    for (const auto& c : cases) {
        EXPECT_EQ(doubledPrintScale(c.scale), c.plus) << c.scale;
        EXPECT_EQ(halvedPrintScale(c.scale), c.minus) << c.scale;
    }
}

// A 256 by 256 black picture at scale 2 on a 2480 by 3505 page: the preview is 496 by 701
// with the picture over (10, 10) .. (112, 112), 256·2 div 5 = 102 pixels.
TEST(PrintPage, PreviewShowsThePageAtOneFifth) {
    QImage picture(256, 256, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const QImage page = previewPage(QSize(2480, 3505), picture, 2);
    ASSERT_EQ(page.size(), QSize(496, 701));
    EXPECT_EQ(printRect(256, 256, 2), (Rect{10, 10, 522, 522}));
    const struct {
        int x, y;
        QRgb c;
    } probes[] = {{9, 9, 0xFFFFFF}, {10, 10, 0}, {111, 111, 0}, {112, 111, 0xFFFFFF}, {111, 112, 0xFFFFFF}};
    for (const auto& p : probes) EXPECT_EQ(page.pixel(p.x, p.y) & 0xFFFFFF, p.c) << p.x << "," << p.y;
}

}  // namespace
