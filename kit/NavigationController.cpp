#include "kit/NavigationController.h"

#include "kit/KeyInput.h"

#include "kit/NavigationBar.h"
#include "kit/NavigationItem.h"
#include "kit/Screen.h"

#include <algorithm>

void NavigationControllerDelegate::willShowViewController(NavigationController&, ViewController&, bool) {}
void NavigationControllerDelegate::didShowViewController(NavigationController&, ViewController&, bool) {}

// The navigation controller's view: the bar and the content area below it, laid out by the
// controller whenever the view changes size.
class NavigationController::ContainerView : public View {
public:
    explicit ContainerView(const Rect& frame) : View(frame) {}
    std::function<void()> onLayout;

protected:
    void layoutSubviews() override {
        if (onLayout) {
            onLayout();
        }
    }
};

NavigationController::NavigationController() : m_navigationBar(std::make_shared<NavigationBar>()) {}

NavigationController::NavigationController(std::shared_ptr<ViewController> rootViewController)
    : NavigationController() {
    if (rootViewController) {
        m_viewControllers.push_back(std::move(rootViewController));
    }
}

NavigationController::~NavigationController() {
    for (const auto& viewController : m_viewControllers) {
        release(*viewController);
    }
}

const std::vector<std::shared_ptr<ViewController>>& NavigationController::viewControllers() {
    adoptStack();
    return m_viewControllers;
}

std::shared_ptr<ViewController> NavigationController::topViewController() {
    adoptStack();
    return m_viewControllers.empty() ? nullptr : m_viewControllers.back();
}

std::shared_ptr<ViewController> NavigationController::visibleViewController() {
    if (m_modalViewController) {
        return m_modalViewController;
    }
    return topViewController();
}

const std::shared_ptr<NavigationBar>& NavigationController::navigationBar() {
    return m_navigationBar;
}

void NavigationController::adoptStack() {
    if (weak_from_this().expired()) {
        return;
    }
    const auto self = std::static_pointer_cast<NavigationController>(shared_from_this());
    for (const auto& viewController : m_viewControllers) {
        viewController->m_container = self;
        viewController->m_navigationController = self;
    }
}

void NavigationController::release(ViewController& viewController) {
    viewController.m_container.reset();
    viewController.m_navigationController.reset();
}

void NavigationController::pushViewController(const std::shared_ptr<ViewController>& viewController,
                                              bool animated) {
    if (!viewController || viewController.get() == this ||
        std::find(m_viewControllers.begin(), m_viewControllers.end(), viewController) !=
            m_viewControllers.end() ||
        !viewController->m_container.expired() || viewController->presentingViewController()) {
        return;
    }
    auto stack = m_viewControllers;
    stack.push_back(viewController);
    transition(std::move(stack), Direction::Push, animated);
}

std::shared_ptr<ViewController> NavigationController::popViewControllerAnimated(bool animated) {
    if (m_viewControllers.size() < 2) {
        return nullptr;
    }
    auto popped = m_viewControllers.back();
    auto stack = m_viewControllers;
    stack.pop_back();
    transition(std::move(stack), Direction::Pop, animated);
    return popped;
}

std::vector<std::shared_ptr<ViewController>>
NavigationController::popToRootViewControllerAnimated(bool animated) {
    if (m_viewControllers.empty()) {
        return {};
    }
    return popToViewController(m_viewControllers.front(), animated);
}

std::vector<std::shared_ptr<ViewController>>
NavigationController::popToViewController(const std::shared_ptr<ViewController>& viewController,
                                          bool animated) {
    const auto found = std::find(m_viewControllers.begin(), m_viewControllers.end(), viewController);
    if (found == m_viewControllers.end() || found + 1 == m_viewControllers.end()) {
        return {};
    }
    std::vector<std::shared_ptr<ViewController>> popped(found + 1, m_viewControllers.end());
    std::vector<std::shared_ptr<ViewController>> stack(m_viewControllers.begin(), found + 1);
    transition(std::move(stack), Direction::Pop, animated);
    return popped;
}

