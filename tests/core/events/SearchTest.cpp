#include "EventsTestSupport.h"
#include "core/calendar/Day.h"
#include "core/events/SearchEventRequest.h"
#include "core/events/SearchResults.h"
#include "core/events/SearchService.h"
#include "core/events/SearchServiceCallback.h"
#include "core/eventstore/EKEvent.h"
#include "core/settings/AppSettings.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// Remembers the answers, in the order delivered, with the thread they arrived on.
class CallbackSpy final : public SearchServiceCallback {
public:
    void eventFound(const std::optional<SearchResult>& result) override {
        answers.push_back(result);
        onMainThread = onMainThread && RunLoop::main().isMainThread();
    }

    std::vector<std::optional<SearchResult>> answers;
    bool onMainThread = true;
};

std::shared_ptr<EKEvent> unsavedEvent(const QString& title, const QString& location) {
    auto event = std::make_shared<EKEvent>();
    event->setTitle(title);
    event->setLocation(location);
    return event;
}

// Steps are run directly (previousOrNext) unless a test goes through the service.
class SearchTest : public EventsTest {
protected:
    void SetUp() override {
        EventsTest::SetUp();
        m_search = std::make_unique<SearchService>(service());
        SearchResults& results = m_search->searchResults();
        results.toFindEvents = [this](Date from, Date to) {
            m_queries.fetch_add(1);
            return service().synchronousFindEventsFromDateTime(from, to);
        };
    }

    void TearDown() override {
        DispatchQueue::global().waitUntilIdle();
        m_search.reset();
        EventsTest::TearDown();
    }

    SearchResults& results() { return m_search->searchResults(); }

    // One step forwards or backwards with the query, on the calling thread.
    std::optional<SearchResult> step(const QString& query, bool previous = false) {
        results().setQuery(query);
        return results().previousOrNext(previous);
    }

    // The day of a result's start, as "2024-03-14", or "none".
    static std::string dayOf(const std::optional<SearchResult>& result) {
        return result ? DateUtilities::day(result->dateTime()).description().toStdString() : "none";
    }

    std::unique_ptr<SearchService> m_search;
    std::atomic<int> m_queries{0};
};

} // namespace

TEST(SearchMatching, EveryWordMustOccurInTitleOrLocationIgnoringCase) {
    const auto event = unsavedEvent("Team MEETING", "Room Berlin");
    EXPECT_TRUE(SearchResults::matchesQuery(*event, "meeting berlin"));
    EXPECT_TRUE(SearchResults::matchesQuery(*event, "TEAM"));
    EXPECT_TRUE(SearchResults::matchesQuery(*event, "eet"));
    EXPECT_FALSE(SearchResults::matchesQuery(*unsavedEvent("Team MEETING", QString()), "meeting berlin"));
    EXPECT_FALSE(SearchResults::matchesQuery(*event, "meeting paris"));
}

TEST(SearchMatching, EmptyWordsFindNothing) {
    const auto event = unsavedEvent("Team meeting", "Berlin");
    EXPECT_FALSE(SearchResults::matchesQuery(*event, "team  meeting"));
    EXPECT_FALSE(SearchResults::matchesQuery(*event, " team"));
    EXPECT_FALSE(SearchResults::matchesQuery(*event, "team "));
    EXPECT_FALSE(SearchResults::matchesQuery(*event, ""));
}

TEST(SearchMatching, NotesAreNotSearchedAndMissingFieldsNeverMatch) {
    auto event = unsavedEvent(QString(), QString());
    event->setNotes("secret plan");
    EXPECT_FALSE(SearchResults::matchesQuery(*event, "secret"));
    EXPECT_TRUE(SearchResults::matchesQuery(*unsavedEvent("Ärger über Öl", QString()), "ÖL ärger"));
}

