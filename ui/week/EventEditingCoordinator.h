#pragma once

#include "foundation/Date.h"
#include "ui/editor/EventDetailsViewControllerDelegate.h"

#include <QString>

#include <memory>
#include <vector>

class ApplicationEventDispatcher;
class CopyMoveEventMode;
class EKEvent;
class EventDetailsViewController;
class EventService;
class ViewController;
class WeekViewController;

// What the editor's round trips need of the week screen.
class EventEditingHost {
public:
    virtual ~EventEditingHost() = default;
    virtual ViewController& weekScreen() = 0;
    virtual const std::vector<std::shared_ptr<WeekViewController>>& weekViews() const = 0;
    virtual bool listEventsViewVisible() const = 0;
    virtual void toggleMovingEventModeAnimated(bool animated, bool cancelled) = 0;
    virtual void updateListEventsAfterSave(const std::shared_ptr<EKEvent>& event, bool isNew) = 0;
    virtual void updateListEventsAfterDeletion(const QString& eventIdentifier, bool delayed) = 0;
    virtual void updateListEventsAfterCopyOrMove(const std::shared_ptr<EKEvent>& event) = 0;
    // A landscape screen goes upright before a screen is pushed above it.
    virtual void forcePortrait() = 0;
    // The viewer was pushed: once it is gone the screen asks again whether it may turn.
    virtual void setReevaluateInterfaceOrientationOnceWhenBack() = 0;
};

// The editor and viewer round trips of the week screen: a tapped event opens in the editor (or,
// read-only, in the viewer), a tapped day opens a new event, the delete question, and what the
// editor reports back, shown on the pages and in the day list.
class EventEditingCoordinator : public EventDetailsViewControllerDelegate,
                                public std::enable_shared_from_this<EventEditingCoordinator> {
public:
    EventEditingCoordinator(EventService& eventService, CopyMoveEventMode& copyMoveEventMode,
                            ApplicationEventDispatcher& dispatcher);
    void setHost(std::weak_ptr<EventEditingHost> host) { m_host = std::move(host); }

    // The event editor, made on first use.
    std::shared_ptr<EventDetailsViewController> getOrCreateEventDetailsController();
    void pushPortraitViewController(const std::shared_ptr<ViewController>& viewController);
    bool editorIsTopScreen() const;
    // Whether the editor was left with a save, a deletion or a cancel.
    bool editorDoneEditing() const;
    // Forgets the editor, to be built again with new settings.
    void dropEventDetailsController();
    // An editor that is off screen is made again on next use, unless it is away in the move
    // round trip: it still holds the event it moves.
    void dropEventDetailsControllerIfOffScreen();
    void dismissEditorModalViewController();

    void editEvent(const std::shared_ptr<EKEvent>& event, Date tappedDate);
    // A tap on a day: the moved event goes there, or a new event starts on it.
    void editEventOnDate(Date date);
    // Asks whether to delete the event, keeping it marked in the middle page meanwhile.
    void deleteEvent(const std::shared_ptr<EKEvent>& event);
    // The event last opened flashes on every page when the week shows again.
    void flashLastSelectedEvent();

    // EventDetailsViewControllerDelegate.
    void eventSaved(const std::shared_ptr<EKEvent>& event, bool isNew, bool spansMultipleEvents,
                    bool delayed) override;
    void eventCopiedOrMoved(const std::shared_ptr<EKEvent>& event, bool copied) override;
    void eventDeleted(const QString& eventIdentifier, bool recurring) override;
    void toggleMovingEventMode() override;
    void updateWeekViewForDeletedEvent(const QString& eventIdentifier, bool recurring, bool delayed);

private:
    void showEventViewer(const std::shared_ptr<EKEvent>& event);

    std::weak_ptr<EventEditingHost> m_host;
    EventService& m_eventService;
    CopyMoveEventMode& m_copyMoveEventMode;
    ApplicationEventDispatcher& m_dispatcher;
    std::shared_ptr<EKEvent> m_lastSelectedEvent;
    std::shared_ptr<EventDetailsViewController> m_detailsController;
};
