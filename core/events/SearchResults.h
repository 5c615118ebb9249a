#pragma once

#include "core/calendar/Week.h"
#include "core/events/EventList.h"
#include "core/events/SearchResult.h"
#include "foundation/Date.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class EKEvent;
class EventService;

// The state of one search: the results found so far, the span of time already scanned, the week
// a step starts from and the result last handed out.
//
// A step runs on a background thread while the main thread may change the week, stop the search
// or ask containsEvent. Every operation takes the lock, and a step holds it except during its
// store queries. A stop (reset) during a query makes the step discard what it found and answer
// nothing, since its results belong to a search that is over.
class SearchResults {
public:
    static constexpr int windowWeeks = 78;
    // Empty windows scanned in a row before a step gives up, after the first one.
    static constexpr int maximumNothingFoundCount = 2;

    explicit SearchResults(EventService& eventService);

    SearchResults(const SearchResults&) = delete;
    SearchResults& operator=(const SearchResults&) = delete;

    // Forgets everything found; the next step starts a new search.
    void reset();
    // The week a step starts from; the next step walks the known results from there.
    void setWeek(const Week& week);
    // True when the event's identifier is among the results.
    bool containsEvent(const EKEvent& event) const;
    // True when a known result lies in that direction, so a step needs no store query.
    bool hasPreviousOrNext(bool previous) const;

    // One step (background thread): the next known result in that direction, or else the next
    // one found by scanning the store further; nothing when there is none.
    std::optional<SearchResult> previousOrNext(bool previous);
    // The next known result from `current`, or from the current week when there is none.
    std::optional<SearchResult> iterate(bool previous);
    // Scans windows of 78 weeks beyond the known span until one holds a match or three in a row
    // were empty.
    void findMoreResults(bool previous);
    // Adds the matches of a scanned window and extends the known span by it.
    void addResults(const std::vector<std::shared_ptr<EKEvent>>& matches, Date from, Date to);

    // True when every space-separated word of the query occurs in the title or the location,
    // ignoring case. An empty word never occurs.
    static bool matchesQuery(const EKEvent& event, const QString& query);
    bool matchesQuery(const EKEvent& event) const;

    // The store query of one window; by default the event service's
    // synchronousFindEventsFromDateTime. Set it before the first step.
    std::function<EventList(Date from, Date to)> toFindEvents;

    EventService& eventService() const { return *m_eventService; }
    // Copies taken under the lock.
    std::vector<SearchResult> searchResults() const;
    QStringList searchResultEventIds() const;
    std::optional<Date> rangeFrom() const;
    std::optional<Date> rangeTo() const;
    Week currentWeek() const;
    void setCurrentWeek(const Week& week);
    std::optional<SearchResult> current() const;
    void setCurrent(std::optional<SearchResult> current);
    QString query() const;
    void setQuery(QString query);
    bool nothingFoundAfterLast() const;
    bool nothingFoundBeforeFirst() const;
    int nothingFoundCount() const;
    bool firstSearch() const;

private:
    // The caller holds m_mutex.
    void resetLocked();
    std::optional<SearchResult> iterateLocked(bool previous);
    void addResultsLocked(const std::vector<std::shared_ptr<EKEvent>>& matches, Date from, Date to);
    std::optional<std::size_t> indexOfCurrentLocked() const;
    // False when the search was stopped meanwhile (the generation changed).
    bool findMoreResults(bool previous, std::unique_lock<std::mutex>& lock, std::uint64_t generation);

    EventService* m_eventService;

    mutable std::mutex m_mutex;
    // Counts the stops, so that a step can tell that the search it serves is over.
    std::uint64_t m_generation = 0;
    std::vector<SearchResult> m_searchResults;
    QStringList m_searchResultEventIds;
    std::optional<Date> m_rangeFrom;
    std::optional<Date> m_rangeTo;
    Week m_currentWeek;
    std::optional<SearchResult> m_current;
    QString m_query;
    bool m_nothingFoundAfterLast = false;
    bool m_nothingFoundBeforeFirst = false;
    int m_nothingFoundCount = 0;
    bool m_firstSearch = true;
};
