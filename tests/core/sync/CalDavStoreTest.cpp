#include "core/sync/CalDavStore.h"
#include "../eventstore/EventStoreTestSupport.h"
#include "core/eventstore/ICalendarReader.h"

namespace {

class CalDavStoreTest : public EventStoreTest {
protected:
    void SetUp() override {
        EventStoreTest::SetUp();
        m_account.title = QStringLiteral("Work server");
        m_account.serverUrl = QUrl(QStringLiteral("http://127.0.0.1:5232/"));
        m_account.userName = QStringLiteral("ann");
        StoreError error;
        ASSERT_TRUE(sync().addAccount(m_account, &error)) << error.localizedDescription.toStdString();
        ASSERT_TRUE(sync().updateCalendars(m_account, {serverCalendar("work", "Work", true)}, &error));
        ASSERT_EQ(sync().calendars(m_account).size(), 1u);
        m_calendar = sync().calendars(m_account).front();
    }

    CalDavStore sync() { return CalDavStore(store()); }

    static DavCalendar serverCalendar(const char* path, const char* name, bool writable) {
        DavCalendar calendar;
        calendar.url = QUrl(QStringLiteral("http://127.0.0.1:5232/ann/%1/").arg(QLatin1String(path)));
        calendar.displayName = QString::fromLatin1(name);
        calendar.color = QStringLiteral("#FF8000");
        calendar.writable = writable;
        return calendar;
    }

    // A resource as the server would hand it over.
    ReceivedResource resource(const char* uid, const char* title, const char* etag) {
        const QByteArray text = QByteArrayLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:") +
                                uid +
                                "\r\nDTSTART:20240506T070000Z\r\nDTEND:20240506T080000Z\r\nSUMMARY:" + title +
                                "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        ICalendarParseResult parsed = ICalendarReader(store()).read(text, QStringLiteral("server"));
        EXPECT_EQ(parsed.events.size(), 1u);
        return ReceivedResource{
            m_calendar.url.resolved(QUrl(QString::fromLatin1(uid) + QStringLiteral(".ics"))),
            QString::fromLatin1(etag), QString::fromLatin1(uid), std::move(parsed.events)};
    }

    // "uid href etag ×changes" per journal entry.
    QStringList journal() {
        QStringList lines;
        for (const UnsentChange& change : sync().unsentChanges(m_calendar)) {
            lines.append(QStringLiteral("%1 %2 %3 ×%4")
                             .arg(change.uid, change.href.fileName(), change.etag)
                             .arg(change.changes));
        }
        return lines;
    }

    std::shared_ptr<EKEvent> serverEvent() {
        const auto events = query(at(2024, 5, 6), at(2024, 5, 7));
        return events.empty() ? nullptr : events.front();
    }

    CalDavAccount m_account;
    SyncedCalendar m_calendar;
};

TEST_F(CalDavStoreTest, EveryChangeHereToAServerEventIsJournalledWithTheWriteAndNothingTheSyncWrites) {
    StoreError error;
    ASSERT_TRUE(sync().storeResources(m_calendar, {resource("standup", "Standup", "\"e1\"")}, &error));
    EXPECT_TRUE(journal().isEmpty());
    EXPECT_EQ(sync().resources(m_calendar).begin()->second.etag, QStringLiteral("\"e1\""));

    // An edit here keeps the server's address and etag for the conditional write.
    auto event = serverEvent();
    ASSERT_TRUE(event);
    event->setTitle(QStringLiteral("Standup, room 2"));
    ASSERT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, &error));
    EXPECT_EQ(journal(), QStringList{QStringLiteral("standup standup.ics \"e1\" ×1")});
    const UnsentChange first = sync().unsentChanges(m_calendar).front();

    // Changed again while the first change was being sent: the entry stays with the new etag.
    event->setTitle(QStringLiteral("Standup, room 3"));
    ASSERT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, &error));
    ASSERT_TRUE(sync().confirmSent(m_calendar, first, first.href, QStringLiteral("\"e2\""), &error));
    EXPECT_EQ(journal(), QStringList{QStringLiteral("standup standup.ics \"e2\" ×2")});
    ASSERT_TRUE(sync().confirmSent(m_calendar, sync().unsentChanges(m_calendar).front(), first.href,
                                   QStringLiteral("\"e3\""), &error));
    EXPECT_TRUE(journal().isEmpty());

    // A deletion remembers where it has to be sent; a refused write journals nothing.
    auto bad = newEvent(QStringLiteral("Bad"), at(2024, 5, 6, 10), at(2024, 5, 6, 9));
    bad->setCalendar(m_calendar.calendar);
    EXPECT_FALSE(store().saveEvent(bad, EKSpan::ThisEvent, nullptr));
    ASSERT_TRUE(store().removeEvent(serverEvent(), EKSpan::ThisEvent, &error, EKUndo::Kept));
    EXPECT_EQ(journal(), QStringList{QStringLiteral("standup standup.ics \"e3\" ×1")});

    // Taking the deletion back is a change of its own; the journal is not part of what undo restores.
    ASSERT_TRUE(store().undo(&error)) << error.localizedDescription.toStdString();
    EXPECT_EQ(journal(), QStringList{QStringLiteral("standup standup.ics \"e3\" ×2")});

    // An event moved to a local calendar leaves a deletion behind; a new one has no address yet.
    event = serverEvent();
    event->setCalendar(defaultCalendar());
    ASSERT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, &error));
    auto created = newEvent(QStringLiteral("Review"), at(2024, 5, 7, 9), at(2024, 5, 7, 10));
    created->setCalendar(m_calendar.calendar);
    ASSERT_TRUE(store().saveEvent(created, EKSpan::ThisEvent, &error));
    const QStringList entries = journal();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0], QStringLiteral("standup standup.ics \"e3\" ×3"));
    EXPECT_TRUE(entries[1].endsWith(QStringLiteral("  ×1"))) << entries[1].toStdString();
    EXPECT_TRUE(sync().records(m_calendar, QStringLiteral("standup")).empty());
}

