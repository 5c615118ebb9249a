#include "kit/TouchRouter.h"

#include "foundation/RunLoop.h"
#include "kit/GestureRecognizer.h"
#include "kit/View.h"

#include <algorithm>
#include <cmath>

namespace {

// A finger that comes down again this soon and this close after the previous one lifted
// continues its tap count.
constexpr double multiTapInterval = 0.5;
constexpr double multiTapDistance = 20.0;

constexpr int firstPinchFinger = -1;
constexpr int secondPinchFinger = -2;
constexpr double pinchStartDistance = 100.0;
constexpr double pinchEndDelay = 0.3;
// Keeps the synthetic fingers from meeting, which would leave no distance to scale.
constexpr double smallestPinchScale = 0.02;

bool isOver(TouchPhase phase) {
    return phase == TouchPhase::Ended || phase == TouchPhase::Cancelled;
}

std::shared_ptr<View> exclusiveOwner(const View& view) {
    for (std::shared_ptr<View> candidate = std::const_pointer_cast<View>(view.shared_from_this()); candidate;
         candidate = candidate->superview()) {
        if (candidate->exclusiveTouch()) {
            return candidate;
        }
    }
    return nullptr;
}

// Batches the touches of one phase per key (recogniser or view), keeping the order in which
// the keys first appear.
template <typename Key> struct Batches {
    std::vector<std::pair<Key, TouchSet>> entries;

    void add(const Key& key, const std::shared_ptr<Touch>& touch) {
        const auto it =
            std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == key; });
        if (it == entries.end()) {
            entries.push_back({key, {touch}});
        } else {
            it->second.push_back(touch);
        }
    }
};

constexpr TouchPhase deliveryOrder[] = {TouchPhase::Began, TouchPhase::Moved, TouchPhase::Ended,
                                        TouchPhase::Cancelled};

} // namespace

TouchRouter::TouchRouter(std::shared_ptr<View> rootView) : m_rootView(std::move(rootView)) {}

TouchRouter::~TouchRouter() {
    if (m_pinchTimer) {
        m_pinchTimer->invalidate();
    }
    // Touches in play hold their views and recognisers hold the touches; cancelling them lets
    // everything go (and tells the views and gestures that they are over).
    if (!m_inPlay.empty()) {
        deliver(touchesCancelledAll());
    }
    for (const auto& state : m_states) {
        for (const auto& recognizer : state->recognizers) {
            recognizer->removeTouch(*state->touch);
        }
    }
    for (const auto& weak : m_servedRecognizers) {
        if (const std::shared_ptr<GestureRecognizer> recognizer = weak.lock()) {
            if (recognizer->m_router == this) {
                recognizer->m_router = nullptr;
            }
        }
    }
}

TouchEvent TouchRouter::touchesChanged(const std::vector<TouchInput>& changes) {
    return buildEvent(changes, nullptr);
}

TouchEvent TouchRouter::touchBegan(int finger, Point location) {
    return touchesChanged({{finger, TouchPhase::Began, location}});
}

TouchEvent TouchRouter::touchMoved(int finger, Point location) {
    return touchesChanged({{finger, TouchPhase::Moved, location}});
}

TouchEvent TouchRouter::touchEnded(int finger, Point location) {
    return touchesChanged({{finger, TouchPhase::Ended, location}});
}

TouchEvent TouchRouter::touchCancelled(int finger) {
    for (const auto& touch : m_inPlay) {
        if (touch->finger() == finger) {
            return touchesChanged({{finger, TouchPhase::Cancelled, touch->location()}});
        }
    }
    return touchesChanged({});
}

TouchEvent TouchRouter::touchesCancelledAll() {
    std::vector<TouchInput> changes;
    for (const auto& touch : m_inPlay) {
        changes.push_back({touch->finger(), TouchPhase::Cancelled, touch->location()});
    }
    return touchesChanged(changes);
}

