#include "kit/ViewController.h"

#include "kit/InterfaceOrientation.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "kit/PopoverController.h"
#include "kit/Screen.h"
#include "kit/StatusBar.h"

#include <algorithm>

namespace {

// Every controller alive, for memory warnings. Main thread only. Never freed, so that
// controllers living until the process ends can still leave it during exit.
std::vector<ViewController*>& liveControllers() {
    static auto* controllers = new std::vector<ViewController*>();
    return *controllers;
}

} // namespace

// Passes the window's rotation reports to the front-most screen presented over the root
// screen, and keeps the presented screens' views covering the window as it turns.
class ViewController::WindowRotationRouter : public RotationHandler {
public:
    explicit WindowRotationRouter(ViewController& root) : m_root(root) {}

    bool shouldAutorotateToInterfaceOrientation(int orientation) override {
        return m_root.frontmostPresentedViewController().shouldAutorotateToInterfaceOrientation(orientation);
    }
    void willRotateToInterfaceOrientation(int orientation, double duration) override {
        m_root.frontmostPresentedViewController().willRotateToInterfaceOrientation(orientation, duration);
    }
    void willAnimateRotationToInterfaceOrientation(int orientation, double duration) override {
        for (ViewController* presented = m_root.m_modalViewController.get(); presented != nullptr;
             presented = presented->m_modalViewController.get()) {
            if (presented->isViewLoaded()) {
                if (const auto window = std::dynamic_pointer_cast<Window>(presented->m_view->superview())) {
                    presented->m_view->setFrame(window->applicationFrame());
                }
            }
        }
        m_root.frontmostPresentedViewController().willAnimateRotationToInterfaceOrientation(orientation,
                                                                                            duration);
    }
    void didRotateFromInterfaceOrientation(int fromOrientation) override {
        m_root.frontmostPresentedViewController().didRotateFromInterfaceOrientation(fromOrientation);
    }

private:
    ViewController& m_root;
};

ViewController::ViewController() {
    liveControllers().push_back(this);
}

ViewController::~ViewController() {
    auto& controllers = liveControllers();
    controllers.erase(std::remove(controllers.begin(), controllers.end(), this), controllers.end());
    if (m_modalViewController) {
        m_modalViewController->m_presentingViewController.reset();
        if (m_modalViewController->isViewLoaded()) {
            m_modalViewController->m_view->removeFromSuperview();
        }
    }
}

const std::shared_ptr<View>& ViewController::view() {
    if (!m_view && !m_loadingView) {
        m_loadingView = true;
        loadView();
        if (!m_view) {
            m_view = std::make_shared<View>(Rect(Point(0, 0), Screen::main().bounds().size()));
        }
        m_loadingView = false;
        viewDidLoad();
    }
    return m_view;
}

void ViewController::setView(std::shared_ptr<View> view) {
    m_view = std::move(view);
}

void ViewController::setTitle(const QString& title) {
    m_title = title;
    navigationItem()->setTitle(title);
}

const std::shared_ptr<NavigationItem>& ViewController::navigationItem() {
    if (!m_navigationItem) {
        m_navigationItem = std::make_shared<NavigationItem>(m_title);
    }
    return m_navigationItem;
}

std::shared_ptr<NavigationController> ViewController::navigationController() const {
    if (auto navigationController = m_navigationController.lock()) {
        return navigationController;
    }
    if (const auto container = m_container.lock()) {
        return container->navigationController();
    }
    return nullptr;
}

void ViewController::setContentSizeForViewInPopover(Size size) {
    m_contentSizeForViewInPopover = size;
    const std::shared_ptr<PopoverController> popover = popoverController();
    if (const std::shared_ptr<ViewController> content =
            popover ? popover->contentViewController() : nullptr) {
        popover->setPopoverContentSize(content->contentSizeForViewInPopover());
    }
}

void ViewController::forcePopoverSize() {
    const Size size = contentSizeForViewInPopover();
    setContentSizeForViewInPopover(Size(size.width() - 1.0, size.height() - 1.0));
}

std::shared_ptr<PopoverController> ViewController::popoverController() const {
    if (auto popover = m_popoverController.lock()) {
        return popover;
    }
    if (const auto navigation = navigationController()) {
        return navigation->popoverController();
    }
    return nullptr;
}

std::shared_ptr<ViewController> ViewController::parentViewController() const {
    if (auto container = m_container.lock()) {
        return container;
    }
    return m_presentingViewController.lock();
}

std::shared_ptr<ViewController> ViewController::modalViewController() const {
    if (m_modalViewController) {
        return m_modalViewController;
    }
    if (const auto container = m_container.lock()) {
        return container->modalViewController();
    }
    return nullptr;
}

std::shared_ptr<ViewController> ViewController::presentingViewController() const {
    if (auto presenting = m_presentingViewController.lock()) {
        return presenting;
    }
    if (const auto container = m_container.lock()) {
        return container->presentingViewController();
    }
    return nullptr;
}

