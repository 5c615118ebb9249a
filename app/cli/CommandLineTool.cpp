#include "app/cli/CommandLineTool.h"

#include "app/cli/AccountCommands.h"

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
#include "core/sync/WebCalendarSubscriptions.h"
#include "foundation/CivilDate.h"
#include "foundation/Paths.h"
#include "foundation/TimeZone.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <vector>

namespace {

const QString programName = QStringLiteral("orvella-cli");
const QString globalUsage = QStringLiteral("orvella-cli [--data-dir DIR] [--time-zone ZONE]");

QCommandLineOption helpOption() {
    return QCommandLineOption(QStringList{QStringLiteral("help"), QStringLiteral("h")});
}

// The parser's own messages name options without their dashes; ours as they are written.
QString parseProblem(const QCommandLineParser& parser, const QStringList& arguments) {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("unknown option \"%1%2\"")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    // Otherwise an option that takes a value ended the arguments.
    const QString last = arguments.last();
    if (last.startsWith(QLatin1String("--")) && !last.contains(QLatin1Char('='))) {
        return QStringLiteral("%1 needs a value").arg(last);
    }
    return parser.errorText();
}

// "2026-12-08" is the start of that day; "2026-12-08T14:30:00" that moment, in the zone in force.
// With `endOfDay`, a date alone means the last second of that day.
std::optional<Date> parseDate(const QString& text, bool endOfDay = false) {
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
        return DateTimeFormatter::instance().parseSettingsDate(settingsForm);
    }
    return std::nullopt;
}

QString notADate(const QString& text) {
    return QString("\"%1\" is not a date (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)").arg(text);
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
    return color->hexString().toLower();
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
    return nullptr;
}

