#pragma once

#include <memory>

// Base of every object that registers on the event bus. Its destructor removes all of its
// registrations, so a receiver that forgets to unregister cannot be called after it is gone,
// not even by a dispatch that is running while it is destroyed.
class BusReceiver {
public:
    BusReceiver() = default;
    BusReceiver(const BusReceiver&) : BusReceiver() {}
    BusReceiver& operator=(const BusReceiver&) { return *this; }
    virtual ~BusReceiver();

    // Shared with the bus's registrations; expires with the receiver.
    std::weak_ptr<void> lifetimeToken() const { return m_lifetimeToken; }

private:
    std::shared_ptr<void> m_lifetimeToken = std::make_shared<char>(0);
};
