#include "ui/import/ImportViewController.h"

#include "core/eventstore/EKCalendar.h"
#include "foundation/Localization.h"
#include "kit/AlertView.h"
#include "kit/BarButtonItem.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "ui/common/DotImage.h"
#include "ui/common/WeakScreenAction.h"
#include "ui/eventkit/EventEditOptionListController.h"
#include "ui/import/ImportModel.h"

namespace {

const QString calendarRowIdentifier = QStringLiteral("importCalendar");
const QString eventRowIdentifier = QStringLiteral("importEvent");

} // namespace

ImportViewController::ImportViewController(std::shared_ptr<ImportModel> model)
    : TableViewController(TableView::Style::Grouped), m_model(std::move(model)) {
    setTitle(localizedString(QStringLiteral("Import")));
}

ImportViewController::~ImportViewController() = default;

void ImportViewController::viewDidLoad() {
    TableViewController::viewDidLoad();
    const std::weak_ptr<ImportViewController> weakSelf =
        std::static_pointer_cast<ImportViewController>(shared_from_this());
    navigationItem()->setLeftBarButtonItem(std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Cancel, weakScreenAction(weakSelf, &ImportViewController::cancel)));
    m_importButtonItem =
        std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Import")), BarButtonItem::Style::Done,
                                        weakScreenAction(weakSelf, &ImportViewController::import));
    m_importButtonItem->setEnabled(!m_model->rows().empty() && m_model->selectedCalendar());
    navigationItem()->setRightBarButtonItem(m_importButtonItem);
}

bool ImportViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    if (const auto presenter = presentingViewController()) {
        return presenter->shouldAutorotateToInterfaceOrientation(orientation);
    }
    return TableViewController::shouldAutorotateToInterfaceOrientation(orientation);
}

void ImportViewController::import() {
    const ICalendarImportResult result = m_model->importEvents();
    if (result.error) {
        std::make_shared<AlertView>(localizedString(QStringLiteral("Cannot Import")),
                                    QStringLiteral("%1: %2").arg(m_model->fileName(), *result.error), nullptr,
                                    localizedString(QStringLiteral("OK")))
            ->show();
        return;
    }
    close(m_model->firstStartDate());
}

void ImportViewController::cancel() {
    close(std::nullopt);
}

void ImportViewController::close(std::optional<Date> firstImportedStart) {
    // The report may present the next file's screen, which needs this one gone first.
    const std::shared_ptr<ViewController> keepAlive = shared_from_this();
    if (const auto navigation = navigationController()) {
        navigation->dismissModalViewControllerAnimated(true);
    }
    if (onFinished) {
        onFinished(firstImportedStart);
    }
}

void ImportViewController::openCalendarChoice() {
    QStringList titles;
    for (const std::shared_ptr<EKCalendar>& calendar : m_model->calendars()) {
        titles.append(calendar->title());
    }
    auto choice = std::make_shared<EventEditOptionListController>(localizedString(QStringLiteral("Calendar")),
                                                                  titles, m_model->selectedCalendarIndex());
    const std::weak_ptr<ImportViewController> weakSelf =
        std::static_pointer_cast<ImportViewController>(shared_from_this());
    choice->onChosen = [weakSelf](int index) {
        if (const auto self = weakSelf.lock()) {
            self->m_model->selectCalendar(index);
            if (self->isViewLoaded()) {
                self->tableView()->reloadData();
            }
        }
    };
    if (const auto navigation = navigationController()) {
        navigation->pushViewController(choice, true);
    }
}

int ImportViewController::numberOfSectionsInTableView(TableView&) {
    return 2;
}

int ImportViewController::numberOfRowsInSection(TableView&, int section) {
    if (section == CalendarSection) {
        return 1;
    }
    // An empty list still says so in a row of its own.
    return std::max(1, static_cast<int>(m_model->rows().size()));
}

std::shared_ptr<TableViewCell> ImportViewController::cellForRowAtIndexPath(TableView& tableView,
                                                                           const IndexPath& indexPath) {
    if (indexPath.section() == CalendarSection) {
        auto cell = tableView.dequeueReusableCellWithIdentifier(calendarRowIdentifier);
        if (!cell) {
            cell = std::make_shared<TableViewCell>(TableViewCell::Style::Value1, calendarRowIdentifier);
            cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
        }
        cell->textLabel().setText(localizedString(QStringLiteral("Calendar")));
        const std::shared_ptr<EKCalendar> calendar = m_model->selectedCalendar();
        cell->detailTextLabel().setText(
            calendar ? calendar->title() : localizedString(QStringLiteral("No calendar takes events")));
        if (calendar) {
            cell->imageView().setImage(DotImage::dotImageForColor(calendar->color()));
        }
        return cell;
    }
    auto cell = tableView.dequeueReusableCellWithIdentifier(eventRowIdentifier);
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Subtitle, eventRowIdentifier);
        cell->setSelectionStyle(TableViewCell::SelectionStyle::None);
    }
    const auto& rows = m_model->rows();
    if (rows.empty()) {
        cell->textLabel().setText(localizedString(QStringLiteral("No events to import")));
        cell->detailTextLabel().setText(QString());
        return cell;
    }
    const ImportModel::Row& row = rows.at(static_cast<std::size_t>(indexPath.row()));
    cell->textLabel().setText(row.title);
    cell->detailTextLabel().setText(ImportModel::whenText(row));
    return cell;
}

QString ImportViewController::titleForHeaderInSection(TableView&, int section) {
    return section == EventsSection ? m_model->fileName() : QString();
}

QString ImportViewController::titleForFooterInSection(TableView&, int section) {
    return section == EventsSection ? m_model->problemsText() : QString();
}

std::optional<IndexPath> ImportViewController::willSelectRowAtIndexPath(TableView&,
                                                                        const IndexPath& indexPath) {
    if (indexPath.section() != CalendarSection || m_model->calendars().empty()) {
        return std::nullopt;
    }
    return indexPath;
}

void ImportViewController::didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) {
    if (indexPath.section() == CalendarSection) {
        openCalendarChoice();
    }
}
