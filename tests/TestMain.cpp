#include <QCoreApplication>
#ifdef ORVELLA_TESTS_NEED_GUI
#include <QApplication>
#endif

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Fonts and text drawing need the GUI application, and the text field's line edit a widget
    // application; the other programs run without one.
#ifdef ORVELLA_TESTS_NEED_GUI
    // Tests draw off screen; test discovery at build time runs without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
#else
    QCoreApplication application(argc, argv);
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
