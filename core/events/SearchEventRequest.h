#pragma once

#include "core/events/SearchResult.h"

#include <QString>

#include <memory>
#include <optional>

class SearchServiceCallback;

// One search step: the query, its direction and who receives the answer. Holds the receiver
// until the answer is delivered.
class SearchEventRequest {
public:
    SearchEventRequest(QString query, bool previous, std::shared_ptr<SearchServiceCallback> callback);

    // Hands the answer to the receiver. Main thread.
    void callCallback(const std::optional<SearchResult>& result) const;

    const QString& query() const { return m_query; }
    void setQuery(QString query) { m_query = std::move(query); }
    bool previous() const { return m_previous; }
    void setPrevious(bool previous) { m_previous = previous; }
    const std::shared_ptr<SearchServiceCallback>& callback() const { return m_callback; }
    void setCallback(std::shared_ptr<SearchServiceCallback> callback) { m_callback = std::move(callback); }

private:
    QString m_query;
    bool m_previous;
    std::shared_ptr<SearchServiceCallback> m_callback;
};
