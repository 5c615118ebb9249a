#pragma once

#include "kit/EdgeInsets.h"
#include "kit/ScrollViewDelegate.h"
#include "kit/View.h"

#include <memory>

class PanGestureRecognizer;
class Timer;

// A view whose bounds origin (the content offset) moves over a larger content. The user drags
// it with one or more fingers through its own pan recogniser, which cancels the touches of the
// views inside once the drag begins (after the finger moved 10 points along an axis that can
// scroll). On release it decelerates freely (at the platform's rate, springing back at the
// edges when it bounces) or, with paging, settles on the nearest page, or the next one in the
// direction of a fast flick. All motion steps on the animator's frames, at 60 Hz.
//
// Setting the offset without animation stops any motion and reports its end (an interrupted
// animation reports didEndScrollingAnimation, an interrupted deceleration
// didEndDecelerating), so that every beginning gets its end. An animated change to the offset
// already shown still reports its end after the animation time. Touching a moving scroll view
// stops it; lifting the finger without dragging lets it settle (on a page, inside the edges)
// and then reports didEndDecelerating.
class ScrollView : public View {
public:
    static constexpr double decelerationRateNormal = 0.998;
    static constexpr double decelerationRateFast = 0.99;
    static constexpr double animationDuration = 0.3;

    ScrollView();
    explicit ScrollView(const Rect& frame);
    ~ScrollView() override;

    Size contentSize() const { return m_contentSize; }
    void setContentSize(Size size) { m_contentSize = size; }
    // Extra room around the content that the offset may scroll into.
    EdgeInsets contentInset() const { return m_contentInset; }
    void setContentInset(const EdgeInsets& inset) { m_contentInset = inset; }
    // The bounds origin: the point of the content shown at the top-left corner.
    Point contentOffset() const { return bounds().origin(); }
    // Moves the content, at once or animated over 0.3 seconds; reports every step.
    void setContentOffset(Point offset, bool animated = false);
    // Scrolls as little as needed to show the rectangle (in content coordinates); nothing when
    // it is already shown.
    void scrollRectToVisible(const Rect& rect, bool animated);
    // The range the content offset takes at rest.
    Point minimumContentOffset() const;
    Point maximumContentOffset() const;

    bool pagingEnabled() const { return m_pagingEnabled; }
    void setPagingEnabled(bool enabled) { m_pagingEnabled = enabled; }
    // False keeps the user from scrolling; the offset can still be set.
    bool scrollEnabled() const { return m_scrollEnabled; }
    void setScrollEnabled(bool enabled);
    // Whether a drag may pull past the edges (with resistance) and motion springs back there.
    bool bounces() const { return m_bounces; }
    void setBounces(bool bounces) { m_bounces = bounces; }
    // Lets the user drag along an axis even when the content fits (it then bounces back).
    bool alwaysBounceHorizontal() const { return m_alwaysBounceHorizontal; }
    void setAlwaysBounceHorizontal(bool bounce) { m_alwaysBounceHorizontal = bounce; }
    bool alwaysBounceVertical() const { return m_alwaysBounceVertical; }
    void setAlwaysBounceVertical(bool bounce) { m_alwaysBounceVertical = bounce; }
    // Whether a drag cancels the touches of the views inside (default true).
    bool canCancelContentTouches() const;
    void setCanCancelContentTouches(bool cancels);
    // Kept for the screens that set them; this scroll view draws no indicators.
    bool showsHorizontalScrollIndicator() const { return m_showsHorizontalScrollIndicator; }
    void setShowsHorizontalScrollIndicator(bool shows) { m_showsHorizontalScrollIndicator = shows; }
    bool showsVerticalScrollIndicator() const { return m_showsVerticalScrollIndicator; }
    void setShowsVerticalScrollIndicator(bool shows) { m_showsVerticalScrollIndicator = shows; }
    // The share of the speed kept per millisecond of free deceleration.
    double decelerationRate() const { return m_decelerationRate; }
    void setDecelerationRate(double rate) { m_decelerationRate = rate; }

    // A finger is down on the scroll view (it may not have started dragging yet).
    bool isTracking() const { return m_tracking; }
    // The user is moving the content.
    bool isDragging() const { return m_dragging; }
    // The content moves on after a drag.
    bool isDecelerating() const { return m_motion == Motion::Deceleration; }
    std::shared_ptr<PanGestureRecognizer> panGestureRecognizer() const;

    // Not owned.
    void setDelegate(std::weak_ptr<ScrollViewDelegate> delegate) { m_delegate = std::move(delegate); }
    std::shared_ptr<ScrollViewDelegate> delegate() const { return m_delegate.lock(); }

private:
    friend class ScrollViewPanGestureRecognizer;
    struct AxisMotion;
    enum class Motion { None, Deceleration, Animation };

    bool canScrollHorizontally() const;
    bool canScrollVertically() const;
    // Whether the pan may begin after the fingers moved by `translation` (in this view).
    bool panMayBegin(Point translation) const;
    void panTouchedDown();
    void panFinished();
    void panChanged();
    void beginDragging();
    void continueDragging();
    void endDragging(Point velocity);

    // Plans the motion that brings the content to rest after a release at `velocity` (points
    // per second of the offset); false when it already is at rest.
    bool planSettling(Point velocity);
    void startMotion(Motion motion);
    // Stops the motion; with `report` the delegate hears of its end.
    void stopMotion(bool report);
    void step();
    void showOffset(Point offset);
    Point rubberBanded(Point unclamped) const;
    Point unRubberBanded(Point shown) const;

    Size m_contentSize;
    EdgeInsets m_contentInset;
    bool m_pagingEnabled = false;
    bool m_scrollEnabled = true;
    bool m_bounces = true;
    bool m_alwaysBounceHorizontal = false;
    bool m_alwaysBounceVertical = false;
    bool m_showsHorizontalScrollIndicator = true;
    bool m_showsVerticalScrollIndicator = true;
    double m_decelerationRate = decelerationRateNormal;
    std::weak_ptr<ScrollViewDelegate> m_delegate;
    std::shared_ptr<PanGestureRecognizer> m_pan;

    bool m_tracking = false;
    bool m_dragging = false;
    // The finger stopped a deceleration; lifting it lets the content settle.
    bool m_caught = false;
    // Where the finger would have put the offset without the edges' resistance.
    Point m_unclampedOffset;
    Point m_lastTranslation;

    Motion m_motion = Motion::None;
    std::unique_ptr<AxisMotion> m_horizontal;
    std::unique_ptr<AxisMotion> m_vertical;
    std::shared_ptr<Timer> m_timer;
    // Counts motions, so that a step notices when a report replaced its motion.
    unsigned m_motionGeneration = 0;
};
