#include "EventStoreTestSupport.h"

#include "testing/LogCapture.h"

#include "core/eventstore/ContentLineReader.h"

#include <QFile>

#include <atomic>
#include <future>
#include <thread>

#include <sys/stat.h>

namespace {

class EventStoreFeedsTest : public EventStoreTest {
protected:
    QString write(const QString& name, const QStringList& lines) {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
        return path;
    }

    static QStringList holidays(const QString& extraTitle = QString()) {
        QStringList lines = {
            QStringLiteral("BEGIN:VCALENDAR"),
            QStringLiteral("VERSION:2.0"),
            QStringLiteral("PRODID:-//Test//EN"),
            QStringLiteral("BEGIN:VEVENT"),
            QStringLiteral("UID:new-year"),
            QStringLiteral("DTSTART;VALUE=DATE:20240101"),
            QStringLiteral("DTEND;VALUE=DATE:20240102"),
            QStringLiteral("RRULE:FREQ=YEARLY"),
            QStringLiteral("SUMMARY:New Year"),
            QStringLiteral("END:VEVENT"),
            QStringLiteral("BEGIN:VEVENT"),
            QStringLiteral("UID:labour"),
            QStringLiteral("DTSTART;VALUE=DATE:20240501"),
            QStringLiteral("DTEND;VALUE=DATE:20240502"),
            QStringLiteral("SUMMARY:Labour Day"),
            QStringLiteral("END:VEVENT"),
        };
        if (!extraTitle.isEmpty()) {
            lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:extra")
                  << QStringLiteral("DTSTART;VALUE=DATE:20240502")
                  << QStringLiteral("DTEND;VALUE=DATE:20240503") << QStringLiteral("SUMMARY:") + extraTitle
                  << QStringLiteral("END:VEVENT");
        }
        lines << QStringLiteral("END:VCALENDAR");
        return lines;
    }

    std::shared_ptr<EKCalendar> subscribe() {
        StoreError error;
        auto calendar = store().addSubscribedCalendar(
            QStringLiteral("Holidays"), write(QStringLiteral("holidays.ics"), holidays()), &error);
        EXPECT_TRUE(calendar) << error.localizedDescription.toStdString();
        return calendar;
    }

