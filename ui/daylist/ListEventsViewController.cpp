#include "ui/daylist/ListEventsViewController.h"

#include "core/bus/ActivateCopyMoveEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/DateSelectedEvent.h"
#include "core/bus/DeleteEventEvent.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEvent.h"
#include "core/hints/Hint.h"
#include "foundation/Localization.h"
#include "foundation/RunLoop.h"
#include "kit/Artwork.h"
#include "kit/Button.h"
#include "kit/Font.h"
#include "kit/ImageView.h"
#include "kit/InterfaceOrientation.h"
#include "kit/Label.h"
#include "kit/Screen.h"
#include "ui/common/BackgroundView.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/copymove/CopyMoveMenu.h"
#include "ui/daylist/DayListArtwork.h"
#include "ui/daylist/ListBoxHeaderView.h"
#include "ui/daylist/ListBoxView.h"
#include "ui/daylist/ListEventsViewCell.h"

#include <algorithm>

namespace {

constexpr double listHeaderHeight = 27.0;
constexpr double listTableInset = 1.0;
constexpr double listCreateButtonGap = 5.0;
constexpr double listCreateButtonInset = 6.0;
constexpr double listCreateButtonHeight = 32.0;
constexpr double listShadowHeight = 6.0;
constexpr double listCloseButtonSize = 30.0;
// The close button overlaps the box's top-right corner.
constexpr double listCloseButtonRightOverlap = 23.0;
constexpr double listCloseButtonRaise = 14.0;
// During copy/move the bar at the top takes room, so the box sits lower.
constexpr double listCopyMoveShift = 15.0;
constexpr int listPortraitMinimumRows = 6;
constexpr int listPortraitMaximumRows = 8;
constexpr int listLandscapeMinimumRows = 4;
constexpr int listLandscapeMaximumRows = 6;
// From this many events on, every second row is grey.
constexpr int listAlternatingColorsFrom = 4;
const Color listOddRowGrey = Color::fromRgb255(230, 230, 230);
const Color listEvenRowWhite(1, 1, 1);
const Color listHeaderTextColor = Color::fromRgb255(52, 62, 78);

IndexPath listRow(int index) {
    return IndexPath::indexPathForRow(index, 0);
}

std::shared_ptr<Label> makeListHeaderLabel(const Rect& frame, TextAlignment alignment) {
    auto label = std::make_shared<Label>(frame);
    label->setFont(Font::boldSystemFontOfSize(16));
    label->setBackgroundColor(std::nullopt);
    label->setTextColor(listHeaderTextColor);
    label->setShadowColor(Color(1, 1, 1));
    label->setShadowOffset(Size(0, 1));
    label->setTextAlignment(alignment);
    return label;
}

} // namespace

ListEventsViewController::ListEventsViewController()
    : m_formatter(DateTimeFormatter::instance()), m_eventService(EventService::sharedInstance()),
      m_dispatcher(ApplicationEventDispatcher::sharedInstance()) {
    DayListArtwork::registerImages();
    m_dispatcher.registerTarget<EventStoreChangedEvent>(this, &ListEventsViewController::eventStoreChanged);
}

ListEventsViewController::~ListEventsViewController() {
    m_dispatcher.unregisterAllEventsForTarget(this);
}

std::weak_ptr<ListEventsViewController> ListEventsViewController::weakSelf() {
    return std::static_pointer_cast<ListEventsViewController>(shared_from_this());
}

void ListEventsViewController::loadView() {
    auto background = std::make_shared<BackgroundView>(Screen::main().bounds());
    background->setBackgroundColor(Color(0, 0, 0, 0));
    background->setDelegate(std::static_pointer_cast<TouchableViewDelegate>(weakSelf().lock()));
    setView(background);
    buildListBox();
}

