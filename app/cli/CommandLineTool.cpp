#include "app/cli/CommandLineTool.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/calendar/Week.h"
#include "core/calendar/Year.h"
#include "core/events/CalendarGroup.h"
#include "core/events/EventService.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/events/SearchResult.h"
#include "core/events/SearchService.h"
#include "core/events/SearchServiceCallback.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/ICalendarExporter.h"
#include "core/eventstore/ICalendarImporter.h"
#include "core/settings/AppSettings.h"
#include "foundation/CivilDate.h"
#include "foundation/Paths.h"
#include "foundation/TimeZone.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {

struct UsageError {
    QString message;
};

struct Failure {
    QString message;
};

// Removes "--name VALUE" from the arguments and returns VALUE.
std::optional<QString> takeOption(QStringList& arguments, const QString& name) {
    const auto index = arguments.indexOf(name);
    if (index < 0) {
        return std::nullopt;
    }
    if (index + 1 >= arguments.size()) {
        throw UsageError{QString("%1 needs a value").arg(name)};
    }
    const QString value = arguments.at(index + 1);
    arguments.remove(index, 2);
    return value;
}

bool takeFlag(QStringList& arguments, const QString& name) {
    return arguments.removeAll(name) > 0;
}

QString takeArgument(QStringList& arguments, const QString& what) {
    if (arguments.isEmpty()) {
        throw UsageError{QString("missing %1").arg(what)};
    }
    return arguments.takeFirst();
}

void expectNoMoreArguments(const QStringList& arguments) {
    if (!arguments.isEmpty()) {
        throw UsageError{QString("unexpected argument \"%1\"").arg(arguments.first())};
    }
}

// "2026-12-08" is the start of that day; "2026-12-08T14:30:00" that moment, in the zone in force.
// With `endOfDay`, a date alone means the last second of that day.
Date parseDate(const QString& text, bool endOfDay = false) {
    static const QRegularExpression dateOnly("^(\\d{4})-(\\d{2})-(\\d{2})$");
    static const QRegularExpression dateTime("^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})$");
    if (const auto match = dateOnly.match(text); match.hasMatch()) {
        const int year = match.captured(1).toInt(), month = match.captured(2).toInt(),
                  day = match.captured(3).toInt();
        if (CivilDate::isValid(year, month, day)) {
            const Day parsed(year, month, day);
            return endOfDay ? parsed.endDateTime() : parsed.beginDateTime();
        }
    } else if (dateTime.match(text).hasMatch()) {
        QString settingsForm = text;
        settingsForm[10] = ' ';
        if (const std::optional<Date> parsed =
                DateTimeFormatter::instance().parseSettingsDate(settingsForm)) {
            return *parsed;
        }
    }
    throw UsageError{QString("\"%1\" is not a date (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)").arg(text)};
}

QString formatDateTime(Date date) {
    QString text = DateTimeFormatter::instance().formatSettingsDate(date);
    text[10] = 'T';
    return text;
}

QString colorText(const std::optional<Color>& color) {
    if (!color) {
        return "none";
    }
    const auto component = [](double value) {
        return QString("%1").arg(std::clamp(static_cast<int>(value * 255.0 + 0.5), 0, 255), 2, 16,
                                 QChar('0'));
    };
    return "#" + component(color->red()) + component(color->green()) + component(color->blue());
}

QString calendarTypeText(EKCalendarType type) {
    switch (type) {
    case EKCalendarType::Local:
        return "local";
    case EKCalendarType::CalDAV:
        return "caldav";
    case EKCalendarType::Exchange:
        return "exchange";
    case EKCalendarType::Subscription:
        return "subscription";
    case EKCalendarType::Birthday:
        return "birthdays";
    }
    return "unknown";
}

EventService& service() {
    return EventService::sharedInstance();
}

std::shared_ptr<EKCalendar> calendarNamed(const QString& title) {
    for (const std::shared_ptr<EKCalendar>& calendar : service().eventStore().calendars()) {
        if (calendar->title() == title) {
            return calendar;
        }
    }
    throw Failure{QString("there is no calendar titled \"%1\"").arg(title)};
}

QString occurrenceLine(const EKEvent& event) {
    return QStringList{formatDateTime(event.startDate()), formatDateTime(event.endDate()),
                       event.allDay() ? "1" : "0", event.eventIdentifier(), event.title()}
        .join('\t');
}

