#include "app/cli/CommandLineTool.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Week.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEventStore.h"
#include "foundation/Locale.h"
#include "foundation/Paths.h"
#include "foundation/TimeZone.h"
#include "foundation/UserDefaults.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char* const plannerIcs = "BEGIN:VCALENDAR\r\n"
                               "VERSION:2.0\r\n"
                               "PRODID:-//Test//Test//EN\r\n"
                               "BEGIN:VEVENT\r\n"
                               "UID:standup@test\r\n"
                               "SUMMARY:Standup\r\n"
                               "LOCATION:Room 4\r\n"
                               "DTSTART;TZID=Europe/Berlin:20261207T090000\r\n"
                               "DTEND;TZID=Europe/Berlin:20261207T091500\r\n"
                               "RRULE:FREQ=DAILY;COUNT=3\r\n"
                               "END:VEVENT\r\n"
                               "BEGIN:VEVENT\r\n"
                               "UID:trip@test\r\n"
                               "SUMMARY:Trip to Lyon\r\n"
                               "DTSTART;TZID=Europe/Berlin:20261210T180000\r\n"
                               "DTEND;TZID=Europe/Berlin:20261211T120000\r\n"
                               "END:VEVENT\r\n"
                               "BEGIN:VEVENT\r\n"
                               "UID:fair@test\r\n"
                               "SUMMARY:Christmas fair\r\n"
                               "DTSTART;VALUE=DATE:20261212\r\n"
                               "DTEND;VALUE=DATE:20261213\r\n"
                               "END:VEVENT\r\n"
                               "END:VCALENDAR\r\n";

// Runs the tool's commands in-process on a store and settings in a temporary folder, in Berlin,
// with weeks from Monday and international week numbers.
class CommandLineToolTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_previousDefaults = UserDefaults::setStandardUserDefaults(
            std::make_shared<UserDefaults>(m_folder.filePath("settings.ini")));
        UserDefaults::standardUserDefaults().setString("timeZone", "Europe/Berlin");
        UserDefaults::standardUserDefaults().setString("weekendDays", "SaturdaySunday");
        UserDefaults::standardUserDefaults().setString("weekNumberStandard", "ISO8601");
        m_previousLocale = Locale::currentLocaleIdentifier();
        Locale::setCurrentLocale("en_GB");
        m_previousZone = TimeZone::defaultTimeZone();
        m_previousService = EventService::setSharedInstance(std::make_shared<EventService>(
            std::make_shared<EKEventStore>(m_folder.filePath("events.sqlite"))));
        writeFile("planner.ics", plannerIcs);
    }

    void TearDown() override {
        EventService::setSharedInstance(m_previousService);
        UserDefaults::setStandardUserDefaults(m_previousDefaults);
        Locale::setCurrentLocale(m_previousLocale);
        TimeZone::setDefaultTimeZone(m_previousZone);
        DateUtilities::reloadCalendar();
        DateTimeFormatter::instance().reset();
        Week::setFirstWeekdayOfWeek(2);
        Week::setWeekNumberMethod(0);
    }

    QString writeFile(const QString& name, const QByteArray& text) {
        QFile file(m_folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    }

    struct Result {
        int status;
        QString out;
        QString err;
    };

    Result run(const QStringList& arguments) {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        CommandLineTool tool(outStream, errStream);
        const int status = tool.run(arguments);
        outStream.flush();
        errStream.flush();
        return {status, out, err};
    }

    QString path(const QString& name) const { return m_folder.filePath(name); }

    QTemporaryDir m_folder;
    std::shared_ptr<UserDefaults> m_previousDefaults;
    std::shared_ptr<EventService> m_previousService;
    QString m_previousLocale;
    TimeZone m_previousZone = TimeZone::defaultTimeZone();
};

// While alive, the process runs without a home folder, data folder or XDG folders; the variables
// and the data folder override are put back when it ends.
class EnvironmentWithoutHome {
public:
    EnvironmentWithoutHome() {
        for (const char* name : names) {
            m_saved.emplace_back(name, qgetenv(name));
            qunsetenv(name);
        }
        Paths::setDataDirectory(QString());
    }
    ~EnvironmentWithoutHome() {
        Paths::setDataDirectory(QString());
        for (const auto& [name, value] : m_saved) {
            if (value.isNull()) {
                qunsetenv(name);
            } else {
                qputenv(name, value);
            }
        }
    }
    EnvironmentWithoutHome(const EnvironmentWithoutHome&) = delete;
    EnvironmentWithoutHome& operator=(const EnvironmentWithoutHome&) = delete;

private:
    static constexpr const char* names[] = {"HOME", "ORVELLA_DATA_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME"};
    std::vector<std::pair<const char*, QByteArray>> m_saved;
};

} // namespace

