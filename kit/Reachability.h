#pragma once

#include <memory>

// Whether the internet can be reached, as far as the system knows. The answer is read without
// waiting, from any thread. The application uses the network's; tests put in their own.
class Reachability {
public:
    enum class Status {
        // The system cannot tell.
        Unknown,
        NotReachable,
        Reachable,
    };

    virtual ~Reachability() = default;

    virtual Status status() const = 0;
    // True only when the internet is known to be reachable.
    bool isReachable() const { return status() == Status::Reachable; }

    // The reachability in use: the network's unless one was set. The first call must come from
    // the main thread, which sets the network's up.
    static Reachability& shared();
    // Replaces it; none goes back to the network's. Main thread only.
    static void setShared(std::shared_ptr<Reachability> reachability);
};
