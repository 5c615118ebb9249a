#include "ui/weekpicker/MonthsPeriodItem.h"

#include "core/calendar/Quarter.h"
#include "core/calendar/TwoMonths.h"

PageItem MonthsPeriodItem::itemOf(const MonthsPeriod& period) {
    if (const auto* quarter = dynamic_cast<const Quarter*>(&period)) {
        return PageItem(*quarter);
    }
    return PageItem(dynamic_cast<const TwoMonths&>(period));
}

const MonthsPeriod* MonthsPeriodItem::periodOf(const PageItem& item) {
    if (const Quarter* quarter = item.as<Quarter>()) {
        return quarter;
    }
    return item.as<TwoMonths>();
}
