#include <QApplication>
#include <gtest/gtest.h>

// Every test program gets a QApplication on the offscreen platform, so GUI
// and non-GUI tests share one main.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
