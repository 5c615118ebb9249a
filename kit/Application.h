#pragma once

#include <QString>

#include <memory>

class Application;
class TouchEvent;
class Window;

// The application's lifecycle reports, in the platform's order: launch, then active; resign
// active, then background; foreground, then active again. Every operation is optional.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;

    virtual bool didFinishLaunching(Application& application);
    virtual void didBecomeActive(Application& application);
    virtual void willResignActive(Application& application);
    virtual void didEnterBackground(Application& application);
    virtual void willEnterForeground(Application& application);
    virtual void willTerminate(Application& application);
};

// The one application object: it receives every user-interface event in `sendEvent` and moves
// through the lifecycle states as the desktop window gains and loses focus or is minimised.
// Main thread only.
class Application {
public:
    enum class State { NotLaunched, Inactive, Active, Background };

    // Posted through the default NotificationCenter after the delegate heard willTerminate.
    static inline const QString willTerminateNotification =
        QStringLiteral("UIApplicationWillTerminateNotification");
    // Posted through the default NotificationCenter after the delegate heard willResignActive.
    static inline const QString willResignActiveNotification =
        QStringLiteral("UIApplicationWillResignActiveNotification");

    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The application object alive now, or null.
    static Application* shared();

    // Not owned; the delegate must outlive the application object.
    void setDelegate(ApplicationDelegate* delegate) { m_delegate = delegate; }
    ApplicationDelegate* delegate() const { return m_delegate; }

    // Every touch event passes here; the default hands it to the key window for delivery.
    // Subclasses that look at events call this first.
    virtual void sendEvent(const TouchEvent& event);

    // The window that receives events; set by Window::makeKeyAndVisible.
    Window* keyWindow() const { return m_keyWindow; }
    void setKeyWindow(Window* window) { m_keyWindow = window; }

    State state() const { return m_state; }
    // Lifecycle steps, called by the window host (and tests). Each reports to the delegate
    // only when the state really changes; `becomeActive` from the background first reports
    // the return to the foreground, and `enterBackground` while active first resigns.
    void finishLaunching();
    void becomeActive();
    void resignActive();
    void enterBackground();
    // The program ends: work still waiting for a timer is to be done now. Called by the process
    // entry once its event loop has ended.
    void terminate();

private:
    ApplicationDelegate* m_delegate = nullptr;
    Window* m_keyWindow = nullptr;
    State m_state = State::NotLaunched;
};
