#include "ui/tablet/TimeCell.h"

#include "core/calendar/DateTimeFormatter.h"
#include "foundation/Localization.h"
#include "kit/Label.h"

TimeCell::TimeCell() : TableViewCell(Style::Value1) {
    textLabel().setText(localizedString(QStringLiteral("Time")));
}

void TimeCell::setTime(Date date) {
    detailTextLabel().setText(DateTimeFormatter::instance().formatTime(date));
    setNeedsLayout();
}
