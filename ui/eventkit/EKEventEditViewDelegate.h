#pragma once

class EKEventEditViewController;

// How the full event editor finished.
enum class EKEventEditViewAction { Canceled = 0, Saved = 1, Deleted = 2 };

// Hears the full event editor finish; the presenter dismisses it.
class EKEventEditViewDelegate {
public:
    virtual ~EKEventEditViewDelegate() = default;
    virtual void eventEditViewController(EKEventEditViewController& controller,
                                         EKEventEditViewAction action) = 0;
};
