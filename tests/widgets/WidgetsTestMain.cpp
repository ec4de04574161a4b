// The widget tests need an application object before the first widget exists.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Also when ctest lists the cases, which it does without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
