#pragma once

#include "foundation/Color.h"
#include "foundation/Date.h"
#include "kit/Rect.h"

#include <optional>

class EKEvent;
class GraphicsContext;

// How an event row shows its calendar's colour: a gradient bar (timed events), a light fill
// (all-day events) or nothing. At most one of the two colours is set.
class ColoredBackground {
public:
    const std::optional<Color>& displayedCalendarColor() const { return m_displayedCalendarColor; }
    const std::optional<Color>& displayedBackgroundCalendarColor() const {
        return m_displayedBackgroundCalendarColor;
    }

    // Each returns whether anything changed, so a view redraws only when it must.
    // Bar mode with the colour; clears the fill.
    bool applyCalendarColor(const Color& color);
    // Fill mode with the colour; clears the bar.
    bool applyBackgroundCalendarColor(const Color& color);
    bool applyColor(const Color& color, bool allDay);
    // Bar for a timed event starting on the displayed day, fill for an all-day event of a
    // calendar other than the birthdays, nothing otherwise. A calendar without a colour is grey.
    bool applyColorForEvent(const EKEvent& event, Date displayedDate);
    // Neither bar nor fill.
    bool clear();

    // Draws the bar into `barRect` or the fill into `backgroundRect`, whichever mode is set.
    void draw(GraphicsContext& context, const Rect& barRect, const Rect& backgroundRect) const;
    void drawCalendarColor(GraphicsContext& context, const Rect& rect) const;
    void drawBackgroundCalendarColor(GraphicsContext& context, const Rect& rect) const;

    static Color adjust(const std::optional<Color>& color, double brightness);

private:
    // drawCalendarColor through artwork kept for each colour and size.
    void layDownCalendarColor(GraphicsContext& context, const Rect& rect) const;

    std::optional<Color> m_displayedCalendarColor;
    std::optional<Color> m_displayedBackgroundCalendarColor;
};
