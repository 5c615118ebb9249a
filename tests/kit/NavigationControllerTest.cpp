#include "kit/NavigationController.h"
#include "TouchTestSupport.h"
#include "kit/BarButtonItem.h"
#include "kit/BarButtonView.h"
#include "kit/KeyInput.h"
#include "kit/Label.h"
#include "kit/NavigationBar.h"
#include "kit/NavigationItem.h"
#include "kit/Window.h"

#include "SamplePictures.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

// Writes every appearance and rotation hook into a shared log as "name:hook" ("*" = animated).
class StackSpy : public ViewController {
public:
    StackSpy(QString name, QStringList& log) : m_name(std::move(name)), m_log(log) { setTitle(m_name); }

    void viewWillAppear(bool animated) override { record("willAppear", animated); }
    void viewDidAppear(bool animated) override { record("didAppear", animated); }
    void viewWillDisappear(bool animated) override { record("willDisappear", animated); }
    void viewDidDisappear(bool animated) override { record("didDisappear", animated); }
    bool shouldAutorotateToInterfaceOrientation(int orientation) override {
        m_log.append(m_name + QStringLiteral(":should%1").arg(orientation));
        return true;
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

class DelegateSpy : public NavigationControllerDelegate {
public:
    explicit DelegateSpy(QStringList& log) : m_log(log) {}
    void willShowViewController(NavigationController&, ViewController& viewController, bool) override {
        m_log.append(QStringLiteral("willShow:") + viewController.title());
    }
    void didShowViewController(NavigationController&, ViewController& viewController, bool) override {
        m_log.append(QStringLiteral("didShow:") + viewController.title());
    }

private:
    QStringList& m_log;
};

class NavigationControllerTest : public ManualMainLoop, public ::testing::Test {
protected:
    std::shared_ptr<StackSpy> make(const QString& name) { return std::make_shared<StackSpy>(name, m_log); }
    // A navigation controller on screen as the window's root, its log cleared.
    std::shared_ptr<NavigationController> installed(const std::shared_ptr<ViewController>& root) {
        auto navigation = std::make_shared<NavigationController>(root);
        navigation->setDelegate(delegate);
        navigation->installAsRootViewController(*window);
        window->layoutIfNeeded();
        m_log.clear();
        return navigation;
    }
    QString log() const { return m_log.join(QLatin1Char(' ')); }
    void advance(double seconds) { m_loop->advance(seconds); }
    QStringList titles(NavigationController& navigation) {
        QStringList result;
        for (const auto& viewController : navigation.viewControllers()) {
            result.append(viewController->title());
        }
        return result;
    }
    // Taps at a window point.
    void tap(Point point) {
        window->fingerDown(0, point);
        advance(0.05);
        window->fingerUp(0, point);
    }

    QStringList m_log;
    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<DelegateSpy> delegate = std::make_shared<DelegateSpy>(m_log);
};

TEST_F(NavigationControllerTest, rootAppearsWithTheNavigationController) {
    auto root = make("root");
    auto navigation = std::make_shared<NavigationController>(root);
    navigation->setDelegate(delegate);
    navigation->installAsRootViewController(*window);
    EXPECT_EQ(log(), QStringLiteral("willShow:root root:willAppear didShow:root root:didAppear"));
    EXPECT_EQ(root->navigationController(), navigation);
    EXPECT_EQ(root->parentViewController(), navigation);
    EXPECT_EQ(navigation->topViewController(), root);
}

TEST_F(NavigationControllerTest, contentLiesBelowTheBar) {
    auto root = make("root");
    auto navigation = installed(root);
    EXPECT_EQ(navigation->navigationBar()->frame(), Rect(0, 0, 320, 44));
    EXPECT_EQ(root->view()->convertRectToView(root->view()->bounds(), window.get()), Rect(0, 64, 320, 416));
}

TEST_F(NavigationControllerTest, animatedPushCallsInThePlatformOrder) {
    auto root = make("root");
    auto navigation = installed(root);
    auto second = make("second");
    navigation->pushViewController(second, true);
    EXPECT_EQ(log(), QStringLiteral("willShow:second root:willDisappear* second:willAppear*"));
    EXPECT_TRUE(navigation->isInTransition());
    EXPECT_EQ(navigation->topViewController(), second);
    EXPECT_EQ(second->navigationController(), navigation);
    m_log.clear();
    advance(0.2);
    // Mid-way both views show, the new one coming in from the right.
    EXPECT_GT(second->view()->presentationFrame().x(), 0.0);
    EXPECT_LT(second->view()->presentationFrame().x(), 320.0);
    EXPECT_LT(root->view()->presentationFrame().x(), 0.0);
    EXPECT_EQ(log(), QString());
    advance(0.2);
    EXPECT_EQ(log(), QStringLiteral("root:didDisappear* second:didAppear* didShow:second"));
    EXPECT_FALSE(navigation->isInTransition());
    EXPECT_EQ(root->view()->superview(), nullptr);
    EXPECT_EQ(second->view()->frame(), Rect(0, 0, 320, 416));
    EXPECT_EQ(titles(*navigation), QStringList({"root", "second"}));
}

TEST_F(NavigationControllerTest, unanimatedPushCompletesAtOnce) {
    auto navigation = installed(make("root"));
    navigation->pushViewController(make("second"), false);
    EXPECT_EQ(log(), QStringLiteral("willShow:second root:willDisappear second:willAppear root:didDisappear "
                                    "second:didAppear didShow:second"));
}

TEST_F(NavigationControllerTest, popReturnsTheTopAndSlidesBack) {
    auto root = make("root");
    auto navigation = installed(root);
    auto second = make("second");
    navigation->pushViewController(second, false);
    m_log.clear();
    EXPECT_EQ(navigation->popViewControllerAnimated(true), second);
    EXPECT_EQ(log(), QStringLiteral("willShow:root second:willDisappear* root:willAppear*"));
    advance(0.2);
    EXPECT_LT(root->view()->presentationFrame().x(), 0.0);
    EXPECT_GT(second->view()->presentationFrame().x(), 0.0);
    // The popped screen still knows its stack until it is gone.
    EXPECT_EQ(second->navigationController(), navigation);
    advance(0.2);
    EXPECT_EQ(log(),
              QStringLiteral("willShow:root second:willDisappear* root:willAppear* second:didDisappear* "
                             "root:didAppear* didShow:root"));
    EXPECT_EQ(second->navigationController(), nullptr);
    EXPECT_EQ(second->view()->superview(), nullptr);
    EXPECT_EQ(titles(*navigation), QStringList({"root"}));
}

TEST_F(NavigationControllerTest, rootIsNeverPopped) {
    auto navigation = installed(make("root"));
    EXPECT_EQ(navigation->popViewControllerAnimated(true), nullptr);
    EXPECT_TRUE(navigation->popToRootViewControllerAnimated(true).empty());
    EXPECT_EQ(log(), QString());
}

TEST_F(NavigationControllerTest, popToRootSkipsTheScreensBetween) {
    auto root = make("root");
    auto navigation = installed(root);
    auto second = make("second");
    auto third = make("third");
    navigation->pushViewController(second, false);
    navigation->pushViewController(third, false);
    m_log.clear();
    const auto popped = navigation->popToRootViewControllerAnimated(false);
    ASSERT_EQ(popped.size(), 2u);
    EXPECT_EQ(popped[0], second);
    EXPECT_EQ(popped[1], third);
    EXPECT_EQ(log(), QStringLiteral("willShow:root third:willDisappear root:willAppear third:didDisappear "
                                    "root:didAppear didShow:root"));
    EXPECT_EQ(second->navigationController(), nullptr);
    EXPECT_EQ(navigation->navigationBar()->items().size(), 1u);
}

TEST_F(NavigationControllerTest, popToAScreenInTheMiddle) {
    auto navigation = installed(make("root"));
    auto second = make("second");
    navigation->pushViewController(second, false);
    navigation->pushViewController(make("third"), false);
    navigation->pushViewController(make("fourth"), false);
    m_log.clear();
    EXPECT_EQ(navigation->popToViewController(second, false).size(), 2u);
    EXPECT_EQ(titles(*navigation), QStringList({"root", "second"}));
    EXPECT_TRUE(navigation->popToViewController(second, false).empty());
    EXPECT_TRUE(navigation->popToViewController(make("stranger"), false).empty());
}

TEST_F(NavigationControllerTest, setViewControllersPushesANewTopAndPopsToAKnownOne) {
    auto root = make("root");
    auto navigation = installed(root);
    auto a = make("a");
    auto b = make("b");
    navigation->setViewControllers({root, a, b}, true);
    EXPECT_EQ(log(), QStringLiteral("willShow:b root:willDisappear* b:willAppear*"));
    advance(0.4);
    EXPECT_EQ(navigation->navigationBar()->backItem(), a->navigationItem());
    m_log.clear();
    navigation->setViewControllers({a}, false);
    EXPECT_EQ(log(),
              QStringLiteral("willShow:a b:willDisappear a:willAppear b:didDisappear a:didAppear didShow:a"));
    EXPECT_EQ(root->navigationController(), nullptr);
    EXPECT_EQ(a->navigationController(), navigation);
    EXPECT_EQ(titles(*navigation), QStringList({"a"}));
}

TEST_F(NavigationControllerTest, aChangeDuringASlideFinishesTheSlideFirst) {
    auto root = make("root");
    auto navigation = installed(root);
    auto second = make("second");
    navigation->pushViewController(second, true);
    advance(0.1);
    navigation->popViewControllerAnimated(true);
    EXPECT_EQ(log(), QStringLiteral("willShow:second root:willDisappear* second:willAppear* "
                                    "root:didDisappear* second:didAppear* didShow:second "
                                    "willShow:root second:willDisappear* root:willAppear*"));
    m_log.clear();
    advance(0.5);
    EXPECT_EQ(log(), QStringLiteral("second:didDisappear* root:didAppear* didShow:root"));
    EXPECT_EQ(root->view()->frame(), Rect(0, 0, 320, 416));
    EXPECT_EQ(root->view()->presentationFrame(), Rect(0, 0, 320, 416));
}

TEST_F(NavigationControllerTest, pushingAScreenTwiceIsIgnored) {
    auto root = make("root");
    auto navigation = installed(root);
    navigation->pushViewController(root, true);
    navigation->pushViewController(nullptr, true);
    EXPECT_EQ(log(), QString());
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
}

TEST_F(NavigationControllerTest, offScreenStackMakesNoAppearanceCalls) {
    auto root = make("root");
    auto navigation = std::make_shared<NavigationController>(root);
    navigation->setDelegate(delegate);
    navigation->pushViewController(make("second"), true);
    navigation->view();
    EXPECT_EQ(log(), QString());
    EXPECT_EQ(navigation->navigationBar()->topItem()->title(), QStringLiteral("second"));
    EXPECT_FALSE(navigation->isInTransition());
}

TEST_F(NavigationControllerTest, backButtonShowsThePreviousTitleAndPops) {
    auto root = make("Week");
    auto navigation = installed(root);
    auto second = make("Edit Event");
    navigation->pushViewController(second, false);
    window->layoutIfNeeded();
    const auto back = navigation->navigationBar()->backButton();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->title(), QStringLiteral("Week"));
    EXPECT_EQ(back->kind(), BarButtonView::Kind::Back);
    m_log.clear();
    const Rect frame = back->convertRectToView(back->bounds(), window.get());
    tap(frame.center());
    EXPECT_EQ(navigation->topViewController(), root);
    advance(0.5);
    EXPECT_EQ(log(), QStringLiteral("willShow:Week Edit Event:willDisappear* Week:willAppear* "
                                    "Edit Event:didDisappear* Week:didAppear* didShow:Week"));
}

TEST_F(NavigationControllerTest, backButtonPrefersTheBackItemAndCanBeHidden) {
    auto root = make("A very long title for a back button");
    auto navigation = installed(root);
    auto second = make("second");
    navigation->pushViewController(second, false);
    window->layoutIfNeeded();
    EXPECT_EQ(navigation->navigationBar()->backButton()->title(), QStringLiteral("Back"));
    root->navigationItem()->setBackBarButtonItem(
        std::make_shared<BarButtonItem>(QStringLiteral("Week"), BarButtonItem::Style::Bordered));
    EXPECT_EQ(navigation->navigationBar()->backButton()->title(), QStringLiteral("Week"));
    second->navigationItem()->setHidesBackButton(true);
    EXPECT_FALSE(navigation->navigationBar()->backButton());
}

TEST_F(NavigationControllerTest, leftItemReplacesTheBackButton) {
    auto navigation = installed(make("root"));
    auto second = make("second");
    navigation->pushViewController(second, false);
    int cancels = 0;
    auto cancel = std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Cancel, [&] { ++cancels; });
    second->navigationItem()->setLeftBarButtonItem(cancel, true);
    window->layoutIfNeeded();
    EXPECT_FALSE(navigation->navigationBar()->backButton());
    EXPECT_EQ(navigation->navigationBar()->leftView(), cancel->view());
    advance(0.3);
    const auto view = cancel->view();
    EXPECT_EQ(view->alpha(), 1.0);
    tap(view->convertRectToView(view->bounds(), window.get()).center());
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(navigation->topViewController(), second);
}

