#pragma once

#include <QString>

#include <memory>

// Opens an address with the program the desktop chooses for it (a web page in the browser).
// The application uses the desktop's; tests put in their own with setShared.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;

    // Returns whether the address could be handed on.
    virtual bool openURL(const QString& address) = 0;

    // The opener in use: the desktop's unless one was set.
    static UrlOpener& shared();
    // Replaces the opener; none goes back to the desktop's.
    static void setShared(std::shared_ptr<UrlOpener> opener);
};
