#include "foundation/DispatchQueue.h"

#include "foundation/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

std::atomic<DispatchQueue::Mode> g_globalMode{DispatchQueue::Mode::Threads};

// How long a waiting main thread sleeps between turns of serving posted tasks.
constexpr std::chrono::milliseconds mainThreadWaitSlice{2};

// Calls a function when the last copy of a posted task is destroyed, whether the task ran or
// was dropped unrun with its run loop, so that nobody waits for it forever.
class Release {
public:
    explicit Release(std::function<void()> onRelease) : m_onRelease(std::move(onRelease)) {}
    ~Release() { m_onRelease(); }

    Release(const Release&) = delete;
    Release& operator=(const Release&) = delete;

private:
    std::function<void()> m_onRelease;
};

bool onMainThread() {
    return RunLoop::main().isMainThread();
}

} // namespace

class DispatchQueue::Pool {
public:
    void submit(std::function<void()> task) {
        {
            std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(task));
            startThreadsIfNeeded();
        }
        m_workAvailable.notify_one();
    }

    bool isIdle() const {
        std::lock_guard lock(m_mutex);
        return idleLocked();
    }

    void waitUntilIdle() {
        if (!onMainThread()) {
            std::unique_lock lock(m_mutex);
            m_becameIdle.wait(lock, [this] { return idleLocked(); });
            return;
        }
        for (;;) {
            RunLoop::main().runPostedTasks();
            std::unique_lock lock(m_mutex);
            if (m_becameIdle.wait_for(lock, mainThreadWaitSlice, [this] { return idleLocked(); })) {
                return;
            }
        }
    }

private:
    bool idleLocked() const { return m_tasks.empty() && m_running == 0; }

    void startThreadsIfNeeded() {
        if (m_threadCount > 0) {
            return;
        }
        m_threadCount = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 2U, 4U));
        for (int index = 0; index < m_threadCount; ++index) {
            // Detached and never stopped: the pool lives as long as the process, and a task
            // still blocked at exit must not hold the exit up.
            std::thread([this] { work(); }).detach();
        }
    }

    void work() {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock lock(m_mutex);
                m_workAvailable.wait(lock, [this] { return !m_tasks.empty(); });
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
                ++m_running;
            }
            task();
            task = nullptr;
            bool idle = false;
            {
                std::lock_guard lock(m_mutex);
                --m_running;
                idle = idleLocked();
            }
            if (idle) {
                m_becameIdle.notify_all();
            }
        }
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_workAvailable;
    std::condition_variable m_becameIdle;
    std::deque<std::function<void()>> m_tasks;
    int m_running = 0;
    int m_threadCount = 0;
};

DispatchQueue::DispatchQueue(Pool* pool) : m_pool(pool) {}

// Both queues are never destroyed, so that background threads may use them until the very end.
DispatchQueue& DispatchQueue::main() {
    static auto* const queue = new DispatchQueue(nullptr);
    return *queue;
}

DispatchQueue& DispatchQueue::global() {
    static auto* const queue = new DispatchQueue(new Pool);
    return *queue;
}

void DispatchQueue::setGlobalMode(Mode mode) {
    global().waitUntilIdle();
    g_globalMode.store(mode);
}

DispatchQueue::Mode DispatchQueue::globalMode() {
    return g_globalMode.load();
}

void DispatchQueue::async(std::function<void()> task) {
    if (m_pool) {
        if (g_globalMode.load() == Mode::Inline) {
            task();
        } else {
            m_pool->submit(std::move(task));
        }
        return;
    }
    m_pending.fetch_add(1);
    auto release = std::make_shared<Release>([this] { m_pending.fetch_sub(1); });
    RunLoop::main().post([task = std::move(task), release] { task(); });
}

void DispatchQueue::sync(std::function<void()> task) {
    if (m_pool || onMainThread()) {
        task();
        return;
    }
    struct Completion {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
    };
    auto completion = std::make_shared<Completion>();
    {
        auto release = std::make_shared<Release>([completion] {
            {
                std::lock_guard lock(completion->mutex);
                completion->done = true;
            }
            completion->finished.notify_all();
        });
        async([task = std::move(task), release] { task(); });
    }
    std::unique_lock lock(completion->mutex);
    completion->finished.wait(lock, [&completion] { return completion->done; });
}

void DispatchQueue::waitUntilIdle() {
    if (m_pool) {
        m_pool->waitUntilIdle();
        return;
    }
    if (!onMainThread()) {
        // The main loop runs posted tasks in order, so an empty task posted now runs last.
        sync([] {});
        return;
    }
    while (m_pending.load() > 0) {
        RunLoop::main().runPostedTasks();
    }
}

bool DispatchQueue::isIdle() const {
    return m_pool ? m_pool->isIdle() : m_pending.load() == 0;
}
