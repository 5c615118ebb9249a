#pragma once

#include "ui/week/DateTitleWeekButtonView.h"

// The tablet's week face: grey text with a white shadow below it, on the light bar of the tablet,
// and a grey outline and separator.
class IPadDateTitleWeekButtonView : public DateTitleWeekButtonView {
public:
    using DateTitleWeekButtonView::DateTitleWeekButtonView;

    Color getTextColor() const override;
    Color getSelectedTextColor() const override;
    Color getTextShadowColor() const override;
    Size getTextShadowOffset() const override;
    Color getLineColor() const override;
};