QString noCalendarTitled(const QString& title) {
    return QString("there is no calendar titled \"%1\"").arg(title);
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

struct CommandLineTool::Command {
    // One option of a command: a flag, or, with a value name, an option that takes a value.
    struct Option {
        const char* name;
        const char* valueName = nullptr;
    };
    // Whether a command first reads subscribed calendars and birthdays again when their files
    // changed, as the application does when it becomes active.
    enum class Sources { ReadAgain, AsTheyAre };

    const char* name;
    // The arguments and options after the name, as the help shows them.
    const char* synopsis;
    // What the command does, for the help; one line per line.
    const char* description;
    std::vector<Option> options;
    // What each argument is, to say which one is missing; the first `requiredArguments` must be
    // given.
    std::vector<const char*> arguments;
    qsizetype requiredArguments;
    Sources sources;
    int (CommandLineTool::*run)(const QCommandLineParser& parser);
};

std::span<const CommandLineTool::Command> CommandLineTool::commands() {
    using enum Command::Sources;
    static const Command table[] = {
        {"import",
         "FILE.ics [--calendar TITLE] [--strict]",
         "import the events of FILE.ics into the calendar TITLE (default: the default calendar),\n"
         "in one transaction; events that cannot be read are skipped, each named on stderr with\n"
         "its line and reason (with --strict, one such event refuses the whole file)",
         {{"calendar", "TITLE"}, {"strict"}},
         {"the .ics file to import"},
         1,
         AsTheyAre,
         &CommandLineTool::importCommand},
        {"export",
         "[--calendar TITLE] FILE.ics|-",
         "write the events of calendar TITLE (default: every calendar) as iCalendar; - is stdout",
         {{"calendar", "TITLE"}},
         {"the file to export to (or - for standard output)"},
         1,
         ReadAgain,
         &CommandLineTool::exportCommand},
        {"subscribe",
         "FILE.ics|URL --title TITLE",
         "add FILE.ics, or the calendar at a webcal:// or https:// address, as a read-only calendar\n"
         "TITLE, read again when the file changes or the address's refresh interval has passed",
         {{"title", "TITLE"}},
         {"the .ics file or address to subscribe to"},
         1,
         AsTheyAre,
         &CommandLineTool::subscribeCommand},
        {"calendars",
         "",
         "one line per calendar: group, title, type, colour, writable or read-only, identifier",
         {},
         {},
         0,
         ReadAgain,
         &CommandLineTool::calendarsCommand},
        {"week",
         "[DATE]",
         "the week containing DATE (default: today) as the planner shows it",
         {},
         {"a date"},
         0,
         ReadAgain,
         &CommandLineTool::weekCommand},
        {"occurrences",
         "FROM TO",
         "every occurrence overlapping FROM..TO in the visible calendars, sorted by start:\n"
         "start, end, all-day (0/1), event identifier, title (tab-separated)",
         {},
         {"FROM", "TO"},
         2,
         ReadAgain,
         &CommandLineTool::occurrencesCommand},
        {"search",
         "QUERY [--from DATE] [--backward] [--limit N]",
         "the occurrences whose title or location contains every word of QUERY, step by step\n"
         "from the week of DATE (default: today), forward or backward, at most N (default 20)",
         {{"from", "DATE"}, {"backward"}, {"limit", "N"}},
         {"the search text"},
         1,
         ReadAgain,
         &CommandLineTool::searchCommand},
        {"account",
         "add caldav URL --user NAME [--title TITLE] [--password-file F] [--certificate SHA256] | list | "
         "remove NAME",
         "add an account on a CalDAV server (its calendars are found and synced), list the accounts,\n"
         "or remove one with its calendars here (the server keeps them); the password is read from\n"
         "F or from standard input; --certificate trusts a server's own certificate by its fingerprint",
         {{"user", "NAME"}, {"title", "TITLE"}, {"password-file", "F"}, {"certificate", "SHA256"}},
         {"add, list or remove", "caldav, or the account's name", "the server's address"},
         1,
         AsTheyAre,
         &CommandLineTool::accountCommand},
        {"sync",
         "[--account NAME] [--password-file F]",
         "sync every account (or the one named) both ways with its server and print what was\n"
         "pulled, pushed and kept twice; the password is read from F or from standard input",
         {{"account", "NAME"}, {"password-file", "F"}},
         {},
         0,
         AsTheyAre,
         &CommandLineTool::syncCommand},
    };
    return table;
}

QString CommandLineTool::helpText() {
    QString text =
        QStringLiteral(R"(Usage: orvella-cli [--data-dir DIR] [--time-zone ZONE] COMMAND [ARGUMENTS]

Reads and writes the same event store and settings as Orvella.

Options:
  --data-dir DIR     use the data folder DIR (also ORVELLA_DATA_DIR)
  --time-zone ZONE   work in ZONE (such as Europe/Berlin) instead of the zone of the settings
  --help             show this text

Commands:
)");
    for (const Command& command : commands()) {
        text += QStringLiteral("  ") + QLatin1String(command.name);
        if (*command.synopsis) {
            text += QLatin1Char(' ') + QLatin1String(command.synopsis);
        }
        text += QLatin1Char('\n');
        for (const QString& line : QString::fromUtf8(command.description).split(QLatin1Char('\n'))) {
            text += QStringLiteral("        ") + line + QLatin1Char('\n');
        }
    }
    return text + QStringLiteral(R"(
Dates are YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS in the zone in force. Errors go to stderr with exit
status 1, wrong usage with 2. import exits with 0 when every event was imported, 3 when some
were skipped, and 1 when nothing could be imported or the store failed.
)");
}

int CommandLineTool::run(const QStringList& arguments) {
    m_command = nullptr;
    const QStringList withProgram = QStringList{programName} + arguments;
    QCommandLineParser parser;
    // The command and everything after it are the command's.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption timeZoneOption(QStringLiteral("time-zone"), QString(), QStringLiteral("ZONE"));
    const QCommandLineOption help = helpOption();
    parser.addOptions({Paths::dataDirectoryOption(), timeZoneOption, help});
    const bool parsed = parser.parse(withProgram);
    if (parser.isSet(help)) {
        m_out << helpText();
        return success;
    }
    if (const QString problem = Paths::applyCommandLine(parser, withProgram); !problem.isEmpty()) {
        return reportWrongUsage(problem);
    }
    if (!parsed) {
        return reportWrongUsage(parseProblem(parser, withProgram));
    }
    // Before the settings are read, which makes their folder.
    if (const QString problem = Paths::locationProblem(); !problem.isEmpty()) {
        return reportFailure(problem);
    }
    if (const QString problem = applyTimeZone(parser.value(timeZoneOption)); !problem.isEmpty()) {
        return reportWrongUsage(problem);
    }
    const QStringList commandArguments = parser.positionalArguments();
    if (commandArguments.isEmpty()) {
        return reportWrongUsage(QStringLiteral("missing command (see --help)"));
    }
    const std::span<const Command> known = commands();
    const auto command = std::find_if(known.begin(), known.end(), [&](const Command& candidate) {
        return commandArguments.first() == QLatin1String(candidate.name);
    });
    if (command == known.end()) {
        return reportWrongUsage(QStringLiteral("unknown command \"%1\"").arg(commandArguments.first()));
    }
    return runCommand(*command, commandArguments);
}

QString CommandLineTool::applyTimeZone(const QString& zoneName) {
    AppSettings& settings = AppSettings::instance();
    std::optional<TimeZone> zone = settings.loadDefaultTimeZone();
    if (!zoneName.isEmpty()) {
        zone = TimeZone::withName(zoneName);
        if (!zone) {
            return QStringLiteral("unknown time zone \"%1\"").arg(zoneName);
        }
    }
    TimeZone::setDefaultTimeZone(*zone);
    DateUtilities::reloadCalendar();
    DateTimeFormatter::instance().reset();
    Week::setFirstWeekdayOfWeek(AppSettings::firstWeekDayForWeekendDays(settings.loadWeekendDays()));
    Week::setWeekNumberMethod(settings.loadWeekNumberMethod());
    return QString();
}

// `arguments` begin with the command's name, where a parser expects the program's.
int CommandLineTool::runCommand(const Command& command, const QStringList& arguments) {
    m_command = &command;
    QCommandLineParser parser;
    const QCommandLineOption help = helpOption();
    parser.addOption(help);
    for (const Command::Option& option : command.options) {
        parser.addOption(option.valueName ? QCommandLineOption(QString::fromUtf8(option.name), QString(),
                                                               QString::fromUtf8(option.valueName))
                                          : QCommandLineOption(QString::fromUtf8(option.name)));
    }
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        m_out << helpText();
        return success;
    }
    if (!parsed) {
        return reportWrongUsage(parseProblem(parser, arguments));
    }
    const QStringList given = parser.positionalArguments();
    if (given.size() < command.requiredArguments) {
        return reportWrongUsage(
            QStringLiteral("missing %1").arg(QLatin1String(command.arguments[given.size()])));
    }
    if (given.size() > qsizetype(command.arguments.size())) {
        return reportWrongUsage(
            QStringLiteral("unexpected argument \"%1\"").arg(given.at(qsizetype(command.arguments.size()))));
    }
    // A store that cannot be used fails every command: an empty answer would read as an empty
    // calendar.
    if (const QString problem = service().eventStore().openProblem(); !problem.isEmpty()) {
        return reportFailure(problem);
    }
    if (command.sources == Command::Sources::ReadAgain) {
        service().refreshSourcesIfNecessary();
    }
    return (this->*command.run)(parser);
}

