#pragma once

#include <functional>
#include <memory>

// An action for a button of a screen: runs the screen's operation while the screen exists. The
// button holds the screen only weakly, so the screen never keeps itself alive through its buttons.
template <class Screen>
std::function<void()> weakScreenAction(const std::weak_ptr<Screen>& screen, void (Screen::*action)()) {
    return [screen, action] {
        if (const auto self = screen.lock()) {
            (self.get()->*action)();
        }
    };
}
