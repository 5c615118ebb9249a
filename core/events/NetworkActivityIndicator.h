#pragma once

#include <functional>

// The process-wide network activity indicator: a flag that the user interface shows while
// accounts are refreshed. Set on the main thread; readable from any thread.
class NetworkActivityIndicator {
public:
    static bool isVisible();
    // Calls the observer when the flag changes.
    static void setVisible(bool visible);

    // Told every change of the flag, on the main thread. An empty function removes it.
    static void setOnVisibilityChanged(std::function<void(bool visible)> onVisibilityChanged);
};