int ViewController::interfaceOrientation() const {
    if (m_view) {
        View* root = m_view->rootView().get();
        if (const auto* window = dynamic_cast<const Window*>(root)) {
            return window->orientation();
        }
    }
    return InterfaceOrientation::Portrait;
}

std::shared_ptr<ViewController> ViewController::presentationContext() {
    std::shared_ptr<ViewController> context = shared_from_this();
    while (auto container = context->m_container.lock()) {
        context = std::move(container);
    }
    return context;
}

std::shared_ptr<View> ViewController::hostViewForPresentation() {
    return view()->rootView();
}

bool ViewController::handleKeyInput(const KeyInput& input) {
    // Held while it handles the typing, which may dismiss it.
    const std::shared_ptr<ViewController> frontmost = frontmostPresentedViewController().shared_from_this();
    return frontmost->handleScreenKeyInput(input);
}

bool ViewController::handleScreenKeyInput(const KeyInput&) {
    return false;
}

ViewController& ViewController::frontmostPresentedViewController() {
    ViewController* frontmost = this;
    while (frontmost->m_modalViewController) {
        frontmost = frontmost->m_modalViewController.get();
    }
    return *frontmost;
}

void ViewController::finishModalTransition() {
    ++m_modalTransitionCount;
    if (m_finishModalTransition) {
        const auto finish = std::move(m_finishModalTransition);
        m_finishModalTransition = nullptr;
        finish();
    }
}

void ViewController::presentModalViewController(const std::shared_ptr<ViewController>& viewController,
                                                bool animated) {
    const auto context = presentationContext();
    if (!viewController || context->m_modalViewController || viewController->presentingViewController() ||
        viewController->m_container.lock() || viewController.get() == context.get()) {
        return;
    }
    context->finishModalTransition();
    const std::shared_ptr<View> host = context->hostViewForPresentation();
    const std::shared_ptr<View> presenterView = context->view();
    context->m_modalViewController = viewController;
    viewController->m_presentingViewController = context;

    const auto* window = dynamic_cast<const Window*>(host.get());
    const Rect frame = window != nullptr ? window->applicationFrame() : host->bounds();
    const std::shared_ptr<View>& presentedView = viewController->view();
    const bool appearing = context->isAppearingOrVisible();
    if (appearing) {
        context->beginAppearanceTransition(false, animated);
        viewController->beginAppearanceTransition(true, animated);
    }
    View::performWithoutAnimation([&] {
        if (window != nullptr) {
            host->insertSubviewBelow(presentedView, *window->statusBar());
        } else {
            host->addSubview(presentedView);
        }
        presentedView->setFrame(animated ? frame.offset(0, host->bounds().height()) : frame);
    });

    std::weak_ptr<ViewController> weakContext = context;
    std::weak_ptr<ViewController> weakPresented = viewController;
    context->m_finishModalTransition = [weakContext, weakPresented, appearing, presentedView, presenterView,
                                        host] {
        presentedView->removeAllAnimations();
        // The covered view stays in its place, only hidden, so that its layout and its place in
        // the window are as they were when it shows again.
        if (presenterView != host) {
            presenterView->setHidden(true);
        }
        const auto presenter = weakContext.lock();
        const auto presented = weakPresented.lock();
        if (appearing && presenter && presented) {
            presenter->endAppearanceTransition();
            presented->endAppearanceTransition();
        }
    };
    if (!animated) {
        context->finishModalTransition();
        return;
    }
    const int transition = context->m_modalTransitionCount;
    View::animate(
        modalTransitionDuration, 0.0, AnimationCurve::easeInOut, {}, [&] { presentedView->setFrame(frame); },
        [weakContext, transition](bool) {
            const auto presenter = weakContext.lock();
            if (presenter && presenter->m_modalTransitionCount == transition) {
                presenter->finishModalTransition();
            }
        });
}

