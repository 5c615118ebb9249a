#include "foundation/RunLoop.h"

#include "foundation/QtRunLoop.h"

#include <mutex>
#include <utility>

namespace {

struct MainRunLoop {
    std::mutex mutex;
    std::shared_ptr<RunLoop> runLoop;
    std::uint64_t generation = 0;
};

// Never destroyed: background threads may still post while the process exits, and the Qt
// objects of the loop must not be torn down after Qt's own globals.
MainRunLoop& mainRunLoop() {
    static auto* const holder = new MainRunLoop;
    return *holder;
}

} // namespace

RunLoop& RunLoop::main() {
    MainRunLoop& holder = mainRunLoop();
    std::lock_guard lock(holder.mutex);
    if (!holder.runLoop) {
        holder.runLoop = std::make_shared<QtRunLoop>();
    }
    return *holder.runLoop;
}

std::uint64_t RunLoop::mainGeneration() {
    MainRunLoop& holder = mainRunLoop();
    std::lock_guard lock(holder.mutex);
    return holder.generation;
}

void RunLoop::setMain(std::shared_ptr<RunLoop> runLoop) {
    MainRunLoop& holder = mainRunLoop();
    std::shared_ptr<RunLoop> previous;
    {
        std::lock_guard lock(holder.mutex);
        previous = std::exchange(holder.runLoop, std::move(runLoop));
        ++holder.generation;
    }
    // The previous loop is destroyed outside the lock: its destructor may use the main loop.
}