TEST_F(SearchTest, ForwardFromTheCurrentWeekStartsAtTodayBackwardEndsAtToday) {
    addEvent("Yoga", local(2024, 3, 11, 18, 0), local(2024, 3, 11, 19, 0));
    addEvent("Yoga", local(2024, 3, 12, 18, 0), local(2024, 3, 12, 19, 0));
    addEvent("Yoga", local(2024, 3, 14, 18, 0), local(2024, 3, 14, 19, 0));
    addEvent("Yoga", local(2024, 3, 18, 18, 0), local(2024, 3, 18, 19, 0));
    EXPECT_EQ(dayOf(step("yoga")), "2024-03-14");
    EXPECT_EQ(dayOf(step("yoga")), "2024-03-18");

    m_search->stopSearch();
    m_search->setWeek(Week::currentWeek());
    EXPECT_EQ(dayOf(step("yoga", true)), "2024-03-12");
    EXPECT_EQ(dayOf(step("yoga", true)), "2024-03-11");
}

TEST_F(SearchTest, ForwardFromAnotherWeekStartsAtItsFirstDay) {
    addEvent("Yoga", local(2024, 2, 28, 18, 0), local(2024, 2, 28, 19, 0));
    addEvent("Yoga", local(2024, 3, 11, 18, 0), local(2024, 3, 11, 19, 0));
    addEvent("Yoga", local(2024, 3, 14, 18, 0), local(2024, 3, 14, 19, 0));
    m_search->setWeek(Week(local(2024, 3, 4)));
    EXPECT_EQ(dayOf(step("yoga")), "2024-03-11");
    EXPECT_EQ(dayOf(step("yoga")), "2024-03-14");
    // A change of week keeps the results and walks them from the new week.
    m_search->setWeek(Week(local(2024, 3, 4)));
    EXPECT_EQ(dayOf(step("yoga", true)), "2024-02-28");
}

TEST_F(SearchTest, WeekChangeStartsTheWalkFromThatWeekWithoutAStoreQuery) {
    addEvent("Yoga", local(2024, 3, 14, 18, 0), local(2024, 3, 14, 19, 0));
    addEvent("Yoga", local(2024, 4, 15, 18, 0), local(2024, 4, 15, 19, 0));
    addEvent("Yoga", local(2024, 5, 20, 18, 0), local(2024, 5, 20, 19, 0));
    EXPECT_EQ(dayOf(step("yoga")), "2024-03-14");
    const int queries = m_queries.load();
    m_search->setWeek(Week(local(2024, 4, 22)));
    EXPECT_TRUE(m_search->searchResults().hasPreviousOrNext(false));
    EXPECT_EQ(dayOf(step("yoga")), "2024-05-20");
    EXPECT_EQ(m_queries.load(), queries);
}

TEST_F(SearchTest, NoMatchWithinThreeWindowsAnswersNothingAndThenAsksTheStoreNoMore) {
    addEvent("Dentist", DateUtilities::addWeeks(local(2024, 3, 11, 9, 0), 235),
             DateUtilities::addWeeks(local(2024, 3, 11, 10, 0), 235));
    EXPECT_EQ(dayOf(step("dentist")), "none");
    EXPECT_EQ(m_queries.load(), 3);
    EXPECT_TRUE(results().nothingFoundAfterLast());
    EXPECT_EQ(results().nothingFoundCount(), 0);
    EXPECT_EQ(results().rangeTo(), DateUtilities::addWeeks(local(2024, 3, 11), 234));
    EXPECT_EQ(dayOf(step("dentist")), "none");
    EXPECT_EQ(m_queries.load(), 3);
}

TEST_F(SearchTest, MatchInTheThirdWindowIsFound) {
    addEvent("Dentist", DateUtilities::addWeeks(local(2024, 3, 11, 9, 0), 200),
             DateUtilities::addWeeks(local(2024, 3, 11, 10, 0), 200));
    EXPECT_EQ(dayOf(step("dentist")), "2028-01-10");
    EXPECT_EQ(m_queries.load(), 3);
    EXPECT_FALSE(results().nothingFoundAfterLast());
}

TEST_F(SearchTest, BackwardScansWindowsBeforeTheWeek) {
    addEvent("Exam", local(2023, 1, 10, 9, 0), local(2023, 1, 10, 12, 0));
    EXPECT_EQ(dayOf(step("exam", true)), "2023-01-10");
    EXPECT_EQ(m_queries.load(), 1);
    EXPECT_EQ(results().rangeFrom(),
              DateUtilities::addWeeks(Week::currentWeek().lastDay().endDateTime(), -78));
    EXPECT_EQ(dayOf(step("exam", true)), "none");
    EXPECT_EQ(m_queries.load(), 4);
    EXPECT_TRUE(results().nothingFoundBeforeFirst());
}

