#include "ui/daylist/BaseTableViewController.h"

BaseTableViewController::BaseTableViewController() = default;

BaseTableViewController::~BaseTableViewController() = default;

std::shared_ptr<TableView> BaseTableViewController::makeTableView(const Rect& frame, TableView::Style style) {
    m_tableView = std::make_shared<TableView>(frame, style);
    const auto self = std::static_pointer_cast<BaseTableViewController>(shared_from_this());
    m_tableView->setDataSource(std::static_pointer_cast<TableViewDataSource>(self));
    m_tableView->setDelegate(std::static_pointer_cast<TableViewDelegate>(self));
    m_tableView->setEditing(m_editing, false);
    return m_tableView;
}

void BaseTableViewController::setEditing(bool editing, bool animated) {
    m_editing = editing;
    if (m_tableView) {
        m_tableView->setEditing(editing, animated);
    }
}

void BaseTableViewController::viewWillAppear(bool animated) {
    if (!m_tableView) {
        return;
    }
    if (const std::optional<IndexPath> selected = m_tableView->indexPathForSelectedRow()) {
        m_tableView->deselectRowAtIndexPath(*selected, animated);
    }
}

void BaseTableViewController::viewDidAppear(bool) {
    if (m_tableView) {
        m_tableView->flashScrollIndicators();
    }
}

int BaseTableViewController::numberOfRowsInSection(TableView&, int) {
    return 0;
}

std::shared_ptr<TableViewCell> BaseTableViewController::cellForRowAtIndexPath(TableView&, const IndexPath&) {
    return std::make_shared<TableViewCell>();
}
