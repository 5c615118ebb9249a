#pragma once

#include "core/calendar/Week.h"
#include "core/events/SearchResult.h"

#include <optional>

// What the search bar asks of the screen it searches: the week on display, and showing results.
class SearchBarViewDelegate {
public:
    virtual ~SearchBarViewDelegate() = default;

    // Steps start from this week.
    virtual Week currentWeek() const = 0;
    // The first answer of a query arrived.
    virtual void startSearching() {}
    // None: there is no result in that direction; the controls are to be enabled again.
    virtual void showSearchResult(const std::optional<SearchResult>& result) = 0;
    // The user closed the search.
    virtual void doneSearching(bool animated) = 0;
};
