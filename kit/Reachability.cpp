#include "kit/Reachability.h"

#include "kit/NetworkReachability.h"

#include <mutex>

namespace {

std::mutex& lock() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<Reachability>& currentReachability() {
    static std::shared_ptr<Reachability> reachability;
    return reachability;
}

} // namespace

Reachability& Reachability::shared() {
    const std::lock_guard guard(lock());
    auto& reachability = currentReachability();
    if (!reachability) {
        reachability = std::make_shared<NetworkReachability>();
    }
    return *reachability;
}

void Reachability::setShared(std::shared_ptr<Reachability> reachability) {
    const std::lock_guard guard(lock());
    currentReachability() = std::move(reachability);
}
