#pragma once

#include "foundation/Date.h"

#include <QString>

#include <libical/ical.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A stored repeating event reduced to what expansion needs: the rule, the first start as a wall
// time in the event's zone (all-day series: a day at 00:00, in the zone in force), the duration,
// the excluded original starts and those replaced by changed occurrences.
//
// Simple rules (DAILY to YEARLY whose BY parts only pick months, days of the month and weekdays)
// are expanded by testing each day of the asked range, which gives the dates libical gives;
// sub-daily rules without BYSETPOS step through their periods here. Every other rule goes
// through libical's iterator, sought to the range and bounded by it through UNTIL, so that no
// rule, however pathological, makes a query run long.
class RecurrenceSeries {
public:
    struct Definition {
        QString rrule;
        bool allDay = false;
        // Empty for all-day series.
        QString zone;
        // Whole seconds; a multiple of a day for all-day series.
        std::int64_t startWall = 0;
        // Seconds; a multiple of a day for all-day series.
        double duration = 0.0;
        // The last occurrence of a COUNT rule when it is known, as a wall time.
        std::optional<std::int64_t> countEndWall;
        std::vector<std::int64_t> excludedWalls;
        std::vector<std::int64_t> replacedWalls;
    };

    struct Occurrence {
        std::int64_t originalWall;
        Date start;
        Date end;
    };

    // Null with `error` set when the rule text is not valid.
    static std::optional<RecurrenceSeries> create(Definition definition, QString* error);

    const Definition& definition() const { return m_definition; }
    bool hasCount() const { return m_count > 0; }
    int count() const { return m_count; }
    // The last occurrence's wall time, or nothing for an endless series.
    std::optional<std::int64_t> lastWall() const;

    // The occurrences overlapping [rangeStart, rangeEnd] (start < rangeEnd and end > rangeStart, or
    // a zero-length occurrence at rangeStart or later), excluded and replaced ones left out, in
    // order, at most `limit`; `truncated` tells whether the limit cut the list.
    std::vector<Occurrence> occurrences(Date rangeStart, Date rangeEnd, std::size_t limit,
                                        bool* truncated = nullptr) const;

    // The rule's occurrences (exclusions not applied) with wall times in [wallLow, wallHigh],
    // ascending, until `visit` returns false. A first start that the rule does not produce is
    // left out, as libical and the examples of RFC 5545 3.8.5.3 do.
    void generate(std::int64_t wallLow, std::int64_t wallHigh,
                  const std::function<bool(std::int64_t wall)>& visit) const;

    // Whether the rule (exclusions not applied) has an occurrence starting at `wall`.
    bool hasOccurrenceAt(std::int64_t wall) const;
    // The wall time of the COUNT-th occurrence, found by counting from the start; nothing when
    // the rule has no COUNT or the end lies beyond `budget` occurrences.
    std::optional<std::int64_t> resolveCountEnd(int budget) const;
    // How many occurrences (exclusions not applied) start before `wall`, up to `budget`.
    int countBefore(std::int64_t wall, int budget) const;
    // The first occurrence that is not excluded (it may be replaced), searched up to `budget`
    // occurrences; the first start when there is none.
    std::int64_t firstIncludedWall(int budget) const;

    Date startOf(std::int64_t wall) const;
    Date endOf(std::int64_t wall, Date start) const;

    static bool isExcluded(const std::vector<std::int64_t>& sortedWalls, std::int64_t wall);

private:
    explicit RecurrenceSeries(Definition definition);

    bool isSimple() const { return m_simple; }
    bool matchesDay(std::int64_t days, bool withDefaults) const;
    // Whether the day lies in a week BYWEEKNO names (true without BYWEEKNO).
    bool inRuleWeeks(std::int64_t days) const;
    void generateSimple(std::int64_t low, std::int64_t high,
                        const std::function<bool(std::int64_t)>& visit) const;
    void generateWithLibical(std::int64_t low, std::int64_t high,
                             const std::function<bool(std::int64_t)>& visit) const;
    std::int64_t subDailyStep() const;
    void generateSubDaily(std::int64_t low, std::int64_t high,
                          const std::function<bool(std::int64_t)>& visit) const;
    void generateSubDailySimple(std::int64_t low, std::int64_t high,
                                const std::function<bool(std::int64_t)>& visit) const;
    bool iterate(icaltimetype start, std::int64_t seek, std::int64_t low, std::int64_t high,
                 const std::function<bool(std::int64_t)>& visit) const;
    icaltimetype icalTime(std::int64_t wall) const;
    std::int64_t wallOf(const icaltimetype& time) const;

    Definition m_definition;
    icalrecurrencetype m_rule{};
    // Holds m_rule.rscale, which libical writes to while it expands: a series is expanded on one
    // thread at a time.
    std::shared_ptr<char> m_calendarName;
    int m_count = 0;
    // The last wall time the rule's UNTIL allows.
    std::optional<std::int64_t> m_untilWall;
    bool m_simple = false;
    // A sub-daily rule whose BY parts only limit or expand within its period, expanded here:
    // libical loses the interval's phase when BYHOUR or BYMINUTE skip periods.
    bool m_simpleSubDaily = false;
    std::uint32_t m_hours = 0;
    std::uint64_t m_minutes = 0;
    std::uint64_t m_seconds = 0;
    std::int64_t m_startDay = 0;
    std::int64_t m_timeOfDay = 0;

    // The day constraints as bit sets: months 1..12, days of the month 1..31 and -1..-31, weekdays
    // 0 (Sunday)..6. An empty set does not constrain.
    std::uint32_t m_months = 0;
    std::uint32_t m_monthDays = 0;
    std::uint32_t m_negativeMonthDays = 0;
    std::uint32_t m_weekdays = 0;
    std::vector<short> m_yearDays;
    // The same with the defaults a simple rule takes from its first start.
    std::uint32_t m_defaultMonths = 0;
    std::uint32_t m_defaultMonthDays = 0;
    std::uint32_t m_defaultWeekdays = 0;
    int m_weekStart = 1;
};
