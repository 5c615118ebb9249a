#include "kit/Window.h"

#include "foundation/RunLoop.h"
#include "kit/Application.h"
#include "kit/InterfaceOrientation.h"
#include "kit/KeyInput.h"
#include "kit/Keyboard.h"
#include "kit/ModalChoiceView.h"
#include "kit/Screen.h"
#include "kit/StatusBar.h"
#include "kit/TextField.h"
#include "kit/TouchRouter.h"
#include "kit/WheelScrolling.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

bool RotationHandler::shouldAutorotateToInterfaceOrientation(int orientation) {
    return orientation == InterfaceOrientation::Portrait;
}
void RotationHandler::willRotateToInterfaceOrientation(int, double) {}
void RotationHandler::willAnimateRotationToInterfaceOrientation(int, double) {}
void RotationHandler::didRotateFromInterfaceOrientation(int) {}

Window::Window()
    : View(Screen::main().bounds()), m_statusBar(std::make_shared<StatusBar>()),
      m_orientation(InterfaceOrientation::Portrait), m_deviceOrientation(InterfaceOrientation::Portrait) {
    setBackgroundColor(Color(0, 0, 0));
    addSubview(m_statusBar);
    setNeedsLayout();
}

Window::~Window() {
    if (m_rotationTimer) {
        m_rotationTimer->invalidate();
    }
    m_touchRouter.reset();
    Application* application = Application::shared();
    if (application != nullptr && application->keyWindow() == this) {
        application->setKeyWindow(nullptr);
    }
}

void Window::rootNeedsDisplay() {
    if (m_onNeedsDisplay) {
        m_onNeedsDisplay();
    }
}

void Window::makeKeyAndVisible() {
    setHidden(false);
    if (Application* application = Application::shared()) {
        application->setKeyWindow(this);
    }
}

bool Window::isKeyWindow() const {
    const Application* application = Application::shared();
    return application != nullptr && application->keyWindow() == this;
}

Rect Window::applicationFrame() const {
    return Rect(0, Screen::statusBarHeight, bounds().width(), bounds().height() - Screen::statusBarHeight);
}

void Window::setRootView(const std::shared_ptr<View>& rootView) {
    if (m_rootView == rootView) {
        return;
    }
    if (m_rootView) {
        m_rootView->removeFromSuperview();
    }
    m_rootView = rootView;
    if (m_rootView) {
        addSubview(m_rootView);
        sendSubviewToBack(*m_rootView);
        m_rootView->setFrame(applicationFrame());
    }
}

bool Window::isLandscapeOrientation(int orientation) {
    return orientation == InterfaceOrientation::LandscapeLeft ||
           orientation == InterfaceOrientation::LandscapeRight;
}

double Window::rotationDuration(int orientation) const {
    // Half a turn takes twice as long as a quarter turn.
    const bool halfTurn = isLandscapeOrientation(orientation) == isLandscapeOrientation(m_orientation);
    return halfTurn ? 0.6 : 0.3;
}

bool Window::rotateToOrientation(int orientation) {
    if (orientation < InterfaceOrientation::Portrait || orientation > InterfaceOrientation::LandscapeLeft ||
        orientation == m_orientation || !allows(orientation)) {
        return false;
    }
    m_deviceOrientation = orientation;
    turnTo(orientation);
    return true;
}

bool Window::attemptRotationToDeviceOrientation() {
    int target = m_orientation;
    if (allows(m_deviceOrientation)) {
        target = m_deviceOrientation;
    } else if (!allows(m_orientation)) {
        target = InterfaceOrientation::Portrait;
    }
    if (target == m_orientation) {
        return false;
    }
    turnTo(target);
    return true;
}

bool Window::allows(int orientation) const {
    return m_rotationHandler == nullptr ||
           m_rotationHandler->shouldAutorotateToInterfaceOrientation(orientation);
}

