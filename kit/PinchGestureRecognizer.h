#pragma once

#include "kit/GestureRecognizer.h"

// A continuous two-finger pinch. Its scale is the fingers' distance relative to their distance
// when the second finger came down (or when the scale was last set); it begins once that
// distance has changed by more than 5 points, and ends when either finger lifts. Further
// fingers are ignored.
class PinchGestureRecognizer : public GestureRecognizer {
public:
    static constexpr double beginThreshold = 5.0;

    PinchGestureRecognizer() = default;

    double scale() const { return m_scale; }
    // Restarts the scale from `scale` at the present distance (1 makes later reports relative
    // to now).
    void setScale(double scale);
    // Scale per second, from the last two moves.
    double velocity() const { return m_velocity; }

protected:
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void reset() override;

private:
    double fingerDistance() const;

    bool m_tracking = false;
    double m_startDistance = 0.0;
    double m_referenceDistance = 0.0;
    double m_referenceScale = 1.0;
    double m_scale = 1.0;
    double m_velocity = 0.0;
    double m_lastTime = 0.0;
};
