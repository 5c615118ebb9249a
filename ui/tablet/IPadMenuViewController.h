#pragma once

#include "kit/ViewController.h"

#include <QString>

#include <memory>

class GlobalActionsListViewDelegate;

// The tablet's actions menu, the first content of the popover at the week screen's menu button:
// a column of four buttons. "Calendars" and "Settings" put their screen into the same popover;
// "Jump to Week" and "Search" tell the delegate (the week screen) and close the popover.
class IPadMenuViewController : public ViewController {
public:
    static constexpr double buttonWidth = 178.0;
    static constexpr double buttonHeight = 35.0;
    static constexpr double buttonSpacing = 6.0;
    static constexpr Size menuContentSize{178.0, 158.0};

    // Not owned.
    void setDelegate(std::weak_ptr<GlobalActionsListViewDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // The top of the next button.
    double currentY() const { return m_currentY; }

    void viewDidAppear(bool animated) override;

    void openVisibleCalendars();
    void openJumpToWeekOrMonth();
    void openSearch();
    void openSettings();

protected:
    void loadView() override;
    void viewDidLoad() override;

private:
    void addButton(const QString& title, void (IPadMenuViewController::*action)(), const QString& icon);
    // The popover shows `screen` under a navigation bar in place of the menu.
    void openInPopover(const std::shared_ptr<ViewController>& screen);
    void tellDelegateAndDismiss(int buttonIndex);

    double m_currentY = 0.0;
    std::weak_ptr<GlobalActionsListViewDelegate> m_delegate;
};
