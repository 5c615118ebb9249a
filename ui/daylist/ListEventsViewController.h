#pragma once

#include "core/bus/BusReceiver.h"
#include "core/events/EventList.h"
#include "foundation/Date.h"
#include "ui/common/TouchableViewDelegate.h"
#include "ui/copymove/CopyMoveMenuResponder.h"
#include "ui/daylist/BaseTableViewController.h"
#include "ui/daylist/ListEventsViewCellDelegate.h"

#include <QString>

#include <memory>

class ApplicationEventDispatcher;
class Button;
class DateTimeFormatter;
class EKEvent;
class EventService;
class EventStoreChangedEvent;
class ImageView;
class Label;
class ListBoxView;
class ListEventsViewCell;

// The list of every event of one day, in a box that grows out of the touched day over the
// dimmed week screen: a header with the weekday and the day of the month, a table of the
// events, a button that adds an event on the day and a close button. A tap on a row opens the
// event as a tap on its row in the week does; a touch outside the box closes the list. The week
// screen owns one list for the whole run and keeps it current while it is open; store changes
// it follows by itself.
class ListEventsViewController : public BaseTableViewController,
                                 public TouchableViewDelegate,
                                 public ListEventsViewCellDelegate,
                                 public CopyMoveMenuResponder,
                                 public BusReceiver {
public:
    static constexpr double rowHeight = 26.0;
    static constexpr double listBoxWidth = 300.0;
    // The box's height beyond its table: header, the add button and the margins around it.
    static constexpr double listBoxExtraHeight = 70.0;
    static constexpr double updateDuration = 0.3;

    ListEventsViewController();
    ~ListEventsViewController() override;

    // The day to list (any time within it); its events are read at once.
    void initializeWithDate(Date date);
    // Opens the list over the view's parent, growing out of `dayView`.
    void popupFromView(const std::shared_ptr<View>& dayView);
    bool visible() const { return m_visible; }
    Date displayedDate() const { return m_displayedDate; }
    const EventList& displayedEvents() const { return m_displayedEvents; }

    // Keeping the open list current. An event already listed is not added again; an
    // identifier that is not listed changes nothing.
    void addEvent(const std::shared_ptr<EKEvent>& event, bool animated = true);
    void reloadEvent(const std::shared_ptr<EKEvent>& event);
    void removeEvent(const QString& eventIdentifier, bool animated = true);

    void closePopup();
    void closePopupAnimated(bool animated);
    // Around the copy/move mode: the list fades away, and comes back without growing.
    void fadeOutPopup();
    void fadeInPopup();
    // Fits the list to the screen's frame in the current orientation.
    void configureForFrame(const Rect& frame);
    // Rows: 6 to 8 in portrait, 4 to 6 in landscape, as many as there are events between.
    double calculateTableHeight() const;

    const std::shared_ptr<ListBoxView>& listBoxView() const { return m_listBoxView; }
    const std::shared_ptr<Button>& closeButton() const { return m_closeButton; }
    const std::shared_ptr<Button>& createEventButton() const { return m_createEventButton; }
    const std::shared_ptr<Label>& dayOfWeekHeaderLabel() const { return m_dayOfWeekHeaderLabel; }
    const std::shared_ptr<Label>& dayOfMonthHeaderLabel() const { return m_dayOfMonthHeaderLabel; }
    const std::shared_ptr<ImageView>& shadowImageView() const { return m_shadowImageView; }

    // The table.
    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::optional<double> heightForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;

    // The rows and the copy/move menu.
    void eventLongPressed(ListEventsViewCell& cell) override;
    void setCellSelected(ListEventsViewCell& cell, bool selected);
    void handleMenuChoiceCopy(const std::shared_ptr<EKEvent>& event) override;
    void handleMenuChoiceMove(const std::shared_ptr<EKEvent>& event) override;
    void handleMenuChoiceDelete(const std::shared_ptr<EKEvent>& event) override;

    // A touch ended on the dimmed area around the box.
    void viewTouched() override;
    // The add button.
    void openCreateEventDialog();

protected:
    void loadView() override;
    void viewDidLoad() override;

private:
    void buildListBox();
    void initializeViews();
    void layOutBox();
    void adjustListBoxHeight();
    void adjustTableHeight();
    void adjustCreateButtonPosition();
    void setAlternatingColorForCell(ListEventsViewCell& cell, int index) const;
    void adjustAlternateColors();
    void activateCopyOrMoveForEvent(const std::shared_ptr<EKEvent>& event, bool copy);
    void flashRow(int index);
    void flashRowAfterDelay(const std::shared_ptr<EKEvent>& event);
    int indexOfEventWithIdentifier(const QString& eventIdentifier) const;
    void showCloseButton();
    void eventStoreChanged(const std::shared_ptr<EventStoreChangedEvent>& event);
    std::weak_ptr<ListEventsViewController> weakSelf();

    Date m_displayedDate;
    EventList m_displayedEvents;
    bool m_visible = false;
    // Fading away for the copy/move mode; a fade back in before the end keeps the list open.
    bool m_fadingOut = false;
    std::shared_ptr<ListBoxView> m_listBoxView;
    std::shared_ptr<Button> m_closeButton;
    std::shared_ptr<Button> m_createEventButton;
    std::shared_ptr<Label> m_dayOfWeekHeaderLabel;
    std::shared_ptr<Label> m_dayOfMonthHeaderLabel;
    std::shared_ptr<ImageView> m_shadowImageView;
    DateTimeFormatter& m_formatter;
    EventService& m_eventService;
    ApplicationEventDispatcher& m_dispatcher;
};
