#pragma once

#include <memory>

class Application;
class QWidget;
class Window;

// Shows a Window in a desktop window of Qt: draws it zoomed to the desktop window's size (with
// bars where the aspect differs), turns mouse, touch screen, Ctrl + wheel and touchpad pinches
// into touches, turns the device when the desktop window's aspect changes or on Ctrl + Left /
// Ctrl + Right, and tells the application when it becomes active, resigns or is minimised.
class WindowHost {
public:
    WindowHost(std::shared_ptr<Window> window, Application& application);
    ~WindowHost();
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;

    void show();
    // Brings the desktop window to the front and gives it the keyboard, restoring it when it
    // was minimised (another start of the program handed its work to this one).
    void raise();
    // The desktop window itself, for tests that send it Qt input.
    QWidget& widget();

private:
    class Widget;
    std::unique_ptr<Widget> m_widget;
};
