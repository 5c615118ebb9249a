#pragma once

#include "kit/Reachability.h"

#include <atomic>
#include <memory>

class QObject;

// Reachability from the system's network information. It follows the reports of the system on
// the main thread and keeps the last answer, so that reading it never blocks and works from any
// thread. Without network information the answer is Unknown. Made on the main thread.
class NetworkReachability final : public Reachability {
public:
    NetworkReachability();
    ~NetworkReachability() override;

    Status status() const override { return m_status.load(); }

private:
    std::atomic<Status> m_status{Status::Unknown};
    // The receiver of the system's reports, gone with this object.
    std::unique_ptr<QObject> m_receiver;
};
