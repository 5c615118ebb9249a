#include "app/LaunchOptions.h"
#include "app/OrvellaApp.h"
#include "app/OrvellaAppDelegate.h"
#include "foundation/Paths.h"
#include "kit/Animator.h"
#include "kit/DeviceDependentValues.h"
#include "kit/Image.h"
#include "kit/NavigationBar.h"
#include "kit/Screen.h"
#include "kit/Window.h"
#include "kit/WindowHost.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

#include <cstdlib>

namespace {

// The content below the status bar until the week screen takes its place: an empty navigation
// bar over the screen's background.
std::shared_ptr<View> makeRootContent() {
    auto root = std::make_shared<View>(Rect(0, 0, 320, 460));
    root->setBackgroundColor(Color::fromRgb255(197, 204, 212));
    auto bar = std::make_shared<NavigationBar>();
    root->addSubview(bar);
    return root;
}

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

// Draws the window once the content is loaded and nothing moves any more, then quits.
void takeScreenshotWhenReady(const std::shared_ptr<Window>& window, OrvellaAppDelegate& delegate,
                             const QString& path) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [window, &delegate, path, poll] {
        if ((delegate.isContentLoaded && !delegate.isContentLoaded()) || Animator::hasEndingAnimations()) {
            return;
        }
        poll->stop();
        const bool saved = window->savePng(path, Screen::main().scale());
        if (!saved) {
            QTextStream(stderr) << "orvella: could not write the screenshot to " << path << "\n";
        }
        QCoreApplication::exit(saved ? 0 : 1);
    });
    poll->start();
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
    OrvellaAppDelegate delegate(window, makeRootContent());
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
