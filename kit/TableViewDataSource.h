#pragma once

#include "kit/IndexPath.h"
#include "kit/TableViewCell.h"

#include <QString>

#include <memory>

class TableView;

// What a table view asks of its content. The row count and the rows themselves must be given;
// the rest is optional: one section, no titles, every row editable, and no edits committed.
class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;

    virtual int numberOfSectionsInTableView(TableView& /*tableView*/) { return 1; }
    virtual int numberOfRowsInSection(TableView& tableView, int section) = 0;
    // The row to show at the index path; take one from dequeueReusableCellWithIdentifier when
    // there is one.
    virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                                 const IndexPath& indexPath) = 0;
    virtual QString titleForHeaderInSection(TableView& /*tableView*/, int /*section*/) { return {}; }
    virtual QString titleForFooterInSection(TableView& /*tableView*/, int /*section*/) { return {}; }
    // Rows that cannot be edited show no editing control.
    virtual bool canEditRowAtIndexPath(TableView& /*tableView*/, const IndexPath& /*indexPath*/) {
        return true;
    }
    // The user confirmed a deletion (the "Delete" button) or tapped an insertion control. The
    // data source changes its content and tells the table (deleteRowsAtIndexPaths and the like).
    virtual void commitEditingStyle(TableView& /*tableView*/, TableViewCell::EditingStyle /*editingStyle*/,
                                    const IndexPath& /*indexPath*/) {}
};
