#pragma once

#include "kit/Point.h"

#include <memory>
#include <optional>

class Timer;
class Window;

// The mouse wheel and the touchpad's two-finger scrolling, as a touch screen would have them:
// a smooth sideways scroll drags what is under the pointer as a finger would (and lets go when
// the gesture ends or pauses, so the same settling follows); an upright one, or a wheel's notch
// either way, scrolls the list under the pointer or, where there is none, pages the screen as
// Page Up and Page Down do.
class WheelScrolling {
public:
    enum class Phase { None, Begin, Update, End };

    explicit WheelScrolling(std::weak_ptr<Window> window) : m_window(std::move(window)) {}
    ~WheelScrolling();
    WheelScrolling(const WheelScrolling&) = delete;
    WheelScrolling& operator=(const WheelScrolling&) = delete;

    // `movement` is in points, the way a finger would move to show the same content (right and
    // down are positive); `phase` is the touchpad's, or None for a wheel; `notched` for a wheel
    // that turns in steps.
    void scroll(Point location, Point movement, Phase phase, bool notched = false);
    // Lifts the finger of a sideways scroll, if one is down.
    void letGo();

    // The distance one notch of a wheel stands for.
    static constexpr double notch = 40.0;

private:
    void dragBy(Window& window, Point location, double dx);
    bool scrollListUnder(Window& window, Point location, double dy);
    void pageBy(Window& window, double distance);

    std::weak_ptr<Window> m_window;
    // Where the finger standing in for a sideways scroll is, while it is down.
    std::optional<Point> m_fingerAt;
    double m_pagingDistance = 0.0;
    std::shared_ptr<Timer> m_quietTimer;
};
