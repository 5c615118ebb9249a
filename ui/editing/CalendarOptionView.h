#pragma once

#include "foundation/Color.h"
#include "kit/View.h"

#include <QString>

#include <memory>

class EKCalendar;

// One calendar of the calendar strip: a small rounded square in the calendar's colour,
// lightened, with a grey rim. The chosen square grows around its centre and takes a stronger
// colour and a darker rim.
class CalendarOptionView : public View {
public:
    static constexpr double side = 17.0;
    // How far the chosen square grows on each side.
    static constexpr double growth = 4.0;
    static constexpr double growDuration = 0.15;

    CalendarOptionView(Point point, const EKCalendar& calendar);

    bool selected() const { return m_selected; }
    // Grows (animated) or shrinks (at once) the square; nothing when the state stays.
    void setSelected(bool selected);
    const QString& calendarTitle() const { return m_calendarTitle; }
    const Color& calendarColor() const { return m_calendarColor; }
    const Color& deselectedCalendarColor() const { return m_deselectedCalendarColor; }

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    bool m_selected = false;
    QString m_calendarTitle;
    Color m_calendarColor;
    Color m_deselectedCalendarColor;
};
