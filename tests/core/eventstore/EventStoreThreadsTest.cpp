#include "EventStoreTestSupport.h"

#include <atomic>
#include <thread>

namespace {

using EventStoreThreadsTest = EventStoreTest;

// Background threads read while the main thread writes; run under ThreadSanitizer as well.
TEST_F(EventStoreThreadsTest, ReadsOnFourThreadsBesideMainThreadWrites) {
    saved(QStringLiteral("Daily"), at(2024, 1, 1, 8), at(2024, 1, 1, 9), rule("FREQ=DAILY"));
    saved(QStringLiteral("Weekly"), at(2024, 1, 2, 12), at(2024, 1, 2, 13), rule("FREQ=WEEKLY;BYDAY=TU,TH"));
    const Date weekStart = at(2024, 6, 3);
    const Date weekEnd = at(2024, 6, 10);
    const auto calendars = store().calendars();
    EKEventStore& shared = store();

    std::atomic<bool> stop{false};
    std::atomic<int> failures{0};
    std::atomic<int> reads{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i) {
        readers.emplace_back([&, i] {
            while (!stop.load()) {
                const auto events =
                    shared.eventsMatchingPredicate(shared.predicateForEvents(weekStart, weekEnd, calendars));
                int daily = 0;
                int weekly = 0;
                for (const auto& event : events) {
                    if (!event->calendar() || event->eventIdentifier().isEmpty()) {
                        ++failures;
                    }
                    daily += event->title() == QStringLiteral("Daily") ? 1 : 0;
                    weekly += event->title() == QStringLiteral("Weekly") ? 1 : 0;
                    // Each reader changes its own objects freely.
                    event->setTitle(QStringLiteral("seen by %1").arg(i));
                }
                if (daily != 7 || weekly != 2) {
                    ++failures;
                }
                if (shared.calendars().empty() || !shared.defaultCalendarForNewEvents()) {
                    ++failures;
                }
                ++reads;
            }
        });
    }
    std::vector<std::shared_ptr<EKEvent>> written;
    for (int i = 0; i < 40; ++i) {
        written.push_back(saved(QStringLiteral("Write %1").arg(i), weekStart.addingTimeInterval(3600.0 * i),
                                weekStart.addingTimeInterval(3600.0 * i + 1800)));
        if (i % 3 == 0) {
            store().removeEvent(written[static_cast<std::size_t>(i / 2)], EKSpan::ThisEvent, nullptr);
        }
        m_loop->runUntilIdle();
    }
    while (reads.load() < 20) {
        std::this_thread::yield();
    }
    stop = true;
    for (std::thread& reader : readers) {
        reader.join();
    }
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(query(weekStart, weekEnd).size(), 7u + 2u + 40u - 14u);
}

} // namespace
