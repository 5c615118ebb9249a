#include "ui/week/WeekKeyboard.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/DateSelectedEvent.h"
#include "core/bus/DeleteEventEvent.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/events/EventService.h"
#include "foundation/RunLoop.h"
#include "kit/KeyInput.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/daybox/DayView.h"
#include "ui/daybox/EventView.h"
#include "ui/week/DayViewController.h"
#include "ui/week/WeekViewController.h"

#include <algorithm>
#include <iterator>

namespace {

// The page's two columns: Monday to Wednesday down the left, Thursday to Sunday down the right
// (the weekend days share the last box).
constexpr int firstDayOfRightColumn = 3;

int dayBesideInOtherColumn(int day) {
    if (day < firstDayOfRightColumn) {
        return day + firstDayOfRightColumn;
    }
    return std::min(day - firstDayOfRightColumn, firstDayOfRightColumn - 1);
}

bool sameColumn(int day, int other) {
    return (day < firstDayOfRightColumn) == (other < firstDayOfRightColumn);
}

} // namespace

WeekKeyboard::WeekKeyboard(EventService& eventService, CopyMoveEventMode& copyMoveEventMode,
                           ApplicationEventDispatcher& dispatcher)
    : m_eventService(eventService), m_copyMoveEventMode(copyMoveEventMode), m_dispatcher(dispatcher) {}

