#include "kit/TimingFunction.h"

#include <algorithm>
#include <cmath>

namespace {

// One coordinate of the curve at parameter t, with the end points fixed at 0 and 1, in
// polynomial form: ((a·t + b)·t + c)·t.
struct CubicCoordinate {
    double a;
    double b;
    double c;

    CubicCoordinate(double p1, double p2)
        : a(1.0 + 3.0 * p1 - 3.0 * p2), b(3.0 * p2 - 6.0 * p1), c(3.0 * p1) {}

    double at(double t) const { return ((a * t + b) * t + c) * t; }
    double slopeAt(double t) const { return (3.0 * a * t + 2.0 * b) * t + c; }
};

// Far finer than a pixel over any animation the screens run.
constexpr double precision = 1e-9;

} // namespace

TimingFunction TimingFunction::forCurve(AnimationCurve curve) {
    switch (curve) {
    case AnimationCurve::easeInOut:
        return {0.42, 0.0, 0.58, 1.0};
    case AnimationCurve::easeIn:
        return {0.42, 0.0, 1.0, 1.0};
    case AnimationCurve::easeOut:
        return {0.0, 0.0, 0.58, 1.0};
    case AnimationCurve::linear:
        break;
    }
    return {};
}

double TimingFunction::valueAt(double fraction) const {
    const double x = std::clamp(fraction, 0.0, 1.0);
    if (m_x1 == m_y1 && m_x2 == m_y2) {
        return x;
    }
    const CubicCoordinate curveX(m_x1, m_x2);
    const CubicCoordinate curveY(m_y1, m_y2);
    // Newton's method converges in a few steps where the curve is steep enough; bisection
    // (x grows with t for control points within 0..1) finishes the flat stretches.
    double t = x;
    for (int step = 0; step < 8; ++step) {
        const double error = curveX.at(t) - x;
        if (std::fabs(error) < precision) {
            return curveY.at(t);
        }
        const double slope = curveX.slopeAt(t);
        if (std::fabs(slope) < 1e-6) {
            break;
        }
        t -= error / slope;
    }
    double low = 0.0;
    double high = 1.0;
    t = x;
    while (high - low > precision) {
        const double value = curveX.at(t);
        if (std::fabs(value - x) < precision) {
            break;
        }
        if (value < x) {
            low = t;
        } else {
            high = t;
        }
        t = (low + high) / 2.0;
    }
    return curveY.at(t);
}
