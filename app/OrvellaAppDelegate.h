#pragma once

#include "kit/Application.h"

#include <functional>
#include <memory>

class View;
class ViewController;
class Window;

// The application delegate: finishes the launch (the beta-testing client, the status bar, the
// window with the root content, failures of the event store shown in alerts) and turns activation and
// resignation into the stored last active time and ApplicationActivatedEvent.
class OrvellaAppDelegate : public ApplicationDelegate {
public:
    OrvellaAppDelegate(std::shared_ptr<Window> window, std::shared_ptr<View> rootView);
    // The window shows the controller's screen and sends it the rotation reports.
    OrvellaAppDelegate(std::shared_ptr<Window> window, std::shared_ptr<ViewController> rootViewController);

    bool didFinishLaunching(Application& application) override;
    void didBecomeActive(Application& application) override;
    void willResignActive(Application& application) override;
    void willEnterForeground(Application& application) override;

    const std::shared_ptr<Window>& window() const { return m_window; }
    const std::shared_ptr<View>& rootView() const { return m_rootView; }
    const std::shared_ptr<ViewController>& rootViewController() const { return m_rootViewController; }

    // The rating prompt's reports: the launch, and each return to the foreground.
    std::function<void()> toTellRatingPromptAppLaunched;
    std::function<void(bool canPromptForRating)> toTellRatingPromptAppEnteredForeground;
    // Whether the root content has shown its first data (a screenshot waits for it); without
    // it the content counts as loaded.
    std::function<bool()> isContentLoaded;

private:
    std::shared_ptr<Window> m_window;
    std::shared_ptr<View> m_rootView;
    std::shared_ptr<ViewController> m_rootViewController;
};