TEST_F(SearchTest, DailyRepeatingEventGivesOneResultPerOccurrenceInDateOrder) {
    std::shared_ptr<EKEvent> standUp = EKEvent::eventWithEventStore(store());
    standUp->setTitle("Stand-up");
    standUp->setStartDate(local(2024, 3, 13, 8, 0));
    standUp->setEndDate(local(2024, 3, 13, 8, 15));
    standUp->setCalendar(defaultCalendar());
    standUp->setRecurrenceRule(EKRecurrenceRule(EKRecurrenceFrequency::Daily, 1,
                                                EKRecurrenceEnd::recurrenceEndWithOccurrenceCount(5)));
    StoreError error;
    ASSERT_TRUE(store().saveEvent(standUp, EKSpan::ThisEvent, &error));

    std::vector<std::string> days;
    for (int index = 0; index < 5; ++index) {
        const std::optional<SearchResult> result = step("stand");
        ASSERT_TRUE(result);
        EXPECT_EQ(result->eventIdentifier(), standUp->eventIdentifier());
        days.push_back(dayOf(result));
    }
    EXPECT_EQ(days, (std::vector<std::string>{"2024-03-13", "2024-03-14", "2024-03-15", "2024-03-16",
                                              "2024-03-17"}));
    EXPECT_EQ(results().searchResults().size(), 5U);
    EXPECT_EQ(results().searchResultEventIds().size(), 5);
    EXPECT_EQ(dayOf(step("stand")), "none");
    EXPECT_EQ(dayOf(step("stand", true)), "2024-03-16");
    EXPECT_TRUE(m_search->containsEvent(*standUp));
    EXPECT_FALSE(m_search->containsEvent(*unsavedEvent("Stand-up", QString())));
}

TEST_F(SearchTest, NothingIsFoundWithoutVisibleCalendars) {
    addEvent("Yoga", local(2024, 3, 14, 18, 0), local(2024, 3, 14, 19, 0));
    AppSettings::instance().storeHiddenCalendars(store().calendars());
    EXPECT_EQ(dayOf(step("yoga")), "none");
    EXPECT_EQ(dayOf(step("yoga", true)), "none");
    EXPECT_TRUE(results().searchResults().empty());
}

TEST_F(SearchTest, OccurrenceAcrossAWindowBoundaryIsVisitedOnce) {
    const Date boundary = DateUtilities::addWeeks(local(2024, 3, 11), 78);
    addEvent("Night shift", boundary.addingTimeInterval(-7200.0), boundary.addingTimeInterval(7200.0));
    EXPECT_EQ(dayOf(step("shift")),
              DateUtilities::day(boundary.addingTimeInterval(-7200.0)).description().toStdString());
    EXPECT_EQ(dayOf(step("shift")), "none");
    EXPECT_EQ(results().searchResults().size(), 1U);
    EXPECT_EQ(dayOf(step("shift", true)), "none");
}

TEST_F(SearchTest, ImmediateAnswerTellsWhetherAKnownResultLiesInThatDirection) {
    addEvent("Yoga", local(2024, 3, 14, 18, 0), local(2024, 3, 14, 19, 0));
    addEvent("Yoga", local(2024, 3, 15, 18, 0), local(2024, 3, 15, 19, 0));
    EXPECT_FALSE(results().hasPreviousOrNext(false));
    EXPECT_FALSE(results().hasPreviousOrNext(true));
    EXPECT_EQ(dayOf(step("yoga")), "2024-03-14");
    EXPECT_TRUE(results().hasPreviousOrNext(false));
    EXPECT_FALSE(results().hasPreviousOrNext(true));
    EXPECT_EQ(dayOf(step("yoga")), "2024-03-15");
    EXPECT_FALSE(results().hasPreviousOrNext(false));
    EXPECT_TRUE(results().hasPreviousOrNext(true));
    m_search->setWeek(Week::currentWeek());
    EXPECT_TRUE(results().hasPreviousOrNext(false));
    EXPECT_TRUE(results().hasPreviousOrNext(true));
    m_search->stopSearch();
    EXPECT_FALSE(results().hasPreviousOrNext(false));
    EXPECT_TRUE(results().firstSearch());
    EXPECT_FALSE(results().rangeFrom());
}

