#include "kit/Control.h"

#include "kit/GraphicsContext.h"
#include "kit/KeyInput.h"
#include "kit/RoundedRectangle.h"

namespace {

// The outline that marks the control the keyboard acts on, drawn inside its bounds.
class FocusRingView final : public View {
public:
    explicit FocusRingView(const Rect& frame) : View(frame) {
        setUserInteractionEnabled(false);
        setBackgroundColor(Color(0, 0, 0, 0));
    }

protected:
    void drawRect(GraphicsContext& context, const Rect&) override {
        RoundedRectangle(bounds().inset(1.5, 1.5), 6.0).stroke(context, Color::fromRgb255(59, 153, 252), 3.0);
    }
};

} // namespace

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

bool Control::canBecomeFirstResponder() {
    return m_enabled && acceptsKeyboardFocus();
}

bool Control::handleKeyInput(const KeyInput& input) {
    const bool activates =
        input.type == KeyInput::Type::Press && !input.hasCommandModifiers() &&
        (input.key == Qt::Key_Space || input.key == Qt::Key_Return || input.key == Qt::Key_Enter);
    return activates && m_enabled && performKeyboardAction();
}

void Control::didBecomeFirstResponder() {
    m_focusRing = std::make_shared<FocusRingView>(bounds());
    addSubview(m_focusRing);
}

void Control::didResignFirstResponder() {
    if (m_focusRing) {
        m_focusRing->removeFromSuperview();
        m_focusRing.reset();
    }
}