void ListEventsViewController::buildListBox() {
    const double tableHeight = listPortraitMinimumRows * rowHeight;
    m_listBoxView = ListBoxView::create(Rect(0, 0, listBoxWidth, tableHeight + listBoxExtraHeight));
    View& top = *m_listBoxView->topBoxView();
    top.setFrame(Rect(0, 0, listBoxWidth, listHeaderHeight + tableHeight));
    top.addSubview(std::make_shared<ListBoxHeaderView>(Rect(0, 0, listBoxWidth, listHeaderHeight)));
    m_dayOfWeekHeaderLabel = makeListHeaderLabel(Rect(10, 3, 180, 21), TextAlignment::Left);
    top.addSubview(m_dayOfWeekHeaderLabel);
    // The day of the month ends short of the close button over the box's corner.
    m_dayOfMonthHeaderLabel = makeListHeaderLabel(Rect(listBoxWidth - 130, 3, 100, 21), TextAlignment::Right);
    top.addSubview(m_dayOfMonthHeaderLabel);

    const std::shared_ptr<TableView> table =
        makeTableView(Rect(listTableInset, listHeaderHeight, listBoxWidth - 2 * listTableInset, tableHeight),
                      TableView::Style::Plain);
    table->setRowHeight(rowHeight);
    table->setSeparatorStyle(TableView::SeparatorStyle::None);
    table->setBackgroundColor(listEvenRowWhite);
    top.addSubview(table);

    m_shadowImageView = std::make_shared<ImageView>(Rect(
        listTableInset, listHeaderHeight + tableHeight, listBoxWidth - 2 * listTableInset, listShadowHeight));
    m_listBoxView->addSubview(m_shadowImageView);

    const std::weak_ptr<ListEventsViewController> weakSelf = this->weakSelf();
    m_createEventButton = std::make_shared<Button>(
        Rect(listCreateButtonInset, 0, listBoxWidth - 2 * listCreateButtonInset, listCreateButtonHeight));
    m_createEventButton->setBackgroundImage(
        Artwork::imageNamed(QStringLiteral("listbox-add-button")).stretchableImage(40, 0));
    m_createEventButton->setTitle(localizedString(QStringLiteral("Add Event ~Button")));
    m_createEventButton->setTitleColor(listHeaderTextColor);
    m_createEventButton->setTitleShadowColor(Color(1, 1, 1));
    m_createEventButton->titleLabel().setFont(Font::boldSystemFontOfSize(15));
    m_createEventButton->titleLabel().setShadowOffset(Size(0, 1));
    m_createEventButton->onTouchUpInside = [weakSelf] {
        if (const auto self = weakSelf.lock()) {
            self->openCreateEventDialog();
        }
    };
    m_listBoxView->addSubview(m_createEventButton);
    adjustCreateButtonPosition();

    m_closeButton = std::make_shared<Button>(Rect(0, 0, listCloseButtonSize, listCloseButtonSize));
    m_closeButton->setImage(Artwork::imageNamed(QStringLiteral("listbox-close-button")));
    m_closeButton->setHidden(true);
    m_closeButton->onTouchUpInside = [weakSelf] {
        if (const auto self = weakSelf.lock()) {
            self->closePopup();
        }
    };
    view()->addSubview(m_listBoxView);
    view()->addSubview(m_closeButton);
}

void ListEventsViewController::viewDidLoad() {
    initializeViews();
}

void ListEventsViewController::initializeWithDate(Date date) {
    m_displayedDate = date;
    m_displayedEvents = m_eventService.synchronousFindEventsForEntireDay(DateUtilities::day(date));
    initializeViews();
}

void ListEventsViewController::initializeViews() {
    if (!isViewLoaded() || !tableView()) {
        return;
    }
    TableView& table = *tableView();
    if (const std::optional<IndexPath> selected = table.indexPathForSelectedRow()) {
        table.deselectRowAtIndexPath(*selected, false);
    }
    m_dayOfWeekHeaderLabel->setText(m_formatter.formatDayOfWeek(m_displayedDate));
    m_dayOfMonthHeaderLabel->setText(m_formatter.formatDayOfMonth(m_displayedDate));
    table.reloadData();
    m_shadowImageView->setImage(
        Artwork::imageNamed(QStringLiteral("listbox-shadow")).stretchableImage(12, 0));
}

void ListEventsViewController::popupFromView(const std::shared_ptr<View>& dayView) {
    m_visible = true;
    const std::shared_ptr<View> parent = view()->superview();
    configureForFrame(parent ? parent->bounds() : view()->frame());
    if (m_displayedEvents.size() > 0) {
        tableView()->scrollToRowAtIndexPath(listRow(0), TableView::ScrollPosition::Top, false);
    }
    const std::weak_ptr<ListEventsViewController> weakSelf = this->weakSelf();
    const auto showControls = [weakSelf] {
        if (const auto self = weakSelf.lock(); self && self->m_visible) {
            self->showCloseButton();
            self->tableView()->flashScrollIndicators();
        }
    };
    if (!dayView) {
        m_listBoxView->popupInView(view());
        showControls();
        return;
    }
    m_listBoxView->popupFromView(*dayView, view(), showControls);
}

