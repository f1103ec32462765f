// Quick Graph driven through the main window: the menu row, the controls under their names,
// the presets file and the way of the picture into the workspace.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "generators/TGraphF.h"
#include "ui/ColorGrid.h"
#include "ui/HelpViewer.h"
#include "WindowFixture.h"
#include "workspace/SecondaryWindows.h"

using namespace pixoral;

namespace {

struct GraphWindow : TestWindow {
    GraphWindow()
        : TestWindow({true, true, [](const QString& folder) {
                          writeAll(folder + "GraphPresets.tip", "Line=T*0~~T*50~~-1~~1~~0.1~~0\n");
                      }}) {}
    generators::TGraphF& graph() { return *w->windows().quickGraph(); }
    template <class T>
    T* control(const char* name) {
        T* c = graph().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void click(const char* name) { control<QToolButton>(name)->click(); }
    void popup(const char* name, const QStringList& answers = {}) {
        for (const QString& a : answers) dialogs->pushAnswer(a);
        control<QAction>(name)->trigger();
        EXPECT_TRUE(dialogs->pendingAnswers().empty()) << name;
    }
    QByteArray presetFile() { return readAll(dir.filePath("GraphPresets.tip")); }
};

}  // namespace

TEST(QuickGraphWindow, MenuOpensTheWindowGoDrawsAndCopyPastesIntoTheWorkspace) {
    GraphWindow f;
    f.run("Image>Quick>Quick Graph");
    ASSERT_TRUE(f.graph().isVisible());
    EXPECT_TRUE(allPixels(f.graph().picture(), clWhite));

    f.control<QLineEdit>("func1")->setText("SIN(T)*50");
    f.control<QLineEdit>("func2")->setText("T*20");
    f.control<QComboBox>("Limits")->setCurrentIndex(1);  // -p..+p: fills the constants, draws nothing
    EXPECT_EQ(f.control<QLineEdit>("F1step")->text(), "0.03");
    EXPECT_TRUE(allPixels(f.graph().picture(), clWhite));
    f.control<QComboBox>("penwidth")->setCurrentIndex(2);
    f.control<QCheckBox>("doAxis")->click();
    f.click("goGraph");
    EXPECT_EQ(boundsOf(f.graph().picture(), clBlack), (PixelBox{64, 77, 192, 179}));  // a pen 3 wide
    EXPECT_EQ(f.graph().picture().pixel(128, 5), clSilver);

    // Enter puts the value at the last t in place of the expression.
    QTest::keyClick(f.control<QLineEdit>("func2"), Qt::Key_Return);
    EXPECT_NEAR(f.control<QLineEdit>("func2")->text().toDouble(), 3.128 * 20, 1e-9);

    // A right click on red makes it the back colour and clears the picture with it.
    auto* grid = f.control<ColorGrid>("ColorGrid1");
    QTest::mouseClick(grid, Qt::RightButton, {}, grid->cellRect(9).center());
    EXPECT_TRUE(allPixels(f.graph().picture(), clRed));

    f.click("goGraph");
    f.click("goCopy");
    f.run("Edit>Paste from Clipboard");
    EXPECT_TRUE(samePixels(f.w->workspace(), f.graph().picture()));
    EXPECT_TRUE(f.dialogs->messages().isEmpty());

    f.dialogs->pushAnswer(f.dir.filePath("graph"));
    f.click("goSave");
    Bitmap saved;
    ASSERT_TRUE(saved.loadFromFile(f.dir.filePath("graph.bmp")));
    EXPECT_TRUE(samePixels(saved, f.graph().picture()));
}

TEST(QuickGraphWindow, PresetsDrawWhenPickedAndAddRefusesWhatTheFileCannotHold) {
    GraphWindow f;
    f.run("Image>Quick>Quick Graph");
    f.control<QComboBox>("Presets")->setCurrentIndex(0);
    EXPECT_EQ(f.control<QLineEdit>("func2")->text(), "T*50");
    EXPECT_EQ(boundsOf(f.graph().picture(), clBlack), (PixelBox{78, 128, 177, 128}));

    f.popup("AddGraph1", {"Circle"});
    f.popup("AddGraph1", {"line"});
    EXPECT_EQ(f.dialogs->messages(), QStringList{"line allready exists"});
    f.control<QLineEdit>("func1")->setText("T~~2");
    f.popup("AddGraph1");  // refused before the name is asked
    EXPECT_EQ(f.dialogs->messages().size(), 2);
    EXPECT_EQ(f.presetFile(), "Circle=T*0~~T*50~~-1~~1~~0.1~~0\nLine=T*0~~T*50~~-1~~1~~0.1~~0\n");

    f.control<QLineEdit>("F1step")->setText("0");
    f.click("goGraph");
    EXPECT_EQ(f.dialogs->messages().last(), "Error in Constants");

    f.click("goHelp");
    HelpViewer* help = f.w->windows().helpViewer();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentFile(), "quick-graph.html");
    f.click("goAbout");
    EXPECT_TRUE(f.dialogs->messages().last().startsWith("Pixoral Quick Graph"));
}
