#include "ui/calendars/VisibleCalendarsViewController.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/bus/VisibleCalendarsChangedEvent.h"
#include "core/events/CalendarGroup.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKCalendar.h"
#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"
#include "kit/AlertView.h"
#include "kit/BarButtonItem.h"
#include "kit/Device.h"
#include "kit/Label.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "ui/calendars/CalendarCell.h"
#include "ui/calendars/EditCalendarViewController.h"
#include "ui/common/WeakScreenAction.h"

#include <algorithm>

std::shared_ptr<VisibleCalendarsViewController> VisibleCalendarsViewController::create() {
    auto screen = std::make_shared<VisibleCalendarsViewController>(EventService::sharedInstance(),
                                                                   AppSettings::instance());
    screen->reloadCalendars();
    return screen;
}

std::shared_ptr<VisibleCalendarsViewController>
VisibleCalendarsViewController::presentFrom(ViewController& presenter) {
    auto screen = create();
    presenter.presentModalViewController(std::make_shared<NavigationController>(screen), true);
    return screen;
}

VisibleCalendarsViewController::VisibleCalendarsViewController(EventService& eventService,
                                                               AppSettings& appSettings)
    : CalendarsViewController(eventService), m_appSettings(&appSettings),
      m_hiddenCalendars(appSettings.loadHiddenCalendars(eventService)) {
    setTitle(localizedString(QStringLiteral("Calendars")));
}

VisibleCalendarsViewController::~VisibleCalendarsViewController() = default;

void VisibleCalendarsViewController::viewDidLoad() {
    CalendarsViewController::viewDidLoad();
    const std::weak_ptr<VisibleCalendarsViewController> weakSelf =
        std::static_pointer_cast<VisibleCalendarsViewController>(shared_from_this());
    m_doneButtonItem = std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Done, weakScreenAction(weakSelf, &VisibleCalendarsViewController::done));
    navigationItem()->setRightBarButtonItem(getRightBarButtonItem());
    tableView()->setAllowsSelectionDuringEditing(true);
    navigationItem()->setLeftBarButtonItem(getLeftBarButtonItem());
}

std::shared_ptr<BarButtonItem> VisibleCalendarsViewController::determineEditButtonItem() {
    if (m_editButtonItem || Device::current().isOlderGeneration()) {
        return m_editButtonItem;
    }
    // Editing calendars needs a system of version 5 or later; older ones explain that instead.
    const bool canEdit = Device::current().isAtLeastVersion(QStringLiteral("5.0"));
    const std::weak_ptr<VisibleCalendarsViewController> weakSelf =
        std::static_pointer_cast<VisibleCalendarsViewController>(shared_from_this());
    m_editButtonItem = std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Edit,
        weakScreenAction(weakSelf, canEdit ? &VisibleCalendarsViewController::toggleEditing
                                           : &VisibleCalendarsViewController::explainEditingUnavailable));
    return m_editButtonItem;
}

std::shared_ptr<BarButtonItem> VisibleCalendarsViewController::getLeftBarButtonItem() {
    return determineEditButtonItem();
}

std::shared_ptr<BarButtonItem> VisibleCalendarsViewController::getRightBarButtonItem() {
    return m_doneButtonItem;
}

void VisibleCalendarsViewController::configureBarButtonItemsForEditing(bool editing, bool animated) {
    if (m_editButtonItem) {
        m_editButtonItem->setTitle(
            localizedString(editing ? QStringLiteral("Done") : QStringLiteral("Edit")));
        m_editButtonItem->setStyle(editing ? BarButtonItem::Style::Done : BarButtonItem::Style::Bordered);
    }
    navigationItem()->setRightBarButtonItem(editing ? nullptr : getRightBarButtonItem(), animated);
}

void VisibleCalendarsViewController::explainEditingUnavailable() {
    std::make_shared<AlertView>(
        localizedString(QStringLiteral("Edit Calendars")),
        localizedString(
            QStringLiteral("This feature is only available for iOS 5.0 and above. Update your iPhone to "
                           "the latest version of iOS via Settings > General > Software Update.")),
        nullptr, localizedString(QStringLiteral("OK")))
        ->show();
}

