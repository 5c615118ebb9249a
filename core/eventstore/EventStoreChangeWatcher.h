#pragma once

#include "core/bus/BusReceiver.h"

#include <QString>

#include <functional>
#include <memory>

class QFileSystemWatcher;

// Tells an event store when another process may have changed its database, so that the store
// looks then and only then: when the database file or its write-ahead log changed, when a file
// appeared in or left the database's folder (the log is made anew after it was removed), and
// when the application became active. A burst of file changes is reported once, on the next
// turn of the main loop. Main thread only.
class EventStoreChangeWatcher final : public BusReceiver,
                                      public std::enable_shared_from_this<EventStoreChangeWatcher> {
public:
    // Starts watching; `onChange` runs on the main thread.
    static std::shared_ptr<EventStoreChangeWatcher> watch(const QString& databasePath,
                                                          std::function<void()> onChange);

    EventStoreChangeWatcher(QString databasePath, std::function<void()> onChange);
    ~EventStoreChangeWatcher() override;

    EventStoreChangeWatcher(const EventStoreChangeWatcher&) = delete;
    EventStoreChangeWatcher& operator=(const EventStoreChangeWatcher&) = delete;

private:
    void start();
    // Adds the files that exist now and are not watched yet: the file system forgets a file that
    // was removed or replaced.
    void watchFiles();
    void filesChanged();
    void reportOnNextTurn();

    QString m_databasePath;
    std::function<void()> m_onChange;
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    bool m_reportPosted = false;
};
