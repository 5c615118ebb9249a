#pragma once

#include <QString>

#include <memory>

class EKEvent;
class ListEventsEvent;
class ListEventsViewController;
class Rect;
class View;

// The day list laid over the week screen: made on first use, opened from a day box, kept in step
// with the editor's saves and deletions and with quick copies and moves, and stepped aside while
// an event is copied or moved. The screen's view is handed in where the list goes onto it.
class DayListCoordinator {
public:
    // Null until the list is first opened.
    const std::shared_ptr<ListEventsViewController>& listEventsViewController() const {
        return m_listEventsViewController;
    }
    bool listEventsViewVisible() const;
    // Opens the list for the event's day over `screenView`, unless it is open already.
    void listEvents(const ListEventsEvent& event, View& screenView);
    void closeListEventsPopupAnimated(bool animated);
    // Forgets the list (closing it first), to be built again with new settings.
    void dropListEventsViewController();
    // A list that is off screen is made again on next use.
    void dropListEventsViewControllerIfOffScreen();
    void configureForFrame(const Rect& frame);

    // The list steps aside while an event is copied or moved, and comes back after a cancel.
    void fadeOutListEventsForCopyMove();
    void fadeInListEventsAfterCopyMove(View& screenView);

    void updateListEventsAfterSave(const std::shared_ptr<EKEvent>& event, bool isNew);
    void updateListEventsAfterDeletion(const QString& eventIdentifier, bool delayed);
    void updateListEventsAfterCopyOrMove(const std::shared_ptr<EKEvent>& event);

private:
    std::shared_ptr<ListEventsViewController> getOrCreateListEventsViewController();

    std::shared_ptr<ListEventsViewController> m_listEventsViewController;
};
