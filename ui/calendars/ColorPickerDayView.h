#pragma once

#include "foundation/Color.h"
#include "ui/daybox/DayView.h"

// A half-height day card of today with two sample events in the colour being built: an all-day
// "Gardening" on a light fill and a timed "Photo Course" at 12:00 on a bar.
class ColorPickerDayView : public DayView {
public:
    explicit ColorPickerDayView(const Rect& frame);

    const Color& color() const { return m_color; }
    // Redraws.
    void setColor(const Color& color);

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    Color m_color;
};
