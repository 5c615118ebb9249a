#pragma once

#include "kit/TextField.h"

#include <functional>

// The query field of the search bar. It never offers the edit menu. On the desktop, Escape and
// the step keys (Shift+Return, the up and down arrows) are handed to the bar while it types.
class SearchTextField : public TextField {
public:
    explicit SearchTextField(const Rect& frame);

    bool canPerformAction(const QString& action) override;

    // Keys the field does not take itself; answers whether they were used.
    std::function<bool(const KeyInput& input)> onSearchKey;

protected:
    bool handleKeyInput(const KeyInput& input) override;
};
