#pragma once

#include "kit/Button.h"

#include <functional>

// The all-day check button of the event editor: a check box and the title "All-day" on a grey
// face, white on a blue face while on. It is as wide as its title plus 43 points and keeps the
// right edge of the frame it was made with. A tap turns it over and reports `onSwitched`;
// `toggle` alone reports nothing.
class AllDaySwitch : public Button {
public:
    explicit AllDaySwitch(const Rect& frame);

    bool isOn() const { return m_on; }
    void toggle(bool on);

    std::function<void()> onSwitched;

private:
    bool m_on = false;
};
