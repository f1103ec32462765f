// Help > Contents opens the help viewer at the contents; help that is not installed is a
// message that says where it was looked for, and no window.
#include <gtest/gtest.h>

#include "WindowFixture.h"
#include "ui/HelpViewer.h"
#include "workspace/SecondaryWindows.h"

using namespace pixoral;

TEST(HelpWindow, ContentsOpensTheViewerAtTheContentsOrSaysThePagesAreMissing) {
    {
        TestWindow f;
        f.run("Help>Contents");
        HelpViewer* help = f.w->windows().helpViewer();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->currentFile(), "index.html");
        EXPECT_TRUE(f.dialogs->messages().isEmpty());
    }
    {
        TestWindowSetup setup;
        setup.helpFolder = QStringLiteral("/nonexistent/help");
        TestWindow f(setup);
        f.run("Help>Contents");
        EXPECT_EQ(f.w->windows().helpViewer(), nullptr);
        ASSERT_EQ(f.dialogs->messages().size(), 1);
        EXPECT_TRUE(f.dialogs->messages()[0].contains("/nonexistent/help/index.html"));
    }
}
