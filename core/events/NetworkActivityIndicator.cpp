#include "core/events/NetworkActivityIndicator.h"

#include <atomic>
#include <mutex>

namespace {

struct IndicatorState {
    std::atomic<bool> visible{false};
    std::mutex mutex;
    std::function<void(bool)> onVisibilityChanged;
};

IndicatorState& indicatorState() {
    static auto* const indicator = new IndicatorState;
    return *indicator;
}

} // namespace

bool NetworkActivityIndicator::isVisible() {
    return indicatorState().visible.load();
}

void NetworkActivityIndicator::setVisible(bool visible) {
    IndicatorState& indicator = indicatorState();
    if (indicator.visible.exchange(visible) == visible) {
        return;
    }
    std::function<void(bool)> observer;
    {
        std::lock_guard lock(indicator.mutex);
        observer = indicator.onVisibilityChanged;
    }
    if (observer) {
        observer(visible);
    }
}

void NetworkActivityIndicator::setOnVisibilityChanged(std::function<void(bool visible)> onVisibilityChanged) {
    std::lock_guard lock(indicatorState().mutex);
    indicatorState().onVisibilityChanged = std::move(onVisibilityChanged);
}
