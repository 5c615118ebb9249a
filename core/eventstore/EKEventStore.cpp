#include "core/eventstore/EKEventStore.h"

#include "core/eventstore/EventStoreChangeWatcher.h"
#include "core/eventstore/EventStoreConnection.h"
#include "core/eventstore/EventStoreLog.h"
#include "core/eventstore/EventStoreSchema.h"
#include "core/eventstore/EventStoreWriter.h"
#include "core/eventstore/ICalendarReader.h"
#include "core/eventstore/VCardBirthdays.h"
#include "core/eventstore/WallClock.h"
#include "core/sqlite/SqliteChangeRecorder.h"
#include "core/sqlite/SqliteDatabaseFile.h"
#include "core/sqlite/SqliteTransaction.h"
#include "foundation/CivilDate.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/RunLoop.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <atomic>
#include <map>
#include <mutex>

namespace {

// Readers keep a few idle connections (each with its parsed series) for the next query.
constexpr std::size_t idleConnectionLimit = 8;

} // namespace

class EKEventStore::Impl : public std::enable_shared_from_this<Impl> {
public:
    explicit Impl(QString path) : m_path(std::move(path)) {}

    void open();
    void startWatching();
    void stopWatching();

    class Lease {
    public:
        Lease(Impl& impl, std::unique_ptr<EventStoreConnection> connection)
            : m_impl(impl), m_connection(std::move(connection)) {}
        ~Lease() { m_impl.release(std::move(m_connection)); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;

        EventStoreConnection* operator->() const { return m_connection.get(); }
        EventStoreConnection& operator*() const { return *m_connection; }
        explicit operator bool() const { return m_connection != nullptr; }

    private:
        Impl& m_impl;
        std::unique_ptr<EventStoreConnection> m_connection;
    };

    Lease reader();
    void release(std::unique_ptr<EventStoreConnection> connection);

    // Runs `change` in one write transaction; commits when it succeeds and then tells the
    // observers unless `announce` is false (the store's own set-up). With `undo` Kept, the rows it
    // changed are kept so that undoKeptWrite can take them back.
    template <typename Change>
    bool write(StoreError* error, Change change, bool announce = true, EKUndo undo = EKUndo::NotKept,
               EKEventStoreChange::Origin origin = EKEventStoreChange::Origin::ThisProgram);
    bool undoKeptWrite(StoreError* error);

    void notifyObservers(const EKEventStoreChange& change);
    // Sets up the writer's record of the calendars each write touches.
    SqliteResult recordChangedCalendars();
    // Sets up the writer's journal of changes to send to calendar servers.
    SqliteResult journalUnsentChanges();
    // The calendars the current write touched so far, forgetting them.
    std::vector<QString> takeChangedCalendars();
    // Tells the observers when another process changed the database since the last look.
    void checkForForeignChanges();
    void checkForForeignChangesOnNextTurn();
    // Checkpoints and empties the write-ahead log after a bulk write.
    void emptyLog();

    QString m_path;
    // Why the store cannot be used at all: its file is not a database of ours, is damaged, or cannot
    // be opened. Nothing reads or writes it then.
    QString m_openProblem;
    // Why the store cannot be written (a database it cannot open, or one from a newer version).
    QString m_writeProblem;

    std::mutex m_writeMutex;
    EventStoreConnection m_writer;
    bool m_writerOpen = false;
    // The last write kept so that it can be taken back, under the write mutex.
    QByteArray m_keptWrite;
    std::int64_t m_dataVersion = 0;

    std::mutex m_poolMutex;
    std::vector<std::unique_ptr<EventStoreConnection>> m_idle;

    std::mutex m_observersMutex;
    std::map<ObserverId, ChangeObserver> m_observers;
    ObserverId m_nextObserverId = 1;

    std::mutex m_watcherMutex;
    std::shared_ptr<EventStoreChangeWatcher> m_watcher;
    bool m_stopped = false;
    // A look skipped while a write of another thread held the writer: that write looks again
    // when it is done.
    std::atomic<bool> m_checkAfterWrite = false;

