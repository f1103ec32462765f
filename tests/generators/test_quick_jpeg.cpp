// Quick JPEG: the compressed size and the decoded preview at each quality, greyscale, and the
// name "Save" writes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "canvas/Canvas.h"
#include "generators/JpegPreview.h"

using namespace pixoral;
using namespace pixoral::generators;

namespace {

// Smooth colour ramps with a few hard edges, so every quality loses something different.
Bitmap sample() {
    Bitmap b(96, 64);
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            b.setPixel(x, y, rgb(x * 255 / 95, y * 4, ((x / 8 + y / 8) % 2) * 200));
    return b;
}

long long errorOf(const Bitmap& a, const Bitmap& b) {
    long long e = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const TColor p = a.pixel(x, y), q = b.pixel(x, y);
            e += std::abs(getRValue(p) - getRValue(q)) + std::abs(getGValue(p) - getGValue(q)) +
                 std::abs(getBValue(p) - getBValue(q));
        }
    return e;
}

}  // namespace

TEST(QuickJpeg, HigherQualityGivesALargerStreamAndACloserPreview) {
    const Bitmap image = sample();
    const int qualities[] = {kJpegQualityMin, kJpegPreviewQuality, 50, 90, kJpegQualityMax};
    qsizetype lastSize = 0;
    long long lastError = -1;
    for (int q : qualities) {
        JpegPreview p;
        QString error;
        ASSERT_TRUE(compressJpeg(image, q, false, &p, &error)) << error.toStdString();
        ASSERT_EQ(p.picture.width(), image.width());
        ASSERT_EQ(p.picture.height(), image.height());
        const long long e = errorOf(image, p.picture);
        EXPECT_GT(p.stream.size(), lastSize) << q;
        if (lastError >= 0) {
            EXPECT_LT(e, lastError) << q;
        }
        lastSize = p.stream.size();
        lastError = e;
    }
}

TEST(QuickJpeg, GrayscalePreviewHasNoColour) {
    JpegPreview p;
    QString error;
    ASSERT_TRUE(compressJpeg(sample(), 75, true, &p, &error)) << error.toStdString();
    for (int y = 0; y < p.picture.height(); ++y)
        for (int x = 0; x < p.picture.width(); ++x) {
            const TColor c = p.picture.pixel(x, y);
            ASSERT_TRUE(getRValue(c) == getGValue(c) && getGValue(c) == getBValue(c)) << x << "," << y;
        }
}

TEST(QuickJpeg, SaveNameTakesTheJpgExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/tmp/picture.jpeg", "/tmp/picture.jpg"}, {"/tmp/picture.JPG", "/tmp/picture.jpg"},
        {"/tmp/scan.bmp", "/tmp/scan.jpg"},        {"/tmp/notes", "/tmp/notes.jpg"},
        {"/tmp/v1.2/notes", "/tmp/v1.2/notes.jpg"}, {"a.b.c", "a.b.jpg"},
    };
    for (const auto& [chosen, written] : cases) EXPECT_EQ(jpegSaveName(QString::fromLatin1(chosen)), written) << chosen;
}
