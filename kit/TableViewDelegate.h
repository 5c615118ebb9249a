#pragma once

#include "kit/IndexPath.h"
#include "kit/ScrollViewDelegate.h"
#include "kit/TableViewCell.h"

#include <memory>
#include <optional>

class TableView;
class View;

// What a table view reports and the layout it may ask of its owner; every operation is
// optional. An answer of std::nullopt keeps the table's own value (its rowHeight,
// sectionHeaderHeight and so on). The scroll view's reports come through here too.
class TableViewDelegate : public ScrollViewDelegate {
public:
    virtual std::optional<double> heightForRowAtIndexPath(TableView& /*tableView*/,
                                                          const IndexPath& /*indexPath*/) {
        return std::nullopt;
    }
    virtual std::optional<double> heightForHeaderInSection(TableView& /*tableView*/, int /*section*/) {
        return std::nullopt;
    }
    virtual std::optional<double> heightForFooterInSection(TableView& /*tableView*/, int /*section*/) {
        return std::nullopt;
    }
    // A view in place of the header or footer title; none keeps the title.
    virtual std::shared_ptr<View> viewForHeaderInSection(TableView& /*tableView*/, int /*section*/) {
        return {};
    }
    virtual std::shared_ptr<View> viewForFooterInSection(TableView& /*tableView*/, int /*section*/) {
        return {};
    }

    virtual void willDisplayCell(TableView& /*tableView*/, TableViewCell& /*cell*/,
                                 const IndexPath& /*indexPath*/) {}

    // The row the user's tap selects: the tapped one by default, another one, or none to select
    // nothing.
    virtual std::optional<IndexPath> willSelectRowAtIndexPath(TableView& /*tableView*/,
                                                              const IndexPath& indexPath) {
        return indexPath;
    }
    virtual void didSelectRowAtIndexPath(TableView& /*tableView*/, const IndexPath& /*indexPath*/) {}
    // The user's tap on another row took the selection from this one.
    virtual void didDeselectRowAtIndexPath(TableView& /*tableView*/, const IndexPath& /*indexPath*/) {}
    virtual void accessoryButtonTappedForRowWithIndexPath(TableView& /*tableView*/,
                                                          const IndexPath& /*indexPath*/) {}

    // The control a row shows in editing mode; rows that cannot be edited show none.
    virtual TableViewCell::EditingStyle editingStyleForRowAtIndexPath(TableView& /*tableView*/,
                                                                      const IndexPath& /*indexPath*/) {
        return TableViewCell::EditingStyle::Delete;
    }
    virtual bool shouldIndentWhileEditingRowAtIndexPath(TableView& /*tableView*/,
                                                        const IndexPath& /*indexPath*/) {
        return true;
    }
};
