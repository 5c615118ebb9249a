#include "kit/Application.h"
#include "kit/InterfaceOrientation.h"
#include "kit/StatusBar.h"
#include "kit/Window.h"
#include "testing/ManualRunLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes every report to one log, so that tests compare the order.
class RecordingAppDelegate : public ApplicationDelegate {
public:
    bool didFinishLaunching(Application&) override {
        log += "launched ";
        return true;
    }
    void didBecomeActive(Application&) override { log += "active "; }
    void willResignActive(Application&) override { log += "resign "; }
    void didEnterBackground(Application&) override { log += "background "; }
    void willEnterForeground(Application&) override { log += "foreground "; }

    std::string log;
};

class RecordingRotationHandler : public RotationHandler {
public:
    bool shouldAutorotateToInterfaceOrientation(int orientation) override {
        log += "should" + std::to_string(orientation) + " ";
        return allowed && (landscapeAllowed || !Window::isLandscapeOrientation(orientation));
    }
    void willRotateToInterfaceOrientation(int orientation, double duration) override {
        log += "will" + std::to_string(orientation) + "(" + std::to_string(int(duration * 10)) + ") ";
    }
    void willAnimateRotationToInterfaceOrientation(int orientation, double) override {
        log += "animate" + std::to_string(orientation) + " ";
        boundsDuringAnimation = window->bounds();
    }
    void didRotateFromInterfaceOrientation(int from) override { log += "did" + std::to_string(from) + " "; }

    Window* window = nullptr;
    bool allowed = true;
    bool landscapeAllowed = true;
    Rect boundsDuringAnimation;
    std::string log;
};

TEST(ApplicationLifecycleTest, ReportsFollowThePlatformOrder) {
    Application application;
    RecordingAppDelegate delegate;
    application.setDelegate(&delegate);
    EXPECT_EQ(Application::shared(), &application);

    application.becomeActive(); // not launched yet: nothing
    application.finishLaunching();
    application.becomeActive();
    application.becomeActive(); // already active: nothing
    application.resignActive();
    application.becomeActive();
    application.enterBackground(); // while active: resigns first
    application.enterBackground();
    application.becomeActive(); // from the background: foreground first
    EXPECT_EQ(delegate.log, "launched active resign active resign background foreground active ");
    EXPECT_EQ(application.state(), Application::State::Active);
}

TEST(ApplicationLifecycleTest, TheSharedApplicationIsTheLiveOne) {
    {
        Application application;
        EXPECT_EQ(Application::shared(), &application);
    }
    EXPECT_EQ(Application::shared(), nullptr);
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        RunLoop::setMain(m_loop);
        m_handler.window = m_window.get();
    }
    void TearDown() override {
        m_window.reset();
        m_loop->runUntilIdle();
        RunLoop::setMain(nullptr);
    }

    std::shared_ptr<ManualRunLoop> m_loop = std::make_shared<ManualRunLoop>();

    Application m_application;
    std::shared_ptr<Window> m_window = std::make_shared<Window>();
    RecordingRotationHandler m_handler;
};

TEST_F(WindowTest, RootViewFillsTheAreaBelowTheStatusBarBehindIt) {
    auto root = std::make_shared<View>();
    m_window->setRootView(root);
    m_window->makeKeyAndVisible();
    m_window->layoutIfNeeded();
    EXPECT_TRUE(m_window->isKeyWindow());
    EXPECT_EQ(m_application.keyWindow(), m_window.get());
    EXPECT_EQ(m_window->statusBar()->frame(), Rect(0, 0, 320, 20));
    EXPECT_EQ(root->frame(), Rect(0, 20, 320, 460));
    EXPECT_EQ(m_window->subviews().front(), root);
}

TEST_F(WindowTest, RotationCallsComeInThePlatformOrderAroundTheNewGeometry) {
    auto root = std::make_shared<View>();
    m_window->setRootView(root);
    m_window->setRotationHandler(&m_handler);
    ASSERT_TRUE(m_window->rotateToOrientation(InterfaceOrientation::LandscapeRight));
    EXPECT_EQ(m_handler.log, "should3 will3(3) animate3 ");
    m_loop->advance(0.29);
    EXPECT_EQ(m_handler.log, "should3 will3(3) animate3 ");
    m_loop->advance(0.01);
    EXPECT_EQ(m_handler.log, "should3 will3(3) animate3 did1 ");
    EXPECT_EQ(m_handler.boundsDuringAnimation, Rect(0, 0, 480, 320));
    m_window->layoutIfNeeded();
    EXPECT_EQ(root->frame(), Rect(0, 20, 480, 300));
    EXPECT_EQ(m_window->statusBar()->frame(), Rect(0, 0, 480, 20));
    EXPECT_EQ(m_window->orientation(), InterfaceOrientation::LandscapeRight);

    m_handler.log.clear();
    ASSERT_TRUE(m_window->rotateToOrientation(InterfaceOrientation::LandscapeLeft));
    m_loop->advance(0.6);
    EXPECT_EQ(m_handler.log, "should4 will4(6) animate4 did3 ");
}

TEST_F(WindowTest, ARefusedOrientationChangesNothing) {
    m_window->setRotationHandler(&m_handler);
    m_handler.allowed = false;
    EXPECT_FALSE(m_window->rotateToOrientation(InterfaceOrientation::LandscapeLeft));
    EXPECT_EQ(m_handler.log, "should4 ");
    EXPECT_EQ(m_window->bounds(), Rect(0, 0, 320, 480));
    EXPECT_FALSE(m_window->rotateToOrientation(InterfaceOrientation::Portrait)); // already
    EXPECT_FALSE(m_window->rotateToOrientation(7));
}

TEST_F(WindowTest, AskedAgainTheWindowGoesUprightAndBackToTheDevicesOrientation) {
    std::vector<Size> shapes;
    m_window->setOnOrientationChanged([&] { shapes.push_back(m_window->bounds().size()); });
    m_window->setRotationHandler(&m_handler);
    ASSERT_TRUE(m_window->rotateToOrientation(InterfaceOrientation::LandscapeLeft));
    EXPECT_FALSE(m_window->attemptRotationToDeviceOrientation()); // nothing changed

    m_handler.landscapeAllowed = false;
    EXPECT_TRUE(m_window->attemptRotationToDeviceOrientation());
    EXPECT_EQ(m_window->orientation(), InterfaceOrientation::Portrait);
    EXPECT_EQ(m_window->deviceOrientation(), InterfaceOrientation::LandscapeLeft);
    EXPECT_FALSE(m_window->attemptRotationToDeviceOrientation());

    m_handler.landscapeAllowed = true;
    m_handler.log.clear();
    EXPECT_TRUE(m_window->attemptRotationToDeviceOrientation());
    EXPECT_EQ(m_handler.log, "should4 will4(3) animate4 ");
    EXPECT_EQ(shapes, (std::vector<Size>{Size(480, 320), Size(320, 480), Size(480, 320)}));
}

TEST_F(WindowTest, WithoutAHandlerEveryOrientationIsAllowed) {
    EXPECT_TRUE(m_window->rotateToOrientation(InterfaceOrientation::LandscapeLeft));
    EXPECT_EQ(m_window->bounds().size(), Size(480, 320));
}

} // namespace
