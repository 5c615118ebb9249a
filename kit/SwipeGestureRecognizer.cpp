#include "kit/SwipeGestureRecognizer.h"

#include "kit/TouchEvent.h"

#include <algorithm>
#include <cmath>

void SwipeGestureRecognizer::touchesBegan(const TouchSet& /*touches*/, const TouchEvent& event) {
    const int fingers = activeTouchCount();
    if (fingers > m_numberOfTouchesRequired) {
        setState(State::Failed);
        return;
    }
    // The swipe is measured from where all the required fingers are down.
    if (fingers == m_numberOfTouchesRequired) {
        m_started = true;
        m_start = locationInView(nullptr);
        m_startTime = event.timestamp();
    }
}

void SwipeGestureRecognizer::touchesMoved(const TouchSet& /*touches*/, const TouchEvent& event) {
    if (m_started) {
        evaluate(event.timestamp());
    }
}

void SwipeGestureRecognizer::touchesEnded(const TouchSet& /*touches*/, const TouchEvent& event) {
    if (m_started) {
        evaluate(event.timestamp());
    }
    if (state() == State::Possible) {
        setState(State::Failed);
    }
}

void SwipeGestureRecognizer::evaluate(double timestamp) {
    if (timestamp - m_startTime > maximumDuration) {
        setState(State::Failed);
        return;
    }
    const Point moved = locationInView(nullptr) - m_start;
    bool stillPossible = false;
    const SwipeDirection directions[] = {SwipeDirection::Right, SwipeDirection::Left, SwipeDirection::Up,
                                         SwipeDirection::Down};
    for (const SwipeDirection direction : directions) {
        if (!contains(m_direction, direction)) {
            continue;
        }
        const bool horizontal = direction == SwipeDirection::Right || direction == SwipeDirection::Left;
        const double sign =
            (direction == SwipeDirection::Right || direction == SwipeDirection::Down) ? 1.0 : -1.0;
        const double along = sign * (horizontal ? moved.x() : moved.y());
        const double across = std::abs(horizontal ? moved.y() : moved.x());
        if (along >= minimumDistance && across <= along / 2.0) {
            setState(State::Ended);
            return;
        }
        if (along >= -allowableBacktrack && across <= std::max(allowableDeviation, along / 2.0)) {
            stillPossible = true;
        }
    }
    if (!stillPossible) {
        setState(State::Failed);
    }
}

void SwipeGestureRecognizer::reset() {
    m_started = false;
}
