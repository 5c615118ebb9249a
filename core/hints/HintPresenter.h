#pragma once

#include <memory>

class Hint;

// The one panel that shows hints. The user-interface layer implements it with its hint view and
// installs it with Hint::setPresenter; the panel itself is created on its first show.
class HintPresenter {
public:
    virtual ~HintPresenter() = default;

    // True while the panel exists and is on screen.
    virtual bool isShowingHint() const = 0;
    // Puts the hint into the panel and shows it.
    virtual void showHint(const std::shared_ptr<Hint>& hint) = 0;
    // Hides the panel if it is on screen.
    virtual void hideHint() = 0;
};
