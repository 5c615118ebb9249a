#include "core/sync/CalDavSync.h"
#include "RadicaleStoreTest.h"

namespace {

// A weekly series on Mondays with its second occurrence moved to 11:00.
QByteArray serverSeries() {
    return QByteArrayLiteral(
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Another device//EN\r\n"
        "BEGIN:VEVENT\r\nUID:weekly\r\nDTSTAMP:20240101T000000Z\r\n"
        "DTSTART:20240506T080000Z\r\nDTEND:20240506T083000Z\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\n"
        "SUMMARY:Weekly\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:weekly\r\nDTSTAMP:20240101T000000Z\r\n"
        "RECURRENCE-ID:20240513T080000Z\r\n"
        "DTSTART:20240513T090000Z\r\nDTEND:20240513T093000Z\r\n"
        "SUMMARY:Weekly moved\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
}

class CalDavSyncTest : public RadicaleStoreTest {
protected:
    void SetUp() override {
        RadicaleStoreTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        m_account.title = QStringLiteral("Radicale");
        m_account.serverUrl = m_radicale.url();
        m_account.userName = m_radicale.userName();
        StoreError error;
        ASSERT_TRUE(CalDavStore(store()).addAccount(m_account, &error));
    }

    SyncReport synced() {
        CalDavSync sync(store(), m_client);
        SyncReport report = sync.sync(m_account);
        EXPECT_TRUE(report.failure.isEmpty()) << report.failure.toStdString();
        m_loop->runUntilIdle();
        return report;
    }

    static QString counts(const SyncReport& report) {
        return QStringLiteral("pulled %1, pushed %2, removed here %3, there %4, conflicts %5")
            .arg(report.pulled)
            .arg(report.pushed)
            .arg(report.removedHere)
            .arg(report.removedThere)
            .arg(report.conflicts);
    }

    // What another device does on the server, with a client of its own.
    QString putOnServer(const QString& name, const QByteArray& data, const QString& etag = QString()) {
        const DavResult<QString> put = m_other.put(m_work.resolved(QUrl(name)), data, etag);
        EXPECT_TRUE(put) << (put ? std::string() : put.error().message.toStdString());
        return put ? put.value() : QString();
    }
    DavResource onServer(const QString& name) {
        const DavResult<DavResource> got = m_other.get(m_work.resolved(QUrl(name)));
        return got ? got.value() : DavResource{};
    }
    // The summaries on the server, sorted, each resource's once.
    QString serverTitles() {
        QStringList titles;
        const DavResult<std::vector<DavEntry>> entries = m_other.entries(m_work);
        EXPECT_TRUE(entries);
        for (const DavEntry& entry : entries ? entries.value() : std::vector<DavEntry>{}) {
            const QByteArray data = m_other.get(entry.url).value().data;
            const qsizetype at = data.indexOf("SUMMARY:");
            titles.append(QString::fromUtf8(data.mid(at + 8, data.indexOf('\r', at) - at - 8)));
        }
        titles.sort();
        return titles.join(QStringLiteral(" | "));
    }
    QString titlesHere() {
        QStringList titles;
        for (const auto& event : query(at(2024, 5, 1), at(2024, 6, 1))) {
            titles.append(event->title());
        }
        titles.sort();
        return titles.join(QStringLiteral(" | "));
    }
    std::shared_ptr<EKEvent> here(const QString& title) {
        for (const auto& event : query(at(2024, 5, 1), at(2024, 6, 1))) {
            if (event->title() == title) {
                return event;
            }
        }
        return nullptr;
    }
    SyncedCalendar workHere() { return CalDavStore(store()).calendars(m_account).front(); }

    CalDavAccount m_account;
    CalDavClient m_client{m_radicale.userName(), m_radicale.password(), CalDavClient::Options{}};
};

TEST_F(CalDavSyncTest, TheServersEventsComeInAndChangesGoBothWays) {
    putOnServer(QStringLiteral("standup.ics"),
                serverEvent(QStringLiteral("standup"), QStringLiteral("Standup"),
                            "ATTENDEE:mailto:bo@example.org\r\n"));
    putOnServer(QStringLiteral("weekly.ics"), serverSeries());

    // First sync: the calendar, a single event and a series with its moved occurrence.
    EXPECT_EQ(counts(synced()), QStringLiteral("pulled 2, pushed 0, removed here 0, there 0, conflicts 0"));
    ASSERT_EQ(workHere().calendar->title(), QStringLiteral("Work"));
    EXPECT_EQ(
        describe(query(at(2024, 5, 6), at(2024, 5, 21))).join(QStringLiteral(" | ")),
        QStringLiteral("Standup 2024-05-06 09:00 – 2024-05-06 10:00 | Weekly 2024-05-06 10:00 – 2024-05-06 "
                       "10:30 | Weekly moved 2024-05-13 11:00 – 2024-05-13 11:30 | Weekly 2024-05-20 10:00 – "
                       "2024-05-20 10:30"));
    EXPECT_EQ(counts(synced()), QStringLiteral("pulled 0, pushed 0, removed here 0, there 0, conflicts 0"));

    // Here: an edit (what this program does not edit goes back as it came), a new event, an edit
    // of one occurrence.
    StoreError error;
    auto standup = here(QStringLiteral("Standup"));
    standup->setTitle(QStringLiteral("Standup room 2"));
    ASSERT_TRUE(store().saveEvent(standup, EKSpan::ThisEvent, &error));
    auto review = newEvent(QStringLiteral("Review"), at(2024, 5, 7, 9), at(2024, 5, 7, 10));
    review->setCalendar(workHere().calendar);
    ASSERT_TRUE(store().saveEvent(review, EKSpan::ThisEvent, &error));
    auto third = query(at(2024, 5, 20), at(2024, 5, 21)).front();
    third->setTitle(QStringLiteral("Weekly last"));
    ASSERT_TRUE(store().saveEvent(third, EKSpan::ThisEvent, &error));
    EXPECT_EQ(counts(synced()), QStringLiteral("pulled 0, pushed 3, removed here 0, there 0, conflicts 0"));
    EXPECT_EQ(serverTitles(), QStringLiteral("Review | Standup room 2 | Weekly"));
    EXPECT_TRUE(onServer(QStringLiteral("standup.ics")).data.contains("ATTENDEE:mailto:bo@example.org"));
    EXPECT_TRUE(onServer(QStringLiteral("weekly.ics")).data.contains("SUMMARY:Weekly last"));
    EXPECT_EQ(counts(synced()), QStringLiteral("pulled 0, pushed 0, removed here 0, there 0, conflicts 0"));

    // There: an edit and a new event; then a deletion on each side.
    putOnServer(QStringLiteral("standup.ics"),
                serverEvent(QStringLiteral("standup"), QStringLiteral("Standup room 3")),
                onServer(QStringLiteral("standup.ics")).etag);
    putOnServer(QStringLiteral("lunch.ics"), serverEvent(QStringLiteral("lunch"), QStringLiteral("Lunch")));
    EXPECT_EQ(counts(synced()), QStringLiteral("pulled 2, pushed 0, removed here 0, there 0, conflicts 0"));
    EXPECT_TRUE(here(QStringLiteral("Standup room 3")));
    EXPECT_TRUE(here(QStringLiteral("Lunch")));

    ASSERT_TRUE(m_other.remove(m_work.resolved(QUrl(QStringLiteral("lunch.ics"))),
                               onServer(QStringLiteral("lunch.ics")).etag));
    putOnServer(QStringLiteral("standup.ics"),
                serverEvent(QStringLiteral("standup"), QStringLiteral("Standup room 4")),
                onServer(QStringLiteral("standup.ics")).etag);
    ASSERT_TRUE(store().removeEvent(here(QStringLiteral("Review")), EKSpan::ThisEvent, &error));
    EXPECT_EQ(counts(synced()), QStringLiteral("pulled 1, pushed 0, removed here 1, there 1, conflicts 0"));
    EXPECT_EQ(serverTitles(), QStringLiteral("Standup room 4 | Weekly"));
    EXPECT_EQ(titlesHere(), QStringLiteral("Standup room 4 | Weekly | Weekly last | Weekly moved"));
}

TEST_F(CalDavSyncTest, NothingIsLostWhenBothSidesChangedAnEvent) {
    putOnServer(QStringLiteral("a.ics"), serverEvent(QStringLiteral("a"), QStringLiteral("A")));
    putOnServer(QStringLiteral("b.ics"), serverEvent(QStringLiteral("b"), QStringLiteral("B")));
    putOnServer(QStringLiteral("c.ics"), serverEvent(QStringLiteral("c"), QStringLiteral("C")));
    synced();
    StoreError error;

    // Round 1: both changed A. The server's version stays; this computer's is kept beside it, here
    // and there.
    putOnServer(QStringLiteral("a.ics"), serverEvent(QStringLiteral("a"), QStringLiteral("A there")),
                onServer(QStringLiteral("a.ics")).etag);
    auto a = here(QStringLiteral("A"));
    a->setTitle(QStringLiteral("A here"));
    ASSERT_TRUE(store().saveEvent(a, EKSpan::ThisEvent, &error));
    const SyncReport report = synced();
    EXPECT_EQ(report.conflicts, 1);
    EXPECT_EQ(titlesHere(), QStringLiteral("A here%1 | A there | B | C").arg(CalDavSync::conflictSuffix()));
    EXPECT_EQ(serverTitles(), titlesHere());
    EXPECT_EQ(here(QStringLiteral("A there"))->eventIdentifier(), a->eventIdentifier());

    // Round 2: B edited here, deleted there: the edit is created there again.
    ASSERT_TRUE(m_other.remove(m_work.resolved(QUrl(QStringLiteral("b.ics"))),
                               onServer(QStringLiteral("b.ics")).etag));
    auto b = here(QStringLiteral("B"));
    b->setTitle(QStringLiteral("B here"));
    ASSERT_TRUE(store().saveEvent(b, EKSpan::ThisEvent, &error));
    synced();
    EXPECT_TRUE(here(QStringLiteral("B here")));
    EXPECT_TRUE(serverTitles().contains(QStringLiteral("B here")));

    // Round 3: C deleted here, edited there: the server's version comes back.
    putOnServer(QStringLiteral("c.ics"), serverEvent(QStringLiteral("c"), QStringLiteral("C there")),
                onServer(QStringLiteral("c.ics")).etag);
    ASSERT_TRUE(store().removeEvent(here(QStringLiteral("C")), EKSpan::ThisEvent, &error));
    synced();
    EXPECT_TRUE(here(QStringLiteral("C there")));
    EXPECT_EQ(serverTitles(), titlesHere());
    EXPECT_EQ(counts(synced()), QStringLiteral("pulled 0, pushed 0, removed here 0, there 0, conflicts 0"));
}

TEST_F(CalDavSyncTest, ChangesMadeOfflineWaitAndAreSentWhenTheServerIsBack) {
    putOnServer(QStringLiteral("a.ics"), serverEvent(QStringLiteral("a"), QStringLiteral("A")));
    synced();
    m_radicale.stop();
    StoreError error;
    auto a = here(QStringLiteral("A"));
    a->setTitle(QStringLiteral("A offline"));
    ASSERT_TRUE(store().saveEvent(a, EKSpan::ThisEvent, &error));
    CalDavSync offline(store(), m_client);
    const SyncReport failed = offline.sync(m_account);
    EXPECT_TRUE(failed.failure.contains(m_radicale.url().host())) << failed.failure.toStdString();
    EXPECT_EQ(CalDavStore(store()).unsentChanges(workHere()).size(), 1u);

    ASSERT_TRUE(m_radicale.start().isEmpty());
    EXPECT_EQ(counts(synced()), QStringLiteral("pulled 0, pushed 1, removed here 0, there 0, conflicts 0"));
    EXPECT_EQ(serverTitles(), QStringLiteral("A offline"));
    EXPECT_TRUE(CalDavStore(store()).unsentChanges(workHere()).empty());
}

} // namespace

TEST_F(CalDavSyncTest, CalendarsAddedRenamedAndRemovedHereAreSoOnTheServer) {
    synced();
    m_account = *CalDavStore(store()).account(m_account.identifier);
    const auto serverCalendars = [this] {
        QStringList names;
        const DavResult<DavDiscovery> found = m_other.discover(m_radicale.url());
        EXPECT_TRUE(found);
        for (const DavCalendar& calendar : found ? found.value().calendars : std::vector<DavCalendar>{}) {
            names.append(calendar.displayName + QLatin1Char(' ') + calendar.color.left(7));
        }
        names.sort();
        return names.join(QStringLiteral(" | "));
    };

    // Added in the account, with an event, before the calendar is on the server.
    StoreError error;
    auto trips = EKCalendar::calendarWithEventStore(store());
    trips->setSource(workHere().calendar->source());
    trips->setTitle(QStringLiteral("Trips"));
    trips->setColor(Color::fromRgb255(0, 128, 0));
    ASSERT_TRUE(store().saveCalendar(trips, true, &error)) << error.localizedDescription.toStdString();
    auto train = EKEvent::eventWithEventStore(store());
    train->setCalendar(trips);
    train->setTitle(QStringLiteral("Train"));
    train->setStartDate(at(2024, 5, 8, 9));
    train->setEndDate(at(2024, 5, 8, 10));
    ASSERT_TRUE(store().saveEvent(train, EKSpan::ThisEvent, &error));
    // Renamed and recoloured.
    auto work = workHere().calendar;
    work->setTitle(QStringLiteral("Office"));
    work->setColor(Color::fromRgb255(0, 0, 255));
    ASSERT_TRUE(store().saveCalendar(work, true, &error));

    EXPECT_EQ(counts(synced()), QStringLiteral("pulled 0, pushed 1, removed here 0, there 0, conflicts 0"));
    EXPECT_EQ(serverCalendars(), QStringLiteral("Office #0000FF | Trips #008000"));
    EXPECT_EQ(synced().pushed, 0) << "nothing is sent twice";
    EXPECT_EQ(serverCalendars(), QStringLiteral("Office #0000FF | Trips #008000"));

    // Removed here: removed there, and it does not come back.
    ASSERT_TRUE(store().removeCalendar(work, true, &error));
    synced();
    EXPECT_EQ(serverCalendars(), QStringLiteral("Trips #008000"));
    QStringList here;
    for (const SyncedCalendar& calendar : CalDavStore(store()).calendars(m_account)) {
        here.append(calendar.calendar->title());
    }
    EXPECT_EQ(here, QStringList{QStringLiteral("Trips")});
    EXPECT_EQ(titlesHere(), QStringLiteral("Train"));
}
