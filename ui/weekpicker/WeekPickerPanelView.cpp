#include "ui/weekpicker/WeekPickerPanelView.h"

#include "kit/RoundedRectangle.h"

void WeekPickerPanelView::drawRect(GraphicsContext& context, const Rect& rect) {
    RoundedRectangle panel(rect, 5);
    panel.sharpUpperLeftCorner = true;
    panel.sharpUpperRightCorner = true;
    panel.fill(context, Color::fromRgb255(178, 191, 201));
}
