#include "ui/tablet/IPadEventView.h"

#include "kit/Font.h"
#include "ui/daybox/SelectedBackgroundView.h"

namespace {

constexpr double timeLabelWidth = 50.0;
constexpr double titleGap = 11.0;
constexpr double titleHeight = 27.0;
// The all-day title leaves room for the birthday icon.
constexpr double birthdayTitleX = 26.0;
constexpr double allDayTitleX = 6.0;

} // namespace

IPadEventView::IPadEventView(const Rect& frame, std::shared_ptr<EventTouchLock> touchLock)
    : EventView(frame, std::move(touchLock)) {}

std::shared_ptr<IPadEventView> IPadEventView::create(const Rect& frame,
                                                     std::shared_ptr<EventTouchLock> touchLock) {
    auto view = std::make_shared<IPadEventView>(frame, std::move(touchLock));
    view->buildSubviews();
    return view;
}

std::shared_ptr<Label> IPadEventView::newTimeLabel() {
    std::shared_ptr<Label> label = EventView::newTimeLabel();
    label->setFrame(Rect(6, 1, timeLabelWidth, 25));
    label->setFont(Font::boldSystemFontOfSize(15));
    return label;
}

std::shared_ptr<Label> IPadEventView::newTitleLabel() {
    std::shared_ptr<Label> label = EventView::newTitleLabel();
    const double x = timeLabelWidth + titleGap;
    label->setFrame(Rect(x, 0, frame().width() - x, titleHeight));
    label->setFont(Font::systemFontOfSize(16));
    return label;
}

void IPadEventView::adjustTitleLabelFrame(Label& titleLabel, const Label& timeLabel) {
    const double timeWidth = timeLabel.frame().width();
    titleLabel.setFrame(Rect(timeWidth + titleGap, 0, frame().width() - timeWidth - titleGap, titleHeight));
}

void IPadEventView::setTitleLabelFrameToAllDay(Label& titleLabel) {
    const double x = isBirthdayEvent() ? birthdayTitleX : allDayTitleX;
    titleLabel.setFrame(Rect(x, 0, frame().width() - x, titleHeight));
}

std::shared_ptr<SelectedBackgroundView> IPadEventView::newSelectedBackgroundView() {
    return std::make_shared<SelectedBackgroundView>(Rect(1, 3, frame().width() - 2, 23));
}
