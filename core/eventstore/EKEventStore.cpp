#include "core/eventstore/EKEventStore.h"

#include "core/eventstore/EventStoreConnection.h"
#include "core/eventstore/EventStoreSchema.h"
#include "core/eventstore/EventStoreWriter.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/RunLoop.h"

#include <QDir>
#include <QFileInfo>

#include <map>
#include <mutex>

namespace {

const QString category = QStringLiteral("eventstore");

// Readers keep a few idle connections (each with its parsed series) for the next query.
constexpr std::size_t idleConnectionLimit = 8;
constexpr double pollInterval = 0.5;

} // namespace

class EKEventStore::Impl : public std::enable_shared_from_this<Impl> {
public:
    explicit Impl(QString path) : m_path(std::move(path)) {}

    void open();
    void startPolling();
    void stopPolling();

    class Lease {
    public:
        Lease(Impl& impl, std::unique_ptr<EventStoreConnection> connection)
            : m_impl(impl), m_connection(std::move(connection)) {}
        ~Lease() { m_impl.release(std::move(m_connection)); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;

        EventStoreConnection* operator->() const { return m_connection.get(); }
        explicit operator bool() const { return m_connection != nullptr; }

    private:
        Impl& m_impl;
        std::unique_ptr<EventStoreConnection> m_connection;
    };

    Lease reader();
    void release(std::unique_ptr<EventStoreConnection> connection);

    // Runs `change` in one write transaction; commits when it succeeds and then tells the
    // observers unless `announce` is false (the store's own set-up).
    template <typename Change> bool write(StoreError* error, Change change, bool announce = true);

    void notifyObservers();
    void poll();

    QString m_path;
    // Why the store cannot be written (a database it cannot open, or one from a newer version).
    QString m_writeProblem;

    std::mutex m_writeMutex;
    EventStoreConnection m_writer;
    bool m_writerOpen = false;
    std::int64_t m_dataVersion = 0;

    std::mutex m_poolMutex;
    std::vector<std::unique_ptr<EventStoreConnection>> m_idle;

    std::mutex m_observersMutex;
    std::map<ObserverId, std::function<void()>> m_observers;
    ObserverId m_nextObserverId = 1;

    std::mutex m_timerMutex;
    std::shared_ptr<Timer> m_pollTimer;
    bool m_stopped = false;