TEST_F(NavigationControllerTest, barItemsFollowTheTopScreen) {
    auto root = make("Calendars");
    auto navigation = installed(root);
    int done = 0;
    auto doneItem = std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Done, [&] { ++done; });
    root->navigationItem()->setRightBarButtonItem(doneItem);
    window->layoutIfNeeded();
    const auto bar = navigation->navigationBar();
    EXPECT_EQ(bar->rightView(), doneItem->view());
    EXPECT_EQ(doneItem->buttonView()->kind(), BarButtonView::Kind::Done);
    EXPECT_EQ(bar->titleLabel()->text(), QStringLiteral("Calendars"));
    // The title is centred on the bar and the button sits at the right edge.
    EXPECT_NEAR(bar->titleLabel()->frame().midX(), 160.0, 1.0);
    EXPECT_EQ(doneItem->view()->frame().maxX(), 315.0);
    EXPECT_EQ(doneItem->view()->frame().height(), 30.0);

    doneItem->setEnabled(false);
    const auto view = doneItem->view();
    tap(view->convertRectToView(view->bounds(), window.get()).center());
    EXPECT_EQ(done, 0);
    doneItem->setEnabled(true);
    tap(view->convertRectToView(view->bounds(), window.get()).center());
    EXPECT_EQ(done, 1);

    navigation->pushViewController(make("Edit"), false);
    window->layoutIfNeeded();
    EXPECT_EQ(bar->rightView(), nullptr);
    EXPECT_EQ(bar->titleLabel()->text(), QStringLiteral("Edit"));
    EXPECT_EQ(doneItem->view()->superview(), nullptr);
}

