#pragma once

#include "foundation/Date.h"
#include "kit/View.h"

#include <QString>

#include <functional>
#include <memory>

class Timer;

// The 20-point bar at the top of the screen: signal bars and the carrier on the left, the time
// in the middle and the battery on the right, in one of the platform's styles. The time is
// that of the main loop's clock, written by its owner's toFormatTime, and is redrawn when the
// minute changes.
class StatusBar : public View {
public:
    enum class Style { Default, BlackOpaque, BlackTranslucent };

    StatusBar();
    ~StatusBar() override;

    Style style() const { return m_style; }
    void setStyle(Style style);
    // The time text shown now; empty while toFormatTime is unset.
    QString timeText() const;

    // Writes the clock's time as the bar shows it.
    std::function<QString(Date)> toFormatTime;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    void scheduleMinuteRedraw();

    Style m_style = Style::Default;
    std::shared_ptr<Timer> m_minuteTimer;
};