TEST_F(SearchTest, AddingAWindowThatDoesNotAdjoinTheKnownSpanStartsAfresh) {
    const auto first = addEvent("A", local(2024, 3, 14, 9, 0), local(2024, 3, 14, 10, 0));
    const auto second = addEvent("B", local(2025, 3, 14, 9, 0), local(2025, 3, 14, 10, 0));
    results().addResults({first}, local(2024, 3, 1), local(2024, 4, 1, 12, 0));
    results().addResults({second}, local(2024, 4, 1), local(2025, 4, 1));
    EXPECT_EQ(results().searchResults().size(), 2U);
    EXPECT_EQ(results().rangeTo(), local(2025, 4, 1));
    results().addResults({}, local(2023, 1, 1), local(2024, 3, 1, 8, 0));
    EXPECT_EQ(results().rangeFrom(), local(2023, 1, 1));
    EXPECT_EQ(results().searchResults().size(), 2U);
    results().addResults({first}, local(2030, 1, 1), local(2030, 2, 1));
    EXPECT_EQ(results().searchResults().size(), 1U);
    EXPECT_EQ(results().rangeFrom(), local(2030, 1, 1));
    EXPECT_EQ(results().searchResultEventIds(), QStringList{first->eventIdentifier()});
}

TEST_F(SearchTest, ServiceRunsTheStepInTheBackgroundAndAnswersOnTheMainThread) {
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
    addEvent("Yoga", local(2024, 3, 14, 18, 0), local(2024, 3, 14, 19, 0));
    addEvent("Yoga", local(2024, 3, 21, 18, 0), local(2024, 3, 21, 19, 0));
    auto callback = std::make_shared<CallbackSpy>();
    EXPECT_FALSE(m_search->findNext("yoga", callback));
    ASSERT_TRUE(m_loop->runUntil([&] { return callback->answers.size() == 1; }));
    EXPECT_EQ(dayOf(callback->answers[0]), "2024-03-14");
    EXPECT_EQ(results().query(), "yoga");

    EXPECT_TRUE(m_search->findNext("yoga", callback));
    ASSERT_TRUE(m_loop->runUntil([&] { return callback->answers.size() == 2; }));
    EXPECT_EQ(dayOf(callback->answers[1]), "2024-03-21");
    EXPECT_TRUE(m_search->findPrevious("yoga", callback));
    ASSERT_TRUE(m_loop->runUntil([&] { return callback->answers.size() == 3; }));
    EXPECT_EQ(dayOf(callback->answers[2]), "2024-03-14");
    EXPECT_TRUE(callback->onMainThread);
}

TEST_F(SearchTest, RequestHandsTheAnswerToItsCallback) {
    auto callback = std::make_shared<CallbackSpy>();
    SearchEventRequest request("q", true, callback);
    EXPECT_TRUE(request.previous());
    request.callCallback(SearchResult("id", local(2024, 3, 1)));
    request.callCallback(std::nullopt);
    ASSERT_EQ(callback->answers.size(), 2U);
    EXPECT_EQ(callback->answers[0]->eventIdentifier(), "id");
    EXPECT_FALSE(callback->answers[1]);
}

