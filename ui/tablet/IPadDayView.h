#pragma once

#include "ui/daybox/DayView.h"

#include <memory>

class IPadDayViewController;

// The tablet's day card: 378 × 315 points, a half card 155 high.
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

private:
    std::weak_ptr<IPadDayViewController> m_dayViewController;
};
