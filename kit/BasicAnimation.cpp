#include "kit/BasicAnimation.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

double mix(double from, double to, double fraction) {
    return from + (to - from) * fraction;
}

Point mix(Point from, Point to, double fraction) {
    return {mix(from.x(), to.x(), fraction), mix(from.y(), to.y(), fraction)};
}

Rect mix(const Rect& from, const Rect& to, double fraction) {
    return {mix(from.x(), to.x(), fraction), mix(from.y(), to.y(), fraction),
            mix(from.width(), to.width(), fraction), mix(from.height(), to.height(), fraction)};
}

AffineTransform mix(const AffineTransform& from, const AffineTransform& to, double fraction) {
    return {mix(from.a(), to.a(), fraction),   mix(from.b(), to.b(), fraction),
            mix(from.c(), to.c(), fraction),   mix(from.d(), to.d(), fraction),
            mix(from.tx(), to.tx(), fraction), mix(from.ty(), to.ty(), fraction)};
}

Color mix(const Color& from, const Color& to, double fraction) {
    return {mix(from.red(), to.red(), fraction), mix(from.green(), to.green(), fraction),
            mix(from.blue(), to.blue(), fraction), mix(from.alpha(), to.alpha(), fraction)};
}

} // namespace

BasicAnimation::BasicAnimation(QString keyPath, AnimationValue fromValue, AnimationValue toValue,
                               double duration)
    : m_keyPath(std::move(keyPath)), m_fromValue(std::move(fromValue)), m_toValue(std::move(toValue)),
      m_duration(duration) {}

bool BasicAnimation::isEndless() const {
    return std::isinf(m_repeatCount) && m_duration > 0.0;
}

double BasicAnimation::totalDuration() const {
    if (isEndless()) {
        return repeatForever;
    }
    const double runs = std::isinf(m_repeatCount) ? 1.0 : std::max(m_repeatCount, 1.0);
    return std::max(m_delay, 0.0) + std::max(m_duration, 0.0) * runs * (m_autoreverses ? 2.0 : 1.0);
}

std::optional<AnimationValue> BasicAnimation::valueAt(double elapsed) const {
    const double local = elapsed - std::max(m_delay, 0.0);
    if (local < 0.0) {
        return m_fillsBackwards ? std::optional<AnimationValue>(m_fromValue) : std::nullopt;
    }
    if (elapsed >= totalDuration() - endTolerance) {
        return std::nullopt;
    }
    const double run = m_autoreverses ? 2.0 * m_duration : m_duration;
    double fraction = std::fmod(local, run) / m_duration;
    if (fraction > 1.0) {
        // The way back mirrors the way there in time.
        fraction = 2.0 - fraction;
    }
    return interpolate(m_fromValue, m_toValue, m_timingFunction.valueAt(fraction));
}

AnimationValue BasicAnimation::interpolate(const AnimationValue& from, const AnimationValue& to,
                                           double fraction) {
    if (from.index() != to.index()) {
        return to;
    }
    return std::visit(
        [&](const auto& start) -> AnimationValue {
            using Value = std::decay_t<decltype(start)>;
            return mix(start, std::get<Value>(to), fraction);
        },
        from);
}
