#include "kit/ScrollView.h"

#include "foundation/RunLoop.h"
#include "kit/Animator.h"
#include "kit/PanGestureRecognizer.h"

#include <algorithm>
#include <cmath>

namespace {

// A release faster than this (points per second) moves paging to the next page in its
// direction, and lets free scrolling decelerate.
constexpr double flickSpeed = 250.0;
constexpr double minimumDecelerationSpeed = 20.0;
// Free deceleration stops below this speed, at the point it was heading for.
constexpr double stopSpeed = 1.0;
// The stiffness of the spring that brings the content back inside the edges, critically
// damped so that it does not swing.
constexpr double springStiffness = 12.0;
constexpr double springRestDistance = 0.5;
constexpr double springRestSpeed = 10.0;
// How hard the edges resist a drag past them (the share of the bounds reached at most).
constexpr double rubberBandFactor = 0.55;

double rubberBand(double overshoot, double dimension) {
    if (dimension <= 0.0) {
        return 0.0;
    }
    return (1.0 - 1.0 / (overshoot * rubberBandFactor / dimension + 1.0)) * dimension;
}

double inverseRubberBand(double shown, double dimension) {
    if (dimension <= 0.0 || shown >= dimension) {
        return shown;
    }
    return (1.0 / (1.0 - shown / dimension) - 1.0) * dimension / rubberBandFactor;
}

double easeOut(double u) {
    return 1.0 - std::pow(1.0 - u, 3.0);
}

double easeInOut(double u) {
    return u * u * (3.0 - 2.0 * u);
}

} // namespace

// One axis of a motion: an eased move to a target, a free deceleration or a spring back to an
// edge. A deceleration that crosses an edge turns into a spring there (or stops at it).
struct ScrollView::AxisMotion {
    enum class Kind { Rest, Ease, Decelerate, Spring };

    Kind kind = Kind::Rest;
    double startTime = 0.0;
    double from = 0.0;
    double to = 0.0;
    double duration = 0.0;
    bool inOut = false;
    double velocity = 0.0;
    double exponent = 0.0;
    double position = 0.0;

    void rest(double at) {
        kind = Kind::Rest;
        position = at;
    }

    void ease(double start, double target, double now, double seconds, bool easeInAndOut) {
        kind = Kind::Ease;
        from = start;
        to = target;
        startTime = now;
        duration = seconds;
        inOut = easeInAndOut;
        position = start;
    }

    void decelerate(double start, double speed, double now, double rate) {
        kind = Kind::Decelerate;
        from = start;
        velocity = speed;
        startTime = now;
        exponent = 1000.0 * std::log(std::clamp(rate, 0.5, 0.9999));
        position = start;
    }

    void spring(double start, double target, double speed, double now) {
        kind = Kind::Spring;
        from = start;
        to = target;
        velocity = speed;
        startTime = now;
        position = start;
    }

    double advance(double now, double low, double high, bool bounces) {
        const double t = std::max(now - startTime, 0.0);
        switch (kind) {
        case Kind::Rest:
            break;
        case Kind::Ease: {
            // Steps land on the end only up to rounding.
            const double u = t >= duration - 1e-9 ? 1.0 : t / duration;
            position = from + (to - from) * (inOut ? easeInOut(u) : easeOut(u));
            if (u >= 1.0) {
                rest(to);
            }
            break;
        }
        case Kind::Decelerate: {
            const double decay = std::exp(exponent * t);
            const double speed = velocity * decay;
            position = from + velocity * (decay - 1.0) / exponent;
            if (position < low || position > high) {
                const double edge = std::clamp(position, low, high);
                if (bounces) {
                    spring(position, edge, speed, now);
                } else {
                    rest(edge);
                }
            } else if (std::abs(speed) < stopSpeed) {
                rest(std::clamp(from - velocity / exponent, low, high));
            }
            break;
        }
        case Kind::Spring: {
            const double a = from - to;
            const double b = velocity + springStiffness * a;
            const double decay = std::exp(-springStiffness * t);
            position = to + (a + b * t) * decay;
            const double speed = (b - springStiffness * (a + b * t)) * decay;
            if (std::abs(position - to) < springRestDistance && std::abs(speed) < springRestSpeed) {
                rest(to);
            }
            break;
        }
        }
        return position;
    }
};

