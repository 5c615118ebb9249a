#pragma once

#include "core/bus/BusReceiver.h"
#include "core/calendar/Week.h"
#include "ui/week/DateTitleFaceView.h"

#include <QString>

#include <optional>

// The date title's week face: the week number and the year as a two-part button in a rounded
// outline with a separator between them. A change of the week numbering method redraws it.
class DateTitleWeekButtonView : public DateTitleFaceView, public BusReceiver {
public:
    // Where the parts of the face go, from its width and the widths of its two texts.
    struct Layout {
        double x0;
        double xA;
        double xs;
        double xB;
        double xe;
    };

    explicit DateTitleWeekButtonView(const Rect& frame);
    ~DateTitleWeekButtonView() override;

    const std::optional<Week>& week() const { return m_week; }
    void setWeek(const Week& week);

    // "Week %@" with the week's number.
    QString weekText() const;
    // The year of the week's middle day, as the user's calendar numbers it.
    QString yearText() const;
    // The font size both texts are drawn at.
    double fontSize() const;
    Layout layout() const;
    static Layout layoutForWidths(double faceWidth, double widthA, double widthB);

protected:
    // "Week 50, 2026".
    AccessibilityDescription describeAccessibility() const override;
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    void drawSeparator(GraphicsContext& context, const Layout& layout) const;

    std::optional<Week> m_week;
};