    std::shared_ptr<const EKSource> m_localSource;
};

void EKEventStore::Impl::open() {
    const auto refuse = [&](const QString& reason) {
        m_openProblem = QStringLiteral("The calendar database “%1” cannot be opened: %2").arg(m_path, reason);
        m_writeProblem = m_openProblem;
        Log::error(eventStoreLogCategory, m_openProblem);
        m_writer.sql().close();
    };
    // Nothing but SQLite's own files is touched until the file is known to be a database of ours.
    if (const std::optional<QString> problem = SqliteDatabaseFile::problem(m_path)) {
        return refuse(*problem);
    }
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        return refuse(QStringLiteral("its folder cannot be made"));
    }
    if (const SqliteResult opened = m_writer.open(m_path); !opened) {
        return refuse(opened.error().message);
    }
    if (const SqliteResult claimed = SqliteDatabaseFile::claim(
            m_writer.sql(), EventStoreSchema::applicationId, EventStoreSchema::isOwnSchema);
        !claimed) {
        return refuse(claimed.error().message);
    }
    m_writerOpen = true;
    // Switching to the write-ahead log takes the database for itself; it is done once, by the
    // first process that opens a new database. Another process opening it at the same moment may
    // be switching it already: only a database left in the old mode is worth a word.
    // SQLite gives up on the switch at once, without waiting, while another process reads the
    // database, so the switch is tried a few times, a moment apart.
    constexpr int walAttempts = 10;
    QString walProblem;
    for (int attempt = 0; attempt < walAttempts && m_writer.sql().journalMode() != QLatin1String("wal");
         ++attempt) {
        if (attempt > 0) {
            QThread::msleep(20);
        }
        const SqliteResult set = m_writer.sql().exec(QStringLiteral("PRAGMA journal_mode = WAL"));
        walProblem = set ? QString() : set.error().message;
    }
    if (m_writer.sql().journalMode() != QLatin1String("wal")) {
        Log::warning(
            eventStoreLogCategory,
            QStringLiteral("The calendar database keeps its rollback journal for now: %1").arg(walProblem));
    }
    if (const SqliteResult set = m_writer.sql().exec(QStringLiteral("PRAGMA synchronous = NORMAL")); !set) {
        Log::error(eventStoreLogCategory, set.error().description());
    }
    QString problem;
    const EventStoreSchema::Result result = EventStoreSchema::migrate(m_writer.sql(), &problem);
    if (result == EventStoreSchema::Result::TooNew || result == EventStoreSchema::Result::Failed) {
        m_writeProblem = problem;
        Log::error(eventStoreLogCategory, problem);
    } else {
        for (const SqliteResult& recording : {recordChangedCalendars(), journalUnsentChanges()}) {
            if (!recording) {
                Log::error(eventStoreLogCategory, recording.error().description());
            }
        }
        StoreError error;
        if (!write(
                &error, [](EventStoreWriter& writer, StoreError* e) { return writer.ensureDefaults(e); },
                false)) {
            Log::error(eventStoreLogCategory, error.localizedDescription);
        }
    }
    m_dataVersion = m_writer.sql().dataVersion();
    for (const std::shared_ptr<const EKSource>& source : m_writer.sources()) {
        if (source->sourceType() == EKSourceType::Local) {
            m_localSource = source;
            break;
        }
    }
}

