#pragma once

#include "kit/TableViewCell.h"

#include <memory>

class EKCalendar;
class Label;

// A calendar's row: its dot (the birthday cake for the birthdays calendar) and its title in bold
// 17-point type at (42, 11). Checked rows show a check mark; faded rows show their image and
// title at 40% alpha. In editing mode a birthdays row is grey and inert, the others black with a
// disclosure indicator.
class CalendarCell : public TableViewCell {
public:
    static constexpr double titleWidth = 257.0;
    static constexpr double checkedTitleWidth = 236.0;
    static constexpr double fadedAlpha = 0.4;

    // An empty row (for the "Add Calendar..." row).
    CalendarCell();
    explicit CalendarCell(std::shared_ptr<EKCalendar> calendar);

    const std::shared_ptr<EKCalendar>& calendar() const { return m_calendar; }
    Label& calendarTitleLabel() { return *m_calendarTitleLabel; }
    bool isFaded() const { return m_faded; }
    bool isChecked() const { return m_checked; }
    bool isBirthdayCalendar() const;

    void setChecked(bool checked);
    void setFaded(bool faded);

protected:
    void layoutSubviews() override;
    void editingChanged(bool animated) override;

private:
    void applyAlphas();

    std::shared_ptr<EKCalendar> m_calendar;
    std::shared_ptr<Label> m_calendarTitleLabel;
    bool m_faded = false;
    bool m_checked = false;
};
