#pragma once

class AlertView;

// What an alert reports to its delegate; every operation is optional. A button chosen by the
// user is reported as clicked, then as the reason of the dismissal; a dismissal asked for by
// the program reports only the dismissal.
class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;

    virtual void clickedButtonAtIndex(AlertView& alertView, int buttonIndex);
    virtual void willDismissWithButtonIndex(AlertView& alertView, int buttonIndex);
    virtual void didDismissWithButtonIndex(AlertView& alertView, int buttonIndex);
};
