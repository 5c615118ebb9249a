#pragma once

#include "ui/week/WeekViewController.h"

#include <memory>

// The tablet's week page: cards of 382 × 319 points with a padding of 4 on every screen scale.
class IPadWeekViewController : public WeekViewController {
public:
    static std::shared_ptr<IPadWeekViewController> create(std::shared_ptr<EventTouchLock> touchLock);
    explicit IPadWeekViewController(std::shared_ptr<EventTouchLock> touchLock);

protected:
    Size pageSize() const override;
    void layOutDayViews() override;
    std::shared_ptr<DayViewController> newDayViewController(bool halfSize, Point point) override;
    void adjustDayViews() override;
};
