#pragma once

#include "core/events/SearchResult.h"

#include <QString>

#include <memory>
#include <optional>

class EKEvent;
class EventService;
class SearchEventRequest;
class SearchResults;
class SearchServiceCallback;
class Week;

// Finds, one step at a time, the next or previous event occurrence whose title or location
// holds every word of a query. Each step runs on a background queue and delivers its answer on
// the main thread, which it waits for. The other operations run on the main thread.
class SearchService {
public:
    // The one instance, on the shared event service; first use on the main thread.
    static SearchService& instance();

    explicit SearchService(EventService& eventService);

    SearchService(const SearchService&) = delete;
    SearchService& operator=(const SearchService&) = delete;

    // Start a step forwards or backwards in time; true when a known result lies in that
    // direction, so that the answer comes without a store query.
    bool findNext(const QString& query, std::shared_ptr<SearchServiceCallback> callback);
    bool findPrevious(const QString& query, std::shared_ptr<SearchServiceCallback> callback);
    bool search(const QString& query, bool previous, std::shared_ptr<SearchServiceCallback> callback);

    // The step itself, on the background thread: computes the answer and hands it to the
    // request's callback on the main thread, returning when that has run.
    static void asyncSearch(SearchResults& searchResults, const SearchEventRequest& request);

    // Forgets the results (the query changed or the search closed).
    void stopSearch();
    // The week on screen, from which the next step starts; known results are kept.
    void setWeek(const Week& week);
    bool containsEvent(const EKEvent& event) const;

    SearchResults& searchResults() const { return *m_searchResults; }

private:
    // Shared with the running step, which may outlive a test's service by a moment.
    std::shared_ptr<SearchResults> m_searchResults;
};
