#pragma once

#include <atomic>
#include <functional>
#include <memory>

// Where work runs: the main queue runs tasks on the main run loop, the global queue on a small
// pool of background threads.
class DispatchQueue {
public:
    // How the global queue runs its tasks: on its threads, or at once in the submitting thread
    // (for tests that want background work to be deterministic).
    enum class Mode { Threads, Inline };

    static DispatchQueue& main();
    static DispatchQueue& global();

    // Waits until the global queue is idle, then switches it.
    static void setGlobalMode(Mode mode);
    static Mode globalMode();

    // Submits `task` and returns at once (in Inline mode the global queue runs it first).
    void async(std::function<void()> task);

    // Runs `task` on the queue and returns when it has finished. On the main queue from the
    // main thread, and on the global queue always, the task runs directly in the caller, as
    // waiting for the queue itself could never end.
    void sync(std::function<void()> task);

    // Returns when every task submitted before has finished (or was dropped with its run loop).
    // On the main thread the main loop's posted tasks keep running meanwhile, so background
    // tasks that hand results over with main().sync() cannot deadlock the wait. Never call it
    // on the global queue from one of its own tasks.
    void waitUntilIdle();

    // True when no task of this queue is waiting or running.
    bool isIdle() const;

    DispatchQueue(const DispatchQueue&) = delete;
    DispatchQueue& operator=(const DispatchQueue&) = delete;

private:
    class Pool;

    explicit DispatchQueue(Pool* pool);
    ~DispatchQueue() = default;

    // Null for the main queue.
    Pool* m_pool;
    // Tasks of the main queue posted and not yet run or dropped.
    std::atomic<int> m_pending{0};
};
