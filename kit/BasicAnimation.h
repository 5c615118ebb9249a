#pragma once

#include "foundation/Color.h"
#include "kit/AffineTransform.h"
#include "kit/Point.h"
#include "kit/Rect.h"
#include "kit/TimingFunction.h"

#include <QString>

#include <functional>
#include <limits>
#include <optional>
#include <variant>

// A value of an animatable property: a custom property or opacity (double), position (Point),
// bounds (Rect), transform, or background colour.
using AnimationValue = std::variant<double, Point, Rect, AffineTransform, Color>;

// An animation of one property of a layer from one value to another, paced by a timing
// function, optionally delayed, repeated and reversed. While it runs, what is drawn is its
// value instead of the property's model value; once it ends it is removed and the model value
// shows again.
class BasicAnimation {
public:
    static constexpr double repeatForever = std::numeric_limits<double>::infinity();
    // An animation counts as ended this close to its end, so that rounding in the clock does
    // not leave it one frame short.
    static constexpr double endTolerance = 1e-9;

    BasicAnimation() = default;
    BasicAnimation(QString keyPath, AnimationValue fromValue, AnimationValue toValue, double duration);

    // The animated property: one of the Layer key constants or a custom property's name.
    const QString& keyPath() const { return m_keyPath; }
    void setKeyPath(const QString& keyPath) { m_keyPath = keyPath; }
    const AnimationValue& fromValue() const { return m_fromValue; }
    void setFromValue(const AnimationValue& value) { m_fromValue = value; }
    const AnimationValue& toValue() const { return m_toValue; }
    void setToValue(const AnimationValue& value) { m_toValue = value; }
    // Seconds of one run from the start value to the end value.
    double duration() const { return m_duration; }
    void setDuration(double duration) { m_duration = duration; }
    // Seconds from adding the animation to its start.
    double delay() const { return m_delay; }
    void setDelay(double delay) { m_delay = delay; }
    const TimingFunction& timingFunction() const { return m_timingFunction; }
    void setTimingFunction(const TimingFunction& function) { m_timingFunction = function; }
    void setCurve(AnimationCurve curve) { m_timingFunction = TimingFunction::forCurve(curve); }
    // How many runs (a run there and back with `autoreverses`); 0 counts as 1, fractions stop
    // part-way, `repeatForever` never ends.
    double repeatCount() const { return m_repeatCount; }
    void setRepeatCount(double count) { m_repeatCount = count; }
    bool autoreverses() const { return m_autoreverses; }
    void setAutoreverses(bool autoreverses) { m_autoreverses = autoreverses; }
    // Whether the start value shows during the delay; without it the model value does.
    bool fillsBackwards() const { return m_fillsBackwards; }
    void setFillsBackwards(bool fills) { m_fillsBackwards = fills; }
    // Runs once when the animation has ended (true) or was removed or replaced before its end
    // (false).
    const std::function<void(bool finished)>& completion() const { return m_completion; }
    void setCompletion(std::function<void(bool finished)> completion) {
        m_completion = std::move(completion);
    }

    bool isEndless() const;
    // Seconds from adding the animation to its end, delay included; infinite when endless.
    double totalDuration() const;
    // The value shown `elapsed` seconds after the animation was added, or none where the
    // animation shows nothing: before the delay without backward fill, and from the end on.
    std::optional<AnimationValue> valueAt(double elapsed) const;

    // The value `fraction` of the way from `from` to `to`: numbers, points, rectangles and
    // colours (RGBA) component by component; transforms by their translation, rotation (the
    // shorter way round), shear and scale. Values of different kinds give `to`.
    static AnimationValue interpolate(const AnimationValue& from, const AnimationValue& to, double fraction);

private:
    QString m_keyPath;
    AnimationValue m_fromValue;
    AnimationValue m_toValue;
    double m_duration = 0.25;
    double m_delay = 0.0;
    TimingFunction m_timingFunction;
    double m_repeatCount = 0.0;
    bool m_autoreverses = false;
    bool m_fillsBackwards = false;
    std::function<void(bool finished)> m_completion;
};
