#pragma once

#include "kit/TableViewCell.h"

#include <memory>

class CalendarPickerView;

// The tablet editor's calendar row: the label "Calendar" and, at its right end, the strip of the
// editable calendars without its border.
class CalendarPickerCell : public TableViewCell {
public:
    static constexpr int pickerMaximumWidth = 200;
    static constexpr double pickerRightMargin = 13.0;

    CalendarPickerCell();

    const std::shared_ptr<CalendarPickerView>& calendarPickerView() const { return m_calendarPickerView; }

protected:
    void layoutSubviews() override;

private:
    std::shared_ptr<CalendarPickerView> m_calendarPickerView;
};
