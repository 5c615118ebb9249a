#include "ui/common/ColoredBackground.h"

#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "kit/Artwork.h"
#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "ui/common/ColorExtensions.h"
#include "ui/common/DotImage.h"

bool ColoredBackground::applyCalendarColor(const Color& color) {
    if (m_displayedCalendarColor == color && !m_displayedBackgroundCalendarColor) {
        return false;
    }
    m_displayedCalendarColor = color;
    m_displayedBackgroundCalendarColor.reset();
    return true;
}

bool ColoredBackground::applyBackgroundCalendarColor(const Color& color) {
    if (m_displayedBackgroundCalendarColor == color && !m_displayedCalendarColor) {
        return false;
    }
    m_displayedBackgroundCalendarColor = color;
    m_displayedCalendarColor.reset();
    return true;
}

bool ColoredBackground::applyColor(const Color& color, bool allDay) {
    return allDay ? applyBackgroundCalendarColor(color) : applyCalendarColor(color);
}

bool ColoredBackground::clear() {
    if (!m_displayedCalendarColor && !m_displayedBackgroundCalendarColor) {
        return false;
    }
    m_displayedCalendarColor.reset();
    m_displayedBackgroundCalendarColor.reset();
    return true;
}

bool ColoredBackground::applyColorForEvent(const EKEvent& event, Date displayedDate) {
    const auto calendar = event.calendar();
    const std::optional<Color> calendarColor = calendar ? calendar->color() : std::nullopt;
    const Color color = calendarColor.value_or(Color(0.6, 0.6, 0.6));
    if (!event.allDay() && DateUtilities::isEqualToDateIgnoreTime(event.startDate(), displayedDate)) {
        return applyCalendarColor(color);
    }
    if (event.allDay() && !(calendar && calendar->type() == EKCalendarType::Birthday)) {
        return applyBackgroundCalendarColor(color);
    }
    return clear();
}

void ColoredBackground::draw(GraphicsContext& context, const Rect& barRect,
                             const Rect& backgroundRect) const {
    if (m_displayedCalendarColor) {
        layDownCalendarColor(context, barRect);
    } else if (m_displayedBackgroundCalendarColor) {
        drawBackgroundCalendarColor(context, backgroundRect);
    }
}

void ColoredBackground::drawCalendarColor(GraphicsContext& context, const Rect& rect) const {
    const Color color = adjust(m_displayedCalendarColor, 0.7);
    const Gradient gradient =
        Gradient::gradientFromColor(ColorExtensions::adjustRGBValuesWithFactor(color, 0.65), color);
    RoundedRectangle::rectangleWithRect(rect, 9.0).applyGradient(
        context, gradient, Point(rect.midX(), rect.minY()), Point(rect.midX(), rect.maxY()));
}

// Rows of a calendar share their bar: it is drawn once per colour and size as artwork and laid
// down, unless it would not land pixel for pixel.
void ColoredBackground::layDownCalendarColor(GraphicsContext& context, const Rect& rect) const {
    const Color& color = *m_displayedCalendarColor;
    const QString name = QStringLiteral("calendar-bar-%1,%2,%3,%4-%5x%6")
                             .arg(color.red(), 0, 'g', 17)
                             .arg(color.green(), 0, 'g', 17)
                             .arg(color.blue(), 0, 'g', 17)
                             .arg(color.alpha(), 0, 'g', 17)
                             .arg(rect.width())
                             .arg(rect.height());
    Artwork::drawThrough(context, name, rect, [bar = *this](GraphicsContext& into, const Rect& area) {
        bar.drawCalendarColor(into, area);
    });
}

void ColoredBackground::drawBackgroundCalendarColor(GraphicsContext& context, const Rect& rect) const {
    const Color adjusted = adjust(m_displayedBackgroundCalendarColor, 0.3);
    const Color opaque(adjusted.red(), adjusted.green(), adjusted.blue(), 1.0);
    RoundedRectangle::rectangleWithRect(rect, 5.0).fill(context, opaque);
}

Color ColoredBackground::adjust(const std::optional<Color>& color, double brightness) {
    return DotImage::adjust(color, brightness);
}
