#include "ui/tablet/IPadWeekViewController.h"

#include "kit/NavigationBar.h"
#include "kit/Screen.h"
#include "ui/tablet/IPadDayViewController.h"

IPadWeekViewController::IPadWeekViewController(std::shared_ptr<EventTouchLock> touchLock)
    : WeekViewController(std::move(touchLock)) {}

std::shared_ptr<IPadWeekViewController>
IPadWeekViewController::create(std::shared_ptr<EventTouchLock> touchLock) {
    auto page = std::make_shared<IPadWeekViewController>(std::move(touchLock));
    page->view();
    return page;
}

Size IPadWeekViewController::pageSize() const {
    const Rect screen = Screen::main().bounds();
    return Size(screen.width(), screen.height() - Screen::statusBarHeight - NavigationBar::height);
}

void IPadWeekViewController::layOutDayViews() {
    positionDayViews(382, 319, 4, 4);
}

std::shared_ptr<DayViewController> IPadWeekViewController::newDayViewController(bool halfSize, Point point) {
    return IPadDayViewController::create(point, halfSize, touchLock());
}

void IPadWeekViewController::adjustDayViews() {
    dayViewControllers()[2]->view()->moveFrameHeight(-0.5);
    dayViewControllers()[6]->view()->moveFrameHeight(0.5);
}
