#include "core/events/SearchService.h"

#include "core/events/EventService.h"
#include "core/events/SearchEventRequest.h"
#include "core/events/SearchResults.h"
#include "foundation/DispatchQueue.h"

SearchService& SearchService::instance() {
    static auto* const service = new SearchService(EventService::sharedInstance());
    return *service;
}

SearchService::SearchService(EventService& eventService)
    : m_searchResults(std::make_shared<SearchResults>(eventService)) {}

bool SearchService::findNext(const QString& query, std::shared_ptr<SearchServiceCallback> callback) {
    return search(query, false, std::move(callback));
}

bool SearchService::findPrevious(const QString& query, std::shared_ptr<SearchServiceCallback> callback) {
    return search(query, true, std::move(callback));
}

bool SearchService::search(const QString& query, bool previous,
                           std::shared_ptr<SearchServiceCallback> callback) {
    auto request = std::make_shared<SearchEventRequest>(query, previous, std::move(callback));
    const bool answerAtHand = m_searchResults->hasPreviousOrNext(previous);
    DispatchQueue::global().async([results = m_searchResults, request] { asyncSearch(*results, *request); });
    return answerAtHand;
}

void SearchService::asyncSearch(SearchResults& searchResults, const SearchEventRequest& request) {
    searchResults.setQuery(request.query());
    const std::optional<SearchResult> result = searchResults.previousOrNext(request.previous());
    DispatchQueue::main().sync([&request, &result] { request.callCallback(result); });
}

void SearchService::stopSearch() {
    m_searchResults->reset();
}

void SearchService::setWeek(const Week& week) {
    m_searchResults->setWeek(week);
}

bool SearchService::containsEvent(const EKEvent& event) const {
    return m_searchResults->containsEvent(event);
}
