#pragma once

// The pacing curves of animations.
enum class AnimationCurve { easeInOut, easeIn, easeOut, linear };

// Maps the elapsed fraction of an animation (0..1) to the fraction of the change shown, along a
// cubic Bézier curve from (0, 0) to (1, 1) with two control points, as the platform's named
// curves are defined.
class TimingFunction {
public:
    // Linear.
    constexpr TimingFunction() = default;
    constexpr TimingFunction(double x1, double y1, double x2, double y2)
        : m_x1(x1), m_y1(y1), m_x2(x2), m_y2(y2) {}

    // ease-in-out (0.42, 0, 0.58, 1), ease-in (0.42, 0, 1, 1), ease-out (0, 0, 0.58, 1), linear.
    static TimingFunction forCurve(AnimationCurve curve);

    // The curve's y where its x is `fraction`; fractions outside 0..1 are clamped.
    double valueAt(double fraction) const;

    constexpr double x1() const { return m_x1; }
    constexpr double y1() const { return m_y1; }
    constexpr double x2() const { return m_x2; }
    constexpr double y2() const { return m_y2; }

    constexpr bool operator==(const TimingFunction&) const = default;

private:
    double m_x1 = 0.0;
    double m_y1 = 0.0;
    double m_x2 = 1.0;
    double m_y2 = 1.0;
};
