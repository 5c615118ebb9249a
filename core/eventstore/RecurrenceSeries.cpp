#include "core/eventstore/RecurrenceSeries.h"

#include "core/eventstore/IcalRules.h"
#include "core/eventstore/WallClock.h"
#include "foundation/CivilDate.h"

#include <libical/ical.h>

#include <algorithm>

namespace {

constexpr std::int64_t day = WallClock::secondsPerDay;
// A guard against a libical iterator that keeps finding nothing; the UNTIL we give it ends every
// iteration anyway.
constexpr int maximumIterations = 2'000'000;

std::uint32_t bit(int index) {
    return std::uint32_t{1} << index;
}

bool has(std::uint32_t set, int index) {
    return (set & bit(index)) != 0;
}

// How far ahead of the first start COUNT is resolved: a COUNT that is not reached by then counts
// as endless. The spans keep the work small for the sub-daily frequencies.
std::int64_t countHorizon(icalrecurrencetype_frequency frequency) {
    switch (frequency) {
    case ICAL_SECONDLY_RECURRENCE:
        return day;
    case ICAL_MINUTELY_RECURRENCE:
        return 60 * day;
    case ICAL_HOURLY_RECURRENCE:
        return 3660 * day;
    default:
        return 366000 * day;
    }
}

} // namespace

RecurrenceSeries::RecurrenceSeries(Definition definition) : m_definition(std::move(definition)) {}

