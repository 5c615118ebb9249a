#pragma once

// Told which entry of the actions menu the user chose.
class GlobalActionsListViewDelegate {
public:
    virtual ~GlobalActionsListViewDelegate() = default;

    // The entry's index: see GlobalActionsListView::Action.
    virtual void clickedButtonAtIndex(int buttonIndex) = 0;
};