    QStringList titlesIn(Date start, Date end) {
        QStringList titles;
        for (const auto& event : query(start, end)) {
            titles.append(event->title());
        }
        return titles;
    }
};

TEST_F(EventStoreFeedsTest, ASubscribedCalendarIsAReadOnlyCalendarOfItsOwnSource) {
    auto calendar = subscribe();
    ASSERT_TRUE(calendar);
    EXPECT_EQ(calendar->title(), QStringLiteral("Holidays"));
    EXPECT_EQ(calendar->type(), EKCalendarType::Subscription);
    EXPECT_FALSE(calendar->allowsContentModifications());
    EXPECT_TRUE(calendar->isImmutable());
    ASSERT_TRUE(calendar->source());
    EXPECT_EQ(calendar->source()->title(), QStringLiteral("Subscribed Calendars"));
    EXPECT_EQ(calendar->source()->sourceType(), EKSourceType::Subscribed);
    EXPECT_TRUE(calendar->descriptionText().contains(QStringLiteral("allowsModify = NO")));
    EXPECT_EQ(store().sources().size(), 2u);
    EXPECT_TRUE(defaultCalendar()->calendarIdentifier() != calendar->calendarIdentifier());

    EXPECT_EQ(titlesIn(at(2030, 1, 1), at(2030, 1, 2)), QStringList{QStringLiteral("New Year")});
    EXPECT_EQ(describe(query(at(2024, 5, 1), at(2024, 5, 2))),
              QStringList{QStringLiteral("Labour Day 2024-05-01 00:00 – 2024-05-02 00:00")});
}

TEST_F(EventStoreFeedsTest, TheEventsOfAReadOnlyCalendarCannotBeChanged) {
    auto calendar = subscribe();
    auto labour = query(at(2024, 5, 1), at(2024, 5, 2)).at(0);
    ASSERT_EQ(labour->calendar()->type(), EKCalendarType::Subscription);

    // The start date is refused by the event itself.
    labour->setStartDate(at(2024, 5, 3));
    EXPECT_EQ(labour->startDate(), at(2024, 5, 1));

    StoreError error;
    labour->setTitle(QStringLiteral("Changed"));
    EXPECT_FALSE(store().saveEvent(labour, EKSpan::ThisEvent, &error));
    EXPECT_EQ(error.code, StoreError::CalendarReadOnly);
    EXPECT_EQ(error.localizedDescription, QStringLiteral("The calendar “Holidays” is read-only."));
    error = {};
    EXPECT_FALSE(store().removeEvent(labour, EKSpan::ThisEvent, &error));
    EXPECT_EQ(error.localizedDescription, QStringLiteral("The calendar “Holidays” is read-only."));

    auto added = newEvent(QStringLiteral("Mine"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    added->setCalendar(calendar);
    error = {};
    EXPECT_FALSE(store().saveEvent(added, EKSpan::ThisEvent, &error));
    EXPECT_EQ(error.localizedDescription, QStringLiteral("The calendar “Holidays” is read-only."));
    EXPECT_TRUE(added->eventIdentifier().isEmpty());

    // Moving one of its events into a writable calendar is a change of the read-only one too.
    labour->setCalendar(defaultCalendar());
    EXPECT_FALSE(store().saveEvent(labour, EKSpan::ThisEvent, &error));
    EXPECT_EQ(titlesIn(at(2024, 5, 1), at(2024, 5, 2)), QStringList{QStringLiteral("Labour Day")});
}

TEST_F(EventStoreFeedsTest, ASubscriptionMayBeRenamedRecolouredAndRemoved) {
    auto calendar = subscribe();
    calendar->setTitle(QStringLiteral("Public holidays"));
    calendar->setColor(Color(0.0, 0.5, 0.0));
    ASSERT_TRUE(store().saveCalendar(calendar, true, nullptr));
    EXPECT_EQ(store().calendars().back()->title(), QStringLiteral("Public holidays"));
    EXPECT_EQ(store().calendars().back()->type(), EKCalendarType::Subscription);
    ASSERT_TRUE(store().removeCalendar(calendar, true, nullptr));
    EXPECT_TRUE(query(at(2024, 1, 1), at(2025, 1, 1)).empty());
    EXPECT_EQ(store().calendars().size(), 1u);
}

TEST_F(EventStoreFeedsTest, RefreshingRereadsOnlyFilesThatChanged) {
    auto calendar = subscribe();
    int calls = 0;
    std::optional<EKEventStoreChange> last;
    store().addChangeObserver([&](const EKEventStoreChange& change) {
        ++calls;
        last = change;
    });
    m_loop->runUntilIdle();
    calls = 0;

    store().refreshSourcesIfNecessary();
    m_loop->runUntilIdle();
    EXPECT_EQ(calls, 0);

    write(QStringLiteral("holidays.ics"), holidays(QStringLiteral("Bridge Day")));
    store().refreshSourcesIfNecessary();
    m_loop->runUntilIdle();
    EXPECT_EQ(calls, 1);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->origin, EKEventStoreChange::Origin::Sync);
    EXPECT_EQ(last->calendarIdentifiers, std::vector<QString>{calendar->calendarIdentifier()});
    EXPECT_EQ(titlesIn(at(2024, 5, 1), at(2024, 5, 3)),
              (QStringList{QStringLiteral("Labour Day"), QStringLiteral("Bridge Day")}));

    // A file that turned bad leaves the calendar as it was.
    LogCapture log;
    write(QStringLiteral("holidays.ics"), {QStringLiteral("not a calendar at all")});
    store().refreshSourcesIfNecessary();
    EXPECT_TRUE(log.contains(Log::Level::Warning, QStringLiteral("eventstore"), QStringLiteral("Holidays")));
    EXPECT_EQ(titlesIn(at(2024, 5, 1), at(2024, 5, 3)).size(), 2);

    // A removed event disappears with the next refresh.
    write(QStringLiteral("holidays.ics"), holidays());
    store().refreshSourcesIfNecessary();
    EXPECT_EQ(titlesIn(at(2024, 5, 1), at(2024, 5, 3)), QStringList{QStringLiteral("Labour Day")});
}

TEST_F(EventStoreFeedsTest, ABadFileIsRefusedWithItsLineAndAddsNothing) {
    const QString path =
        write(QStringLiteral("broken.ics"),
              {QStringLiteral("BEGIN:VCALENDAR"), QStringLiteral("VERSION:2.0"),
               QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:x"), QStringLiteral("SUMMARY:No start"),
               QStringLiteral("END:VEVENT"), QStringLiteral("END:VCALENDAR")});
    StoreError error;
    EXPECT_FALSE(store().addSubscribedCalendar(QStringLiteral("Broken"), path, &error));
    EXPECT_EQ(error.code, StoreError::BadFile);
    EXPECT_TRUE(error.localizedDescription.startsWith(QStringLiteral("broken.ics:")))
        << error.localizedDescription.toStdString();
    EXPECT_FALSE(store().addSubscribedCalendar(QStringLiteral("Missing"),
                                               m_folder.filePath(QStringLiteral("none.ics")), &error));
    EXPECT_FALSE(error.localizedDescription.isEmpty());
    EXPECT_EQ(store().calendars().size(), 1u);
}

// A program feeding a pipe: it sends its bytes, then stays until told to go (or for ten seconds)
// unless it is done with them.
class PipeWriter {
public:
    enum class Then { Stay, Leave };
    PipeWriter(const QString& pipe, QByteArray bytes, Then then = Then::Stay)
        : m_thread([this, pipe, bytes, then, leave = m_leave.get_future()] {
              QFile file(pipe);
              if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
                  file.write(bytes);
                  if (then == Then::Stay) {
                      leave.wait_for(std::chrono::seconds(10));
                  }
              }
              m_gone = true;
          }) {}
    ~PipeWriter() {
        m_leave.set_value();
        m_thread.join();
    }
    bool gone() const { return m_gone; }

private:
    std::promise<void> m_leave;
    std::atomic<bool> m_gone = false;
    std::thread m_thread;
};

TEST_F(EventStoreFeedsTest, APipeIsJudgedByItsBeginningAndBoundedInTime) {
    const QString pipe = m_folder.filePath(QStringLiteral("feed.ics"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    StoreError error;
    {
        // Refused as soon as its first byte shows it is no calendar, while its writer still sends.
        const PipeWriter writer(pipe, "X");
        EXPECT_FALSE(store().addSubscribedCalendar(QStringLiteral("Pipe"), pipe, &error));
        EXPECT_FALSE(writer.gone());
        EXPECT_TRUE(error.localizedDescription.contains(QStringLiteral("not an iCalendar file")))
            << error.localizedDescription.toStdString();
    }
    QString problem;
    {
        const PipeWriter writer(pipe, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n");
        EXPECT_FALSE(ContentLineReader::readFile(pipe, ContentLineReader::Syntax::ICalendar, &problem,
                                                 std::chrono::milliseconds(200)));
        EXPECT_FALSE(writer.gone());
        EXPECT_EQ(problem, QStringLiteral("the file did not end within 0.2 seconds"));
    }
    // No writer at all is the same wait.
    problem.clear();
    EXPECT_FALSE(ContentLineReader::readFile(pipe, ContentLineReader::Syntax::VCard, &problem,
                                             std::chrono::milliseconds(100)));
    EXPECT_EQ(problem, QStringLiteral("the file did not end within 0.1 seconds"));
    // A writer that finishes gives the whole calendar, a vCard writer's first line is refused.
    const QByteArray calendar = holidays().join(QStringLiteral("\r\n")).toUtf8();
    {
        const PipeWriter writer(pipe, calendar, PipeWriter::Then::Leave);
        EXPECT_EQ(ContentLineReader::readFile(pipe, ContentLineReader::Syntax::ICalendar, &problem),
                  calendar);
    }
    {
        const PipeWriter writer(pipe, "\xEF\xBB\xBF\r\nBEGIN:VCALENDAR\r\n");
        EXPECT_FALSE(ContentLineReader::readFile(pipe, ContentLineReader::Syntax::VCard, &problem));
        EXPECT_EQ(problem, QStringLiteral("not a vCard file (it does not begin with BEGIN:VCARD)"));
    }
    EXPECT_EQ(store().calendars().size(), 1u);
}

TEST_F(EventStoreFeedsTest, BirthdaysComeFromAContactsFileEveryYear) {
    const QString path = write(
        QStringLiteral("contacts.vcf"),
        {QStringLiteral("BEGIN:VCARD"), QStringLiteral("VERSION:4.0"), QStringLiteral("FN:Ada Lovelace"),
         QStringLiteral("BDAY:18151210"), QStringLiteral("END:VCARD"), QStringLiteral("BEGIN:VCARD"),
         QStringLiteral("VERSION:4.0"), QStringLiteral("FN:Leap Person"), QStringLiteral("BDAY:--0229"),
         QStringLiteral("END:VCARD"), QStringLiteral("BEGIN:VCARD"), QStringLiteral("VERSION:3.0"),
         QStringLiteral("FN:No Birthday"), QStringLiteral("END:VCARD")});
    StoreError error;
    ASSERT_TRUE(store().setBirthdaysContactsFile(path, &error)) << error.localizedDescription.toStdString();
    std::shared_ptr<EKCalendar> birthdays;
    for (const auto& calendar : store().calendars()) {
        if (calendar->type() == EKCalendarType::Birthday) {
            birthdays = calendar;
        }
    }
    ASSERT_TRUE(birthdays);
    EXPECT_FALSE(birthdays->allowsContentModifications());
    EXPECT_EQ(birthdays->source()->title(), QStringLiteral("Birthdays"));
    EXPECT_EQ(birthdays->source()->sourceType(), EKSourceType::Birthdays);

    EXPECT_EQ(describe(query(at(2030, 12, 10), at(2030, 12, 11))),
              QStringList{QStringLiteral("Ada Lovelace 2030-12-10 00:00 – 2030-12-11 00:00")});
    // 29 February falls on the last day of February in other years.
    EXPECT_EQ(describe(query(at(2025, 2, 28), at(2025, 3, 1))),
              QStringList{QStringLiteral("Leap Person 2025-02-28 00:00 – 2025-03-01 00:00")});
    EXPECT_EQ(describe(query(at(2028, 2, 28), at(2028, 3, 1))),
              QStringList{QStringLiteral("Leap Person 2028-02-29 00:00 – 2028-03-01 00:00")});
    const auto first =
        store().eventWithIdentifier(query(at(2030, 12, 10), at(2030, 12, 11)).at(0)->eventIdentifier());
    EXPECT_LT(first->startDate(), at(1901, 1, 1));
    EXPECT_TRUE(first->allDay());

    // It persists, is set again without a second calendar, and an empty path removes it.
    reopen();
    ASSERT_TRUE(store().setBirthdaysContactsFile(path, nullptr));
    EXPECT_EQ(store().calendars().size(), 2u);
    EXPECT_EQ(query(at(2030, 1, 1), at(2031, 1, 1)).size(), 2u);
    ASSERT_TRUE(store().setBirthdaysContactsFile(QString(), nullptr));
    EXPECT_EQ(store().calendars().size(), 1u);
    EXPECT_TRUE(query(at(2030, 1, 1), at(2031, 1, 1)).empty());
}

TEST_F(EventStoreFeedsTest, RefreshingOnABackgroundThreadBesideMainThreadWrites) {
    subscribe();
    write(QStringLiteral("holidays.ics"), holidays(QStringLiteral("Bridge Day")));
    std::thread refresher([&] { store().refreshSourcesIfNecessary(); });
    for (int i = 0; i < 10; ++i) {
        saved(QStringLiteral("Mine %1").arg(i), at(2024, 5, 2, 8 + i), at(2024, 5, 2, 9 + i));
    }
    refresher.join();
    m_loop->runUntilIdle();
    EXPECT_EQ(query(at(2024, 5, 2), at(2024, 5, 3)).size(), 11u);
}

} // namespace
