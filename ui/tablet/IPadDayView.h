#pragma once

#include "ui/daybox/DayView.h"

#include <memory>

class IPadDayViewController;

// The tablet's day card: 378 × 315 points, a half card 155 high, with a higher header, larger
// titles and the full month name at the right.
class IPadDayView : public DayView {
public:
    static std::shared_ptr<IPadDayView> create(Point point, bool halfSize);
    IPadDayView(const Rect& frame, bool halfSize);

    static Size cardSize(bool halfSize);

    // The controller that made the card; not owned.
    std::shared_ptr<IPadDayViewController> dayViewController() const { return m_dayViewController.lock(); }
    void setDayViewController(std::weak_ptr<IPadDayViewController> controller) {
        m_dayViewController = std::move(controller);
    }

protected:
    Font eventFont() const override;
    double headerHeight() const override { return 28.0; }
    double headerMargin() const override { return 6.0; }
    double textPositionY() const override { return 3.0; }
    double dayOfMonthLabelWidth() const override { return 120.0; }
    double dayOfWeekLabelWidth() const override { return 120.0; }
    Rect moreEventsButtonFrame() const override;
    Font moreEventsButtonFont() const override;
    void setLeftAndRightTitle(Date date) override;

private:
    std::weak_ptr<IPadDayViewController> m_dayViewController;
};
