#include "ui/tablet/IPadDayView.h"

#include "core/calendar/DateTimeFormatter.h"
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

Font IPadDayView::eventFont() const {
    return Font::boldSystemFontOfSize(17);
}

Rect IPadDayView::moreEventsButtonFrame() const {
    return Rect(2, halfSized() ? 126 : 286, 374, 27);
}

Font IPadDayView::moreEventsButtonFont() const {
    return Font::boldSystemFontOfSize(16);
}

void IPadDayView::setLeftAndRightTitle(Date date) {
    DateTimeFormatter& formatter = DateTimeFormatter::instance();
    setLeftTitle(formatter.formatDayOfWeek(date));
    setRightTitle(formatter.formatFullDayOfMonth(date));
}