namespace {

// Holds a step inside its store query until the test lets it go.
class Gate {
public:
    void waitUntilOpened() {
        std::unique_lock lock(m_mutex);
        m_entered = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
    }
    bool entered() {
        std::lock_guard lock(m_mutex);
        return m_entered;
    }
    void open() {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_entered = false;
    bool m_open = false;
};

} // namespace

TEST_F(SearchTest, StopDuringAStoreQueryDiscardsTheStepsFindings) {
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
    addEvent("Yoga", local(2024, 3, 14, 18, 0), local(2024, 3, 14, 19, 0));
    auto gate = std::make_shared<Gate>();
    results().toFindEvents = [this, gate](Date from, Date to) {
        gate->waitUntilOpened();
        return service().synchronousFindEventsFromDateTime(from, to);
    };
    auto callback = std::make_shared<CallbackSpy>();
    EXPECT_FALSE(m_search->findNext("yoga", callback));
    ASSERT_TRUE(m_loop->runUntil([&] { return gate->entered(); }));

    const auto yoga = unsavedEvent("Yoga", QString());
    EXPECT_FALSE(m_search->containsEvent(*yoga));
    m_search->setWeek(Week(local(2024, 3, 4)));
    m_search->stopSearch();
    gate->open();
    ASSERT_TRUE(m_loop->runUntil([&] { return callback->answers.size() == 1; }));
    EXPECT_FALSE(callback->answers[0]);
    EXPECT_TRUE(results().searchResults().empty());
    EXPECT_FALSE(results().rangeTo());
    EXPECT_TRUE(results().firstSearch());
}

TEST_F(SearchTest, WeekChangeDuringAStoreQueryTakesEffectForTheWalk) {
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
    addEvent("Yoga", local(2024, 3, 14, 18, 0), local(2024, 3, 14, 19, 0));
    addEvent("Yoga", local(2024, 4, 18, 18, 0), local(2024, 4, 18, 19, 0));
    auto gate = std::make_shared<Gate>();
    results().toFindEvents = [this, gate](Date from, Date to) {
        gate->waitUntilOpened();
        return service().synchronousFindEventsFromDateTime(from, to);
    };
    auto callback = std::make_shared<CallbackSpy>();
    m_search->findNext("yoga", callback);
    ASSERT_TRUE(m_loop->runUntil([&] { return gate->entered(); }));
    m_search->setWeek(Week(local(2024, 4, 15)));
    gate->open();
    ASSERT_TRUE(m_loop->runUntil([&] { return callback->answers.size() == 1; }));
    EXPECT_EQ(dayOf(callback->answers[0]), "2024-04-18");
    EXPECT_EQ(results().searchResults().size(), 2U);
}

TEST_F(SearchTest, MainThreadMayReadAndChangeTheStateWhileStepsRun) {
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
    std::shared_ptr<EKEvent> daily = EKEvent::eventWithEventStore(store());
    daily->setTitle("Walk");
    daily->setStartDate(local(2024, 3, 13, 7, 0));
    daily->setEndDate(local(2024, 3, 13, 7, 30));
    daily->setCalendar(defaultCalendar());
    daily->setRecurrenceRule(EKRecurrenceRule(EKRecurrenceFrequency::Daily, 3,
                                              EKRecurrenceEnd::recurrenceEndWithOccurrenceCount(40)));
    StoreError error;
    ASSERT_TRUE(store().saveEvent(daily, EKSpan::ThisEvent, &error));

    auto callback = std::make_shared<CallbackSpy>();
    int checks = 0;
    for (int round = 0; round < 30; ++round) {
        const bool backwards = round % 5 == 4;
        if (round % 10 == 9) {
            m_search->stopSearch();
        }
        backwards ? m_search->findPrevious("walk", callback) : m_search->findNext("walk", callback);
        const std::size_t expected = static_cast<std::size_t>(round) + 1;
        ASSERT_TRUE(m_loop->runUntil([&] {
            // Everything the week screen may ask while a step runs.
            m_search->containsEvent(*daily);
            m_search->searchResults().hasPreviousOrNext(backwards);
            m_search->setWeek(Week::currentWeek());
            ++checks;
            return callback->answers.size() == expected;
        }));
    }
    EXPECT_GT(checks, 0);
    // The known results stay sorted and free of repeats whatever interleaving happened.
    const std::vector<SearchResult> known = results().searchResults();
    for (std::size_t index = 1; index < known.size(); ++index) {
        EXPECT_LT(known[index - 1].dateTime(), known[index].dateTime());
    }
    EXPECT_EQ(static_cast<std::size_t>(results().searchResultEventIds().size()), known.size());
}
