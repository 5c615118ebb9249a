#include "ui/tablet/IPadWeekScrollViewController.h"

#include "ui/tablet/IPadWeekViewController.h"
#include "ui/week/DateTitleView.h"

std::shared_ptr<IPadWeekScrollViewController> IPadWeekScrollViewController::create() {
    auto controller = std::make_shared<IPadWeekScrollViewController>();
    becomeSharedInstance(controller);
    return controller;
}

std::shared_ptr<WeekViewController>
IPadWeekScrollViewController::newWeekViewController(std::shared_ptr<EventTouchLock> touchLock) {
    return IPadWeekViewController::create(std::move(touchLock));
}

std::shared_ptr<DateTitleView> IPadWeekScrollViewController::newDateTitleView(const Rect& frame) {
    return DateTitleView::create(frame);
}