void NavigationController::setViewControllers(std::vector<std::shared_ptr<ViewController>> viewControllers,
                                              bool animated) {
    std::vector<std::shared_ptr<ViewController>> stack;
    for (auto& viewController : viewControllers) {
        // Each screen once, and none that another container holds.
        if (viewController && std::find(stack.begin(), stack.end(), viewController) == stack.end() &&
            (viewController->m_container.expired() || viewController->m_container.lock().get() == this)) {
            stack.push_back(std::move(viewController));
        }
    }
    const auto newTop = stack.empty() ? nullptr : stack.back();
    const bool uncovered =
        std::find(m_viewControllers.begin(), m_viewControllers.end(), newTop) != m_viewControllers.end();
    transition(std::move(stack), uncovered ? Direction::Pop : Direction::Push, animated);
}

void NavigationController::finishTransition() {
    ++m_transitionCount;
    if (m_finishTransition) {
        const auto finish = std::move(m_finishTransition);
        m_finishTransition = nullptr;
        finish();
    }
}

void NavigationController::transition(std::vector<std::shared_ptr<ViewController>> stack, Direction direction,
                                      bool animated) {
    finishTransition();
    const std::vector<std::shared_ptr<ViewController>> oldStack = std::move(m_viewControllers);
    const auto oldTop = oldStack.empty() ? nullptr : oldStack.back();
    m_viewControllers = std::move(stack);
    adoptStack();
    const auto newTop = m_viewControllers.empty() ? nullptr : m_viewControllers.back();
    std::vector<std::shared_ptr<ViewController>> removed;
    for (const auto& viewController : oldStack) {
        if (std::find(m_viewControllers.begin(), m_viewControllers.end(), viewController) ==
            m_viewControllers.end()) {
            removed.push_back(viewController);
        }
    }
    const auto releaseRemoved = [this, removed] {
        for (const auto& viewController : removed) {
            if (std::find(m_viewControllers.begin(), m_viewControllers.end(), viewController) ==
                m_viewControllers.end()) {
                release(*viewController);
            }
        }
    };
    std::vector<std::shared_ptr<NavigationItem>> items;
    for (const auto& viewController : m_viewControllers) {
        items.push_back(viewController->navigationItem());
    }
    if (!isViewLoaded() || newTop == oldTop) {
        m_navigationBar->setItems(std::move(items), false);
        releaseRemoved();
        return;
    }

    const bool visible = m_appearance == Appearance::Appeared;
    const bool slide = animated && visible;
    const Rect area = m_contentView->bounds();
    if (newTop) {
        // A screen is told it will appear at the size it will have, as it may scroll to a row.
        View::performWithoutAnimation([&] { newTop->view()->setFrame(area); });
    }
    if (visible) {
        if (const auto delegate = m_delegate.lock(); delegate && newTop) {
            delegate->willShowViewController(*this, *newTop, animated);
        }
        if (oldTop) {
            oldTop->beginAppearanceTransition(false, animated);
        }
        if (newTop) {
            newTop->beginAppearanceTransition(true, animated);
        }
    }
    const double shift = direction == Direction::Push ? area.width() : -area.width();
    const std::shared_ptr<View> oldView =
        oldTop && oldTop->isViewLoaded() && oldTop->m_view->superview() == m_contentView ? oldTop->m_view
                                                                                         : nullptr;
    const std::shared_ptr<View> newView = newTop ? newTop->view() : nullptr;
    View::performWithoutAnimation([&] {
        if (newView) {
            m_contentView->addSubview(newView);
            newView->setFrame(slide ? area.offset(shift, 0) : area);
        }
    });
    m_navigationBar->setItems(std::move(items), slide);

    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    m_finishTransition = [weakSelf, oldTop, newTop, oldView, newView, visible, animated, releaseRemoved] {
        const auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock());
        if (newView) {
            newView->removeAllAnimations();
        }
        if (oldView) {
            oldView->removeAllAnimations();
            if (oldView != newView) {
                oldView->removeFromSuperview();
            }
        }
        if (!self) {
            return;
        }
        releaseRemoved();
        if (visible) {
            if (oldTop) {
                oldTop->endAppearanceTransition();
            }
            if (newTop) {
                newTop->endAppearanceTransition();
                if (const auto delegate = self->m_delegate.lock()) {
                    delegate->didShowViewController(*self, *newTop, animated);
                }
            }
        }
    };
    if (!slide) {
        finishTransition();
        return;
    }
    const int transitionNumber = m_transitionCount;
    View::animate(
        transitionDuration, 0.0, AnimationCurve::easeInOut, {},
        [&] {
            if (newView) {
                newView->setFrame(area);
            }
            if (oldView) {
                oldView->setFrame(area.offset(-shift, 0));
            }
        },
        [weakSelf, transitionNumber](bool) {
            const auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock());
            if (self && self->m_transitionCount == transitionNumber) {
                self->finishTransition();
            }
        });
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated) {
    if (m_navigationBarHidden == hidden) {
        return;
    }
    m_navigationBarHidden = hidden;
    if (!isViewLoaded()) {
        m_navigationBar->setHidden(hidden);
        return;
    }
    if (!hidden) {
        m_navigationBar->setHidden(false);
    }
    if (!animated) {
        layoutContainer();
        m_navigationBar->setHidden(hidden);
        return;
    }
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    View::animate(
        barHidingDuration, [this] { layoutContainer(); },
        [weakSelf](bool) {
            if (const auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock())) {
                self->m_navigationBar->setHidden(self->m_navigationBarHidden);
            }
        });
}

