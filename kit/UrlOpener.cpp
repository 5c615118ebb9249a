#include "kit/UrlOpener.h"

#include "kit/DesktopUrlOpener.h"

namespace {

std::shared_ptr<UrlOpener>& currentOpener() {
    static std::shared_ptr<UrlOpener> opener;
    return opener;
}

} // namespace

UrlOpener& UrlOpener::shared() {
    auto& opener = currentOpener();
    if (!opener) {
        opener = std::make_shared<DesktopUrlOpener>();
    }
    return *opener;
}

void UrlOpener::setShared(std::shared_ptr<UrlOpener> opener) {
    currentOpener() = std::move(opener);
}
