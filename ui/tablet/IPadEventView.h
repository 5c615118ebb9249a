#pragma once

#include "ui/daybox/EventView.h"

#include <memory>

// The tablet's event row: 28 points high, with a larger time, title and selection bar.
class IPadEventView : public EventView {
public:
    static std::shared_ptr<IPadEventView> create(const Rect& frame,
                                                 std::shared_ptr<EventTouchLock> touchLock);
    IPadEventView(const Rect& frame, std::shared_ptr<EventTouchLock> touchLock);

protected:
    std::shared_ptr<Label> newTimeLabel() override;
    std::shared_ptr<Label> newTitleLabel() override;
    void adjustTitleLabelFrame(Label& titleLabel, const Label& timeLabel) override;
    void setTitleLabelFrameToAllDay(Label& titleLabel) override;
    std::shared_ptr<SelectedBackgroundView> newSelectedBackgroundView() override;
};
