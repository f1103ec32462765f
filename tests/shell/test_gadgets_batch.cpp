// End-to-end: a gadget shown from the menu, captioned, dragged into the image by name and
// painted through its popup path, in the real executable's batch mode.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "BatchProcess.h"

#include "canvas/Bitmap.h"
#include "../common/TestSupport.h"

using namespace pixoral;

TEST(GadgetsBatch, LabelDraggedByNameAndPaintedIntoTheImage) {
    QTemporaryDir dir;
    const QString out = dir.filePath("out.bmp");
    // Pressed 10 right of and 10 below the label's corner at (281, 121), released at (30, 40):
    // the label's corner ends at (20, 30).
    const BatchOutcome r = runBatch({"--do", "Gadgets>Labels>GadLabel1", "--set", "TPixoralF.gadlabel1=Hi|there",
                                     "--drag", "GADLABEL1:291,131:120,100:30,40", "--do", "Gadget>GadLabel1>Paint",
                                     "--save", out},
                                    dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    Bitmap image;
    ASSERT_TRUE(image.loadFromFile(out));
    const PixelBox ink = boundsOf(image, [](TColor c) { return c != clWhite; });
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.left, 24);
    EXPECT_GE(ink.top, 30);
    // Two lines.
    EXPECT_GT(ink.bottom - ink.top, 30);

    const BatchOutcome unknown = runBatch({"--drag", "GadLabel9:1,1:5,5"}, dir.path());
    EXPECT_EQ(unknown.code, 2);
    EXPECT_TRUE(unknown.err.contains("no gadget GadLabel9")) << unknown.err.toStdString();
}
