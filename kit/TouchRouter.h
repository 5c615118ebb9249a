#pragma once

#include "kit/Point.h"
#include "kit/TouchEvent.h"

#include <functional>
#include <memory>
#include <vector>

class GestureRecognizer;
class Timer;
class View;

// Touch delivery for one root view (a window's content). Input comes in two steps, so that
// the application's sendEvent can stand between them: the raw-input calls build a TouchEvent
// from fingers and root-view locations (hit testing each new finger and stamping the run
// loop's time), and deliver() hands a built event to the gesture recognisers and the views:
// - a touch belongs to the view hit when it began, for all its phases;
// - the recognisers of that view and of its ancestors see the touch first; one that begins or
//   recognises with cancelsTouchesInView cancels the touch in the view;
// - while a view with exclusiveTouch (or one inside it) tracks a touch, a touch beginning
//   outside it is not delivered at all, and an exclusive view gets no touch while one is
//   tracked outside it; a view that is not multipleTouchEnabled gets only its first touch.
class TouchRouter {
public:
    explicit TouchRouter(std::shared_ptr<View> rootView);
    ~TouchRouter();
    TouchRouter(const TouchRouter&) = delete;
    TouchRouter& operator=(const TouchRouter&) = delete;

    std::shared_ptr<View> rootView() const { return m_rootView; }

    // One finger's change, in root-view coordinates.
    struct TouchInput {
        int finger = 0;
        TouchPhase phase = TouchPhase::Began;
        Point location;
    };
    // Builds the event for changes that happened together; fingers not named stay stationary.
    // A move or end of a finger not in play is ignored. Negative fingers are the router's own.
    TouchEvent touchesChanged(const std::vector<TouchInput>& changes);
    TouchEvent touchBegan(int finger, Point location);
    TouchEvent touchMoved(int finger, Point location);
    TouchEvent touchEnded(int finger, Point location);
    TouchEvent touchCancelled(int finger);
    // Cancels every finger in play (for instance when the window loses the input).
    TouchEvent touchesCancelledAll();

    // Delivers a built event to the recognisers and views.
    void deliver(const TouchEvent& event);
    // Where the events of synthetic gestures go; by default straight to deliver. The window
    // points it at the application's sendEvent.
    std::function<void(const TouchEvent&)> toSendEvent;

    // A two-finger pinch for input without two fingers (Ctrl + wheel, touchpad pinch): the first
    // call puts two fingers down 100 points apart, level around `center`, on the view hit there;
    // each call moves them apart or together by `scaleFactor` around that point; they lift
    // 0.3 seconds after the last call.
    void pinchAt(Point center, double scaleFactor);
    bool isPinching() const { return m_pinchScale > 0.0; }

    // Fingers currently in play.
    int touchCount() const { return static_cast<int>(m_inPlay.size()); }

private:
    friend class GestureRecognizer;

    struct TouchState {
        std::shared_ptr<Touch> touch;
        // Not delivered to anyone (no view was hit, or exclusive touch kept it out).
        bool blocked = false;
        // Whether the view's hooks get this touch at all, and whether they had its beginning.
        bool toView = false;
        bool viewBegan = false;
        bool cancelledForView = false;
        std::vector<std::shared_ptr<GestureRecognizer>> recognizers;
    };

    TouchEvent buildEvent(const std::vector<TouchInput>& changes, const std::shared_ptr<View>& forcedView);
    void send(const TouchEvent& event);
    void admit(const std::shared_ptr<Touch>& touch);
    bool exclusiveTouchKeepsOut(const View& view) const;
    std::shared_ptr<TouchState> stateOf(const Touch& touch) const;
    // Called by recognisers: whether one may begin, and what its beginning does to the others.
    bool allowsToBegin(GestureRecognizer& recognizer) const;
    void recognizerDidBegin(GestureRecognizer& recognizer);
    static bool simultaneous(GestureRecognizer& a, GestureRecognizer& b);
    void endPinch();
    std::vector<TouchInput> pinchFingers(TouchPhase phase) const;

    std::shared_ptr<View> m_rootView;
    TouchSet m_inPlay;
    std::vector<std::shared_ptr<TouchState>> m_states;
    const TouchEvent* m_currentEvent = nullptr;
    std::vector<std::weak_ptr<GestureRecognizer>> m_servedRecognizers;

    double m_lastTapTime = -1.0;
    Point m_lastTapLocation;
    int m_lastTapCount = 0;

    Point m_pinchCenter;
    double m_pinchScale = 0.0;
    std::shared_ptr<Timer> m_pinchTimer;
};
