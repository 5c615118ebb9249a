#include "core/events/SearchResults.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEvent.h"

#include <algorithm>

SearchResults::SearchResults(EventService& eventService)
    : m_eventService(&eventService), m_currentWeek(Week::currentWeek()) {
    toFindEvents = [service = m_eventService](Date from, Date to) {
        return service->synchronousFindEventsFromDateTime(from, to);
    };
}

void SearchResults::reset() {
    std::lock_guard lock(m_mutex);
    resetLocked();
    ++m_generation;
}

void SearchResults::resetLocked() {
    m_searchResults.clear();
    m_searchResultEventIds.clear();
    m_rangeFrom.reset();
    m_rangeTo.reset();
    m_current.reset();
    m_nothingFoundAfterLast = false;
    m_nothingFoundBeforeFirst = false;
    m_nothingFoundCount = 0;
    m_firstSearch = true;
}

void SearchResults::setWeek(const Week& week) {
    std::lock_guard lock(m_mutex);
    m_currentWeek = week;
    m_current.reset();
}

bool SearchResults::containsEvent(const EKEvent& event) const {
    const QString identifier = event.eventIdentifier();
    std::lock_guard lock(m_mutex);
    return m_searchResultEventIds.contains(identifier);
}

std::optional<std::size_t> SearchResults::indexOfCurrentLocked() const {
    if (!m_current) {
        return std::nullopt;
    }
    const auto found = std::find(m_searchResults.begin(), m_searchResults.end(), *m_current);
    if (found == m_searchResults.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - m_searchResults.begin());
}

bool SearchResults::hasPreviousOrNext(bool previous) const {
    std::lock_guard lock(m_mutex);
    if (!m_current) {
        return !m_searchResults.empty();
    }
    const std::optional<std::size_t> index = indexOfCurrentLocked();
    if (!index) {
        return false;
    }
    return previous ? *index > 0 : *index + 1 < m_searchResults.size();
}

std::optional<SearchResult> SearchResults::previousOrNext(bool previous) {
    std::unique_lock lock(m_mutex);
    const std::uint64_t generation = m_generation;
    if (std::optional<SearchResult> known = iterateLocked(previous)) {
        return known;
    }
    if (previous ? m_nothingFoundBeforeFirst : m_nothingFoundAfterLast) {
        return std::nullopt;
    }
    if (!findMoreResults(previous, lock, generation)) {
        return std::nullopt;
    }
    return iterateLocked(previous);
}

std::optional<SearchResult> SearchResults::iterate(bool previous) {
    std::lock_guard lock(m_mutex);
    return iterateLocked(previous);
}

std::optional<SearchResult> SearchResults::iterateLocked(bool previous) {
    if (m_current) {
        const std::optional<std::size_t> index = indexOfCurrentLocked();
        if (!index || (previous ? *index == 0 : *index + 1 == m_searchResults.size())) {
            return std::nullopt;
        }
        m_current = m_searchResults[previous ? *index - 1 : *index + 1];
        return m_current;
    }
    if (m_searchResults.empty()) {
        m_firstSearch = false;
        return std::nullopt;
    }
    // The first step of a search made in the current week starts from today.
    const bool fromToday = m_firstSearch && m_currentWeek == Week::currentWeek();
    const Day today = Day::today();
    const auto taken = [this](const SearchResult& result) {
        m_current = result;
        m_firstSearch = false;
        return m_current;
    };
    if (previous) {
        const Date weekEnd = m_currentWeek.lastDay().endDateTime();
        for (auto entry = m_searchResults.rbegin(); entry != m_searchResults.rend(); ++entry) {
            if (fromToday && DateUtilities::day(entry->dateTime()).isLaterThan(today)) {
                continue;
            }
            if (entry->dateTime() <= weekEnd) {
                return taken(*entry);
            }
        }
    } else {
        const Date weekStart = m_currentWeek.firstDay().beginDateTime();
        for (const SearchResult& entry : m_searchResults) {
            if (fromToday && DateUtilities::day(entry.dateTime()).isEarlierThan(today)) {
                continue;
            }
            if (entry.dateTime() >= weekStart) {
                return taken(entry);
            }
        }
    }
    m_firstSearch = false;
    return std::nullopt;
}

void SearchResults::findMoreResults(bool previous) {
    std::unique_lock lock(m_mutex);
    findMoreResults(previous, lock, m_generation);
}

