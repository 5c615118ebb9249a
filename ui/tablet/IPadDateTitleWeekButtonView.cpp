#include "ui/tablet/IPadDateTitleWeekButtonView.h"

Color IPadDateTitleWeekButtonView::getTextColor() const {
    return Color::fromRgb255(113, 120, 128);
}

Color IPadDateTitleWeekButtonView::getSelectedTextColor() const {
    return Color::fromRgb255(235, 235, 235);
}

Color IPadDateTitleWeekButtonView::getTextShadowColor() const {
    return Color(1, 1, 1);
}

Size IPadDateTitleWeekButtonView::getTextShadowOffset() const {
    return Size(0, 1);
}

Color IPadDateTitleWeekButtonView::getLineColor() const {
    return Color(0.5, 0.5, 0.5);
}
