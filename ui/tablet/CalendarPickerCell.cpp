#include "ui/tablet/CalendarPickerCell.h"

#include "core/events/EventService.h"
#include "foundation/Localization.h"
#include "kit/Label.h"
#include "ui/editing/CalendarPickerView.h"

CalendarPickerCell::CalendarPickerCell()
    : TableViewCell(Style::Default), m_calendarPickerView(CalendarPickerView::create(Point(0, -2))) {
    textLabel().setText(localizedString(QStringLiteral("Calendar")));
    setSelectionStyle(SelectionStyle::None);
    m_calendarPickerView->setMaximumWidth(pickerMaximumWidth);
    m_calendarPickerView->setCalendars(EventService::sharedInstance().editableCalendars());
    m_calendarPickerView->setHideBorder(true);
    contentView().addSubview(m_calendarPickerView);
}

void CalendarPickerCell::layoutSubviews() {
    TableViewCell::layoutSubviews();
    // Placed against the row's right end, whatever inset the grouped table gives the content.
    const double x = bounds().width() - m_calendarPickerView->frame().width() - pickerRightMargin;
    m_calendarPickerView->setFrameX(x - contentView().frame().x());
}
