#pragma once

#include "kit/GestureRecognizer.h"

// The directions a swipe may take; combine them with |.
enum class SwipeDirection : unsigned { Right = 1, Left = 2, Up = 4, Down = 8 };

constexpr SwipeDirection operator|(SwipeDirection a, SwipeDirection b) {
    return static_cast<SwipeDirection>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

constexpr bool contains(SwipeDirection set, SwipeDirection direction) {
    return (static_cast<unsigned>(set) & static_cast<unsigned>(direction)) != 0;
}

// A discrete swipe: recognised as soon as the fingers have moved 50 points in one of the
// allowed directions within 0.5 seconds of coming down, staying within half that distance of
// the axis. It fails when it takes longer, when the fingers wander off the axis or go back
// more than 10 points, or when they lift before.
class SwipeGestureRecognizer : public GestureRecognizer {
public:
    static constexpr double minimumDistance = 50.0;
    static constexpr double maximumDuration = 0.5;
    static constexpr double allowableDeviation = 15.0;
    static constexpr double allowableBacktrack = 10.0;

    SwipeGestureRecognizer() = default;
    explicit SwipeGestureRecognizer(SwipeDirection direction) : m_direction(direction) {}

    // Right by default.
    SwipeDirection direction() const { return m_direction; }
    void setDirection(SwipeDirection direction) { m_direction = direction; }
    int numberOfTouchesRequired() const { return m_numberOfTouchesRequired; }
    void setNumberOfTouchesRequired(int touches) { m_numberOfTouchesRequired = touches; }

protected:
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void reset() override;

private:
    // Recognises, fails or keeps waiting at the fingers' present centre.
    void evaluate(double timestamp);

    SwipeDirection m_direction = SwipeDirection::Right;
    int m_numberOfTouchesRequired = 1;
    bool m_started = false;
    Point m_start;
    double m_startTime = 0.0;
};
