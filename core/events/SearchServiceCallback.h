#pragma once

#include "core/events/SearchResult.h"

#include <optional>

// Receives the answer of a search step on the main thread; nothing means there is nothing more
// in that direction.
class SearchServiceCallback {
public:
    virtual ~SearchServiceCallback() = default;

    virtual void eventFound(const std::optional<SearchResult>& result) = 0;
};
