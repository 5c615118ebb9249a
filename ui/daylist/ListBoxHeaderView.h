#pragma once

#include "kit/View.h"

// The header band of the day list's box: a light blue-grey gradient, rounded at the top and
// square at the bottom, with a thin line below the texts.
class ListBoxHeaderView : public View {
public:
    static constexpr double cornerRadius = 6.0;

    explicit ListBoxHeaderView(const Rect& frame);

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
};
