#include "kit/TouchEvent.h"

#include "kit/GestureRecognizer.h"

#include <algorithm>

TouchEvent::TouchEvent(TouchSet touches, double timestamp)
    : m_touches(std::move(touches)), m_timestamp(timestamp) {}

TouchSet TouchEvent::changedTouches() const {
    TouchSet changed;
    std::copy_if(m_touches.begin(), m_touches.end(), std::back_inserter(changed),
                 [](const auto& touch) { return touch->phase() != TouchPhase::Stationary; });
    return changed;
}

TouchSet TouchEvent::touchesForView(const View* view) const {
    TouchSet touches;
    std::copy_if(m_touches.begin(), m_touches.end(), std::back_inserter(touches),
                 [view](const auto& touch) { return touch->view().get() == view; });
    return touches;
}

TouchSet TouchEvent::touchesForGestureRecognizer(const GestureRecognizer& recognizer) const {
    TouchSet touches;
    const TouchSet& followed = recognizer.touches();
    std::copy_if(m_touches.begin(), m_touches.end(), std::back_inserter(touches), [&](const auto& touch) {
        return std::find(followed.begin(), followed.end(), touch) != followed.end();
    });
    return touches;
}
