#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/calendar/Week.h"
#include "core/settings/AppSettings.h"
#include "foundation/Paths.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

// Applies the stored time zone, weekend days and week numbering, as the week screen does when
// it is created.
void applyStoredSettings() {
    AppSettings& settings = AppSettings::instance();
    TimeZone::setDefaultTimeZone(settings.loadDefaultTimeZone());
    DateUtilities::reloadCalendar();
    DateTimeFormatter::instance().reset();
    Week::setFirstWeekdayOfWeek(AppSettings::firstWeekDayForWeekendDays(settings.loadWeekendDays()));
    Week::setWeekNumberMethod(settings.loadWeekNumberMethod());
}

void printCurrentWeek(QTextStream& out) {
    const Week week = Week::currentWeek();
    DateTimeFormatter& formatter = DateTimeFormatter::instance();
    out << "Week " << week.weekNumber() << " (" << TimeZone::defaultTimeZone().name() << ")\n";
    Day day = week.firstDay();
    for (int i = 0; i < 7; ++i, day = day.nextDay()) {
        const Date date = day.beginDateTime();
        out << "  " << formatter.formatDayOfWeek(date) << ", " << formatter.formatFullDayOfMonth(date)
            << "\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const Paths::CommandLine commandLine = Paths::applyCommandLine(application.arguments());
    if (!commandLine.error.isEmpty()) {
        err << "orvella: " << commandLine.error << "\n";
        return 2;
    }

    applyStoredSettings();
    out << "Orvella: the week screen is not built yet. This is the current week as Orvella sees it:\n";
    printCurrentWeek(out);
    out << "Data folder: " << Paths::dataDirectory() << "\n";
    return 0;
}
