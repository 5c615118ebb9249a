#pragma once

#include "kit/GestureRecognizer.h"

#include <climits>
#include <deque>

// A continuous drag of one or more fingers, followed by their centre. It begins once the centre
// has moved more than 10 points (canBeginWithTranslation decides), reports each move as a
// change and ends when the last finger lifts. The translation counts from where the pan
// began, so the content under the finger does not jump when it starts; fingers coming down or
// lifting in between do not move it either.
class PanGestureRecognizer : public GestureRecognizer {
public:
    static constexpr double hysteresis = 10.0;

    PanGestureRecognizer() = default;

    int minimumNumberOfTouches() const { return m_minimumNumberOfTouches; }
    void setMinimumNumberOfTouches(int touches) { m_minimumNumberOfTouches = touches; }
    int maximumNumberOfTouches() const { return m_maximumNumberOfTouches; }
    void setMaximumNumberOfTouches(int touches) { m_maximumNumberOfTouches = touches; }

    // The movement since the pan began (or since setTranslation), in the coordinate system of
    // `view` (root coordinates without one). A view that scrolls under the finger still reads
    // the finger's real movement, since only its scale and turn apply to a movement.
    Point translationInView(const View* view) const;
    void setTranslation(Point translation, const View* view);
    // Points per second over the last tenth of a second; zero when the fingers rested.
    Point velocityInView(const View* view) const;

protected:
    // Whether the pan may begin after the fingers moved by `translation` (root coordinates).
    virtual bool canBeginWithTranslation(Point translation) const;

    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void reset() override;

private:
    struct Sample {
        double time;
        Point location;
    };

    // The centre of the fingers that are still down.
    Point activeCentroid() const;
    // Keeps the translation where it is when the set of fingers changes.
    void rebase(Point oldCentroid, Point newCentroid);
    void addSample(double time, Point location);

    int m_minimumNumberOfTouches = 1;
    int m_maximumNumberOfTouches = INT_MAX;
    // The finger centre the translation counts from, and the present centre, in root coordinates.
    Point m_origin;
    Point m_current;
    std::deque<Sample> m_samples;
    double m_now = 0.0;
};