void ListEventsViewController::showCloseButton() {
    m_closeButton->setHidden(false);
    view()->bringSubviewToFront(*m_closeButton);
}

// The box, table and add button fitted to the listed events, at once.
void ListEventsViewController::layOutBox() {
    adjustListBoxHeight();
    adjustTableHeight();
    adjustCreateButtonPosition();
}

void ListEventsViewController::configureForFrame(const Rect& frame) {
    view()->setFrame(frame);
    layOutBox();
}

double ListEventsViewController::calculateTableHeight() const {
    const bool landscape = InterfaceOrientation::isLandscape();
    const int fewest = landscape ? listLandscapeMinimumRows : listPortraitMinimumRows;
    const int most = landscape ? listLandscapeMaximumRows : listPortraitMaximumRows;
    return std::clamp(m_displayedEvents.size(), fewest, most) * rowHeight;
}

void ListEventsViewController::adjustTableHeight() {
    const double height = calculateTableHeight();
    tableView()->setFrameHeight(height);
    m_listBoxView->topBoxView()->setFrameHeight(listHeaderHeight + height);
}

void ListEventsViewController::adjustListBoxHeight() {
    const Rect area = view()->bounds();
    const double height = calculateTableHeight() + listBoxExtraHeight;
    double y = (area.height() - height) / 2;
    if (CopyMoveEventMode::sharedInstance().activated()) {
        y += listCopyMoveShift;
    }
    m_listBoxView->setFrame(Rect((area.width() - listBoxWidth) / 2, y, listBoxWidth, height));
    const Rect box = m_listBoxView->frame();
    m_closeButton->setFrameOrigin(
        Point(box.x() + box.width() - listCloseButtonRightOverlap, box.y() - listCloseButtonRaise));
}

void ListEventsViewController::adjustCreateButtonPosition() {
    const Rect table = tableView()->frame();
    m_createEventButton->setFrameY(table.maxY() + listCreateButtonGap);
    m_shadowImageView->setFrameY(table.maxY());
}

// The table.

int ListEventsViewController::numberOfRowsInSection(TableView&, int) {
    return m_displayedEvents.size();
}

std::optional<double> ListEventsViewController::heightForRowAtIndexPath(TableView&, const IndexPath&) {
    return rowHeight;
}

std::shared_ptr<TableViewCell> ListEventsViewController::cellForRowAtIndexPath(TableView& tableView,
                                                                               const IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<ListEventsViewCell>(
        tableView.dequeueReusableCellWithIdentifier(ListEventsViewCell::reuseIdentifierName()));
    if (!cell) {
        cell = ListEventsViewCell::create();
        cell->setDelegate(std::static_pointer_cast<ListEventsViewCellDelegate>(weakSelf().lock()));
    }
    cell->setDisplayedDate(m_displayedDate);
    if (indexPath.row() < m_displayedEvents.size()) {
        cell->render(m_displayedEvents.eventAtIndex(indexPath.row()));
    }
    cell->setSelectionStyle(CopyMoveEventMode::sharedInstance().activated()
                                ? TableViewCell::SelectionStyle::None
                                : TableViewCell::SelectionStyle::Blue);
    setAlternatingColorForCell(*cell, indexPath.row());
    return cell;
}

void ListEventsViewController::setAlternatingColorForCell(ListEventsViewCell& cell, int index) const {
    const bool grey = index % 2 == 1 && m_displayedEvents.size() >= listAlternatingColorsFrom;
    if (const std::shared_ptr<View> background = cell.backgroundView()) {
        background->setBackgroundColor(grey ? listOddRowGrey : listEvenRowWhite);
    }
}

void ListEventsViewController::adjustAlternateColors() {
    for (const auto& visible : tableView()->visibleCells()) {
        const auto cell = std::dynamic_pointer_cast<ListEventsViewCell>(visible);
        if (cell && cell->event()) {
            setAlternatingColorForCell(*cell, m_displayedEvents.indexOfEvent(*cell->event()));
        }
    }
}

