#include "kit/Layer.h"

#include "foundation/Log.h"
#include "kit/View.h"

#include <algorithm>
#include <utility>

namespace {

// The kind of value each of the view's own key paths takes; custom properties are doubles.
std::size_t valueIndexForKeyPath(const QString& keyPath) {
    if (keyPath == Layer::positionKey) {
        return AnimationValue(Point()).index();
    }
    if (keyPath == Layer::boundsKey) {
        return AnimationValue(Rect()).index();
    }
    if (keyPath == Layer::transformKey) {
        return AnimationValue(AffineTransform()).index();
    }
    if (keyPath == Layer::backgroundColorKey) {
        return AnimationValue(Color()).index();
    }
    return AnimationValue(0.0).index();
}

} // namespace

Layer::Layer(View& view) : m_view(view) {
    Animator::instance().layerCreated(*this);
}

Layer::~Layer() {
    Animator::instance().layerDestroyed(*this);
    for (const RunningAnimation& running : m_animations) {
        Animator::animationEnded(running.group, false, true);
    }
}

void Layer::setValue(const QString& property, double value) {
    if (isViewKeyPath(property)) {
        Log::warning(QStringLiteral("kit"),
                     QStringLiteral("%1 is set through the view, not as a custom property").arg(property));
        return;
    }
    auto it = std::find_if(m_values.begin(), m_values.end(),
                           [&](const auto& entry) { return entry.first == property; });
    const double old = it == m_values.end() ? 0.0 : it->second;
    if (it == m_values.end()) {
        m_values.emplace_back(property, value);
    } else {
        it->second = value;
    }
    if (old != value) {
        modelValueChanged(property, old);
        m_view.setNeedsDisplay();
    }
}

double Layer::value(const QString& property) const {
    auto it = std::find_if(m_values.begin(), m_values.end(),
                           [&](const auto& entry) { return entry.first == property; });
    return it == m_values.end() ? 0.0 : it->second;
}

double Layer::presentationValue(const QString& property) const {
    const AnimationValue shown = presentationValueForKeyPath(property);
    const double* number = std::get_if<double>(&shown);
    return number ? *number : 0.0;
}

AnimationValue Layer::modelValueForKeyPath(const QString& keyPath) const {
    if (keyPath == positionKey) {
        return m_view.center();
    }
    if (keyPath == boundsKey) {
        return m_view.bounds();
    }
    if (keyPath == opacityKey) {
        return m_view.alpha();
    }
    if (keyPath == transformKey) {
        return m_view.transform();
    }
    if (keyPath == backgroundColorKey) {
        return m_view.backgroundColor().value_or(Color());
    }
    return value(keyPath);
}

AnimationValue Layer::presentationValueForKeyPath(const QString& keyPath) const {
    AnimationValue shown = modelValueForKeyPath(keyPath);
    if (m_animations.empty()) {
        return shown;
    }
    const double now = Animator::now();
    // As with opaque animations on the platform, the latest animation running shows.
    for (const RunningAnimation& running : m_animations) {
        if (running.animation.keyPath() != keyPath) {
            continue;
        }
        if (std::optional<AnimationValue> value = running.animation.valueAt(now - running.addedAt)) {
            if (value->index() == shown.index()) {
                shown = *value;
            }
        }
    }
    return shown;
}

bool Layer::addAnimation(const QString& key, const BasicAnimation& animation) {
    const std::size_t expected = valueIndexForKeyPath(animation.keyPath());
    if (animation.fromValue().index() != expected || animation.toValue().index() != expected) {
        Log::warning(
            QStringLiteral("kit"),
            QStringLiteral("animation %1 refused: its values do not suit %2").arg(key, animation.keyPath()));
        return false;
    }
    Animator& animator = Animator::instance();
    auto group = std::make_shared<Animator::CompletionGroup>();
    group->completion = animation.completion();
    group->outstanding = 1;
    RunningAnimation running;
    running.key = key;
    running.animation = animation;
    running.addedAt = Animator::now();
    running.sequence = animator.nextSequence();
    running.group = std::move(group);
    addRunningAnimation(std::move(running));
    return true;
}

