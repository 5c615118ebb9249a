#pragma once

#include "foundation/Date.h"

#include <memory>
#include <optional>
#include <vector>

class ApplicationEventDispatcher;
class CopyMoveEventMode;
class DayViewController;
class EKEvent;
class EventService;
class EventView;
class WeekViewController;
struct KeyInput;

// What the week screen's keys need of it.
class WeekKeyboardHost {
public:
    virtual ~WeekKeyboardHost() = default;
    virtual const std::vector<std::shared_ptr<WeekViewController>>& weekViews() const = 0;
    // Whether the week takes keys now: only where a finger could page it.
    virtual bool weekTakesKeys() const = 0;
    // The week before (-1) or after (1).
    virtual void showNeighbourWeek(int weeks) = 0;
    virtual void scrollToToday() = 0;
};

// The week screen's keys. Left and Right (Page Up, Page Down) page a week, Home or T return to
// today, N adds an event on the selected day (or today). Alt with the arrows moves a selection
// over the middle page's rows and days: Return or Space opens the selected event as a tap would,
// Delete asks to delete it. Ctrl+Z takes back the last deletion, copy or move.
class WeekKeyboard {
public:
    WeekKeyboard(EventService& eventService, CopyMoveEventMode& copyMoveEventMode,
                 ApplicationEventDispatcher& dispatcher);
    void setHost(std::weak_ptr<WeekKeyboardHost> host) { m_host = std::move(host); }

    // Whether the key was used.
    bool handleWeekKey(const KeyInput& input);
    // The middle page shows another week or its rows changed: nothing stays selected.
    void clearSelection();

private:
    // A row of a day, or the day itself (row -1) when it shows no rows.
    struct Selection {
        int day = 0;
        int row = -1;
    };

    bool moveSelection(int key);
    void showSelection();
    std::shared_ptr<WeekViewController> middlePage() const;
    std::shared_ptr<DayViewController> selectedDay() const;
    // Today's day of the middle page, if that page shows this week.
    std::shared_ptr<DayViewController> todayOnMiddlePage() const;
    std::shared_ptr<EventView> selectedRow() const;
    std::shared_ptr<EKEvent> selectedEvent() const;
    int rowCount(int day) const;
    // The day's rows that show an event, top to bottom.
    static std::vector<std::shared_ptr<EventView>> shownRows(const DayViewController& day);

    std::weak_ptr<WeekKeyboardHost> m_host;
    EventService& m_eventService;
    CopyMoveEventMode& m_copyMoveEventMode;
    ApplicationEventDispatcher& m_dispatcher;
    std::optional<Selection> m_selection;
};