Size NavigationController::contentSizeForViewInPopover() const {
    if (m_viewControllers.empty()) {
        return ViewController::contentSizeForViewInPopover();
    }
    const Size top = m_viewControllers.back()->contentSizeForViewInPopover();
    return Size(top.width(), top.height() + (m_navigationBarHidden ? 0.0 : navigationBarHeight()));
}

double NavigationController::navigationBarHeight() const {
    const Rect bounds = m_view ? m_view->bounds() : Rect();
    return NavigationBar::heightForLandscape(bounds.width() > bounds.height());
}

Rect NavigationController::contentFrame() const {
    const Rect bounds = m_view ? m_view->bounds() : Rect();
    const double top = m_navigationBarHidden ? 0.0 : navigationBarHeight();
    return Rect(0, top, bounds.width(), std::max(0.0, bounds.height() - top));
}

void NavigationController::layoutContainer() {
    if (!m_view) {
        return;
    }
    const double width = m_view->bounds().width();
    const double barHeight = navigationBarHeight();
    m_navigationBar->setFrame(Rect(0, m_navigationBarHidden ? -barHeight : 0.0, width, barHeight));
    m_contentView->setFrame(contentFrame());
    if (!isInTransition() && !m_viewControllers.empty() && m_viewControllers.back()->isViewLoaded()) {
        m_viewControllers.back()->m_view->setFrame(m_contentView->bounds());
    }
}

void NavigationController::loadView() {
    const Rect screen = Screen::main().bounds();
    auto container = std::make_shared<ContainerView>(
        Rect(0, 0, screen.width(), screen.height() - Screen::statusBarHeight));
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    container->onLayout = [weakSelf] {
        if (const auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock())) {
            self->layoutContainer();
        }
    };
    m_contentView = std::make_shared<View>();
    m_contentView->setClipsToBounds(true);
    container->addSubview(m_contentView);
    container->addSubview(m_navigationBar);
    m_navigationBar->onBackButtonTapped = [weakSelf] {
        if (const auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock())) {
            self->popViewControllerAnimated(true);
        }
    };
    m_navigationBar->setHidden(m_navigationBarHidden);
    setView(container);
    layoutContainer();
    adoptStack();
    std::vector<std::shared_ptr<NavigationItem>> items;
    for (const auto& viewController : m_viewControllers) {
        items.push_back(viewController->navigationItem());
    }
    m_navigationBar->setItems(std::move(items), false);
    if (!m_viewControllers.empty()) {
        const auto& topView = m_viewControllers.back()->view();
        m_contentView->addSubview(topView);
        topView->setFrame(m_contentView->bounds());
    }
}

