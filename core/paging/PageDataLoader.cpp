#include "core/paging/PageDataLoader.h"

#include "foundation/DispatchQueue.h"

bool PageDataLoader::isLoaded(const PageItem& item) const {
    std::lock_guard lock(m_loadedKeysMutex);
    return m_loadedKeys.count(item) != 0;
}

std::any PageDataLoader::dataForItem(const PageItem& item) const {
    std::lock_guard lock(m_dataCacheMutex);
    const auto found = m_dataCache.find(item);
    return found == m_dataCache.end() ? std::any() : found->second;
}

void PageDataLoader::loadDataForItem(const PageItem& item, LoadedFunction loaded) {
    if (!m_toLoadData || m_isLoading) {
        return;
    }
    m_isLoading = true;
    // The task keeps its own copy of the load function and sees the loader only weakly, so that
    // a loader dropped meanwhile is simply not told.
    DispatchQueue::global().async([weakLoader = weak_from_this(), toLoadData = m_toLoadData, item,
                                   loaded = std::move(loaded), generation = m_generation] {
        std::any data = toLoadData(item);
        DispatchQueue::main().sync([&] {
            const std::shared_ptr<PageDataLoader> loader = weakLoader.lock();
            if (!loader) {
                return;
            }
            loader->storeData(item, std::move(data), generation == loader->m_generation);
            loader->m_isLoading = false;
            if (loaded) {
                loaded(item);
            }
        });
    });
}

void PageDataLoader::storeData(const PageItem& item, std::any data, bool current) {
    {
        std::lock_guard lock(m_dataCacheMutex);
        m_dataCache[item] = std::move(data);
    }
    if (current) {
        std::lock_guard lock(m_loadedKeysMutex);
        m_loadedKeys.insert(item);
    }
}

void PageDataLoader::refreshCachedData() {
    ++m_generation;
    std::lock_guard lock(m_loadedKeysMutex);
    m_loadedKeys.clear();
}
