#include "kit/TableViewController.h"

#include "kit/Screen.h"

TableViewController::TableViewController(TableView::Style style) : m_style(style) {}

TableViewController::~TableViewController() = default;

void TableViewController::loadView() {
    const Rect screen = Screen::main().bounds();
    auto table = std::make_shared<TableView>(
        Rect(0, 0, screen.width(), screen.height() - Screen::statusBarHeight), m_style);
    const auto self = std::static_pointer_cast<TableViewController>(shared_from_this());
    table->setDataSource(std::static_pointer_cast<TableViewDataSource>(self));
    table->setDelegate(std::static_pointer_cast<TableViewDelegate>(self));
    table->setEditing(m_editing, false);
    setView(table);
}

std::shared_ptr<TableView> TableViewController::tableView() {
    return std::dynamic_pointer_cast<TableView>(view());
}

void TableViewController::setEditing(bool editing, bool animated) {
    m_editing = editing;
    if (isViewLoaded()) {
        if (const auto table = tableView()) {
            table->setEditing(editing, animated);
        }
    }
}

void TableViewController::viewWillAppear(bool animated) {
    const auto table = tableView();
    if (!table) {
        return;
    }
    if (!m_hasAppeared) {
        m_hasAppeared = true;
        table->reloadData();
        return;
    }
    if (m_clearsSelectionOnViewWillAppear) {
        if (const std::optional<IndexPath> selected = table->indexPathForSelectedRow()) {
            table->deselectRowAtIndexPath(*selected, animated);
        }
    }
}

int TableViewController::numberOfRowsInSection(TableView& /*tableView*/, int /*section*/) {
    return 0;
}

std::shared_ptr<TableViewCell> TableViewController::cellForRowAtIndexPath(TableView& /*tableView*/,
                                                                          const IndexPath& /*indexPath*/) {
    return std::make_shared<TableViewCell>();
}
