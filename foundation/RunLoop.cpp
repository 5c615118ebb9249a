#include "foundation/RunLoop.h"

#include "foundation/QtRunLoop.h"

#include <mutex>
#include <utility>

namespace {

std::mutex g_mainMutex;
std::shared_ptr<RunLoop> g_main;

} // namespace

RunLoop& RunLoop::main() {
    std::lock_guard lock(g_mainMutex);
    if (!g_main) {
        g_main = std::make_shared<QtRunLoop>();
    }
    return *g_main;
}

void RunLoop::setMain(std::shared_ptr<RunLoop> runLoop) {
    std::shared_ptr<RunLoop> previous;
    {
        std::lock_guard lock(g_mainMutex);
        previous = std::exchange(g_main, std::move(runLoop));
    }
    // The previous loop is destroyed outside the lock: its destructor may use the main loop.
}
