#pragma once

#include <memory>
#include <vector>

class EKEvent;

// An ordered list of events, sorted by start date after sort(). Holds events by reference; one
// event may sit in several lists. No lock: a list is filled by one thread, then handed over.
class EventList {
public:
    static constexpr int notFound = -1;

    EventList() = default;
    // Reserves room for `capacity` events.
    explicit EventList(int capacity);
    // Keeps the given order; does not sort.
    explicit EventList(std::vector<std::shared_ptr<EKEvent>> events);

    // By start date, ascending; events with equal starts keep their order.
    void sort();
    const std::shared_ptr<EKEvent>& eventAtIndex(int index) const;
    // The position of the first entry equal to the event (same identifier and occurrence), or
    // notFound.
    int indexOfEvent(const EKEvent& event) const;
    void removeEventAtIndex(int index);
    // Replaces every entry with the event's identifier by the event, then sorts.
    void update(const std::shared_ptr<EKEvent>& event);
    void addWithSort(std::shared_ptr<EKEvent> event);
    void addWithoutSort(std::shared_ptr<EKEvent> event);
    int size() const { return static_cast<int>(m_events.size()); }
    // True when an entry has the event's identifier.
    bool contains(const EKEvent& event) const;

    // The underlying list itself, not a copy.
    std::vector<std::shared_ptr<EKEvent>>& array() { return m_events; }
    const std::vector<std::shared_ptr<EKEvent>>& array() const { return m_events; }
    const std::vector<std::shared_ptr<EKEvent>>& events() const { return m_events; }

private:
    std::vector<std::shared_ptr<EKEvent>> m_events;
};
