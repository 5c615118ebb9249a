#pragma once

#include "kit/TableView.h"
#include "kit/TableViewDataSource.h"
#include "kit/TableViewDelegate.h"
#include "kit/ViewController.h"

#include <memory>

// A screen whose view is one table, with the controller as the table's data source and delegate.
// The table reads its rows when the screen first appears; on every later appearance the
// selected row is deselected (animated as the appearance) unless
// clearsSelectionOnViewWillAppear is off. Subclasses give the rows; without them the table has
// none.
class TableViewController : public ViewController, public TableViewDataSource, public TableViewDelegate {
public:
    explicit TableViewController(TableView::Style style = TableView::Style::Plain);
    ~TableViewController() override;

    TableView::Style tableViewStyle() const { return m_style; }
    // The view, loaded when first asked for.
    std::shared_ptr<TableView> tableView();

    bool clearsSelectionOnViewWillAppear() const { return m_clearsSelectionOnViewWillAppear; }
    void setClearsSelectionOnViewWillAppear(bool clears) { m_clearsSelectionOnViewWillAppear = clears; }

    // Also puts the table into editing mode.
    bool editing() const { return m_editing; }
    virtual void setEditing(bool editing, bool animated);

    void viewWillAppear(bool animated) override;

    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;

protected:
    void loadView() override;

private:
    TableView::Style m_style;
    bool m_clearsSelectionOnViewWillAppear = true;
    bool m_editing = false;
    bool m_hasAppeared = false;
};
