#pragma once

#include <QFlags>

// Options of View::animate.
enum class AnimationOption : unsigned {
    none = 0,
    // The animated views keep taking touches; without it, a view with a running animation of
    // the block is skipped by hit testing (View::isInteractionBlockedByAnimation).
    allowUserInteraction = 1u << 0,
    // A property that is already animating starts from what is shown now; without it, from
    // its model value (the target of the running animation), so the view jumps there first.
    beginFromCurrentState = 1u << 1,
    // Repeats without end.
    repeat = 1u << 2,
    // Each run goes to the new value and back again; without `repeat`, once. When it ends,
    // the view shows the model value (the new one).
    autoreverse = 1u << 3,
    // Lays out the changed views inside the block, so that the frames their layout hooks set
    // animate with them.
    layoutSubviews = 1u << 4,
};
Q_DECLARE_FLAGS(AnimationOptions, AnimationOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(AnimationOptions)
