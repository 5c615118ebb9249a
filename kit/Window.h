#pragma once

#include "kit/View.h"

class Keyboard;
class ModalChoiceView;
struct KeyInput;
class StatusBar;
class TouchEvent;
class Timer;
class TouchRouter;
class WheelScrolling;

// The rotation reports of the platform, made to the window's root content (the root view
// controller). Every operation is optional; by default only portrait is allowed.
class RotationHandler {
public:
    virtual ~RotationHandler() = default;

    virtual bool shouldAutorotateToInterfaceOrientation(int orientation);
    virtual void willRotateToInterfaceOrientation(int orientation, double duration);
    // Called while the window takes its new geometry, so that changes made here are part of
    // the turn.
    virtual void willAnimateRotationToInterfaceOrientation(int orientation, double duration);
    virtual void didRotateFromInterfaceOrientation(int fromOrientation);
};

// The screen-sized root of the view tree: the status bar at the top and the application's
// content below it. The window turns with the device: in landscape its bounds are the screen
// turned on its side. Main thread only.
class Window : public View {
public:
    Window();
    ~Window() override;

    // Makes this the window that receives events and shows it.
    void makeKeyAndVisible();
    bool isKeyWindow() const;

    const std::shared_ptr<StatusBar>& statusBar() const { return m_statusBar; }
    // The area below the status bar, in window coordinates.
    Rect applicationFrame() const;

    // The content below the status bar; it is sent behind every other subview and resized to
    // the application frame when the window turns.
    void setRootView(const std::shared_ptr<View>& rootView);
    const std::shared_ptr<View>& rootView() const { return m_rootView; }
    void setRotationHandler(RotationHandler* handler) { m_rotationHandler = handler; }

    int orientation() const { return m_orientation; }
    static bool isLandscapeOrientation(int orientation);
    // Turns the device to the orientation. When the handler allows it, the handler hears the
    // platform's calls (will rotate, will animate rotation, did rotate) around the new
    // geometry; otherwise nothing changes. Returns whether the window turned.
    bool rotateToOrientation(int orientation);
    // The orientation the device was last turned to; the window's own differs from it while the
    // handler holds the window in portrait.
    int deviceOrientation() const { return m_deviceOrientation; }
    // Asks the handler again: turns to the device's orientation if it is now allowed, or to
    // portrait if the window's own no longer is. Returns whether the window turned.
    bool attemptRotationToDeviceOrientation();
    // Called after every turn, whoever asked for it, so that whoever shows the window can take
    // its new shape.
    void setOnOrientationChanged(std::function<void()> onOrientationChanged) {
        m_onOrientationChanged = std::move(onOrientationChanged);
    }
    // How long the platform takes for a turn from the current orientation to `orientation`.
    double rotationDuration(int orientation) const;

    // Raw input in window coordinates, one finger at a time (the mouse is finger 0): each call
    // makes a touch event and passes it through the application's sendEvent.
    void fingerDown(int finger, Point location);
    void fingerMoved(int finger, Point location);
    void fingerUp(int finger, Point location);
    void fingerCancelled(int finger);
    // A pinch at the point by the factor (Ctrl + wheel, touchpad pinch); successive calls make
    // one pinch, which ends shortly after the last.
    void pinchAt(Point location, double factor);
    // The mouse wheel and touchpad scrolling at the point (see WheelScrolling).
    WheelScrolling& wheelScrolling();

    // Typing from the computer's keyboard, handed to the first responder; returns whether it
    // was used.
    bool keyInput(const KeyInput& input);
    // Typing the first responder did not use (or with none): the screen's own keys.
    std::function<bool(const KeyInput& input)> onUnhandledKeyInput;

    // Moves the window's content up by `raise` points (0 puts it back), as a phone moves its
    // application window; the status bar and the on-screen keyboard stay where they are.
    void setContentRaise(double raise);
    double contentRaise() const { return m_contentRaise; }

    // The view that receives typing, or none. Use View::becomeFirstResponder and
    // resignFirstResponder to change it.
    const std::shared_ptr<View>& firstResponder() const { return m_firstResponder; }
    // Makes the view first responder if the current one agrees to resign; the keyboard follows
    // once the change is complete, so going from one text field to another keeps it up.
    bool makeFirstResponder(const std::shared_ptr<View>& view);
    // Ends the current first responder without asking it.
    void clearFirstResponder();
    // The on-screen keyboard area of this window, made on first use.
    Keyboard& keyboard();

    // Called whenever a view of this window asks to be laid out or drawn again, animation frames
    // included, so that whoever shows the window draws only then.
    void setOnNeedsDisplay(std::function<void()> onNeedsDisplay) {
        m_onNeedsDisplay = std::move(onNeedsDisplay);
    }

    // Called with every accessibility notification of a view of this window (the first
    // responder's focus included), so that whoever shows the window passes it on to the screen
    // reader.
    void setOnAccessibilityNotification(
        std::function<void(View& view, AccessibilityNotification notification)> onNotification) {
        m_onAccessibilityNotification = std::move(onNotification);
    }
    void accessibilityNotification(View& view, AccessibilityNotification notification);

    // Delivers a touch event to the views under its touches (called by the application).
    void deliverEvent(const TouchEvent& event);
    TouchRouter& touchRouter();

protected:
    void layoutSubviews() override;
    void rootNeedsDisplay() override;

private:
    // Hands an event to the application's sendEvent, or delivers it when there is none.
    void send(const TouchEvent& event);
    // Shows the keyboard for a text field that is first responder, hides it otherwise.
    void updateKeyboard();
    bool allows(int orientation) const;
    // Tab and Shift+Tab: the next (or previous) field that can take typing becomes first responder.
    bool moveFocus(bool backwards);
    // The alert or action sheet on top, if one is shown.
    std::shared_ptr<ModalChoiceView> frontmostChoice();
    void turnTo(int orientation);

    std::unique_ptr<TouchRouter> m_touchRouter;
    std::unique_ptr<WheelScrolling> m_wheelScrolling;
    std::shared_ptr<Timer> m_rotationTimer;
    std::shared_ptr<StatusBar> m_statusBar;
    std::shared_ptr<View> m_rootView;
    std::shared_ptr<View> m_firstResponder;
    std::shared_ptr<Keyboard> m_keyboard;
    double m_contentRaise = 0.0;
    RotationHandler* m_rotationHandler = nullptr;
    std::function<void()> m_onNeedsDisplay;
    std::function<void()> m_onOrientationChanged;
    std::function<void(View&, AccessibilityNotification)> m_onAccessibilityNotification;
    int m_orientation;
    int m_deviceOrientation;
};