TEST_F(NavigationControllerTest, titleViewKeepsClearOfTheButtons) {
    auto root = make("root");
    auto navigation = installed(root);
    auto titleView = std::make_shared<View>(Rect(0, 0, 200, 30));
    auto left = std::make_shared<BarButtonItem>(QStringLiteral("A rather wide title"),
                                                BarButtonItem::Style::Bordered);
    root->navigationItem()->setTitleView(titleView);
    root->navigationItem()->setLeftBarButtonItem(left);
    window->layoutIfNeeded();
    EXPECT_EQ(navigation->navigationBar()->titleView(), titleView);
    EXPECT_GE(titleView->frame().minX(), left->view()->frame().maxX());
    EXPECT_EQ(titleView->frame().y(), 7.0);
}

TEST_F(NavigationControllerTest, hidingTheBarGivesItsRoomToTheScreen) {
    auto root = make("root");
    auto navigation = installed(root);
    navigation->setNavigationBarHidden(true, true);
    advance(0.1);
    EXPECT_FALSE(navigation->navigationBar()->hidden());
    advance(0.2);
    EXPECT_TRUE(navigation->navigationBar()->hidden());
    EXPECT_EQ(root->view()->convertRectToView(root->view()->bounds(), window.get()), Rect(0, 20, 320, 460));
    navigation->setNavigationBarHidden(false, false);
    EXPECT_FALSE(navigation->navigationBar()->hidden());
    EXPECT_EQ(root->view()->frame(), Rect(0, 0, 320, 416));
}

