#pragma once

class PopoverController;

// What a popover asks and tells about dismissals the user causes by touching outside it; a
// dismissal asked for by the program is not reported. Every operation is optional.
class PopoverControllerDelegate {
public:
    virtual ~PopoverControllerDelegate() = default;

    // Whether a touch outside may take the popover away; by default it may.
    virtual bool popoverControllerShouldDismissPopover(PopoverController& popoverController);
    // After the popover went away because of a touch outside.
    virtual void popoverControllerDidDismissPopover(PopoverController& popoverController);
};
