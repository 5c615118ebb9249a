#pragma once

#include "kit/TableView.h"
#include "kit/TableViewDataSource.h"
#include "kit/TableViewDelegate.h"
#include "kit/ViewController.h"

#include <memory>

// A screen with one table somewhere in its view (not the view itself, as with the kit's
// TableViewController), the controller being its data source and delegate. On appearing it
// deselects the selected row, animated as the appearance, and once it has appeared it flashes
// the table's scroll indicators. Without a subclass the table has no rows.
class BaseTableViewController : public ViewController, public TableViewDataSource, public TableViewDelegate {
public:
    BaseTableViewController();
    ~BaseTableViewController() override;

    const std::shared_ptr<TableView>& tableView() const { return m_tableView; }
    bool editing() const { return m_editing; }
    // Also puts the table into editing mode.
    virtual void setEditing(bool editing, bool animated);

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;

protected:
    // Makes the table with this controller as its data source and delegate; the subclass puts
    // it into its view.
    std::shared_ptr<TableView> makeTableView(const Rect& frame, TableView::Style style);

private:
    std::shared_ptr<TableView> m_tableView;
    bool m_editing = false;
};
