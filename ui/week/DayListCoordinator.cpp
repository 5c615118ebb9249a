#include "ui/week/DayListCoordinator.h"

#include "core/bus/ListEventsEvent.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/EKEvent.h"
#include "foundation/RunLoop.h"
#include "kit/Rect.h"
#include "kit/View.h"
#include "ui/daylist/ListEventsViewController.h"

namespace {

// Day list updates wait for the week's own animations.
constexpr double dayListUpdateDelay = 0.3;

} // namespace

bool DayListCoordinator::listEventsViewVisible() const {
    return m_listEventsViewController && m_listEventsViewController->visible();
}

void DayListCoordinator::listEvents(const ListEventsEvent& event, View& screenView) {
    const std::shared_ptr<ListEventsViewController> list = getOrCreateListEventsViewController();
    if (list->visible()) {
        return;
    }
    list->initializeWithDate(event.date());
    screenView.addSubview(list->view());
    list->popupFromView(event.dayView());
}

void DayListCoordinator::closeListEventsPopupAnimated(bool animated) {
    if (m_listEventsViewController) {
        m_listEventsViewController->closePopupAnimated(animated);
    }
}

std::shared_ptr<ListEventsViewController> DayListCoordinator::getOrCreateListEventsViewController() {
    if (!m_listEventsViewController) {
        m_listEventsViewController = std::make_shared<ListEventsViewController>();
    }
    return m_listEventsViewController;
}

void DayListCoordinator::dropListEventsViewController() {
    // An open list goes with its controller; left on screen it would answer to nobody.
    closeListEventsPopupAnimated(false);
    m_listEventsViewController.reset();
}

void DayListCoordinator::dropListEventsViewControllerIfOffScreen() {
    const bool offScreen = m_listEventsViewController && (!m_listEventsViewController->isViewLoaded() ||
                                                          !m_listEventsViewController->view()->superview());
    if (offScreen) {
        m_listEventsViewController.reset();
    }
}

void DayListCoordinator::configureForFrame(const Rect& frame) {
    if (listEventsViewVisible()) {
        m_listEventsViewController->configureForFrame(frame);
    }
}

void DayListCoordinator::fadeOutListEventsForCopyMove() {
    if (m_listEventsViewController) {
        m_listEventsViewController->fadeOutPopup();
    }
}

void DayListCoordinator::fadeInListEventsAfterCopyMove(View& screenView) {
    // Dropped meanwhile by a change of settings: nothing to bring back.
    if (!m_listEventsViewController) {
        return;
    }
    screenView.addSubview(m_listEventsViewController->view());
    m_listEventsViewController->fadeInPopup();
}

void DayListCoordinator::updateListEventsAfterSave(const std::shared_ptr<EKEvent>& event, bool isNew) {
    if (!listEventsViewVisible()) {
        return;
    }
    const std::shared_ptr<ListEventsViewController> list = m_listEventsViewController;
    const bool onListedDay = ReadOnlyCheck::happensOnDay(*event, list->displayedDate());
    if (isNew) {
        // The week shows the new event first; the list follows once the week's animation ran.
        if (onListedDay) {
            const std::weak_ptr<ListEventsViewController> weakList = list;
            RunLoop::main().scheduleTimer(dayListUpdateDelay, false, [weakList, event] {
                if (const auto delayedList = weakList.lock()) {
                    delayedList->addEvent(event);
                }
            });
        }
    } else if (onListedDay) {
        list->reloadEvent(event);
    } else {
        // Edited onto another day: the list no longer holds it.
        list->removeEvent(event->eventIdentifier());
    }
}

void DayListCoordinator::updateListEventsAfterDeletion(const QString& eventIdentifier, bool delayed) {
    if (!m_listEventsViewController) {
        return;
    }
    const std::weak_ptr<ListEventsViewController> weakList = m_listEventsViewController;
    const auto remove = [weakList, eventIdentifier] {
        if (const auto list = weakList.lock()) {
            list->removeEvent(eventIdentifier);
        }
    };
    if (delayed) {
        RunLoop::main().scheduleTimer(dayListUpdateDelay, false, remove);
    } else {
        RunLoop::main().post(remove);
    }
}

void DayListCoordinator::updateListEventsAfterCopyOrMove(const std::shared_ptr<EKEvent>& event) {
    if (!m_listEventsViewController) {
        return;
    }
    if (ReadOnlyCheck::happensOnDay(*event, m_listEventsViewController->displayedDate())) {
        m_listEventsViewController->addEvent(event, false);
    } else {
        m_listEventsViewController->removeEvent(event->eventIdentifier(), false);
    }
}
