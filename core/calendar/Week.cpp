#include "core/calendar/Week.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"

#include <atomic>

namespace {

std::atomic<int> s_firstWeekdayOfWeek{2};
std::atomic<int> s_weekNumberMethod{0};

int reduceIntoWeek(int days) {
    return ((days % 7) + 7) % 7;
}

int daysBetween(const Day& from, const Day& to) {
    return static_cast<int>(to.daysSince1970() - from.daysSince1970());
}

Day thisOrLastMonday(const Day& day) {
    return day.addDays(-DateUtilities::daysBackToLastMonday(day.weekday()));
}

} // namespace

Week Week::currentWeek() {
    return DateUtilities::week(Date::now());
}

Day Week::firstDay() const {
    return DateUtilities::day(m_date);
}

Day Week::lastDay() const {
    return firstDay().addDays(6);
}

Day Week::middleOfTheWeekDay() const {
    return firstDay().addDays(3);
}

Week Week::nextWeek() const {
    return addWeeks(1);
}

Week Week::previousWeek() const {
    return addWeeks(-1);
}

// Built from the first day rather than by adding to the date, so that the result is a day start
// also where the first day's midnight falls into a daylight-saving gap.
Week Week::addWeeks(int n) const {
    return Week(firstDay().addDays(7 * n).beginDateTime());
}

int Week::weeksTo(const Week& other) const {
    return firstDay().daysTo(other.firstDay()) / 7;
}

// A week is named after the numbering's own week that holds its middle day, and so most of its
// days; consecutive weeks then name consecutive numbered weeks, whatever day they begin on.
QString Week::weekNumber() const {
    const Day middle = middleOfTheWeekDay();
    if (weekNumberMethod() == 1) {
        // USA weeks run from Sunday to Saturday; the one crossing into a new year is the old
        // year's last and the new year's first.
        const Day sunday = middle.addDays(1 - middle.weekday());
        if (sunday.addDays(6).yearNumber() != sunday.yearNumber()) {
            return QString::asprintf("%d/1", usaWeekNumberForDay(sunday));
        }
    }
    return QString::asprintf("%d", weekNumberForDay(middle));
}

QString Week::description() const {
    return firstDay().description();
}

bool Week::operator==(const Week& other) const {
    return m_date == other.m_date || DateUtilities::isEqualToDateIgnoreTime(m_date, other.m_date);
}

bool Week::operator<(const Week& other) const {
    return m_date != other.m_date && firstDay() < other.firstDay();
}

void Week::setFirstWeekdayOfWeek(int weekday) {
    if (weekday >= 1 && weekday <= 7) {
        s_firstWeekdayOfWeek.store(weekday);
    }
}

int Week::firstWeekdayOfWeek() {
    return s_firstWeekdayOfWeek.load();
}

// Derived on reading, so that a reader never sees a first and last weekday from two settings.
int Week::lastWeekdayOfWeek() {
    const int first = firstWeekdayOfWeek();
    return first == 1 ? 7 : first - 1;
}

void Week::setWeekNumberMethod(int method) {
    s_weekNumberMethod.store(method);
}

int Week::weekNumberMethod() {
    return s_weekNumberMethod.load();
}

int Week::daysFromWeekday(int a, int b) {
    return reduceIntoWeek(b - a);
}

int Week::indexInWeekOfWeekday(int weekday) {
    return reduceIntoWeek(weekday - firstWeekdayOfWeek());
}

int Week::weekNumberForDay(const Day& day) {
    return weekNumberMethod() == 1 ? usaWeekNumberForDay(day) : isoWeekNumberForDay(day);
}

int Week::isoWeekNumberForDay(const Day& day) {
    const Day januaryFirst(day.yearNumber(), 1, 1);
    const Day decemberLast(day.yearNumber(), 12, 31);
    const Day firstMonday = thisOrLastMonday(januaryFirst);
    const Day monday = thisOrLastMonday(day);
    // A week with three days or fewer left in the year belongs to the next year.
    if (daysBetween(monday, decemberLast) + 1 <= 3) {
        return 1;
    }
    // The week containing 1 January is week 1 when 1 January is a Monday to Thursday.
    const int number =
        daysBetween(firstMonday, monday) / 7 + (daysBetween(firstMonday, januaryFirst) < 4 ? 1 : 0);
    if (number == 0) {
        return isoWeekNumberForDay(firstMonday);
    }
    return number;
}

int Week::usaWeekNumberForDay(const Day& day) {
    return (day.indexInYear() - day.weekday() + 7) / 7 + 1;
}

std::size_t std::hash<Week>::operator()(const Week& week) const noexcept {
    return std::hash<Day>()(week.firstDay());
}
