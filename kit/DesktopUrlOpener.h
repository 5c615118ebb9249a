#pragma once

#include "kit/UrlOpener.h"

// Hands addresses to the desktop's services (the default browser for web pages).
class DesktopUrlOpener final : public UrlOpener {
public:
    bool openURL(const QString& address) override;
};
