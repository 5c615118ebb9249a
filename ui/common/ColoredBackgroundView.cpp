#include "ui/common/ColoredBackgroundView.h"

#include "kit/Label.h"

#include <algorithm>

namespace {
// The time's pill stands out this much above and below the label, so that its white text always
// sits on the calendar colour.
constexpr double timePillOutset = 2.0;
} // namespace

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
    // The label may live in another view of the row, so its frame is converted; the bar is a pill
    // behind the label, so that the label's white text always sits on the calendar colour. It is
    // kept inside this view.
    const Rect labelRect = label->convertRectToView(label->bounds(), this);
    const double top = std::max(0.0, labelRect.y());
    const double bottom = std::min(bounds().height(), labelRect.maxY());
    return Rect(labelRect.x(), top, labelRect.width(), bottom - top);
}

void ColoredBackgroundView::drawRect(GraphicsContext& context, const Rect&) {
    m_coloredBackground.draw(context, barRect(), backgroundRect());
}