int CommandLineTool::reportWrongUsage(const QString& problem) {
    const QString usage =
        m_command ? QStringLiteral("%1 %2 %3")
                        .arg(globalUsage, QLatin1String(m_command->name), QLatin1String(m_command->synopsis))
                        .trimmed()
                  : globalUsage + QStringLiteral(" COMMAND [ARGUMENTS]");
    m_err << programName << ": " << problem << "\nUsage: " << usage << "\nTry 'orvella-cli --help'.\n";
    return wrongUsage;
}

int CommandLineTool::reportFailure(const QString& problem) {
    m_err << programName << ": " << problem << "\n";
    return failure;
}

int CommandLineTool::importCommand(const QCommandLineParser& parser) {
    const QString path = parser.positionalArguments().first();
    std::shared_ptr<EKCalendar> calendar;
    if (parser.isSet(QStringLiteral("calendar"))) {
        const QString title = parser.value(QStringLiteral("calendar"));
        calendar = calendarNamed(title);
        if (!calendar) {
            return reportFailure(noCalendarTitled(title));
        }
    } else {
        calendar = AppSettings::instance().loadDefaultCalendar(service());
    }
    if (!calendar) {
        return reportFailure(QStringLiteral("there is no calendar to import into"));
    }
    ICalendarImporter importer;
    if (parser.isSet(QStringLiteral("strict"))) {
        importer.setStrictness(ICalendarReader::Strictness::RefuseFile);
    }
    // Large files take a while: show how far the import has come.
    importer.setOnProgress([&err = m_err, lastPercent = -1](int done, int total) mutable {
        const int percent = total > 0 ? done * 100 / total : 100;
        if (total >= 2000 && percent != lastPercent) {
            lastPercent = percent;
            err << "\rimporting " << percent << "%" << (done == total ? "\n" : "") << Qt::flush;
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
        return reportFailure(*result.error);
    }
    m_out << "imported " << result.imported << (result.imported == 1 ? " event" : " events") << " into "
          << calendar->title() << "\n";
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

int CommandLineTool::exportCommand(const QCommandLineParser& parser) {
    const QString path = parser.positionalArguments().first();
    std::vector<std::shared_ptr<EKCalendar>> calendars;
    if (parser.isSet(QStringLiteral("calendar"))) {
        const QString title = parser.value(QStringLiteral("calendar"));
        const std::shared_ptr<EKCalendar> calendar = calendarNamed(title);
        if (!calendar) {
            return reportFailure(noCalendarTitled(title));
        }
        calendars.push_back(calendar);
    } else {
        calendars = service().eventStore().calendars();
    }
    const QByteArray text = ICalendarExporter::exportCalendars(calendars, service().eventStore());
    if (path == "-") {
        m_out.flush();
        QFile standardOutput;
        if (!standardOutput.open(stdout, QIODevice::WriteOnly) || standardOutput.write(text) != text.size()) {
            return reportFailure(QStringLiteral("could not write to standard output"));
        }
        return success;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() ||
        !file.flush()) {
        return reportFailure(QString("could not write %1: %2").arg(path, file.errorString()));
    }
    return success;
}

int CommandLineTool::subscribeCommand(const QCommandLineParser& parser) {
    const QString path = parser.positionalArguments().first();
    const QString title = parser.value(QStringLiteral("title"));
    if (title.trimmed().isEmpty()) {
        return reportWrongUsage(QStringLiteral("subscribe needs --title TITLE"));
    }
    std::shared_ptr<EKCalendar> calendar;
    QString problem;
    const QString scheme = QUrl(path).scheme().toLower();
    if (scheme == QLatin1String("https") || scheme == QLatin1String("http") ||
        scheme.startsWith(QLatin1String("webcal"))) {
        calendar = WebCalendarSubscriptions(service().eventStore()).subscribe(path, title, &problem);
    } else {
        StoreError error;
        calendar = service().eventStore().addSubscribedCalendar(title, path, &error);
        problem = error.localizedDescription;
    }
    if (!calendar) {
        return reportFailure(problem);
    }
    m_out << "subscribed " << calendar->title() << " to " << path << "\n";
    return success;
}

int CommandLineTool::calendarsCommand(const QCommandLineParser&) {
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

int CommandLineTool::weekCommand(const QCommandLineParser& parser) {
    const QStringList given = parser.positionalArguments();
    const std::optional<Date> date = given.isEmpty() ? Date::now() : parseDate(given.first());
    if (!date) {
        return reportWrongUsage(notADate(given.first()));
    }
    const Week week = DateUtilities::week(*date);
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

int CommandLineTool::occurrencesCommand(const QCommandLineParser& parser) {
    const QStringList given = parser.positionalArguments();
    const std::optional<Date> from = parseDate(given.at(0));
    if (!from) {
        return reportWrongUsage(notADate(given.at(0)));
    }
    const std::optional<Date> to = parseDate(given.at(1), true);
    if (!to) {
        return reportWrongUsage(notADate(given.at(1)));
    }
    if (*to < *from) {
        return reportWrongUsage(QStringLiteral("TO lies before FROM"));
    }
    const EventList events = service().synchronousFindEventsFromDateTime(*from, *to);
    for (const std::shared_ptr<EKEvent>& event : events.array()) {
        m_out << occurrenceLine(*event) << "\n";
    }
    return success;
}

int CommandLineTool::searchCommand(const QCommandLineParser& parser) {
    const QString query = parser.positionalArguments().first();
    const bool backward = parser.isSet(QStringLiteral("backward"));
    bool limitOk = true;
    const QString limitText = parser.value(QStringLiteral("limit"));
    const int limit = parser.isSet(QStringLiteral("limit")) ? limitText.toInt(&limitOk) : 20;
    if (!limitOk || limit < 1) {
        return reportWrongUsage(QString("--limit needs a positive number, not \"%1\"").arg(limitText));
    }
    std::optional<Date> from = Date::now();
    if (parser.isSet(QStringLiteral("from"))) {
        from = parseDate(parser.value(QStringLiteral("from")));
        if (!from) {
            return reportWrongUsage(notADate(parser.value(QStringLiteral("from"))));
        }
    }

    SearchService& search = SearchService::instance();
    search.stopSearch();
    search.setWeek(DateUtilities::week(*from));
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

int CommandLineTool::accountCommand(const QCommandLineParser& parser) {
    const QStringList given = parser.positionalArguments();
    const QString action = given.first();
    AccountCommands accounts(service().eventStore(), m_out, m_err);
    QString problem;
    if (action == QLatin1String("add")) {
        if (given.size() < 3) {
            return reportWrongUsage(
                QStringLiteral("account add needs the kind (caldav) and the server's address"));
        }
        problem =
            accounts.add(given.at(1), given.at(2), parser.value(QStringLiteral("user")),
                         parser.value(QStringLiteral("title")), parser.value(QStringLiteral("password-file")),
                         parser.value(QStringLiteral("certificate")));
    } else if (action == QLatin1String("list") && given.size() == 1) {
        problem = accounts.list();
    } else if (action == QLatin1String("remove") && given.size() == 2) {
        problem = accounts.remove(given.at(1));
    } else {
        return reportWrongUsage(QStringLiteral("account takes add caldav URL, list, or remove NAME"));
    }
    return problem.isEmpty() ? success : reportFailure(problem);
}

int CommandLineTool::syncCommand(const QCommandLineParser& parser) {
    AccountCommands accounts(service().eventStore(), m_out, m_err);
    const QString problem =
        accounts.sync(parser.value(QStringLiteral("account")), parser.value(QStringLiteral("password-file")));
    return problem.isEmpty() ? success : reportFailure(problem);
}
