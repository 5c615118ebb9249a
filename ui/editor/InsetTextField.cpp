#include "ui/editor/InsetTextField.h"

InsetTextField::InsetTextField(const Rect& frame, double insetLeft)
    : TextField(frame), m_insetLeft(insetLeft) {}

Rect InsetTextField::textRectForBounds(const Rect& bounds) const {
    return bounds.inset(m_insetLeft, 0);
}

Rect InsetTextField::editingRectForBounds(const Rect& bounds) const {
    return bounds.inset(m_insetLeft, 0);
}
