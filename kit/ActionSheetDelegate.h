#pragma once

class ActionSheet;

// What an action sheet reports to its delegate; every operation is optional. A button chosen
// by the user is reported as clicked, then as the reason of the dismissal; a dismissal asked
// for by the program reports only the dismissal.
class ActionSheetDelegate {
public:
    virtual ~ActionSheetDelegate() = default;

    virtual void clickedButtonAtIndex(ActionSheet& actionSheet, int buttonIndex);
    virtual void willDismissWithButtonIndex(ActionSheet& actionSheet, int buttonIndex);
    virtual void didDismissWithButtonIndex(ActionSheet& actionSheet, int buttonIndex);
};
