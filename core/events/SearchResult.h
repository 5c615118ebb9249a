#pragma once

#include "foundation/Date.h"

#include <QString>

// One found occurrence: occurrences of a repeating event are separate results with the same
// identifier.
class SearchResult {
public:
    SearchResult(QString eventIdentifier, Date dateTime)
        : m_eventIdentifier(std::move(eventIdentifier)), m_dateTime(dateTime) {}

    const QString& eventIdentifier() const { return m_eventIdentifier; }
    void setEventIdentifier(QString eventIdentifier) { m_eventIdentifier = std::move(eventIdentifier); }
    Date dateTime() const { return m_dateTime; }
    void setDateTime(Date dateTime) { m_dateTime = dateTime; }

    bool operator==(const SearchResult&) const = default;

private:
    QString m_eventIdentifier;
    Date m_dateTime;
};