TEST_F(NavigationControllerTest, rotationIsDecidedAndHeardByTheTopScreen) {
    auto navigation = installed(make("root"));
    navigation->pushViewController(make("top"), false);
    m_log.clear();
    EXPECT_TRUE(window->rotateToOrientation(4));
    advance(0.4);
    EXPECT_EQ(log(), QStringLiteral("top:should4 top:willRotate4 top:willAnimate4 top:didRotate1"));
    // A phone's bar is lower on its side.
    EXPECT_EQ(navigation->navigationBar()->frame(), Rect(0, 0, 480, 32));
    EXPECT_EQ(navigation->topViewController()->view()->frame(), Rect(0, 0, 480, 268));
}

TEST_F(NavigationControllerTest, memoryWarningUnloadsCoveredScreens) {
    auto root = make("root");
    auto navigation = installed(root);
    navigation->pushViewController(make("top"), false);
    ViewController::sendMemoryWarningToAll();
    EXPECT_EQ(root->unloads, 1);
    EXPECT_TRUE(navigation->isViewLoaded());
    navigation->popViewControllerAnimated(false);
    EXPECT_EQ(root->view()->superview(), navigation->topViewController()->view()->superview());
    EXPECT_EQ(root->view()->frame(), Rect(0, 0, 320, 416));
}

