#pragma once

#include "kit/ControlState.h"
#include "kit/View.h"

#include <functional>
#include <memory>

// The common ground of the controls (button, bar button, text field, switch, slider, time picker,
// segmented control): the enabled, selected and highlighted flags and the value-changed report.
// `onValueChanged` runs only for changes the user makes; programmatic setters never call it.
class Control : public View {
public:
    Control();
    explicit Control(const Rect& frame);
    ~Control() override;

    bool enabled() const { return m_enabled; }
    // A disabled control takes no touches of its own (they go on to the superview) and shows
    // faded.
    void setEnabled(bool enabled);
    bool selected() const { return m_selected; }
    void setSelected(bool selected);
    bool highlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);
    // Highlighted, disabled and selected combined.
    ControlState state() const;

    std::function<void()> onValueChanged;

    // Tab reaches a control that acts on the keyboard: it shows a focus ring while it is first
    // responder, and Space or Return act as a tap would.
    bool canBecomeFirstResponder() override;
    bool handleKeyInput(const KeyInput& input) override;

protected:
    // Whether the keyboard can act on this control (see performKeyboardAction); no by default.
    virtual bool acceptsKeyboardFocus() const { return false; }
    // What Space or Return do; says whether anything was done.
    virtual bool performKeyboardAction() { return false; }
    void didBecomeFirstResponder() override;
    void didResignFirstResponder() override;
    // Reports a change the user made.
    void sendValueChanged();
    // Runs after any of the three flags changed, once the control has asked for a new drawing;
    // controls whose parts follow the state bring them up to date here.
    virtual void stateDidChange() {}

private:
    std::shared_ptr<View> m_focusRing;
    bool m_enabled = true;
    bool m_selected = false;
    bool m_highlighted = false;
};
