#pragma once

#include "kit/TableViewController.h"

#include <QString>
#include <QStringList>

#include <functional>

// One choice of the full event editor (repeat, alert, calendar): a grouped list with a check
// mark at the chosen row. A tap moves the mark, reports the row and goes back.
class EventEditOptionListController : public TableViewController {
public:
    EventEditOptionListController(const QString& title, QStringList options, int selectedIndex);

    const QStringList& options() const { return m_options; }
    int selectedIndex() const { return m_selectedIndex; }
    // Chooses the row as a tap does.
    void choose(int index);

    std::function<void(int index)> onChosen;

    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;

private:
    QStringList m_options;
    int m_selectedIndex;
};