bool WeekKeyboard::handleWeekKey(const KeyInput& input) {
    const auto host = m_host.lock();
    if (!host) {
        return false;
    }
    const bool control = (input.modifiers & Qt::ControlModifier) != 0;
    if (control && input.key == Qt::Key_Z) {
        clearSelection();
        return m_eventService.undoLastChange();
    }
    if (!host->weekTakesKeys()) {
        return false;
    }
    if ((input.modifiers & Qt::AltModifier) != 0 && !control) {
        return moveSelection(input.key);
    }
    if (input.hasCommandModifiers()) {
        return false;
    }
    switch (input.key) {
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        clearSelection();
        host->showNeighbourWeek(-1);
        return true;
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        clearSelection();
        host->showNeighbourWeek(1);
        return true;
    case Qt::Key_Home:
    case Qt::Key_T:
        clearSelection();
        host->scrollToToday();
        return true;
    case Qt::Key_N: {
        if (m_copyMoveEventMode.activated()) {
            return false;
        }
        // As a tap on the day's card would: the tablet opens its editor beside the card.
        const std::shared_ptr<DayViewController> day = selectedDay() ? selectedDay() : todayOnMiddlePage();
        m_dispatcher.dispatch<DateSelectedEvent>(
            day ? day->displayedDate() : DateUtilities::day(RunLoop::main().now()).beginDateTime(),
            day ? day->dayView() : nullptr);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (const std::shared_ptr<EKEvent> event = selectedEvent()) {
            const std::shared_ptr<DayViewController> day = selectedDay();
            m_dispatcher.dispatch<EventSelectedEvent>(event, day->displayedDate(), day->dayView());
            return true;
        }
        return false;
    case Qt::Key_Delete:
        if (const std::shared_ptr<EKEvent> event = selectedEvent();
            event && !m_copyMoveEventMode.activated()) {
            m_dispatcher.dispatch<DeleteEventEvent>(event);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool WeekKeyboard::moveSelection(int key) {
    const std::shared_ptr<WeekViewController> page = middlePage();
    if (!page || page->dayViewControllers().size() != WeekViewController::daysInWeek) {
        return false;
    }
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Left && key != Qt::Key_Right) {
        return false;
    }
    if (!m_selection) {
        // The first move selects the first row of today, or of the page's first day.
        const Day today = DateUtilities::day(RunLoop::main().now());
        int day = 0;
        for (int index = 0; index < WeekViewController::daysInWeek; ++index) {
            const auto& box = page->dayViewControllers()[static_cast<std::size_t>(index)];
            if (DateUtilities::day(box->displayedDate()) == today) {
                day = index;
            }
        }
        m_selection = Selection{day, rowCount(day) > 0 ? 0 : -1};
        showSelection();
        return true;
    }
    Selection next = *m_selection;
    switch (key) {
    case Qt::Key_Down:
        if (next.row + 1 < rowCount(next.day)) {
            ++next.row;
        } else if (next.day + 1 < WeekViewController::daysInWeek && sameColumn(next.day, next.day + 1)) {
            ++next.day;
            next.row = rowCount(next.day) > 0 ? 0 : -1;
        }
        break;
    case Qt::Key_Up:
        if (next.row > 0) {
            --next.row;
        } else if (next.day > 0 && sameColumn(next.day, next.day - 1)) {
            --next.day;
            next.row = rowCount(next.day) - 1;
        }
        break;
    default:
        next.day = dayBesideInOtherColumn(next.day);
        next.row = std::min(std::max(next.row, 0), rowCount(next.day) - 1);
        break;
    }
    m_selection = next;
    showSelection();
    return true;
}

void WeekKeyboard::showSelection() {
    const std::shared_ptr<WeekViewController> page = middlePage();
    if (!page) {
        return;
    }
    page->deselectEvents();
    for (const auto& day : page->dayViewControllers()) {
        day->dayView()->showKeyboardSelection(false);
    }
    if (const std::shared_ptr<EventView> row = selectedRow()) {
        row->hideSelectedBackgroundImage(false);
    } else if (const std::shared_ptr<DayViewController> day = selectedDay()) {
        day->dayView()->showKeyboardSelection(true);
    }
}

void WeekKeyboard::clearSelection() {
    if (!m_selection) {
        return;
    }
    m_selection.reset();
    showSelection();
}

std::shared_ptr<WeekViewController> WeekKeyboard::middlePage() const {
    const auto host = m_host.lock();
    if (!host || host->weekViews().size() != 3) {
        return nullptr;
    }
    return host->weekViews()[1];
}

std::shared_ptr<DayViewController> WeekKeyboard::selectedDay() const {
    const std::shared_ptr<WeekViewController> page = middlePage();
    if (!page || !m_selection || page->dayViewControllers().size() != WeekViewController::daysInWeek) {
        return nullptr;
    }
    return page->dayViewControllers()[static_cast<std::size_t>(m_selection->day)];
}

std::shared_ptr<DayViewController> WeekKeyboard::todayOnMiddlePage() const {
    const std::shared_ptr<WeekViewController> page = middlePage();
    if (!page) {
        return nullptr;
    }
    const Date now = RunLoop::main().now();
    for (const auto& day : page->dayViewControllers()) {
        if (DateUtilities::isEqualToDateIgnoreTime(day->displayedDate(), now)) {
            return day;
        }
    }
    return nullptr;
}

std::shared_ptr<EventView> WeekKeyboard::selectedRow() const {
    const std::shared_ptr<DayViewController> day = selectedDay();
    if (!day || m_selection->row < 0) {
        return nullptr;
    }
    const std::vector<std::shared_ptr<EventView>> rows = shownRows(*day);
    const auto index = static_cast<std::size_t>(m_selection->row);
    return index < rows.size() ? rows[index] : nullptr;
}

std::shared_ptr<EKEvent> WeekKeyboard::selectedEvent() const {
    const std::shared_ptr<EventView> row = selectedRow();
    return row ? row->event() : nullptr;
}

int WeekKeyboard::rowCount(int day) const {
    const std::shared_ptr<WeekViewController> page = middlePage();
    return page ? static_cast<int>(
                      shownRows(*page->dayViewControllers()[static_cast<std::size_t>(day)]).size())
                : 0;
}

std::vector<std::shared_ptr<EventView>> WeekKeyboard::shownRows(const DayViewController& day) {
    std::vector<std::shared_ptr<EventView>> rows;
    std::copy_if(day.eventViews().begin(), day.eventViews().end(), std::back_inserter(rows),
                 [](const auto& row) { return row->event() && !row->hidden(); });
    return rows;
}