TEST_F(NavigationControllerTest, samplePictures) {
    auto root = make("Week");
    root->view()->setBackgroundColor(Color(1, 1, 1));
    auto navigation = installed(root);
    auto editor = make("Edit Event");
    editor->view()->setBackgroundColor(Color::fromRgb255(220, 224, 230));
    editor->navigationItem()->setRightBarButtonItem(
        std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Done));
    navigation->pushViewController(editor, false);
    window->layoutIfNeeded();
    SamplePictures::keep(window->renderToImage(), QStringLiteral("navigation.png"));
    auto third = make("Calendar");
    third->view()->setBackgroundColor(Color::fromRgb255(240, 240, 200));
    third->navigationItem()->setRightBarButtonItem(
        std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Add));
    navigation->pushViewController(third, true);
    advance(0.17);
    SamplePictures::keep(window->renderToImage(), QStringLiteral("navigation-push.png"));
    advance(0.3);
    editor->navigationItem()->rightBarButtonItem()->setEnabled(false);
    navigation->popViewControllerAnimated(false);
    navigation->navigationBar()->setTintColor(Color::fromRgb255(20, 60, 30));
    window->layoutIfNeeded();
    SamplePictures::keep(window->renderToImage(), QStringLiteral("navigation-tint.png"));
}

} // namespace

TEST_F(NavigationControllerTest, escapePressesTheTopScreensCancelElseGoesBackElseClosesWithDone) {
    const auto escape = [this] {
        KeyInput input;
        input.key = Qt::Key_Escape;
        const bool used = window->keyInput(input);
        advance(1.0);
        return used;
    };
    auto navigation = installed(make("root"));
    EXPECT_FALSE(escape());

    navigation->pushViewController(make("back"), false);
    EXPECT_TRUE(escape());
    EXPECT_EQ(titles(*navigation), QStringList{"root"});

    int cancelled = 0;
    auto withCancel = make("cancel");
    withCancel->navigationItem()->setLeftBarButtonItem(
        std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Cancel, [&] { ++cancelled; }));
    navigation->pushViewController(withCancel, false);
    EXPECT_TRUE(escape());
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(titles(*navigation), (QStringList{"root", "cancel"}));
    navigation->popViewControllerAnimated(false);

    auto shownOver = make("over");
    auto overNavigation = std::make_shared<NavigationController>(shownOver);
    shownOver->navigationItem()->setRightBarButtonItem(std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Done, [&] { navigation->dismissModalViewControllerAnimated(false); }));
    navigation->presentModalViewController(overNavigation, false);
    EXPECT_TRUE(escape());
    EXPECT_FALSE(navigation->modalViewController());
}
