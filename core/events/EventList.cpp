#include "core/events/EventList.h"

#include "core/eventstore/EKEvent.h"

#include <algorithm>

EventList::EventList(int capacity) {
    m_events.reserve(static_cast<std::size_t>(std::max(capacity, 0)));
}

EventList::EventList(std::vector<std::shared_ptr<EKEvent>> events) : m_events(std::move(events)) {}

void EventList::sort() {
    std::stable_sort(m_events.begin(), m_events.end(),
                     [](const std::shared_ptr<EKEvent>& a, const std::shared_ptr<EKEvent>& b) {
                         return a->startDate() < b->startDate();
                     });
}

const std::shared_ptr<EKEvent>& EventList::eventAtIndex(int index) const {
    return m_events.at(static_cast<std::size_t>(index));
}

int EventList::indexOfEvent(const EKEvent& event) const {
    for (std::size_t index = 0; index < m_events.size(); ++index) {
        if (m_events[index]->isEqual(event)) {
            return static_cast<int>(index);
        }
    }
    return notFound;
}

void EventList::removeEventAtIndex(int index) {
    m_events.erase(m_events.begin() + index);
}

void EventList::update(const std::shared_ptr<EKEvent>& event) {
    const QString identifier = event->eventIdentifier();
    for (std::shared_ptr<EKEvent>& entry : m_events) {
        if (entry->eventIdentifier() == identifier) {
            entry = event;
        }
    }
    sort();
}

void EventList::addWithSort(std::shared_ptr<EKEvent> event) {
    m_events.push_back(std::move(event));
    sort();
}

void EventList::addWithoutSort(std::shared_ptr<EKEvent> event) {
    m_events.push_back(std::move(event));
}

bool EventList::contains(const EKEvent& event) const {
    const QString identifier = event.eventIdentifier();
    return std::any_of(m_events.begin(), m_events.end(),
                       [&identifier](const std::shared_ptr<EKEvent>& entry) {
                           return entry->eventIdentifier() == identifier;
                       });
}