void ListEventsViewController::didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {
    if (CopyMoveEventMode::sharedInstance().activated() || indexPath.row() >= m_displayedEvents.size()) {
        tableView.deselectRowAtIndexPath(indexPath, false);
        return;
    }
    // The list stays open beneath the editor or the viewer.
    m_dispatcher.dispatch<EventSelectedEvent>(m_displayedEvents.eventAtIndex(indexPath.row()),
                                              m_displayedDate, nullptr);
}

// Rows and the copy/move menu.

void ListEventsViewController::eventLongPressed(ListEventsViewCell& cell) {
    if (CopyMoveEventMode::sharedInstance().activated() || !cell.event()) {
        return;
    }
    setCellSelected(cell, true);
    CopyMoveMenu& menu = CopyMoveMenu::instance();
    menu.setEvent(cell.event());
    menu.showInView(*tableView(), cell, std::static_pointer_cast<CopyMoveMenuResponder>(weakSelf().lock()));
}

void ListEventsViewController::handleMenuChoiceCopy(const std::shared_ptr<EKEvent>& event) {
    activateCopyOrMoveForEvent(event, true);
}

void ListEventsViewController::handleMenuChoiceMove(const std::shared_ptr<EKEvent>& event) {
    activateCopyOrMoveForEvent(event, false);
}

void ListEventsViewController::activateCopyOrMoveForEvent(const std::shared_ptr<EKEvent>& event, bool copy) {
    CopyMoveMenu::instance().preventEventViewDeselection();
    m_dispatcher.dispatch<ActivateCopyMoveEvent>(event, m_displayedDate, copy);
}

void ListEventsViewController::handleMenuChoiceDelete(const std::shared_ptr<EKEvent>& event) {
    CopyMoveMenu::instance().preventEventViewDeselection();
    m_dispatcher.dispatch<DeleteEventEvent>(event);
}

void ListEventsViewController::setCellSelected(ListEventsViewCell& cell, bool selected) {
    const std::optional<IndexPath> indexPath = tableView()->indexPathForCell(cell);
    if (!indexPath) {
        return;
    }
    if (selected) {
        TableView& table = *tableView();
        const Rect row = table.rectForRowAtIndexPath(*indexPath);
        const Rect shown(table.contentOffset(), table.bounds().size());
        const bool rowShown = row.y() >= shown.y() && row.maxY() <= shown.maxY();
        table.selectRowAtIndexPath(
            *indexPath, false, rowShown ? TableView::ScrollPosition::None : TableView::ScrollPosition::Top);
    } else {
        tableView()->deselectRowAtIndexPath(*indexPath, true);
    }
}

void ListEventsViewController::viewTouched() {
    closePopup();
}

void ListEventsViewController::openCreateEventDialog() {
    if (const auto hint = Hint::hintByIdentifier(QStringLiteral("headerHint"))) {
        hint->invalidate();
    }
    m_dispatcher.dispatch<DateSelectedEvent>(m_displayedDate, nullptr);
}

// Keeping the list current.

void ListEventsViewController::addEvent(const std::shared_ptr<EKEvent>& event, bool animated) {
    if (!event || m_displayedEvents.contains(*event)) {
        return;
    }
    m_displayedEvents.addWithSort(event);
    tableView()->reloadData();
    adjustTableHeight();
    if (!animated) {
        adjustListBoxHeight();
        adjustCreateButtonPosition();
        flashRowAfterDelay(event);
        return;
    }
    flashRow(m_displayedEvents.indexOfEvent(*event));
    const std::weak_ptr<ListEventsViewController> weakSelf = this->weakSelf();
    View::animate(updateDuration, [weakSelf] {
        if (const auto self = weakSelf.lock()) {
            self->adjustListBoxHeight();
            self->adjustCreateButtonPosition();
        }
    });
}

void ListEventsViewController::flashRowAfterDelay(const std::shared_ptr<EKEvent>& event) {
    const std::weak_ptr<ListEventsViewController> weakSelf = this->weakSelf();
    RunLoop::main().scheduleTimer(updateDuration, false, [weakSelf, event] {
        const auto self = weakSelf.lock();
        if (!self) {
            return;
        }
        const int index = self->m_displayedEvents.indexOfEvent(*event);
        if (index != EventList::notFound) {
            self->flashRow(index);
        }
    });
}

