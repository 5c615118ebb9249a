#include "kit/LongPressGestureRecognizer.h"

#include "foundation/RunLoop.h"

#include <algorithm>

LongPressGestureRecognizer::~LongPressGestureRecognizer() {
    stopTimer();
}

void LongPressGestureRecognizer::touchesBegan(const TouchSet& touches, const TouchEvent& /*event*/) {
    if (state() != State::Possible) {
        return;
    }
    for (const auto& touch : touches) {
        m_presses.push_back({touch.get(), touch->location()});
    }
    const int fingers = activeTouchCount();
    if (fingers > m_numberOfTouchesRequired) {
        setState(State::Failed);
        return;
    }
    if (fingers < m_numberOfTouchesRequired) {
        return;
    }
    stopTimer();
    if (m_minimumPressDuration <= 0.0) {
        setState(State::Began);
        return;
    }
    m_timer = scheduleTimer(m_minimumPressDuration, [](GestureRecognizer& recognizer) {
        auto& press = static_cast<LongPressGestureRecognizer&>(recognizer);
        press.m_timer.reset();
        if (press.state() == State::Possible) {
            press.setState(State::Began);
        }
    });
}

void LongPressGestureRecognizer::touchesMoved(const TouchSet& touches, const TouchEvent& /*event*/) {
    if (state() != State::Possible) {
        setState(State::Changed);
        return;
    }
    for (const auto& touch : touches) {
        const auto press = std::find_if(m_presses.begin(), m_presses.end(),
                                        [&](const Press& p) { return p.touch == touch.get(); });
        if (press != m_presses.end() && distance(touch->location(), press->start) > m_allowableMovement) {
            setState(State::Failed);
            return;
        }
    }
}

void LongPressGestureRecognizer::touchesEnded(const TouchSet& /*touches*/, const TouchEvent& /*event*/) {
    setState(state() == State::Possible ? State::Failed : State::Ended);
}

void LongPressGestureRecognizer::reset() {
    stopTimer();
    m_presses.clear();
}

void LongPressGestureRecognizer::stopTimer() {
    if (m_timer) {
        m_timer->invalidate();
        m_timer.reset();
    }
}
