#include "kit/GestureRecognizer.h"

#include "foundation/RunLoop.h"
#include "kit/TouchEvent.h"
#include "kit/TouchRouter.h"
#include "kit/View.h"

#include <algorithm>
#include <cmath>

GestureRecognizer::GestureRecognizer() = default;

GestureRecognizer::~GestureRecognizer() = default;

void GestureRecognizer::setEnabled(bool enabled) {
    m_enabled = enabled;
    if (!enabled) {
        setState(m_state == State::Possible ? State::Failed : State::Cancelled);
    }
}

std::shared_ptr<View> GestureRecognizer::view() const {
    return m_view ? m_view->weak_from_this().lock() : nullptr;
}

Point GestureRecognizer::locationInView(const View* view) const {
    const Point location = m_touches.empty() ? m_lastLocation : centroid();
    return view ? view->convertPointFromView(location, nullptr) : location;
}

Point GestureRecognizer::locationOfTouch(int index, const View* view) const {
    if (index < 0 || index >= numberOfTouches()) {
        return locationInView(view);
    }
    return m_touches[static_cast<std::size_t>(index)]->locationInView(view);
}

void GestureRecognizer::handleTouches(TouchPhase phase, const TouchSet& touches, const TouchEvent& event) {
    if (isOver(m_state) || touches.empty()) {
        return;
    }
    // Keeps the recogniser alive through an action that drops the last reference to it.
    const std::shared_ptr<GestureRecognizer> self = shared_from_this();
    switch (phase) {
    case TouchPhase::Began:
        touchesBegan(touches, event);
        break;
    case TouchPhase::Moved:
        touchesMoved(touches, event);
        break;
    case TouchPhase::Ended:
        touchesEnded(touches, event);
        break;
    case TouchPhase::Cancelled:
        touchesCancelled(touches, event);
        break;
    case TouchPhase::Stationary:
        break;
    }
    if (!m_touches.empty()) {
        m_lastLocation = centroid();
    }
}

void GestureRecognizer::touchesBegan(const TouchSet& /*touches*/, const TouchEvent& /*event*/) {}

void GestureRecognizer::touchesMoved(const TouchSet& /*touches*/, const TouchEvent& /*event*/) {}

void GestureRecognizer::touchesEnded(const TouchSet& /*touches*/, const TouchEvent& /*event*/) {}

void GestureRecognizer::touchesCancelled(const TouchSet& /*touches*/, const TouchEvent& /*event*/) {
    setState(m_state == State::Possible ? State::Failed : State::Cancelled);
}

void GestureRecognizer::reset() {}

bool GestureRecognizer::isOver(State state) {
    return state == State::Ended || state == State::Cancelled || state == State::Failed;
}

void GestureRecognizer::setState(State state) {
    const State old = m_state;
    if (isOver(old) || state == State::Possible) {
        return;
    }
    const bool beginning = old == State::Possible && (state == State::Began || state == State::Ended);
    if (old == State::Possible && state == State::Cancelled) {
        state = State::Failed;
    }
    if (beginning && !mayBegin()) {
        state = State::Failed;
    }
    m_state = state;
    const std::shared_ptr<GestureRecognizer> self = shared_from_this();
    if (beginning && state != State::Failed && m_router) {
        m_router->recognizerDidBegin(*this);
    }
    if (state != State::Failed && m_state == state && onAction) {
        const std::function<void(GestureRecognizer&)> action = onAction;
        action(*this);
    }
    resetIfOver();
}

bool GestureRecognizer::mayBegin() {
    if (!m_enabled) {
        return false;
    }
    if (const std::shared_ptr<GestureRecognizerDelegate> owner = delegate()) {
        if (!owner->gestureRecognizerShouldBegin(*this)) {
            return false;
        }
    }
    return !m_router || m_router->allowsToBegin(*this);
}

int GestureRecognizer::activeTouchCount() const {
    return static_cast<int>(std::count_if(m_touches.begin(), m_touches.end(), [](const auto& touch) {
        return touch->phase() != TouchPhase::Ended && touch->phase() != TouchPhase::Cancelled;
    }));
}

std::shared_ptr<Timer> GestureRecognizer::scheduleTimer(double interval,
                                                        std::function<void(GestureRecognizer&)> fire) {
    std::weak_ptr<GestureRecognizer> weak = weak_from_this();
    return RunLoop::main().scheduleTimer(interval, false, [weak, fire = std::move(fire)] {
        if (const std::shared_ptr<GestureRecognizer> recognizer = weak.lock()) {
            fire(*recognizer);
        }
    });
}

double GestureRecognizer::distance(Point a, Point b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

void GestureRecognizer::addTouch(const std::shared_ptr<Touch>& touch) {
    if (std::find(m_touches.begin(), m_touches.end(), touch) == m_touches.end()) {
        m_touches.push_back(touch);
    }
}

void GestureRecognizer::removeTouch(const Touch& touch) {
    std::erase_if(m_touches, [&](const auto& followed) { return followed.get() == &touch; });
    resetIfOver();
}

void GestureRecognizer::resetIfOver() {
    if (isOver(m_state) && m_touches.empty()) {
        m_state = State::Possible;
        reset();
    }
}

void GestureRecognizer::detachFromView() {
    m_view = nullptr;
    if (!isOver(m_state) && (m_state != State::Possible || !m_touches.empty())) {
        setState(m_state == State::Possible ? State::Failed : State::Cancelled);
    }
}

Point GestureRecognizer::centroid() const {
    if (m_touches.empty()) {
        return m_lastLocation;
    }
    double x = 0.0;
    double y = 0.0;
    for (const auto& touch : m_touches) {
        x += touch->location().x();
        y += touch->location().y();
    }
    const auto count = static_cast<double>(m_touches.size());
    return {x / count, y / count};
}
