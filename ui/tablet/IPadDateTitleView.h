#pragma once

#include "ui/week/DateTitleView.h"

#include <memory>

// The tablet's date title: the phone's title with the tablet's faces, which differ only in their
// colours.
class IPadDateTitleView : public DateTitleView {
public:
    static std::shared_ptr<IPadDateTitleView> create(const Rect& frame);

protected:
    using DateTitleView::DateTitleView;

    std::shared_ptr<DateTitleWeekButtonView> newDateTitleWeekButtonView(const Rect& frame) override;
    std::shared_ptr<DateTitleTextButtonView> newDateTitleTextButtonView(const Rect& frame) override;
};
