#include "kit/TapGestureRecognizer.h"

#include "foundation/RunLoop.h"

#include <algorithm>

TapGestureRecognizer::~TapGestureRecognizer() {
    stopWaiting();
}

void TapGestureRecognizer::touchesBegan(const TouchSet& touches, const TouchEvent& /*event*/) {
    stopWaiting();
    for (const auto& touch : touches) {
        if (!m_hasFirstLocation) {
            m_hasFirstLocation = true;
            m_firstLocation = touch->location();
        } else if (distance(touch->location(), m_firstLocation) > allowableTapDistance) {
            setState(State::Failed);
            return;
        }
        m_presses.push_back({touch.get(), touch->location()});
    }
    m_fingersInTap = std::max(m_fingersInTap, activeTouchCount());
    if (m_fingersInTap > m_numberOfTouchesRequired) {
        setState(State::Failed);
    }
}

void TapGestureRecognizer::touchesMoved(const TouchSet& touches, const TouchEvent& /*event*/) {
    for (const auto& touch : touches) {
        const auto press = std::find_if(m_presses.begin(), m_presses.end(),
                                        [&](const Press& p) { return p.touch == touch.get(); });
        if (press != m_presses.end() && distance(touch->location(), press->start) > allowableMovement) {
            setState(State::Failed);
            return;
        }
    }
}

void TapGestureRecognizer::touchesEnded(const TouchSet& touches, const TouchEvent& event) {
    touchesMoved(touches, event);
    if (state() != State::Possible || activeTouchCount() > 0) {
        return;
    }
    if (m_fingersInTap != m_numberOfTouchesRequired) {
        setState(State::Failed);
        return;
    }
    ++m_tapsDone;
    m_fingersInTap = 0;
    m_presses.clear();
    if (m_tapsDone >= m_numberOfTapsRequired) {
        setState(State::Ended);
        return;
    }
    m_waitTimer = scheduleTimer(maximumIntervalBetweenTaps, [](GestureRecognizer& recognizer) {
        auto& tap = static_cast<TapGestureRecognizer&>(recognizer);
        tap.m_waitTimer.reset();
        tap.setState(State::Failed);
    });
}

void TapGestureRecognizer::reset() {
    stopWaiting();
    m_tapsDone = 0;
    m_fingersInTap = 0;
    m_hasFirstLocation = false;
    m_presses.clear();
}

void TapGestureRecognizer::stopWaiting() {
    if (m_waitTimer) {
        m_waitTimer->invalidate();
        m_waitTimer.reset();
    }
}
