#include "ui/editing/CalendarOptionView.h"

#include "core/eventstore/EKCalendar.h"
#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "ui/common/ColorExtensions.h"
#include "ui/common/HsbColor.h"

namespace {

constexpr double optionCornerRadius = 3.0;
// Calendars without a colour of their own show in grey.
constexpr Color colourlessCalendar(0.6, 0.6, 0.6);

HsbColor lightenedCalendarColor(const EKCalendar& calendar) {
    return HsbColor(ColorExtensions::adjustBrightness(calendar.color().value_or(colourlessCalendar), 0.7));
}

} // namespace

CalendarOptionView::CalendarOptionView(Point point, const EKCalendar& calendar)
    : View(Rect(point, Size(side, side))), m_calendarTitle(calendar.title()) {
    HsbColor colour = lightenedCalendarColor(calendar);
    colour.brightness += 0.075f;
    m_calendarColor = colour.color();
    colour.brightness += 0.1f;
    colour.saturation -= 0.2f;
    m_deselectedCalendarColor = colour.color();
}

void CalendarOptionView::setSelected(bool selected) {
    if (selected == m_selected) {
        return;
    }
    m_selected = selected;
    setNeedsDisplay();
    const Rect current = frame();
    if (!selected) {
        setFrame(Rect(current.x() + growth, current.y() + growth, side, side));
        return;
    }
    if (const std::shared_ptr<View> strip = superview()) {
        strip->bringSubviewToFront(*this);
    }
    const std::weak_ptr<View> weakSelf = weak_from_this();
    const Rect grown(current.x() - growth, current.y() - growth, side + 2 * growth, side + 2 * growth);
    animate(growDuration, 0.0, AnimationCurve::easeInOut, AnimationOption::allowUserInteraction,
            [weakSelf, grown] {
                if (const std::shared_ptr<View> self = weakSelf.lock()) {
                    self->setFrame(grown);
                }
            });
}

void CalendarOptionView::drawRect(GraphicsContext& context, const Rect&) {
    const Color& colour = m_selected ? m_calendarColor : m_deselectedCalendarColor;
    const double inset = m_selected ? 2.0 : 1.0;
    const RoundedRectangle outline(bounds().inset(inset, inset), optionCornerRadius);
    const double rimGrey = (m_selected ? 64.0 : 124.0) / 255.0;
    outline.stroke(context, Color(rimGrey, rimGrey, rimGrey), m_selected ? 4.0 : 2.0);
    // Filling over the stroke keeps only its outer half.
    outline.applyGradient(context, Gradient(colour, ColorExtensions::adjustRGBValuesWithFactor(colour, 0.65)),
                          Point(0, bounds().minY()), Point(0, bounds().maxY()));
}
