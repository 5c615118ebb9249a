#pragma once

#include "kit/GestureRecognizer.h"

#include <vector>

// A discrete tap: the required number of fingers come down together and lift, as many times
// as required. It fails when a finger moves more than 10 points during a tap, when the next
// tap starts more than 45 points from the first or does not start within 0.35 seconds, or when
// more fingers come down than required.
class TapGestureRecognizer : public GestureRecognizer {
public:
    static constexpr double allowableMovement = 10.0;
    static constexpr double allowableTapDistance = 45.0;
    static constexpr double maximumIntervalBetweenTaps = 0.35;

    TapGestureRecognizer() = default;
    ~TapGestureRecognizer() override;

    int numberOfTapsRequired() const { return m_numberOfTapsRequired; }
    void setNumberOfTapsRequired(int taps) { m_numberOfTapsRequired = taps; }
    int numberOfTouchesRequired() const { return m_numberOfTouchesRequired; }
    void setNumberOfTouchesRequired(int touches) { m_numberOfTouchesRequired = touches; }

protected:
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void reset() override;

private:
    struct Press {
        const Touch* touch;
        Point start;
    };

    void stopWaiting();

    int m_numberOfTapsRequired = 1;
    int m_numberOfTouchesRequired = 1;
    int m_tapsDone = 0;
    int m_fingersInTap = 0;
    bool m_hasFirstLocation = false;
    Point m_firstLocation;
    std::vector<Press> m_presses;
    std::shared_ptr<Timer> m_waitTimer;
};