void Window::turnTo(int orientation) {
    const int fromOrientation = m_orientation;
    const double duration = rotationDuration(orientation);
    if (m_rotationHandler != nullptr) {
        m_rotationHandler->willRotateToInterfaceOrientation(orientation, duration);
    }
    m_orientation = orientation;
    const Size size = Screen::main().sizeForLandscape(isLandscapeOrientation(orientation));
    // The desktop window takes its new shape at once, so the window's own geometry does not
    // animate; what the handler changes in its will-animate call does.
    setBounds(Rect(Point(0, 0), size));
    setCenter(Point(size.width() / 2.0, size.height() / 2.0));
    layoutIfNeeded();
    RotationHandler* handler = m_rotationHandler;
    if (handler != nullptr) {
        View::animate(duration, [handler, orientation, duration] {
            handler->willAnimateRotationToInterfaceOrientation(orientation, duration);
        });
        // The turn ends after its duration, whether or not the handler animated anything.
        std::weak_ptr<View> weakSelf = weak_from_this();
        m_rotationTimer =
            RunLoop::main().scheduleTimer(duration, false, [weakSelf, handler, fromOrientation] {
                const auto self = std::static_pointer_cast<Window>(weakSelf.lock());
                if (self && self->m_rotationHandler == handler) {
                    handler->didRotateFromInterfaceOrientation(fromOrientation);
                }
            });
    }
    if (m_onOrientationChanged) {
        m_onOrientationChanged();
    }
}

void Window::layoutSubviews() {
    m_statusBar->setFrame(Rect(0, 0, bounds().width(), Screen::statusBarHeight));
    if (m_rootView) {
        m_rootView->setFrame(applicationFrame().offset(0, -m_contentRaise));
    }
    if (m_keyboard) {
        m_keyboard->windowDidLayout();
    }
}

bool Window::keyInput(const KeyInput& input) {
    // A question on screen holds the typing, as it holds the touches.
    if (const std::shared_ptr<ModalChoiceView> choice = frontmostChoice()) {
        return choice->handleKeyInput(input);
    }
    // Held while it handles the input, which may end its time as first responder.
    const std::shared_ptr<View> responder = m_firstResponder;
    if (responder && responder->handleKeyInput(input)) {
        return true;
    }
    if (input.type == KeyInput::Type::Press && (input.key == Qt::Key_Tab || input.key == Qt::Key_Backtab) &&
        moveFocus(input.key == Qt::Key_Backtab || (input.modifiers & Qt::ShiftModifier) != 0)) {
        return true;
    }
    return onUnhandledKeyInput && onUnhandledKeyInput(input);
}

std::shared_ptr<ModalChoiceView> Window::frontmostChoice() {
    std::shared_ptr<ModalChoiceView> frontmost;
    std::function<void(const std::shared_ptr<View>&)> find = [&](const std::shared_ptr<View>& view) {
        if (auto choice = std::dynamic_pointer_cast<ModalChoiceView>(view);
            choice && choice->isVisible() && choice->isShowing()) {
            frontmost = choice;
        }
        for (const auto& subview : view->subviews()) {
            find(subview);
        }
    };
    find(shared_from_this());
    return frontmost;
}

bool Window::moveFocus(bool backwards) {
    // The fields a finger could reach now, in reading order: not hidden, not covered by another
    // screen, taking touches.
    std::vector<std::pair<Point, std::shared_ptr<View>>> fields;
    std::function<void(const std::shared_ptr<View>&)> collect = [&](const std::shared_ptr<View>& view) {
        for (const auto& subview : view->subviews()) {
            collect(subview);
        }
        if (!view->canBecomeFirstResponder() || !view->userInteractionEnabled() || !view->isShowing()) {
            return;
        }
        const Rect frame = view->convertRectToView(view->bounds(), this);
        const std::shared_ptr<View> hit = hitTest(frame.center());
        if (hit && (hit == view || hit->isDescendantOfView(*view))) {
            fields.emplace_back(frame.origin(), view);
        }
    };
    collect(shared_from_this());
    if (fields.empty()) {
        return false;
    }
    std::stable_sort(fields.begin(), fields.end(), [](const auto& a, const auto& b) {
        return a.first.y() != b.first.y() ? a.first.y() < b.first.y() : a.first.x() < b.first.x();
    });
    const auto current = std::find_if(fields.begin(), fields.end(),
                                      [this](const auto& field) { return field.second == m_firstResponder; });
    const auto count = static_cast<std::ptrdiff_t>(fields.size());
    std::ptrdiff_t next = backwards ? count - 1 : 0;
    if (current != fields.end()) {
        next = ((current - fields.begin()) + (backwards ? count - 1 : 1)) % count;
    }
    return makeFirstResponder(fields[static_cast<std::size_t>(next)].second);
}

