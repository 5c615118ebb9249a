#include "ui/week/EventEditingCoordinator.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/events/EventService.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/EKEvent.h"
#include "core/hints/Hint.h"
#include "kit/NavigationController.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/editing/DeleteEventActionSheet.h"
#include "ui/editor/EventDetailsViewController.h"
#include "ui/eventkit/EKEventViewController.h"
#include "ui/week/WeekViewController.h"

EventEditingCoordinator::EventEditingCoordinator(EventService& eventService,
                                                 CopyMoveEventMode& copyMoveEventMode,
                                                 ApplicationEventDispatcher& dispatcher)
    : m_eventService(eventService), m_copyMoveEventMode(copyMoveEventMode), m_dispatcher(dispatcher) {}

std::shared_ptr<EventDetailsViewController> EventEditingCoordinator::getOrCreateEventDetailsController() {
    if (!m_detailsController) {
        m_detailsController = std::make_shared<EventDetailsViewController>();
        m_detailsController->setDelegate(
            std::static_pointer_cast<EventDetailsViewControllerDelegate>(shared_from_this()));
    }
    return m_detailsController;
}

void EventEditingCoordinator::pushPortraitViewController(
    const std::shared_ptr<ViewController>& viewController) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    host->forcePortrait();
    if (auto navigation = host->weekScreen().navigationController()) {
        navigation->pushViewController(viewController, true);
    }
}

bool EventEditingCoordinator::editorIsTopScreen() const {
    const auto host = m_host.lock();
    const std::shared_ptr<NavigationController> navigation =
        host ? host->weekScreen().navigationController() : nullptr;
    return m_detailsController && navigation && navigation->topViewController() == m_detailsController;
}

bool EventEditingCoordinator::editorDoneEditing() const {
    return m_detailsController && m_detailsController->doneEditing();
}

void EventEditingCoordinator::dropEventDetailsController() {
    m_detailsController.reset();
}

void EventEditingCoordinator::dropEventDetailsControllerIfOffScreen() {
    const bool editorOffScreen = m_detailsController && (!m_detailsController->isViewLoaded() ||
                                                         !m_detailsController->view()->superview());
    if (editorOffScreen && !m_copyMoveEventMode.moveActivated()) {
        m_detailsController.reset();
    }
}

void EventEditingCoordinator::dismissEditorModalViewController() {
    if (m_detailsController && m_detailsController->modalViewController()) {
        m_detailsController->dismissModalViewControllerAnimated(false);
    }
}

void EventEditingCoordinator::editEvent(const std::shared_ptr<EKEvent>& event, Date tappedDate) {
    m_lastSelectedEvent = event;
    if (!m_lastSelectedEvent) {
        return;
    }
    if (ReadOnlyCheck::isReadOnly(*m_lastSelectedEvent)) {
        showEventViewer(m_lastSelectedEvent);
        return;
    }
    if (editorIsTopScreen()) {
        return;
    }
    const std::shared_ptr<EventDetailsViewController> editor = getOrCreateEventDetailsController();
    editor->setEvent(m_lastSelectedEvent, false, tappedDate);
    pushPortraitViewController(editor);
}

void EventEditingCoordinator::showEventViewer(const std::shared_ptr<EKEvent>& event) {
    const auto host = m_host.lock();
    const std::shared_ptr<NavigationController> navigation =
        host ? host->weekScreen().navigationController() : nullptr;
    if (!navigation) {
        return;
    }
    if (std::dynamic_pointer_cast<EKEventViewController>(navigation->topViewController())) {
        return;
    }
    auto viewer = std::make_shared<EKEventViewController>();
    viewer->setAllowsEditing(false);
    viewer->setAllowsCalendarPreview(false);
    viewer->setEvent(event);
    host->forcePortrait();
    navigation->pushViewController(viewer, true);
    host->setReevaluateInterfaceOrientationOnceWhenBack();
}

void EventEditingCoordinator::editEventOnDate(Date date) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    const std::shared_ptr<EventDetailsViewController> editor = getOrCreateEventDetailsController();
    if (m_copyMoveEventMode.moveActivated()) {
        editor->moveToDate(date);
        for (const auto& page : host->weekViews()) {
            page->stopMoveAnimation();
        }
        pushPortraitViewController(editor);
        return;
    }
    editor->setEvent(m_eventService.newEventForDay(DateUtilities::day(date)), true, date);
    pushPortraitViewController(editor);
}