    std::shared_ptr<const EKSource> m_localSource;
};

void EKEventStore::Impl::open() {
    const QFileInfo info(m_path);
    QDir().mkpath(info.absolutePath());
    QString problem;
    if (!m_writer.open(m_path, &problem)) {
        m_writeProblem =
            QStringLiteral("The calendar database “%1” cannot be opened: %2").arg(m_path, problem);
        Log::error(category, m_writeProblem);
        return;
    }
    m_writerOpen = true;
    m_writer.sql().exec("PRAGMA journal_mode = WAL");
    m_writer.sql().exec("PRAGMA synchronous = NORMAL");
    const EventStoreSchema::Result result = EventStoreSchema::migrate(m_writer.sql(), &problem);
    if (result == EventStoreSchema::Result::TooNew || result == EventStoreSchema::Result::Failed) {
        m_writeProblem = problem;
        Log::error(category, problem);
    } else {
        StoreError error;
        if (!write(
                &error, [](EventStoreWriter& writer, StoreError* e) { return writer.ensureDefaults(e); },
                false)) {
            Log::error(category, error.localizedDescription);
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

template <typename Change> bool EKEventStore::Impl::write(StoreError* error, Change change, bool announce) {
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
    if (!m_writer.sql().exec("BEGIN IMMEDIATE")) {
        return fail(QStringLiteral("The calendar database is busy: %1").arg(m_writer.sql().lastError()));
    }
    EventStoreWriter writer(m_writer);
    StoreError local;
    if (!change(writer, &local)) {
        m_writer.sql().exec("ROLLBACK");
        if (error) {
            *error = local;
        }
        return false;
    }
    if (!m_writer.sql().exec("COMMIT")) {
        const QString problem = m_writer.sql().lastError();
        m_writer.sql().exec("ROLLBACK");
        return fail(QStringLiteral("The calendar database could not be written: %1").arg(problem));
    }
    lock.unlock();
    std::weak_ptr<Impl> weak = weak_from_this();
    if (announce && !weak.expired()) {
        RunLoop::main().post([weak] {
            if (const std::shared_ptr<Impl> self = weak.lock()) {
                self->notifyObservers();
            }
        });
    }
    return true;
}

EKEventStore::Impl::Lease EKEventStore::Impl::reader() {
    {
        std::lock_guard lock(m_poolMutex);
        if (!m_idle.empty()) {
            std::unique_ptr<EventStoreConnection> connection = std::move(m_idle.back());
            m_idle.pop_back();
            return Lease(*this, std::move(connection));
        }
    }
    auto connection = std::make_unique<EventStoreConnection>();
    QString problem;
    if (!connection->open(m_path, &problem)) {
        Log::error(category, QStringLiteral("cannot read the calendar database: %1").arg(problem));
        return Lease(*this, nullptr);
    }
    connection->sql().exec("PRAGMA query_only = 1");
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

void EKEventStore::Impl::notifyObservers() {
    std::vector<std::function<void()>> observers;
    {
        std::lock_guard lock(m_observersMutex);
        for (const auto& [id, observer] : m_observers) {
            observers.push_back(observer);
        }
    }
    for (const std::function<void()>& observer : observers) {
        observer();
    }
}

void EKEventStore::Impl::poll() {
    bool changed = false;
    {
        // A long write (a refresh on a background thread) must not block the main thread: skip
        // this turn instead.
        std::unique_lock lock(m_writeMutex, std::try_to_lock);
        if (!lock.owns_lock() || !m_writerOpen) {
            return;
        }
        // data_version changes when another connection committed; our own commits go through
        // this connection and leave it alone.
        const std::int64_t version = m_writer.sql().dataVersion();
        changed = version != m_dataVersion;
        m_dataVersion = version;
    }
    if (changed) {
        notifyObservers();
    }
}

void EKEventStore::Impl::startPolling() {
    std::weak_ptr<Impl> weak = weak_from_this();
    const auto schedule = [weak] {
        const std::shared_ptr<Impl> self = weak.lock();
        if (!self) {
            return;
        }
        std::lock_guard lock(self->m_timerMutex);
        if (self->m_stopped || self->m_pollTimer) {
            return;
        }
        self->m_pollTimer = RunLoop::main().scheduleTimer(pollInterval, true, [weak] {
            if (const std::shared_ptr<Impl> target = weak.lock()) {
                target->poll();
            }
        });
    };
    if (RunLoop::main().isMainThread()) {
        schedule();
    } else {
        RunLoop::main().post(schedule);
    }
}

void EKEventStore::Impl::stopPolling() {
    std::lock_guard lock(m_timerMutex);
    m_stopped = true;
    if (m_pollTimer) {
        m_pollTimer->invalidate();
        m_pollTimer.reset();
    }
}

EKEventStore::EKEventStore() : EKEventStore(Paths::dataFilePath(QStringLiteral("events.sqlite"))) {}

EKEventStore::EKEventStore(const QString& databasePath) : m_impl(std::make_shared<Impl>(databasePath)) {
    m_impl->open();
    m_impl->startPolling();
}

EKEventStore::~EKEventStore() {
    m_impl->stopPolling();
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

bool EKEventStore::saveEvent(const std::shared_ptr<EKEvent>& event, EKSpan span, StoreError* error) {
    if (!event) {
        if (error) {
            *error = StoreError{StoreError::EventNotFound, QStringLiteral("There is no event to save.")};
        }
        return false;
    }
    EKEvent working = *event;
    if (!m_impl->write(error, [&](EventStoreWriter& writer, StoreError* e) {
            return writer.saveEvent(working, span, e);
        })) {
        return false;
    }
    *event = working;
    return true;
}

bool EKEventStore::removeEvent(const std::shared_ptr<EKEvent>& event, EKSpan span, StoreError* error) {
    if (!event) {
        if (error) {
            *error = StoreError{StoreError::EventNotFound, QStringLiteral("There is no event to remove.")};
        }
        return false;
    }
    return m_impl->write(
        error, [&](EventStoreWriter& writer, StoreError* e) { return writer.removeEvent(*event, span, e); });
}

bool EKEventStore::saveEvents(const std::vector<std::shared_ptr<EKEvent>>& events, StoreError* error) {
    return m_impl->write(
        error, [&](EventStoreWriter& writer, StoreError* e) { return writer.saveEvents(events, false, e); });
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

EKEventStore::ObserverId EKEventStore::addChangeObserver(std::function<void()> observer) {
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

void EKEventStore::refreshSourcesIfNecessary() {}

std::shared_ptr<EKCalendar>
EKEventStore::addSubscribedCalendar(const QString& /*title*/, const QString& /*icsPath*/, StoreError* error) {
    if (error) {
        *error = StoreError{StoreError::BadFile, QStringLiteral("Subscriptions are not available yet.")};
    }
    return nullptr;
}

bool EKEventStore::setBirthdaysContactsFile(const QString& /*vcfPath*/, StoreError* error) {
    if (error) {
        *error = StoreError{StoreError::BadFile, QStringLiteral("Birthdays are not available yet.")};
    }
    return false;
}