std::optional<RecurrenceSeries> RecurrenceSeries::create(Definition definition, QString* error) {
    icalerror_clear_errno();
    IcalRules::Rule read = IcalRules::fromString(definition.rrule.toUtf8());
    icalrecurrencetype& rule = read.rule;
    if (rule.freq == ICAL_NO_RECURRENCE || icalerrno != ICAL_NO_ERROR) {
        icalerror_clear_errno();
        if (error) {
            *error = QStringLiteral("The repetition rule “%1” is not valid.").arg(definition.rrule);
        }
        return std::nullopt;
    }
    if (definition.allDay) {
        definition.startWall = CivilDate::floorDiv(definition.startWall, day) * day;
    }
    std::sort(definition.excludedWalls.begin(), definition.excludedWalls.end());
    std::sort(definition.replacedWalls.begin(), definition.replacedWalls.end());

    RecurrenceSeries series(std::move(definition));
    const Definition& d = series.m_definition;
    series.m_count = rule.count;
    if (!icaltime_is_null_time(rule.until)) {
        const icaltimetype& until = rule.until;
        const std::int64_t untilDays = CivilDate::daysFromCivil(until.year, until.month, until.day);
        const std::int64_t untilClock = until.hour * 3600 + until.minute * 60 + until.second;
        if (d.allDay) {
            std::int64_t lastDay = untilDays;
            if (!until.is_date && icaltime_is_utc(until)) {
                lastDay = WallClock::dayOf(
                    Date::withTimeIntervalSince1970(static_cast<double>(untilDays * day + untilClock)));
            }
            series.m_untilWall = lastDay * day;
        } else if (until.is_date) {
            series.m_untilWall = untilDays * day + day - 1;
        } else if (icaltime_is_utc(until)) {
            series.m_untilWall = WallClock::wallSeconds(
                Date::withTimeIntervalSince1970(static_cast<double>(untilDays * day + untilClock)), d.zone);
        } else {
            series.m_untilWall = untilDays * day + untilClock;
        }
    }
    // UNTIL and COUNT are applied here; libical gets the query's range end as its UNTIL.
    rule.until = icaltime_null_time();
    rule.count = 0;
    series.m_rule = rule;
    series.m_calendarName = read.calendarName;
    series.m_startDay = CivilDate::floorDiv(d.startWall, day);
    series.m_timeOfDay = d.startWall - series.m_startDay * day;
    series.m_weekStart = std::clamp(static_cast<int>(rule.week_start) - 1, 0, 6);

    bool ordinalWeekdays = false;
    for (int i = 0; i < ICAL_BY_MONTH_SIZE && rule.by_month[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        const int month = icalrecurrencetype_month_month(rule.by_month[i]);
        if (month >= 1 && month <= 12) {
            series.m_months |= bit(month);
        }
    }
    for (int i = 0; i < ICAL_BY_MONTHDAY_SIZE && rule.by_month_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        const int monthDay = rule.by_month_day[i];
        if (monthDay >= 1 && monthDay <= 31) {
            series.m_monthDays |= bit(monthDay);
        } else if (monthDay <= -1 && monthDay >= -31) {
            series.m_negativeMonthDays |= bit(-monthDay);
        }
    }
    for (int i = 0; i < ICAL_BY_DAY_SIZE && rule.by_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        const int weekday = static_cast<int>(icalrecurrencetype_day_day_of_week(rule.by_day[i])) - 1;
        if (weekday >= 0 && weekday <= 6) {
            series.m_weekdays |= bit(weekday);
        }
        if (icalrecurrencetype_day_position(rule.by_day[i]) != 0) {
            ordinalWeekdays = true;
        }
    }
    for (int i = 0; i < ICAL_BY_YEARDAY_SIZE && rule.by_year_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        series.m_yearDays.push_back(rule.by_year_day[i]);
    }
    const bool anyMonthDays = series.m_monthDays != 0 || series.m_negativeMonthDays != 0;
    series.m_simple =
        rule.freq >= ICAL_DAILY_RECURRENCE && rule.freq <= ICAL_YEARLY_RECURRENCE &&
        rule.by_second[0] == ICAL_RECURRENCE_ARRAY_MAX && rule.by_minute[0] == ICAL_RECURRENCE_ARRAY_MAX &&
        rule.by_hour[0] == ICAL_RECURRENCE_ARRAY_MAX && rule.by_set_pos[0] == ICAL_RECURRENCE_ARRAY_MAX &&
        rule.by_week_no[0] == ICAL_RECURRENCE_ARRAY_MAX && series.m_yearDays.empty() && !ordinalWeekdays &&
        !(rule.freq == ICAL_WEEKLY_RECURRENCE && anyMonthDays) &&
        (rule.rscale == nullptr || rule.rscale[0] == '\0');

    for (int i = 0; i < ICAL_BY_HOUR_SIZE && rule.by_hour[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        if (rule.by_hour[i] >= 0 && rule.by_hour[i] <= 23) {
            series.m_hours |= bit(rule.by_hour[i]);
        }
    }
    for (int i = 0; i < ICAL_BY_MINUTE_SIZE && rule.by_minute[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        if (rule.by_minute[i] >= 0 && rule.by_minute[i] <= 59) {
            series.m_minutes |= std::uint64_t{1} << rule.by_minute[i];
        }
    }
    for (int i = 0; i < ICAL_BY_SECOND_SIZE && rule.by_second[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        if (rule.by_second[i] >= 0 && rule.by_second[i] <= 59) {
            series.m_seconds |= std::uint64_t{1} << rule.by_second[i];
        }
    }
    series.m_simpleSubDaily = rule.freq < ICAL_DAILY_RECURRENCE &&
                              rule.by_set_pos[0] == ICAL_RECURRENCE_ARRAY_MAX &&
                              rule.by_week_no[0] == ICAL_RECURRENCE_ARRAY_MAX && !ordinalWeekdays &&
                              (rule.rscale == nullptr || rule.rscale[0] == '\0');

    // RFC 5545 3.3.10: the parts a rule leaves out are taken from its first start.
    const CivilDate start = CivilDate::civilFromDays(series.m_startDay);
    series.m_defaultMonths = series.m_months;
    series.m_defaultMonthDays = series.m_monthDays;
    series.m_defaultWeekdays = series.m_weekdays;
    if (rule.freq == ICAL_WEEKLY_RECURRENCE && series.m_weekdays == 0) {
        series.m_defaultWeekdays = bit(CivilDate::weekdayOfDays(series.m_startDay));
    } else if (rule.freq == ICAL_MONTHLY_RECURRENCE && series.m_weekdays == 0 && !anyMonthDays) {
        series.m_defaultMonthDays = bit(start.day);
    } else if (rule.freq == ICAL_YEARLY_RECURRENCE) {
        // Days of the month without months mean those days in the first start's month, as in
        // libical; weekdays alone mean those weekdays all year.
        if (series.m_months == 0 && (series.m_weekdays == 0 || anyMonthDays)) {
            series.m_defaultMonths = bit(start.month);
        }
        if (series.m_weekdays == 0 && !anyMonthDays) {
            series.m_defaultMonthDays = bit(start.day);
        }
    }
    return series;
}

std::optional<std::int64_t> RecurrenceSeries::lastWall() const {
    std::optional<std::int64_t> last = m_untilWall;
    if (m_count > 0 && m_definition.countEndWall) {
        last = last ? std::min(*last, *m_definition.countEndWall) : *m_definition.countEndWall;
    }
    return last;
}

bool RecurrenceSeries::isExcluded(const std::vector<std::int64_t>& sortedWalls, std::int64_t wall) {
    return !sortedWalls.empty() && std::binary_search(sortedWalls.begin(), sortedWalls.end(), wall);
}

bool RecurrenceSeries::matchesDay(std::int64_t days, bool withDefaults) const {
    const auto [year, month, dayOfMonth] = CivilDate::civilFromDays(days);
    const std::uint32_t months = withDefaults ? m_defaultMonths : m_months;
    const std::uint32_t monthDays = withDefaults ? m_defaultMonthDays : m_monthDays;
    const std::uint32_t weekdays = withDefaults ? m_defaultWeekdays : m_weekdays;
    if (months != 0 && !has(months, month)) {
        return false;
    }
    if (monthDays != 0 || m_negativeMonthDays != 0) {
        const int fromEnd = CivilDate::daysInMonth(year, month) - dayOfMonth + 1;
        if (!has(monthDays, dayOfMonth) && !has(m_negativeMonthDays, fromEnd)) {
            return false;
        }
    }
    if (weekdays != 0 && !has(weekdays, CivilDate::weekdayOfDays(days))) {
        return false;
    }
    if (!m_yearDays.empty()) {
        const int yearDay = static_cast<int>(days - CivilDate::daysFromCivil(year, 1, 1)) + 1;
        const int fromEnd = yearDay - CivilDate::daysInYear(year) - 1;
        if (std::find_if(m_yearDays.begin(), m_yearDays.end(), [&](short value) {
                return value == yearDay || value == fromEnd;
            }) == m_yearDays.end()) {
            return false;
        }
    }
    const std::int64_t interval = std::max<std::int64_t>(1, m_rule.interval);
    if (interval == 1) {
        return true;
    }
    // Every occurrence lies in a period (day, week, month, year) counted from the first start's.
    switch (m_rule.freq) {
    case ICAL_DAILY_RECURRENCE:
        return (days - m_startDay) % interval == 0;
    case ICAL_WEEKLY_RECURRENCE: {
        const auto weekStartOf = [&](std::int64_t value) {
            return value - (CivilDate::weekdayOfDays(value) - m_weekStart + 7) % 7;
        };
        return ((weekStartOf(days) - weekStartOf(m_startDay)) / 7) % interval == 0;
    }
    case ICAL_MONTHLY_RECURRENCE: {
        const CivilDate start = CivilDate::civilFromDays(m_startDay);
        return ((year * 12 + month) - (start.year * 12 + start.month)) % interval == 0;
    }
    case ICAL_YEARLY_RECURRENCE: {
        if (m_rule.by_week_no[0] != ICAL_RECURRENCE_ARRAY_MAX) {
            return true;
        }
        return (year - CivilDate::civilFromDays(m_startDay).year) % interval == 0;
    }
    default:
        return true;
    }
}

void RecurrenceSeries::generate(std::int64_t wallLow, std::int64_t wallHigh,
                                const std::function<bool(std::int64_t)>& visit) const {
    std::int64_t low = std::max(wallLow, m_definition.startWall);
    std::int64_t high = wallHigh;
    if (const std::optional<std::int64_t> last = lastWall()) {
        high = std::min(high, *last);
    }
    if (low > high) {
        return;
    }
    if (m_simple) {
        generateSimple(low, high, visit);
    } else if (m_simpleSubDaily) {
        generateSubDailySimple(low, high, visit);
    } else if (m_rule.freq < ICAL_DAILY_RECURRENCE && !IcalRules::namesCalendar(m_rule)) {
        generateSubDaily(low, high, visit);
    } else {
        generateWithLibical(low, high, visit);
    }
}

void RecurrenceSeries::generateSimple(std::int64_t low, std::int64_t high,
                                      const std::function<bool(std::int64_t)>& visit) const {
    const std::int64_t lastDay = CivilDate::floorDiv(high, day);
    for (std::int64_t days = CivilDate::floorDiv(low, day); days <= lastDay; ++days) {
        if (!matchesDay(days, true)) {
            continue;
        }
        const std::int64_t wall = days * day + m_timeOfDay;
        if (wall >= low && wall <= high && !visit(wall)) {
            return;
        }
    }
}

void RecurrenceSeries::generateWithLibical(std::int64_t low, std::int64_t high,
                                           const std::function<bool(std::int64_t)>& visit) const {
    // A rule of another calendar names that calendar's months and days: only libical reads them.
    if (IcalRules::namesCalendar(m_rule)) {
        iterate(icalTime(m_definition.startWall), low, low, high, visit);
        return;
    }
    // Where no day of the range can hold an occurrence, libical need not look at all: it might
    // search far beyond the range for a rule that hardly ever matches.
    const std::int64_t lastDay = CivilDate::floorDiv(high, day);
    bool possible = false;
    for (std::int64_t days = CivilDate::floorDiv(low, day); days <= lastDay && !possible; ++days) {
        possible = matchesDay(days, false);
    }
    if (!possible) {
        return;
    }
    if (m_rule.by_week_no[0] == ICAL_RECURRENCE_ARRAY_MAX) {
        iterate(icalTime(m_definition.startWall), low, low, high, visit);
        return;
    }
    // libical gives the first days of the next year's week 1 for BYWEEKNO=53 in years without a
    // week 53, and days of other weekdays around the turn of the year; only the days of the weeks
    // and weekdays named are occurrences.
    iterate(icalTime(m_definition.startWall), low, low, high, [&](std::int64_t wall) {
        const std::int64_t days = CivilDate::floorDiv(wall, day);
        return !(inRuleWeeks(days) && matchesDay(days, false)) || visit(wall);
    });
}

bool RecurrenceSeries::inRuleWeeks(std::int64_t days) const {
    // RFC 5545 3.3.10: weeks begin on WKST, and week 1 is the first with at least four days in the
    // year; a week belongs to the year that holds its fourth day.
    const auto weekStart = [&](std::int64_t value) {
        return value - (CivilDate::weekdayOfDays(value) - m_weekStart + 7) % 7;
    };
    const std::int64_t start = weekStart(days);
    const int year = CivilDate::civilFromDays(start + 3).year;
    const std::int64_t firstWeek = weekStart(CivilDate::daysFromCivil(year, 1, 4));
    const std::int64_t nextFirstWeek = weekStart(CivilDate::daysFromCivil(year + 1, 1, 4));
    const int number = static_cast<int>((start - firstWeek) / 7) + 1;
    const int fromEnd = number - static_cast<int>((nextFirstWeek - firstWeek) / 7) - 1;
    for (int i = 0; i < ICAL_BY_WEEKNO_SIZE && m_rule.by_week_no[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        if (m_rule.by_week_no[i] == number || m_rule.by_week_no[i] == fromEnd) {
            return true;
        }
    }
    return false;
}

// Seconds between two periods of a secondly, minutely or hourly rule.
std::int64_t RecurrenceSeries::subDailyStep() const {
    std::int64_t unit = 1;
    if (m_rule.freq == ICAL_MINUTELY_RECURRENCE) {
        unit = 60;
    } else if (m_rule.freq == ICAL_HOURLY_RECURRENCE) {
        unit = 3600;
    }
    return unit * std::max<std::int64_t>(1, m_rule.interval);
}

void RecurrenceSeries::generateSubDaily(std::int64_t low, std::int64_t high,
                                        const std::function<bool(std::int64_t)>& visit) const {
    const std::int64_t step = subDailyStep();
    bool going = true;
    const auto forward = [&](std::int64_t wall) {
        going = visit(wall);
        return going;
    };
    // libical's seeking loses the phase of sub-daily rules, so each run of days that can hold
    // occurrences starts its own iterator at the beginning of the period containing the run.
    const std::int64_t lastDay = CivilDate::floorDiv(high, day);
    std::int64_t days = CivilDate::floorDiv(low, day);
    while (days <= lastDay && going) {
        if (!matchesDay(days, false)) {
            ++days;
            continue;
        }
        std::int64_t runEnd = days;
        while (runEnd + 1 <= lastDay && matchesDay(runEnd + 1, false)) {
            ++runEnd;
        }
        const std::int64_t runLow = std::max(low, days * day);
        const std::int64_t runHigh = std::min(high, runEnd * day + day - 1);
        const std::int64_t periods =
            std::max<std::int64_t>(0, CivilDate::floorDiv(runLow - m_definition.startWall, step));
        iterate(icalTime(m_definition.startWall + periods * step), 0, runLow, runHigh, forward);
        days = runEnd + 1;
    }
}

void RecurrenceSeries::generateSubDailySimple(std::int64_t low, std::int64_t high,
                                              const std::function<bool(std::int64_t)>& visit) const {
    const std::int64_t start = m_definition.startWall;
    const std::int64_t step = subDailyStep();
    // RFC 5545 3.3.10: BYMINUTE and BYSECOND expand an hour, BYSECOND a minute; a part the rule
    // leaves out is the first start's.
    const auto modulo = [](std::int64_t value, std::int64_t divisor) {
        return static_cast<int>(value - CivilDate::floorDiv(value, divisor) * divisor);
    };
    const std::uint64_t minutes = m_minutes != 0 ? m_minutes : std::uint64_t{1} << modulo(start / 60, 60);
    const std::uint64_t seconds = m_seconds != 0 ? m_seconds : std::uint64_t{1} << modulo(start, 60);
    // The first period at or after `wall`.
    const auto periodFrom = [&](std::int64_t wall) {
        const std::int64_t periods = std::max<std::int64_t>(0, (wall - start + step - 1) / step);
        return start + periods * step;
    };
    const auto offer = [&](std::int64_t wall) {
        return wall < start || wall < low || wall > high || visit(wall);
    };

    std::int64_t period = start + std::max<std::int64_t>(0, CivilDate::floorDiv(low - start, step)) * step;
    while (period <= high) {
        const std::int64_t days = CivilDate::floorDiv(period, day);
        if (!matchesDay(days, false)) {
            period = periodFrom((days + 1) * day);
            continue;
        }
        const std::int64_t hourStart = CivilDate::floorDiv(period, 3600) * 3600;
        if (m_hours != 0 && !has(m_hours, static_cast<int>((period - days * day) / 3600))) {
            period = periodFrom(hourStart + 3600);
            continue;
        }
        const std::int64_t minuteStart = CivilDate::floorDiv(period, 60) * 60;
        if (m_rule.freq == ICAL_HOURLY_RECURRENCE) {
            for (int minute = 0; minute < 60; ++minute) {
                for (int second = 0; second < 60 && (minutes >> minute & 1) != 0; ++second) {
                    if ((seconds >> second & 1) != 0 && !offer(hourStart + minute * 60 + second)) {
                        return;
                    }
                }
            }
        } else if (m_minutes != 0 && (m_minutes >> modulo(minuteStart / 60, 60) & 1) == 0) {
            period = periodFrom(minuteStart + 60);
            continue;
        } else if (m_rule.freq == ICAL_MINUTELY_RECURRENCE) {
            for (int second = 0; second < 60; ++second) {
                if ((seconds >> second & 1) != 0 && !offer(minuteStart + second)) {
                    return;
                }
            }
        } else if ((m_seconds == 0 || (m_seconds >> modulo(period, 60) & 1) != 0) && !offer(period)) {
            return;
        }
        period += step;
    }
}

bool RecurrenceSeries::iterate(icaltimetype start, std::int64_t seek, std::int64_t low, std::int64_t high,
                               const std::function<bool(std::int64_t)>& visit) const {
    icalrecurrencetype rule = m_rule;
    rule.until = icalTime(high);
    icalrecur_iterator* iterator = icalrecur_iterator_new(rule, start);
    if (!iterator) {
        return true;
    }
    if (seek > wallOf(start) && !icalrecur_iterator_set_start(iterator, icalTime(seek))) {
        icalrecur_iterator_free(iterator);
        iterator = icalrecur_iterator_new(rule, start);
        if (!iterator) {
            return true;
        }
    }
    bool going = true;
    for (int i = 0; i < maximumIterations && going; ++i) {
        const icaltimetype next = icalrecur_iterator_next(iterator);
        if (icaltime_is_null_time(next)) {
            break;
        }
        const std::int64_t wall = wallOf(next);
        if (wall > high) {
            break;
        }
        if (wall >= low) {
            going = visit(wall);
        }
    }
    icalrecur_iterator_free(iterator);
    return going;
}

icaltimetype RecurrenceSeries::icalTime(std::int64_t wall) const {
    const std::int64_t days = CivilDate::floorDiv(wall, day);
    const std::int64_t seconds = wall - days * day;
    const CivilDate civil = CivilDate::civilFromDays(days);
    icaltimetype time = icaltime_null_time();
    time.year = civil.year;
    time.month = civil.month;
    time.day = civil.day;
    if (m_definition.allDay) {
        time.is_date = 1;
    } else {
        time.hour = static_cast<int>(seconds / 3600);
        time.minute = static_cast<int>(seconds / 60 % 60);
        time.second = static_cast<int>(seconds % 60);
    }
    return time;
}

std::int64_t RecurrenceSeries::wallOf(const icaltimetype& time) const {
    const std::int64_t days = CivilDate::daysFromCivil(time.year, time.month, time.day);
    if (time.is_date) {
        return days * day;
    }
    return days * day + time.hour * 3600 + time.minute * 60 + time.second;
}

Date RecurrenceSeries::startOf(std::int64_t wall) const {
    if (m_definition.allDay) {
        return WallClock::startOfDay(CivilDate::floorDiv(wall, day));
    }
    return WallClock::date(wall, m_definition.zone);
}

Date RecurrenceSeries::endOf(std::int64_t wall, Date start) const {
    if (m_definition.allDay) {
        const auto days = static_cast<std::int64_t>(m_definition.duration / static_cast<double>(day));
        return WallClock::startOfDay(CivilDate::floorDiv(wall, day) + days);
    }
    return start.addingTimeInterval(m_definition.duration);
}

std::vector<RecurrenceSeries::Occurrence>
RecurrenceSeries::occurrences(Date rangeStart, Date rangeEnd, std::size_t limit, bool* truncated) const {
    std::vector<Occurrence> result;
    if (truncated) {
        *truncated = false;
    }
    std::int64_t low = 0;
    std::int64_t high = 0;
    if (m_definition.allDay) {
        const auto days = static_cast<std::int64_t>(m_definition.duration / static_cast<double>(day));
        low = (WallClock::dayOf(rangeStart) - days - 1) * day;
        high = (WallClock::dayOf(rangeEnd) + 1) * day;
    } else {
        // Wall clocks jump by at most a few hours; the exact test below settles the edges.
        constexpr std::int64_t slack = 3 * 3600;
        low =
            WallClock::wallSeconds(rangeStart.addingTimeInterval(-m_definition.duration), m_definition.zone) -
            slack;
        high = WallClock::wallSeconds(rangeEnd, m_definition.zone) + slack;
    }
    generate(low, high, [&](std::int64_t wall) {
        if (isExcluded(m_definition.excludedWalls, wall) || isExcluded(m_definition.replacedWalls, wall)) {
            return true;
        }
        const Date start = startOf(wall);
        const Date end = endOf(wall, start);
        const bool overlaps =
            (start < rangeEnd || start == rangeStart) && (end > rangeStart || start == rangeStart);
        if (!overlaps) {
            return true;
        }
        if (result.size() >= limit) {
            if (truncated) {
                *truncated = true;
            }
            return false;
        }
        result.push_back(Occurrence{wall, start, end});
        return true;
    });
    return result;
}

std::optional<std::int64_t> RecurrenceSeries::resolveCountEnd(int budget) const {
    if (m_count <= 0) {
        return std::nullopt;
    }
    int seen = 0;
    std::optional<std::int64_t> end;
    const std::int64_t start = m_definition.startWall;
    RecurrenceSeries unbounded = *this;
    unbounded.m_definition.countEndWall.reset();
    unbounded.m_count = 0;
    unbounded.generate(start, start + countHorizon(m_rule.freq), [&](std::int64_t wall) {
        ++seen;
        if (seen >= m_count) {
            end = wall;
            return false;
        }
        return seen < budget;
    });
    return end;
}

bool RecurrenceSeries::hasOccurrenceAt(std::int64_t wall) const {
    bool found = false;
    generate(wall, wall, [&](std::int64_t) {
        found = true;
        return false;
    });
    return found;
}

int RecurrenceSeries::countBefore(std::int64_t wall, int budget) const {
    int seen = 0;
    generate(m_definition.startWall, wall - 1, [&](std::int64_t) {
        ++seen;
        return seen < budget;
    });
    return seen;
}

std::int64_t RecurrenceSeries::firstIncludedWall(int budget) const {
    std::int64_t first = m_definition.startWall;
    int seen = 0;
    const std::int64_t start = m_definition.startWall;
    generate(start, start + countHorizon(m_rule.freq), [&](std::int64_t wall) {
        if (!isExcluded(m_definition.excludedWalls, wall)) {
            first = wall;
            return false;
        }
        return ++seen < budget;
    });
    return first;
}
