// Syncs with a local Radicale (started on 127.0.0.1 by the benchmark): the first sync of a
// calendar of 5,000 events (its time, and the process's peak memory: run it alone with
// --benchmark_filter=CalDav for that figure), a sync with nothing changed, and a sync with one
// change on each side. The last two run against a calendar of 500 events and one of 5,000: the
// server's own cost of answering whether a calendar changed grows with its size. The CPU column is
// this process's own work, all threads, without the server's.
#include "core/eventstore/EKEventStore.h"
#include "core/sync/CalDavClient.h"
#include "core/sync/CalDavStore.h"
#include "core/sync/CalDavSync.h"
#include "testing/RadicaleServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <map>
#include <memory>

namespace {

QByteArray serverEvent(int number, const QString& title) {
    const int day = 1 + number % 28;
    const int month = 1 + (number / 28) % 12;
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Another device//EN\r\n"
                          "BEGIN:VEVENT\r\nUID:event-%1\r\nDTSTAMP:20240101T000000Z\r\n"
                          "DTSTART:2024%2%3T090000Z\r\nDTEND:2024%2%3T100000Z\r\nSUMMARY:%4\r\n"
                          "LOCATION:Room %5\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
        .arg(number)
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(title)
        .arg(number % 40)
        .toUtf8();
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Radicale with one calendar of `serverEvents` events, laid down in its storage directly.
class SyncServer {
public:
    explicit SyncServer(int serverEvents) {
        m_problem = m_radicale.start();
        if (m_problem.isEmpty()) {
            m_problem = m_radicale.createCalendar(QStringLiteral("many"), QStringLiteral("Many"));
        }
        const QString folder = m_radicale.storageFolder() + QStringLiteral("/collection-root/") +
                               m_radicale.userName() + QStringLiteral("/many/");
        for (int number = 0; m_problem.isEmpty() && number < serverEvents; ++number) {
            QFile item(folder + QStringLiteral("event-%1.ics").arg(number));
            if (!item.open(QIODevice::WriteOnly)) {
                m_problem = item.errorString();
            }
            item.write(serverEvent(number, QStringLiteral("Event %1").arg(number)));
        }
    }

    const QString& problem() const { return m_problem; }
    RadicaleServer& radicale() { return m_radicale; }
    QUrl calendar() const { return m_radicale.calendarUrl(QStringLiteral("many")); }

private:
    RadicaleServer m_radicale;
    QString m_problem;
};

// One server per calendar size, started at first use and kept for the run (never destroyed: the
// servers end with this process).
SyncServer& server(int serverEvents) {
    static auto* const servers = new std::map<int, std::unique_ptr<SyncServer>>;
    std::unique_ptr<SyncServer>& shared = (*servers)[serverEvents];
    if (!shared) {
        shared = std::make_unique<SyncServer>(serverEvents);
    }
    return *shared;
}

// A store of its own with an account on the server.
class SyncedStore {
public:
    explicit SyncedStore(SyncServer& server)
        : m_store(m_folder.filePath(QStringLiteral("events.sqlite"))),
          m_client(server.radicale().userName(), server.radicale().password(), CalDavClient::Options{}) {
        m_account.title = QStringLiteral("Radicale");
        m_account.serverUrl = server.radicale().url();
        m_account.userName = server.radicale().userName();
        StoreError error;
        CalDavStore(m_store).addAccount(m_account, &error);
    }

    SyncReport sync() {
        CalDavSync sync(m_store, m_client);
        SyncReport report = sync.sync(m_account);
        // The store's change notices are posted to the main loop.
        QCoreApplication::processEvents();
        return report;
    }

    EKEventStore& store() { return m_store; }
    CalDavClient& client() { return m_client; }

private:
    QTemporaryDir m_folder;
    EKEventStore m_store;
    CalDavClient m_client;
    CalDavAccount m_account;
};

bool ready(benchmark::State& state, SyncServer& server) {
    if (!server.problem().isEmpty()) {
        state.SkipWithError(server.problem().toStdString().c_str());
        return false;
    }
    return true;
}

void reportFailure(benchmark::State& state, const SyncReport& report) {
    if (!report.failure.isEmpty()) {
        state.SkipWithError(report.failure.toStdString().c_str());
    }
}

void BM_CalDavFirstSyncOf5000Events(benchmark::State& state) {
    SyncServer& big = server(5000);
    if (!ready(state, big)) {
        return;
    }
    int pulled = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<SyncedStore>(big);
        state.ResumeTiming();
        const SyncReport report = store->sync();
        reportFailure(state, report);
        pulled = report.pulled;
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["pulled"] = pulled;
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_CalDavFirstSyncOf5000Events)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->MeasureProcessCPUTime();

// One store per calendar size, synced once, shared by the two benchmarks below.
SyncedStore& syncedStore(int serverEvents) {
    static auto* const stores = new std::map<int, std::unique_ptr<SyncedStore>>;
    std::unique_ptr<SyncedStore>& shared = (*stores)[serverEvents];
    if (!shared) {
        shared = std::make_unique<SyncedStore>(server(serverEvents));
        shared->sync();
    }
    return *shared;
}

void BM_CalDavSyncWithNothingChanged(benchmark::State& state) {
    const int serverEvents = static_cast<int>(state.range(0));
    if (!ready(state, server(serverEvents))) {
        return;
    }
    SyncedStore& store = syncedStore(serverEvents);
    for (auto _ : state) {
        reportFailure(state, store.sync());
    }
}
BENCHMARK(BM_CalDavSyncWithNothingChanged)
    ->Arg(500)
    ->Arg(5000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_CalDavSyncWithOneChangeEachWay(benchmark::State& state) {
    const int serverEvents = static_cast<int>(state.range(0));
    if (!ready(state, server(serverEvents))) {
        return;
    }
    SyncedStore& store = syncedStore(serverEvents);
    // Counts across the benchmark's runs, so that every change writes something new.
    static int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        const QUrl there = server(serverEvents).calendar().resolved(QUrl(QStringLiteral("event-1.ics")));
        const DavResult<DavResource> current = store.client().get(there);
        const DavResult<QString> changed =
            current ? store.client().put(there, serverEvent(1, QStringLiteral("Changed there %1").arg(round)),
                                         current.value().etag)
                    : DavResult<QString>(current.error());
        if (!changed) {
            state.SkipWithError(changed.error().message.toStdString().c_str());
            break;
        }
        const auto events = store.store().eventsMatchingPredicate(store.store().predicateForEvents(
            Date::withTimeIntervalSince1970(1704067200), Date::withTimeIntervalSince1970(1735689600),
            store.store().calendars()));
        for (const auto& event : events) {
            if (event->title().startsWith(QStringLiteral("Event 2"))) {
                event->setTitle(QStringLiteral("Event 2, changed here %1").arg(round));
                StoreError error;
                store.store().saveEvent(event, EKSpan::ThisEvent, &error);
                break;
            }
        }
        state.ResumeTiming();
        const SyncReport report = store.sync();
        reportFailure(state, report);
        if (report.failure.isEmpty() && (report.pulled != 1 || report.pushed != 1)) {
            const std::string moved =
                QStringLiteral("the sync did not move one change each way: pulled %1, pushed %2")
                    .arg(report.pulled)
                    .arg(report.pushed)
                    .toStdString();
            state.SkipWithError(moved.c_str());
        }
        if (!report.failure.isEmpty() || report.pulled != 1 || report.pushed != 1) {
            break;
        }
    }
}
BENCHMARK(BM_CalDavSyncWithOneChangeEachWay)
    ->Arg(500)
    ->Arg(5000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