void VisibleCalendarsViewController::toggleEditing() {
    setEditing(!editing(), true);
}

void VisibleCalendarsViewController::setEditing(bool editing, bool animated) {
    if (editing == this->editing()) {
        return;
    }
    CalendarsViewController::setEditing(editing, animated);
    setTitle(localizedString(editing ? QStringLiteral("Edit Calendars") : QStringLiteral("Calendars")));
    configureBarButtonItemsForEditing(editing, animated);
    if (!isViewLoaded()) {
        return;
    }
    const std::vector<IndexPath> rows = addCalendarRows();
    const TableView::RowAnimation animation =
        animated ? TableView::RowAnimation::Fade : TableView::RowAnimation::None;
    if (editing) {
        tableView()->insertRowsAtIndexPaths(rows, animation);
    } else {
        tableView()->deleteRowsAtIndexPaths(rows, animation);
    }
}

std::vector<IndexPath> VisibleCalendarsViewController::addCalendarRows() const {
    std::vector<IndexPath> rows;
    const auto& groups = calendarsByAccount();
    for (std::size_t section = 0; section < groups.size(); ++section) {
        if (groups[section]->isAddCalendarEnabled()) {
            rows.emplace_back(static_cast<int>(groups[section]->calendars().size()),
                              static_cast<int>(section));
        }
    }
    return rows;
}

void VisibleCalendarsViewController::done() {
    ApplicationEventDispatcher::sharedInstance().dispatch<EventStoreChangedEvent>();
    if (const auto navigation = navigationController()) {
        navigation->dismissModalViewControllerAnimated(true);
    } else {
        dismissModalViewControllerAnimated(true);
    }
}

std::vector<Color> VisibleCalendarsViewController::gatherTakenColors() const {
    std::vector<Color> colors;
    for (const std::shared_ptr<CalendarGroup>& group : calendarsByAccount()) {
        for (const std::shared_ptr<EKCalendar>& calendar : group->calendars()) {
            if (const std::optional<Color> color = calendar->color()) {
                colors.push_back(*color);
            }
        }
    }
    return colors;
}

void VisibleCalendarsViewController::calendarsChanged() {
    reloadCalendars();
    m_hiddenCalendars = m_appSettings->loadHiddenCalendars(eventService());
    if (isViewLoaded()) {
        tableView()->reloadData();
    }
}

bool VisibleCalendarsViewController::isHidden(const EKCalendar& calendar) const {
    return std::any_of(
        m_hiddenCalendars.begin(), m_hiddenCalendars.end(),
        [&calendar](const std::shared_ptr<EKCalendar>& hidden) { return hidden->isEqual(calendar); });
}

int VisibleCalendarsViewController::numberOfRowsInSection(TableView& tableView, int section) {
    const int calendars = CalendarsViewController::numberOfRowsInSection(tableView, section);
    const bool addRow = editing() && calendars > 0 &&
                        calendarsByAccount()[static_cast<std::size_t>(section)]->isAddCalendarEnabled();
    return calendars + (addRow ? 1 : 0);
}

std::shared_ptr<TableViewCell>
VisibleCalendarsViewController::cellForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {
    if (calendarAtIndexPath(indexPath)) {
        return CalendarsViewController::cellForRowAtIndexPath(tableView, indexPath);
    }
    auto cell = std::make_shared<CalendarCell>();
    cell->calendarTitleLabel().setText(localizedString(QStringLiteral("Add Calendar...")));
    return cell;
}

void VisibleCalendarsViewController::onCreateCell(CalendarCell& cell) {
    const bool hidden = isHidden(*cell.calendar());
    cell.setChecked(!hidden);
    cell.setFaded(hidden);
}

