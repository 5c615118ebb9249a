#include "kit/ViewController.h"
#include "TouchTestSupport.h"
#include "kit/NavigationItem.h"
#include "kit/Window.h"

#include <gtest/gtest.h>

namespace {

// Writes every lifecycle hook into a shared log as "name:hook".
class SpyViewController : public ViewController {
public:
    SpyViewController(QString name, QStringList& log) : m_name(std::move(name)), m_log(log) {}

    void viewWillAppear(bool animated) override { record("willAppear", animated); }
    void viewDidAppear(bool animated) override { record("didAppear", animated); }
    void viewWillDisappear(bool animated) override { record("willDisappear", animated); }
    void viewDidDisappear(bool animated) override { record("didDisappear", animated); }
    bool shouldAutorotateToInterfaceOrientation(int orientation) override {
        m_log.append(m_name + QStringLiteral(":should%1").arg(orientation));
        return allowsLandscape || orientation == 1;
    }
    void willRotateToInterfaceOrientation(int orientation, double) override {
        m_log.append(m_name + QStringLiteral(":willRotate%1").arg(orientation));
    }
    void willAnimateRotationToInterfaceOrientation(int orientation, double) override {
        m_log.append(m_name + QStringLiteral(":willAnimate%1").arg(orientation));
    }
    void didRotateFromInterfaceOrientation(int from) override {
        m_log.append(m_name + QStringLiteral(":didRotate%1").arg(from));
    }

    int loads = 0;
    int unloads = 0;
    bool allowsLandscape = false;

protected:
    void loadView() override {
        setView(std::make_shared<View>(Rect(0, 0, 320, 460)));
        view()->setTag(loads + 100);
    }
    void viewDidLoad() override { ++loads; }
    void viewDidUnload() override { ++unloads; }

private:
    void record(const char* hook, bool animated) {
        m_log.append(m_name + QLatin1Char(':') + QLatin1String(hook) +
                     (animated ? QStringLiteral("*") : QString()));
    }

    QString m_name;
    QStringList& m_log;
};

class ViewControllerTest : public ManualMainLoop, public ::testing::Test {
protected:
    std::shared_ptr<SpyViewController> make(const QString& name) {
        return std::make_shared<SpyViewController>(name, m_log);
    }
    QString log() const { return m_log.join(QLatin1Char(' ')); }
    void advance(double seconds) { m_loop->advance(seconds); }

    QStringList m_log;
    std::shared_ptr<Window> window = std::make_shared<Window>();
};

TEST_F(ViewControllerTest, loadsItsViewOnFirstAccessOnly) {
    auto controller = make("a");
    EXPECT_FALSE(controller->isViewLoaded());
    EXPECT_EQ(controller->loads, 0);
    const auto view = controller->view();
    EXPECT_TRUE(controller->isViewLoaded());
    EXPECT_EQ(controller->loads, 1);
    EXPECT_EQ(controller->view(), view);
    EXPECT_EQ(controller->loads, 1);
    EXPECT_EQ(view->tag(), 100);
}

TEST_F(ViewControllerTest, plainControllerMakesAViewBelowTheStatusBarSize) {
    auto controller = std::make_shared<ViewController>();
    EXPECT_EQ(controller->view()->bounds().size(), Size(320, 460));
}

TEST_F(ViewControllerTest, memoryWarningUnloadsOnlyAViewOutsideAnyTree) {
    auto onScreen = make("on");
    auto offScreen = make("off");
    window->addSubview(onScreen->view());
    offScreen->view();
    ViewController::sendMemoryWarningToAll();
    EXPECT_TRUE(onScreen->isViewLoaded());
    EXPECT_EQ(onScreen->unloads, 0);
    EXPECT_FALSE(offScreen->isViewLoaded());
    EXPECT_EQ(offScreen->unloads, 1);
    // The next access loads it again.
    EXPECT_EQ(offScreen->view()->tag(), 101);
    EXPECT_EQ(offScreen->loads, 2);
}

TEST_F(ViewControllerTest, memoryWarningLeavesAnUnloadedControllerAlone) {
    auto controller = make("a");
    controller->didReceiveMemoryWarning();
    EXPECT_EQ(controller->unloads, 0);
    EXPECT_FALSE(controller->isViewLoaded());
}

TEST_F(ViewControllerTest, titleIsTheNavigationItemTitle) {
    auto controller = make("a");
    controller->setTitle(QStringLiteral("Settings"));
    EXPECT_EQ(controller->navigationItem()->title(), QStringLiteral("Settings"));
    controller->navigationItem()->setTitle(QStringLiteral("Other"));
    EXPECT_EQ(controller->title(), QStringLiteral("Settings"));
}

TEST_F(ViewControllerTest, appearanceTransitionsRunOnceEach) {
    auto controller = make("a");
    controller->beginAppearanceTransition(true, true);
    controller->beginAppearanceTransition(true, true);
    controller->endAppearanceTransition();
    controller->endAppearanceTransition();
    controller->beginAppearanceTransition(false, false);
    controller->endAppearanceTransition();
    EXPECT_EQ(log(), QStringLiteral("a:willAppear* a:didAppear* a:willDisappear a:didDisappear"));
}

TEST_F(ViewControllerTest, rootControllerFillsTheApplicationFrameAndAppears) {
    auto root = make("root");
    root->installAsRootViewController(*window);
    EXPECT_EQ(window->rootView(), root->view());
    EXPECT_EQ(root->view()->frame(), Rect(0, 20, 320, 460));
    EXPECT_EQ(log(), QStringLiteral("root:willAppear root:didAppear"));
    EXPECT_EQ(root->interfaceOrientation(), 1);
}

TEST_F(ViewControllerTest, rotationReportsReachTheRootController) {
    auto root = make("root");
    root->installAsRootViewController(*window);
    m_log.clear();
    EXPECT_FALSE(window->rotateToOrientation(3));
    EXPECT_EQ(log(), QStringLiteral("root:should3"));
    m_log.clear();
    root->allowsLandscape = true;
    EXPECT_TRUE(window->rotateToOrientation(3));
    EXPECT_EQ(log(), QStringLiteral("root:should3 root:willRotate3 root:willAnimate3"));
    advance(0.3);
    EXPECT_EQ(log(), QStringLiteral("root:should3 root:willRotate3 root:willAnimate3 root:didRotate1"));
    EXPECT_EQ(root->interfaceOrientation(), 3);
    EXPECT_EQ(root->view()->frame(), Rect(0, 20, 480, 300));
}

} // namespace
