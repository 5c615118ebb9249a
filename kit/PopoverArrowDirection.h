#pragma once

#include <QFlags>

// Where the arrow of a popover points: `up` puts the popover below what it points at.
enum class PopoverArrowDirection : unsigned {
    unknown = 0,
    up = 1u << 0,
    down = 1u << 1,
    left = 1u << 2,
    right = 1u << 3,
    any = up | down | left | right,
};
Q_DECLARE_FLAGS(PopoverArrowDirections, PopoverArrowDirection)
Q_DECLARE_OPERATORS_FOR_FLAGS(PopoverArrowDirections)