// Receives one search step's answer on the main thread.
class SearchStepWaiter final : public SearchServiceCallback {
public:
    void eventFound(const std::optional<SearchResult>& result) override {
        m_result = result;
        m_answered = true;
    }

    std::optional<SearchResult> wait() {
        while (!m_answered) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        m_answered = false;
        return std::exchange(m_result, std::nullopt);
    }

private:
    bool m_answered = false;
    std::optional<SearchResult> m_result;
};

} // namespace

QString CommandLineTool::helpText() {
    return QString(R"(Usage: orvella-cli [--data-dir DIR] [--time-zone ZONE] COMMAND [ARGUMENTS]

Reads and writes the same event store and settings as Orvella.

Options:
  --data-dir DIR     use the data folder DIR (also ORVELLA_DATA_DIR)
  --time-zone ZONE   work in ZONE (such as Europe/Berlin) instead of the zone of the settings
  --help             show this text

Commands:
  import FILE.ics [--calendar TITLE] [--strict]
        import the events of FILE.ics into the calendar TITLE (default: the default calendar),
        in one transaction; events that cannot be read are skipped, each named on stderr with
        its line and reason (with --strict, one such event refuses the whole file)
  export [--calendar TITLE] FILE.ics|-
        write the events of calendar TITLE (default: every calendar) as iCalendar; - is stdout
  subscribe FILE.ics --title TITLE
        add FILE.ics as a read-only calendar TITLE, read again when the file changes
  calendars
        one line per calendar: group, title, type, colour, writable or read-only, identifier
  week [DATE]
        the week containing DATE (default: today) as the planner shows it
  occurrences FROM TO
        every occurrence overlapping FROM..TO in the visible calendars, sorted by start:
        start, end, all-day (0/1), event identifier, title (tab-separated)
  search QUERY [--from DATE] [--backward] [--limit N]
        the occurrences whose title or location contains every word of QUERY, step by step
        from the week of DATE (default: today), forward or backward, at most N (default 20)

Dates are YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS in the zone in force. Errors go to stderr with exit
status 1, wrong usage with 2. import exits with 0 when every event was imported, 3 when some
were skipped, and 1 when nothing could be imported or the store failed.
)");
}

int CommandLineTool::run(QStringList arguments) {
    try {
        if (arguments.contains("--help") || arguments.contains("-h")) {
            m_out << helpText();
            return success;
        }
        const Paths::CommandLine commandLine =
            Paths::applyCommandLine(QStringList{"orvella-cli"} + arguments);
        if (!commandLine.error.isEmpty()) {
            throw UsageError{commandLine.error};
        }
        arguments = commandLine.arguments.mid(1);
        applyTimeZone(takeOption(arguments, "--time-zone"));
        const QString command = takeArgument(arguments, "command (see --help)");
        return runCommand(command, arguments);
    } catch (const UsageError& error) {
        m_err << "orvella-cli: " << error.message << "\nTry 'orvella-cli --help'.\n";
        return wrongUsage;
    } catch (const Failure& error) {
        m_err << "orvella-cli: " << error.message << "\n";
        return failure;
    }
}

void CommandLineTool::applyTimeZone(const std::optional<QString>& zoneName) {
    AppSettings& settings = AppSettings::instance();
    std::optional<TimeZone> zone = settings.loadDefaultTimeZone();
    if (zoneName) {
        zone = TimeZone::withName(*zoneName);
        if (!zone) {
            throw UsageError{QString("unknown time zone \"%1\"").arg(*zoneName)};
        }
    }
    TimeZone::setDefaultTimeZone(*zone);
    DateUtilities::reloadCalendar();
    DateTimeFormatter::instance().reset();
    Week::setFirstWeekdayOfWeek(AppSettings::firstWeekDayForWeekendDays(settings.loadWeekendDays()));
    Week::setWeekNumberMethod(settings.loadWeekNumberMethod());
}

