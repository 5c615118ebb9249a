#pragma once

#include "kit/GestureRecognizer.h"

#include <vector>

// A continuous press: it begins once the required fingers have stayed down for the minimum
// duration (at once with a duration of 0) without moving more than the allowable movement,
// reports every move after that as a change, and ends when a finger lifts. Moving too far or
// lifting early makes it fail.
class LongPressGestureRecognizer : public GestureRecognizer {
public:
    LongPressGestureRecognizer() = default;
    ~LongPressGestureRecognizer() override;

    // Seconds; 0.5 by default.
    double minimumPressDuration() const { return m_minimumPressDuration; }
    void setMinimumPressDuration(double seconds) { m_minimumPressDuration = seconds; }
    // Points a finger may move before the press begins; 10 by default.
    double allowableMovement() const { return m_allowableMovement; }
    void setAllowableMovement(double points) { m_allowableMovement = points; }
    int numberOfTouchesRequired() const { return m_numberOfTouchesRequired; }
    void setNumberOfTouchesRequired(int touches) { m_numberOfTouchesRequired = touches; }

protected:
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void reset() override;

private:
    struct Press {
        const Touch* touch;
        Point start;
    };

    void stopTimer();

    double m_minimumPressDuration = 0.5;
    double m_allowableMovement = 10.0;
    int m_numberOfTouchesRequired = 1;
    std::vector<Press> m_presses;
    std::shared_ptr<Timer> m_timer;
};