TouchEvent TouchRouter::buildEvent(const std::vector<TouchInput>& changes,
                                   const std::shared_ptr<View>& forcedView) {
    const double now = RunLoop::main().now().timeIntervalSince1970();
    for (const auto& touch : m_inPlay) {
        touch->m_phase = TouchPhase::Stationary;
    }
    for (const TouchInput& change : changes) {
        const auto it = std::find_if(m_inPlay.begin(), m_inPlay.end(),
                                     [&](const auto& touch) { return touch->finger() == change.finger; });
        if (it == m_inPlay.end()) {
            if (change.phase != TouchPhase::Began) {
                continue;
            }
            auto touch = std::make_shared<Touch>(change.finger, change.location, now);
            touch->m_view = forcedView ? forcedView : m_rootView->hitTest(change.location);
            const bool continuesTaps =
                m_lastTapTime >= 0.0 && now - m_lastTapTime <= multiTapInterval &&
                std::hypot(change.location.x() - m_lastTapLocation.x(),
                           change.location.y() - m_lastTapLocation.y()) <= multiTapDistance;
            touch->m_tapCount = continuesTaps ? m_lastTapCount + 1 : 1;
            m_inPlay.push_back(std::move(touch));
            continue;
        }
        Touch& touch = **it;
        if (change.phase == TouchPhase::Began || change.phase == TouchPhase::Stationary) {
            continue;
        }
        touch.m_phase = change.phase;
        touch.m_timestamp = now;
        if (change.phase != TouchPhase::Cancelled) {
            touch.m_previousLocation = touch.m_location;
            touch.m_location = change.location;
        }
        if (change.phase == TouchPhase::Ended) {
            m_lastTapTime = now;
            m_lastTapLocation = touch.m_location;
            m_lastTapCount = touch.m_tapCount;
        }
    }
    TouchEvent event(m_inPlay, now);
    std::erase_if(m_inPlay, [](const auto& touch) { return isOver(touch->phase()); });
    return event;
}

void TouchRouter::send(const TouchEvent& event) {
    if (toSendEvent) {
        toSendEvent(event);
    } else {
        deliver(event);
    }
}

void TouchRouter::deliver(const TouchEvent& event) {
    const TouchEvent* outerEvent = std::exchange(m_currentEvent, &event);
    const TouchSet changed = event.changedTouches();
    for (const auto& touch : changed) {
        if (touch->phase() == TouchPhase::Began && !stateOf(*touch)) {
            admit(touch);
        }
    }

    for (const TouchPhase phase : deliveryOrder) {
        Batches<std::shared_ptr<GestureRecognizer>> batches;
        for (const auto& touch : changed) {
            const std::shared_ptr<TouchState> state = stateOf(*touch);
            if (touch->phase() != phase || !state || state->blocked) {
                continue;
            }
            for (const auto& recognizer : state->recognizers) {
                batches.add(recognizer, touch);
            }
        }
        for (const auto& [recognizer, touches] : batches.entries) {
            recognizer->handleTouches(phase, touches, event);
        }
    }

    for (const TouchPhase phase : deliveryOrder) {
        Batches<std::shared_ptr<View>> batches;
        for (const auto& touch : changed) {
            const std::shared_ptr<TouchState> state = stateOf(*touch);
            if (touch->phase() != phase || !state || !state->toView || state->cancelledForView) {
                continue;
            }
            if (phase == TouchPhase::Began) {
                state->viewBegan = true;
            }
            batches.add(touch->view(), touch);
        }
        for (const auto& [view, touches] : batches.entries) {
            view->deliverTouches(phase, touches, event);
        }
    }

    for (const auto& touch : changed) {
        if (!isOver(touch->phase())) {
            continue;
        }
        if (const std::shared_ptr<TouchState> state = stateOf(*touch)) {
            std::erase(m_states, state);
            for (const auto& recognizer : state->recognizers) {
                recognizer->removeTouch(*touch);
            }
        }
    }
    m_currentEvent = outerEvent;
}

void TouchRouter::admit(const std::shared_ptr<Touch>& touch) {
    auto state = std::make_shared<TouchState>();
    state->touch = touch;
    const std::shared_ptr<View> view = touch->view();
    state->blocked = !view || exclusiveTouchKeepsOut(*view);
    if (!state->blocked) {
        const bool viewBusy = std::any_of(m_states.begin(), m_states.end(), [&](const auto& other) {
            return other->touch->view() == view && other->toView && !other->cancelledForView &&
                   !isOver(other->touch->phase());
        });
        state->toView = !viewBusy || view->multipleTouchEnabled();
        for (std::shared_ptr<View> owner = view; owner; owner = owner->superview()) {
            for (const auto& recognizer : owner->gestureRecognizers()) {
                const GestureRecognizer::State recognizerState = recognizer->state();
                if (!recognizer->enabled() || GestureRecognizer::isOver(recognizerState)) {
                    continue;
                }
                const std::shared_ptr<GestureRecognizerDelegate> delegate = recognizer->delegate();
                if (delegate && !delegate->gestureRecognizerShouldReceiveTouch(*recognizer, *touch)) {
                    continue;
                }
                recognizer->m_router = this;
                recognizer->addTouch(touch);
                state->recognizers.push_back(recognizer);
                m_servedRecognizers.push_back(recognizer);
            }
        }
        std::erase_if(m_servedRecognizers, [](const auto& weak) { return weak.expired(); });
    }
    m_states.push_back(std::move(state));
}

