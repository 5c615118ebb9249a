#pragma once

// Hears a view that reports touches on itself, such as a day card or a plain background.
class TouchableViewDelegate {
public:
    virtual ~TouchableViewDelegate() = default;
    virtual void viewTouched() = 0;
    virtual void viewBeginsTouching() {}
};
