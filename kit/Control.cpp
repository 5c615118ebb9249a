#include "kit/Control.h"

Control::Control() = default;

Control::Control(const Rect& frame) : View(frame) {}

Control::~Control() = default;

void Control::setEnabled(bool enabled) {
    if (enabled == m_enabled) {
        return;
    }
    m_enabled = enabled;
    setNeedsDisplay();
    stateDidChange();
}

void Control::setSelected(bool selected) {
    if (selected == m_selected) {
        return;
    }
    m_selected = selected;
    setNeedsDisplay();
    stateDidChange();
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted == m_highlighted) {
        return;
    }
    m_highlighted = highlighted;
    setNeedsDisplay();
    stateDidChange();
}

ControlState Control::state() const {
    return controlStateFor(m_enabled, m_selected, m_highlighted);
}

void Control::sendValueChanged() {
    if (onValueChanged) {
        onValueChanged();
    }
}
