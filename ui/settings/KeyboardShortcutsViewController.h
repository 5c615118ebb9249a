#pragma once

#include "core/settings/KeyboardShortcuts.h"
#include "kit/TableViewController.h"

#include <vector>

// The keyboard shortcuts, one row each: what the keys do, and the keys on the right.
class KeyboardShortcutsViewController : public TableViewController {
public:
    KeyboardShortcutsViewController();

    int numberOfSectionsInTableView(TableView& tableView) override;
    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;

private:
    std::vector<KeyboardShortcut> m_shortcuts;
};