TEST_F(CommandLineToolTest, WithoutHomeTheToolRefusesUnlessTheFoldersAreNamed) {
    const EnvironmentWithoutHome withoutHome;
    const Result refused = run({"calendars"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "orvella-cli: cannot find a data folder: HOME is not set; give one with --data-dir\n");
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(run({"--help"}).status, 0);

    const Result given = run({"--data-dir", path("data"), "calendars"});
    EXPECT_EQ(given.status, 0) << given.err.toStdString();
    Paths::setDataDirectory(QString());

    qputenv("XDG_DATA_HOME", path("xdg-data").toLocal8Bit());
    EXPECT_EQ(run({"calendars"}).status, 1);
    qputenv("XDG_CONFIG_HOME", path("xdg-config").toLocal8Bit());
    const Result named = run({"calendars"});
    EXPECT_EQ(named.status, 0) << named.err.toStdString();
}

TEST_F(CommandLineToolTest, WrongUsageExitsWithTwoAndHelpDocumentsEveryCommand) {
    const Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command :
         {"import", "export", "subscribe", "calendars", "week", "occurrences", "search"}) {
        EXPECT_TRUE(help.out.contains(QString("  ") + command)) << command;
    }
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"frobnicate"}).status, 2);
    EXPECT_EQ(run({"week", "2026-13-01"}).status, 2);
    EXPECT_EQ(run({"occurrences", "2026-12-08"}).status, 2);
    EXPECT_EQ(run({"occurrences", "2026-12-08", "2026-12-01"}).status, 2);
    EXPECT_EQ(run({"--time-zone", "Mars/Olympus", "calendars"}).status, 2);
    const Result limit = run({"search", "x", "--limit", "none"});
    EXPECT_EQ(limit.status, 2);
    EXPECT_TRUE(limit.err.contains("--limit")) << limit.err.toStdString();
}

TEST_F(CommandLineToolTest, ImportedEventsShowInTheWeekAndAsOccurrences) {
    const Result imported = run({"import", path("planner.ics")});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.out, "imported 3 events into Calendar\n");

    const Result week = run({"week", "2026-12-09"});
    ASSERT_EQ(week.status, 0) << week.err.toStdString();
    EXPECT_EQ(week.out, "Week 50 2026\n"
                        "Monday, 7 December\n"
                        "  09:00 Standup, Room 4\n"
                        "Tuesday, 8 December\n"
                        "  09:00 Standup, Room 4\n"
                        "Wednesday, 9 December\n"
                        "  09:00 Standup, Room 4\n"
                        "Thursday, 10 December\n"
                        "  18:00 Trip to Lyon\n"
                        "Friday, 11 December\n"
                        "  ↳ Trip to Lyon\n"
                        "Saturday, 12 December\n"
                        "  Christmas fair\n"
                        "Sunday, 13 December\n");

    const Result occurrences = run({"occurrences", "2026-12-08", "2026-12-11"});
    ASSERT_EQ(occurrences.status, 0) << occurrences.err.toStdString();
    EXPECT_EQ(occurrences.out, "2026-12-08T09:00:00\t2026-12-08T09:15:00\t0\tstandup@test\tStandup\n"
                               "2026-12-09T09:00:00\t2026-12-09T09:15:00\t0\tstandup@test\tStandup\n"
                               "2026-12-10T18:00:00\t2026-12-11T12:00:00\t0\ttrip@test\tTrip to Lyon\n");

    // The same moments read in another zone.
    const Result newYork =
        run({"--time-zone", "America/New_York", "occurrences", "2026-12-10", "2026-12-10"});
    EXPECT_EQ(newYork.out, "2026-12-10T12:00:00\t2026-12-11T06:00:00\t0\ttrip@test\tTrip to Lyon\n");
}

