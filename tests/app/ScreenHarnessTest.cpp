#include "harness/ScreenHarness.h"
#include "app/OrvellaApp.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/BusReceiver.h"
#include "core/bus/UserIsActiveEvent.h"
#include "core/bus/UserIsIdleEvent.h"
#include "foundation/Paths.h"
#include "kit/StatusBar.h"
#include "kit/TouchEvent.h"
#include "kit/Window.h"
#include "testing/ManualRunLoop.h"

#include <QDir>

#include <gtest/gtest.h>

#include <string>

namespace {

// Writes the phases its touches reach it in, with the view-local location of each begin.
class HarnessTouchView : public View {
public:
    explicit HarnessTouchView(const Rect& frame) : View(frame) {}
    std::string log;

protected:
    void touchesBegan(const TouchSet& touches, const TouchEvent&) override {
        const Point location = touches.front()->locationInView(this);
        log += "began(" + std::to_string(int(location.x())) + "," + std::to_string(int(location.y())) + ") ";
    }
    void touchesMoved(const TouchSet&, const TouchEvent&) override { log += "moved "; }
    void touchesEnded(const TouchSet&, const TouchEvent&) override { log += "ended "; }
    void touchesCancelled(const TouchSet&, const TouchEvent&) override { log += "cancelled "; }
};

class IdleLog : public BusReceiver {
public:
    IdleLog() {
        auto& bus = ApplicationEventDispatcher::sharedInstance();
        bus.registerTarget<UserIsIdleEvent>(this, &IdleLog::idle);
        bus.registerTarget<UserIsActiveEvent>(this, &IdleLog::active);
    }
    void idle() { log += "idle "; }
    void active() { log += "active "; }
    std::string log;
};

std::shared_ptr<HarnessTouchView> launchWithTouchArea(ScreenHarness& harness) {
    auto root = std::make_shared<View>();
    auto area = std::make_shared<HarnessTouchView>(Rect(20, 50, 100, 100));
    root->addSubview(area);
    harness.launch(root);
    return area;
}

TEST(ScreenHarnessTest, AssemblesTheApplicationInATemporaryFolder) {
    QString folder;
    {
        ScreenHarness harness;
        folder = harness.dataDirectory();
        EXPECT_EQ(Paths::dataDirectory(), folder);
        launchWithTouchArea(harness);
        EXPECT_TRUE(harness.window().isKeyWindow());
        EXPECT_EQ(harness.loop().now(), ScreenHarness::Options().now);
        EXPECT_EQ(harness.window().statusBar()->timeText(), QString::fromUtf16(u"10:00\u202fAM"));
    }
    EXPECT_FALSE(QDir(folder).exists());
    // Without asking for the folder, which would make the real one in the home folder.
    EXPECT_FALSE(Paths::isDataDirectoryOverridden());
}

TEST(ScreenHarnessTest, TouchesReachTheViewUnderThemThroughTheApplication) {
    ScreenHarness harness;
    auto area = launchWithTouchArea(harness);
    // The root content starts below the 20-point status bar.
    harness.drag(Point(30, 80), Point(60, 90), 0.3, 3);
    EXPECT_EQ(area->log, "began(10,10) moved moved moved ended ");
    area->log.clear();
    harness.tap(Point(5, 300));
    EXPECT_EQ(area->log, "");
}

TEST(ScreenHarnessTest, TouchesThatBeginOrEndKeepTheUserActive) {
    ScreenHarness harness;
    IdleLog bus;
    launchWithTouchArea(harness);
    harness.advance(9);
    harness.touchDown(Point(50, 100));
    harness.advance(9);
    harness.touchMove(Point(55, 100)); // a move does not count
    harness.advance(0.5);
    EXPECT_EQ(bus.log, "");
    harness.advance(0.5);
    EXPECT_EQ(bus.log, "idle "); // ten seconds after the touch began, though the finger is down
    harness.touchUp(Point(55, 100));
    EXPECT_EQ(bus.log, "idle active ");
    harness.advance(10);
    EXPECT_EQ(bus.log, "idle active idle ");
    EXPECT_TRUE(harness.application().idle());
}

TEST(ScreenHarnessTest, RendersTheWholeWindowAtTheScreenScale) {
    ScreenHarness::Options options;
    options.scale = 1.0;
    ScreenHarness harness(options);
    auto root = std::make_shared<View>();
    root->setBackgroundColor(Color(1, 0, 0));
    harness.launch(root);
    const Image image = harness.render();
    EXPECT_EQ(image.pixelWidth(), 320);
    EXPECT_EQ(image.pixelHeight(), 480);
    EXPECT_EQ(image.pixelColor(160, 300), Color(1, 0, 0));
    EXPECT_NE(image.pixelColor(160, 10), Color(1, 0, 0)); // the status bar
    EXPECT_TRUE(harness.savePng(QDir(harness.dataDirectory()).filePath("window.png")));
}

} // namespace