void EventEditingCoordinator::deleteEvent(const std::shared_ptr<EKEvent>& event) {
    const auto host = m_host.lock();
    if (!host || !event || host->weekViews().size() != 3) {
        return;
    }
    // The event stays marked in the middle page while the user decides.
    host->weekViews()[1]->selectEvent(*event);
    const std::shared_ptr<DeleteEventActionSheet> sheet = DeleteEventActionSheet::actionSheetForEvent(event);
    const std::weak_ptr<EventEditingCoordinator> weakSelf = weak_from_this();
    const std::weak_ptr<EventEditingHost> weakHost = m_host;
    sheet->setOnDeleted([weakSelf, weakHost](const QString& eventIdentifier, bool recurring) {
        if (const auto self = weakSelf.lock()) {
            self->updateWeekViewForDeletedEvent(eventIdentifier, recurring, false);
        }
        if (const auto deletedHost = weakHost.lock()) {
            deletedHost->weekViews()[1]->deselectEvents();
        }
    });
    sheet->setOnCancelled([weakHost] {
        if (const auto cancelledHost = weakHost.lock()) {
            cancelledHost->weekViews()[1]->deselectEvents();
        }
    });
    sheet->showInView(*host->weekScreen().view());
}

void EventEditingCoordinator::flashLastSelectedEvent() {
    const auto host = m_host.lock();
    if (m_lastSelectedEvent && host) {
        for (const auto& page : host->weekViews()) {
            page->flashEvent(*m_lastSelectedEvent, true);
        }
    }
    m_lastSelectedEvent.reset();
}

void EventEditingCoordinator::eventSaved(const std::shared_ptr<EKEvent>& event, bool isNew,
                                         bool spansMultipleEvents, bool delayed) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    // A move from the editor ends here when its span choice saved it: there is no week to go
    // back to any more.
    m_copyMoveEventMode.setReturnWeek(std::nullopt);
    if (isNew && host->listEventsViewVisible()) {
        if (auto hint = Hint::hintByIdentifier(QStringLiteral("addEventHint"))) {
            hint->trigger();
        }
    }
    if (spansMultipleEvents || event->belongsToSeries()) {
        m_dispatcher.dispatch<EventStoreChangedEvent>();
    } else {
        for (const auto& page : host->weekViews()) {
            if (isNew) {
                page->deselectEventsAnimated(false, false);
                page->addEvent(event, true, delayed);
            } else {
                page->addEvent(event, true, delayed);
                page->reloadEvent(event);
            }
        }
    }
    host->updateListEventsAfterSave(event, isNew);
}

void EventEditingCoordinator::eventCopiedOrMoved(const std::shared_ptr<EKEvent>& event, bool copied) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    m_copyMoveEventMode.setReturnWeek(std::nullopt);
    if (event->belongsToSeries()) {
        m_dispatcher.dispatch<EventStoreChangedEvent>();
        host->updateListEventsAfterCopyOrMove(event);
        return;
    }
    const bool animated = !host->listEventsViewVisible();
    for (const auto& page : host->weekViews()) {
        if (!copied) {
            page->removeEvent(event->eventIdentifier(), animated, false);
        }
        page->addEvent(event, animated, false);
        page->stopMoveAnimation();
        page->deselectEventsAnimated(false, false);
    }
    host->updateListEventsAfterCopyOrMove(event);
}

void EventEditingCoordinator::toggleMovingEventMode() {
    if (const auto host = m_host.lock()) {
        host->toggleMovingEventModeAnimated(m_copyMoveEventMode.activated(), false);
    }
}

void EventEditingCoordinator::eventDeleted(const QString& eventIdentifier, bool recurring) {
    updateWeekViewForDeletedEvent(eventIdentifier, recurring, true);
}

void EventEditingCoordinator::updateWeekViewForDeletedEvent(const QString& eventIdentifier, bool recurring,
                                                            bool delayed) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    if (recurring) {
        m_dispatcher.dispatch<EventStoreChangedEvent>();
    } else {
        for (const auto& page : host->weekViews()) {
            page->deselectEventsAnimated(false, false);
            page->removeEvent(eventIdentifier, !host->listEventsViewVisible(), delayed);
        }
    }
    host->updateListEventsAfterDeletion(eventIdentifier, delayed);
}
