#include "core/eventstore/EventStoreChangeWatcher.h"

#include "core/bus/ApplicationActivatedEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "foundation/RunLoop.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>

std::shared_ptr<EventStoreChangeWatcher> EventStoreChangeWatcher::watch(const QString& databasePath,
                                                                        std::function<void()> onChange) {
    auto watcher = std::make_shared<EventStoreChangeWatcher>(databasePath, std::move(onChange));
    watcher->start();
    return watcher;
}

EventStoreChangeWatcher::EventStoreChangeWatcher(QString databasePath, std::function<void()> onChange)
    : m_databasePath(std::move(databasePath)), m_onChange(std::move(onChange)) {}

// The bus registration ends with the receiver.
EventStoreChangeWatcher::~EventStoreChangeWatcher() = default;

void EventStoreChangeWatcher::start() {
    ApplicationEventDispatcher::sharedInstance().registerTarget<ApplicationActivatedEvent>(
        this, &EventStoreChangeWatcher::reportOnNextTurn);
    // The file system's notices arrive through the Qt event loop, which a program without an
    // application object does not have.
    if (!QCoreApplication::instance()) {
        return;
    }
    m_watcher = std::make_unique<QFileSystemWatcher>();
    const std::weak_ptr<EventStoreChangeWatcher> weak = weak_from_this();
    const auto changed = [weak](const QString&) {
        if (const std::shared_ptr<EventStoreChangeWatcher> self = weak.lock()) {
            self->filesChanged();
        }
    };
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::fileChanged, m_watcher.get(), changed);
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, m_watcher.get(), changed);
    watchFiles();
}

void EventStoreChangeWatcher::watchFiles() {
    const QFileInfo database(m_databasePath);
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    for (const QString& path : {database.absolutePath(), database.absoluteFilePath(),
                                database.absoluteFilePath() + QStringLiteral("-wal")}) {
        if (!watched.contains(path) && QFileInfo::exists(path)) {
            m_watcher->addPath(path);
        }
    }
}

void EventStoreChangeWatcher::filesChanged() {
    watchFiles();
    reportOnNextTurn();
}

void EventStoreChangeWatcher::reportOnNextTurn() {
    if (m_reportPosted) {
        return;
    }
    m_reportPosted = true;
    const std::weak_ptr<EventStoreChangeWatcher> weak = weak_from_this();
    RunLoop::main().post([weak] {
        if (const std::shared_ptr<EventStoreChangeWatcher> self = weak.lock()) {
            self->m_reportPosted = false;
            const std::function<void()> onChange = self->m_onChange;
            onChange();
        }
    });
}
