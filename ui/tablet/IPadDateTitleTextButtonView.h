#pragma once

#include "ui/week/DateTitleTextButtonView.h"

// The tablet's text face: grey text with a white shadow below it, dark grey while pressed; the
// outline keeps the phone's colour.
class IPadDateTitleTextButtonView : public DateTitleTextButtonView {
public:
    using DateTitleTextButtonView::DateTitleTextButtonView;

    Color getTextColor() const override;
    Color getSelectedTextColor() const override;
    Color getTextShadowColor() const override;
    Size getShadowOffset() const override;
};
