#include "ui/tablet/IPadDateTitleTextButtonView.h"

Color IPadDateTitleTextButtonView::getTextColor() const {
    return Color::fromRgb255(113, 120, 128);
}

Color IPadDateTitleTextButtonView::getSelectedTextColor() const {
    constexpr double darkGray = 1.0 / 3.0;
    return Color(darkGray, darkGray, darkGray);
}

Color IPadDateTitleTextButtonView::getTextShadowColor() const {
    return Color(1, 1, 1);
}

Size IPadDateTitleTextButtonView::getShadowOffset() const {
    return Size(0, 1);
}
