#pragma once

#include "kit/TextField.h"

// A text field whose text keeps `insetLeft` points from its left and right edges (the
// editor's title input draws its own rounded face there).
class InsetTextField : public TextField {
public:
    static constexpr double defaultInsetLeft = 10.0;

    explicit InsetTextField(const Rect& frame, double insetLeft = defaultInsetLeft);

    double insetLeft() const { return m_insetLeft; }

    Rect textRectForBounds(const Rect& bounds) const override;
    Rect editingRectForBounds(const Rect& bounds) const override;

private:
    double m_insetLeft;
};
