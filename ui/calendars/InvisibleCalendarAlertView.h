#pragma once

#include "kit/AlertView.h"

#include <memory>

class EKCalendar;

// Asks before a hidden calendar becomes the default: "No" (index 0) or "Yes" (index 1). The
// delegate hears the choice through the alert's delegate operations.
class InvisibleCalendarAlertView : public AlertView {
public:
    static constexpr int yesButtonIndex = 1;

    explicit InvisibleCalendarAlertView(std::shared_ptr<EKCalendar> calendar,
                                        const std::shared_ptr<AlertViewDelegate>& delegate = nullptr);

    const std::shared_ptr<EKCalendar>& calendar() const { return m_calendar; }

private:
    std::shared_ptr<EKCalendar> m_calendar;
};
