#pragma once

#include "kit/Animator.h"
#include "kit/BasicAnimation.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class View;

// The animation side of a view: the running animations by key, the presentation values they
// give (what is drawn) beside the model values (what the getters return), and custom
// animatable properties that a view subclass declares by using them.
//
// Custom properties are doubles named by the subclass, such as the dash phase of a dashed
// outline: set with setValue (animated inside View::animate like any other property), read in
// drawRect through presentationValue. Any change of a custom property's presentation value asks
// the view to draw again.
//
// Keys: animations made by View::animate use the property's key path as their key, so that a
// new animation of a property replaces the running one. A change made outside any animation
// block removes the View::animate animation of that property (its completion gets false); an
// animation added here by its own key keeps running until it ends or is removed, and shows
// over the model value meanwhile.
//
// Main thread only, like the view.
class Layer {
public:
    // Key paths of the view's own animatable properties.
    static inline const QString positionKey = QStringLiteral("position");
    static inline const QString boundsKey = QStringLiteral("bounds");
    static inline const QString opacityKey = QStringLiteral("opacity");
    static inline const QString transformKey = QStringLiteral("transform");
    static inline const QString backgroundColorKey = QStringLiteral("backgroundColor");

    explicit Layer(View& view);
    ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    View& view() const { return m_view; }

    // Custom properties, named other than the view's key paths; an unset property is 0. `presentationValue`
    // also reads opacity, and gives 0 for the view's other key paths, which are not numbers.
    void setValue(const QString& property, double value);
    double value(const QString& property) const;
    double presentationValue(const QString& property) const;

    // The model and presentation values of any animatable key path. A missing background
    // colour reads as clear.
    AnimationValue modelValueForKeyPath(const QString& keyPath) const;
    AnimationValue presentationValueForKeyPath(const QString& keyPath) const;

    // Starts `animation` now under `key`, replacing an animation of the same key (whose
    // completion gets false). Refused (false) when its values do not suit the key path.
    bool addAnimation(const QString& key, const BasicAnimation& animation);
    // A basic animation of a double property (a custom property or opacity).
    bool addAnimation(const QString& key, const QString& keyPath, double from, double to, double duration,
                      double repeatCount = 0.0, AnimationCurve curve = AnimationCurve::easeInOut);
    // The animation's completion gets false; the model value shows again.
    void removeAnimation(const QString& key);
    void removeAllAnimations();
    std::optional<BasicAnimation> animationForKey(const QString& key) const;
    // In the order the animations were added.
    QStringList animationKeys() const;
    bool hasAnimations() const { return !m_animations.empty(); }
    bool isAnimatingKeyPath(const QString& keyPath) const;
    // True while an animation of a View::animate block without user interaction runs (or
    // waits for its delay).
    bool blocksInteraction() const;

private:
    friend class Animator;
    friend class View;

    struct RunningAnimation {
        QString key;
        BasicAnimation animation;
        double addedAt = 0.0;
        std::uint64_t sequence = 0;
        // Shared by the animations of one View::animate block, which completes with the last.
        std::shared_ptr<Animator::CompletionGroup> group;
        bool fromBlock = false;
        bool blocksInteraction = false;

        double endTime() const { return addedAt + animation.totalDuration(); }
    };

    // Adds without checking the values; the completion of a replaced animation gets false.
    void addRunningAnimation(RunningAnimation running);
    // Called by the view after a model value changed.
    void modelValueChanged(const QString& keyPath, const AnimationValue& oldValue);
    // Removes the View::animate animation of the key path, if any.
    void removeBlockAnimation(const QString& keyPath);
    void removeAt(std::size_t index);
    // Asks the view to show the change of a presentation value: a new drawing for custom
    // properties and the background colour, a new composition for the rest.
    void presentationChanged(const QString& keyPath);
    static bool isViewKeyPath(const QString& keyPath);

    View& m_view;
    std::vector<RunningAnimation> m_animations;
    std::vector<std::pair<QString, double>> m_values;
};
