#pragma once

#include "kit/Point.h"

#include <memory>
#include <vector>

class View;

// Where a touch is in its life: it begins, moves (or stands still while another finger
// moves), and ends with the finger lifted or cancelled by the system.
enum class TouchPhase { Began, Moved, Stationary, Ended, Cancelled };

// One finger on the screen, from the moment it comes down until it lifts. The same object
// stands for the finger in every event of its life; the router updates it before each event.
// Locations are kept in the coordinates of the root view (the window's content) and converted
// on request, so they stay right while views move or scroll under the finger.
class Touch {
public:
    Touch(int finger, Point location, double timestamp);

    // The finger's number as the input device reported it.
    int finger() const { return m_finger; }
    TouchPhase phase() const { return m_phase; }
    // The view hit when the touch began; it keeps the touch for all its phases. None when
    // the touch began where no view takes touches.
    std::shared_ptr<View> view() const { return m_view; }
    // In root-view (window) coordinates.
    Point location() const { return m_location; }
    Point previousLocation() const { return m_previousLocation; }
    // In the bounds coordinates of `view`; without a view, in root coordinates.
    Point locationInView(const View* view) const;
    Point previousLocationInView(const View* view) const;
    // 1 for a single tap; 2 when the finger came down again quickly at the same place after
    // a previous touch, and so on.
    int tapCount() const { return m_tapCount; }
    // Seconds since 1970 on the run loop's clock, of the touch's last change.
    double timestamp() const { return m_timestamp; }

private:
    friend class TouchRouter;

    int m_finger;
    TouchPhase m_phase = TouchPhase::Began;
    std::shared_ptr<View> m_view;
    Point m_location;
    Point m_previousLocation;
    int m_tapCount = 1;
    double m_timestamp;
};

// The touches handed to a hook, in the order their fingers came down.
using TouchSet = std::vector<std::shared_ptr<Touch>>;