void Window::setContentRaise(double raise) {
    m_contentRaise = raise;
    if (m_rootView) {
        m_rootView->setFrame(applicationFrame().offset(0, -raise));
    }
}

bool Window::makeFirstResponder(const std::shared_ptr<View>& view) {
    if (view == m_firstResponder) {
        return true;
    }
    if (const std::shared_ptr<View> previous = m_firstResponder) {
        if (!previous->canResignFirstResponder()) {
            return false;
        }
        m_firstResponder.reset();
        previous->didResignFirstResponder();
    }
    m_firstResponder = view;
    if (view) {
        view->didBecomeFirstResponder();
    }
    updateKeyboard();
    if (view) {
        view->postAccessibilityNotification(AccessibilityNotification::FocusChanged);
    }
    return true;
}

void Window::accessibilityNotification(View& view, AccessibilityNotification notification) {
    if (m_onAccessibilityNotification) {
        m_onAccessibilityNotification(view, notification);
    }
}

void Window::clearFirstResponder() {
    if (const std::shared_ptr<View> previous = m_firstResponder) {
        m_firstResponder.reset();
        previous->didResignFirstResponder();
        updateKeyboard();
    }
}

Keyboard& Window::keyboard() {
    if (!m_keyboard) {
        m_keyboard = std::make_shared<Keyboard>();
    }
    return *m_keyboard;
}

void Window::updateKeyboard() {
    if (const auto field = std::dynamic_pointer_cast<TextField>(m_firstResponder)) {
        // A keyboard coming up goes in front of everything the window holds.
        if (!keyboard().isShown() || m_keyboard->superview().get() != this) {
            addSubview(m_keyboard);
        }
        m_keyboard->showForField(field);
    } else if (m_keyboard) {
        m_keyboard->hide();
    }
}

TouchRouter& Window::touchRouter() {
    if (!m_touchRouter) {
        // The router sees the window through a pointer that does not own it: the window owns
        // the router, and an owning link back would keep both alive forever.
        m_touchRouter = std::make_unique<TouchRouter>(std::shared_ptr<View>(std::shared_ptr<View>(), this));
        m_touchRouter->toSendEvent = [this](const TouchEvent& event) { send(event); };
    }
    return *m_touchRouter;
}

void Window::send(const TouchEvent& event) {
    if (Application* application = Application::shared();
        application != nullptr && application->keyWindow() == this) {
        application->sendEvent(event);
    } else {
        deliverEvent(event);
    }
}

void Window::deliverEvent(const TouchEvent& event) {
    touchRouter().deliver(event);
}

void Window::fingerDown(int finger, Point location) {
    send(touchRouter().touchBegan(finger, location));
}

void Window::fingerMoved(int finger, Point location) {
    send(touchRouter().touchMoved(finger, location));
}

void Window::fingerUp(int finger, Point location) {
    send(touchRouter().touchEnded(finger, location));
}

void Window::fingerCancelled(int finger) {
    send(touchRouter().touchCancelled(finger));
}

void Window::pinchAt(Point location, double factor) {
    touchRouter().pinchAt(location, factor);
}

WheelScrolling& Window::wheelScrolling() {
    if (!m_wheelScrolling) {
        m_wheelScrolling =
            std::make_unique<WheelScrolling>(std::static_pointer_cast<Window>(shared_from_this()));
    }
    return *m_wheelScrolling;
}
