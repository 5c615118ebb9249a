#include "TouchTestSupport.h"
#include "kit/NavigationController.h"
#include "kit/StatusBar.h"
#include "kit/ViewController.h"
#include "kit/Window.h"

#include "SamplePictures.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

// Writes the appearance and rotation hooks into a shared log as "name:hook" ("*" = animated).
class ModalSpy : public ViewController {
public:
    ModalSpy(QString name, QStringList& log) : m_name(std::move(name)), m_log(log) { setTitle(m_name); }

    void viewWillAppear(bool animated) override { record("willAppear", animated); }
    void viewDidAppear(bool animated) override { record("didAppear", animated); }
    void viewWillDisappear(bool animated) override { record("willDisappear", animated); }
    void viewDidDisappear(bool animated) override { record("didDisappear", animated); }
    bool shouldAutorotateToInterfaceOrientation(int orientation) override {
        m_log.append(m_name + QStringLiteral(":should%1").arg(orientation));
        return allowsLandscape || orientation == 1;
    }
    void willAnimateRotationToInterfaceOrientation(int orientation, double) override {
        m_log.append(m_name + QStringLiteral(":willAnimate%1").arg(orientation));
    }

    bool allowsLandscape = true;
    int unloads = 0;

protected:
    void viewDidUnload() override { ++unloads; }

private:
    void record(const char* hook, bool animated) {
        m_log.append(m_name + QLatin1Char(':') + QLatin1String(hook) +
                     (animated ? QStringLiteral("*") : QString()));
    }

    QString m_name;
    QStringList& m_log;
};

class ModalPresentationTest : public ManualMainLoop, public ::testing::Test {
protected:
    void SetUp() override {
        root->installAsRootViewController(*window);
        window->layoutIfNeeded();
        m_log.clear();
    }
    std::shared_ptr<ModalSpy> make(const QString& name) { return std::make_shared<ModalSpy>(name, m_log); }
    QString log() const { return m_log.join(QLatin1Char(' ')); }
    void advance(double seconds) { m_loop->advance(seconds); }

    QStringList m_log;
    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<ModalSpy> root = std::make_shared<ModalSpy>(QStringLiteral("root"), m_log);
};

TEST_F(ModalPresentationTest, animatedPresentationSlidesUpOverTheContent) {
    auto modal = make("modal");
    root->presentModalViewController(modal, true);
    EXPECT_EQ(log(), QStringLiteral("root:willDisappear* modal:willAppear*"));
    EXPECT_EQ(root->modalViewController(), modal);
    EXPECT_EQ(modal->presentingViewController(), root);
    EXPECT_EQ(modal->parentViewController(), root);
    EXPECT_EQ(modal->view()->superview(), window);
    EXPECT_EQ(modal->view()->frame(), Rect(0, 20, 320, 460));
    advance(0.15);
    const double y = modal->view()->presentationFrame().y();
    EXPECT_GT(y, 20.0);
    EXPECT_LT(y, 480.0);
    EXPECT_FALSE(root->view()->hidden());
    m_log.clear();
    advance(0.2);
    EXPECT_EQ(log(), QStringLiteral("root:didDisappear* modal:didAppear*"));
    EXPECT_TRUE(root->view()->hidden());
    EXPECT_EQ(modal->view()->presentationFrame(), Rect(0, 20, 320, 460));
    // The status bar stays in front.
    EXPECT_EQ(window->subviews().back().get(), static_cast<View*>(window->statusBar().get()));
}

TEST_F(ModalPresentationTest, dismissFromThePresenterSlidesDown) {
    auto modal = make("modal");
    root->presentModalViewController(modal, false);
    m_log.clear();
    root->dismissModalViewControllerAnimated(true);
    EXPECT_EQ(log(), QStringLiteral("modal:willDisappear* root:willAppear*"));
    EXPECT_EQ(root->modalViewController(), nullptr);
    EXPECT_EQ(modal->presentingViewController(), nullptr);
    EXPECT_FALSE(root->view()->hidden());
    advance(0.15);
    EXPECT_GT(modal->view()->presentationFrame().y(), 20.0);
    EXPECT_EQ(modal->view()->superview(), window);
    m_log.clear();
    advance(0.2);
    EXPECT_EQ(log(), QStringLiteral("modal:didDisappear* root:didAppear*"));
    EXPECT_EQ(modal->view()->superview(), nullptr);
}

TEST_F(ModalPresentationTest, presentedScreenDismissesItself) {
    auto modal = make("modal");
    root->presentModalViewController(modal, false);
    m_log.clear();
    modal->dismissModalViewControllerAnimated(false);
    EXPECT_EQ(log(), QStringLiteral("modal:willDisappear root:willAppear modal:didDisappear root:didAppear"));
    EXPECT_EQ(root->modalViewController(), nullptr);
    EXPECT_EQ(modal->view()->superview(), nullptr);
}

TEST_F(ModalPresentationTest, secondPresentationWhilePresentingIsIgnored) {
    auto modal = make("modal");
    root->presentModalViewController(modal, false);
    m_log.clear();
    root->presentModalViewController(make("other"), false);
    EXPECT_EQ(log(), QString());
    EXPECT_EQ(root->modalViewController(), modal);
}