// The scroll view's own pan: it begins only for movement along an axis that can scroll, and
// tells the scroll view when a finger comes down on it and when the last one has gone.
class ScrollViewPanGestureRecognizer final : public PanGestureRecognizer {
protected:
    bool canBeginWithTranslation(Point translation) const override {
        const std::shared_ptr<ScrollView> scrollView = owner();
        if (!scrollView) {
            return false;
        }
        const Point inView = scrollView->convertPointFromView(translation, nullptr) -
                             scrollView->convertPointFromView(Point(), nullptr);
        return scrollView->panMayBegin(inView);
    }

    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override {
        const bool first = activeTouchCount() == static_cast<int>(touches.size());
        PanGestureRecognizer::touchesBegan(touches, event);
        if (const std::shared_ptr<ScrollView> scrollView = owner(); scrollView && first) {
            scrollView->panTouchedDown();
        }
    }

    void reset() override {
        PanGestureRecognizer::reset();
        if (const std::shared_ptr<ScrollView> scrollView = owner()) {
            scrollView->panFinished();
        }
    }

private:
    std::shared_ptr<ScrollView> owner() const { return std::dynamic_pointer_cast<ScrollView>(view()); }
};

ScrollView::ScrollView() : ScrollView(Rect()) {}

ScrollView::ScrollView(const Rect& frame)
    : View(frame), m_horizontal(std::make_unique<AxisMotion>()), m_vertical(std::make_unique<AxisMotion>()) {
    setClipsToBounds(true);
    m_pan = std::make_shared<ScrollViewPanGestureRecognizer>();
    m_pan->onAction = [](GestureRecognizer& recognizer) {
        if (const auto scrollView = std::dynamic_pointer_cast<ScrollView>(recognizer.view())) {
            scrollView->panChanged();
        }
    };
    addGestureRecognizer(m_pan);
}

ScrollView::~ScrollView() {
    if (m_timer) {
        m_timer->invalidate();
    }
}

std::shared_ptr<PanGestureRecognizer> ScrollView::panGestureRecognizer() const {
    return m_pan;
}

bool ScrollView::canCancelContentTouches() const {
    return m_pan->cancelsTouchesInView();
}

void ScrollView::setCanCancelContentTouches(bool cancels) {
    m_pan->setCancelsTouchesInView(cancels);
}

void ScrollView::setScrollEnabled(bool enabled) {
    m_scrollEnabled = enabled;
    m_pan->setEnabled(enabled);
}

Point ScrollView::minimumContentOffset() const {
    return {-m_contentInset.left(), -m_contentInset.top()};
}

Point ScrollView::maximumContentOffset() const {
    const Point minimum = minimumContentOffset();
    return {std::max(minimum.x(), m_contentSize.width() + m_contentInset.right() - bounds().width()),
            std::max(minimum.y(), m_contentSize.height() + m_contentInset.bottom() - bounds().height())};
}

bool ScrollView::canScrollHorizontally() const {
    return m_alwaysBounceHorizontal ||
           m_contentSize.width() + m_contentInset.left() + m_contentInset.right() > bounds().width();
}

bool ScrollView::canScrollVertically() const {
    return m_alwaysBounceVertical ||
           m_contentSize.height() + m_contentInset.top() + m_contentInset.bottom() > bounds().height();
}

bool ScrollView::panMayBegin(Point translation) const {
    const double x = canScrollHorizontally() ? translation.x() : 0.0;
    const double y = canScrollVertically() ? translation.y() : 0.0;
    return std::hypot(x, y) > PanGestureRecognizer::hysteresis;
}

void ScrollView::setContentOffset(Point offset, bool animated) {
    if (!animated) {
        const Motion interrupted = m_motion;
        stopMotion(false);
        m_caught = false;
        if (m_dragging) {
            m_unclampedOffset = unRubberBanded(offset);
        }
        showOffset(offset);
        if (const std::shared_ptr<ScrollViewDelegate> owner = delegate()) {
            if (interrupted == Motion::Deceleration) {
                owner->scrollViewDidEndDecelerating(*this);
            } else if (interrupted == Motion::Animation) {
                owner->scrollViewDidEndScrollingAnimation(*this);
            }
        }
        return;
    }
    // A running animation is replaced quietly; its end is the new one's.
    stopMotion(m_motion == Motion::Deceleration);
    m_caught = false;
    const double now = RunLoop::main().now().timeIntervalSince1970();
    const Point from = contentOffset();
    m_horizontal->ease(from.x(), offset.x(), now, animationDuration, true);
    m_vertical->ease(from.y(), offset.y(), now, animationDuration, true);
    startMotion(Motion::Animation);
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated) {
    const Rect target = rect.standardized();
    const Rect visible = bounds();
    const auto axis = [](double offset, double size, double low, double high) {
        if (high - low > size || low < offset) {
            return low;
        }
        if (high > offset + size) {
            return high - size;
        }
        return offset;
    };
    const Point minimum = minimumContentOffset();
    const Point maximum = maximumContentOffset();
    const Point offset(std::clamp(axis(visible.x(), visible.width(), target.minX(), target.maxX()),
                                  minimum.x(), maximum.x()),
                       std::clamp(axis(visible.y(), visible.height(), target.minY(), target.maxY()),
                                  minimum.y(), maximum.y()));
    if (offset != contentOffset()) {
        setContentOffset(offset, animated);
    }
}