bool TouchRouter::exclusiveTouchKeepsOut(const View& view) const {
    const std::shared_ptr<View> ownOwner = exclusiveOwner(view);
    for (const auto& state : m_states) {
        const std::shared_ptr<View> other = state->touch->view();
        if (state->blocked || !other || isOver(state->touch->phase())) {
            continue;
        }
        const std::shared_ptr<View> otherOwner = exclusiveOwner(*other);
        if (otherOwner && !view.isDescendantOfView(*otherOwner)) {
            return true;
        }
        if (ownOwner && !other->isDescendantOfView(*ownOwner)) {
            return true;
        }
    }
    return false;
}

std::shared_ptr<TouchRouter::TouchState> TouchRouter::stateOf(const Touch& touch) const {
    const auto it = std::find_if(m_states.begin(), m_states.end(),
                                 [&](const auto& state) { return state->touch.get() == &touch; });
    return it == m_states.end() ? nullptr : *it;
}

bool TouchRouter::simultaneous(GestureRecognizer& a, GestureRecognizer& b) {
    const std::shared_ptr<GestureRecognizerDelegate> first = a.delegate();
    const std::shared_ptr<GestureRecognizerDelegate> second = b.delegate();
    return (first && first->gestureRecognizerShouldRecognizeSimultaneously(a, b)) ||
           (second && second->gestureRecognizerShouldRecognizeSimultaneously(b, a));
}

bool TouchRouter::allowsToBegin(GestureRecognizer& recognizer) const {
    for (const auto& touch : recognizer.touches()) {
        const std::shared_ptr<TouchState> state = stateOf(*touch);
        if (!state) {
            continue;
        }
        for (const auto& other : state->recognizers) {
            const GestureRecognizer::State otherState = other->state();
            if (other.get() != &recognizer &&
                (otherState == GestureRecognizer::State::Began ||
                 otherState == GestureRecognizer::State::Changed) &&
                !simultaneous(recognizer, *other)) {
                return false;
            }
        }
    }
    return true;
}

void TouchRouter::recognizerDidBegin(GestureRecognizer& recognizer) {
    // Copies: failing a recogniser or cancelling a view may change the lists.
    const TouchSet touches = recognizer.touches();
    for (const auto& touch : touches) {
        const std::shared_ptr<TouchState> state = stateOf(*touch);
        if (!state) {
            continue;
        }
        const auto others = state->recognizers;
        for (const auto& other : others) {
            if (other.get() != &recognizer && other->state() == GestureRecognizer::State::Possible &&
                !simultaneous(recognizer, *other)) {
                other->setState(GestureRecognizer::State::Failed);
            }
        }
    }
    if (!recognizer.cancelsTouchesInView()) {
        return;
    }
    Batches<std::shared_ptr<View>> batches;
    for (const auto& touch : touches) {
        const std::shared_ptr<TouchState> state = stateOf(*touch);
        if (!state || !state->toView || state->cancelledForView) {
            continue;
        }
        state->cancelledForView = true;
        if (state->viewBegan) {
            batches.add(touch->view(), touch);
        }
    }
    if (batches.entries.empty()) {
        return;
    }
    const TouchEvent event = m_currentEvent
                                 ? *m_currentEvent
                                 : TouchEvent(m_inPlay, RunLoop::main().now().timeIntervalSince1970());
    for (const auto& [view, cancelled] : batches.entries) {
        view->deliverTouches(TouchPhase::Cancelled, cancelled, event);
    }
}

std::vector<TouchRouter::TouchInput> TouchRouter::pinchFingers(TouchPhase phase) const {
    const double half = pinchStartDistance / 2.0 * m_pinchScale;
    return {{firstPinchFinger, phase, m_pinchCenter.offset(-half, 0.0)},
            {secondPinchFinger, phase, m_pinchCenter.offset(half, 0.0)}};
}

void TouchRouter::pinchAt(Point center, double scaleFactor) {
    if (!isPinching()) {
        m_pinchCenter = center;
        m_pinchScale = 1.0;
        send(buildEvent(pinchFingers(TouchPhase::Began), m_rootView->hitTest(center)));
    }
    if (scaleFactor > 0.0 && std::isfinite(scaleFactor)) {
        m_pinchScale = std::max(m_pinchScale * scaleFactor, smallestPinchScale);
    }
    if (m_pinchTimer) {
        m_pinchTimer->invalidate();
    }
    // The timer goes with the router (its destructor invalidates it), so it may use `this`.
    m_pinchTimer = RunLoop::main().scheduleTimer(pinchEndDelay, false, [this] { endPinch(); });
    if (isPinching()) {
        send(buildEvent(pinchFingers(TouchPhase::Moved), nullptr));
    }
}

void TouchRouter::endPinch() {
    if (!isPinching()) {
        return;
    }
    const std::vector<TouchInput> fingers = pinchFingers(TouchPhase::Ended);
    m_pinchScale = 0.0;
    m_pinchTimer.reset();
    send(buildEvent(fingers, nullptr));
}
