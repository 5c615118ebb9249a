#pragma once

#include "core/paging/PageItem.h"

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

// The data of an endless pager's items: computed one item at a time on the global queue and
// kept for the loader's life. The cache and the set of items whose data is current each have a
// lock, as the main thread reads them while a load stores into them; everything else runs on
// the main thread.
class PageDataLoader : public std::enable_shared_from_this<PageDataLoader> {
public:
    // Computes one item's data. Runs on a background thread, so it must not touch views. An
    // empty value is the null marker: cached, but reported as no data.
    using LoadFunction = std::function<std::any(const PageItem& item)>;
    using LoadedFunction = std::function<void(const PageItem& item)>;

    static std::shared_ptr<PageDataLoader> create() { return std::make_shared<PageDataLoader>(); }

    const LoadFunction& toLoadData() const { return m_toLoadData; }
    void setToLoadData(LoadFunction toLoadData) { m_toLoadData = std::move(toLoadData); }

    // True while one load runs.
    bool isLoading() const { return m_isLoading; }
    // Whether the item's data is current (stored since the last refresh).
    bool isLoaded(const PageItem& item) const;
    // The cached data; empty when there is none or it is the null marker.
    std::any dataForItem(const PageItem& item) const;

    // Computes the item's data on the global queue, then, synchronously on the main queue,
    // stores it, marks the item current, ends the load and calls `loaded`. Nothing happens
    // without a load function or while a load runs. Main thread.
    void loadDataForItem(const PageItem& item, LoadedFunction loaded);

    // Marks every item as not current; the cached data stays until replaced. A load under way
    // stores its data for display but not as current, as it may have read the state before.
    void refreshCachedData();

private:
    void storeData(const PageItem& item, std::any data, bool current);

    LoadFunction m_toLoadData;
    bool m_isLoading = false;
    // Counts refreshes; a load computed in an earlier one is not current. Main thread.
    std::uint64_t m_generation = 0;
    mutable std::mutex m_dataCacheMutex;
    std::unordered_map<PageItem, std::any> m_dataCache;
    mutable std::mutex m_loadedKeysMutex;
    std::unordered_set<PageItem> m_loadedKeys;
};
