#pragma once

#include "core/calendar/Week.h"
#include "foundation/Date.h"

#include <memory>
#include <optional>

class EKEvent;

// The shared state of copying or moving an event to another day: which of the three ways is
// active, the event, and the day and week it started from. Day boxes and event rows read it to
// draw themselves; the week screen runs the flow. Main thread only.
class CopyMoveEventMode {
public:
    static CopyMoveEventMode& sharedInstance();

    void activateMove(std::shared_ptr<EKEvent> event, Date tappedDate);
    void activateQuickMove(std::shared_ptr<EKEvent> event, Date tappedDate);
    void activateCopy(std::shared_ptr<EKEvent> event, Date tappedDate);
    // Clears the flags, the event and the tapped date; the return week and the reopen flag stay
    // until the screen has used them.
    void deactivate();

    bool activated() const { return m_moveActivated || m_quickMoveActivated || m_copyActivated; }
    bool moveActivated() const { return m_moveActivated; }
    bool quickMoveActivated() const { return m_quickMoveActivated; }
    bool copyActivated() const { return m_copyActivated; }

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    const std::optional<Date>& tappedDate() const { return m_tappedDate; }
    const std::optional<Week>& returnWeek() const { return m_returnWeek; }
    void setReturnWeek(std::optional<Week> returnWeek) { m_returnWeek = returnWeek; }
    bool reopenListEventsView() const { return m_reopenListEventsView; }
    void setReopenListEventsView(bool reopen) { m_reopenListEventsView = reopen; }

private:
    enum class Kind { Move, QuickMove, Copy };
    void activate(Kind kind, std::shared_ptr<EKEvent> event, Date tappedDate);

    bool m_moveActivated = false;
    bool m_quickMoveActivated = false;
    std::shared_ptr<EKEvent> m_event;
    std::optional<Date> m_tappedDate;
    std::optional<Week> m_returnWeek;
    bool m_reopenListEventsView = false;
    bool m_copyActivated = false;
};
