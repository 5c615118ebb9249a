#include <QCoreApplication>
#ifdef ORVELLA_TESTS_NEED_GUI
#include <QGuiApplication>
#endif

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Fonts and text drawing need the GUI application; the other programs run without one.
#ifdef ORVELLA_TESTS_NEED_GUI
    // Tests never show a window; listing them at build time runs without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
#else
    QCoreApplication application(argc, argv);
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
