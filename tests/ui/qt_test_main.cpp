#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// GUI tests run without a display: test discovery at build time does not get
// ctest's environment, so pick the offscreen platform here when none is set.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
