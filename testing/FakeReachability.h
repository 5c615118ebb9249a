#pragma once

#include "kit/Reachability.h"

#include <atomic>

// A reachability that answers what it is told, for tests and for running without a network.
class FakeReachability final : public Reachability {
public:
    explicit FakeReachability(Status status = Status::Reachable) : m_status(status) {}

    Status status() const override { return m_status.load(); }
    void setStatus(Status status) { m_status.store(status); }

private:
    std::atomic<Status> m_status;
};