int CommandLineTool::runCommand(const QString& command, QStringList& arguments) {
    // A store that cannot be used fails every command: an empty answer would read as an empty
    // calendar.
    if (const QString problem = service().eventStore().openProblem(); !problem.isEmpty()) {
        throw Failure{problem};
    }
    // Subscribed calendars and birthdays are read again when their files changed, as the
    // application does when it becomes active.
    if (command != "import" && command != "subscribe") {
        service().refreshSourcesIfNecessary();
    }
    if (command == "import") {
        return importCommand(arguments);
    }
    if (command == "export") {
        return exportCommand(arguments);
    }
    if (command == "subscribe") {
        return subscribeCommand(arguments);
    }
    if (command == "calendars") {
        return calendarsCommand(arguments);
    }
    if (command == "week") {
        return weekCommand(arguments);
    }
    if (command == "occurrences") {
        return occurrencesCommand(arguments);
    }
    if (command == "search") {
        return searchCommand(arguments);
    }
    throw UsageError{QString("unknown command \"%1\"").arg(command)};
}

int CommandLineTool::importCommand(QStringList& arguments) {
    const std::optional<QString> title = takeOption(arguments, "--calendar");
    const bool strict = takeFlag(arguments, "--strict");
    const QString path = takeArgument(arguments, "the .ics file to import");
    expectNoMoreArguments(arguments);
    const std::shared_ptr<EKCalendar> calendar =
        title ? calendarNamed(*title) : AppSettings::instance().loadDefaultCalendar(service());
    if (!calendar) {
        throw Failure{"there is no calendar to import into"};
    }
    ICalendarImporter importer;
    if (strict) {
        importer.setStrictness(ICalendarReader::Strictness::RefuseFile);
    }
    // Large files take a while: show how far the import has come.
    importer.setOnProgress([this, lastPercent = -1](int done, int total) mutable {
        const int percent = total > 0 ? done * 100 / total : 100;
        if (total >= 2000 && percent != lastPercent) {
            lastPercent = percent;
            m_err << "\rimporting " << percent << "%" << (done == total ? "\n" : "") << Qt::flush;
        }
    });
    const ICalendarImportResult result = importer.import(path, calendar, service().eventStore());
    for (const ICalendarError& warning : result.warnings) {
        m_err << "orvella-cli: warning: " << warning.message() << "\n";
    }
    for (const ICalendarError& skipped : result.skipped) {
        m_err << "orvella-cli: skipped: " << skipped.message() << "\n";
    }
    if (result.error) {
        throw Failure{*result.error};
    }
    m_out << "imported " << result.imported << " events into " << calendar->title() << "\n";
    if (result.skipped.empty()) {
        return success;
    }
    m_err << "orvella-cli: "
          << (result.skipped.size() == 1
                  ? QString("1 event could not be read and was skipped")
                  : QString("%1 events could not be read and were skipped").arg(result.skipped.size()))
          << "\n";
    return result.imported > 0 ? partialSuccess : failure;
}

int CommandLineTool::exportCommand(QStringList& arguments) {
    const std::optional<QString> title = takeOption(arguments, "--calendar");
    const QString path = takeArgument(arguments, "the file to export to (or - for standard output)");
    expectNoMoreArguments(arguments);
    const std::vector<std::shared_ptr<EKCalendar>> calendars =
        title ? std::vector{calendarNamed(*title)} : service().eventStore().calendars();
    const QByteArray text = ICalendarExporter::exportCalendars(calendars, service().eventStore());
    if (path == "-") {
        m_out.flush();
        QFile standardOutput;
        if (!standardOutput.open(stdout, QIODevice::WriteOnly) || standardOutput.write(text) != text.size()) {
            throw Failure{"could not write to standard output"};
        }
        return success;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() ||
        !file.flush()) {
        throw Failure{QString("could not write %1: %2").arg(path, file.errorString())};
    }
    return success;
}

int CommandLineTool::subscribeCommand(QStringList& arguments) {
    const std::optional<QString> title = takeOption(arguments, "--title");
    const QString path = takeArgument(arguments, "the .ics file to subscribe to");
    expectNoMoreArguments(arguments);
    if (!title || title->trimmed().isEmpty()) {
        throw UsageError{"subscribe needs --title TITLE"};
    }
    StoreError error;
    const std::shared_ptr<EKCalendar> calendar =
        service().eventStore().addSubscribedCalendar(*title, path, &error);
    if (!calendar) {
        throw Failure{error.localizedDescription};
    }
    m_out << "subscribed " << calendar->title() << " to " << path << "\n";
    return success;
}

