#pragma once

#include <QDBusConnection>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// One window per user: the first start owns the well-known name org.orvella.Orvella on the
// session bus and serves org.freedesktop.Application's Activate and Open there; a later start
// finds the name taken and hands its files (as file:// addresses of absolute paths) to the
// owner, or with no files just activates it. Without a bus, or when the owner does not answer,
// the program runs alone. The served calls run their callbacks on the main run loop.
class InstanceHandOver {
public:
    static constexpr const char* busName = "org.orvella.Orvella";
    static constexpr const char* objectPath = "/org/orvella/Orvella";
    static constexpr const char* interfaceName = "org.freedesktop.Application";
    // How long a later start waits for the owner's answer.
    static constexpr int answerTimeoutMilliseconds = 10'000;

    enum class Outcome {
        // This process owns the name and serves the calls.
        Serving,
        // The files went to the running process; this one has nothing left to do.
        HandedOver,
        // No bus, or no answer: this process runs on its own.
        Alone,
    };

    explicit InstanceHandOver(QDBusConnection connection);
    ~InstanceHandOver();
    InstanceHandOver(const InstanceHandOver&) = delete;
    InstanceHandOver& operator=(const InstanceHandOver&) = delete;

    // Serves, or hands `files` (absolute paths) over to the process that does.
    Outcome start(const QStringList& files);

    // Another start asked to show the window (Activate, and Open before onOpen).
    std::function<void()> onActivate;
    // Another start handed over these absolute paths.
    std::function<void(const QStringList& files)> onOpen;

private:
    class Service;

    // Runs on the main run loop, unless this object is gone by then.
    void received(std::function<void(InstanceHandOver&)> call);

    QDBusConnection m_connection;
    // Expires with this object; the calls posted to the main run loop hold it weakly.
    std::shared_ptr<void> m_lifetimeToken = std::make_shared<char>(0);
    std::unique_ptr<Service> m_service;
    bool m_serving = false;
};