void ListEventsViewController::flashRow(int index) {
    if (index < 0 || index >= m_displayedEvents.size()) {
        return;
    }
    tableView()->selectRowAtIndexPath(listRow(index), false, TableView::ScrollPosition::Middle);
    tableView()->deselectRowAtIndexPath(listRow(index), true);
}

void ListEventsViewController::reloadEvent(const std::shared_ptr<EKEvent>& event) {
    if (!event) {
        return;
    }
    m_displayedEvents.update(event);
    tableView()->reloadData();
    const int index = m_displayedEvents.indexOfEvent(*event);
    if (index == EventList::notFound) {
        return;
    }
    tableView()->selectRowAtIndexPath(listRow(index), false, TableView::ScrollPosition::None);
    tableView()->deselectRowAtIndexPath(listRow(index), true);
}

int ListEventsViewController::indexOfEventWithIdentifier(const QString& eventIdentifier) const {
    const auto& events = m_displayedEvents.events();
    const auto found = std::find_if(events.begin(), events.end(), [&eventIdentifier](const auto& event) {
        return event->eventIdentifier() == eventIdentifier;
    });
    return found == events.end() ? EventList::notFound : static_cast<int>(found - events.begin());
}

void ListEventsViewController::removeEvent(const QString& eventIdentifier, bool animated) {
    const int index = indexOfEventWithIdentifier(eventIdentifier);
    if (index == EventList::notFound) {
        return;
    }
    m_displayedEvents.removeEventAtIndex(index);
    if (!animated) {
        tableView()->reloadData();
        adjustListBoxHeight();
        adjustTableHeight();
        adjustCreateButtonPosition();
        return;
    }
    tableView()->deleteRowsAtIndexPaths({listRow(index)}, TableView::RowAnimation::None);
    adjustAlternateColors();
    const std::weak_ptr<ListEventsViewController> weakSelf = this->weakSelf();
    View::animate(
        updateDuration,
        [weakSelf] {
            if (const auto self = weakSelf.lock()) {
                self->adjustListBoxHeight();
            }
        },
        [weakSelf](bool) {
            if (const auto self = weakSelf.lock()) {
                self->adjustTableHeight();
                self->adjustCreateButtonPosition();
            }
        });
}

void ListEventsViewController::eventStoreChanged(const std::shared_ptr<EventStoreChangedEvent>&) {
    if (!m_visible) {
        return;
    }
    m_displayedEvents = m_eventService.synchronousFindEventsForEntireDay(DateUtilities::day(m_displayedDate));
    tableView()->reloadData();
    layOutBox();
}

// Closing and the copy/move mode.

void ListEventsViewController::closePopup() {
    closePopupAnimated(true);
}

void ListEventsViewController::closePopupAnimated(bool animated) {
    if (!isViewLoaded()) {
        m_visible = false;
        return;
    }
    m_closeButton->setHidden(true);
    m_listBoxView->dismissPopupAnimated(animated);
    m_visible = false;
}

void ListEventsViewController::fadeOutPopup() {
    m_fadingOut = true;
    const std::weak_ptr<ListEventsViewController> weakSelf = this->weakSelf();
    View::animate(
        updateDuration,
        [weakSelf] {
            if (const auto self = weakSelf.lock()) {
                self->view()->setAlpha(0);
            }
        },
        [weakSelf](bool) {
            const auto self = weakSelf.lock();
            // Faded in again meanwhile (a cancel right after the start): the list stays.
            if (!self || !self->m_fadingOut) {
                return;
            }
            self->m_fadingOut = false;
            self->closePopupAnimated(false);
            self->view()->setAlpha(1);
        });
}

void ListEventsViewController::fadeInPopup() {
    // Opened again by the user meanwhile: it shows already.
    if (m_visible && !m_fadingOut) {
        return;
    }
    m_fadingOut = false;
    m_visible = true;
    adjustListBoxHeight();
    m_listBoxView->popupInView(view());
    showCloseButton();
    // The row the copy or move started from is let go as the list comes back.
    if (const std::optional<IndexPath> selected = tableView()->indexPathForSelectedRow()) {
        tableView()->deselectRowAtIndexPath(*selected, true);
    }
    view()->setAlpha(0);
    const std::weak_ptr<ListEventsViewController> weakSelf = this->weakSelf();
    View::animate(updateDuration, [weakSelf] {
        if (const auto self = weakSelf.lock()) {
            self->view()->setAlpha(1);
        }
    });
}
