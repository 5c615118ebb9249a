#include <QCoreApplication>
#ifdef ORVELLA_TESTS_NEED_GUI
#include <QApplication>
#endif

#include <gtest/gtest.h>

#if defined(__SANITIZE_THREAD__)
// Qt and GLib are not built with ThreadSanitizer, so it cannot see how they hand data from one of
// their threads to another (Qt Network runs HTTP on a thread of its own); races inside them are
// left out.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so.6\nrace:libQt6Network.so.6\nrace:libglib-2.0.so.0\n";
}
#endif

int main(int argc, char** argv) {
    // Fonts, text drawing and the desktop window need the widgets application; the other programs run without
    // one.
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
