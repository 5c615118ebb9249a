#pragma once

#include "kit/Notification.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// Delivers named notifications to the observers registered for the name, in the order they were
// added. Observers are grouped by an owner token (usually the observing object's address), by
// which they are removed. Main thread only. An observer removed while a notification is being
// posted is not called afterwards, and one added meanwhile waits for the next post.
class NotificationCenter {
public:
    using Callback = std::function<void(const Notification&)>;

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    static NotificationCenter& defaultCenter();

    // An empty name observes every notification.
    void addObserver(const void* owner, const QString& name, Callback callback);
    // Removes every observer of the owner, or those of the owner for one name.
    void removeObserver(const void* owner);
    void removeObserver(const void* owner, const QString& name);

    void postNotification(const Notification& notification);
    void postNotification(const QString& name, const void* object = nullptr,
                          Notification::UserInfo userInfo = {});

    // The number of observers of the owner.
    int observerCount(const void* owner) const;

private:
    struct Observer {
        std::uint64_t id;
        const void* owner;
        QString name;
        Callback callback;
    };

    bool isRegistered(std::uint64_t id) const;

    std::vector<Observer> m_observers;
    std::uint64_t m_nextId = 1;
};
