#include <QApplication>
#include <gtest/gtest.h>

// Windows are built offscreen unless a platform is chosen, so the test cases can also be
// listed on a machine without a display.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
