#include "ui/tablet/IPadDayView.h"

#include "ui/daybox/DayBoxArtwork.h"

IPadDayView::IPadDayView(const Rect& frame, bool halfSize) : DayView(frame, halfSize) {}

Size IPadDayView::cardSize(bool halfSize) {
    return halfSize ? Size(378, 155) : Size(378, 315);
}

std::shared_ptr<IPadDayView> IPadDayView::create(Point point, bool halfSize) {
    DayBoxArtwork::registerImages();
    auto dayView = std::make_shared<IPadDayView>(Rect(point, cardSize(halfSize)), halfSize);
    dayView->buildSubviews();
    return dayView;
}
