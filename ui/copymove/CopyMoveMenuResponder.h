#pragma once

#include <memory>

class EKEvent;

// The owner of an event row (a day box, the day list) hears the choice made in the copy/move
// menu it opened over one of its rows, with the menu's event.
class CopyMoveMenuResponder {
public:
    virtual ~CopyMoveMenuResponder() = default;

    virtual void handleMenuChoiceCopy(const std::shared_ptr<EKEvent>& event) = 0;
    virtual void handleMenuChoiceMove(const std::shared_ptr<EKEvent>& event) = 0;
    virtual void handleMenuChoiceDelete(const std::shared_ptr<EKEvent>& event) = 0;
};
