#pragma once

#include "kit/ImageView.h"

// The selection bar behind a selected event row.
class SelectedBackgroundView : public ImageView {
public:
    explicit SelectedBackgroundView(const Rect& frame);
};
