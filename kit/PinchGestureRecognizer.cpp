#include "kit/PinchGestureRecognizer.h"

#include "kit/TouchEvent.h"

#include <cmath>

void PinchGestureRecognizer::setScale(double scale) {
    m_scale = scale;
    m_referenceScale = scale;
    m_referenceDistance = fingerDistance();
}

double PinchGestureRecognizer::fingerDistance() const {
    const TouchSet& fingers = touches();
    return fingers.size() < 2 ? 0.0 : distance(fingers[0]->location(), fingers[1]->location());
}

void PinchGestureRecognizer::touchesBegan(const TouchSet& /*touches*/, const TouchEvent& event) {
    if (m_tracking || touches().size() < 2) {
        return;
    }
    m_tracking = true;
    m_startDistance = fingerDistance();
    m_referenceDistance = m_startDistance;
    m_referenceScale = 1.0;
    m_scale = 1.0;
    m_velocity = 0.0;
    m_lastTime = event.timestamp();
}

void PinchGestureRecognizer::touchesMoved(const TouchSet& /*touches*/, const TouchEvent& event) {
    if (!m_tracking || m_referenceDistance <= 0.0) {
        return;
    }
    const double current = fingerDistance();
    if (state() == State::Possible && std::abs(current - m_startDistance) <= beginThreshold) {
        return;
    }
    const double scale = m_referenceScale * current / m_referenceDistance;
    const double elapsed = event.timestamp() - m_lastTime;
    if (elapsed > 0.0) {
        m_velocity = (scale - m_scale) / elapsed;
    }
    m_scale = scale;
    m_lastTime = event.timestamp();
    setState(state() == State::Possible ? State::Began : State::Changed);
}

void PinchGestureRecognizer::touchesEnded(const TouchSet& /*touches*/, const TouchEvent& /*event*/) {
    if (state() == State::Possible) {
        // One finger of a pair that never pinched, or a single finger that never had a partner.
        if (m_tracking || activeTouchCount() == 0) {
            setState(State::Failed);
        }
        return;
    }
    setState(State::Ended);
}

void PinchGestureRecognizer::reset() {
    m_tracking = false;
    m_startDistance = 0.0;
    m_referenceDistance = 0.0;
    m_referenceScale = 1.0;
    m_scale = 1.0;
    m_velocity = 0.0;
}
