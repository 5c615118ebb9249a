#include "app/LaunchOptions.h"
#include "app/OrvellaApp.h"
#include "app/OrvellaAppDelegate.h"
#include "foundation/Paths.h"
#include "foundation/RunLoop.h"
#include "kit/Animator.h"
#include "kit/DeviceDependentValues.h"
#include "kit/Image.h"
#include "kit/NavigationController.h"
#include "kit/Screen.h"
#include "kit/Window.h"
#include "kit/WindowHost.h"
#include "ui/hints/HintView.h"
#include "ui/week/WeekScrollViewController.h"

#include <QApplication>
#include <QTextStream>

#include <cstdlib>
#include <utility>

namespace {

// Without a display a screenshot still works: Qt then draws off screen.
void useOffscreenPlatformWithoutDisplay(int argc, char** argv) {
    bool screenshot = false;
    for (int i = 1; i < argc; ++i) {
        screenshot = screenshot || QByteArray(argv[i]).startsWith("--screenshot");
    }
    if (screenshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

// Draws the window once the content is loaded and nothing moves any more, then quits. Whether
// that is so is asked after each change of the window: content arriving and every animation
// frame ask the window to be drawn again.
void takeScreenshotWhenReady(const std::shared_ptr<Window>& window, OrvellaAppDelegate& delegate,
                             const QString& path) {
    auto checkPosted = std::make_shared<bool>(false);
    const std::weak_ptr<Window> weakWindow = window;
    auto check = [weakWindow, &delegate, path, checkPosted] {
        *checkPosted = false;
        const std::shared_ptr<Window> shown = weakWindow.lock();
        if (!shown || (delegate.isContentLoaded && !delegate.isContentLoaded()) ||
            Animator::hasEndingAnimations()) {
            return;
        }
        shown->setOnNeedsDisplay(nullptr);
        const bool saved = shown->savePng(path, Screen::main().scale());
        if (!saved) {
            QTextStream(stderr) << "orvella: could not write the screenshot to " << path << "\n";
        }
        QCoreApplication::exit(saved ? 0 : 1);
    };
    // The check waits for the end of the current turn, when the change is complete.
    auto postCheck = [check, checkPosted] {
        if (!std::exchange(*checkPosted, true)) {
            RunLoop::main().post(check);
        }
    };
    window->setOnNeedsDisplay(postCheck);
    postCheck();
}

} // namespace

int main(int argc, char** argv) {
    useOffscreenPlatformWithoutDisplay(argc, argv);
    QApplication qtApplication(argc, argv);
    QTextStream err(stderr);

    const Paths::CommandLine commandLine = Paths::applyCommandLine(qtApplication.arguments());
    if (!commandLine.error.isEmpty()) {
        err << "orvella: " << commandLine.error << "\n";
        return 2;
    }
    const LaunchOptions options = LaunchOptions::parse(commandLine.arguments);
    if (!options.error.isEmpty()) {
        err << "orvella: " << options.error << "\n";
        return 2;
    }

    Screen::main().setScale(options.scale);
    Screen::main().setIdiom(options.tablet ? Screen::Idiom::Tablet : Screen::Idiom::Phone);
    DeviceDependentValues::initValues();

    OrvellaApp application;
    auto window = std::make_shared<Window>();
    // The week screen lives for the whole run, at the bottom of the navigation stack.
    const std::shared_ptr<WeekScrollViewController> weekScreen = WeekScrollViewController::create();
    auto navigation = std::make_shared<NavigationController>(weekScreen);
    OrvellaAppDelegate delegate(window, navigation);
    delegate.isContentLoaded = [weekScreen] { return weekScreen->firstWeekLoaded(); };
    HintView::install();
    application.setDelegate(&delegate);
    application.finishLaunching();

    if (!options.screenshotPath.isEmpty()) {
        application.becomeActive();
        takeScreenshotWhenReady(window, delegate, options.screenshotPath);
        return qtApplication.exec();
    }
    WindowHost host(window, application);
    host.show();
    return qtApplication.exec();
}