int CommandLineTool::calendarsCommand(QStringList& arguments) {
    expectNoMoreArguments(arguments);
    for (const std::shared_ptr<CalendarGroup>& group : service().calendarGroups()) {
        for (const std::shared_ptr<EKCalendar>& calendar : group->calendars()) {
            m_out << QStringList{group->localizedTitle(),
                                 calendar->title(),
                                 calendarTypeText(calendar->type()),
                                 colorText(calendar->color()),
                                 calendar->allowsContentModifications() ? "writable" : "read-only",
                                 calendar->calendarIdentifier()}
                         .join('\t')
                  << "\n";
        }
    }
    return success;
}

int CommandLineTool::weekCommand(QStringList& arguments) {
    const Date date = arguments.isEmpty() ? Date::now() : parseDate(takeArgument(arguments, "a date"));
    expectNoMoreArguments(arguments);
    const Week week = DateUtilities::week(date);
    DateTimeFormatter& formatter = DateTimeFormatter::instance();
    m_out << "Week " << week.weekNumber() << " "
          << Year(week.middleOfTheWeekDay().yearNumber()).regionalYearNumber() << "\n";

    const EventList events = service().synchronousFindEventsForEntireWeek(week);
    Day day = week.firstDay();
    for (int index = 0; index < 7; ++index, day = day.nextDay()) {
        const Date dayStart = day.beginDateTime();
        m_out << formatter.formatDayOfWeek(dayStart) << ", " << formatter.formatFullDayOfMonth(dayStart)
              << "\n";
        for (const std::shared_ptr<EKEvent>& event : events.array()) {
            if (!ReadOnlyCheck::happensOnDay(*event, dayStart)) {
                continue;
            }
            QString time;
            if (!event->allDay()) {
                time = event->startDate() < dayStart ? QString("↳") : ReadOnlyCheck::time(*event);
            }
            m_out << "  " << (time.isEmpty() ? QString() : time + " ")
                  << ReadOnlyCheck::titleAndLocation(*event) << "\n";
        }
    }
    return success;
}

int CommandLineTool::occurrencesCommand(QStringList& arguments) {
    const Date from = parseDate(takeArgument(arguments, "FROM"));
    const Date to = parseDate(takeArgument(arguments, "TO"), true);
    expectNoMoreArguments(arguments);
    if (to < from) {
        throw UsageError{"TO lies before FROM"};
    }
    const EventList events = service().synchronousFindEventsFromDateTime(from, to);
    for (const std::shared_ptr<EKEvent>& event : events.array()) {
        m_out << occurrenceLine(*event) << "\n";
    }
    return success;
}

int CommandLineTool::searchCommand(QStringList& arguments) {
    const std::optional<QString> fromText = takeOption(arguments, "--from");
    const std::optional<QString> limitText = takeOption(arguments, "--limit");
    const bool backward = takeFlag(arguments, "--backward");
    const QString query = takeArgument(arguments, "the search text");
    expectNoMoreArguments(arguments);
    bool limitOk = true;
    const int limit = limitText ? limitText->toInt(&limitOk) : 20;
    if (!limitOk || limit < 1) {
        throw UsageError{QString("--limit needs a positive number, not \"%1\"").arg(*limitText)};
    }

    SearchService& search = SearchService::instance();
    search.stopSearch();
    search.setWeek(DateUtilities::week(fromText ? parseDate(*fromText) : Date::now()));
    const auto waiter = std::make_shared<SearchStepWaiter>();
    for (int found = 0; found < limit; ++found) {
        if (backward) {
            search.findPrevious(query, waiter);
        } else {
            search.findNext(query, waiter);
        }
        const std::optional<SearchResult> result = waiter->wait();
        if (!result) {
            break;
        }
        const Date start = result->dateTime();
        const EventList around =
            service().synchronousFindAllEventsFromDateTime(start, start.addingTimeInterval(1));
        for (const std::shared_ptr<EKEvent>& event : around.array()) {
            if (event->eventIdentifier() == result->eventIdentifier() && event->startDate() == start) {
                m_out << occurrenceLine(*event) << "\n";
                break;
            }
        }
        m_out.flush();
    }
    return success;
}
