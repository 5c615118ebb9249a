#pragma once

#include "kit/ControlState.h"
#include "kit/View.h"

#include <functional>

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

protected:
    // Reports a change the user made.
    void sendValueChanged();
    // Runs after any of the three flags changed, once the control has asked for a new drawing;
    // controls whose parts follow the state bring them up to date here.
    virtual void stateDidChange() {}

private:
    bool m_enabled = true;
    bool m_selected = false;
    bool m_highlighted = false;
};