bool SearchResults::findMoreResults(bool previous, std::unique_lock<std::mutex>& lock,
                                    std::uint64_t generation) {
    for (;;) {
        if (m_generation != generation) {
            return false;
        }
        const std::optional<Date> range = previous ? m_rangeFrom : m_rangeTo;
        const Date anchor = range ? *range
                                  : (previous ? m_currentWeek.lastDay().endDateTime()
                                              : m_currentWeek.firstDay().beginDateTime());
        const Date from = previous ? DateUtilities::addWeeks(anchor, -windowWeeks) : anchor;
        const Date to = DateUtilities::addWeeks(from, windowWeeks);
        const QString query = m_query;

        // The store query runs without the lock, so that the main thread is not held up.
        lock.unlock();
        EventList events = toFindEvents(from, to);
        std::vector<std::shared_ptr<EKEvent>> matches;
        for (const std::shared_ptr<EKEvent>& event : events.array()) {
            if (matchesQuery(*event, query)) {
                matches.push_back(event);
            }
        }
        lock.lock();

        if (m_generation != generation) {
            return false;
        }
        (previous ? m_nothingFoundBeforeFirst : m_nothingFoundAfterLast) = matches.empty();
        addResultsLocked(matches, from, to);
        if (!matches.empty()) {
            m_nothingFoundCount = 0;
            return true;
        }
        if (m_nothingFoundCount >= maximumNothingFoundCount) {
            m_nothingFoundCount = 0;
            return true;
        }
        ++m_nothingFoundCount;
    }
}

void SearchResults::addResults(const std::vector<std::shared_ptr<EKEvent>>& matches, Date from, Date to) {
    std::lock_guard lock(m_mutex);
    addResultsLocked(matches, from, to);
}

void SearchResults::addResultsLocked(const std::vector<std::shared_ptr<EKEvent>>& matches, Date from,
                                     Date to) {
    if (m_rangeTo && DateUtilities::isEqualToDateIgnoreTime(*m_rangeTo, from)) {
        m_rangeTo = to;
    } else if (m_rangeFrom && DateUtilities::isEqualToDateIgnoreTime(*m_rangeFrom, to)) {
        m_rangeFrom = from;
    } else {
        resetLocked();
        m_rangeFrom = from;
        m_rangeTo = to;
    }
    for (const std::shared_ptr<EKEvent>& match : matches) {
        SearchResult result(match->eventIdentifier(), match->startDate());
        // An occurrence that runs across the boundary of two windows is found by both; kept
        // twice, stepping would show it twice in a row.
        if (std::find(m_searchResults.begin(), m_searchResults.end(), result) != m_searchResults.end()) {
            continue;
        }
        m_searchResultEventIds.append(result.eventIdentifier());
        m_searchResults.push_back(std::move(result));
    }
    std::stable_sort(
        m_searchResults.begin(), m_searchResults.end(),
        [](const SearchResult& a, const SearchResult& b) { return a.dateTime() < b.dateTime(); });
}

bool SearchResults::matchesQuery(const EKEvent& event, const QString& query) {
    const QString title = event.title().toLower();
    const QString location = event.location().toLower();
    for (const QString& word : query.split(QLatin1Char(' '), Qt::KeepEmptyParts)) {
        const QString lowerWord = word.toLower();
        if (lowerWord.isEmpty()) {
            return false;
        }
        const bool found = (!title.isEmpty() && title.contains(lowerWord)) ||
                           (!location.isEmpty() && location.contains(lowerWord));
        if (!found) {
            return false;
        }
    }
    return true;
}

bool SearchResults::matchesQuery(const EKEvent& event) const {
    return matchesQuery(event, query());
}

std::vector<SearchResult> SearchResults::searchResults() const {
    std::lock_guard lock(m_mutex);
    return m_searchResults;
}

QStringList SearchResults::searchResultEventIds() const {
    std::lock_guard lock(m_mutex);
    return m_searchResultEventIds;
}

std::optional<Date> SearchResults::rangeFrom() const {
    std::lock_guard lock(m_mutex);
    return m_rangeFrom;
}

std::optional<Date> SearchResults::rangeTo() const {
    std::lock_guard lock(m_mutex);
    return m_rangeTo;
}

Week SearchResults::currentWeek() const {
    std::lock_guard lock(m_mutex);
    return m_currentWeek;
}

void SearchResults::setCurrentWeek(const Week& week) {
    std::lock_guard lock(m_mutex);
    m_currentWeek = week;
}

std::optional<SearchResult> SearchResults::current() const {
    std::lock_guard lock(m_mutex);
    return m_current;
}

void SearchResults::setCurrent(std::optional<SearchResult> current) {
    std::lock_guard lock(m_mutex);
    m_current = std::move(current);
}

QString SearchResults::query() const {
    std::lock_guard lock(m_mutex);
    return m_query;
}

void SearchResults::setQuery(QString query) {
    std::lock_guard lock(m_mutex);
    m_query = std::move(query);
}

bool SearchResults::nothingFoundAfterLast() const {
    std::lock_guard lock(m_mutex);
    return m_nothingFoundAfterLast;
}

bool SearchResults::nothingFoundBeforeFirst() const {
    std::lock_guard lock(m_mutex);
    return m_nothingFoundBeforeFirst;
}

int SearchResults::nothingFoundCount() const {
    std::lock_guard lock(m_mutex);
    return m_nothingFoundCount;
}

bool SearchResults::firstSearch() const {
    std::lock_guard lock(m_mutex);
    return m_firstSearch;
}
