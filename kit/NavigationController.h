#pragma once

#include "kit/ViewController.h"

#include <memory>
#include <vector>

class NavigationBar;
class NavigationController;

// Hears which screen a navigation controller is about to show and has shown (after a push, a
// pop, a new stack, or the navigation controller appearing). Both are optional.
class NavigationControllerDelegate {
public:
    virtual ~NavigationControllerDelegate() = default;
    virtual void willShowViewController(NavigationController& navigationController,
                                        ViewController& viewController, bool animated);
    virtual void didShowViewController(NavigationController& navigationController,
                                       ViewController& viewController, bool animated);
};

// A stack of screens under a navigation bar: the top screen's view fills the area below the
// bar; a push slides the new screen in from the right over 0.35 seconds while the old one
// leaves to the left (a pop the other way), and the bar slides its titles and cross-fades its
// buttons. The screens hear, in order: the delegate's will-show, will-disappear (old),
// will-appear (new), then at the end did-disappear (old), did-appear (new) and the delegate's
// did-show; a navigation controller that is not on screen makes no such calls, and its top
// screen hears them when it appears. A new change while one slides finishes the sliding one
// first. The bar's back button pops the top screen.
//
// The stack owns its screens; they see the navigation controller through a weak link, made
// the first time the navigation controller is used (its view or its stack).
class NavigationController : public ViewController {
public:
    static constexpr double transitionDuration = 0.35;
    static constexpr double barHidingDuration = 0.2;

    NavigationController();
    explicit NavigationController(std::shared_ptr<ViewController> rootViewController);
    ~NavigationController() override;

    const std::vector<std::shared_ptr<ViewController>>& viewControllers();
    void setViewControllers(std::vector<std::shared_ptr<ViewController>> viewControllers, bool animated);
    // A screen already on the stack (or in another container) is ignored.
    void pushViewController(const std::shared_ptr<ViewController>& viewController, bool animated);
    // Pops the top screen unless it is the root; returns the popped screen.
    std::shared_ptr<ViewController> popViewControllerAnimated(bool animated);
    // Returns the popped screens, bottom first.
    std::vector<std::shared_ptr<ViewController>> popToRootViewControllerAnimated(bool animated);
    std::vector<std::shared_ptr<ViewController>>
    popToViewController(const std::shared_ptr<ViewController>& viewController, bool animated);
    std::shared_ptr<ViewController> topViewController();
    // The screen presented over the top screen, else the top screen.
    std::shared_ptr<ViewController> visibleViewController();
    bool isInTransition() const { return static_cast<bool>(m_finishTransition); }

    // The top screen's size for popovers with the bar above it.
    Size contentSizeForViewInPopover() const override;

    const std::shared_ptr<NavigationBar>& navigationBar();
    bool navigationBarHidden() const { return m_navigationBarHidden; }
    // Hiding slides the bar up and gives its room to the screen.
    void setNavigationBarHidden(bool hidden, bool animated);

    // Held weakly.
    std::shared_ptr<NavigationControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<NavigationControllerDelegate>& delegate) { m_delegate = delegate; }

    // The top screen decides and hears the turns. Overrides call these.
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;
    void willRotateToInterfaceOrientation(int orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(int orientation, double duration) override;
    void didRotateFromInterfaceOrientation(int fromOrientation) override;
    // Tell the delegate about the top screen; overrides call these.
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

protected:
    void loadView() override;
    std::vector<std::shared_ptr<ViewController>> childViewControllersForAppearance() const override;
    bool handleScreenKeyInput(const KeyInput& input) override;

private:
    class ContainerView;
    enum class Direction { Push, Pop };

    // Links the screens on the stack to this controller.
    void adoptStack();
    void release(ViewController& viewController);
    void finishTransition();
    // Shows the new stack, sliding from `from` to the new top.
    void transition(std::vector<std::shared_ptr<ViewController>> stack, Direction direction, bool animated);
    void layoutContainer();
    Rect contentFrame() const;
    // 44 points, lower on a phone on its side.
    double navigationBarHeight() const;
    // Escape that the top screen did not use: its Cancel button, else the way back, else the Done
    // of a screen shown over another. Says whether it did anything.
    bool leaveTopScreen(ViewController& top);

    std::vector<std::shared_ptr<ViewController>> m_viewControllers;
    std::shared_ptr<NavigationBar> m_navigationBar;
    std::shared_ptr<View> m_contentView;
    bool m_navigationBarHidden = false;
    std::weak_ptr<NavigationControllerDelegate> m_delegate;
    std::function<void()> m_finishTransition;
    int m_transitionCount = 0;
};
