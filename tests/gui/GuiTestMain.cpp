#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

// The window tests need a QApplication; without a display they draw off screen. Test discovery runs this
// program too, before CTest's environment applies, hence the default here.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
