#pragma once

#include "ui/week/GlobalActionsListViewDelegate.h"

#include <memory>

class EventService;
class GlobalActionsListView;
class ViewController;

// What the actions menu's choices need of the week screen.
class ActionsMenuHost {
public:
    virtual ~ActionsMenuHost() = default;
    virtual ViewController& weekScreen() = 0;
    virtual void openWeekPicker(bool fromMenu) = 0;
    virtual void openSearchFromMenu() = 0;
    // Search gives way to a screen the menu opens.
    virtual void closeSearchForMenuScreen() = 0;
};

// The actions menu under the actions button, made on first use for each orientation, and the
// screens its choices open.
class ActionsMenuCoordinator : public GlobalActionsListViewDelegate,
                               public std::enable_shared_from_this<ActionsMenuCoordinator> {
public:
    explicit ActionsMenuCoordinator(EventService& eventService);
    void setHost(std::weak_ptr<ActionsMenuHost> host) { m_host = std::move(host); }

    void showActions();
    // Hides the menu if it shows; says whether it did.
    bool hideShownMenu();
    void clickedButtonAtIndex(int buttonIndex) override;
    const std::shared_ptr<GlobalActionsListView>& portraitMenuView() const { return m_portraitMenuView; }
    const std::shared_ptr<GlobalActionsListView>& landscapeMenuView() const { return m_landscapeMenuView; }

private:
    void presentCalendarsScreen();
    void presentSettingsScreen();

    std::weak_ptr<ActionsMenuHost> m_host;
    EventService& m_eventService;
    std::shared_ptr<GlobalActionsListView> m_portraitMenuView;
    std::shared_ptr<GlobalActionsListView> m_landscapeMenuView;
};
