#include "kit/NotificationCenter.h"

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void* owner, const QString& name, Callback callback) {
    m_observers.push_back(Observer{m_nextId++, owner, name, std::move(callback)});
}

void NotificationCenter::removeObserver(const void* owner) {
    std::erase_if(m_observers, [owner](const Observer& observer) { return observer.owner == owner; });
}

void NotificationCenter::removeObserver(const void* owner, const QString& name) {
    std::erase_if(m_observers, [owner, &name](const Observer& observer) {
        return observer.owner == owner && observer.name == name;
    });
}

bool NotificationCenter::isRegistered(std::uint64_t id) const {
    return std::any_of(m_observers.begin(), m_observers.end(),
                       [id](const Observer& observer) { return observer.id == id; });
}

void NotificationCenter::postNotification(const Notification& notification) {
    // The callbacks may add and remove observers, so the walk goes over a snapshot and checks
    // before each call that the observer is still registered.
    std::vector<Observer> matching;
    for (const Observer& observer : m_observers) {
        if (observer.name.isEmpty() || observer.name == notification.name()) {
            matching.push_back(observer);
        }
    }
    for (const Observer& observer : matching) {
        if (isRegistered(observer.id)) {
            observer.callback(notification);
        }
    }
}

void NotificationCenter::postNotification(const QString& name, const void* object,
                                          Notification::UserInfo userInfo) {
    postNotification(Notification(name, object, std::move(userInfo)));
}

int NotificationCenter::observerCount(const void* owner) const {
    return static_cast<int>(
        std::count_if(m_observers.begin(), m_observers.end(),
                      [owner](const Observer& observer) { return observer.owner == owner; }));
}
