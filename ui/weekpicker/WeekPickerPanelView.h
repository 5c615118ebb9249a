#pragma once

#include "kit/View.h"

// The panel the week picker's months lie on: blue-grey, its lower corners rounded.
class WeekPickerPanelView : public View {
public:
    using View::View;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
};
