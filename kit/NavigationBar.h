#pragma once

#include "kit/View.h"

// The bar at the top of a navigation stack, 44 points high, in the platform's default blue-grey
// look: a vertical gradient with a light top edge and a dark bottom line.
class NavigationBar : public View {
public:
    static constexpr double height = 44.0;

    NavigationBar();

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
};