std::vector<std::shared_ptr<ViewController>> NavigationController::childViewControllersForAppearance() const {
    if (m_viewControllers.empty()) {
        return {};
    }
    return {m_viewControllers.back()};
}

void NavigationController::viewWillAppear(bool animated) {
    // The top screen may have changed while the stack was off screen.
    if (isViewLoaded() && !m_viewControllers.empty()) {
        const auto& topView = m_viewControllers.back()->view();
        if (topView->superview() != m_contentView) {
            for (const auto& subview : std::vector<std::shared_ptr<View>>(m_contentView->subviews())) {
                subview->removeFromSuperview();
            }
            m_contentView->addSubview(topView);
        }
        topView->setFrame(m_contentView->bounds());
    }
    if (const auto delegate = m_delegate.lock(); delegate && !m_viewControllers.empty()) {
        delegate->willShowViewController(*this, *m_viewControllers.back(), animated);
    }
}

void NavigationController::viewDidAppear(bool animated) {
    if (const auto delegate = m_delegate.lock(); delegate && !m_viewControllers.empty()) {
        delegate->didShowViewController(*this, *m_viewControllers.back(), animated);
    }
}

void NavigationController::viewWillDisappear(bool) {
    finishTransition();
}

bool NavigationController::shouldAutorotateToInterfaceOrientation(int orientation) {
    if (const auto top = topViewController()) {
        return top->shouldAutorotateToInterfaceOrientation(orientation);
    }
    return ViewController::shouldAutorotateToInterfaceOrientation(orientation);
}

void NavigationController::willRotateToInterfaceOrientation(int orientation, double duration) {
    if (const auto top = topViewController()) {
        top->willRotateToInterfaceOrientation(orientation, duration);
    }
}

void NavigationController::willAnimateRotationToInterfaceOrientation(int orientation, double duration) {
    finishTransition();
    layoutContainer();
    if (const auto top = topViewController()) {
        top->willAnimateRotationToInterfaceOrientation(orientation, duration);
    }
}

void NavigationController::didRotateFromInterfaceOrientation(int fromOrientation) {
    if (const auto top = topViewController()) {
        top->didRotateFromInterfaceOrientation(fromOrientation);
    }
}

bool NavigationController::handleScreenKeyInput(const KeyInput& input) {
    const std::shared_ptr<ViewController> top = topViewController();
    if (!top) {
        return false;
    }
    if (top->handleKeyInput(input)) {
        return true;
    }
    return input.type == KeyInput::Type::Press && input.key == Qt::Key_Escape &&
           !input.hasCommandModifiers() && leaveTopScreen(*top);
}

bool NavigationController::leaveTopScreen(ViewController& top) {
    const auto press = [](const std::shared_ptr<BarButtonItem>& item, BarButtonItem::SystemItem kind) {
        if (!item || item->systemItem() != kind || !item->enabled() || !item->onAction) {
            return false;
        }
        item->onAction();
        return true;
    };
    const std::shared_ptr<NavigationItem>& item = top.navigationItem();
    // The screen's own Cancel, else the way back (the bar's back button), else the Done that
    // closes a screen shown over another.
    if (press(item->leftBarButtonItem(), BarButtonItem::SystemItem::Cancel)) {
        return true;
    }
    if (m_viewControllers.size() > 1 && !item->leftBarButtonItem() && !item->hidesBackButton()) {
        popViewControllerAnimated(true);
        return true;
    }
    return m_viewControllers.size() == 1 && presentingViewController() &&
           press(item->rightBarButtonItem(), BarButtonItem::SystemItem::Done);
}
