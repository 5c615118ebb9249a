#include "kit/PanGestureRecognizer.h"

#include "kit/TouchEvent.h"
#include "kit/View.h"

#include <cmath>

namespace {

constexpr double velocityWindow = 0.1;

// Maps a movement (not a position) from root coordinates into the view.
Point vectorFromRoot(Point vector, const View* view) {
    if (!view) {
        return vector;
    }
    return view->convertPointFromView(vector, nullptr) - view->convertPointFromView(Point(), nullptr);
}

Point vectorToRoot(Point vector, const View* view) {
    if (!view) {
        return vector;
    }
    return view->convertPointToView(vector, nullptr) - view->convertPointToView(Point(), nullptr);
}

} // namespace

Point PanGestureRecognizer::translationInView(const View* view) const {
    return vectorFromRoot(m_current - m_origin, view);
}

void PanGestureRecognizer::setTranslation(Point translation, const View* view) {
    m_origin = m_current - vectorToRoot(translation, view);
}

Point PanGestureRecognizer::velocityInView(const View* view) const {
    const Sample* oldest = nullptr;
    for (const Sample& sample : m_samples) {
        if (m_now - sample.time <= velocityWindow) {
            oldest = &sample;
            break;
        }
    }
    if (!oldest || m_samples.size() < 2 || m_now - oldest->time <= 0.0) {
        return {};
    }
    const Sample& newest = m_samples.back();
    const double elapsed = newest.time - oldest->time;
    if (elapsed <= 0.0) {
        return {};
    }
    return vectorFromRoot((newest.location - oldest->location) * (1.0 / elapsed), view);
}

bool PanGestureRecognizer::canBeginWithTranslation(Point translation) const {
    return std::hypot(translation.x(), translation.y()) > hysteresis;
}

Point PanGestureRecognizer::activeCentroid() const {
    double x = 0.0;
    double y = 0.0;
    int count = 0;
    for (const auto& touch : touches()) {
        if (touch->phase() != TouchPhase::Ended && touch->phase() != TouchPhase::Cancelled) {
            x += touch->location().x();
            y += touch->location().y();
            ++count;
        }
    }
    return count == 0 ? m_current : Point(x / count, y / count);
}

void PanGestureRecognizer::rebase(Point oldCentroid, Point newCentroid) {
    m_origin = m_origin + (newCentroid - oldCentroid);
    m_current = newCentroid;
    for (Sample& sample : m_samples) {
        sample.location = sample.location + (newCentroid - oldCentroid);
    }
}

void PanGestureRecognizer::addSample(double time, Point location) {
    m_now = time;
    m_samples.push_back({time, location});
    while (m_samples.size() > 2 && time - m_samples[1].time > velocityWindow) {
        m_samples.pop_front();
    }
}

void PanGestureRecognizer::touchesBegan(const TouchSet& touches, const TouchEvent& event) {
    if (activeTouchCount() > m_maximumNumberOfTouches) {
        if (state() == State::Possible) {
            setState(State::Failed);
        }
        return;
    }
    if (activeTouchCount() == static_cast<int>(touches.size())) {
        // The first fingers of the gesture.
        m_current = activeCentroid();
        m_origin = m_current;
        m_samples.clear();
        addSample(event.timestamp(), m_current);
        return;
    }
    // A finger joins: the centre jumps, the translation does not.
    const Point before = m_current;
    rebase(before, activeCentroid());
}

void PanGestureRecognizer::touchesMoved(const TouchSet& /*touches*/, const TouchEvent& event) {
    m_current = activeCentroid();
    addSample(event.timestamp(), m_current);
    if (state() == State::Possible) {
        if (activeTouchCount() < m_minimumNumberOfTouches || !canBeginWithTranslation(m_current - m_origin)) {
            return;
        }
        // The translation counts from here, so that what follows the finger does not jump.
        m_origin = m_current;
        setState(State::Began);
        return;
    }
    setState(State::Changed);
}

void PanGestureRecognizer::touchesEnded(const TouchSet& /*touches*/, const TouchEvent& event) {
    Point lifted;
    int liftedCount = 0;
    for (const auto& touch : touches()) {
        if (touch->phase() == TouchPhase::Ended || touch->phase() == TouchPhase::Cancelled) {
            lifted = lifted + touch->location();
            ++liftedCount;
        }
    }
    if (activeTouchCount() == 0) {
        // Where the last fingers lifted still counts for the translation and the velocity.
        m_current = lifted * (1.0 / liftedCount);
        addSample(event.timestamp(), m_current);
        setState(state() == State::Possible ? State::Failed : State::Ended);
        return;
    }
    if (activeTouchCount() < m_minimumNumberOfTouches && state() != State::Possible) {
        setState(State::Ended);
        return;
    }
    rebase(m_current, activeCentroid());
}

void PanGestureRecognizer::reset() {
    m_samples.clear();
    m_origin = Point();
    m_current = Point();
}
