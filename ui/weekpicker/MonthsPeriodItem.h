#pragma once

#include "core/paging/PageItem.h"

#include <memory>

class MonthsPeriod;

// The week picker's page items: a Quarter in portrait, a TwoMonths in landscape.
namespace MonthsPeriodItem {

PageItem itemOf(const MonthsPeriod& period);
// The period held by a week picker item (valid while the item lives); null for any other item.
const MonthsPeriod* periodOf(const PageItem& item);

} // namespace MonthsPeriodItem
