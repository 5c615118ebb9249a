#include "ui/calendars/ColoredBackgroundView.h"

#include "kit/Label.h"

#include <algorithm>

namespace {
constexpr double kBarHeight = 4.0;
}

ColoredBackgroundView::ColoredBackgroundView() : ColoredBackgroundView(Rect(0, 0, 283, 28)) {}

ColoredBackgroundView::ColoredBackgroundView(const Rect& frame) : View(frame) {
    setBackgroundColor(std::nullopt);
    setUserInteractionEnabled(false);
}

void ColoredBackgroundView::setTimeLabel(const std::shared_ptr<Label>& label) {
    m_timeLabel = label;
    setNeedsDisplay();
}

void ColoredBackgroundView::applyColorForEvent(const EKEvent& event, Date displayedDate) {
    if (m_coloredBackground.applyColorForEvent(event, displayedDate)) {
        setNeedsDisplay();
    }
}

Rect ColoredBackgroundView::backgroundRect() const {
    return Rect(4, 3, bounds().width() - 8, bounds().height() - 9);
}

Rect ColoredBackgroundView::barRect() const {
    const auto label = m_timeLabel.lock();
    if (!label) {
        return Rect();
    }
    // The label may live in another view of the row, so its frame is converted; the bar sits
    // just below the label, kept inside this view.
    const Rect labelRect = label->convertRectToView(label->bounds(), this);
    const double y = std::min(labelRect.maxY(), bounds().height() - kBarHeight);
    return Rect(labelRect.x(), y, labelRect.width(), kBarHeight);
}

void ColoredBackgroundView::drawRect(GraphicsContext& context, const Rect&) {
    m_coloredBackground.draw(context, barRect(), backgroundRect());
}