// Triggers of the writer's own connection note the calendars that each of its writes touches, in
// a table of its own that rolls back with the write; another program's writes do not fire them.
SqliteResult EKEventStore::Impl::recordChangedCalendars() {
    return m_writer.sql().exec(QStringLiteral(R"sql(
CREATE TEMP TABLE IF NOT EXISTS changed_calendars (identifier TEXT PRIMARY KEY) WITHOUT ROWID;
CREATE TEMP TRIGGER IF NOT EXISTS event_inserted AFTER INSERT ON main.events BEGIN
    INSERT OR IGNORE INTO changed_calendars SELECT identifier FROM main.calendars WHERE id = NEW.calendar_id;
END;
CREATE TEMP TRIGGER IF NOT EXISTS event_updated AFTER UPDATE ON main.events BEGIN
    INSERT OR IGNORE INTO changed_calendars
        SELECT identifier FROM main.calendars WHERE id IN (OLD.calendar_id, NEW.calendar_id);
END;
CREATE TEMP TRIGGER IF NOT EXISTS event_deleted AFTER DELETE ON main.events BEGIN
    INSERT OR IGNORE INTO changed_calendars SELECT identifier FROM main.calendars WHERE id = OLD.calendar_id;
END;
CREATE TEMP TRIGGER IF NOT EXISTS calendar_inserted AFTER INSERT ON main.calendars BEGIN
    INSERT OR IGNORE INTO changed_calendars VALUES (NEW.identifier);
END;
CREATE TEMP TRIGGER IF NOT EXISTS calendar_updated AFTER UPDATE ON main.calendars BEGIN
    INSERT OR IGNORE INTO changed_calendars VALUES (OLD.identifier), (NEW.identifier);
END;
CREATE TEMP TRIGGER IF NOT EXISTS calendar_deleted AFTER DELETE ON main.calendars BEGIN
    INSERT OR IGNORE INTO changed_calendars VALUES (OLD.identifier);
END;
)sql"));
}

// Triggers of the writer's own connection journal every change to an event of a server calendar
// in the same transaction, unless the sync itself is writing (a row in temp.sync_writing). A
// resource's first journal entry keeps its address and etag as the server last had them (a changed
// occurrence added to a series takes them from the series); an event moved to another calendar
// leaves its address behind, as it becomes a new resource there. A server calendar renamed or
// recoloured is marked to be changed on the server, and one removed is listed to be removed there.
SqliteResult EKEventStore::Impl::journalUnsentChanges() {
    return m_writer.sql().exec(QStringLiteral(R"sql(
CREATE TEMP TABLE IF NOT EXISTS sync_writing (flag INTEGER);
CREATE TEMP TRIGGER IF NOT EXISTS journal_event_inserted AFTER INSERT ON main.events
WHEN NOT EXISTS (SELECT 1 FROM temp.sync_writing) BEGIN
    INSERT INTO sync_journal (calendar_id, uid, href, etag)
        SELECT NEW.calendar_id, NEW.uid, sibling.href, sibling.etag FROM main.calendars
        LEFT JOIN (SELECT href, etag FROM main.events WHERE calendar_id = NEW.calendar_id AND uid = NEW.uid
                   AND href IS NOT NULL LIMIT 1) AS sibling
        WHERE id = NEW.calendar_id AND remote_url IS NOT NULL
        ON CONFLICT (calendar_id, uid) DO UPDATE SET changes = changes + 1;
END;
CREATE TEMP TRIGGER IF NOT EXISTS journal_event_updated AFTER UPDATE ON main.events
WHEN NOT EXISTS (SELECT 1 FROM temp.sync_writing) BEGIN
    INSERT INTO sync_journal (calendar_id, uid, href, etag)
        SELECT OLD.calendar_id, OLD.uid, OLD.href, OLD.etag FROM main.calendars
        WHERE id = OLD.calendar_id AND remote_url IS NOT NULL
        ON CONFLICT (calendar_id, uid) DO UPDATE SET changes = changes + 1;
    INSERT INTO sync_journal (calendar_id, uid)
        SELECT NEW.calendar_id, NEW.uid FROM main.calendars
        WHERE id = NEW.calendar_id AND remote_url IS NOT NULL
            AND (NEW.calendar_id <> OLD.calendar_id OR NEW.uid IS NOT OLD.uid)
        ON CONFLICT (calendar_id, uid) DO UPDATE SET changes = changes + 1;
    UPDATE events SET href = NULL, etag = NULL
        WHERE id = NEW.id AND NEW.calendar_id <> OLD.calendar_id AND NEW.href IS NOT NULL;
END;
CREATE TEMP TRIGGER IF NOT EXISTS journal_calendar_changed AFTER UPDATE OF title, color ON main.calendars
WHEN NOT EXISTS (SELECT 1 FROM temp.sync_writing) AND NEW.remote_url IS NOT NULL AND NEW.type = 1
    AND (NEW.title IS NOT OLD.title OR NEW.color IS NOT OLD.color) BEGIN
    UPDATE calendars SET changed_here = 1 WHERE id = NEW.id;
END;
CREATE TEMP TRIGGER IF NOT EXISTS journal_calendar_removed AFTER DELETE ON main.calendars
WHEN NOT EXISTS (SELECT 1 FROM temp.sync_writing) AND OLD.remote_url IS NOT NULL AND OLD.type = 1 BEGIN
    INSERT OR IGNORE INTO removed_calendars (source_id, remote_url) VALUES (OLD.source_id, OLD.remote_url);
END;
CREATE TEMP TRIGGER IF NOT EXISTS journal_event_deleted AFTER DELETE ON main.events
WHEN NOT EXISTS (SELECT 1 FROM temp.sync_writing) BEGIN
    INSERT INTO sync_journal (calendar_id, uid, href, etag)
        SELECT OLD.calendar_id, OLD.uid, OLD.href, OLD.etag FROM main.calendars
        WHERE id = OLD.calendar_id AND remote_url IS NOT NULL
        ON CONFLICT (calendar_id, uid) DO UPDATE SET changes = changes + 1;
END;
)sql"));
}

std::vector<QString> EKEventStore::Impl::takeChangedCalendars() {
    std::vector<QString> identifiers;
    SqliteStatement& changed = m_writer.sql().statement("SELECT identifier FROM temp.changed_calendars");
    while (changed.step()) {
        identifiers.push_back(changed.text(0));
    }
    changed.reset();
    if (const SqliteResult cleared =
            m_writer.sql().exec(QStringLiteral("DELETE FROM temp.changed_calendars"));
        !cleared) {
        Log::warning(eventStoreLogCategory, cleared.error().description());
    }
    return identifiers;
}

template <typename Change>
bool EKEventStore::Impl::write(StoreError* error, Change change, bool announce, EKUndo undo,
                               EKEventStoreChange::Origin origin) {
    std::unique_lock lock(m_writeMutex);
    const auto fail = [&](const QString& message) {
        if (error) {
            error->code = StoreError::Database;
            error->localizedDescription = message;
        }
        return false;
    };
    if (!m_writerOpen) {
        return fail(m_writeProblem);
    }
    if (!m_writeProblem.isEmpty()) {
        return fail(m_writeProblem);
    }
    SqliteTransaction transaction(m_writer.sql());
    if (const SqliteResult begun = transaction.begin(); !begun) {
        Log::error(eventStoreLogCategory, begun.error().description());
        return fail(QStringLiteral("The calendar database is busy: %1").arg(begun.error().message));
    }
    std::optional<SqliteChangeRecorder> recorder;
    if (undo == EKUndo::Kept) {
        recorder.emplace(m_writer.sql());
        // Taking a change back journals it again through the triggers; the journal's own rows
        // are the sync's to keep.
        if (const SqliteResult started = recorder->start({QByteArrayLiteral("sync_journal")}); !started) {
            Log::warning(eventStoreLogCategory, started.error().description());
            recorder.reset();
        }
    }
    // The sync's own writes bring the servers' state in: they are not changes to send back.
    const bool fromSync = origin == EKEventStoreChange::Origin::Sync;
    if (fromSync) {
        if (const SqliteResult marked =
                m_writer.sql().exec(QStringLiteral("INSERT INTO temp.sync_writing VALUES (1)"));
            !marked) {
            return fail(marked.error().description());
        }
    }
    EventStoreWriter writer(m_writer);
    StoreError local;
    if (!change(writer, &local)) {
        if (error) {
            *error = local;
        }
        return false;
    }
    if (fromSync) {
        if (const SqliteResult unmarked =
                m_writer.sql().exec(QStringLiteral("DELETE FROM temp.sync_writing"));
            !unmarked) {
            return fail(unmarked.error().description());
        }
    }
    const QByteArray recorded = recorder ? recorder->changeset() : QByteArray();
    EKEventStoreChange announced{origin, takeChangedCalendars()};
    if (const SqliteResult committed = transaction.commit(); !committed) {
        Log::error(eventStoreLogCategory, committed.error().description());
        return fail(
            QStringLiteral("The calendar database could not be written: %1").arg(committed.error().message));
    }
    if (recorder) {
        m_keptWrite = recorded;
    }
    lock.unlock();
    if (m_checkAfterWrite.exchange(false)) {
        checkForForeignChangesOnNextTurn();
    }
    std::weak_ptr<Impl> weak = weak_from_this();
    if (announce && !weak.expired()) {
        RunLoop::main().post([weak, announced = std::move(announced)] {
            if (const std::shared_ptr<Impl> self = weak.lock()) {
                self->notifyObservers(announced);
            }
        });
    }
    return true;
}

EKEventStore::Impl::Lease EKEventStore::Impl::reader() {
    if (!m_openProblem.isEmpty()) {
        return Lease(*this, nullptr);
    }
    {
        std::lock_guard lock(m_poolMutex);
        if (!m_idle.empty()) {
            std::unique_ptr<EventStoreConnection> connection = std::move(m_idle.back());
            m_idle.pop_back();
            return Lease(*this, std::move(connection));
        }
    }
    auto connection = std::make_unique<EventStoreConnection>();
    if (const SqliteResult opened = connection->open(m_path); !opened) {
        Log::error(eventStoreLogCategory,
                   QStringLiteral("cannot read the calendar database: %1").arg(opened.error().message));
        return Lease(*this, nullptr);
    }
    // A week of a large store visits every repeating event's row and its changed occurrences: with
    // SQLite's default cache of 2 MB the same pages are read again and again (10,000 reads for
    // the first week of 100,000 events).
    for (const QString& pragma :
         {QStringLiteral("PRAGMA query_only = 1"), QStringLiteral("PRAGMA cache_size = -16384")}) {
        if (const SqliteResult set = connection->sql().exec(pragma); !set) {
            Log::error(eventStoreLogCategory, set.error().description());
        }
    }
    return Lease(*this, std::move(connection));
}

void EKEventStore::Impl::release(std::unique_ptr<EventStoreConnection> connection) {
    if (!connection) {
        return;
    }
    std::lock_guard lock(m_poolMutex);
    if (m_idle.size() < idleConnectionLimit) {
        m_idle.push_back(std::move(connection));
    }
}

void EKEventStore::Impl::emptyLog() {
    // A bulk write leaves its pages in the write-ahead log. SQLite copies them into the database
    // but keeps the log, and every process that opens the store next reads all of it again to
    // rebuild its index (16 MB and a tenth of a second for 100,000 events) until a later write
    // starts the log afresh. Emptying it now spares every later start that; when a reader of
    // another process holds on to the log, it stays as it is.
    {
        std::lock_guard lock(m_writeMutex);
        if (m_writerOpen) {
            if (const SqliteResult emptied =
                    m_writer.sql().exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
                !emptied) {
                Log::debug(eventStoreLogCategory, emptied.error().description());
            }
        }
    }
    if (m_checkAfterWrite.exchange(false)) {
        checkForForeignChangesOnNextTurn();
    }
}

void EKEventStore::Impl::notifyObservers(const EKEventStoreChange& change) {
    std::vector<ChangeObserver> observers;
    {
        std::lock_guard lock(m_observersMutex);
        for (const auto& [id, observer] : m_observers) {
            observers.push_back(observer);
        }
    }
    for (const ChangeObserver& observer : observers) {
        observer(change);
    }
}

void EKEventStore::Impl::checkForForeignChanges() {
    bool changed = false;
    {
        // A long write (a refresh on a background thread) must not block the main thread: that
        // write looks again when it ends.
        std::unique_lock lock(m_writeMutex, std::try_to_lock);
        if (!lock.owns_lock()) {
            m_checkAfterWrite = true;
            return;
        }
        if (!m_writerOpen) {
            return;
        }
        // data_version changes when another connection committed; our own commits go through
        // this connection and leave it alone, so they are not announced a second time.
        const std::int64_t version = m_writer.sql().dataVersion();
        changed = version != m_dataVersion;
        m_dataVersion = version;
    }
    if (changed) {
        notifyObservers(EKEventStoreChange{EKEventStoreChange::Origin::OtherProgram, {}});
    }
}

void EKEventStore::Impl::checkForForeignChangesOnNextTurn() {
    std::weak_ptr<Impl> weak = weak_from_this();
    RunLoop::main().post([weak] {
        if (const std::shared_ptr<Impl> self = weak.lock()) {
            self->checkForForeignChanges();
        }
    });
}

void EKEventStore::Impl::startWatching() {
    if (!m_writerOpen) {
        return;
    }
    std::weak_ptr<Impl> weak = weak_from_this();
    const auto watch = [weak] {
        const std::shared_ptr<Impl> self = weak.lock();
        if (!self) {
            return;
        }
        std::lock_guard lock(self->m_watcherMutex);
        if (self->m_stopped || self->m_watcher) {
            return;
        }
        self->m_watcher = EventStoreChangeWatcher::watch(self->m_path, [weak] {
            if (const std::shared_ptr<Impl> target = weak.lock()) {
                target->checkForForeignChanges();
            }
        });
    };
    // The watcher lives on the main thread, whose event loop delivers the file system's notices.
    if (RunLoop::main().isMainThread()) {
        watch();
    } else {
        RunLoop::main().post(watch);
    }
}

void EKEventStore::Impl::stopWatching() {
    std::shared_ptr<EventStoreChangeWatcher> watcher;
    {
        std::lock_guard lock(m_watcherMutex);
        m_stopped = true;
        watcher = std::move(m_watcher);
    }
    // It belongs to the main thread and goes there.
    if (watcher && !RunLoop::main().isMainThread()) {
        RunLoop::main().post([watcher = std::move(watcher)] {});
    }
}

EKEventStore::EKEventStore() : EKEventStore(Paths::dataFilePath(QStringLiteral("events.sqlite"))) {}

EKEventStore::EKEventStore(const QString& databasePath) : m_impl(std::make_shared<Impl>(databasePath)) {
    m_impl->open();
    m_impl->startWatching();
}

EKEventStore::~EKEventStore() {
    m_impl->stopWatching();
}

QString EKEventStore::openProblem() const {
    return m_impl->m_openProblem;
}

QString EKEventStore::databasePath() const {
    return m_impl->m_path;
}

int EKEventStore::schemaVersion() {
    return EventStoreSchema::currentVersion();
}

EKEventStore::Predicate
EKEventStore::predicateForEvents(Date startDate, Date endDate,
                                 std::vector<std::shared_ptr<EKCalendar>> calendars) const {
    return Predicate{startDate, endDate, std::move(calendars)};
}

std::vector<std::shared_ptr<EKEvent>>
EKEventStore::eventsMatchingPredicate(const Predicate& predicate) const {
    if (predicate.calendars.empty() || predicate.endDate < predicate.startDate) {
        return {};
    }
    Impl::Lease connection = m_impl->reader();
    if (!connection) {
        return {};
    }
    return connection->eventsInRange(predicate.startDate, predicate.endDate, predicate.calendars);
}

std::shared_ptr<EKEvent> EKEventStore::eventWithIdentifier(const QString& identifier) const {
    Impl::Lease connection = m_impl->reader();
    return connection ? connection->eventWithIdentifier(identifier) : nullptr;
}

bool EKEventStore::saveEvent(const std::shared_ptr<EKEvent>& event, EKSpan span, StoreError* error,
                             EKUndo undo) {
    if (!event) {
        if (error) {
            *error = StoreError{StoreError::EventNotFound, QStringLiteral("There is no event to save.")};
        }
        return false;
    }
    EKEvent working = *event;
    if (!m_impl->write(
            error,
            [&](EventStoreWriter& writer, StoreError* e) { return writer.saveEvent(working, span, e); }, true,
            undo)) {
        return false;
    }
    *event = working;
    return true;
}

bool EKEventStore::removeEvent(const std::shared_ptr<EKEvent>& event, EKSpan span, StoreError* error,
                               EKUndo undo) {
    if (!event) {
        if (error) {
            *error = StoreError{StoreError::EventNotFound, QStringLiteral("There is no event to remove.")};
        }
        return false;
    }
    return m_impl->write(
        error, [&](EventStoreWriter& writer, StoreError* e) { return writer.removeEvent(*event, span, e); },
        true, undo);
}

bool EKEventStore::canUndo() const {
    std::lock_guard lock(m_impl->m_writeMutex);
    return !m_impl->m_keptWrite.isEmpty();
}

bool EKEventStore::undo(StoreError* error) {
    return m_impl->undoKeptWrite(error);
}

bool EKEventStore::Impl::undoKeptWrite(StoreError* error) {
    QByteArray kept;
    {
        std::lock_guard lock(m_writeMutex);
        kept = std::exchange(m_keptWrite, QByteArray());
    }
    if (kept.isEmpty()) {
        if (error) {
            *error = StoreError{StoreError::EventNotFound, QStringLiteral("There is nothing to undo.")};
        }
        return false;
    }
    // The undo is written as any other change; its transaction holds the write lock.
    return write(error, [&](EventStoreWriter&, StoreError* e) {
        if (const SqliteResult applied = m_writer.sql().applyInverse(kept); !applied) {
            Log::warning(eventStoreLogCategory, applied.error().description());
            e->code = StoreError::Database;
            e->localizedDescription =
                QStringLiteral("The change cannot be undone: the events it touched were changed since.");
            return false;
        }
        return true;
    });
}

bool EKEventStore::saveEvents(const std::vector<std::shared_ptr<EKEvent>>& events, StoreError* error) {
    if (!m_impl->write(error, [&](EventStoreWriter& writer, StoreError* e) {
            return writer.saveEvents(events, false, e);
        })) {
        return false;
    }
    m_impl->emptyLog();
    return true;
}

bool EKEventStore::writeSynced(const std::function<bool(EventStoreWriter&, StoreError*)>& change,
                               StoreError* error) {
    return m_impl->write(error, change, true, EKUndo::NotKept, EKEventStoreChange::Origin::Sync);
}

void EKEventStore::read(const std::function<void(EventStoreConnection&)>& reading) const {
    Impl::Lease connection = m_impl->reader();
    if (connection) {
        reading(*connection);
    }
}

std::vector<std::shared_ptr<EKCalendar>> EKEventStore::calendars() const {
    std::vector<std::shared_ptr<EKCalendar>> result;
    Impl::Lease connection = m_impl->reader();
    if (!connection) {
        return result;
    }
    for (EventStoreConnection::CalendarInfo& info : connection->calendars()) {
        result.push_back(std::move(info.calendar));
    }
    return result;
}

std::shared_ptr<EKCalendar> EKEventStore::defaultCalendarForNewEvents() const {
    Impl::Lease connection = m_impl->reader();
    if (!connection) {
        return nullptr;
    }
    connection->beginRead();
    const QString identifier = connection->setting(QString::fromLatin1(EventStoreWriter::defaultCalendarKey));
    std::optional<EventStoreConnection::CalendarInfo> info;
    if (!identifier.isEmpty()) {
        info = connection->calendarWithIdentifier(identifier);
    }
    connection->endRead();
    return info ? info->calendar : nullptr;
}

std::vector<std::shared_ptr<const EKSource>> EKEventStore::sources() const {
    Impl::Lease connection = m_impl->reader();
    return connection ? connection->sources() : std::vector<std::shared_ptr<const EKSource>>{};
}

std::shared_ptr<const EKSource> EKEventStore::localSource() const {
    return m_impl->m_localSource;
}

bool EKEventStore::saveCalendar(const std::shared_ptr<EKCalendar>& calendar, bool /*commit*/,
                                StoreError* error) {
    if (!calendar) {
        if (error) {
            *error =
                StoreError{StoreError::CalendarNotFound, QStringLiteral("There is no calendar to save.")};
        }
        return false;
    }
    return m_impl->write(
        error, [&](EventStoreWriter& writer, StoreError* e) { return writer.saveCalendar(*calendar, e); });
}

bool EKEventStore::removeCalendar(const std::shared_ptr<EKCalendar>& calendar, bool /*commit*/,
                                  StoreError* error) {
    if (!calendar) {
        if (error) {
            *error =
                StoreError{StoreError::CalendarNotFound, QStringLiteral("There is no calendar to remove.")};
        }
        return false;
    }
    return m_impl->write(
        error, [&](EventStoreWriter& writer, StoreError* e) { return writer.removeCalendar(*calendar, e); });
}

EKEventStore::ObserverId EKEventStore::addChangeObserver(ChangeObserver observer) {
    std::lock_guard lock(m_impl->m_observersMutex);
    const ObserverId id = m_impl->m_nextObserverId++;
    m_impl->m_observers.emplace(id, std::move(observer));
    return id;
}

void EKEventStore::removeChangeObserver(ObserverId observerId) {
    std::lock_guard lock(m_impl->m_observersMutex);
    m_impl->m_observers.erase(observerId);
}

std::vector<std::shared_ptr<EKEvent>>
EKEventStore::eventRecords(const std::shared_ptr<EKCalendar>& calendar) const {
    if (!calendar) {
        return {};
    }
    Impl::Lease connection = m_impl->reader();
    return connection ? connection->records(calendar->calendarIdentifier())
                      : std::vector<std::shared_ptr<EKEvent>>{};
}

namespace {

// What tells whether a feed's file changed: its modification time and size.
QString feedStamp(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return QString();
    }
    return QStringLiteral("%1 %2").arg(info.lastModified().toMSecsSinceEpoch()).arg(info.size());
}

// Why a subscribed file gives its calendar nothing: refused as a whole, or without one event that
// can be read.
std::optional<QString> unusable(const ICalendarParseResult& parsed) {
    if (parsed.error) {
        return parsed.error->message();
    }
    if (parsed.events.empty() && !parsed.skipped.empty()) {
        return parsed.skipped.front().message();
    }
    return std::nullopt;
}

// A subscribed file's events that could not be read are left out of its calendar; the log says
// which and why.
void logReadProblems(const ICalendarParseResult& parsed, const QString& title) {
    for (const ICalendarError& skipped : parsed.skipped) {
        Log::warning(
            eventStoreLogCategory,
            QStringLiteral("the calendar “%1” leaves out an event: %2").arg(title, skipped.message()));
    }
    for (const ICalendarError& warning : parsed.warnings) {
        Log::warning(eventStoreLogCategory,
                     QStringLiteral("the calendar “%1”: %2").arg(title, warning.message()));
    }
}

// Birthdays repeat every year on their day; one on 29 February falls on the last day of
// February in other years. A birthday without a year starts in 1900.
std::vector<std::shared_ptr<EKEvent>> birthdayEvents(const std::vector<Birthday>& birthdays,
                                                     EKEventStore& store) {
    std::vector<std::shared_ptr<EKEvent>> events;
    for (const Birthday& birthday : birthdays) {
        const int year = birthday.year.value_or(1900);
        const bool leapDay = birthday.month == 2 && birthday.day == 29;
        int day = birthday.day;
        if (leapDay && !CivilDate::isLeapYear(year)) {
            day = 28;
        }
        if (!CivilDate::isValid(year, birthday.month, day)) {
            continue;
        }
        auto event = EKEvent::eventWithEventStore(store);
        const QString key = birthday.uid.isEmpty() ? birthday.name : birthday.uid;
        event->setEventIdentifier(
            QStringLiteral("birthday:%1:%2-%3")
                .arg(key, QString::number(birthday.month), QString::number(birthday.day)));
        event->setTitle(birthday.name);
        event->setAllDay(true);
        const std::int64_t days = CivilDate::daysFromCivil(year, birthday.month, day);
        event->setStartDate(WallClock::startOfDay(days));
        event->setEndDate(WallClock::startOfDay(days + 1));
        event->setRecurrenceRule(EKRecurrenceRule::fromRRule(
            leapDay ? QStringLiteral("FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1") : QStringLiteral("FREQ=YEARLY"),
            nullptr));
        events.push_back(std::move(event));
    }
    return events;
}

} // namespace

void EKEventStore::refreshSourcesIfNecessary() {
    std::vector<EventStoreConnection::CalendarInfo> feeds;
    {
        Impl::Lease connection = m_impl->reader();
        if (!connection) {
            return;
        }
        for (EventStoreConnection::CalendarInfo& info : connection->calendars()) {
            if (!info.feedPath.isEmpty()) {
                feeds.push_back(std::move(info));
            }
        }
    }
    for (const EventStoreConnection::CalendarInfo& feed : feeds) {
        const QString stamp = feedStamp(feed.feedPath);
        if (stamp.isEmpty() || stamp == feed.feedStamp) {
            continue;
        }
        std::vector<std::shared_ptr<EKEvent>> events;
        QString problem;
        if (feed.calendar->type() == EKCalendarType::Birthday) {
            if (const auto birthdays = VCardBirthdays::parseFile(feed.feedPath, &problem)) {
                events = birthdayEvents(*birthdays, *this);
            }
        } else {
            ICalendarParseResult parsed = ICalendarReader(*this).readFile(feed.feedPath);
            problem = unusable(parsed).value_or(QString());
            logReadProblems(parsed, feed.calendar->title());
            events = std::move(parsed.events);
        }
        StoreError error;
        if (!problem.isEmpty()) {
            // The calendar keeps what it had; the file is read again once it changes.
            Log::warning(eventStoreLogCategory, QStringLiteral("the calendar “%1” keeps its events: %2")
                                                    .arg(feed.calendar->title(), problem));
            m_impl->write(
                &error,
                [&](EventStoreWriter& writer, StoreError*) { return writer.setFeedStamp(feed.id, stamp); },
                false);
            continue;
        }
        if (!m_impl->write(
                &error,
                [&](EventStoreWriter& writer, StoreError* e) {
                    return writer.replaceFeedEvents(feed.calendar, events, stamp, e);
                },
                true, EKUndo::NotKept, EKEventStoreChange::Origin::Sync)) {
            Log::warning(eventStoreLogCategory, QStringLiteral("the calendar “%1” could not be refreshed: %2")
                                                    .arg(feed.calendar->title(), error.localizedDescription));
        }
    }
}

std::shared_ptr<EKCalendar> EKEventStore::addSubscribedCalendar(const QString& title, const QString& icsPath,
                                                                StoreError* error) {
    const auto refuse = [error](const QString& problem) -> std::shared_ptr<EKCalendar> {
        if (error) {
            *error = StoreError{StoreError::BadFile, problem};
        }
        return nullptr;
    };
    for (const QLatin1String scheme : {QLatin1String("http://"), QLatin1String("https://"),
                                       QLatin1String("webcal://"), QLatin1String("webcals://")}) {
        if (icsPath.startsWith(scheme, Qt::CaseInsensitive)) {
            return refuse(
                QStringLiteral("%1 is an address, not a file: subscriptions to calendar addresses "
                               "are not available yet; save the calendar as a file and subscribe to that")
                    .arg(icsPath));
        }
    }
    const QString path = QFileInfo(icsPath).absoluteFilePath();
    for (const std::shared_ptr<EKCalendar>& existing : calendars()) {
        if (existing->type() == EKCalendarType::Subscription && existing->subscriptionPath() == path) {
            return refuse(QStringLiteral("%1 is already subscribed as “%2”").arg(path, existing->title()));
        }
    }
    const QString stamp = feedStamp(path);
    ICalendarParseResult parsed = ICalendarReader(*this).readFile(path);
    if (const std::optional<QString> problem = unusable(parsed)) {
        return refuse(*problem);
    }
    logReadProblems(parsed, title);
    auto calendar = std::make_shared<EKCalendar>(EventStoreWriter::newIdentifier(),
                                                 EKCalendarType::Subscription, nullptr);
    calendar->setTitle(title);
    calendar->setColor(Color(0.61, 0.35, 0.71));
    calendar->setSubscriptionPath(path);
    const bool written = m_impl->write(error, [&](EventStoreWriter& writer, StoreError* e) {
        const std::int64_t sourceId =
            writer.ensureSource(QStringLiteral("Subscribed Calendars"), EKSourceType::Subscribed, e);
        return sourceId != 0 && writer.insertCalendar(*calendar, sourceId, path, e) != 0 &&
               writer.replaceFeedEvents(calendar, parsed.events, stamp, e);
    });
    if (!written) {
        return nullptr;
    }
    for (const std::shared_ptr<EKCalendar>& stored : calendars()) {
        if (stored->isEqual(*calendar)) {
            return stored;
        }
    }
    return nullptr;
}

bool EKEventStore::setBirthdaysContactsFile(const QString& vcfPath, StoreError* error) {
    std::vector<std::shared_ptr<EKCalendar>> existing;
    for (const std::shared_ptr<EKCalendar>& calendar : calendars()) {
        if (calendar->type() == EKCalendarType::Birthday) {
            existing.push_back(calendar);
        }
    }
    if (vcfPath.isEmpty()) {
        return m_impl->write(error, [&](EventStoreWriter& writer, StoreError* e) {
            for (const std::shared_ptr<EKCalendar>& calendar : existing) {
                if (!writer.removeCalendar(*calendar, e)) {
                    return false;
                }
            }
            return true;
        });
    }
    const QString path = QFileInfo(vcfPath).absoluteFilePath();
    const QString stamp = feedStamp(path);
    QString problem;
    const std::optional<std::vector<Birthday>> birthdays = VCardBirthdays::parseFile(path, &problem);
    if (!birthdays) {
        if (error) {
            *error = StoreError{StoreError::BadFile, problem};
        }
        return false;
    }
    std::vector<std::shared_ptr<EKEvent>> events = birthdayEvents(*birthdays, *this);
    return m_impl->write(error, [&](EventStoreWriter& writer, StoreError* e) {
        std::shared_ptr<EKCalendar> calendar = existing.empty() ? nullptr : existing.front();
        if (!calendar) {
            const std::int64_t sourceId =
                writer.ensureSource(QStringLiteral("Birthdays"), EKSourceType::Birthdays, e);
            calendar = std::make_shared<EKCalendar>(EventStoreWriter::newIdentifier(),
                                                    EKCalendarType::Birthday, nullptr);
            calendar->setTitle(QStringLiteral("Birthdays"));
            calendar->setColor(Color(0.95, 0.61, 0.07));
            if (sourceId == 0 || writer.insertCalendar(*calendar, sourceId, path, e) == 0) {
                return false;
            }
        } else if (!writer.setFeedPath(calendar->calendarIdentifier(), path)) {
            return false;
        }
        return writer.replaceFeedEvents(calendar, events, stamp, e);
    });
}
