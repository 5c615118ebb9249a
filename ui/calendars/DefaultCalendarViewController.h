#pragma once

#include "kit/AlertViewDelegate.h"
#include "ui/calendars/CalendarsViewController.h"

#include <memory>

class AppSettings;
class InvisibleCalendarAlertView;
class MultiValueSelectControllerDelegate;

// The choice of the default calendar for new events, pushed by the settings screen onto its
// navigation stack:
//     navigationController->pushViewController(DefaultCalendarViewController::create(&setting), true);
// Lists the calendars that take events; the current default is checked. Choosing one tells the
// delegate (the setting) with the calendar's identifier and title and pops back; a hidden one is
// first confirmed and then made visible.
class DefaultCalendarViewController : public CalendarsViewController, public AlertViewDelegate {
public:
    // The shared event service and settings. The delegate is not owned and must outlive the
    // screen (the settings screen below it on the stack holds it).
    static std::shared_ptr<DefaultCalendarViewController>
    create(MultiValueSelectControllerDelegate* delegate);

    DefaultCalendarViewController(EventService& eventService, AppSettings& appSettings,
                                  MultiValueSelectControllerDelegate* delegate);
    ~DefaultCalendarViewController() override;

    MultiValueSelectControllerDelegate* delegate() const { return m_delegate; }
    void setDelegate(MultiValueSelectControllerDelegate* delegate) { m_delegate = delegate; }

    // "Yes" in the alert: the calendar leaves the hidden ones and becomes the choice.
    void confirmedMakingCalendarVisibleAndDefault(const std::shared_ptr<EKCalendar>& calendar);

    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;

    void clickedButtonAtIndex(AlertView& alertView, int buttonIndex) override;

    static Color defaultCalendarTitleColor() { return Color::fromRgb255(7, 109, 152); }

protected:
    bool accept(const EKCalendar& calendar) const override;

private:
    bool isHidden(const EKCalendar& calendar) const;
    void choose(const EKCalendar& calendar);

    AppSettings* m_appSettings;
    MultiValueSelectControllerDelegate* m_delegate;
    std::shared_ptr<InvisibleCalendarAlertView> m_alert;
};