std::optional<IndexPath>
VisibleCalendarsViewController::willSelectRowAtIndexPath(TableView& /*tableView*/,
                                                         const IndexPath& indexPath) {
    const std::shared_ptr<EKCalendar> calendar = calendarAtIndexPath(indexPath);
    if (editing() && calendar && calendar->type() == EKCalendarType::Birthday) {
        return std::nullopt;
    }
    return indexPath;
}

void VisibleCalendarsViewController::didSelectRowAtIndexPath(TableView& tableView,
                                                             const IndexPath& indexPath) {
    const std::shared_ptr<EKCalendar> calendar = calendarAtIndexPath(indexPath);
    if (!editing()) {
        if (calendar) {
            toggleVisibility(calendar, indexPath);
        }
        return;
    }
    tableView.deselectRowAtIndexPath(indexPath, true);
    const bool deleteEnabled =
        calendarsByAccount()[static_cast<std::size_t>(indexPath.section())]->isAddCalendarEnabled();
    if (calendar) {
        openForm(calendar, true, deleteEnabled);
    } else {
        addCalendarInGroup(indexPath.section());
    }
}

void VisibleCalendarsViewController::toggleVisibility(const std::shared_ptr<EKCalendar>& calendar,
                                                      const IndexPath& indexPath) {
    const std::shared_ptr<EKCalendar> defaultCalendar = m_appSettings->loadDefaultCalendar(eventService());
    if (defaultCalendar && defaultCalendar->isEqual(*calendar)) {
        tableView()->deselectRowAtIndexPath(indexPath, true);
        std::make_shared<AlertView>(
            localizedString(QStringLiteral("Default Calendar")),
            localizedString(QStringLiteral("You cannot hide the default calendar (see settings).")), nullptr,
            localizedString(QStringLiteral("OK")))
            ->show();
        return;
    }
    if (isHidden(*calendar)) {
        std::erase_if(m_hiddenCalendars, [&calendar](const std::shared_ptr<EKCalendar>& hidden) {
            return hidden->isEqual(*calendar);
        });
    } else {
        m_hiddenCalendars.push_back(calendar);
    }
    m_appSettings->storeHiddenCalendars(m_hiddenCalendars);
    ApplicationEventDispatcher::sharedInstance().dispatch<VisibleCalendarsChangedEvent>();
    onShowOrHideCalendar();
    const std::shared_ptr<TableView> table = tableView();
    table->reloadRowsAtIndexPaths({indexPath}, TableView::RowAnimation::Fade);
    table->selectRowAtIndexPath(indexPath, false, TableView::ScrollPosition::None);
    table->deselectRowAtIndexPath(indexPath, true);
}

void VisibleCalendarsViewController::onShowOrHideCalendar() {}

void VisibleCalendarsViewController::openForm(const std::shared_ptr<EKCalendar>& calendar, bool editMode,
                                              bool deleteEnabled) {
    auto form =
        std::make_shared<EditCalendarViewController>(eventService(), calendar, editMode, deleteEnabled, this);
    if (!editMode) {
        form->assignNewCalendarColor(gatherTakenColors());
    }
    if (const auto navigation = navigationController()) {
        navigation->pushViewController(form, true);
    }
}

void VisibleCalendarsViewController::addCalendarInGroup(int section) {
    const std::shared_ptr<CalendarGroup>& group = calendarsByAccount()[static_cast<std::size_t>(section)];
    std::shared_ptr<EKCalendar> calendar = eventService().newCalendarForSource(group->source());
    calendar->setTitle(localizedString(QStringLiteral("Untitled Calendar")));
    openForm(calendar, false, group->isAddCalendarEnabled());
}

TableViewCell::EditingStyle
VisibleCalendarsViewController::editingStyleForRowAtIndexPath(TableView& /*tableView*/,
                                                              const IndexPath& /*indexPath*/) {
    return TableViewCell::EditingStyle::None;
}

bool VisibleCalendarsViewController::shouldIndentWhileEditingRowAtIndexPath(TableView& /*tableView*/,
                                                                            const IndexPath& /*indexPath*/) {
    return false;
}