void ScrollView::panTouchedDown() {
    m_tracking = true;
    if (m_motion == Motion::Deceleration) {
        stopMotion(false);
        m_caught = true;
    } else if (m_motion == Motion::Animation) {
        stopMotion(true);
    }
}

void ScrollView::panFinished() {
    m_tracking = false;
    if (!m_caught) {
        return;
    }
    m_caught = false;
    if (planSettling(Point())) {
        startMotion(Motion::Deceleration);
    } else if (const std::shared_ptr<ScrollViewDelegate> owner = delegate()) {
        owner->scrollViewDidEndDecelerating(*this);
    }
}

void ScrollView::panChanged() {
    switch (m_pan->state()) {
    case GestureRecognizer::State::Began:
        beginDragging();
        break;
    case GestureRecognizer::State::Changed:
        continueDragging();
        break;
    case GestureRecognizer::State::Ended: {
        continueDragging();
        const Point fingers = m_pan->velocityInView(this);
        endDragging(
            {canScrollHorizontally() ? -fingers.x() : 0.0, canScrollVertically() ? -fingers.y() : 0.0});
        break;
    }
    case GestureRecognizer::State::Cancelled:
        endDragging(Point());
        break;
    case GestureRecognizer::State::Possible:
    case GestureRecognizer::State::Failed:
        break;
    }
}

void ScrollView::beginDragging() {
    m_caught = false;
    stopMotion(m_motion == Motion::Animation);
    m_dragging = true;
    m_unclampedOffset = unRubberBanded(contentOffset());
    m_lastTranslation = m_pan->translationInView(this);
    if (const std::shared_ptr<ScrollViewDelegate> owner = delegate()) {
        owner->scrollViewWillBeginDragging(*this);
    }
}

void ScrollView::continueDragging() {
    if (!m_dragging) {
        return;
    }
    const Point translation = m_pan->translationInView(this);
    const Point moved = translation - m_lastTranslation;
    m_lastTranslation = translation;
    if (canScrollHorizontally()) {
        m_unclampedOffset.setX(m_unclampedOffset.x() - moved.x());
    }
    if (canScrollVertically()) {
        m_unclampedOffset.setY(m_unclampedOffset.y() - moved.y());
    }
    showOffset(rubberBanded(m_unclampedOffset));
}

void ScrollView::endDragging(Point velocity) {
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    stopMotion(false);
    const bool willDecelerate = planSettling(velocity);
    // The motion waits for the report: the delegate may still move the content its own way.
    const unsigned generation = m_motionGeneration;
    if (const std::shared_ptr<ScrollViewDelegate> owner = delegate()) {
        owner->scrollViewDidEndDragging(*this, willDecelerate);
    }
    if (!willDecelerate || generation != m_motionGeneration) {
        return;
    }
    startMotion(Motion::Deceleration);
    if (const std::shared_ptr<ScrollViewDelegate> owner = delegate()) {
        owner->scrollViewWillBeginDecelerating(*this);
    }
}

