#pragma once

#include "kit/GestureRecognizerDelegate.h"
#include "kit/Touch.h"

#include <functional>
#include <memory>

class TouchEvent;
class TouchRouter;
class Timer;
class View;

// Turns the touches of its view (and of the views inside it) into one gesture. The router
// hands a recogniser every touch that begins in its view's subtree before the hit view sees
// it. A continuous gesture goes Possible → Began → Changed … → Ended (or Cancelled); a
// discrete one goes Possible → Ended (Recognized); either may go to Failed instead. When one
// begins or recognises, the other recognisers sharing its touches fail (unless a delegate lets
// them go on together), and with `cancelsTouchesInView` the hit views get touchesCancelled.
// After the gesture's last touch has lifted, an ended, cancelled or failed recogniser returns
// to Possible.
//
// Recognisers are held by std::shared_ptr (the view keeps the ones added to it).
class GestureRecognizer : public std::enable_shared_from_this<GestureRecognizer> {
public:
    enum class State { Possible, Began, Changed, Ended, Cancelled, Failed };
    static constexpr State Recognized = State::Ended;

    GestureRecognizer();
    virtual ~GestureRecognizer();
    GestureRecognizer(const GestureRecognizer&) = delete;
    GestureRecognizer& operator=(const GestureRecognizer&) = delete;

    // Called with the recogniser at every change to Began, Changed, Ended or Cancelled.
    std::function<void(GestureRecognizer&)> onAction;

    State state() const { return m_state; }
    // A disabled recogniser gets no touches; disabling one in play cancels (or fails) it.
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Whether the view's own touches are cancelled when this gesture begins (default true).
    bool cancelsTouchesInView() const { return m_cancelsTouchesInView; }
    void setCancelsTouchesInView(bool cancels) { m_cancelsTouchesInView = cancels; }
    // The view the recogniser was added to, or none.
    std::shared_ptr<View> view() const;
    // Not owned.
    void setDelegate(std::weak_ptr<GestureRecognizerDelegate> delegate) { m_delegate = std::move(delegate); }
    std::shared_ptr<GestureRecognizerDelegate> delegate() const { return m_delegate.lock(); }

    // The touches the gesture is following (lifted ones are dropped after their event).
    const TouchSet& touches() const { return m_touches; }
    int numberOfTouches() const { return static_cast<int>(m_touches.size()); }
    // The centre of the touches in `view` (root coordinates without a view); after the last
    // touch has lifted, where the touches were last.
    Point locationInView(const View* view) const;
    Point locationOfTouch(int index, const View* view) const;

    // The router's entry: passes the touches to the hook of the phase unless the gesture is
    // already over.
    void handleTouches(TouchPhase phase, const TouchSet& touches, const TouchEvent& event);

protected:
    // The hooks a kind of gesture overrides; they change the state with setState.
    virtual void touchesBegan(const TouchSet& touches, const TouchEvent& event);
    virtual void touchesMoved(const TouchSet& touches, const TouchEvent& event);
    virtual void touchesEnded(const TouchSet& touches, const TouchEvent& event);
    // By default a gesture in progress is cancelled and a possible one fails.
    virtual void touchesCancelled(const TouchSet& touches, const TouchEvent& event);
    // Back to the start, when the gesture is over and its touches are gone.
    virtual void reset();

    // Moves the gesture on and tells the action. A change from Possible to Began or Ended
    // first asks the delegate and the router, and becomes Failed when either refuses.
    void setState(State state);
    // The followed touches that have not lifted.
    int activeTouchCount() const;
    // A one-shot timer on the main run loop that holds the recogniser weakly.
    std::shared_ptr<Timer> scheduleTimer(double interval, std::function<void(GestureRecognizer&)> fire);
    static double distance(Point a, Point b);

private:
    friend class TouchRouter;
    friend class View;

    static bool isOver(State state);
    void addTouch(const std::shared_ptr<Touch>& touch);
    void removeTouch(const Touch& touch);
    void resetIfOver();
    bool mayBegin();
    void detachFromView();
    Point centroid() const;

    State m_state = State::Possible;
    bool m_enabled = true;
    bool m_cancelsTouchesInView = true;
    View* m_view = nullptr;
    TouchRouter* m_router = nullptr;
    std::weak_ptr<GestureRecognizerDelegate> m_delegate;
    TouchSet m_touches;
    Point m_lastLocation;
};
