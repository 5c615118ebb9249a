#include "kit/UrlOpener.h"

#include "kit/DesktopUrlOpener.h"

namespace {

std::shared_ptr<UrlOpener>& current() {
    static std::shared_ptr<UrlOpener> opener;
    return opener;
}

} // namespace

UrlOpener& UrlOpener::shared() {
    auto& opener = current();
    if (!opener) {
        opener = std::make_shared<DesktopUrlOpener>();
    }
    return *opener;
}

void UrlOpener::setShared(std::shared_ptr<UrlOpener> opener) {
    current() = std::move(opener);
}
