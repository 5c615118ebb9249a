#pragma once

#include "foundation/Date.h"
#include "kit/TableViewController.h"

#include <functional>
#include <memory>
#include <optional>

class BarButtonItem;
class ImportModel;

// The import screen, shown in a navigation controller presented over the week: a row with the
// calendar to import into (a tap opens the editor's list of calendars), then the file's events,
// headed by the file's name, with the events that cannot be read and why below them. "Cancel"
// closes the screen; "Import" writes the events and closes it, or, when the store refuses them,
// says why in an alert and stays. Make it with std::make_shared.
class ImportViewController : public TableViewController {
public:
    enum Section { CalendarSection = 0, EventsSection = 1 };

    explicit ImportViewController(std::shared_ptr<ImportModel> model);
    ~ImportViewController() override;

    const std::shared_ptr<ImportModel>& model() const { return m_model; }

    // The bar buttons' operations.
    void import();
    void cancel();

    // After the screen closed: with the start of the earliest event imported, or nothing when
    // cancelled.
    std::function<void(std::optional<Date> firstImportedStart)> onFinished;

    int numberOfSectionsInTableView(TableView& tableView) override;
    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    QString titleForHeaderInSection(TableView& tableView, int section) override;
    QString titleForFooterInSection(TableView& tableView, int section) override;
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView& tableView,
                                                      const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;

    // Turning is the week screen's decision.
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;

protected:
    void viewDidLoad() override;

private:
    void openCalendarChoice();
    void close(std::optional<Date> firstImportedStart);

    std::shared_ptr<ImportModel> m_model;
    std::shared_ptr<BarButtonItem> m_importButtonItem;
};