void ViewController::dismissModalViewControllerAnimated(bool animated) {
    const auto context = presentationContext();
    if (!context->m_modalViewController) {
        if (const auto presenter = context->m_presentingViewController.lock()) {
            presenter->dismissModalViewControllerAnimated(animated);
        }
        return;
    }
    // Finish what is under way, here and in the screens presented over this one.
    for (ViewController* presented = context.get(); presented != nullptr;
         presented = presented->m_modalViewController.get()) {
        presented->finishModalTransition();
    }
    const std::shared_ptr<ViewController> presented = context->m_modalViewController;
    ViewController& frontmost = presented->frontmostPresentedViewController();
    const std::shared_ptr<ViewController> frontmostHeld = frontmost.shared_from_this();
    // The screens between this one and the front-most are not seen; they leave at once.
    for (ViewController* between = presented.get(); between != &frontmost;
         between = between->m_modalViewController.get()) {
        if (between->isViewLoaded()) {
            between->m_view->removeFromSuperview();
            between->m_view->setHidden(false);
        }
    }
    std::vector<std::shared_ptr<ViewController>> chain;
    for (ViewController* link = presented.get(); link != nullptr; link = link->m_modalViewController.get()) {
        chain.push_back(link->shared_from_this());
    }
    for (const auto& link : chain) {
        link->m_presentingViewController.reset();
        link->m_modalViewController.reset();
    }
    context->m_modalViewController.reset();

    const bool appearing = frontmost.isAppearingOrVisible();
    const std::shared_ptr<View> presenterView = context->view();
    presenterView->setHidden(false);
    if (appearing) {
        frontmost.beginAppearanceTransition(false, animated);
        context->beginAppearanceTransition(true, animated);
    }
    const std::shared_ptr<View> leavingView = frontmost.isViewLoaded() ? frontmost.m_view : nullptr;
    std::weak_ptr<ViewController> weakContext = context;
    context->m_finishModalTransition = [weakContext, frontmostHeld, chain, appearing, leavingView] {
        if (leavingView) {
            leavingView->removeAllAnimations();
            leavingView->removeFromSuperview();
        }
        if (appearing) {
            frontmostHeld->endAppearanceTransition();
            if (const auto presenter = weakContext.lock()) {
                presenter->endAppearanceTransition();
            }
        }
    };
    if (!animated || !leavingView || !leavingView->superview()) {
        context->finishModalTransition();
        return;
    }
    const double drop = leavingView->superview()->bounds().height();
    const int transition = context->m_modalTransitionCount;
    View::animate(
        modalTransitionDuration, 0.0, AnimationCurve::easeInOut, {},
        [&] { leavingView->setFrame(leavingView->frame().offset(0, drop)); },
        [weakContext, transition](bool) {
            const auto presenter = weakContext.lock();
            if (presenter && presenter->m_modalTransitionCount == transition) {
                presenter->finishModalTransition();
            }
        });
}

void ViewController::beginAppearanceTransition(bool isAppearing, bool animated) {
    if (isAppearing == isAppearingOrVisible()) {
        return;
    }
    m_appearance = isAppearing ? Appearance::Appearing : Appearance::Disappearing;
    m_appearanceAnimated = animated;
    if (isAppearing) {
        viewWillAppear(animated);
    } else {
        viewWillDisappear(animated);
    }
    m_appearanceChildren = childViewControllersForAppearance();
    for (const auto& child : m_appearanceChildren) {
        child->beginAppearanceTransition(isAppearing, animated);
    }
}

void ViewController::endAppearanceTransition() {
    if (m_appearance == Appearance::Appearing) {
        m_appearance = Appearance::Appeared;
        viewDidAppear(m_appearanceAnimated);
    } else if (m_appearance == Appearance::Disappearing) {
        m_appearance = Appearance::Disappeared;
        viewDidDisappear(m_appearanceAnimated);
    } else {
        return;
    }
    const auto children = std::move(m_appearanceChildren);
    m_appearanceChildren.clear();
    for (const auto& child : children) {
        child->endAppearanceTransition();
    }
}

bool ViewController::isAppearingOrVisible() const {
    return m_appearance == Appearance::Appearing || m_appearance == Appearance::Appeared;
}

void ViewController::installAsRootViewController(Window& window) {
    if (!m_rotationRouter) {
        m_rotationRouter = std::make_unique<WindowRotationRouter>(*this);
    }
    window.setRootView(view());
    window.setRotationHandler(m_rotationRouter.get());
    window.onUnhandledKeyInput = [root = weak_from_this()](const KeyInput& input) {
        const std::shared_ptr<ViewController> screen = root.lock();
        return screen && screen->handleKeyInput(input);
    };
    beginAppearanceTransition(true, false);
    endAppearanceTransition();
}

void ViewController::sendMemoryWarningToAll() {
    const std::vector<ViewController*> controllers = liveControllers();
    for (ViewController* controller : controllers) {
        // A warning may free other controllers; only those still alive hear it.
        const auto& live = liveControllers();
        if (std::find(live.begin(), live.end(), controller) != live.end()) {
            controller->didReceiveMemoryWarning();
        }
    }
}

void ViewController::viewWillAppear(bool) {}
void ViewController::viewDidAppear(bool) {}
void ViewController::viewWillDisappear(bool) {}
void ViewController::viewDidDisappear(bool) {}

void ViewController::didReceiveMemoryWarning() {
    if (m_view && !m_view->superview()) {
        m_view.reset();
        viewDidUnload();
    }
}

bool ViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    return RotationHandler::shouldAutorotateToInterfaceOrientation(orientation);
}
void ViewController::willRotateToInterfaceOrientation(int, double) {}
void ViewController::willAnimateRotationToInterfaceOrientation(int, double) {}
void ViewController::didRotateFromInterfaceOrientation(int) {}

void ViewController::loadView() {
    const Rect screen = Screen::main().bounds();
    setView(std::make_shared<View>(Rect(0, 0, screen.width(), screen.height() - Screen::statusBarHeight)));
}

void ViewController::viewDidLoad() {}
void ViewController::viewDidUnload() {}

std::vector<std::shared_ptr<ViewController>> ViewController::childViewControllersForAppearance() const {
    return {};
}
