#include "kit/BasicAnimation.h"

#include <algorithm>
#include <cmath>
#include <numbers>
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

// An affine transform as translation · rotation · shear · scale, the parts a person sees.
struct TransformParts {
    double tx, ty, angle, shear, sx, sy;
};

std::optional<TransformParts> decompose(const AffineTransform& t) {
    const double sx = std::hypot(t.a(), t.b());
    if (sx == 0.0) {
        return std::nullopt;
    }
    const double cosine = t.a() / sx;
    const double sine = t.b() / sx;
    const double sy = t.d() * cosine - t.c() * sine;
    if (sy == 0.0) {
        return std::nullopt;
    }
    const double shear = (t.c() * cosine + t.d() * sine) / sy;
    return TransformParts{t.tx(), t.ty(), std::atan2(sine, cosine), shear, sx, sy};
}

AffineTransform compose(const TransformParts& p) {
    const double cosine = std::cos(p.angle);
    const double sine = std::sin(p.angle);
    return {p.sx * cosine, p.sx * sine, p.sy * (p.shear * cosine - sine), p.sy * (p.shear * sine + cosine),
            p.tx,          p.ty};
}

// Turns, scales and moves in between the two transforms, as the eye expects: a quarter turn
// passes through an eighth of a turn at its middle rather than through a shrunken square. A
// transform that flattens everything has no parts; then the matrix entries are mixed.
AffineTransform mix(const AffineTransform& from, const AffineTransform& to, double fraction) {
    const std::optional<TransformParts> start = decompose(from);
    const std::optional<TransformParts> end = decompose(to);
    if (!start || !end) {
        return {mix(from.a(), to.a(), fraction),   mix(from.b(), to.b(), fraction),
                mix(from.c(), to.c(), fraction),   mix(from.d(), to.d(), fraction),
                mix(from.tx(), to.tx(), fraction), mix(from.ty(), to.ty(), fraction)};
    }
    // The shorter way round.
    double turn = std::remainder(end->angle - start->angle, 2.0 * std::numbers::pi);
    return compose({mix(start->tx, end->tx, fraction), mix(start->ty, end->ty, fraction),
                    start->angle + turn * fraction, mix(start->shear, end->shear, fraction),
                    mix(start->sx, end->sx, fraction), mix(start->sy, end->sy, fraction)});
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