TEST_F(CalDavStoreTest, ServerCalendarsFollowTheServerAndKeepTheirIdentifiers) {
    StoreError error;
    const QString identifier = m_calendar.calendar->calendarIdentifier();
    EXPECT_EQ(m_calendar.calendar->type(), EKCalendarType::CalDAV);
    EXPECT_EQ(m_calendar.calendar->source()->title(), QStringLiteral("Work server"));
    EXPECT_EQ(m_calendar.calendar->color()->hexString(), QStringLiteral("#FF8000"));

    // Found again, renamed and now read-only; a new calendar and one without events.
    DavCalendar todo = serverCalendar("todo", "Tasks", true);
    todo.hasEvents = false;
    ASSERT_TRUE(sync().updateCalendars(
        m_account, {serverCalendar("work", "Office", false), serverCalendar("team", "Team", true), todo},
        &error));
    std::vector<SyncedCalendar> calendars = sync().calendars(m_account);
    ASSERT_EQ(calendars.size(), 2u);
    EXPECT_EQ(calendars[0].calendar->calendarIdentifier(), identifier);
    EXPECT_EQ(calendars[0].calendar->title(), QStringLiteral("Office"));
    EXPECT_FALSE(calendars[0].calendar->allowsContentModifications());
    EXPECT_EQ(calendars[1].calendar->title(), QStringLiteral("Team"));

    auto event = newEvent(QStringLiteral("Lunch"), at(2024, 5, 6, 12), at(2024, 5, 6, 13));
    event->setCalendar(calendars[0].calendar);
    EXPECT_FALSE(store().saveEvent(event, EKSpan::ThisEvent, &error));
    EXPECT_EQ(error.code, StoreError::CalendarReadOnly);

    // A second account of the same server is an account of its own; names are unique.
    CalDavAccount second = m_account;
    EXPECT_FALSE(sync().addAccount(second, &error));
    second.title = QStringLiteral("Home server");
    ASSERT_TRUE(sync().addAccount(second, &error));
    EXPECT_EQ(sync().accounts().size(), 2u);

    // A calendar the server no longer lists goes, and so does a removed account's.
    ASSERT_TRUE(sync().updateCalendars(m_account, {serverCalendar("team", "Team", true)}, &error));
    EXPECT_EQ(sync().calendars(m_account).size(), 1u);
    ASSERT_TRUE(sync().removeAccount(m_account, &error));
    EXPECT_EQ(sync().accounts().size(), 1u);
    EXPECT_EQ(store().calendars().size(), 1u);
}

TEST_F(CalDavStoreTest, BothVersionsAreKeptWhenBothSidesChangedAnEvent) {
    StoreError error;
    ASSERT_TRUE(sync().storeResources(m_calendar, {resource("standup", "Standup", "\"e1\"")}, &error));
    auto event = serverEvent();
    event->setTitle(QStringLiteral("Standup here"));
    ASSERT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, &error));
    const QString identifier = event->eventIdentifier();

    ASSERT_TRUE(sync().keepBoth(m_calendar, sync().unsentChanges(m_calendar).front(),
                                resource("standup", "Standup there", "\"e2\""), QStringLiteral(" (mine)"),
                                &error));
    QStringList both = describe(query(at(2024, 5, 6), at(2024, 5, 7)));
    both.sort();
    EXPECT_EQ(both, (QStringList{QStringLiteral("Standup here (mine) 2024-05-06 09:00 – 2024-05-06 10:00"),
                                 QStringLiteral("Standup there 2024-05-06 09:00 – 2024-05-06 10:00")}));
    // The server's version keeps the event's identifier; the copy is a new resource to send.
    EXPECT_EQ(store().eventWithIdentifier(identifier)->title(), QStringLiteral("Standup there"));
    const std::vector<UnsentChange> unsent = sync().unsentChanges(m_calendar);
    ASSERT_EQ(unsent.size(), 1u);
    EXPECT_NE(unsent.front().uid, QStringLiteral("standup"));
    EXPECT_TRUE(unsent.front().href.isEmpty());
}

} // namespace
