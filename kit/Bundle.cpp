#include "kit/Bundle.h"

#include <mutex>

namespace {

struct MainBundleHolder {
    std::mutex mutex;
    std::optional<Bundle> replacement;
};

MainBundleHolder& mainBundleHolder() {
    static MainBundleHolder holder;
    return holder;
}

} // namespace

Bundle Bundle::main() {
    MainBundleHolder& holder = mainBundleHolder();
    const std::lock_guard lock(holder.mutex);
    if (holder.replacement) {
        return *holder.replacement;
    }
    return Bundle(QStringLiteral("Orvella"), QStringLiteral(ORVELLA_VERSION),
                  QStringLiteral(ORVELLA_BUILD_VERSION));
}

void Bundle::setMain(std::optional<Bundle> bundle) {
    MainBundleHolder& holder = mainBundleHolder();
    const std::lock_guard lock(holder.mutex);
    holder.replacement = std::move(bundle);
}