bool ScrollView::planSettling(Point velocity) {
    const double now = RunLoop::main().now().timeIntervalSince1970();
    const Point offset = contentOffset();
    const Point minimum = minimumContentOffset();
    const Point maximum = maximumContentOffset();
    const auto plan = [&](AxisMotion& axis, double position, double speed, double low, double high,
                          double page, bool scrolls) {
        axis.rest(position);
        if (!scrolls) {
            return;
        }
        if (m_pagingEnabled && page > 0.0) {
            const double pages = position / page;
            double index = std::round(pages);
            if (speed > flickSpeed) {
                index = std::ceil(pages);
            } else if (speed < -flickSpeed) {
                index = std::floor(pages);
            }
            const double target = std::clamp(index * page, low, high);
            if (target != position) {
                axis.ease(position, target, now, animationDuration, false);
            }
        } else if (position < low || position > high) {
            axis.spring(position, std::clamp(position, low, high), speed, now);
        } else if (std::abs(speed) > minimumDecelerationSpeed) {
            axis.decelerate(position, speed, now, m_decelerationRate);
        }
    };
    plan(*m_horizontal, offset.x(), velocity.x(), minimum.x(), maximum.x(), bounds().width(),
         canScrollHorizontally());
    plan(*m_vertical, offset.y(), velocity.y(), minimum.y(), maximum.y(), bounds().height(),
         canScrollVertically());
    return m_horizontal->kind != AxisMotion::Kind::Rest || m_vertical->kind != AxisMotion::Kind::Rest;
}

void ScrollView::startMotion(Motion motion) {
    if (m_timer) {
        m_timer->invalidate();
    }
    m_motion = motion;
    ++m_motionGeneration;
    std::weak_ptr<View> weak = weak_from_this();
    m_timer = Animator::instance().scheduleFrames(Animator::frameInterval, [weak] {
        if (const auto scrollView = std::static_pointer_cast<ScrollView>(weak.lock())) {
            scrollView->step();
        }
    });
}

void ScrollView::stopMotion(bool report) {
    const Motion stopped = m_motion;
    m_motion = Motion::None;
    ++m_motionGeneration;
    if (m_timer) {
        m_timer->invalidate();
        m_timer.reset();
    }
    m_horizontal->rest(contentOffset().x());
    m_vertical->rest(contentOffset().y());
    const std::shared_ptr<ScrollViewDelegate> owner = delegate();
    if (!report || !owner) {
        return;
    }
    if (stopped == Motion::Deceleration) {
        owner->scrollViewDidEndDecelerating(*this);
    } else if (stopped == Motion::Animation) {
        owner->scrollViewDidEndScrollingAnimation(*this);
    }
}

void ScrollView::step() {
    if (m_motion == Motion::None) {
        return;
    }
    const unsigned generation = m_motionGeneration;
    const double now = RunLoop::main().now().timeIntervalSince1970();
    const Point minimum = minimumContentOffset();
    const Point maximum = maximumContentOffset();
    const double x = m_horizontal->advance(now, minimum.x(), maximum.x(), m_bounces);
    const double y = m_vertical->advance(now, minimum.y(), maximum.y(), m_bounces);
    showOffset({x, y});
    if (generation != m_motionGeneration) {
        return;
    }
    if (m_horizontal->kind == AxisMotion::Kind::Rest && m_vertical->kind == AxisMotion::Kind::Rest) {
        stopMotion(true);
    }
}

void ScrollView::showOffset(Point offset) {
    if (offset == contentOffset()) {
        return;
    }
    Rect shown = bounds();
    shown.setOrigin(offset);
    setBounds(shown);
    if (const std::shared_ptr<ScrollViewDelegate> owner = delegate()) {
        owner->scrollViewDidScroll(*this);
    }
}

Point ScrollView::rubberBanded(Point unclamped) const {
    const Point minimum = minimumContentOffset();
    const Point maximum = maximumContentOffset();
    const auto axis = [this](double value, double low, double high, double dimension) {
        if (!m_bounces) {
            return std::clamp(value, low, high);
        }
        if (value < low) {
            return low - rubberBand(low - value, dimension);
        }
        if (value > high) {
            return high + rubberBand(value - high, dimension);
        }
        return value;
    };
    return {axis(unclamped.x(), minimum.x(), maximum.x(), bounds().width()),
            axis(unclamped.y(), minimum.y(), maximum.y(), bounds().height())};
}

Point ScrollView::unRubberBanded(Point shown) const {
    const Point minimum = minimumContentOffset();
    const Point maximum = maximumContentOffset();
    const auto axis = [](double value, double low, double high, double dimension) {
        if (value < low) {
            return low - inverseRubberBand(low - value, dimension);
        }
        if (value > high) {
            return high + inverseRubberBand(value - high, dimension);
        }
        return value;
    };
    return {axis(shown.x(), minimum.x(), maximum.x(), bounds().width()),
            axis(shown.y(), minimum.y(), maximum.y(), bounds().height())};
}
