#include "core/events/SearchEventRequest.h"

#include "core/events/SearchServiceCallback.h"

SearchEventRequest::SearchEventRequest(QString query, bool previous,
                                       std::shared_ptr<SearchServiceCallback> callback)
    : m_query(std::move(query)), m_previous(previous), m_callback(std::move(callback)) {}

void SearchEventRequest::callCallback(const std::optional<SearchResult>& result) const {
    if (m_callback) {
        m_callback->eventFound(result);
    }
}
