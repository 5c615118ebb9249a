#pragma once

#include "kit/Touch.h"

class GestureRecognizer;

// One change of the fingers on the screen: every touch still in play, the changed ones with
// their new phase and the others stationary. Events are built by the TouchRouter from the raw
// input and pass through the application's sendEvent before they are delivered.
class TouchEvent {
public:
    TouchEvent() = default;
    TouchEvent(TouchSet touches, double timestamp);

    // Every touch in play, in the order the fingers came down.
    const TouchSet& allTouches() const { return m_touches; }
    // The touches that began, moved, ended or were cancelled with this event.
    TouchSet changedTouches() const;
    // The touches whose view is `view`.
    TouchSet touchesForView(const View* view) const;
    // The touches the recogniser is following.
    TouchSet touchesForGestureRecognizer(const GestureRecognizer& recognizer) const;
    // Seconds since 1970 on the run loop's clock.
    double timestamp() const { return m_timestamp; }

private:
    TouchSet m_touches;
    double m_timestamp = 0.0;
};