TEST_F(CommandLineToolTest, FilesWithoutAReadableEventImportNothing) {
    const QString bad = writeFile("bad.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:a\r\n"
                                             "SUMMARY:No start\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    const Result refused = run({"import", bad});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("bad.ics:")) << refused.err.toStdString();
    EXPECT_EQ(run({"occurrences", "2000-01-01", "2040-01-01"}).out, "");
    EXPECT_EQ(run({"import", path("missing.ics")}).status, 1);
    EXPECT_EQ(run({"import", path("planner.ics"), "--calendar", "Nope"}).status, 1);
}

TEST_F(CommandLineToolTest, ImportsWhatCanBeReadAndSaysWhatWasSkipped) {
    QByteArray mixed = plannerIcs;
    mixed.replace("END:VCALENDAR\r\n", "BEGIN:VEVENT\r\nUID:broken\r\nSUMMARY:No start\r\nEND:VEVENT\r\n"
                                       "BEGIN:VEVENT\r\nUID:zone\r\nDTSTART;TZID=Nowhere:20261207T090000\r\n"
                                       "END:VEVENT\r\n");
    const QString path = writeFile("mixed.ics", mixed);
    const Result strict = run({"import", "--strict", path});
    EXPECT_EQ(strict.status, 1);
    EXPECT_EQ(run({"occurrences", "2000-01-01", "2040-01-01"}).out, "");

    const Result partial = run({"import", path});
    EXPECT_EQ(partial.status, CommandLineTool::partialSuccess);
    EXPECT_EQ(partial.out, "imported 4 events into Calendar\n");
    EXPECT_EQ(partial.err, "orvella-cli: warning: mixed.ics:30: unknown time zone \"Nowhere\" (no VTIMEZONE "
                           "defines it); its times are read as floating local time\n"
                           "orvella-cli: skipped: mixed.ics:24: DTSTART is missing\n"
                           "orvella-cli: 1 event could not be read and was skipped\n");
}

TEST_F(CommandLineToolTest, ExportThenImportElsewhereGivesTheSameOccurrences) {
    ASSERT_EQ(run({"import", path("planner.ics")}).status, 0);
    const QString before = run({"occurrences", "2026-12-01", "2026-12-31"}).out;
    ASSERT_EQ(run({"export", path("out.ics")}).status, 0);

    EventService::setSharedInstance(
        std::make_shared<EventService>(std::make_shared<EKEventStore>(m_folder.filePath("other.sqlite"))));
    ASSERT_EQ(run({"import", path("out.ics")}).status, 0);
    EXPECT_EQ(run({"occurrences", "2026-12-01", "2026-12-31"}).out, before);
}

TEST_F(CommandLineToolTest, CalendarsListsGroupsAndSubscriptionsAreReadOnly) {
    ASSERT_EQ(run({"subscribe", path("planner.ics"), "--title", "Team"}).status, 0);
    EXPECT_EQ(run({"subscribe", path("planner.ics")}).status, 2);
    // The same file twice would show every event twice; a plain http:// address of another
    // computer is refused before anything is sent.
    const auto again = run({"subscribe", path("planner.ics"), "--title", "Again"});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("is already subscribed as “Team”")) << again.err.toStdString();
    const auto address = run({"subscribe", "http://192.0.2.1/team.ics", "--title", "Web"});
    EXPECT_EQ(address.status, 1);
    EXPECT_TRUE(address.err.contains("http://192.0.2.1/team.ics is a plain http:// address"))
        << address.err.toStdString();
    const QStringList lines = run({"calendars"}).out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QStringList local = lines[0].split('\t');
    ASSERT_EQ(local.size(), 6);
    EXPECT_EQ(local[1], "Calendar");
    EXPECT_EQ(local[2], "local");
    EXPECT_TRUE(local[3].startsWith('#'));
    EXPECT_EQ(local[4], "writable");
    const QStringList team = lines[1].split('\t');
    EXPECT_EQ(team[1], "Team");
    EXPECT_EQ(team[2], "subscription");
    EXPECT_EQ(team[4], "read-only");
    EXPECT_EQ(run({"import", path("planner.ics"), "--calendar", "Team"}).status, 1);
}

TEST_F(CommandLineToolTest, SearchStepsThroughMatchingOccurrencesInOrder) {
    ASSERT_EQ(run({"import", path("planner.ics")}).status, 0);
    const Result forward = run({"search", "room standup", "--from", "2026-12-01", "--limit", "2"});
    ASSERT_EQ(forward.status, 0) << forward.err.toStdString();
    EXPECT_EQ(forward.out, "2026-12-07T09:00:00\t2026-12-07T09:15:00\t0\tstandup@test\tStandup\n"
                           "2026-12-08T09:00:00\t2026-12-08T09:15:00\t0\tstandup@test\tStandup\n");
    const Result backward = run({"search", "lyon", "--from", "2027-02-01", "--backward"});
    EXPECT_EQ(backward.out, "2026-12-10T18:00:00\t2026-12-11T12:00:00\t0\ttrip@test\tTrip to Lyon\n");
    EXPECT_EQ(run({"search", "nothing-like-this", "--from", "2026-12-01"}).out, "");
}

TEST_F(CommandLineToolTest, SubscribedCalendarsAreReadAgainWhenTheirFileChanged) {
    const QString feed = writeFile("feed.ics", plannerIcs);
    ASSERT_EQ(run({"subscribe", feed, "--title", "Team"}).status, 0);
    ASSERT_TRUE(run({"occurrences", "2026-12-12", "2026-12-12"}).out.contains("Christmas fair"));

    QByteArray renamed(plannerIcs);
    renamed.replace("SUMMARY:Christmas fair", "SUMMARY:Winter market at the old town square");
    writeFile("feed.ics", renamed);
    const QString after = run({"occurrences", "2026-12-12", "2026-12-12"}).out;
    EXPECT_TRUE(after.contains("Winter market")) << after.toStdString();
    EXPECT_FALSE(after.contains("Christmas fair"));
}