TEST_F(ModalPresentationTest, nestedModalsDismissFromTheBottomAtOnce) {
    auto first = make("first");
    auto second = make("second");
    root->presentModalViewController(first, false);
    first->presentModalViewController(second, false);
    EXPECT_EQ(second->presentingViewController(), first);
    EXPECT_TRUE(first->view()->hidden());
    m_log.clear();
    root->dismissModalViewControllerAnimated(true);
    // Only the front-most screen and the presenter are seen going and coming.
    EXPECT_EQ(log(), QStringLiteral("second:willDisappear* root:willAppear*"));
    EXPECT_EQ(first->view()->superview(), nullptr);
    EXPECT_EQ(first->modalViewController(), nullptr);
    advance(0.4);
    EXPECT_EQ(log(),
              QStringLiteral("second:willDisappear* root:willAppear* second:didDisappear* root:didAppear*"));
    EXPECT_EQ(second->view()->superview(), nullptr);
}

TEST_F(ModalPresentationTest, dismissingTheMiddleScreenLeavesItShown) {
    auto first = make("first");
    auto second = make("second");
    root->presentModalViewController(first, false);
    first->presentModalViewController(second, false);
    m_log.clear();
    second->dismissModalViewControllerAnimated(false);
    EXPECT_EQ(log(),
              QStringLiteral("second:willDisappear first:willAppear second:didDisappear first:didAppear"));
    EXPECT_EQ(root->modalViewController(), first);
    EXPECT_FALSE(first->view()->hidden());
}

TEST_F(ModalPresentationTest, presentingFromAStackedScreenPresentsFromTheStack) {
    auto top = make("top");
    auto navigation = std::make_shared<NavigationController>(top);
    auto presenter = make("presenter");
    presenter->installAsRootViewController(*window);
    presenter->presentModalViewController(navigation, false);
    m_log.clear();
    auto modal = make("modal");
    top->presentModalViewController(modal, false);
    EXPECT_EQ(navigation->modalViewController(), modal);
    EXPECT_EQ(top->modalViewController(), modal);
    EXPECT_EQ(modal->presentingViewController(), navigation);
    EXPECT_EQ(navigation->visibleViewController(), modal);
    EXPECT_EQ(log(), QStringLiteral("top:willDisappear modal:willAppear top:didDisappear modal:didAppear"));
    m_log.clear();
    top->dismissModalViewControllerAnimated(false);
    EXPECT_EQ(log(), QStringLiteral("modal:willDisappear top:willAppear modal:didDisappear top:didAppear"));
}

TEST_F(ModalPresentationTest, stackedScreenOfAPresentedStackDismissesTheStack) {
    auto settings = make("settings");
    auto navigation = std::make_shared<NavigationController>(settings);
    root->presentModalViewController(navigation, true);
    advance(0.4);
    EXPECT_EQ(settings->presentingViewController(), root);
    EXPECT_EQ(settings->modalViewController(), nullptr);
    m_log.clear();
    settings->dismissModalViewControllerAnimated(true);
    advance(0.4);
    EXPECT_EQ(log(), QStringLiteral(
                         "settings:willDisappear* root:willAppear* settings:didDisappear* root:didAppear*"));
    EXPECT_EQ(root->modalViewController(), nullptr);
    EXPECT_EQ(navigation->view()->superview(), nullptr);
}

TEST_F(ModalPresentationTest, rotationGoesToTheFrontmostScreen) {
    auto modal = make("modal");
    root->presentModalViewController(modal, false);
    m_log.clear();
    modal->allowsLandscape = false;
    EXPECT_FALSE(window->rotateToOrientation(3));
    EXPECT_EQ(log(), QStringLiteral("modal:should3"));
    modal->allowsLandscape = true;
    EXPECT_TRUE(window->rotateToOrientation(3));
    EXPECT_EQ(modal->view()->frame(), Rect(0, 20, 480, 300));
    EXPECT_EQ(modal->interfaceOrientation(), 3);
}

TEST_F(ModalPresentationTest, coveredViewSurvivesAMemoryWarning) {
    root->presentModalViewController(make("modal"), false);
    ViewController::sendMemoryWarningToAll();
    EXPECT_EQ(root->unloads, 0);
    EXPECT_TRUE(root->isViewLoaded());
}

TEST_F(ModalPresentationTest, dismissDuringPresentationFinishesItFirst) {
    auto modal = make("modal");
    root->presentModalViewController(modal, true);
    advance(0.1);
    root->dismissModalViewControllerAnimated(true);
    EXPECT_EQ(log(),
              QStringLiteral("root:willDisappear* modal:willAppear* root:didDisappear* modal:didAppear* "
                             "modal:willDisappear* root:willAppear*"));
    m_log.clear();
    advance(0.4);
    EXPECT_EQ(log(), QStringLiteral("modal:didDisappear* root:didAppear*"));
    EXPECT_EQ(modal->view()->superview(), nullptr);
    EXPECT_FALSE(root->view()->hidden());
}

TEST_F(ModalPresentationTest, presenterGoneReleasesTheModal) {
    auto presenter = make("presenter");
    presenter->view();
    window->addSubview(presenter->view());
    auto modal = make("modal");
    presenter->presentModalViewController(modal, false);
    EXPECT_EQ(modal->view()->superview(), window);
    presenter->view()->removeFromSuperview();
    presenter.reset();
    EXPECT_EQ(modal->presentingViewController(), nullptr);
    EXPECT_EQ(modal->view()->superview(), nullptr);
}

TEST_F(ModalPresentationTest, samplePicture) {
    root->view()->setBackgroundColor(Color(1, 1, 1));
    auto settings = make("Settings");
    settings->view()->setBackgroundColor(Color::fromRgb255(197, 204, 212));
    auto navigation = std::make_shared<NavigationController>(settings);
    root->presentModalViewController(navigation, true);
    advance(0.15);
    SamplePictures::keep(window->renderToImage(), QStringLiteral("modal-mid.png"));
}

} // namespace