bool Layer::addAnimation(const QString& key, const QString& keyPath, double from, double to, double duration,
                         double repeatCount, AnimationCurve curve) {
    BasicAnimation animation(keyPath, from, to, duration);
    animation.setRepeatCount(repeatCount);
    animation.setCurve(curve);
    return addAnimation(key, animation);
}

void Layer::addRunningAnimation(RunningAnimation running) {
    const QString keyPath = running.animation.keyPath();
    auto it = std::find_if(m_animations.begin(), m_animations.end(),
                           [&](const RunningAnimation& existing) { return existing.key == running.key; });
    if (it != m_animations.end()) {
        presentationChanged(it->animation.keyPath());
        const std::shared_ptr<Animator::CompletionGroup> replaced = std::move(it->group);
        m_animations.erase(it);
        Animator::animationEnded(replaced, false, true);
    }
    m_animations.push_back(std::move(running));
    presentationChanged(keyPath);
    Animator::instance().layerStartedAnimating(*this);
}

void Layer::removeAnimation(const QString& key) {
    auto it = std::find_if(m_animations.begin(), m_animations.end(),
                           [&](const RunningAnimation& existing) { return existing.key == key; });
    if (it != m_animations.end()) {
        removeAt(static_cast<std::size_t>(it - m_animations.begin()));
    }
}

void Layer::removeAllAnimations() {
    while (!m_animations.empty()) {
        removeAt(0);
    }
}

void Layer::removeAt(std::size_t index) {
    RunningAnimation removed = std::move(m_animations[index]);
    m_animations.erase(m_animations.begin() + static_cast<std::ptrdiff_t>(index));
    presentationChanged(removed.animation.keyPath());
    if (m_animations.empty()) {
        Animator::instance().layerStoppedAnimating(*this);
    }
    Animator::animationEnded(removed.group, false, true);
}

std::optional<BasicAnimation> Layer::animationForKey(const QString& key) const {
    auto it = std::find_if(m_animations.begin(), m_animations.end(),
                           [&](const RunningAnimation& existing) { return existing.key == key; });
    return it == m_animations.end() ? std::nullopt : std::optional<BasicAnimation>(it->animation);
}

QStringList Layer::animationKeys() const {
    QStringList keys;
    for (const RunningAnimation& running : m_animations) {
        keys.append(running.key);
    }
    return keys;
}

bool Layer::isAnimatingKeyPath(const QString& keyPath) const {
    return std::any_of(m_animations.begin(), m_animations.end(), [&](const RunningAnimation& running) {
        return running.animation.keyPath() == keyPath;
    });
}

bool Layer::blocksInteraction() const {
    return std::any_of(m_animations.begin(), m_animations.end(),
                       [](const RunningAnimation& running) { return running.blocksInteraction; });
}

void Layer::modelValueChanged(const QString& keyPath, const AnimationValue& oldValue) {
    Animator::instance().modelValueChanged(*this, keyPath, oldValue);
}

void Layer::removeBlockAnimation(const QString& keyPath) {
    auto it = std::find_if(m_animations.begin(), m_animations.end(), [&](const RunningAnimation& running) {
        return running.fromBlock && running.key == keyPath;
    });
    if (it != m_animations.end()) {
        removeAt(static_cast<std::size_t>(it - m_animations.begin()));
    }
}

void Layer::presentationChanged(const QString& keyPath) {
    // What does not show need not be drawn again on every frame; showing it again marks it.
    if (m_view.hidden()) {
        return;
    }
    for (std::shared_ptr<const View> ancestor = m_view.superview(); ancestor;
         ancestor = ancestor->superview()) {
        if (ancestor->hidden()) {
            return;
        }
    }
    if (isViewKeyPath(keyPath) && keyPath != backgroundColorKey) {
        m_view.markChanged();
    } else {
        m_view.setNeedsDisplay();
    }
}

bool Layer::isViewKeyPath(const QString& keyPath) {
    return keyPath == positionKey || keyPath == boundsKey || keyPath == opacityKey ||
           keyPath == transformKey || keyPath == backgroundColorKey;
}
