#pragma once

// The states of a control, combined as flags; `Normal` is none of them.
enum class ControlState : unsigned {
    Normal = 0,
    Highlighted = 1U << 0,
    Disabled = 1U << 1,
    Selected = 1U << 2,
};

constexpr ControlState operator|(ControlState a, ControlState b) {
    return static_cast<ControlState>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

constexpr bool hasControlState(ControlState states, ControlState state) {
    return (static_cast<unsigned>(states) & static_cast<unsigned>(state)) != 0;
}

// The combined state of a control from its three flags.
constexpr ControlState controlStateFor(bool enabled, bool selected, bool highlighted) {
    ControlState result = ControlState::Normal;
    if (highlighted) {
        result = result | ControlState::Highlighted;
    }
    if (!enabled) {
        result = result | ControlState::Disabled;
    }
    if (selected) {
        result = result | ControlState::Selected;
    }
    return result;
}
